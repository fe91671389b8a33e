// The whole connection road of the main window: the configuration file, the relay login against the TLS relay peer,
// the SSH session against a real sshd (the CTest fixture, root only) and the device connection through the tunnel to
// the simulated device; drops, the reconnect wait and the user's disconnect.

#include "app/quorvane.h"
#include "device/accessors.h"
#include "device/vexmaraccess.h"
#include "rpc/ccom.h"
#include "screen/vexmarloginpage.h"
#include "screen/vexmarmainpage.h"
#include "screen/vexmarstatusbar.h"
#include "screen/vexmarwindow.h"
#include "shell/programdirectory.h"
#include "shell/relaylogin.h"
#include "shell/sshclient.h"
#include "tests/peers/simdevice.h"
#include "tests/peers/sshdfixture.h"
#include "tests/peers/tlsrelay.h"
#include "tests/rpctesting.h"
#include "tests/testfiles.h"
#include "tests/windowtesting.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarvirtual.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const int DeviceId = 42;
const QString DeviceName = QStringLiteral("Lab");
const QString Serial = QStringLiteral("0042");
const QString CodecPassword = QStringLiteral("codec-pw");
const int RoadTimeout = 30000;

// The relay's "m=" value that leads the tunnel to the port.
QString macForPort(quint16 port)
{
    const int offset = port - 0x7B00;
    return QStringLiteral("00-00-00-%1-%2-%3")
        .arg((offset >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((offset >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(offset & 0xFF, 2, 16, QLatin1Char('0'));
}

bool writeConfiguration(const QString &directory, quint16 sshPort)
{
    return ::writeConfiguration(directory,
        QStringLiteral("<applicationSettings><logger logMaxSize=\"512\" logMaxFiles=\"25\" sshVerbosity=\"1\"/>"
                       "<server hostname=\"127.0.0.1\" hostport=\"%1\"/><trustedCertificates>"
                       "<certificate sslError=\"%2\" organization=\"%3\" commonName=\"%4\"/></trustedCertificates>"
                       "</applicationSettings><knownDevices>"
                       "<device id=\"%5\" name=\"%6\" serialno=\"%7\" password=\"%8\"/></knownDevices>"
                       "<recentDevices maxDevices=\"10\"><device id=\"%5\"/></recentDevices>")
            .arg(sshPort)
            .arg(int(QSslError::SelfSignedCertificate))
            .arg(TlsRelayPeer::IssuerOrganization, TlsRelayPeer::IssuerCommonName)
            .arg(DeviceId)
            .arg(DeviceName, Serial, CodecPassword));
}

// Runs a function when the event posted to it comes round; posted at high priority, it goes before events posted
// earlier at normal priority, such as the queued reports of the SSH thread.
class PostedStep final : public QObject
{
public:
    explicit PostedStep(std::function<void()> step) : m_step(std::move(step)) { }
    void post() { QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::HighEventPriority); }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        m_step();
        return true;
    }

private:
    std::function<void()> m_step;
};

} // namespace

class TestConnection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void sessionFailureWaitsAndRetries_data();
    void sessionFailureWaitsAndRetries();
    void cancelKeepsTheSession_data();
    void cancelKeepsTheSession();
    void sessionEndsWhileAsking();
    void wholeRoad();
    void loginThroughTheTunnel();
    void dropGoesToReconnectWaitAndComesBack();
    void silentDeviceComesBackWithoutRelayLogin();
    void nothingBehindTheTunnel();

private:
    // The Expert's password typed on the screen's keyboard; returns once the home page shows.
    void loginAsExpert();
    // The window as the program starts it, with the device under "&Recent" in its configuration.
    Quorvane &startWindow(quint16 sshPort);
    // Picks the device under "&Recent"; returns once the relay login is over.
    void pickDevice();
    QString statusText() const { return ::statusText(*m_window); }
    QString menuStates() const { return ::menuStates(*m_window); }
    bool waitForStatus(const QString &text, int timeout = RoadTimeout)
    {
        return QTest::qWaitFor([&] { return statusText() == text; }, timeout);
    }
    void disconnectDevice() { windowAction(*m_window, "disconnectAction")->trigger(); }

    QtMessageHandler m_previousHandler = nullptr;
    SshdFixture m_sshd;
    TlsRelayPeerThread m_relay;
    SimDevice m_device;
    QScopedPointer<QTemporaryDir> m_dir;
    QScopedPointer<Quorvane> m_window;
    QStringList m_statuses;
    AskedBoxes m_boxes;
};

