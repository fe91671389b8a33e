#include "rpc/rpcnotificationqueue.h"

#include "rpc/rpcvocabulary.h"

int RpcNotificationQueue::append(RpcMessage message)
{
    const qint64 bytes = sizeOf(message.body());
    const bool levels = isLevelSnapshot(message);
    if (levels) {
        // The older snapshot leaves its place: the newer one stands where it arrived.
        if (m_hasLevels)
            m_bytes -= m_levels.bytes;
        m_levels = {std::move(message), bytes};
        m_hasLevels = true;
        m_levelsAt = m_messages.size();
    } else {
        m_messages.push_back({std::move(message), bytes});
    }
    m_bytes += bytes;
    int dropped = 0;
    // The level snapshot is never the oldest to go: it is replaced, so it stands for no more than one message.
    const size_t appended = levels ? 0 : 1;
    while ((size() > m_maxMessages || m_bytes > m_maxBytes) && m_messages.size() > appended) {
        dropOldest();
        ++dropped;
    }
    m_dropped += dropped;
    return dropped;
}

void RpcNotificationQueue::dropOldest()
{
    m_bytes -= m_messages.front().bytes;
    m_messages.pop_front();
    if (m_hasLevels && m_levelsAt > 0)
        --m_levelsAt;
}

RpcMessage RpcNotificationQueue::takeFirst()
{
    RpcMessage first;
    if (m_hasLevels && m_levelsAt == 0) {
        first = std::move(m_levels.message);
        m_bytes -= m_levels.bytes;
        m_levels = {RpcMessage(), 0};
        m_hasLevels = false;
    } else if (!m_messages.empty()) {
        first = std::move(m_messages.front().message);
        m_bytes -= m_messages.front().bytes;
        m_messages.pop_front();
        if (m_hasLevels)
            --m_levelsAt;
    }
    if (isEmpty())
        emptied();
    return first;
}

void RpcNotificationQueue::clear()
{
    m_messages.clear();
    m_levels = {RpcMessage(), 0};
    m_hasLevels = false;
    emptied();
}

void RpcNotificationQueue::emptied()
{
    m_levelsAt = 0;
    m_bytes = 0;
    m_dropped = 0;
}

bool RpcNotificationQueue::isLevelSnapshot(const RpcMessage &message)
{
    const kra::CMsg &body = message.body();
    return body.kind == kra::CMsg::Event && body.value(kra::KEY_EVENT_TYPE) == kra::EVT_AUDIO_LEVELS;
}

qint64 RpcNotificationQueue::sizeOf(const kra::CMsg &body)
{
    qint64 bytes = 0;
    for (const auto &[key, value] : body.params)
        bytes += qint64(key.size() + value.size());
    for (const std::string &name : body.getNames)
        bytes += qint64(name.size());
    for (const std::string &name : body.listNames)
        bytes += qint64(name.size());
    return bytes;
}
