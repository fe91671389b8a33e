#pragma once

#include <QAbstractSocket>
#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpServer>

#include <atomic>
#include <memory>

class QSocketNotifier;
class QTcpSocket;
class QTimer;

struct ssh_session_struct;
struct ssh_channel_struct;

// The SSH tunnel to the device: an SSH session to the relay and a local listener whose one connection is forwarded
// through a direct-tcpip channel. libssh blocks, so an SshClient lives on a worker thread of its own and is driven
// only through queued signals: connect a signal to startSession() / stopSession() and watch sessionStateChanged().
// While forwarding, bytes from the device wake the thread (a notifier on the session's socket); nothing is read from
// the channel while the local connection is more than a bound behind, so a slow reader holds the device back through
// the channel's window instead of filling memory here.
//
// Session states (SessionState, carried as int by sessionStateChanged): failed (could not connect, authenticate or
// listen; or the session was found dead, which also closes the listener and frees the session), closed (stopSession
// ended an open session), listening, closing (the local connection ended; the session and the listener stay),
// forwarding (a local connection was accepted and its channel is open). After a failure there is no session:
// stopSession reports nothing and startSession may run again.
class SshClient final : public QObject
{
    Q_OBJECT

public:
    enum SessionState {
        SessionFailed = -1,
        SessionClosed = 0,
        SessionListening = 1,
        SessionClosing = 2,
        SessionForwarding = 3,
    };
    Q_ENUM(SessionState)

    class Listener final : public QTcpServer
    {
    public:
        explicit Listener(SshClient *parent);

    protected:
        void incomingConnection(qintptr descriptor) override;
    };

    explicit SshClient(int logVerbosity, QObject *parent = nullptr);
    ~SshClient() override;

    // Written by the owner before the session starts (before moveToThread and the start signal).
    int logVerbosity;
    int sshPort = 234;
    int tunnelPort = 0;
    int localPort = 7001;
    QHostAddress listenAddress {QHostAddress::LocalHost};
    QString host;
    QString user;
    QString password;

    // The port the local listener is bound to, 0 while none listens; readable from any thread once the
    // session has reported 1. It is localPort unless a test has overridden the listening port.
    quint16 listeningPort() const { return m_listeningPort.load(); }

    // Test seam: listeners started after this call bind `port` instead of their localPort; 0 lets the system
    // choose a free port, -1 (the default) turns the override off. The program itself never calls it.
    static void setLocalPortOverride(int port);

    void acceptLocalConnection(qintptr descriptor);
    bool openForwardChannel();
    void closeForwardChannel();
    void closeListener();
    void closeLocalSocket();

signals:
    void logMessage(const QString &message);
    void sessionStateChanged(int state);

public slots:
    bool startSession();
    void stopSession();

private slots:
    void socketStateChanged(QAbstractSocket::SocketState state);
    void readLocalSocket();
    // Moves everything the channel holds to the local connection (up to the backlog bound); true when it moved any.
    bool processSession();
    void localSocketWritten();
    void checkSession();

private:
    // Each handle tears its object down in one place: the session is disconnected and freed, the channel closed
    // (when still open) and freed. A channel goes before its session.
    struct SessionDeleter
    {
        void operator()(ssh_session_struct *session) const;
    };
    struct ChannelDeleter
    {
        void operator()(ssh_channel_struct *channel) const;
    };
    using SessionHandle = std::unique_ptr<ssh_session_struct, SessionDeleter>;
    using ChannelHandle = std::unique_ptr<ssh_channel_struct, ChannelDeleter>;

    void failStart();
    void logHostKey();
    bool sessionAlive();
    void endForwarding();
    void dropDeadSession();
    void stopCheckTimer();

    Listener *m_listener = nullptr;
    // While forwarding: a slow tick that catches bytes libssh read into the channel during another call (a write
    // in the other direction, say), which the session's socket no longer announces.
    QTimer *m_pollTimer = nullptr;
    QTcpSocket *m_localSocket = nullptr;
    SessionHandle m_session;
    ChannelHandle m_channel;
    // While forwarding: wakes processSession when the session's socket has bytes; off while the local side is behind.
    QSocketNotifier *m_sessionNotifier = nullptr;
    QByteArray m_readBuffer;
    bool m_draining = false;
    QTimer *m_checkTimer = nullptr;
    std::atomic<quint16> m_listeningPort {0};
};

// libssh's log hook: hands "function(text)" to the SshClient that userdata points to, as its logMessage.
void sshLogCallback(int priority, const char *function, const char *buffer, void *userdata);
