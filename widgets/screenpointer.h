#pragma once

#include <QPointer>
#include <QWidget>

// The one device screen. The widget set sits below the screen window, so it knows it only as a widget; the main
// window sets it as soon as the screen exists. Guarded, so that nothing is posted to a screen that is gone.
extern QPointer<QWidget> g_screenWindow;

// Hands a key that a popup or control did not use on to the screen as a QVexmarEvent of kind 6 (press) or
// 7 (release). Dropped while there is no screen.
void postKeyToScreen(int kind, int key, int origin);
