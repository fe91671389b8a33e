#include "shell/sshclient.h"
#include "tests/peers/sshdfixture.h"
#include "tests/rpctesting.h"

#include <QtTest>

#include <QDir>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <cstdio>
#include <memory>

// Starts the session and waits for it to listen; the calling test ends when it does not.
#define START_CLIENT()                                                                                                 \
    do {                                                                                                               \
        startClient();                                                                                                 \
        if (QTest::currentTestFailed())                                                                                \
            return;                                                                                                    \
    } while (false)

namespace {

// Session states as the client reports them, in order.
using States = QList<int>;
const int Failed = SshClient::SessionFailed;
const int Closed = SshClient::SessionClosed;
const int Listening = SshClient::SessionListening;
const int Closing = SshClient::SessionClosing;
const int Forwarding = SshClient::SessionForwarding;

const int StartTimeout = 15000;
const int TransferTimeout = 60000;
// Far more than a local reader that takes nothing holds in its buffers: by then the tunnel has stopped
// reading the channel, and the device is held back through the channel's window.
const qint64 HeldBackBytes = 6 * 1024 * 1024;

// The device's port behind the relay: echoes, swallows, or sends a payload and closes.
class Target final : public QTcpServer
{
    Q_OBJECT

public:
    enum Mode { Echo, Sink, Source };

    explicit Target(Mode mode, const QByteArray &payload = {}) : m_mode(mode), m_payload(payload)
    {
        listen(QHostAddress::LocalHost, 0);
    }

    QByteArray received;
    // Bytes handed to the system.
    qint64 sent = 0;
    int connections = 0;
    int open = 0;

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        ++connections;
        ++open;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            const QByteArray data = socket->readAll();
            if (m_mode == Echo)
                socket->write(data);
            else
                received += data;
        });
        connect(socket, &QTcpSocket::bytesWritten, this, [this](qint64 count) { sent += count; });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            --open;
            socket->deleteLater();
        });
        if (m_mode == Source) {
            socket->write(m_payload);
            socket->disconnectFromHost();
        }
    }

private:
    Mode m_mode;
    QByteArray m_payload;
};

// Receives the client's signals on the test thread, as the main window does.
class Recorder final : public QObject
{
    Q_OBJECT

public:
    States states;
    QStringList logs;
    bool destroyed = false;

public slots:
    void state(int state) { states.append(state); }
    void log(const QString &message) { logs.append(message); }
    void gone() { destroyed = true; }
};

// A local peer of the tunnel that keeps what arrives, and what had arrived when the connection closed.
struct LocalPeer
{
    QTcpSocket socket;
    QByteArray received;
    QByteArray atClose;
    bool closed = false;
    bool reading = true;

    explicit LocalPeer(quint16 port, const QHostAddress &address = QHostAddress::LocalHost)
    {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] {
            if (reading)
                received += socket.readAll();
        });
        QObject::connect(&socket, &QTcpSocket::disconnected, [this] {
            received += socket.readAll();
            atClose = received;
            closed = true;
        });
        socket.connectToHost(address, port);
    }
    ~LocalPeer() { socket.disconnect(); }

    // A reader that takes nothing until resume(), with small buffers (the system's would otherwise grow to many
    // MiB and hold what the tunnel is meant to hold back).
    void pause()
    {
        reading = false;
        socket.setReadBufferSize(64 * 1024);
        QObject::connect(&socket, &QTcpSocket::connected,
            [this] { socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 64 * 1024); });
    }
    void resume()
    {
        reading = true;
        socket.setReadBufferSize(0);
        received += socket.readAll();
    }
};

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(static_cast<quint32>(size));
    for (char &byte : bytes)
        byte = static_cast<char>(generator.generate());
    return bytes;
}

int entriesOf(const QString &directory)
{
    return QDir(directory).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size();
}

} // namespace

class TestSshClient : public QObject
{
    Q_OBJECT

public:
    explicit TestSshClient(const SshdFixture &sshd) : m_sshd(sshd) { }

signals:
    void doStart();
    void doStop();

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void startFailures_data();
    void startFailures();
    void transfers_data();
    void transfers();
    void slowLocalReader();
    void oneLocalConnectionAtATime();
    void refusedTargetKeepsSession();
    void sessionDeath_data();
    void sessionDeath();
    void fullSession_data();
    void fullSession();
    void logCallbackHidesPassword();
    void nothingLeaks();

private:
    void createClient(quint16 tunnelPort, int verbosity = 0);
    void startClient();
    void deleteClient();
    void syncWithClient();
    void forwardingCycle(Target &target);

