#pragma once

#include <QString>

// Outside text on its way into the log: control characters are escaped (a line break in a device's path would
// start a line of its own that reads as ours), and so is the backslash, so that an escape reads back one way only.
QString escapedForLog(const QString &text);