void TestConnection::initTestCase()
{
    m_previousHandler = qInstallMessageHandler(messageHandler);
    m_sshd = SshdFixture::load();
    QVERIFY(m_device.listen());
    TlsRelayPeer &relay = m_relay.peer();
    relay.addDevice(relayDigest("QUORVANE_42").toHex(), relayDigest(CodecPassword.toLatin1()).toHex());
    relay.setGrant(m_sshd.user, m_sshd.password, macForPort(m_device.port()));
    QVERIFY2(m_relay.start(), qPrintable(relay.errorText()));
    // The tunnel's listener takes a free port on 127.0.0.42, so that test runs in parallel never meet.
    SshClient::setLocalPortOverride(0);
}

void TestConnection::cleanupTestCase()
{
    SshClient::setLocalPortOverride(-1);
    qInstallMessageHandler(m_previousHandler);
}

void TestConnection::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    setProgramDirectory(m_dir->path());
    m_relay.peer().setGrant(m_sshd.user, m_sshd.password, macForPort(m_device.port()));
    m_statuses.clear();
    m_boxes = AskedBoxes();
    m_device.clearRequests();
}

void TestConnection::cleanup()
{
    m_window.reset();
    getCom()->disconnectFromDevice();
    setProgramDirectory(QString());
}

Quorvane &TestConnection::startWindow(quint16 sshPort)
{
    writeConfiguration(m_dir->path(), sshPort);
    m_window.reset(new Quorvane);
    m_window->setRelayLoginOptions({m_relay.port(), 10000});
    m_boxes.attach(*m_window);
    connect(m_window.data(), &Quorvane::statusShown, this, [this](const QString &text) {
        if (m_statuses.isEmpty() || m_statuses.last() != text)
            m_statuses.append(text);
    });
    m_window->checkSslSupport();
    m_window->show();
    return *m_window;
}

void TestConnection::pickDevice()
{
    auto *menu = m_window->findChild<QMenu *>(QStringLiteral("recentMenu"));
    emit menu->aboutToShow();
    QCOMPARE(menu->actions().size(), 1);
    QCOMPARE(menu->actions().first()->text(), DeviceName);
    menu->actions().first()->trigger();
}

void TestConnection::sessionFailureWaitsAndRetries_data()
{
    QTest::addColumn<bool>("wrongPassword");
    QTest::newRow("nothing on the SSH port") << false;
    QTest::newRow("wrong SSH password") << true;
}

void TestConnection::sessionFailureWaitsAndRetries()
{
    QFETCH(bool, wrongPassword);
    if (wrongPassword) {
        if (!m_sshd.isValid())
            QSKIP("no sshd fixture (it needs root)");
        m_relay.peer().setGrant(m_sshd.user, QStringLiteral("not-the-password"), macForPort(m_device.port()));
    }
    startWindow(wrongPassword ? m_sshd.port : rpctesting::closedPort());
    pickDevice();
    // Right after the login the session is being opened.
    QCOMPARE(statusText(), QStringLiteral("Opening SSH session..."));
    QCOMPARE(menuStates(), QStringLiteral("000"));
    QVERIFY(waitForStatus(QStringLiteral("SSH session failure")));
    QCOMPARE(menuStates(), QStringLiteral("001"));
    QVERIFY(m_window->reconnectTimer()->isActive());
    QCOMPARE(m_window->reconnectTimer()->interval(), 10000);
    QVERIFY(!getCom()->connection().isActive());
    if (wrongPassword)
        return; // sshd slows down repeated failures

    // The retry skips the relay: one login only, and the session is opened again.
    const int logins = m_relay.peer().requests().size();
    m_statuses.clear();
    QSignalSpy retried(m_window->reconnectTimer(), &QTimer::timeout);
    m_window->reconnectTimer()->setInterval(1);
    QVERIFY(retried.wait());
    QVERIFY(waitForStatus(QStringLiteral("SSH session failure")));
    QCOMPARE(m_statuses.first(), QStringLiteral("Opening SSH session..."));
    QCOMPARE(m_relay.peer().requests().size(), logins);
    QVERIFY(m_window->reconnectTimer()->isActive());
}

void TestConnection::cancelKeepsTheSession_data()
{
    QTest::addColumn<bool>("connected");
    QTest::newRow("device connecting") << false;
    QTest::newRow("device connected") << true;
}