    SshdFixture m_sshd;
    QThread m_thread;
    SshClient *m_client = nullptr;
    Recorder *m_recorder = nullptr;
};

void TestSshClient::initTestCase()
{
    m_thread.start();
}

void TestSshClient::cleanupTestCase()
{
    m_thread.quit();
    m_thread.wait();
}

void TestSshClient::init()
{
    // Every listener on a free port: tests of other trees may run beside this one.
    SshClient::setLocalPortOverride(0);
}

void TestSshClient::cleanup()
{
    deleteClient();
    SshClient::setLocalPortOverride(-1);
}

void TestSshClient::createClient(quint16 tunnelPort, int verbosity)
{
    m_recorder = new Recorder;
    m_client = new SshClient(verbosity);
    m_client->host = m_sshd.host;
    m_client->sshPort = m_sshd.port;
    m_client->user = m_sshd.user;
    m_client->password = m_sshd.password;
    m_client->tunnelPort = tunnelPort;
    connect(m_client, &QObject::destroyed, m_recorder, &Recorder::gone);
    m_client->moveToThread(&m_thread);
    // The connections of the main window, by name as it makes them.
    QVERIFY(connect(m_client, SIGNAL(logMessage(const QString &)), m_recorder, SLOT(log(const QString &))));
    QVERIFY(connect(m_client, SIGNAL(sessionStateChanged(int)), m_recorder, SLOT(state(int))));
    QVERIFY(connect(this, SIGNAL(doStart()), m_client, SLOT(startSession())));
    QVERIFY(connect(this, SIGNAL(doStop()), m_client, SLOT(stopSession())));
}

void TestSshClient::startClient()
{
    emit doStart();
    QTRY_COMPARE_WITH_TIMEOUT(m_recorder->states, States {Listening}, StartTimeout);
}

void TestSshClient::deleteClient()
{
    if (!m_client)
        return;
    emit doStop();
    m_client->deleteLater();
    m_client = nullptr;
    QTRY_VERIFY(m_recorder->destroyed);
    delete m_recorder;
    m_recorder = nullptr;
}

// Whatever the client was asked before has run, and what it reported has arrived.
void TestSshClient::syncWithClient()
{
    QMetaObject::invokeMethod(
        m_client, [] {}, Qt::BlockingQueuedConnection);
    QCoreApplication::processEvents();
}

void TestSshClient::startFailures_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("sshPortClosed");
    QTest::addColumn<int>("tunnelPort");
    QTest::addColumn<int>("localPort");
    QTest::addColumn<QString>("listenAddress");
    QTest::addColumn<bool>("listenPortTaken");

    const QString local = QStringLiteral("127.0.0.1");
    QTest::newRow("wrong password") << QStringLiteral("wrong") << false << 4000 << 7001 << local << false;
    QTest::newRow("nothing on the SSH port") << QString() << true << 4000 << 7001 << local << false;
    QTest::newRow("no tunnel port from the relay") << QString() << false << 0 << 7001 << local << false;
    QTest::newRow("negative tunnel port") << QString() << false << -5 << 7001 << local << false;
    QTest::newRow("no local port") << QString() << false << 4000 << 0 << local << false;
    QTest::newRow("no listen address") << QString() << false << 4000 << 7001 << QString() << false;
    QTest::newRow("listen address of another host")
        << QString() << false << 4000 << 7001 << QStringLiteral("192.0.2.1") << false;
    QTest::newRow("listen port taken") << QString() << false << 4000 << 7001 << local << true;
}

