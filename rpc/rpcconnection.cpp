#include "rpc/rpcconnection.h"

#include "rpc/rpcvocabulary.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QtEndian>

#include <cstring>

namespace {

const char frameMagic[8] = {'V', 'O', 'R', 'N', 'R', 'p', 'c', 'M'};
constexpr int tickMs = 1000;
constexpr int reconnectTicks = 10;

quint32 readWord(const char *at)
{
    return qFromLittleEndian<quint32>(at);
}

void writeHeader(char *out, quint32 total, quint32 id, qint32 kind, qint32 aux)
{
    std::memcpy(out, frameMagic, sizeof frameMagic);
    qToLittleEndian<quint32>(total, out + 8);
    qToLittleEndian<quint32>(id, out + 12);
    qToLittleEndian<quint32>(quint32(kind), out + 16);
    qToLittleEndian<quint32>(quint32(aux), out + 20);
}

// Header plus body in one block; empty when the body cannot be written.
QByteArray buildFrame(quint32 id, qint32 kind, qint32 aux, const kra::CMsg &body)
{
    std::string text;
    if (body.kind != kra::CMsg::None && kra::serializeBody(body, text) != 0)
        return QByteArray();
    QByteArray frame(RpcConnection::HeaderSize + int(text.size()), Qt::Uninitialized);
    writeHeader(frame.data(), quint32(frame.size()), id, kind, aux);
    std::memcpy(frame.data() + RpcConnection::HeaderSize, text.data(), text.size());
    return frame;
}

void registerMetaTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<RpcMessage>("RpcMessage");
        qRegisterMetaType<RpcConnection::ConnectionState>();
        qRegisterMetaType<RpcConnection::ConnectionError>();
        return true;
    }();
    Q_UNUSED(registered)
}

} // namespace

RpcConnection::RpcConnection(QObject *parent)
    : QObject(parent), m_address(QStringLiteral("0.0.0.0")), m_timer(new QTimer(this)), m_socket(new QTcpSocket(this))
{
    registerMetaTypes();
    m_socket->setReadBufferSize(MaxReadPerTurn);
    m_timer->setInterval(tickMs);
    // Queued, so that a receiver running an event loop is not inside the timer's own signal: Qt does not fire a
    // timer again until its slot returns, and calls would never time out meanwhile.
    connect(
        m_timer, &QTimer::timeout, this, [this] { timerEvent(); }, Qt::QueuedConnection);
    connect(m_socket, &QIODevice::readyRead, this, &RpcConnection::socketRead);
    connect(m_socket, &QAbstractSocket::connected, this, [this] { socketConnected(); });
    connect(m_socket, &QAbstractSocket::stateChanged, this,
        [this](QAbstractSocket::SocketState socketState) { socketChanged(socketState); });
    connect(m_socket, &QAbstractSocket::errorOccurred, this,
        [this](QAbstractSocket::SocketError error) { socketError(error); });
}

RpcConnection::~RpcConnection()
{
    m_socket->disconnect(this);
    m_timer->disconnect(this);
    if (m_active)
        close();
    clearDecoder();
    m_pending.clear();
    m_queue.clear();
}

RpcAsyncCall RpcConnection::call(const RpcMessage &request, int timeoutSeconds)
{
    // Ids run 1, 2, ... and wrap from the largest positive value to 0.
    quint32 id = quint32(m_lastId) + 1u;
    if (qint32(id) < 0)
        id = 0;
    m_lastId = int(id);

    RpcAsyncCall handle(id);
    if (m_state != ConnectedState) {
        handle.d->error = NotConnectedError;
        return handle;
    }
    if (request.kind() != RpcMessage::Request) {
        handle.d->error = NotRequestError;
        return handle;
    }
    const QByteArray frame = buildFrame(id, RpcMessage::Request, NoError, request.body());
    if (frame.isEmpty() || request.body().kind == kra::CMsg::None) {
        handle.d->error = EncodeError;
        return handle;
    }
    if (m_socket->write(frame) == -1) {
        handle.d->error = SocketError;
        return handle;
    }
    handle.setRequestType(request.body());
    handle.setTimeout(timeoutSeconds);
    m_pending.insert(id, handle);
    return handle;
}

RpcAsyncCall RpcConnection::registerCall(quint32 id, const kra::CMsg &request, int timeoutSeconds)
{
    RpcAsyncCall handle(id);
    handle.setRequestType(request);
    handle.setTimeout(timeoutSeconds);
    m_pending.insert(id, handle);
    return handle;
}