void TestConnection::cancelKeepsTheSession()
{
    QFETCH(bool, connected);
    startWindow(rpctesting::closedPort());
    pickDevice();
    // The session listens (reported before the failure of the real one can arrive).
    m_window->onSshSessionStateChanged(SshClient::SessionListening);
    if (connected)
        m_window->stateChanged(RpcConnection::ConnectedState);
    QVERIFY(getCom()->connection().isActive());
    const QString status = statusText();
    const QString menus = menuStates();
    QCOMPARE(menus, QStringLiteral("001"));

    m_boxes.answers = {QMessageBox::Cancel};
    disconnectDevice();
    QCOMPARE(m_boxes.asked.size(), 1);
    QCOMPARE(statusText(), status);
    QCOMPARE(menuStates(), menus);
    QVERIFY(getCom()->connection().isActive());

    m_boxes.answers = {QMessageBox::Yes};
    disconnectDevice();
    QCOMPARE(m_boxes.asked.size(), 2);
    QVERIFY(m_statuses.contains(QStringLiteral("Closing SSH session...")));
    QCOMPARE(menuStates(), QStringLiteral("000"));
    QVERIFY(!getCom()->connection().isActive());
    QVERIFY(!m_window->reconnectTimer()->isActive());
}

void TestConnection::sessionEndsWhileAsking()
{
    startWindow(rpctesting::closedPort());
    pickDevice();
    m_window->onSshSessionStateChanged(SshClient::SessionListening);
    // The session fails while the question is open: the user still wants no connection, so no reconnect follows.
    m_boxes.whileAsking = [this] { m_window->onSshSessionStateChanged(SshClient::SessionFailed); };
    m_boxes.answers = {QMessageBox::Yes};
    disconnectDevice();
    QCOMPARE(m_boxes.asked.size(), 1);
    QCOMPARE(statusText(), QStringLiteral("No active connection"));
    QCOMPARE(menuStates(), QStringLiteral("110"));
    QVERIFY(!m_window->reconnectTimer()->isActive());
}

void TestConnection::wholeRoad()
{
    if (!m_sshd.isValid())
        QSKIP("no sshd fixture (it needs root)");
    startWindow(m_sshd.port);
    QSignalSpy requests(&m_device, &SimDevice::requestReceived);
    pickDevice();
    QVERIFY(waitForStatus(QStringLiteral("Connected to device <Lab>")));
    // The texts in this order, each once (the device connection may report a state in between).
    const QStringList road {"Connecting to server <127.0.0.1>...", "Requesting authentication for device <Lab>...",
        "No active connection", "Opening SSH session...", "SSH session success", "Connecting to device <Lab>",
        "Connected to device <Lab>"};
    int next = 0;
    for (const QString &text : qAsConst(m_statuses)) {
        if (next < road.size() && text == road.at(next))
            ++next;
    }
    QVERIFY2(next == road.size(), qPrintable(m_statuses.join(QLatin1String(" | "))));
    QCOMPARE(m_statuses.count(QStringLiteral("SSH session success")), 1);
    QCOMPARE(menuStates(), QStringLiteral("001"));
    QCOMPARE(getCom()->host(), QStringLiteral("127.0.0.42"));

    // A request travels through the tunnel to the device and back.
    kra::CMsg request(kra::CMsg::Param);
    request.setParam("target", "general");
    request.addGet("device_name");
    m_device.setParam("general", "device_name", "Lab codec");
    kra::CMsg reply;
    QCOMPARE(getCom()->sendSyncMsg(request, reply, 0, 10000), int(RpcConnection::NoError));
    QCOMPARE(reply.param("device_name", true)->c_str(), "Lab codec");
    QCOMPARE(requests.count(), 1);

    // The recent list was written; the relay's answers were not.
    QFile configuration(m_dir->filePath(QStringLiteral("MyQuorvaneRE.xml")));
    QVERIFY(configuration.open(QIODevice::ReadOnly));
    const QByteArray written = configuration.readAll();
    QVERIFY(written.contains("<device id=\"42\"/>"));
    QVERIFY(!written.contains(m_sshd.password.toLatin1()));
    QVERIFY(!written.contains(m_sshd.user.toLatin1()));

    // libssh's lines reach the log, the passwords do not.
    m_window.reset();
    const QByteArray log = logText(m_dir->path());
    QVERIFY2(log.contains(" debug SshClient::startSession(host key of 127.0.0.1: "), log.constData());
    if (!m_sshd.hostKeySha256.isEmpty())
        QVERIFY(log.contains(m_sshd.hostKeySha256.section(QLatin1Char(':'), 1).toLatin1()));
    QVERIFY(!log.contains(m_sshd.password.toLatin1()));
    QVERIFY(!log.contains(CodecPassword.toLatin1()));
}