void TestSshClient::startFailures()
{
    QFETCH(QString, password);
    QFETCH(bool, sshPortClosed);
    QFETCH(int, tunnelPort);
    QFETCH(int, localPort);
    QFETCH(QString, listenAddress);
    QFETCH(bool, listenPortTaken);

    QTcpServer occupant;
    if (listenPortTaken) {
        QVERIFY(occupant.listen(QHostAddress::LocalHost, 0));
        SshClient::setLocalPortOverride(occupant.serverPort());
    }
    createClient(static_cast<quint16>(qMax(tunnelPort, 0)));
    m_client->tunnelPort = tunnelPort;
    m_client->localPort = localPort;
    m_client->listenAddress = QHostAddress(listenAddress);
    if (!password.isEmpty())
        m_client->password = password;
    if (sshPortClosed)
        m_client->sshPort = rpctesting::closedPort();

    emit doStart();
    QTRY_COMPARE_WITH_TIMEOUT(m_recorder->states, States {Failed}, StartTimeout);
    QCOMPARE(m_client->listeningPort(), quint16(0));

    // A failed start leaves no session behind: stopping reports nothing, and a corrected start succeeds.
    emit doStop();
    syncWithClient();
    QCOMPARE(m_recorder->states, States {Failed});
    if (sshPortClosed || !password.isEmpty() || listenPortTaken)
        return;
    m_client->tunnelPort = 4000;
    m_client->localPort = 7001;
    m_client->listenAddress = QHostAddress(QHostAddress::LocalHost);
    emit doStart();
    QTRY_COMPARE_WITH_TIMEOUT(m_recorder->states, (States {Failed, Listening}), StartTimeout);
}

void TestSshClient::transfers_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("size");

    // Both directions at once: the writes to the channel take in what the device sends meanwhile.
    QTest::newRow("echo, 8 MiB") << int(Target::Echo) << 8 * 1024 * 1024;
    QTest::newRow("to the device, 8 MiB") << int(Target::Sink) << 8 * 1024 * 1024;
    QTest::newRow("from the device, 1 byte, then it closes") << int(Target::Source) << 1;
    QTest::newRow("from the device, 8 MiB, then it closes") << int(Target::Source) << 8 * 1024 * 1024;
}

void TestSshClient::transfers()
{
    QFETCH(int, mode);
    QFETCH(int, size);
    const QByteArray payload = randomBytes(size);

    Target target(Target::Mode(mode), payload);
    createClient(target.serverPort());
    START_CLIENT();
    LocalPeer peer(m_client->listeningPort());
    if (mode == Target::Source) {
        // Everything the device sent arrives before its close does; the close ends the local connection, not the
        // session.
        QTRY_VERIFY_WITH_TIMEOUT(peer.closed, TransferTimeout);
        QCOMPARE(peer.atClose.size(), size);
        QVERIFY(peer.atClose == payload);
        QTRY_COMPARE(m_recorder->states, (States {Listening, Forwarding, Closing}));
        return;
    }
    QTRY_COMPARE(m_recorder->states, (States {Listening, Forwarding}));
    peer.socket.write(payload);
    if (mode == Target::Echo) {
        QTRY_COMPARE_WITH_TIMEOUT(peer.received.size(), size, TransferTimeout);
        QCOMPARE(peer.received, payload);
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(target.received.size(), size, TransferTimeout);
        QCOMPARE(target.received, payload);
    }
    QCOMPARE(m_recorder->states, (States {Listening, Forwarding}));
}

// The local side stops reading while the device sends much more than fits in between: the device waits, and
// once the reader goes on, everything arrives in order before the device's close.
void TestSshClient::slowLocalReader()
{
    const QByteArray payload = randomBytes(32 * 1024 * 1024);
    Target target(Target::Source, payload);
    createClient(target.serverPort());
    START_CLIENT();
    LocalPeer peer(m_client->listeningPort());
    peer.pause();
    QTRY_VERIFY_WITH_TIMEOUT(target.sent >= HeldBackBytes, TransferTimeout);
    QVERIFY(peer.received.isEmpty());
    QVERIFY(!peer.closed);

    peer.resume();
    QTRY_VERIFY_WITH_TIMEOUT(peer.closed, TransferTimeout);
    QCOMPARE(peer.atClose.size(), payload.size());
    QVERIFY(peer.atClose == payload);
    QTRY_COMPARE(m_recorder->states, (States {Listening, Forwarding, Closing}));
}

// One local connection at a time; its end closes its channel but keeps the session for the next one.
void TestSshClient::oneLocalConnectionAtATime()
{
    Target target(Target::Echo);
    createClient(target.serverPort());
    START_CLIENT();
    {
        LocalPeer first(m_client->listeningPort());
        QTRY_COMPARE(m_recorder->states, (States {Listening, Forwarding}));
        LocalPeer second(m_client->listeningPort());
        QTRY_COMPARE(second.socket.state(), QAbstractSocket::UnconnectedState);
        QVERIFY(second.received.isEmpty());

        first.socket.write("still here");
        QTRY_COMPARE(first.received, QByteArray("still here"));
        QCOMPARE(target.connections, 1);
        first.socket.disconnectFromHost();
        QTRY_COMPARE(m_recorder->states, (States {Listening, Forwarding, Closing}));
    }
    QTRY_COMPARE(target.open, 0);

    LocalPeer next(m_client->listeningPort());
    QTRY_COMPARE(m_recorder->states, (States {Listening, Forwarding, Closing, Forwarding}));
    next.socket.write("two");
    QTRY_COMPARE(next.received, QByteArray("two"));
    QCOMPARE(target.connections, 2);
}

