// Paints every image of the device screen into the directory given as the only argument. Shapes only, no
// text: the pictures come out the same on every machine, and no application object (fonts, screens) is needed.

#include "tools/imagegen/audioicons.h"
#include "tools/imagegen/callicons.h"
#include "tools/imagegen/editoricons.h"
#include "tools/imagegen/foldericons.h"
#include "tools/imagegen/homeicons.h"
#include "tools/imagegen/menuicons.h"
#include "tools/imagegen/mixericons.h"
#include "tools/imagegen/padlockicons.h"
#include "tools/imagegen/projecticons.h"
#include "tools/imagegen/recordericons.h"
#include "tools/imagegen/statusicons.h"

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
// The mixer pages' navigation: a page to go to, the page shown, a page out of reach.
const QColor mixerWhite(235, 235, 235);
const QColor mixerBlue(0x66, 0x99, 0xff);
const QColor mixerGrey(127, 127, 127);

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

// A slide switch of the smallest switch slot (72 x 35): a rounded track with the knob at the end it stands for.
QImage paintSwitch(bool on, bool greyed)
{
    QImage image = canvas(72, 35);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor track
        = greyed ? (on ? QColor(127, 127, 127) : QColor(70, 70, 70)) : (on ? screenBlue : QColor(90, 90, 90));
    const QColor rim = greyed ? QColor(100, 100, 100) : (on ? deepBlue : QColor(60, 60, 60));
    const QColor knob = greyed ? QColor(170, 170, 170) : QColor(Qt::white);
    p.setPen(QPen(rim, 2));
    p.setBrush(track);
    p.drawRoundedRect(QRectF(2, 3, 68, 29), 14.5, 14.5);
    p.setPen(QPen(greyed ? QColor(110, 110, 110) : QColor(200, 200, 200), 1));
    p.setBrush(knob);
    p.drawEllipse(QPointF(on ? 55.5 : 16.5, 17.5), 11.5, 11.5);
    // "I" on the track of a switch that is on, "O" on one that is off, where the knob is not.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(greyed ? QColor(180, 180, 180) : QColor(Qt::white), 3, Qt::SolidLine, Qt::RoundCap));
    if (on)
        p.drawLine(QPointF(22, 11), QPointF(22, 24));
    else
        p.drawEllipse(QPointF(50, 17.5), 6, 6);
    return image;
}

// A telephone handset: lifted and green for a call, lowered and red for hanging up.
QImage paintPhone(bool hangUp)
{
    QImage image = canvas(50, 50);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor colour = hangUp ? QColor(215, 30, 30) : QColor(20, 160, 60);
    // A white rim keeps the disc apart from a face of the same colour.
    p.setPen(QPen(Qt::white, 2));
    p.setBrush(colour);
    p.drawEllipse(QRectF(1.5, 1.5, 47, 47));
    p.setPen(Qt::NoPen);

    QPainterPath handset;
    handset.moveTo(-15, -4);
    handset.cubicTo(-15, -11, 15, -11, 15, -4);
    handset.lineTo(15, 2);
    handset.lineTo(8, 3);
    handset.lineTo(7, -2);
    handset.cubicTo(3, -4, -3, -4, -7, -2);
    handset.lineTo(-8, 3);
    handset.lineTo(-15, 2);
    handset.closeSubpath();
    p.translate(25, 25);
    if (!hangUp)
        p.rotate(-35);
    p.scale(1.2, 1.2);
    p.setBrush(Qt::white);
    p.drawPath(handset);
    return image;
}

// A chevron pointing right: a menu row that opens a page of its own.
QImage paintNavRight()
{
    QImage image = canvas(72, 72);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(screenBlue, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(27, 14), QPointF(49, 36), QPointF(27, 58)}));
    return image;
}

// The blue disc of the menu rows that start something on the device, centred on a square canvas.
void paintActionDisc(QPainter &p, int size, qreal diameter)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(deepBlue, 3));
    p.setBrush(screenBlue);
    const qreal margin = (size - diameter) / 2;
    p.drawEllipse(QRectF(margin, margin, diameter, diameter));
}

// A blue disc with a white triangle: a menu row that starts something on the device.
QImage paintAction()
{
    QImage image = canvas(72, 72);
    QPainter p(&image);
    paintActionDisc(p, 72, 59);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(29, 22), QPointF(51, 36), QPointF(29, 50)}));
    return image;
}

