#include "rpc/rpcmessage.h"

RpcMessage::RpcMessage(quint32 id, qint32 aux, qint32 kind, const kra::CMsg &body)
    : m_id(id), m_aux(aux), m_kind(kind), m_body(body)
{
}

RpcMessage RpcMessage::request(const kra::CMsg &body, quint32 id)
{
    return RpcMessage(id, 0, Request, body);
}

RpcMessage RpcMessage::notification(const kra::CMsg &body, quint32 id)
{
    return RpcMessage(id, 0, Notification, body);
}

RpcMessage RpcMessage::reply(const RpcMessage &to, const kra::CMsg &body)
{
    return RpcMessage(to.m_id, 0, Reply, body);
}

RpcMessage RpcMessage::errorReply(const RpcMessage &to, qint32 error)
{
    return RpcMessage(to.m_id, error, ErrorReply, kra::CMsg());
}
