#include "widgets/firstframe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

class FirstPaintFilter final : public QObject
{
public:
    FirstPaintFilter(QWidget *window, std::function<void()> work) : QObject(window), m_work(std::move(work))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // The first expose paints and flushes the window before its paint event returns: a zero timer started
            // from that paint runs once the frame is out.
            QTimer::singleShot(0, this, [this] {
                m_work();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> m_work;
};

void say(const char *line)
{
    std::fputs(line, stdout);
    std::fflush(stdout);
}

// From the first frame a zero timer ticks on every turn of the event loop; whatever else a turn handles (the work
// deferred past the first frame, the layouts and polish it causes) lies between two ticks. The main thread is free
// once ticks follow each other closely a few times in a row, said at the last of them (a millisecond late at most,
// for any program alike). The dispatcher's own hasPendingEvents() counts the event it is delivering, and so never
// says no from inside one.
class FirstFrameWatch final : public QObject
{
public:
    explicit FirstFrameWatch(QWidget *window) : QObject(window), m_ticks(new QTimer(this))
    {
        m_ticks->setInterval(0);
        connect(m_ticks, &QTimer::timeout, this, &FirstFrameWatch::tick);
        afterFirstFrame(window, [this] {
            say("first frame\n");
            m_clock.start();
            m_ticks->start();
        });
    }

private:
    // Closer than this, nothing of note ran between two ticks.
    static constexpr qint64 idleTurnNs = 500000;
    static constexpr int idleTurns = 3;

    void tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        if (now - m_lastTick > idleTurnNs) {
            m_quietTurns = 0;
        } else if (++m_quietTurns == idleTurns) {
            m_ticks->stop();
            say("main thread free\n");
            QCoreApplication::quit();
        }
        m_lastTick = now;
    }

    QTimer *m_ticks;
    QElapsedTimer m_clock;
    qint64 m_lastTick = 0;
    int m_quietTurns = 0;
};

} // namespace

void afterFirstFrame(QWidget *window, std::function<void()> work)
{
    new FirstPaintFilter(window, std::move(work));
}

void quitAfterFirstFrame(QWidget *window)
{
    if (qEnvironmentVariableIsSet("MQ_QUIT_AFTER_FIRST_FRAME"))
        new FirstFrameWatch(window);
}
