#include "app/quorvane.h"
#include "widgets/firstframe.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFontDatabase>
#include <QImageReader>
#include <QSslSocket>

#include <fontconfig/fontconfig.h>

#include <thread>

int runQuorvane(int &argc, char **argv)
{
    // Nothing here draws with OpenGL, yet on X11 Qt would load a software GL driver for it: more than half the
    // resident memory and half the start-up time. A user's own choice stands.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    // The window's fixed size holds its menu bar. Asking the desktop whether it shows menus itself waits for the
    // session bus before the first frame, and where it does the bar would leave a gap in the window.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    qInstallMessageHandler(messageHandler);
    // The font configuration and the TLS library take a third of the work before the first frame and need no
    // window: they are read on other cores while the application object and the window are built.
    std::thread fonts([] { FcInit(); });
    QApplication application(argc, argv);
    // The image plugins (the first image loads them) and the font database (the first text reads it) are filled on
    // other cores while the window is built; both wait behind a lock where the window needs them sooner.
    std::thread images([] {
        QImageReader::supportedImageFormats();
        QFontDatabase().families();
    });
    std::thread tls([] { QSslSocket::supportsSsl(); });
    // The first widget that changes asks the accessibility bridge, which waits for the session bus.
    std::thread bus([] { QDBusConnection::sessionBus(); });
    fonts.join();
    int result = 0;
    {
        Quorvane window;
        tls.join();
        bus.join();
        images.join();
        window.checkSslSupport();
        window.show();
        quitAfterFirstFrame(&window);
        result = application.exec();
    }
    return result;
}
