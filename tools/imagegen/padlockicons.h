#pragma once

#include <QImage>

// The padlocks of the audio pages' gain locks, light on the dark screen; they fit the pages' 60 x 60 slots with
// a margin.
QImage paintPadlockOpen();
QImage paintPadlockClose();
