#pragma once

class QWidget;

// Start-up measurements: with MQ_QUIT_AFTER_FIRST_FRAME set in the environment, the program writes "first frame" to
// its standard output once the window's first frame is on the screen, then "main thread free" once its event loop
// turns without other work (the work deferred past the first frame done), and quits. Without it, nothing happens.
void quitAfterFirstFrame(QWidget *window);
