#include "widgets/screenpointer.h"

#include "widgets/vexmarevent.h"

#include <QCoreApplication>

QPointer<QWidget> g_screenWindow;

void postKeyToScreen(int kind, int key, int origin)
{
    if (!g_screenWindow)
        return;
    QCoreApplication::postEvent(g_screenWindow, new QVexmarEvent(kind, key, origin), Qt::NormalEventPriority);
}
