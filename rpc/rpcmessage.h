#pragma once

// One protocol message: the frame header fields and the parsed body.

#include "rpc/kramsg.h"

#include <QMetaType>
#include <QtGlobal>

class RpcMessage
{
public:
    enum FrameKind { None = 0, Request = 1, Reply = 2, ErrorReply = 3, Notification = 4 };
    static constexpr quint32 NoId = 0xFFFFFFFFu;

    RpcMessage() = default;
    RpcMessage(quint32 id, qint32 aux, qint32 kind, const kra::CMsg &body);

    static RpcMessage request(const kra::CMsg &body, quint32 id = NoId);
    static RpcMessage notification(const kra::CMsg &body, quint32 id = NoId);
    // Answers carry the id of the message they answer.
    static RpcMessage reply(const RpcMessage &to, const kra::CMsg &body);
    static RpcMessage errorReply(const RpcMessage &to, qint32 error);

    quint32 id() const { return m_id; }
    qint32 aux() const { return m_aux; }
    qint32 kind() const { return m_kind; }
    const kra::CMsg &body() const { return m_body; }
    kra::CMsg &body() { return m_body; }
    void setBody(const kra::CMsg &body) { m_body = body; }

private:
    quint32 m_id = NoId;
    qint32 m_aux = 0;
    qint32 m_kind = None;
    kra::CMsg m_body;
};

Q_DECLARE_METATYPE(RpcMessage)
