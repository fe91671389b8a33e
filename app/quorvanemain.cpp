#include "app/quorvane.h"
#include "widgets/firstframe.h"

#include <QApplication>
#include <QDBusConnection>
#include <QFontDatabase>
#include <QImageReader>

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
    // The font configuration takes a good part of the work before the first frame and needs no window: it is read
    // on another core while the application object is built.
    std::thread fonts([] { FcInit(); });
    QApplication application(argc, argv);
    // The font database (the first text reads it) and the image plugins (the first image loads them all) are filled
    // on another core while the window is built; both wait behind a lock where the window needs them sooner. The
    // fonts first: filled there before the window's first text, they save it more than the plugins do.
    std::thread images([] {
        QFontDatabase().families();
        QImageReader::supportedImageFormats();
    });
    // The first widget that changes asks the accessibility bridge, which waits for the session bus.
    std::thread bus([] { QDBusConnection::sessionBus(); });
    fonts.join();
    int result = 0;
    {
        Quorvane window;
        bus.join();
        images.join();
        window.show();
        // The TLS library takes longer to load than the first frame to draw, and the frame does not need it.
        afterFirstFrame(&window, [&window] { window.checkSslSupportInBackground(); });
        // Installed last, it sees the first frame first.
        quitAfterFirstFrame(&window);
        result = application.exec();
    }
    return result;
}
