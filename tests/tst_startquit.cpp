// Runs the program's own start-up and shut-down in this process: the application object, the main window and the
// process-wide services come and go as in main(), with the program's directory in a temporary directory.

#include "app/quorvane.h"
#include "device/accessors.h"
#include "rpc/ccom.h"
#include "shell/programdirectory.h"
#include "tests/peers/simdevice.h"
#include "tests/testfiles.h"

#include <QtTest>
#include <QtWidgets>

namespace {

int g_windowsSeen = 0;
bool g_deviceConnected = false;
QByteArray g_glIntegration;
// The program quits by itself: the hook only ends a run that would never do so.
bool g_programQuits = false;

// Called by QCoreApplication's constructor: once the event loop runs, look at the window, leave the device
// connection of the communication service open, and quit.
void whenStarted()
{
    if (g_programQuits) {
        QTimer::singleShot(10000, QCoreApplication::instance(), [] { QCoreApplication::exit(1); });
        return;
    }
    g_glIntegration = qgetenv("QT_XCB_GL_INTEGRATION");
    QTimer::singleShot(0, QCoreApplication::instance(), [] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *widget : windows) {
            if (qobject_cast<Quorvane *>(widget) && widget->isVisible())
                ++g_windowsSeen;
        }
        // The services are built once per process: the first run leaves them connected.
        auto *device = new SimDevice(QCoreApplication::instance());
        if (g_windowsSeen == 1 && device->listen() && getCom()->connectToDevice(device->host(), device->port(), 0)) {
            QSignalSpy states(getCom(), &kra::CCom::stateChanged);
            while (getCom()->state() != RpcConnection::ConnectedState && states.wait(5000)) { }
            g_deviceConnected = getCom()->state() == RpcConnection::ConnectedState;
        }
        qDebug("started and quitting");
        QCoreApplication::exit(3);
    });
}

} // namespace

class TestStartQuit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startAndQuit();
    void quitAfterFirstFrame();
};

void TestStartQuit::initTestCase()
{
    qAddPreRoutine(whenStarted);
}

void TestStartQuit::startAndQuit()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    setProgramDirectory(dir.path());

    // No GL driver is loaded for a window that draws none, unless the user asked for one (the second run).
    const QByteArray glIntegrations[] = {"none", "xcb_egl"};
    qunsetenv("QT_XCB_GL_INTEGRATION");
    for (int run = 1; run <= 2; ++run) {
        if (run == 2)
            qputenv("QT_XCB_GL_INTEGRATION", glIntegrations[1]);
        char name[] = "MyQuorvaneRE";
        char *argv[] = {name, nullptr};
        int argc = 1;
        g_deviceConnected = false;
        QCOMPARE(runQuorvane(argc, argv), 3);
        QCOMPARE(g_windowsSeen, run);
        QCOMPARE(g_deviceConnected, run == 1);
        QCOMPARE(g_glIntegration, glIntegrations[run - 1]);
        QVERIFY(!QCoreApplication::instance());
        // Closed while the application object still existed.
        QVERIFY(!getCom()->connection().isActive());
        QVERIFY(!g_mainWindow);
    }
    qInstallMessageHandler(nullptr);

    QFile configuration(dir.filePath(QStringLiteral("MyQuorvaneRE.xml")));
    QVERIFY(configuration.open(QIODevice::ReadOnly));
    QVERIFY(configuration.readAll().contains("<settings version=\"1\">"));
    const QStringList logs = QDir(dir.filePath(QStringLiteral("logs"))).entryList(QDir::Files);
    QVERIFY2(logs.size() >= 1 && logs.size() <= 2, qPrintable(logs.join(QLatin1Char(' '))));
    QCOMPARE(logText(dir.path()).count("debug started and quitting\n"), 2);
    setProgramDirectory(QString());
}

// The start-up benchmark's switch: the program shows its first frame and quits by itself.
void TestStartQuit::quitAfterFirstFrame()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    setProgramDirectory(dir.path());
    qputenv("MQ_QUIT_AFTER_FIRST_FRAME", "1");
    g_programQuits = true;
    char name[] = "MyQuorvaneRE";
    char *argv[] = {name, nullptr};
    int argc = 1;
    QCOMPARE(runQuorvane(argc, argv), 0);
    g_programQuits = false;
    qunsetenv("MQ_QUIT_AFTER_FIRST_FRAME");
    qInstallMessageHandler(nullptr);
    setProgramDirectory(QString());
}

QTEST_APPLESS_MAIN(TestStartQuit)
#include "tst_startquit.moc"
