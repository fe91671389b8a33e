#pragma once

#include <functional>

class QWidget;

// Runs the work once the window's first frame is out (once its first paint has returned), on the window's thread.
void afterFirstFrame(QWidget *window, std::function<void()> work);

// Start-up measurements: with MQ_QUIT_AFTER_FIRST_FRAME set in the environment, the program writes "first frame" to
// its standard output once the window's first frame is on the screen, then "main thread free" once its event loop
// turns without other work (the work deferred past the first frame done), and quits. Without it, nothing happens.
void quitAfterFirstFrame(QWidget *window);
