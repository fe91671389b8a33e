#pragma once

// The one object through which the application talks to the device: synchronous calls over the client
// connection (a nested event loop that keeps painting but takes no user input), the last reply with its refused
// parameters kept apart, the "db" parameter store of one context, and level notifications over UDP.

#include "rpc/kramsg.h"
#include "rpc/rpcconnection.h"

#include <QObject>
#include <QString>

#include <map>
#include <string>
#include <vector>

class QUdpSocket;

namespace kra {

class CCom : public QObject
{
    Q_OBJECT
public:
    explicit CCom(QObject *parent = nullptr);
    ~CCom() override;

    // IPv4 address text only; false when already active, the port is 0 or the host is no IPv4 address.
    bool connectToDevice(const QString &host, quint16 tcpPort, quint16 udpPort);
    void disconnectFromDevice();

    // The int arguments are kept for the callers' sake and not read.
    int sendMsg(const CMsg &request, int);
    // 0, a negative connection error, or the device's error-reply code. Below 1000 ms the time-out is 5 s.
    int sendSyncMsg(const CMsg &request, CMsg &reply, int, int timeoutMs);
    int getErrorParams(CMsg &out, int);

    int initialize(const std::string &cat, const std::string &type);
    int setParams(const std::map<std::string, std::string> &params, int timeoutMs);
    int getParams(const std::vector<std::string> &names, std::map<std::string, std::string> &values, int timeoutMs);

    RpcConnection::ConnectionState state() const { return m_connection.state(); }
    // False while a synchronous call waits.
    bool isReady() const { return m_ready; }
    QString host() const { return m_host; }
    quint16 tcpPort() const { return m_tcpPort; }
    quint16 udpPort() const { return m_udpPort; }
    const std::string &cat() const { return m_cat; }
    const std::string &type() const { return m_type; }
    const RpcClientConnection &connection() const { return m_connection; }

signals:
    void stateChanged(RpcConnection::ConnectionState state);
    void errorOccurred(RpcConnection::ConnectionError error);
    void messageCompleted(const RpcMessage &message);
    void messageReceived(const RpcMessage &message);
    void sendSyncMsgCompleted();
    void busyStateChanged(bool busy);

protected:
    // The call behind a synchronous request: the connection's. A call that has already ended (RpcAsyncCall::fromReply)
    // runs the same wait and reply handling without a device.
    virtual RpcAsyncCall startCall(const RpcMessage &request, int timeoutSeconds);

private slots:
    void callCompleted(RpcAsyncCallWatcher *watcher);
    void readPendingDatagrams();

private:
    // Sends a request to the "db" target of the context given to initialize(): -1 without a context, the call's
    // error, DbRefused when the reply's "return" is not "OK", else 0.
    static constexpr int DbRefused = 1;
    int sendDbRequest(CMsg &request, CMsg &reply, int timeoutMs);

    RpcClientConnection m_connection;
    QUdpSocket *m_udpSocket = nullptr;
    QString m_host;
    quint16 m_tcpPort = 0;
    quint16 m_udpPort = 0;
    std::string m_cat;
    std::string m_type;
    bool m_ready = true;
    bool m_waiting = false;
    int m_lastError = RpcConnection::NoError;
    CMsg m_lastReply;
    CMsg m_errorParams;
};

} // namespace kra
