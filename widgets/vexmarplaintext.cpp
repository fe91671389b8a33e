#include "widgets/vexmarplaintext.h"

#include <QLabel>

QLabel *plainTextLabel(QLabel *label)
{
    label->setTextFormat(Qt::PlainText);
    return label;
}
