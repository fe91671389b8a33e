#pragma once

#include <QColor>
#include <QImage>

// The pictures of the mixer pages' navigation row (80 x 64), each in the colour of its state: white for a page to
// go to, blue for the page shown, grey for a page out of reach.
QImage paintHeadphone(const QColor &colour);
QImage paintMixerInput(const QColor &colour);
QImage paintMixerOutput(const QColor &colour);
