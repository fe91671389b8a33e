#pragma once

#include <QImage>

// The record icons of the recorder page, on its black ground, filling the inner area of a 100 x 100 button.
// Its stop and settings icons are those of the folder and home pages.
QImage paintRecord(const QColor &dot, const QColor &ring); // rec-grey, rec-rgrey, rec-red
