#include "firstframe.h"
#include "quorvane.h"

#include <QApplication>

int runQuorvane(int &argc, char **argv)
{
    // Nothing here draws with OpenGL, yet on X11 Qt would load a software GL driver for it: more than half the
    // resident memory and half the start-up time. A user's own choice stands.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    qInstallMessageHandler(messageHandler);
    QApplication application(argc, argv);
    int result = 0;
    {
        Quorvane window;
        window.checkSslSupport();
        window.show();
        quitAfterFirstFrame(&window);
        result = application.exec();
    }
    return result;
}
