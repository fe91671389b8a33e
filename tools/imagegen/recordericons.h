#pragma once

#include <QImage>

// The transport and settings icons of the recorder page, on its black ground. Record and stop fill the inner
// area of a 100 x 100 button, the settings wheel that of a 60 x 60 one.
QImage paintRecord(const QColor &dot, const QColor &ring); // rec-grey, rec-rgrey, rec-red
QImage paintStop(const QColor &face); // stop-grey, stop-white, stop-red
QImage paintSettings();
