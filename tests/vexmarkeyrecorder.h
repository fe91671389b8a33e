#pragma once

#include "widgets/vexmarevent.h"

#include <QList>
#include <QWidget>

// Stands in for the screen window: records the QVexmarEvents posted to it.
class VexmarKeyRecorder : public QWidget
{
public:
    struct Posted
    {
        int kind;
        int key;
        int origin;
        bool operator==(const Posted &other) const
        {
            return kind == other.kind && key == other.key && origin == other.origin;
        }
    };

    QList<Posted> posted;

protected:
    void customEvent(QEvent *event) override
    {
        if (event->type() == QVexmarEvent::eventType) {
            const auto *vexmarEvent = static_cast<QVexmarEvent *>(event);
            posted.append({vexmarEvent->kind, vexmarEvent->key, vexmarEvent->origin});
        }
    }
};

inline char *toString(const VexmarKeyRecorder::Posted &p)
{
    return qstrdup(QByteArray("{kind ") + QByteArray::number(p.kind) + ", key 0x" + QByteArray::number(p.key, 16)
        + ", origin " + QByteArray::number(p.origin) + "}");
}
