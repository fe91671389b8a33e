#include "shell/sshclient.h"

#include "rpc/lazycrypto.h"
#include "rpc/lazylibrary.h"
#include "shell/relaylogin.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

#include <libssh/callbacks.h>
#include <libssh/libssh.h>
#include <libssh/server.h>

#ifdef Q_OS_WIN
#include <winsock2.h>
#else
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace {

LazyLibrary &libssh()
{
    static LazyLibrary library(MQ_LIBSSH_SONAME);
    return library;
}

} // namespace

// The SSH library's functions this file calls, loaded with the first session.
namespace lazyssh {

MQ_LAZY_FUNCTION(libssh, ssh_channel_close)
MQ_LAZY_FUNCTION(libssh, ssh_channel_free)
MQ_LAZY_FUNCTION(libssh, ssh_channel_is_closed)
MQ_LAZY_FUNCTION(libssh, ssh_channel_is_eof)
MQ_LAZY_FUNCTION(libssh, ssh_channel_is_open)
MQ_LAZY_FUNCTION(libssh, ssh_channel_new)
MQ_LAZY_FUNCTION(libssh, ssh_channel_open_forward)
MQ_LAZY_FUNCTION(libssh, ssh_channel_read_nonblocking)
MQ_LAZY_FUNCTION(libssh, ssh_channel_write)
MQ_LAZY_FUNCTION(libssh, ssh_clean_pubkey_hash)
MQ_LAZY_FUNCTION(libssh, ssh_connect)
MQ_LAZY_FUNCTION(libssh, ssh_disconnect)
MQ_LAZY_FUNCTION(libssh, ssh_execute_message_callbacks)
MQ_LAZY_FUNCTION(libssh, ssh_free)
MQ_LAZY_FUNCTION(libssh, ssh_get_error)
MQ_LAZY_FUNCTION(libssh, ssh_get_fd)
MQ_LAZY_FUNCTION(libssh, ssh_get_fingerprint_hash)
MQ_LAZY_FUNCTION(libssh, ssh_get_log_userdata)
MQ_LAZY_FUNCTION(libssh, ssh_get_publickey_hash)
MQ_LAZY_FUNCTION(libssh, ssh_get_server_publickey)
MQ_LAZY_FUNCTION(libssh, ssh_get_status)
MQ_LAZY_FUNCTION(libssh, ssh_is_connected)
MQ_LAZY_FUNCTION(libssh, ssh_key_free)
MQ_LAZY_FUNCTION(libssh, ssh_key_type)
MQ_LAZY_FUNCTION(libssh, ssh_key_type_to_char)
MQ_LAZY_FUNCTION(libssh, ssh_new)
MQ_LAZY_FUNCTION(libssh, ssh_options_set)
MQ_LAZY_FUNCTION(libssh, ssh_set_log_callback)
MQ_LAZY_FUNCTION(libssh, ssh_set_log_userdata)
MQ_LAZY_FUNCTION(libssh, ssh_string_free_char)
MQ_LAZY_FUNCTION(libssh, ssh_userauth_password)

} // namespace lazyssh

