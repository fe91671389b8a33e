#include "widgets/firstframe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

// The first expose paints and flushes the window before its paint event returns: a zero timer started from that
// paint runs once the frame is out.
class FirstFrameWatch final : public QObject
{
public:
    explicit FirstFrameWatch(QWidget *window) : QObject(window) { window->installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [] {
                std::fputs("first frame\n", stdout);
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        }
        return false;
    }
};

} // namespace

void quitAfterFirstFrame(QWidget *window)
{
    if (qEnvironmentVariableIsSet("MQ_QUIT_AFTER_FIRST_FRAME"))
        new FirstFrameWatch(window);
}
