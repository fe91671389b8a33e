#include "sshclient.h"

#include "relaylogin.h"

#include <QCoreApplication>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <libssh/callbacks.h>
#include <libssh/libssh.h>
#include <libssh/server.h>
#include <openssl/crypto.h>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <unistd.h>
#endif

namespace {

const char ForwardHost[] = "localhost";
const int PollInterval = 1;
const int PollChunk = 1024;
// A session can die while nothing is forwarded (the relay restarts); nobody would notice without a look now and then.
const int SessionCheckInterval = 1000;

std::atomic<int> localPortOverride {-1};

// A descriptor that was accepted but will not be used still has to be closed.
void closeDescriptor(qintptr descriptor)
{
#ifdef Q_OS_WIN
    ::closesocket(static_cast<SOCKET>(descriptor));
#else
    ::close(static_cast<int>(descriptor));
#endif
}

} // namespace

void sshLogCallback(int priority, const char *function, const char *buffer, void *userdata)
{
    Q_UNUSED(priority);
    auto *client = static_cast<SshClient *>(userdata);
    if (!client)
        return;
    QByteArray text(buffer ? buffer : "");
    // libssh does not print passwords, but a log file is the wrong place to find out it started to.
    if (!client->password.isEmpty())
        text.replace(client->password.toUtf8(), "********");
    emit client->logMessage(
        QStringLiteral("%1(%2)").arg(QString::fromLatin1(function ? function : ""), QString::fromLatin1(text)));
}

SshClient::Listener::Listener(SshClient *parent) : QTcpServer(parent) { }

void SshClient::Listener::incomingConnection(qintptr descriptor)
{
    if (auto *client = qobject_cast<SshClient *>(parent()))
        client->acceptLocalConnection(descriptor);
    else
        closeDescriptor(descriptor);
}

void SshClient::SessionDeleter::operator()(ssh_session_struct *session) const
{
    ssh_disconnect(session);
    ssh_free(session);
}

void SshClient::ChannelDeleter::operator()(ssh_channel_struct *channel) const
{
    // A channel that never opened, or that the server closed, has nothing to send; freeing answers the server's close.
    if (ssh_channel_is_open(channel))
        ssh_channel_close(channel);
    ssh_channel_free(channel);
}

SshClient::SshClient(int logVerbosity, QObject *parent)
    : QObject(parent), logVerbosity(logVerbosity), host(QString::fromLatin1(RelayDefaultHost))
{
}

SshClient::~SshClient()
{
    stopSession();
    if (ssh_get_log_userdata() == this)
        ssh_set_log_userdata(nullptr);
    // libssh's crypto keeps random generators per thread and frees them when the thread ends, but QThread::wait()
    // returns before that: a program ending right after its SSH thread would lose them. This thread has no other
    // use for them until the next session.
    const QCoreApplication *application = QCoreApplication::instance();
    if (QThread::currentThread() == thread() && (!application || application->thread() != thread()))
        OPENSSL_thread_stop();
}

void SshClient::setLocalPortOverride(int port)
{
    localPortOverride.store(port < 0 ? -1 : port);
}

bool SshClient::startSession()
{
    if (m_session)
        return false;

    ssh_set_log_callback(sshLogCallback);
    ssh_set_log_userdata(this);

    m_session.reset(ssh_new());
    if (!m_session) {
        emit sessionStateChanged(SessionFailed);
        return false;
    }

    const QByteArray hostText = host.toLatin1();
    const QByteArray userText = user.toLatin1();
    ssh_options_set(m_session.get(), SSH_OPTIONS_HOST, hostText.constData());
    ssh_options_set(m_session.get(), SSH_OPTIONS_PORT, &sshPort);
    ssh_options_set(m_session.get(), SSH_OPTIONS_USER, userText.constData());
    ssh_options_set(m_session.get(), SSH_OPTIONS_LOG_VERBOSITY, &logVerbosity);

    if (ssh_connect(m_session.get()) != SSH_OK) {
        failStart();
        return false;
    }
    // The relay's host key is not checked; its fingerprint in the log lets a user see which relay answered.
    logHostKey();

    if (ssh_userauth_password(m_session.get(), nullptr, password.toUtf8().constData()) != SSH_AUTH_SUCCESS) {
        failStart();
        return false;
    }
    if (tunnelPort <= 0 || localPort <= 0 || listenAddress.isNull()) {
        failStart();
        return false;
    }

    const int overridePort = localPortOverride.load();
    const quint16 port = static_cast<quint16>(overridePort >= 0 ? overridePort : localPort);
    m_listener = new Listener(this);
    if (!m_listener->listen(listenAddress, port)) {
        closeListener();
        failStart();
        return false;
    }
    m_listeningPort.store(m_listener->serverPort());

    m_checkTimer = new QTimer(this);
    connect(m_checkTimer, &QTimer::timeout, this, &SshClient::checkSession);
    m_checkTimer->start(SessionCheckInterval);

    emit sessionStateChanged(SessionListening);
    return true;
}

void SshClient::failStart()
{
    m_session.reset();
    emit sessionStateChanged(SessionFailed);
}