namespace {

const char ForwardHost[] = "localhost";
// Bytes from the device wake the forwarding; this tick is only the safety net.
const int PollInterval = 100;
// One read from the channel; it holds at most its window (about 1.2 MB).
const int ReadChunk = 64 * 1024;
// While more than this waits for the local connection, the channel is not read.
const qint64 LocalBacklogLimit = 1024 * 1024;
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

// The relay's sshd holds back the last piece of a burst until the previous one is acknowledged, and the kernel
// would delay that acknowledgement by up to 40 ms: a large reply would stall just before its end.
void acknowledgeAtOnce(socket_t descriptor)
{
#ifdef TCP_QUICKACK
    const int on = 1;
    ::setsockopt(descriptor, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
#else
    Q_UNUSED(descriptor);
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
    lazyssh::ssh_disconnect(session);
    lazyssh::ssh_free(session);
}

void SshClient::ChannelDeleter::operator()(ssh_channel_struct *channel) const
{
    // A channel that never opened, or that the server closed, has nothing to send; freeing answers the server's close.
    if (lazyssh::ssh_channel_is_open(channel))
        lazyssh::ssh_channel_close(channel);
    lazyssh::ssh_channel_free(channel);
}

SshClient::SshClient(int verbosity, QObject *parent)
    : QObject(parent), logVerbosity(verbosity), host(QString::fromLatin1(RelayDefaultHost))
{
}

SshClient::~SshClient()
{
    stopSession();
    if (lazyssh::ssh_get_log_userdata() == this)
        lazyssh::ssh_set_log_userdata(nullptr);
    // libssh's crypto keeps random generators per thread and frees them when the thread ends, but QThread::wait()
    // returns before that: a program ending right after its SSH thread would lose them. This thread has no other
    // use for them until the next session.
    const QCoreApplication *application = QCoreApplication::instance();
    if (QThread::currentThread() == thread() && (!application || application->thread() != thread()))
        lazycrypto::OPENSSL_thread_stop();
}

void SshClient::setLocalPortOverride(int port)
{
    localPortOverride.store(port < 0 ? -1 : port);
}

bool SshClient::startSession()
{
    if (m_session)
        return false;

    lazyssh::ssh_set_log_callback(sshLogCallback);
    lazyssh::ssh_set_log_userdata(this);

    m_session.reset(lazyssh::ssh_new());
    if (!m_session) {
        emit sessionStateChanged(SessionFailed);
        return false;
    }

    const QByteArray hostText = host.toLatin1();
    const QByteArray userText = user.toLatin1();
    lazyssh::ssh_options_set(m_session.get(), SSH_OPTIONS_HOST, hostText.constData());
    lazyssh::ssh_options_set(m_session.get(), SSH_OPTIONS_PORT, &sshPort);
    lazyssh::ssh_options_set(m_session.get(), SSH_OPTIONS_USER, userText.constData());
    lazyssh::ssh_options_set(m_session.get(), SSH_OPTIONS_LOG_VERBOSITY, &logVerbosity);
    // A request must not wait behind the acknowledgement of our last window adjustment.
    const int noDelay = 1;
    lazyssh::ssh_options_set(m_session.get(), SSH_OPTIONS_NODELAY, &noDelay);

    if (lazyssh::ssh_connect(m_session.get()) != SSH_OK) {
        failStart();
        return false;
    }
    // The relay's host key is not checked; its fingerprint in the log lets a user see which relay answered.
    logHostKey();

    if (lazyssh::ssh_userauth_password(m_session.get(), nullptr, password.toUtf8().constData()) != SSH_AUTH_SUCCESS) {
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
    if (lazyssh::ssh_get_server_publickey(m_session.get(), &key) != SSH_OK)
        return;
    unsigned char *hash = nullptr;
    size_t length = 0;
    if (lazyssh::ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &length) == 0) {
        char *fingerprint = lazyssh::ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, length);
        emit logMessage(QStringLiteral("SshClient::startSession(host key of %1: %2 %3)")
                            .arg(host, QString::fromLatin1(lazyssh::ssh_key_type_to_char(lazyssh::ssh_key_type(key))),
                                QString::fromLatin1(fingerprint)));
        lazyssh::ssh_string_free_char(fingerprint);
        lazyssh::ssh_clean_pubkey_hash(&hash);
    }
    lazyssh::ssh_key_free(key);
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
    // The device's bytes arrive in pieces smaller than a segment; held back for the reader's delayed
    // acknowledgement, the last piece of a reply would wait up to 40 ms.
    m_localSocket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    // The other way, a writer faster than the channel meets TCP's flow control: the socket holds one chunk at most,
    // and the channel's write waits for its window.
    m_localSocket->setReadBufferSize(ReadChunk);
    connect(m_localSocket, &QAbstractSocket::stateChanged, this, &SshClient::socketStateChanged);
    connect(m_localSocket, &QIODevice::readyRead, this, &SshClient::readLocalSocket);
    connect(m_localSocket, &QIODevice::bytesWritten, this, &SshClient::localSocketWritten);

    m_sessionNotifier = new QSocketNotifier(lazyssh::ssh_get_fd(m_session.get()), QSocketNotifier::Read, this);
    connect(m_sessionNotifier, &QSocketNotifier::activated, this, &SshClient::processSession);

    m_pollTimer = new QTimer(this);
    connect(m_pollTimer, &QTimer::timeout, this, &SshClient::processSession);
    m_pollTimer->start(PollInterval);

    emit sessionStateChanged(SessionForwarding);
    // Opening the channel may have read the device's first bytes already.
    processSession();
}

bool SshClient::openForwardChannel()
{
    if (!m_session || m_channel)
        return false;
    m_channel.reset(lazyssh::ssh_channel_new(m_session.get()));
    if (!m_channel)
        return false;
    const QByteArray sourceHost = listenAddress.toString().toLatin1();
    if (lazyssh::ssh_channel_open_forward(
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
    // Either may be the sender of the running slot.
    m_pollTimer->disconnect();
    m_pollTimer->stop();
    m_pollTimer->deleteLater();
    m_pollTimer = nullptr;
    m_sessionNotifier->disconnect();
    m_sessionNotifier->setEnabled(false);
    m_sessionNotifier->deleteLater();
    m_sessionNotifier = nullptr;

    // What came from the device is written out before the close, so the socket goes once it is closed.
    QTcpSocket *socket = m_localSocket;
    m_localSocket = nullptr;
    socket->disconnect(this);
    connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState)
        socket->deleteLater();
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
    const int written
        = lazyssh::ssh_channel_write(m_channel.get(), data.constData(), static_cast<uint32_t>(data.size()));
    if (written < data.size()) {
        endForwarding();
        return;
    }
    // While writing, libssh reads what the server sent meanwhile: the session's socket will not announce it.
    processSession();
}

bool SshClient::processSession()
{
    if (!m_session || !m_localSocket || !m_channel || m_draining)
        return false;
    if (m_readBuffer.isEmpty())
        m_readBuffer.resize(ReadChunk);
    // Our own flushes announce bytesWritten, which must not start another drain inside this one; a failed flush
    // closes the local socket from inside (socketStateChanged), after which nothing here may go on.
    m_draining = true;
    bool moved = false;
    bool ended = false;
    while (m_localSocket) {
        if (m_localSocket->bytesToWrite() > LocalBacklogLimit) {
            m_localSocket->flush();
            if (!m_localSocket || m_localSocket->bytesToWrite() > LocalBacklogLimit)
                break;
        }
        // Whatever the channel still holds comes before its end.
        const int count = lazyssh::ssh_channel_read_nonblocking(m_channel.get(), m_readBuffer.data(), ReadChunk, 0);
        if (count > 0) {
            ended = m_localSocket->write(m_readBuffer.constData(), count) != count;
            if (ended)
                break;
            moved = true;
            continue;
        }
        ended = count < 0 || lazyssh::ssh_channel_is_closed(m_channel.get())
            || lazyssh::ssh_channel_is_eof(m_channel.get());
        break;
    }
    if (m_localSocket && !ended && m_localSocket->bytesToWrite() > 0)
        m_localSocket->flush();
    m_draining = false;
    if (moved)
        acknowledgeAtOnce(lazyssh::ssh_get_fd(m_session.get()));
    if (!m_localSocket)
        return false;
    if (ended) {
        // Closing writes out what was read first.
        endForwarding();
        return false;
    }
    // Behind: the socket's bytesWritten resumes reading (localSocketWritten).
    m_sessionNotifier->setEnabled(m_localSocket->bytesToWrite() <= LocalBacklogLimit);
    return moved;
}

void SshClient::localSocketWritten()
{
    if (m_draining || !m_localSocket || !m_sessionNotifier || m_sessionNotifier->isEnabled()
        || m_localSocket->bytesToWrite() > LocalBacklogLimit)
        return;
    m_sessionNotifier->setEnabled(true);
    processSession();
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
    lazyssh::ssh_execute_message_callbacks(m_session.get());
    return lazyssh::ssh_is_connected(m_session.get())
        && !(lazyssh::ssh_get_status(m_session.get()) & (SSH_CLOSED | SSH_CLOSED_ERROR));
}

void SshClient::dropDeadSession()
{
    if (!m_session)
        return;
    emit logMessage(QStringLiteral("SshClient::checkSession(session lost: %1)")
                        .arg(QString::fromLatin1(lazyssh::ssh_get_error(m_session.get()))));
    closeListener();
    closeLocalSocket();
    closeForwardChannel();
    stopCheckTimer();
    m_session.reset();
    emit sessionStateChanged(SessionFailed);
}
