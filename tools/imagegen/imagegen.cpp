// Paints every image of the device screen into the directory given as the only argument. Shapes only, no
// text: the pictures come out the same on every machine, and no application object (fonts, screens) is needed.

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

const QColor screenBlue(0, 162, 232);
const QColor deepBlue(0, 84, 140);

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A house: the home page of the device screen.
QImage paintHome()
{
    QImage image = canvas(64, 64);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath house;
    house.moveTo(32, 6);
    house.lineTo(60, 31);
    house.lineTo(52, 31);
    house.lineTo(52, 58);
    house.lineTo(12, 58);
    house.lineTo(12, 31);
    house.lineTo(4, 31);
    house.closeSubpath();
    p.setPen(QPen(deepBlue, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(screenBlue);
    p.drawPath(house);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(26, 38, 12, 20), 2, 2);
    p.drawRect(QRectF(41, 36, 7, 7));
    return image;
}

// A speech bubble: send a text to the device's display.
QImage paintMessage()
{
    QImage image = canvas(48, 48);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath bubble;
    bubble.addRoundedRect(QRectF(3, 5, 42, 28), 8, 8);
    QPainterPath tail;
    tail.moveTo(12, 30);
    tail.lineTo(10, 44);
    tail.lineTo(24, 31);
    tail.closeSubpath();
    p.setPen(QPen(deepBlue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(screenBlue);
    p.drawPath(bubble.united(tail));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(14 + 10 * i, 19), 3.5, 3.5);
    return image;
}

// The product's picture: a ring with a tail over a level meter, on a blue plate.
QImage paintProduct()
{
    QImage image = canvas(200, 112);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient plate(0, 0, 0, 112);
    plate.setColorAt(0, screenBlue.lighter(115));
    plate.setColorAt(1, deepBlue);
    p.setPen(Qt::NoPen);
    p.setBrush(plate);
    p.drawRoundedRect(QRectF(1, 1, 198, 110), 16, 16);

    p.setPen(QPen(Qt::white, 10, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(56, 54), 30, 30);
    p.drawLine(QPointF(60, 62), QPointF(82, 86));

    const int heights[] = {22, 44, 64, 36, 52, 28, 14};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        const int h = heights[i];
        p.setBrush(i == 2 ? QColor(255, 200, 40) : QColor(Qt::white));
        p.drawRoundedRect(QRectF(108 + 12 * i, 88 - h, 8, h), 3, 3);
    }
    p.setBrush(QColor(255, 255, 255, 160));
    p.drawRect(QRectF(104, 92, 88, 3));
    return image;
}

struct Picture
{
    const char *fileName;
    std::function<QImage()> paint;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: imagegen <directory>\n");
        return 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    if (!directory.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "imagegen: cannot create %s\n", argv[1]);
        return 1;
    }
    const std::vector<Picture> pictures = {
        {"home.png", paintHome},
        {"message.png", paintMessage},
        {"MyQuorvaneRE.png", paintProduct},
    };
    for (const Picture &picture : pictures) {
        const QString path = directory.filePath(QString::fromLatin1(picture.fileName));
        if (!picture.paint().save(path, "PNG")) {
            std::fprintf(stderr, "imagegen: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
