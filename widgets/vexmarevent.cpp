#include "widgets/vexmarevent.h"

QVexmarEvent::QVexmarEvent(int eventKind, int eventKey, int eventOrigin)
    : QEvent(eventType), kind(eventKind), key(eventKey), origin(eventOrigin)
{
}

QVexmarEvent::~QVexmarEvent() = default;
