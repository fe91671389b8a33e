#include "tests/peers/tlsrelay.h"

#include <QFile>
#include <QMutexLocker>
#include <QProcess>
#include <QSslSocket>
#include <QTimer>
#include <QUrl>

#include <openssl/crypto.h>

#include <unistd.h>

namespace {

// Anything larger is not a login request.
constexpr int RequestLimit = 64 * 1024;
constexpr int HugeFillerSize = 1024 * 1024;
// Long enough that the close alert reaches the client apart from the reply.
constexpr int CloseAlertPauseMsecs = 200;

int contentLength(const QByteArray &header)
{
    const QList<QByteArray> lines = header.split('\n');
    for (const QByteArray &line : lines) {
        const int colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().toLower() == "content-length") {
            bool ok = false;
            const int length = line.mid(colon + 1).trimmed().toInt(&ok);
            return ok && length >= 0 && length <= RequestLimit ? length : -1;
        }
    }
    return -1;
}

bool isDigest(const QByteArray &text)
{
    if (text.size() != 128)
        return false;
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

QByteArray reply(const QByteArray &status, const QByteArray &lastLine, const QByteArray &lineEnd = "\n")
{
    return "HTTP/1.1 " + status + lineEnd + "Content-Type: text/plain" + lineEnd + "Connection: close" + lineEnd
        + lineEnd + lastLine + lineEnd;
}

} // namespace

const QString TlsRelayPeer::IssuerCommonName = QStringLiteral("Quorvane Test Relay");
const QString TlsRelayPeer::IssuerOrganization = QStringLiteral("MyQuorvaneRE Tests");

TlsRelayPeer::TlsRelayPeer(QObject *parent) : QTcpServer(parent) { }

TlsRelayPeer::~TlsRelayPeer()
{
    for (const int descriptor : qAsConst(m_heldDescriptors))
        ::close(descriptor);
}

bool TlsRelayPeer::generateCertificate(const QString &altNames)
{
    auto directory = std::make_unique<QTemporaryDir>();
    if (!directory->isValid()) {
        QMutexLocker lock(&m_mutex);
        m_errorText = QStringLiteral("no temporary directory: ") + directory->errorString();
        return false;
    }
    const QString keyPath = directory->filePath(QStringLiteral("relay.key"));
    const QString certificatePath = directory->filePath(QStringLiteral("relay.crt"));
    QProcess openssl;
    openssl.setProcessChannelMode(QProcess::MergedChannels);
    openssl.start(QStringLiteral("openssl"),
        {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes", "-keyout", keyPath, "-out",
            certificatePath, "-days", "2", "-subj",
            QStringLiteral("/CN=%1/O=%2").arg(IssuerCommonName, IssuerOrganization), "-addext",
            QStringLiteral("subjectAltName=") + altNames});
    const bool finished = openssl.waitForFinished(60000);
    if (!finished || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
        QMutexLocker lock(&m_mutex);
        m_errorText = QStringLiteral("openssl failed: ") + openssl.errorString() + QLatin1Char(' ')
            + QString::fromLocal8Bit(openssl.readAll());
        return false;
    }

    const QList<QSslCertificate> certificates = QSslCertificate::fromPath(certificatePath, QSsl::Pem);
    QFile keyFile(keyPath);
    const QSslKey key = keyFile.open(QIODevice::ReadOnly) ? QSslKey(keyFile.readAll(), QSsl::Ec) : QSslKey();
    QMutexLocker lock(&m_mutex);
    if (certificates.size() != 1 || key.isNull()) {
        m_errorText = QStringLiteral("the certificate made by openssl does not load");
        return false;
    }
    m_directory = std::move(directory);
    m_certificate = certificates.first();
    m_key = key;
    return true;
}

bool TlsRelayPeer::hasCertificate() const
{
    QMutexLocker lock(&m_mutex);
    return !m_certificate.isNull();
}

QSslCertificate TlsRelayPeer::certificate() const
{
    QMutexLocker lock(&m_mutex);
    return m_certificate;
}

bool TlsRelayPeer::start()
{
    if (!hasCertificate() && !generateCertificate())
        return false;
    if (!listen(QHostAddress::LocalHost, 0)) {
        QMutexLocker lock(&m_mutex);
        m_errorText = errorString();
        return false;
    }
    return true;
}

QString TlsRelayPeer::errorText() const
{
    QMutexLocker lock(&m_mutex);
    return m_errorText;
}

void TlsRelayPeer::addDevice(const QByteArray &uid, const QByteArray &upw)
{
    QMutexLocker lock(&m_mutex);
    m_devices.insert(uid, upw);
}

void TlsRelayPeer::setGrant(const QString &user, const QString &password, const QString &mac)
{
    QMutexLocker lock(&m_mutex);
    m_user = user;
    m_password = password;
    m_mac = mac;
}

void TlsRelayPeer::setMode(Mode mode)
{
    QMutexLocker lock(&m_mutex);
    m_mode = mode;
}

QList<QByteArray> TlsRelayPeer::requests() const
{
    QMutexLocker lock(&m_mutex);
    return m_requests;
}

int TlsRelayPeer::connectionCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_connections;
}

void TlsRelayPeer::incomingConnection(qintptr descriptor)
{
    auto *socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    {
        QMutexLocker lock(&m_mutex);
        ++m_connections;
        socket->setLocalCertificate(m_certificate);
        socket->setPrivateKey(m_key);
    }
    socket->setPeerVerifyMode(QSslSocket::VerifyNone);
    connect(socket, &QSslSocket::readyRead, this, [this, socket] { readRequest(socket); });
    connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QObject::destroyed, this, [this, socket] { m_pending.remove(socket); });
    socket->startServerEncryption();
}

