#include "quorvane.h"

#include <QApplication>

int runQuorvane(int &argc, char **argv)
{
    qInstallMessageHandler(messageHandler);
    QApplication application(argc, argv);
    int result = 0;
    {
        Quorvane window;
        window.checkSslSupport();
        window.show();
        result = application.exec();
    }
    return result;
}
