#include "rpc/ccom.h"

#include "rpc/rpcvocabulary.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QUdpSocket>

namespace kra {

namespace {

// "200-unknown error" is the code that also stands for "no error text"; as a value it is still a refusal.
bool isErrorText(const std::string &value)
{
    return causeCodeFromText(value) != 200 || value == ERR_UNKNOWN_ERROR;
}

} // namespace

CCom::CCom(QObject *parent) : QObject(parent)
{
    m_connection.setHoldNotifications(true);
    connect(&m_connection, &RpcConnection::stateChanged, this, &CCom::stateChanged);
    connect(&m_connection, &RpcConnection::errorOccurred, this, &CCom::errorOccurred);
    connect(&m_connection, &RpcConnection::messageCompleted, this, &CCom::messageCompleted);
    connect(&m_connection, &RpcConnection::messageReceived, this, &CCom::messageReceived);
}

CCom::~CCom()
{
    m_connection.disconnect();
    if (m_connection.isActive()) {
        delete m_udpSocket;
        m_udpSocket = nullptr;
        m_connection.close();
    }
}

bool CCom::connectToDevice(const QString &host, quint16 tcpPort, quint16 udpPort)
{
    if (m_connection.isActive())
        return false;
    if (tcpPort == 0 || QHostAddress(host).protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    if (!m_udpSocket && udpPort != 0) {
        m_udpPort = udpPort;
        m_udpSocket = new QUdpSocket(this);
        m_udpSocket->bind(QHostAddress(QHostAddress::Any), udpPort, QUdpSocket::DefaultForPlatform);
        connect(m_udpSocket, &QUdpSocket::readyRead, this, &CCom::readPendingDatagrams);
    }
    m_host = host;
    m_tcpPort = tcpPort;
    m_connection.connectToHost(host, tcpPort);
    return true;
}

void CCom::disconnectFromDevice()
{
    if (!m_connection.isActive())
        return;
    if (m_udpSocket) {
        // This may run inside the socket's own readyRead (a receiver of a level notification): close it now, so
        // that the port is free for the next connection, and delete it once its signal has returned.
        m_udpSocket->disconnect(this);
        m_udpSocket->close();
        m_udpSocket->deleteLater();
        m_udpSocket = nullptr;
    }
    m_connection.close();
}

int CCom::sendMsg(const CMsg &request, int)
{
    if (!m_ready)
        return -1;
    return m_connection.send(RpcMessage::request(request)) ? 0 : -1;
}

int CCom::sendSyncMsg(const CMsg &request, CMsg &reply, int, int timeoutMs)
{
    if (!m_ready)
        return -1;
    const int seconds = timeoutMs > 999 ? timeoutMs / 1000 : 5;
    const RpcAsyncCall call = startCall(RpcMessage::request(request), seconds);
    if (call.error() != RpcConnection::NoError)
        return call.error();
    emit busyStateChanged(true);
    auto *watcher = new RpcAsyncCallWatcher(call, this);
    connect(watcher, &RpcAsyncCallWatcher::finished, this, &CCom::callCompleted);
    m_ready = false;
    m_waiting = true;
    // Timers, sockets, painting and posted events go on; mouse and keyboard input waits.
    while (m_waiting) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
        // When this wait runs inside a notification of the connection, the reply is only buffered.
        if (m_waiting)
            m_connection.readPending();
    }
    reply = m_lastReply;
    m_ready = true;
    emit busyStateChanged(false);
    emit sendSyncMsgCompleted();
    return m_lastError;
}

RpcAsyncCall CCom::startCall(const RpcMessage &request, int timeoutSeconds)
{
    return m_connection.call(request, timeoutSeconds);
}

void CCom::callCompleted(RpcAsyncCallWatcher *watcher)
{
    m_lastReply.clear(CMsg::None);
    m_errorParams.clear(CMsg::None);
    const RpcMessage outcome = watcher->message();
    if (outcome.kind() != RpcMessage::Reply) {
        m_lastError = outcome.aux();
    } else {
        const CMsg &body = outcome.body();
        const bool param = body.kind == CMsg::Param;
        for (const auto &[key, value] : body.params) {
            if (key == KEY_RETURN)
                continue;
            if (value.empty() || value == ERR_PARAMETER_NOT_SET)
                m_lastReply.setParam(key, EMPTY_WORD);
            else if (param && isErrorText(value))
                m_errorParams.setParam(key, value);
            else
                m_lastReply.setParam(key, value);
        }
        const std::string *result = body.param(KEY_RETURN);
        if (param) {
            if (!m_errorParams.params.empty()) {
                m_lastReply.setParam(KEY_RETURN, RET_PROGRESS);
                m_errorParams.setParam(KEY_RETURN, RET_ERROR);
            } else if (result && *result == RET_ERROR) {
                // Refused without naming what: an error still, never an "OK".
                m_lastReply.setParam(KEY_RETURN, RET_ERROR);
            } else {
                m_lastReply.setParam(KEY_RETURN, RET_OK);
            }
        } else {
            m_lastReply.setParam(KEY_RETURN, result && !result->empty() ? *result : RET_ERROR);
        }
        m_lastError = RpcConnection::NoError;
    }
    m_waiting = false;
    watcher->deleteLater();
}

int CCom::getErrorParams(CMsg &out, int)
{
    if (m_errorParams.params.empty())
        return -1;
    out = m_errorParams;
    return 0;
}

int CCom::initialize(const std::string &cat, const std::string &type)
{
    m_cat = cat;
    m_type = type;
    return 0;
}

int CCom::sendDbRequest(CMsg &request, CMsg &reply, int timeoutMs)
{
    if (m_cat.empty() || m_type.empty())
        return -1;
    request.setParam(KEY_TARGET, TGT_DB, CMsg::Keep);
    request.setParam(KEY_CAT, m_cat, CMsg::Keep);
    request.setParam(KEY_TYPE, m_type, CMsg::Keep);
    request.setParam(KEY_CONTROLLER_ID, m_type, CMsg::Keep);
    const int result = sendSyncMsg(request, reply, timeoutMs, timeoutMs);
    // An error reply brings the device's code, which is positive: a failure all the same.
    if (result > 0)
        return -1;
    if (result != RpcConnection::NoError)
        return result;
    const std::string *status = reply.param(KEY_RETURN);
    return !status || *status == RET_OK ? 0 : DbRefused;
}

int CCom::setParams(const std::map<std::string, std::string> &params, int timeoutMs)
{
    if (params.empty())
        return 0;
    CMsg request(CMsg::Param);
    request.params = params;
    CMsg reply;
    const int result = sendDbRequest(request, reply, timeoutMs);
    return result == DbRefused ? -1 : result;
}

int CCom::getParams(const std::vector<std::string> &names, std::map<std::string, std::string> &values, int timeoutMs)
{
    if (names.empty())
        return 0;
    CMsg request(CMsg::Param);
    for (const std::string &name : names)
        request.addGet(name);
    CMsg reply;
    const int result = sendDbRequest(request, reply, timeoutMs);
    if (result != RpcConnection::NoError && result != DbRefused)
        return result;
    // What the device did answer is kept, also when it refused part of it.
    reply.params.erase(KEY_RETURN);
    for (const auto &[key, value] : reply.params)
        values.try_emplace(key, value);
    return result == DbRefused ? -1 : 0;
}

void CCom::readPendingDatagrams()
{
    while (m_udpSocket && m_udpSocket->hasPendingDatagrams()) {
        const qint64 size = m_udpSocket->pendingDatagramSize();
        if (size < 0)
            break;
        QByteArray datagram(int(size), Qt::Uninitialized);
        const qint64 read = m_udpSocket->readDatagram(datagram.data(), datagram.size());
        if (read < 0)
            break;
        if (read == 0)
            continue;
        datagram.resize(int(read));
        const RpcMessage message = RpcConnection::decodeDatagram(datagram);
        if (message.kind() == RpcMessage::Notification && message.body().kind == CMsg::Event
            && message.body().value(KEY_EVENT_TYPE) == EVT_AUDIO_LEVELS)
            emit messageReceived(message);
    }
}

} // namespace kra
