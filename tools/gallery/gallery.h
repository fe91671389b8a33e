#pragma once

#include <QImage>
#include <QList>
#include <QString>

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

class QWidget;

// Lays the widget out at its size, shows it offscreen so that show events run, and grabs it.
QImage grabWidget(QWidget *widget);