bool RpcConnection::send(const RpcMessage &message)
{
    if (m_state != ConnectedState || message.kind() == RpcMessage::None)
        return false;
    const QByteArray frame = encode(message);
    if (frame.isEmpty())
        return false;
    return m_socket->write(frame) != -1;
}

QByteArray RpcConnection::encode(const RpcMessage &message)
{
    if (message.kind() == RpcMessage::None)
        return QByteArray();
    return buildFrame(message.id(), message.kind(), message.aux(), message.body());
}

RpcMessage RpcConnection::decodeDatagram(const QByteArray &datagram)
{
    RpcMessage message;
    if (datagram.size() < HeaderSize || std::memcmp(datagram.constData(), frameMagic, sizeof frameMagic) != 0)
        return message;
    const char *header = datagram.constData();
    const quint32 total = readWord(header + 8);
    const qint32 kind = qint32(readWord(header + 16));
    // A datagram shorter than its own announcement is cut off: nothing in it can be trusted.
    if (total < quint32(HeaderSize) || total > quint32(datagram.size()) || kind < RpcMessage::Request
        || kind > RpcMessage::Notification)
        return message;
    message = RpcMessage(readWord(header + 12), qint32(readWord(header + 20)), kind, kra::CMsg());
    if (total > quint32(HeaderSize)) {
        kra::CMsg parsed;
        if (kra::parseBody(std::string_view(header + HeaderSize, total - HeaderSize), parsed) == 0)
            message.setBody(parsed);
    }
    return message;
}

void RpcConnection::cancelCall(RpcAsyncCall &call)
{
    if (call.d) {
        const auto it = m_pending.find(call.d->id);
        if (it != m_pending.end() && it->d == call.d) {
            const RpcAsyncCall held = *it;
            m_pending.erase(it);
            failCall(held, CancelledError);
        }
    }
    deliverQueuedMessages();
}

void RpcConnection::close()
{
    m_active = false;
    m_timer->stop();
    clearDecoder();
    m_queue.clear();
    cancelAllCalls();
    switch (m_socket->state()) {
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
        m_socket->abort();
        break;
    case QAbstractSocket::ConnectedState:
        m_socket->disconnectFromHost();
        break;
    default:
        break;
    }
}

RpcMessage RpcConnection::takeMessage()
{
    return m_queue.takeFirst();
}

void RpcConnection::setPeer(const QString &address, quint16 port)
{
    m_address = address;
    m_port = port;
}

void RpcConnection::setConnectionState(ConnectionState state)
{
    m_state = state;
    emit stateChanged(state);
}

void RpcConnection::timerEvent()
{
    QList<RpcAsyncCall> expired;
    for (auto it = m_pending.begin(); it != m_pending.end();) {
        if (!it->d) {
            it = m_pending.erase(it);
        } else if (it->isTimedOut()) {
            expired.append(*it);
            it = m_pending.erase(it);
        } else {
            ++it;
        }
    }
    for (const RpcAsyncCall &call : qAsConst(expired))
        failCall(call, TimeoutError);
    deliverQueuedMessages();
}

void RpcConnection::socketConnected()
{
    setConnectionState(ConnectedState);
}

void RpcConnection::socketChanged(QAbstractSocket::SocketState socketState)
{
    ConnectionState mapped = UnconnectedState;
    if (socketState == QAbstractSocket::HostLookupState || socketState == QAbstractSocket::ConnectingState)
        mapped = ConnectingState;
    else if (socketState == QAbstractSocket::ClosingState)
        mapped = ClosingState;
    // Connected maps to 0 too: the state becomes 3 only through socketConnected.
    if (mapped == m_state)
        return;
    setConnectionState(mapped);
    m_queue.clear();
    cancelAllCalls();
}

void RpcConnection::socketError(QAbstractSocket::SocketError socketError)
{
    logCritical("socketError", int(socketError));
    notifyErrorOccurred(SocketError);
}

void RpcConnection::socketRead()
{
    // Bytes that arrive while a receiver runs an event loop inside this slot get no readyRead of their own (Qt
    // does not emit it again before this slot returns): they are read here afterwards, or by readPending().
    qint64 budget = MaxReadPerTurn;
    while (budget > 0 && m_socket->bytesAvailable() > 0) {
        QByteArray data = m_socket->read(budget);
        if (!m_active)
            return; // bytes of a stream that was closed before this read came round
        budget -= data.size();
        m_decoder.input.push_back(std::move(data));
        const QPointer<RpcConnection> self(this);
        processInput();
        if (!self)
            return;
    }
    // A full socket buffer announces nothing more: the rest is read on a later turn, after other events.
    if (m_active && m_socket->bytesAvailable() > 0)
        scheduleRead();
}

