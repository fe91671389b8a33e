#pragma once

// The framed RPC transport: 24-byte header ("VORNRpcM", total length, id, frame kind, aux, all 32-bit little
// endian) followed by the body text. Calls are matched to replies by id; notifications are passed on.

#include "rpc/rpcasynccall.h"
#include "rpc/rpcmessage.h"
#include "rpc/rpcnotificationqueue.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

#include <deque>
#include <string>
#include <string_view>

class QTcpSocket;
class QTimer;

class RpcConnection : public QObject
{
    Q_OBJECT
public:
    enum ConnectionState { UnconnectedState = 0, ClosingState = 1, ConnectingState = 2, ConnectedState = 3 };
    Q_ENUM(ConnectionState)

    enum ConnectionError {
        NoError = 0,
        NoCallError = -1,
        NotRequestError = -2,
        NotConnectedError = -3,
        SocketError = -4,
        TimeoutError = -5,
        CancelledError = -6,
        EncodeError = -7,
        DecoderError = -8,
        FrameKindError = -9,
        BodyError = -10,
        // Held notifications went past their bound: the oldest were dropped.
        OverloadError = -11,
        // The parts of one reply added up to more than MaxReplySize.
        ReplyTooLargeError = -12,
    };
    Q_ENUM(ConnectionError)

    // A negative state is final until the decoder is cleared. Besides no memory, NoMemory stands for an announced
    // length above MaxFrameSize.
    enum DecoderState {
        DecoderIdle = 0,
        DecoderHeader = 1,
        DecoderBody = 2,
        DecoderNoMemory = -1,
        DecoderBadMagic = -2
    };
    Q_ENUM(DecoderState)

    static constexpr int HeaderSize = 24;
    // Announcements above this are refused before anything is allocated.
    static constexpr quint32 MaxFrameSize = 16u * 1024u * 1024u;
    // However a reply is cut into "PROGRESS" parts, together they may carry no more than one frame.
    static constexpr qint64 MaxReplySize = MaxFrameSize;
    // Read from the socket in one turn of the event loop, and held by the socket at most: a device that sends
    // faster than we decode fills the kernel's buffers and meets TCP's flow control instead of our memory.
    static constexpr qint64 MaxReadPerTurn = 256 * 1024;

    explicit RpcConnection(QObject *parent = nullptr);
    ~RpcConnection() override;

    RpcAsyncCall call(const RpcMessage &request, int timeoutSeconds);
    bool send(const RpcMessage &message);
    static QByteArray encode(const RpcMessage &message);
    static RpcMessage decodeDatagram(const QByteArray &datagram);
    void cancelCall(RpcAsyncCall &call);
    // Decodes what the socket holds now. A wait that may run inside one of this connection's own signals calls it:
    // the socket does not announce new bytes until that signal has returned.
    void readPending();
    void close();
    RpcMessage takeMessage();

    ConnectionState state() const { return m_state; }
    bool isActive() const { return m_active; }
    bool holdNotifications() const { return m_holdNotifications; }
    void setHoldNotifications(bool hold) { m_holdNotifications = hold; }
    // Notifications held while a call is pending; never more than RpcNotificationQueue::MaxMessages.
    int heldNotifications() const { return m_queue.size(); }
    QString address() const { return m_address; }
    quint16 port() const { return m_port; }
    // The pending call under that id, or an empty handle.
    RpcAsyncCall pendingCall(quint32 id) const { return m_pending.value(id); }

signals:
    void stateChanged(RpcConnection::ConnectionState state);
    void errorOccurred(RpcConnection::ConnectionError error);
    void messageCompleted(const RpcMessage &message);
    void messageReceived(const RpcMessage &message);

protected slots:
    // The tick of the 1000 ms timer (call time-outs), not QObject's timer event.
    virtual void timerEvent();
    virtual void socketConnected();
    virtual void socketChanged(QAbstractSocket::SocketState socketState);
    virtual void socketError(QAbstractSocket::SocketError socketError);

protected:
    using QObject::timerEvent;
    // Feeds stream bytes to the decoder; returns the state it ends in.
    DecoderState decodeFrames(const char *data, qint64 size);
    void clearDecoder();
    void cancelAllCalls();
    // Registers a call as if its request had just been written.
    RpcAsyncCall registerCall(quint32 id, const kra::CMsg &request, int timeoutSeconds);
    void notifyErrorOccurred(ConnectionError error);
    void setConnectionState(ConnectionState state);
    QTcpSocket *socket() const { return m_socket; }
    QTimer *timer() const { return m_timer; }
    void setPeer(const QString &address, quint16 port);
    void setActive(bool active) { m_active = active; }
    void setLastId(int id) { m_lastId = id; }

private slots:
    void socketRead();

private:
    DecoderState processInput();
    void dispatchFrame(const char *header, std::string_view body);
    void dispatchReply(quint32 id, bool hasBody, std::string_view body);
    static void mergeReply(kra::CMsg &into, kra::CMsg &part, kra::CMsg::MergeMode mode, char separator);
    void finishCall(RpcAsyncCall call);
    void failCall(RpcAsyncCall call, int error);
    void completeCall(RpcAsyncCall &call);
    void deliverQueuedMessages();
    void logCritical(const char *function, int error) const;
    void scheduleRead();

    struct Decoder
    {
        DecoderState state = DecoderIdle;
        quint32 have = 0;
        quint32 need = 0;
        char header[HeaderSize] = {};
        std::string body;
        std::deque<QByteArray> input; // bytes not decoded yet, oldest first
        int inputPos = 0; // read position in the oldest
    };

    bool m_active = false;
    bool m_holdNotifications = false;
    bool m_readScheduled = false;
    ConnectionState m_state = UnconnectedState;
    int m_lastId = 0;
    quint16 m_port = 0;
    QString m_address;
    RpcNotificationQueue m_queue;
    QMap<quint32, RpcAsyncCall> m_pending;
    Decoder m_decoder;
    QTimer *m_timer;
    QTcpSocket *m_socket;
};

class RpcClientConnection : public RpcConnection
{
    Q_OBJECT
public:
    explicit RpcClientConnection(QObject *parent = nullptr);

    void connectToHost(const QString &address, quint16 port);

protected slots:
    void timerEvent() override;
    void socketConnected() override;
    void socketChanged(QAbstractSocket::SocketState socketState) override;

private:
    using QObject::timerEvent;
    void startConnecting();

    int m_countdown = -1;
};

class RpcServerConnection : public RpcConnection
{
    Q_OBJECT
public:
    explicit RpcServerConnection(QObject *parent = nullptr);

    bool setSocketDescriptor(qintptr descriptor);
};