void SshClient::logHostKey()
{
    ssh_key key = nullptr;
    if (ssh_get_server_publickey(m_session.get(), &key) != SSH_OK)
        return;
    unsigned char *hash = nullptr;
    size_t length = 0;
    if (ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &length) == 0) {
        char *fingerprint = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, length);
        emit logMessage(QStringLiteral("SshClient::startSession(host key of %1: %2 %3)")
                            .arg(host, QString::fromLatin1(ssh_key_type_to_char(ssh_key_type(key))),
                                QString::fromLatin1(fingerprint)));
        ssh_string_free_char(fingerprint);
        ssh_clean_pubkey_hash(&hash);
    }
    ssh_key_free(key);
}

void SshClient::stopSession()
{
    closeListener();
    closeLocalSocket();
    closeForwardChannel();
    stopCheckTimer();
    if (m_session) {
        m_session.reset();
        emit sessionStateChanged(SessionClosed);
    }
}

void SshClient::acceptLocalConnection(qintptr descriptor)
{
    if (!m_session) {
        closeDescriptor(descriptor);
        return;
    }
    auto *socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor, QAbstractSocket::ConnectedState, QIODevice::ReadWrite)) {
        closeDescriptor(descriptor);
        delete socket;
        return;
    }
    if (m_localSocket || !sessionAlive()) {
        socket->abort();
        socket->deleteLater();
        if (!m_localSocket)
            dropDeadSession();
        return;
    }
    if (!openForwardChannel()) {
        closeForwardChannel();
        socket->abort();
        socket->deleteLater();
        if (!sessionAlive())
            dropDeadSession();
        return;
    }

    m_localSocket = socket;
    connect(m_localSocket, &QAbstractSocket::stateChanged, this, &SshClient::socketStateChanged);
    connect(m_localSocket, &QIODevice::readyRead, this, &SshClient::readLocalSocket);

    m_pollTimer = new QTimer(this);
    connect(m_pollTimer, &QTimer::timeout, this, &SshClient::processSession);
    m_pollTimer->start(PollInterval);

    emit sessionStateChanged(SessionForwarding);
}

bool SshClient::openForwardChannel()
{
    if (!m_session || m_channel)
        return false;
    m_channel.reset(ssh_channel_new(m_session.get()));
    if (!m_channel)
        return false;
    const QByteArray sourceHost = listenAddress.toString().toLatin1();
    if (ssh_channel_open_forward(
            m_channel.get(), ForwardHost, tunnelPort, sourceHost.constData(), m_listeningPort.load())
        != SSH_OK) {
        m_channel.reset();
        return false;
    }
    return true;
}

void SshClient::closeForwardChannel()
{
    m_channel.reset();
}

void SshClient::closeListener()
{
    if (!m_listener)
        return;
    m_listener->disconnect();
    m_listener->close();
    m_listener->deleteLater();
    m_listener = nullptr;
    m_listeningPort.store(0);
}

void SshClient::closeLocalSocket()
{
    if (!m_localSocket)
        return;
    m_pollTimer->disconnect();
    m_pollTimer->stop();
    m_pollTimer->deleteLater();
    m_pollTimer = nullptr;

    m_localSocket->disconnect(this);
    m_localSocket->disconnectFromHost();
    m_localSocket->deleteLater();
    m_localSocket = nullptr;
    emit sessionStateChanged(SessionClosing);
}

void SshClient::socketStateChanged(QAbstractSocket::SocketState state)
{
    if (state != QAbstractSocket::UnconnectedState)
        return;
    closeLocalSocket();
    closeForwardChannel();
}

void SshClient::readLocalSocket()
{
    if (!m_localSocket)
        return;
    const QByteArray data = m_localSocket->readAll();
    if (!m_channel || data.isEmpty())
        return;
    const int written = ssh_channel_write(m_channel.get(), data.constData(), static_cast<uint32_t>(data.size()));
    if (written < data.size())
        endForwarding();
}

bool SshClient::processSession()
{
    if (!m_session || !m_localSocket || !m_channel)
        return false;
    if (ssh_channel_is_closed(m_channel.get()) || ssh_channel_is_eof(m_channel.get())) {
        endForwarding();
        return false;
    }
    char buffer[PollChunk];
    const int count = ssh_channel_read_nonblocking(m_channel.get(), buffer, sizeof buffer, 0);
    if (count <= 0)
        return false;
    return m_localSocket->write(buffer, count) == count;
}

void SshClient::endForwarding()
{
    closeLocalSocket();
    closeForwardChannel();
    if (!sessionAlive())
        dropDeadSession();
}

void SshClient::checkSession()
{
    if (m_session && !m_channel && !sessionAlive())
        dropDeadSession();
}

// The timer may be the sender of the running slot.
void SshClient::stopCheckTimer()
{
    if (!m_checkTimer)
        return;
    m_checkTimer->stop();
    m_checkTimer->deleteLater();
    m_checkTimer = nullptr;
}

bool SshClient::sessionAlive()
{
    if (!m_session)
        return false;
    // libssh learns of a lost connection only while it reads; this reads what arrived without waiting (and
    // answers requests of the server the default way).
    ssh_execute_message_callbacks(m_session.get());
    return ssh_is_connected(m_session.get()) && !(ssh_get_status(m_session.get()) & (SSH_CLOSED | SSH_CLOSED_ERROR));
}

void SshClient::dropDeadSession()
{
    if (!m_session)
        return;
    emit logMessage(QStringLiteral("SshClient::checkSession(session lost: %1)")
                        .arg(QString::fromLatin1(ssh_get_error(m_session.get()))));
    closeListener();
    closeLocalSocket();
    closeForwardChannel();
    stopCheckTimer();
    m_session.reset();
    emit sessionStateChanged(SessionFailed);
}
