#include "rpc/rpcasynccall.h"

#include "rpc/rpcconnection.h"

#include <QPointer>

RpcCallState::RpcCallState(quint32 callId) : id(callId) { }

RpcCallState::~RpcCallState()
{
    delete helper;
}

RpcAsyncCall::RpcAsyncCall(quint32 id) : d(new RpcCallState(id)) { }

bool RpcAsyncCall::isFinished() const
{
    return !d || d->state != RpcCallState::Pending;
}

bool RpcAsyncCall::isSucceeded() const
{
    return d && d->state == RpcCallState::Finished;
}

bool RpcAsyncCall::isFailed() const
{
    return !d || d->state == RpcCallState::Failed;
}

int RpcAsyncCall::error() const
{
    return d ? d->error : int(RpcConnection::NoCallError);
}

quint32 RpcAsyncCall::id() const
{
    return d ? d->id : RpcMessage::NoId;
}

RpcMessage RpcAsyncCall::message() const
{
    if (!d)
        return RpcMessage(RpcMessage::NoId, RpcConnection::NoCallError, RpcMessage::ErrorReply, kra::CMsg());
    switch (d->state) {
    case RpcCallState::Finished:
        return RpcMessage(d->id, RpcConnection::NoError, RpcMessage::Reply, d->reply);
    case RpcCallState::Failed:
        return RpcMessage(d->id, d->error, RpcMessage::ErrorReply, kra::CMsg());
    case RpcCallState::Pending:
        break;
    }
    return RpcMessage(d->id, RpcConnection::NoCallError, RpcMessage::ErrorReply, kra::CMsg());
}

QString RpcAsyncCall::errorString() const
{
    return QStringLiteral("errorCode ") + QString::number(error());
}

qint64 RpcAsyncCall::timeout() const
{
    return d ? d->timeout : -1;
}

void RpcAsyncCall::setTimeout(int seconds)
{
    if (!d || seconds <= 0)
        return;
    d->timeout = qint64(seconds) * 1000;
    d->clock.start();
}

bool RpcAsyncCall::isTimedOut() const
{
    if (!d || d->timeout <= 0)
        return false;
    return d->clock.elapsed() > d->timeout;
}

void RpcAsyncCall::setRequestType(const kra::CMsg &request)
{
    if (d)
        d->requestType = requestTypeOf(request);
}

RpcCallState::RequestType RpcAsyncCall::requestTypeOf(const kra::CMsg &request)
{
    if (request.kind == kra::CMsg::Do)
        return RpcCallState::DoCall;
    if (request.kind != kra::CMsg::Param)
        return RpcCallState::OtherCall;
    switch (request.requestType()) {
    case kra::CMsg::ListRequest:
        return RpcCallState::ListCall;
    case kra::CMsg::GetRequest:
        return RpcCallState::GetCall;
    case kra::CMsg::SetRequest:
        return RpcCallState::SetCall;
    case kra::CMsg::AddressedRequest:
        break;
    }
    return RpcCallState::OtherCall;
}

RpcAsyncCall RpcAsyncCall::fromError(int error)
{
    RpcAsyncCall call(RpcMessage::NoId);
    call.d->state = RpcCallState::Failed;
    call.d->error = error;
    return call;
}

RpcAsyncCall RpcAsyncCall::fromReply(const kra::CMsg &body)
{
    RpcAsyncCall call(RpcMessage::NoId);
    call.d->state = RpcCallState::Finished;
    call.d->reply = body;
    return call;
}

RpcAsyncCallWatcher::RpcAsyncCallWatcher(const RpcAsyncCall &call, QObject *parent)
    : QObject(parent), RpcAsyncCall(call)
{
    if (d) {
        if (!d->helper)
            d->helper = new RpcAsyncCallWatcherHelper;
        connect(d->helper, &RpcAsyncCallWatcherHelper::finished, this, &RpcAsyncCallWatcher::helperFinished);
    }
    if (isFinished())
        QMetaObject::invokeMethod(this, &RpcAsyncCallWatcher::helperFinished, Qt::QueuedConnection);
}

RpcAsyncCallWatcher::~RpcAsyncCallWatcher() = default;

void RpcAsyncCallWatcher::helperFinished()
{
    emit finished(this);
}

RpcDelegateCall::RpcDelegateCall(int id, QObject *parent) : QObject(parent), RpcAsyncCall(quint32(id)) { }

RpcDelegateCall::RpcDelegateCall(int id, const kra::CMsg &body, QObject *parent)
    : QObject(parent), RpcAsyncCall(quint32(id)), m_body(body)
{
}

RpcDelegateCall::RpcDelegateCall(const RpcMessage &message, QObject *parent)
    : QObject(parent), RpcAsyncCall(message.id()), m_body(message.body())
{
}

void RpcDelegateCall::start(RpcConnection *connection)
{
    if (!d) {
        signalFinished();
        return;
    }
    if (!connection) {
        fail(RpcConnection::NoCallError);
        return;
    }
    d->connection = connection;
    execute(connection);
}

void RpcDelegateCall::execute(RpcConnection *connection)
{
    kra::CMsg body;
    int timeoutSeconds = -1;
    if (!prepareRequest(body, timeoutSeconds)) {
        fail(RpcConnection::NoCallError);
        return;
    }
    const RpcAsyncCall step = connection->call(RpcMessage::request(body), timeoutSeconds);
    if (step.error() != RpcConnection::NoError) {
        fail(step.error());
        return;
    }
    auto *watcher = new RpcAsyncCallWatcher(step, this);
    connect(watcher, &RpcAsyncCallWatcher::finished, this, &RpcDelegateCall::callCompleted);
}

void RpcDelegateCall::fail(int error)
{
    d->state = RpcCallState::Failed;
    d->error = error;
    signalFinished();
}

void RpcDelegateCall::abort(int error)
{
    if (d->state == RpcCallState::Pending)
        fail(error);
}

void RpcDelegateCall::succeed(const kra::CMsg &reply)
{
    d->state = RpcCallState::Finished;
    d->error = RpcConnection::NoError;
    d->reply = reply;
}

void RpcDelegateCall::callCompleted(RpcAsyncCallWatcher *watcher)
{
    handleReply(watcher->message());
    watcher->deleteLater();
    if (d->state == RpcCallState::Pending && d->connection)
        execute(d->connection);
    else if (d->state != RpcCallState::Pending)
        signalFinished();
}

void RpcDelegateCall::signalFinished()
{
    // A receiver may delete the delegate.
    const QPointer<RpcDelegateCall> self(this);
    if (d && d->helper)
        emit d->helper->finished();
    if (self)
        emit finished(this);
}
