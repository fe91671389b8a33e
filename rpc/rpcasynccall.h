#pragma once

// Handles to outstanding calls, watchers that signal their end, and the multi-step delegate call.

#include "rpc/kramsg.h"
#include "rpc/rpcmessage.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSharedData>
#include <QString>

class RpcConnection;
class RpcAsyncCallWatcherHelper;

// Shared by every handle of one call; the last handle frees it (and the watchers' helper with it).
class RpcCallState : public QSharedData
{
public:
    enum State { Pending = 0, Finished = 2, Failed = 3 };
    // Decides how partial replies are merged: the parts of a LIST are joined, of anything else the first wins.
    enum RequestType { OtherCall = 0, DoCall = 1, ListCall = 2, GetCall = 3, SetCall = 4 };

    explicit RpcCallState(quint32 id);
    ~RpcCallState();
    RpcCallState(const RpcCallState &) = delete;
    RpcCallState &operator=(const RpcCallState &) = delete;

    quint32 id;
    RpcConnection *connection = nullptr;
    RpcAsyncCallWatcherHelper *helper = nullptr;
    RequestType requestType = OtherCall;
    State state = Pending;
    kra::CMsg reply;
    // Body bytes of the replies received so far.
    qint64 replyBytes = 0;
    int error = 0; // RpcConnection::NoError (that header includes this one)
    qint64 timeout = -1;
    QElapsedTimer clock;
};

class RpcAsyncCall
{
public:
    RpcAsyncCall() = default;

    bool isFinished() const;
    bool isSucceeded() const;
    bool isFailed() const;
    int error() const;
    quint32 id() const;
    // A reply with the accumulated body once finished, else an error reply carrying the error.
    RpcMessage message() const;
    QString errorString() const;
    // Milliseconds; -1 when the call never times out.
    qint64 timeout() const;
    void setTimeout(int seconds);
    bool isTimedOut() const;
    void setRequestType(const kra::CMsg &request);

    static RpcAsyncCall fromError(int error);
    static RpcAsyncCall fromReply(const kra::CMsg &body);

    static RpcCallState::RequestType requestTypeOf(const kra::CMsg &request);

protected:
    explicit RpcAsyncCall(quint32 id);

    QExplicitlySharedDataPointer<RpcCallState> d;

    friend class RpcConnection;
    friend class RpcAsyncCallWatcher;
};

class RpcAsyncCallWatcherHelper final : public QObject
{
    Q_OBJECT
signals:
    void finished();
};

class RpcAsyncCallWatcher : public QObject, public RpcAsyncCall
{
    Q_OBJECT
public:
    explicit RpcAsyncCallWatcher(const RpcAsyncCall &call, QObject *parent = nullptr);
    ~RpcAsyncCallWatcher() override;

signals:
    void finished(RpcAsyncCallWatcher *self);

private slots:
    void helperFinished();
};

// A call of several requests: prepareRequest builds each step, handleReply takes its answer and either
// ends the delegate (fail, or setting a final state) or leaves it pending for the next step.
class RpcDelegateCall : public QObject, public RpcAsyncCall
{
    Q_OBJECT
public:
    explicit RpcDelegateCall(int id, QObject *parent = nullptr);
    RpcDelegateCall(int id, const kra::CMsg &body, QObject *parent = nullptr);
    explicit RpcDelegateCall(const RpcMessage &message, QObject *parent = nullptr);

    void start(RpcConnection *connection);
    void fail(int error);
    void abort(int error);
    const kra::CMsg &body() const { return m_body; }

signals:
    void finished(RpcDelegateCall *self);

public slots:
    virtual void execute(RpcConnection *connection);

protected:
    virtual bool prepareRequest(kra::CMsg &body, int &timeoutSeconds) = 0;
    virtual void handleReply(const RpcMessage &reply) = 0;
    // Ends the delegate with a reply body (state finished).
    void succeed(const kra::CMsg &reply);

private slots:
    void callCompleted(RpcAsyncCallWatcher *watcher);

private:
    void signalFinished();

    kra::CMsg m_body;
};
