#pragma once

// What the pages of the Tools branch share to build their rows and read their values.

#include <QString>

class QVexmarMenuItem;
class QVexmarMenuItems;

namespace settingsrows {

// A row added to the end of the page, with the left margin of its level (10 plain, 60 under a heading).
QVexmarMenuItem *addRow(QVexmarMenuItems *page, int id, int kind, const QString &title, int left = 10);
// The value of the current option; false, value untouched, for a row without one (-1 is a value like another).
bool chosenValue(const QVexmarMenuItem *row, int &value);

} // namespace settingsrows
