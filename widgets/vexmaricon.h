#pragma once

#include <QIcon>
#include <QString>

// An icon read from its file when it is first drawn or measured, not when it is set: the window builds every page
// at start-up, and decoding all their images then was most of the time before its first frame. Drawn, it is the
// same icon as QIcon(path).
QIcon lazyIcon(const QString &path);
