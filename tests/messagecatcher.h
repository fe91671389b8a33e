#pragma once

// Collects what the code under test logs, for as long as the catcher lives.

#include <QMutex>
#include <QStringList>
#include <QtGlobal>

class MessageCatcher final
{
public:
    MessageCatcher() { m_previous = qInstallMessageHandler(&MessageCatcher::handle); }
    ~MessageCatcher() { qInstallMessageHandler(m_previous); }
    MessageCatcher(const MessageCatcher &) = delete;
    MessageCatcher &operator=(const MessageCatcher &) = delete;

    // One entry per message: "critical: text", "warning: text", ...
    static QStringList messages()
    {
        QMutexLocker lock(&mutex());
        return store();
    }
    static void clear()
    {
        QMutexLocker lock(&mutex());
        store().clear();
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        static const char *const names[] = {"debug", "warning", "critical", "fatal", "info"};
        QMutexLocker lock(&mutex());
        store().append(QLatin1String(names[type]) + QLatin1String(": ") + text);
    }
    static QStringList &store()
    {
        static QStringList messages;
        return messages;
    }
    static QMutex &mutex()
    {
        static QMutex mutex;
        return mutex;
    }

    QtMessageHandler m_previous = nullptr;
};