void TestSshClient::refusedTargetKeepsSession()
{
    createClient(rpctesting::closedPort());
    START_CLIENT();
    for (int attempt = 0; attempt < 2; ++attempt) {
        LocalPeer peer(m_client->listeningPort());
        QTRY_COMPARE(peer.socket.state(), QAbstractSocket::UnconnectedState);
    }
    syncWithClient();
    QCOMPARE(m_recorder->states, States {Listening});
    emit doStop();
    QTRY_COMPARE(m_recorder->states, (States {Listening, Closed}));
}

void TestSshClient::sessionDeath_data()
{
    QTest::addColumn<bool>("forwarding");
    QTest::addColumn<bool>("connectAfterDeath");
    QTest::addColumn<States>("states");

    QTest::newRow("while listening") << false << false << States {Listening, Failed};
    QTest::newRow("while listening, then a local connection") << false << true << States {Listening, Failed};
    QTest::newRow("while forwarding") << true << false << States {Listening, Forwarding, Closing, Failed};
}

void TestSshClient::sessionDeath()
{
    QFETCH(bool, forwarding);
    QFETCH(bool, connectAfterDeath);
    QFETCH(States, states);

    Target target(Target::Echo);
    createClient(target.serverPort());
    START_CLIENT();
    const quint16 port = m_client->listeningPort();
    std::unique_ptr<LocalPeer> peer;
    if (forwarding) {
        peer = std::make_unique<LocalPeer>(port);
        QTRY_COMPARE(m_recorder->states, (States {Listening, Forwarding}));
        peer->socket.write("ping");
        QTRY_COMPARE(peer->received, QByteArray("ping"));
    }

    QVERIFY(killSshdSessions(m_sshd.port) > 0);
    if (connectAfterDeath) {
        peer = std::make_unique<LocalPeer>(port);
        QTRY_COMPARE(peer->socket.state(), QAbstractSocket::UnconnectedState);
    }
    QTRY_COMPARE(m_recorder->states, states);
    if (peer)
        QTRY_COMPARE(peer->socket.state(), QAbstractSocket::UnconnectedState);

    // The dead session is gone: nothing listens any more, and a stop has nothing left to close.
    QCOMPARE(m_client->listeningPort(), quint16(0));
    LocalPeer late(port);
    QTRY_COMPARE(late.socket.error(), QAbstractSocket::ConnectionRefusedError);
    emit doStop();
    syncWithClient();
    QCOMPARE(m_recorder->states, states);
}

void TestSshClient::fullSession_data()
{
    QTest::addColumn<int>("verbosity");
    QTest::newRow("silent") << 0;
    QTest::newRow("every function") << 4;
}