void TlsRelayPeer::readRequest(QSslSocket *socket)
{
    QByteArray &buffer = m_pending[socket];
    buffer.append(socket->readAll());
    const int headerEnd = buffer.indexOf("\r\n\r\n");
    int length = 0;
    if (headerEnd >= 0) {
        length = contentLength(buffer.left(headerEnd));
        if (length >= 0 && buffer.size() < headerEnd + 4 + length)
            return;
    } else if (buffer.size() <= RequestLimit) {
        return;
    }

    // One request per connection: whatever follows it is not read.
    disconnect(socket, &QSslSocket::readyRead, this, nullptr);
    const QByteArray request = length >= 0 && headerEnd >= 0 ? buffer.left(headerEnd + 4 + length) : buffer;
    m_pending.remove(socket);
    {
        QMutexLocker lock(&m_mutex);
        m_requests.append(request);
    }
    emit requestReceived();
    answer(socket, request);
}

QByteArray TlsRelayPeer::grantLine(bool encoded) const
{
    const QString fields[]
        = {QStringLiteral("u=") + m_user, QStringLiteral("p=") + m_password, QStringLiteral("m=") + m_mac};
    QByteArrayList parts;
    for (const QString &field : fields)
        parts.append(encoded ? QUrl::toPercentEncoding(field) : field.toUtf8());
    return parts.join('&');
}

void TlsRelayPeer::answer(QSslSocket *socket, const QByteArray &request)
{
    QMutexLocker lock(&m_mutex);
    const Mode mode = m_mode;

    if (mode == CloseEarly) {
        lock.unlock();
        socket->disconnectFromHost();
        return;
    }

    const int headerEnd = request.indexOf("\r\n\r\n");
    const QList<QByteArray> fields = headerEnd >= 0 ? request.mid(headerEnd + 4).split('&') : QList<QByteArray>();
    const bool readable = fields.size() == 2 && fields.at(0).startsWith("uid=") && fields.at(1).startsWith("upw=")
        && isDigest(fields.at(0).mid(4)) && isDigest(fields.at(1).mid(4)) && request.startsWith("POST ");
    const auto device = readable ? m_devices.constFind(fields.at(0).mid(4)) : m_devices.constEnd();

    QByteArray response;
    bool close = true;
    bool holdTcp = false;
    if (mode == UnknownDevice) {
        response = reply("404 Not Found", "unknown device");
    } else if (!readable) {
        response = reply("400 Bad Request", "bad request");
    } else if (device == m_devices.constEnd()) {
        response = reply("404 Not Found", "unknown device");
    } else if (device.value() != fields.at(1).mid(4)) {
        response = reply("403 Forbidden", "wrong password");
    } else {
        const QByteArray user = m_user.toUtf8();
        const QByteArray password = m_password.toUtf8();
        switch (mode) {
        case OneLineReply:
            response = "HTTP/1.1 200 OK\n";
            break;
        case MissingMac:
            response = reply("200 OK", "u=" + user + "&p=" + password);
            break;
        case ShortMac:
            response = reply("200 OK", "u=" + user + "&p=" + password + "&m=12-34-5");
            break;
        case RepeatedFields:
            response = reply("200 OK", "u=" + user + "&u=" + user + "&p=" + password);
            break;
        case CrlfLineEnds:
            response = reply("200 OK", grantLine(false), "\r\n");
            break;
        case PercentEncoded:
            response = reply("200 OK", grantLine(true));
            break;
        case HoldOpen:
            response = reply("200 OK", grantLine(false));
            close = false;
            break;
        case NeverEnds: {
            response = "HTTP/1.1 200 OK\n\n";
            close = false;
            auto *trickle = new QTimer(socket);
            connect(trickle, &QTimer::timeout, socket, [socket] { socket->write("x"); });
            trickle->start(20);
            break;
        }
        case CloseTlsOnly:
        case CloseTlsLater:
            response = reply("200 OK", grantLine(false));
            holdTcp = true;
            break;
        case HugeReply:
            response = reply("200 OK", QByteArray(HugeFillerSize, 'x') + '&' + grantLine(false));
            break;
        default:
            response = reply("200 OK", grantLine(false));
            break;
        }
    }
    lock.unlock();
    if (holdTcp) {
        // The socket's own close sends the close alert and closes its descriptor; this duplicate keeps the
        // connection open at the TCP level, as a relay does that waits for the client's alert.
        const int held = ::dup(int(socket->socketDescriptor()));
        if (held >= 0)
            m_heldDescriptors.append(held);
    }
    socket->write(response);
    if (holdTcp && mode == CloseTlsLater)
        QTimer::singleShot(CloseAlertPauseMsecs, socket, [socket] { socket->disconnectFromHost(); });
    else if (close)
        socket->disconnectFromHost();
}

TlsRelayPeerThread::TlsRelayPeerThread() : m_peer(new TlsRelayPeer) { }

TlsRelayPeerThread::~TlsRelayPeerThread()
{
    if (m_thread.isRunning()) {
        // OpenSSL frees a thread's state (random generators, error queue) when the thread ends, which may be after
        // wait() has returned and the process has gone on to exit: free it here.
        QMetaObject::invokeMethod(
            m_peer,
            [this] {
                delete m_peer;
                OPENSSL_thread_stop();
            },
            Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    } else {
        delete m_peer;
    }
}

bool TlsRelayPeerThread::start()
{
    if (!m_peer->hasCertificate() && !m_peer->generateCertificate())
        return false;
    m_peer->moveToThread(&m_thread);
    m_thread.start();
    bool listening = false;
    QMetaObject::invokeMethod(
        m_peer,
        [this, &listening] {
            listening = m_peer->start();
            m_port = m_peer->serverPort();
        },
        Qt::BlockingQueuedConnection);
    return listening;
}
