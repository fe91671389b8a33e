#include "vexmarsettingsrows.h"

#include "vexmarmenuitem.h"
#include "vexmarmenuwidget.h"

#include <QGridLayout>

namespace settingsrows {

QVexmarMenuItem *addRow(QVexmarMenuItems *page, int id, int kind, const QString &title, int left)
{
    auto *row = new QVexmarMenuItem(id, kind, page);
    row->layout->setContentsMargins(left, 0, 10, 0);
    row->titleLabel->setText(title);
    page->addItem(row);
    return row;
}

bool chosenValue(const QVexmarMenuItem *row, int &value)
{
    const int current = row ? row->currentOption() : -1;
    if (current < 0 || current >= row->options().size())
        return false;
    value = row->options().at(current).value;
    return true;
}

} // namespace settingsrows