// The user's whole way in: the device picked, the relay and the tunnel, then the Expert's login typed on the
// screen's keyboard, and the home page with the status bar.
void TestConnection::loginThroughTheTunnel()
{
    if (!m_sshd.isValid())
        QSKIP("no sshd fixture (it needs root)");
    m_device.loadSetup(SimDevice::codecSetup());
    m_device.setAccessPasswords("root", "lab", "");
    startWindow(m_sshd.port);
    pickDevice();
    QVERIFY(waitForStatus(QStringLiteral("Connected to device <Lab>")));
    loginAsExpert();
    QVexmarWindow *screen = m_window->screenWindow();
    QCOMPARE(g_accessLevel, 1);
    QVERIFY(screen->statusBar()->isVisible());
    QVERIFY(screen->mainPage()->isVisible());
    auto *name = m_window->findChild<QLabel *>(QStringLiteral("messageLabel"));
    QVERIFY(name->isVisible());
    QCOMPARE(name->text(), QStringLiteral("Lab codec"));
    QTRY_VERIFY_WITH_TIMEOUT(getDevice()->isReady(), RoadTimeout);
    g_accessLevel = 0;
}

void TestConnection::loginAsExpert()
{
    QVexmarWindow *screen = m_window->screenWindow();
    QVERIFY(screen->loginPage()->isVisible());
    screen->loginPage()->expertSwitch->click();
    screen->loginPage()->loginButton->click();
    QVexmarVirtual *keyboard = screen->loginPage()->findChild<QVexmarVirtual *>();
    QVERIFY(keyboard && keyboard->isVisible());
    for (const QChar letter : QStringLiteral("lab")) {
        QVexmarButton *const *key = std::find_if(std::begin(keyboard->keys), std::end(keyboard->keys),
            [letter](QVexmarButton *button) { return button->text() == letter; });
        QVERIFY(key != std::end(keyboard->keys));
        QTest::mouseClick(*key, Qt::LeftButton);
    }
    QTest::mouseClick(keyboard->keys[31], Qt::LeftButton);
    QCOMPARE(screen->currentPage(), int(QVexmar::HomePage));
}

void TestConnection::dropGoesToReconnectWaitAndComesBack()
{
    if (!m_sshd.isValid())
        QSKIP("no sshd fixture (it needs root)");
    startWindow(m_sshd.port);
    pickDevice();
    QVERIFY(waitForStatus(QStringLiteral("Connected to device <Lab>")));
    const int logins = m_relay.peer().requests().size();

    m_statuses.clear();
    QVERIFY(killSshdSessions(m_sshd.port) > 0);
    QVERIFY(waitForStatus(QStringLiteral("SSH connection failure")));
    QCOMPARE(menuStates(), QStringLiteral("001"));
    QVERIFY(m_window->reconnectTimer()->isActive());
    QCOMPARE(m_window->reconnectTimer()->interval(), 10000);
    QVERIFY(!getCom()->connection().isActive());

    // The wait ends early through the timer, not by sleeping: the session comes back with the last credentials.
    m_statuses.clear();
    m_window->reconnectTimer()->setInterval(1);
    QVERIFY(waitForStatus(QStringLiteral("Connected to device <Lab>")));
    QCOMPARE(m_statuses.first(), QStringLiteral("Opening SSH session..."));
    QCOMPARE(m_relay.peer().requests().size(), logins);
    QVERIFY(!m_window->reconnectTimer()->isActive());

    // The user ends the session: no reconnect follows, and the device can be picked again.
    m_boxes.answers = {QMessageBox::Yes};
    disconnectDevice();
    QCOMPARE(m_boxes.asked.size(), 1);
    QVERIFY(waitForStatus(QStringLiteral("No active connection")));
    QTRY_COMPARE(menuStates(), QStringLiteral("110"));
    QVERIFY(!m_window->reconnectTimer()->isActive());
    QVERIFY(!getCom()->connection().isActive());
    pickDevice();
    QVERIFY(waitForStatus(QStringLiteral("Connected to device <Lab>")));
}