void RpcConnection::scheduleRead()
{
    if (m_readScheduled)
        return;
    m_readScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_readScheduled = false;
            socketRead();
        },
        Qt::QueuedConnection);
}

void RpcConnection::readPending()
{
    socketRead();
}

void RpcConnection::clearDecoder()
{
    m_decoder.state = DecoderIdle;
    m_decoder.have = 0;
    m_decoder.need = 0;
    std::string().swap(m_decoder.body);
    m_decoder.input.clear();
    m_decoder.inputPos = 0;
}

RpcConnection::DecoderState RpcConnection::decodeFrames(const char *data, qint64 size)
{
    if (size <= 0 || m_decoder.state < DecoderIdle)
        return m_decoder.state;
    // The decoder takes every byte before it returns (dispatched or copied into the frame it assembles), so the
    // caller's bytes need not be copied.
    m_decoder.input.push_back(QByteArray::fromRawData(data, int(size)));
    return processInput();
}

RpcConnection::DecoderState RpcConnection::processInput()
{
    Decoder &dec = m_decoder;
    const QPointer<RpcConnection> self(this);
    // Input waits in one queue that every (nested) call consumes from the front: a receiver that runs an event loop
    // gets the frames that follow its own, in order, and the outer call goes on with whatever is left.
    while (!dec.input.empty()) {
        if (dec.state < DecoderIdle) {
            dec.input.clear();
            dec.inputPos = 0;
            break;
        }
        const QByteArray chunk = dec.input.front(); // shared: keeps the bytes alive while a frame of it is handled
        const char *data = chunk.constData() + dec.inputPos;
        const qint64 size = chunk.size() - dec.inputPos;
        const auto consume = [&dec, &chunk](qint64 n) {
            dec.inputPos += int(n);
            if (dec.inputPos >= chunk.size()) {
                dec.input.pop_front();
                dec.inputPos = 0;
            }
        };

        char header[HeaderSize];
        std::string assembled;
        std::string_view body;
        if (dec.state == DecoderIdle && size >= HeaderSize && std::memcmp(data, frameMagic, sizeof frameMagic) == 0
            && readWord(data + 8) <= MaxFrameSize && qint64(readWord(data + 8)) <= size) {
            // The whole frame is in this chunk: dispatch it in place, without assembling a copy.
            const quint32 length = qMax<quint32>(readWord(data + 8), HeaderSize);
            std::memcpy(header, data, HeaderSize);
            body = std::string_view(data + HeaderSize, length - HeaderSize);
            consume(length);
        } else {
            if (dec.state == DecoderIdle) {
                dec.have = 0;
                dec.need = HeaderSize;
                dec.state = DecoderHeader;
            }
            if (dec.state == DecoderHeader) {
                const quint32 n = quint32(qMin<qint64>(dec.need - dec.have, size));
                std::memcpy(dec.header + dec.have, data, n);
                dec.have += n;
                consume(n);
                if (dec.have < dec.need)
                    continue;
                if (std::memcmp(dec.header, frameMagic, sizeof frameMagic) != 0) {
                    // Deaf from here on: without the magic there is no telling where the next frame starts.
                    dec.state = DecoderBadMagic;
                    dec.have = dec.need = 0;
                    notifyErrorOccurred(DecoderError);
                    if (!self)
                        return DecoderBadMagic;
                    continue;
                }
                const quint32 total = readWord(dec.header + 8);
                if (total > quint32(HeaderSize)) {
                    if (total > MaxFrameSize) {
                        dec.state = DecoderNoMemory;
                        dec.have = dec.need = 0;
                        notifyErrorOccurred(DecoderError);
                        if (!self)
                            return DecoderNoMemory;
                        continue;
                    }
                    dec.need = total;
                    dec.state = DecoderBody;
                    dec.body.clear();
                    dec.body.reserve(total - HeaderSize);
                    continue;
                }
            } else {
                const quint32 n = quint32(qMin<qint64>(dec.need - dec.have, size));
                dec.body.append(data, n);
                dec.have += n;
                consume(n);
                if (dec.have < dec.need)
                    continue;
            }
            // A whole frame: hand it over with the decoder already idle, since receivers may run event loops.
            std::memcpy(header, dec.header, HeaderSize);
            assembled.swap(dec.body);
            body = assembled;
            dec.state = DecoderIdle;
            dec.have = dec.need = 0;
        }
        dispatchFrame(header, body);
        if (!self)
            return DecoderIdle;
    }
    return dec.state;
}

