#pragma once

#include <QImage>

// The icons of the editor page's buttons on the black page: white where a button acts, grey where it does not.
// Its transport, trash and home icons are those of the folder and home pages.
QImage paintCutIntoProject(bool acting); // btn_go
QImage paintMark(bool acting); // btn_mark
QImage paintDeleteMark(bool acting); // btn_del
QImage paintSave(bool acting);
QImage paintOpenFolder(bool acting);
QImage paintZoom(bool in, bool acting);
QImage paintUndo(bool acting);
// "x1", "x4", "x16": the cursor's speed, in segment digits.
QImage paintSpeed(int factor);