// The device stops answering: the keep-alive's liveness request runs into its time-out and the device connection is
// made again, which ends the tunnel's connection as a dropped link does. Once the device answers again the program
// is back through the reconnect wait, with the credentials of the first relay login.
void TestConnection::silentDeviceComesBackWithoutRelayLogin()
{
    if (!m_sshd.isValid())
        QSKIP("no sshd fixture (it needs root)");
    m_device.loadSetup(SimDevice::codecSetup());
    m_device.setAccessPasswords("root", "lab", "");
    startWindow(m_sshd.port);
    pickDevice();
    QVERIFY(waitForStatus(QStringLiteral("Connected to device <Lab>")));
    const int logins = m_relay.peer().requests().size();
    loginAsExpert();
    QTRY_VERIFY_WITH_TIMEOUT(getDevice()->isReady(), RoadTimeout);
    QVexmarWindow *screen = m_window->screenWindow();
    QVERIFY(screen->keepAliveTimer()->isActive());

    // The order that lost the reconnect, driven: the session sees the first local connection end while the device
    // connection is being made again, and accepts and forwards the new one before the window has taken that end.
    // The window then closes the device connection and stops the session, whose report of the second end comes
    // once no device connection is active.
    SshClient *client = m_window->sshClient();
    QVERIFY(client);
    QMutex lock;
    QList<int> sessionStates;
    QSemaphore ended;
    QSemaphore forwarded;
    QObject watch;
    connect(
        client, &SshClient::sessionStateChanged, &watch,
        [&](int state) {
            QMutexLocker locker(&lock);
            sessionStates << state;
            if (state == SshClient::SessionClosing)
                ended.release();
            else if (state == SshClient::SessionForwarding)
                forwarded.release();
        },
        Qt::DirectConnection);
    bool endBeforeReconnect = false;
    bool forwardedBeforeStop = false;
    PostedStep waitForForwarding([&] { forwardedBeforeStop = forwarded.tryAcquire(1, RoadTimeout); });
    bool armed = true;
    // Between the keep-alive's close of the device connection and its new connection.
    connect(getCom(), &kra::CCom::stateChanged, &watch, [&](RpcConnection::ConnectionState state) {
        if (!armed || state != RpcConnection::UnconnectedState)
            return;
        armed = false;
        endBeforeReconnect = ended.tryAcquire(1, RoadTimeout);
        waitForForwarding.post();
    });

    m_statuses.clear();
    m_device.setSilent(true);
    screen->setLivenessTimeout(1000);
    screen->keepAliveTimer()->setInterval(1);
    // As after a dropped link: the session closed, the login page, the reconnect wait.
    QVERIFY(waitForStatus(QStringLiteral("SSH connection failure")));
    QVERIFY(endBeforeReconnect);
    QVERIFY(forwardedBeforeStop);
    {
        QMutexLocker locker(&lock);
        QCOMPARE(sessionStates,
            (QList<int> {SshClient::SessionClosing, SshClient::SessionForwarding, SshClient::SessionClosing,
                SshClient::SessionClosed}));
    }
    QCOMPARE(menuStates(), QStringLiteral("001"));
    QVERIFY(m_window->reconnectTimer()->isActive());
    QCOMPARE(screen->currentPage(), int(QVexmar::LoginPage));

    m_device.setSilent(false);
    m_statuses.clear();
    m_window->reconnectTimer()->setInterval(1);
    QVERIFY(waitForStatus(QStringLiteral("Connected to device <Lab>")));
    QCOMPARE(m_statuses.first(), QStringLiteral("Opening SSH session..."));
    QVERIFY(!m_window->reconnectTimer()->isActive());
    loginAsExpert();
    QTRY_VERIFY_WITH_TIMEOUT(getDevice()->isReady(), RoadTimeout);
    QCOMPARE(m_relay.peer().requests().size(), logins);
    g_accessLevel = 0;
}

void TestConnection::nothingBehindTheTunnel()
{
    if (!m_sshd.isValid())
        QSKIP("no sshd fixture (it needs root)");
    const quint16 port = rpctesting::closedPort();
    m_relay.peer().setGrant(m_sshd.user, m_sshd.password, macForPort(port));
    startWindow(m_sshd.port);
    pickDevice();
    QVERIFY(waitForStatus(QStringLiteral("SSH session success")) || m_statuses.contains("SSH session success"));
    // The tunnel refuses the device connection; the device connection keeps trying and the session stays.
    QVERIFY(waitForStatus(QStringLiteral("Not connected to device <Lab>")));
    QVERIFY(getCom()->connection().isActive());
    QCOMPARE(menuStates(), QStringLiteral("001"));
    QVERIFY(!m_window->reconnectTimer()->isActive());

    // Once something answers behind the tunnel, the next retry (ten ticks later) gets through.
    SimDevice late;
    QVERIFY(late.listen(port));
    QVERIFY(waitForStatus(QStringLiteral("Connected to device <Lab>"), 15000));
    QVERIFY(!m_window->reconnectTimer()->isActive());
}

QTEST_MAIN(TestConnection)
#include "tst_connection.moc"