void RpcConnection::dispatchFrame(const char *header, std::string_view body)
{
    const QPointer<RpcConnection> self(this);
    const quint32 total = readWord(header + 8);
    const quint32 id = readWord(header + 12);
    const qint32 kind = qint32(readWord(header + 16));
    const bool hasBody = total > quint32(HeaderSize);
    switch (kind) {
    case RpcMessage::Request:
    case RpcMessage::Notification: {
        RpcMessage message(id, NoError, kind, kra::CMsg());
        if (!hasBody || kra::parseBody(body, message.body()) != 0) {
            message.body().clear(kra::CMsg::None);
            notifyErrorOccurred(BodyError);
        } else if (kind == RpcMessage::Notification && m_holdNotifications && !m_pending.isEmpty()) {
            // Said once for each time the queue overflows, however long the storm goes on.
            const int dropped = m_queue.append(std::move(message));
            if (dropped > 0 && m_queue.dropped() == dropped)
                notifyErrorOccurred(OverloadError);
        } else {
            emit messageReceived(message);
        }
        break;
    }
    case RpcMessage::ErrorReply: {
        const auto it = m_pending.find(id);
        if (it == m_pending.end())
            break;
        const RpcAsyncCall call = *it;
        m_pending.erase(it);
        if (!call.d)
            notifyErrorOccurred(NoCallError);
        else
            failCall(call, qint32(readWord(header + 20))); // the peer's code, whatever it is
        break;
    }
    case RpcMessage::Reply:
        dispatchReply(id, hasBody, body);
        break;
    default:
        notifyErrorOccurred(FrameKindError);
        break;
    }
    if (self)
        deliverQueuedMessages();
}

void RpcConnection::dispatchReply(quint32 id, bool hasBody, std::string_view body)
{
    const auto it = m_pending.find(id);
    if (it == m_pending.end())
        return; // unknown, or late after a time-out
    RpcAsyncCall call = *it;
    if (!call.d) {
        m_pending.erase(it);
        notifyErrorOccurred(NoCallError);
        return;
    }
    // Counted before parsing: a peer that never ends its parts would otherwise grow the merged reply until the
    // call's time-out.
    call.d->replyBytes += qint64(body.size());
    if (call.d->replyBytes > MaxReplySize) {
        m_pending.erase(it);
        logCritical("dispatchReply", ReplyTooLargeError);
        failCall(call, ReplyTooLargeError);
        return;
    }
    kra::CMsg reply;
    if (!hasBody || kra::parseBody(body, reply) != 0) {
        m_pending.erase(it);
        failCall(call, BodyError);
        notifyErrorOccurred(BodyError);
        return;
    }
    const std::string result = reply.value(kra::KEY_RETURN);
    kra::CMsg::MergeMode mode = kra::CMsg::Keep;
    char separator = ',';
    if (call.d->requestType == RpcCallState::ListCall) {
        mode = kra::CMsg::Append;
        const std::string *format = reply.param(kra::KEY_RETURN_FMT);
        if (format && *format == kra::FMT_EXT)
            separator = kra::EXT_LIST_SEPARATOR;
    }
    kra::CMsg &accumulated = call.d->reply;
    if (result == kra::RET_PROGRESS) {
        reply.params.erase(kra::KEY_RETURN);
        reply.params.erase(kra::KEY_RETURN_FMT);
        mergeReply(accumulated, reply, mode, separator);
        return;
    }
    if (result == kra::RET_OK) {
        m_pending.erase(it);
        accumulated.kind = reply.kind;
        mergeReply(accumulated, reply, mode, separator);
        finishCall(call);
        return;
    }
    if (result == kra::RET_ERROR) {
        m_pending.erase(it);
        accumulated.kind = reply.kind;
        reply.params.erase(kra::KEY_RETURN);
        // Only "not set" answers make an error reply a success; a bare error stays an error.
        bool realError = reply.params.empty();
        for (const auto &[key, value] : reply.params) {
            if (value == kra::ERR_PARAMETER_NOT_SET) {
                accumulated.setParam(key, kra::EMPTY_WORD, kra::CMsg::Keep);
            } else {
                accumulated.setParam(key, value, kra::CMsg::Keep);
                realError = true;
            }
        }
        accumulated.setParam(kra::KEY_RETURN, realError ? kra::RET_ERROR : kra::RET_OK, kra::CMsg::Overwrite);
        finishCall(call);
        return;
    }
    m_pending.erase(it);
    failCall(call, BodyError);
    notifyErrorOccurred(BodyError);
}

