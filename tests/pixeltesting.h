#pragma once

// Pixel helpers for the tests of painted widgets: colours without alpha, as grab() gives them.

#include <QImage>
#include <QRect>

inline QRgb rgb(int r, int g, int b)
{
    return qRgb(r, g, b) & 0xFFFFFF;
}

inline QRgb rgb(const QColor &colour)
{
    return colour.rgb() & 0xFFFFFF;
}

inline QRgb pixelAt(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

inline int countPixels(const QImage &image, const QRect &area, QRgb colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += pixelAt(image, x, y) == (colour & 0xFFFFFF) ? 1 : 0;
    return count;
}
