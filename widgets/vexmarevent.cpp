#include "widgets/vexmarevent.h"

QVexmarEvent::QVexmarEvent(int kind, int key, int origin) : QEvent(eventType), kind(kind), key(key), origin(origin) { }

QVexmarEvent::~QVexmarEvent() = default;
