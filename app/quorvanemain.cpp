#include "app/quorvane.h"
#include "widgets/firstframe.h"

#include <QApplication>
#include <QSslSocket>

#include <fontconfig/fontconfig.h>

#include <thread>

int runQuorvane(int &argc, char **argv)
{
    // Nothing here draws with OpenGL, yet on X11 Qt would load a software GL driver for it: more than half the
    // resident memory and half the start-up time. A user's own choice stands.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    qInstallMessageHandler(messageHandler);
    // The font configuration and the TLS library take a third of the work before the first frame and need no
    // window: they are read on other cores while the application object and the window are built.
    std::thread fonts([] { FcInit(); });
    QApplication application(argc, argv);
    std::thread tls([] { QSslSocket::supportsSsl(); });
    fonts.join();
    int result = 0;
    {
        Quorvane window;
        tls.join();
        window.checkSslSupport();
        window.show();
        quitAfterFirstFrame(&window);
        result = application.exec();
    }
    return result;
}
