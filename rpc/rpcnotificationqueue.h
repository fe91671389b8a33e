#pragma once

// Notifications held back while something else runs, first in first out, with a bound: the device decides how many
// it sends. A level snapshot replaces the one held before it (only the newest counts) and takes its place in the
// order; past MaxMessages, or MaxBytes of body text, the oldest other notifications make room for the new one.

#include "rpc/rpcmessage.h"

#include <deque>

class RpcNotificationQueue final
{
public:
    // A storm from the device, not its normal rate of a few a second, goes past these.
    static constexpr int MaxMessages = 1024;
    static constexpr qint64 MaxBytes = 1024 * 1024;

    explicit RpcNotificationQueue(int maxMessages = MaxMessages, qint64 maxBytes = MaxBytes)
        : m_maxMessages(qMax(maxMessages, 1)), m_maxBytes(maxBytes)
    {
    }

    // Returns how many older messages were dropped to make room. The message just appended is always kept.
    int append(RpcMessage message);
    // A message of kind None when empty.
    RpcMessage takeFirst();
    void clear();

    bool isEmpty() const { return m_messages.empty() && !m_hasLevels; }
    // The level snapshot included.
    int size() const { return int(m_messages.size()) + (m_hasLevels ? 1 : 0); }
    qint64 bytes() const { return m_bytes; }
    // Dropped since the queue was last empty.
    qint64 dropped() const { return m_dropped; }

    static bool isLevelSnapshot(const RpcMessage &message);
    // The body's text: names and values.
    static qint64 sizeOf(const kra::CMsg &body);

private:
    struct Held
    {
        RpcMessage message;
        qint64 bytes;
    };
    void dropOldest();
    void emptied();

    const int m_maxMessages;
    const qint64 m_maxBytes;
    std::deque<Held> m_messages;
    Held m_levels {RpcMessage(), 0};
    bool m_hasLevels = false;
    // Other messages ahead of the level snapshot.
    size_t m_levelsAt = 0;
    qint64 m_bytes = 0;
    qint64 m_dropped = 0;
};