void RpcConnection::mergeReply(kra::CMsg &into, kra::CMsg &part, kra::CMsg::MergeMode mode, char separator)
{
    // Into an empty body every mode inserts: take the parsed map whole instead of copying large values.
    if (into.params.empty())
        into.params.swap(part.params);
    else
        into.merge(part, mode, separator);
}

void RpcConnection::finishCall(RpcAsyncCall call)
{
    call.d->state = RpcCallState::Finished;
    call.d->error = NoError;
    completeCall(call);
}

void RpcConnection::failCall(RpcAsyncCall call, int error)
{
    call.d->state = RpcCallState::Failed;
    call.d->error = error;
    completeCall(call);
}

void RpcConnection::completeCall(RpcAsyncCall &call)
{
    // The handle is held here, so watchers may release theirs while the helper is still signalling.
    if (call.d->helper)
        emit call.d->helper->finished();
    emit messageCompleted(call.message());
}

void RpcConnection::cancelAllCalls()
{
    QMap<quint32, RpcAsyncCall> cancelled;
    cancelled.swap(m_pending);
    for (const RpcAsyncCall &call : qAsConst(cancelled)) {
        if (call.d)
            failCall(call, CancelledError);
    }
    deliverQueuedMessages();
}

void RpcConnection::deliverQueuedMessages()
{
    if (!m_pending.isEmpty())
        return;
    if (m_queue.dropped() > 0) {
        qWarning("RpcConnection::deliverQueuedMessages(address=%s:%d, dropped=%lld)", qPrintable(m_address), m_port,
            m_queue.dropped());
    }
    while (!m_queue.isEmpty()) {
        const RpcMessage message = m_queue.takeFirst();
        emit messageReceived(message);
    }
}

void RpcConnection::notifyErrorOccurred(ConnectionError error)
{
    logCritical("notifyErrorOccurred", error);
    emit errorOccurred(error);
}

void RpcConnection::logCritical(const char *function, int error) const
{
    const QString line = QStringLiteral("RpcConnection::%1(address=%2:%3, error=%4)")
                             .arg(QLatin1String(function), m_address)
                             .arg(m_port)
                             .arg(error);
    qCritical("%s", qPrintable(line));
}

RpcClientConnection::RpcClientConnection(QObject *parent) : RpcConnection(parent) { }

void RpcClientConnection::connectToHost(const QString &address, quint16 port)
{
    if (isActive())
        return;
    setActive(true);
    m_countdown = -1;
    setPeer(address, port);
    clearDecoder();
    timer()->start();
    startConnecting();
}

void RpcClientConnection::startConnecting()
{
    socket()->connectToHost(QHostAddress(address()), port(), QIODevice::ReadWrite);
}

void RpcClientConnection::timerEvent()
{
    RpcConnection::timerEvent();
    if (isActive() && state() == UnconnectedState && m_countdown > 0) {
        if (--m_countdown == 0) {
            clearDecoder();
            startConnecting();
        }
    }
}

void RpcClientConnection::socketConnected()
{
    setConnectionState(ConnectedState);
    m_countdown = -1;
}

void RpcClientConnection::socketChanged(QAbstractSocket::SocketState socketState)
{
    RpcConnection::socketChanged(socketState);
    if (isActive() && state() == UnconnectedState)
        m_countdown = reconnectTicks;
}

RpcServerConnection::RpcServerConnection(QObject *parent) : RpcConnection(parent) { }

bool RpcServerConnection::setSocketDescriptor(qintptr descriptor)
{
    if (isActive())
        return true;
    clearDecoder();
    timer()->start();
    const bool ok = socket()->setSocketDescriptor(descriptor, QAbstractSocket::ConnectedState, QIODevice::ReadWrite);
    setActive(ok);
    if (ok) {
        setPeer(socket()->peerAddress().toString(), socket()->peerPort());
        socketConnected();
    }
    return ok;
}
