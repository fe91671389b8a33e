#pragma once

#include "tests/peers/wavebitmapwriter.h"

#include <QImage>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

// A page of the widget gallery: a set of named pictures of controls in their states, for review by eye.
// Each page source registers itself with one static GalleryPage; the gallery program saves every shot of every
// page as <page>-<shot>.png.
struct GalleryShot
{
    QString name;
    QImage image;
};

class GalleryPage
{
public:
    using Render = QList<GalleryShot> (*)();

    GalleryPage(const char *name, Render render);

    static const QList<GalleryPage *> &pages();

    const char *const name;
    const Render render;
};

class QPalette;
class QWidget;
class SimDevice;

// Lays the widget out at its size, shows it offscreen so that show events run, and grabs it.
QImage grabWidget(QWidget *widget);

// One control on a board, with a caption under it saying which state it shows.
struct GalleryCell
{
    QString caption;
    QWidget *widget;
};

// Puts the cells in rows of the given length on one board in the palette (the ground the controls stand on
// in the screen) and grabs it. The board takes the widgets and is gone afterwards. The focused widget, if
// any, has the keyboard focus in an active window while grabbed.
QImage grabBoard(const QList<GalleryCell> &cells, int columns, const QPalette &palette, QWidget *focused = nullptr);

// The grounds of the screen: the dark page, and the status bar.
QPalette pagePalette();
QPalette statusBarPalette();

// Runs the event loop until done() holds or the time is up; whether it holds.
bool waitFor(const std::function<bool()> &done, int ms = 5000);
// The simulated device listening, and the process's communication service connected to it.
bool connectTo(SimDevice &device);
// A screen window on the screen's black ground, with white text.
void setScreenGround(QWidget *window);
// The screen under the status bar (1280 x 676), in the screen window's colours and font.
std::unique_ptr<QWidget> screenUnderStatusBar();

// A recording as a wave bitmap: phrases of a few seconds with pauses, louder on the first channel; the seed shifts
// the phrases.
WaveBitmapContent speechRecording(qint64 durationMs, int lastSegment, double seed, int channels = 2);
