#pragma once

#include <QImage>

// The icons of the folder page's buttons on the black page: white where a button acts, grey where it does not.
QImage paintPlay(bool acting);
QImage paintPause();
QImage paintStop(bool acting);
// The same square in any colour: the recorder blinks it red while it asks for a second press.
QImage paintStop(const QColor &face);
QImage paintPlayNext(bool acting);
QImage paintPlayPrevious(bool acting);
QImage paintPushRight(bool acting);
QImage paintPushLeft(bool acting);
QImage paintItemUp(bool acting);
QImage paintItemDown(bool acting);
QImage paintWaves(bool acting);
QImage paintPencil(bool acting);
QImage paintShare(bool acting);
QImage paintTrashDisabled();
QImage paintFolderTools();
