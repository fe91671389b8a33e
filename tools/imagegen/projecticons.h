#pragma once

#include <QImage>

// The icons of the project and drive popups: light strokes for the popups' dark buttons.
QImage paintTrash();
QImage paintCreate();
QImage paintCopyTo();
QImage paintExitMenu();
QImage paintFormat();
QImage paintCheckDisk();
QImage paintEject();