// Listening where asked, forwarding and stopping, with libssh's messages in the log at the verbosity asked for.
void TestSshClient::fullSession()
{
    QFETCH(int, verbosity);
    // Without the override the listener takes listenAddress and localPort as they are (127.0.0.<id>:7001 in the
    // program). Another run of this test may hold 7001 right now, so a free port of a rarely used address stands in.
    SshClient::setLocalPortOverride(-1);
    const QHostAddress address(QStringLiteral("127.0.%1.%2")
                                   .arg(QRandomGenerator::global()->bounded(1, 255))
                                   .arg(QRandomGenerator::global()->bounded(1, 255)));
    const quint16 localPort = rpctesting::closedPort(address);
    Target target(Target::Echo);
    createClient(target.serverPort(), verbosity);
    m_client->listenAddress = address;
    m_client->localPort = localPort;
    // A second start while the session runs is refused.
    bool started = false;
    for (const bool expected : {true, false}) {
        QVERIFY(QMetaObject::invokeMethod(
            m_client, "startSession", Qt::BlockingQueuedConnection, Q_RETURN_ARG(bool, started)));
        QCOMPARE(started, expected);
    }
    QTRY_COMPARE_WITH_TIMEOUT(m_recorder->states, States {Listening}, StartTimeout);
    QCOMPARE(m_client->listeningPort(), localPort);
    LocalPeer peer(localPort, address);
    QTRY_COMPARE(m_recorder->states, (States {Listening, Forwarding}));
    peer.socket.write("device");
    QTRY_COMPARE(peer.received, QByteArray("device"));

    // A stop ends the local connection, the device's and the listener; a second stop has nothing left to close.
    emit doStop();
    QTRY_COMPARE(m_recorder->states, (States {Listening, Forwarding, Closing, Closed}));
    QTRY_COMPARE(peer.socket.state(), QAbstractSocket::UnconnectedState);
    QTRY_COMPARE(target.open, 0);
    QCOMPARE(m_client->listeningPort(), quint16(0));
    LocalPeer late(localPort, address);
    QTRY_COMPARE(late.socket.error(), QAbstractSocket::ConnectionRefusedError);
    emit doStop();
    syncWithClient();
    QCOMPARE(m_recorder->states, (States {Listening, Forwarding, Closing, Closed}));

    const QStringList &logs = m_recorder->logs;
    const QString hostKeyLine = QStringLiteral("SshClient::startSession(host key of %1: ssh-ed25519 %2)")
                                    .arg(m_sshd.host, m_sshd.hostKeySha256);
    QVERIFY2(logs.contains(hostKeyLine), qPrintable(logs.join(QLatin1Char('\n'))));
    if (verbosity > 0)
        QVERIFY(logs.size() > 10);
    else
        QCOMPARE(logs.size(), 1);
    const QRegularExpression form(
        QStringLiteral("^[A-Za-z_][A-Za-z0-9_:]*\\(.*\\)$"), QRegularExpression::DotMatchesEverythingOption);
    for (const QString &line : logs) {
        QVERIFY2(form.match(line).hasMatch(), qPrintable(line));
        QVERIFY2(!line.contains(m_sshd.password), qPrintable(line));
    }
}

void TestSshClient::logCallbackHidesPassword()
{
    SshClient client(0);
    client.password = QStringLiteral("s3cr\u00e9t");
    QStringList logs;
    connect(&client, &SshClient::logMessage, this, [&logs](const QString &message) { logs.append(message); });

    sshLogCallback(
        1, "ssh_userauth_password", QByteArray("sent s3cr\xc3\xa9t twice: s3cr\xc3\xa9t").constData(), &client);
    sshLogCallback(1, "ssh_connect", "no userdata", nullptr);
    sshLogCallback(1, "ssh_connect", "Latin-1 \xe9", &client);
    QCOMPARE(logs,
        (QStringList {QStringLiteral("ssh_userauth_password(sent ******** twice: ********)"),
            QStringLiteral("ssh_connect(Latin-1 \u00e9)")}));
}

void TestSshClient::forwardingCycle(Target &target)
{
    createClient(target.serverPort());
    START_CLIENT();
    {
        LocalPeer peer(m_client->listeningPort());
        QTRY_COMPARE(m_recorder->states, (States {Listening, Forwarding}));
        peer.socket.write("cycle");
        QTRY_COMPARE(peer.received, QByteArray("cycle"));
        emit doStop();
        QTRY_COMPARE(m_recorder->states, (States {Listening, Forwarding, Closing, Closed}));
        QTRY_COMPARE(peer.socket.state(), QAbstractSocket::UnconnectedState);
    }
    deleteClient();
    QTRY_COMPARE(target.open, 0);
}

void TestSshClient::nothingLeaks()
{
    const QString descriptors = QStringLiteral("/proc/self/fd");
    const QString threads = QStringLiteral("/proc/self/task");
    Target target(Target::Echo);
    forwardingCycle(target);
    const int descriptorsAfterOne = entriesOf(descriptors);
    const int threadsAfterOne = entriesOf(threads);
    for (int cycle = 0; cycle < 3; ++cycle) {
        forwardingCycle(target);
        if (QTest::currentTestFailed())
            return;
    }
    QTRY_COMPARE(entriesOf(descriptors), descriptorsAfterOne);
    QCOMPARE(entriesOf(threads), threadsAfterOne);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const SshdFixture sshd = SshdFixture::load();
    if (!sshd.isValid()) {
        std::fprintf(stderr, "tst_sshclient: no sshd fixture (it needs root): skipped\n");
        return 77;
    }
    TestSshClient test(sshd);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_sshclient.moc"