// The action disc with the power sign in white: the row that restarts the device.
QImage paintShutdown()
{
    QImage image = canvas(80, 80);
    QPainter p(&image);
    paintActionDisc(p, 80, 65);
    p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    // A ring open at the top, the bar standing in its gap.
    p.drawArc(QRectF(24, 26, 32, 32), 125 * 16, 290 * 16);
    p.drawLine(QPointF(40, 19), QPointF(40, 40));
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
        {"phone-call.png", [] { return paintPhone(false); }},
        {"phone-hangup.png", [] { return paintPhone(true); }},
        {"switch_off.png", [] { return paintSwitch(false, false); }},
        {"switch_off_disabled.png", [] { return paintSwitch(false, true); }},
        {"switch_on.png", [] { return paintSwitch(true, false); }},
        {"switch_on_disabled.png", [] { return paintSwitch(true, true); }},
        {"navright.png", paintNavRight},
        {"action.png", paintAction},
        {"shutdown.png", paintShutdown},
        {"trash.png", paintTrash},
        {"create.png", paintCreate},
        {"copyto.png", paintCopyTo},
        {"exit-menu.png", paintExitMenu},
        {"format.png", paintFormat},
        {"checkdisk.png", paintCheckDisk},
        {"eject.png", paintEject},
        {"padlock_open.png", paintPadlockOpen},
        {"padlock_close.png", paintPadlockClose},
        {"navleft.png", paintNavLeft},
        {"check.png", paintCheck},
        {"refresh.png", paintRefresh},
        {"mic1_on.png", [] { return paintMicrophone(1, true); }},
        {"mic1_off.png", [] { return paintMicrophone(1, false); }},
        {"mic2_on.png", [] { return paintMicrophone(2, true); }},
        {"mic2_off.png", [] { return paintMicrophone(2, false); }},
        {"wifi_0bar.png", [] { return paintWifi(0); }},
        {"wifi_1bar.png", [] { return paintWifi(1); }},
        {"wifi_2bar.png", [] { return paintWifi(2); }},
        {"wifi_3bar.png", [] { return paintWifi(3); }},
        {"wifi_4bar.png", [] { return paintWifi(4); }},
        {"mobile1.png", [] { return paintMobile(1); }},
        {"mobile2.png", [] { return paintMobile(2); }},
        {"eth1.png", [] { return paintEthernet(1); }},
        {"eth2.png", [] { return paintEthernet(2); }},
        {"play-white.png", [] { return paintPlay(true); }},
        {"play-grey.png", [] { return paintPlay(false); }},
        {"pause-white.png", paintPause},
        {"stop-white.png", [] { return paintStop(true); }},
        {"stop-grey.png", [] { return paintStop(false); }},
        {"play-next-white.png", [] { return paintPlayNext(true); }},
        {"play-next-grey.png", [] { return paintPlayNext(false); }},
        {"play-prev-white.png", [] { return paintPlayPrevious(true); }},
        {"play-prev-grey.png", [] { return paintPlayPrevious(false); }},
        {"push-right-white.png", [] { return paintPushRight(true); }},
        {"push-right-grey.png", [] { return paintPushRight(false); }},
        {"push-left-white.png", [] { return paintPushLeft(true); }},
        {"push-left-grey.png", [] { return paintPushLeft(false); }},
        {"goUp-white.png", [] { return paintItemUp(true); }},
        {"goUp-grey.png", [] { return paintItemUp(false); }},
        {"goDw-white.png", [] { return paintItemDown(true); }},
        {"goDw-grey.png", [] { return paintItemDown(false); }},
        {"waves.png", [] { return paintWaves(true); }},
        {"waves-disable.png", [] { return paintWaves(false); }},
        {"pencil-disable.png", [] { return paintPencil(false); }},
        {"share.png", [] { return paintShare(true); }},
        {"share-disable.png", [] { return paintShare(false); }},
        {"trash-disable.png", paintTrashDisabled},
        {"tools_2.png", paintFolderTools},
        {"network.png", paintNetwork},
        {"voice-call.png", paintVoiceCall},
        {"mixer.png", paintMixer},
        {"audio.png", paintAudio},
        {"settings.png", paintSettings},
        {"tools.png", paintTools},
        {"status.png", paintStatus},
        {"rec-grey.png", [] { return paintRecord(QColor(110, 110, 110), QColor(110, 110, 110)); }},
        {"rec-rgrey.png", [] { return paintRecord(QColor(170, 30, 30), QColor(110, 110, 110)); }},
        {"rec-red.png", [] { return paintRecord(QColor(255, 20, 20), QColor(255, 20, 20)); }},
        {"stop-red.png", [] { return paintStop(QColor(255, 20, 20)); }},
        {"book.png", paintBook},
        {"coding.png", paintCoding},
        {"call-history.png", paintCallHistory},
        {"dialpad.png", paintDialpad},
        {"phone-green.png", [] { return paintPhoneButton(false); }},
        {"phone-red.png", [] { return paintPhoneButton(true); }},
        {"input-settings.png", paintInputSettings},
        {"potentiometer.png", paintPotentiometer},
        {"back.png", paintBack},
        {"headphone-white.png", [] { return paintHeadphone(mixerWhite); }},
        {"headphone-blue.png", [] { return paintHeadphone(mixerBlue); }},
        {"input-white.png", [] { return paintMixerInput(mixerWhite); }},
        {"input-blue.png", [] { return paintMixerInput(mixerBlue); }},
        {"output-white.png", [] { return paintMixerOutput(mixerWhite); }},
        {"output-blue.png", [] { return paintMixerOutput(mixerBlue); }},
        {"output-gray.png", [] { return paintMixerOutput(mixerGrey); }},
        {"btn_go.png", [] { return paintCutIntoProject(true); }},
        {"btn_go_grey.png", [] { return paintCutIntoProject(false); }},
        {"btn_mark.png", [] { return paintMark(true); }},
        {"btn_mark_grey.png", [] { return paintMark(false); }},
        {"btn_del_white.png", [] { return paintDeleteMark(true); }},
        {"btn_del_grey.png", [] { return paintDeleteMark(false); }},
        {"save_white.png", [] { return paintSave(true); }},
        {"save_grey.png", [] { return paintSave(false); }},
        {"open_folder.png", [] { return paintOpenFolder(true); }},
        {"open_folder_grey.png", [] { return paintOpenFolder(false); }},
        {"zoom_plus_white.png", [] { return paintZoom(true, true); }},
        {"zoom_plus_grey.png", [] { return paintZoom(true, false); }},
        {"zoom_minus_white.png", [] { return paintZoom(false, true); }},
        {"zoom_minus_grey.png", [] { return paintZoom(false, false); }},
        {"btn_undo_grey.png", [] { return paintUndo(false); }},
        {"btn_x1.png", [] { return paintSpeed(1); }},
        {"btn_x4.png", [] { return paintSpeed(4); }},
        {"btn_x16.png", [] { return paintSpeed(16); }},
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
