#pragma once

// Helpers for the tests of painted widgets: colours without alpha, as grab() gives them; the picture a button
// shows; touches and turns as the screen sends them; signal values; table rows.

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QRect>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

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

// A picture as a button takes it from its icon: the pixmap at the icon's own size, premultiplied as every pixmap.
// Compare it only with another picture taken the same way, never with the file read directly: turning a pixmap
// back into plain ARGB rounds semi-transparent pixels, and how depends on the machine's libraries.
inline QImage iconImage(const QIcon &icon)
{
    return icon.pixmap(icon.availableSizes().value(0)).toImage();
}

// The picture a button shows among the image files given, by the file's name without its folder and suffix; "?"
// for none of them.
inline QByteArray imageOf(const QAbstractButton *button, const QStringList &paths)
{
    const QImage shown = iconImage(button->icon());
    if (shown.isNull())
        return "none";
    for (const QString &path : paths) {
        if (iconImage(QIcon(path)) == shown)
            return QFileInfo(path).completeBaseName().toUtf8();
    }
    return "?";
}

// The device's screen: white on a dark ground.
inline QPalette groundPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(20, 20, 20));
    palette.setColor(QPalette::WindowText, Qt::white);
    return palette;
}

// A finger on the screen is a held left button; Qt 5's QTest::mouseMove carries none, and a move without one never
// reaches a widget that does not track the mouse.
inline void touch(QWidget *widget, QEvent::Type type, const QPoint &position)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, position, widget->mapToGlobal(position), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// Press and release in place: on a scroll area's viewport, over the middle of one of its children.
inline void tap(QWidget *viewport, const QWidget *target)
{
    const QPoint position = target->mapTo(viewport, target->rect().center());
    touch(viewport, QEvent::MouseButtonPress, position);
    touch(viewport, QEvent::MouseButtonRelease, position);
}

// A mouse wheel turn by `delta` eighths of a degree (120 a notch; 0 for a turn without movement).
inline void turnWheel(QWidget *widget, int delta)
{
    QWheelEvent wheel(QPointF(10, 10), widget->mapToGlobal(QPoint(10, 10)), QPoint(), QPoint(0, delta), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(widget, &wheel);
}

// The first argument of each signal caught.
inline QList<int> ints(const QSignalSpy &spy)
{
    QList<int> values;
    for (const QList<QVariant> &arguments : spy)
        values << arguments.at(0).toInt();
    return values;
}

inline QLabel *labelWithText(const QWidget *parent, const QString &text)
{
    for (QLabel *label : parent->findChildren<QLabel *>()) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

// Markup that a label reading it turns into a picture: the resources' red record lamp, in a red no label paints.
inline const QByteArray pictureMarkup = R"(<img src=":/images/rec-red.png">)";
inline constexpr QRgb pictureRed = 0xFF1414;

inline int picturePixels(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    return countPixels(image, image.rect(), pictureRed);
}

// The labels under `root` whose text is `text`, each as "<object name, or its parent's class>: <how it shows it>":
// "plain" for plain text drawn otherwise than the same label draws it read as markup, with not one pixel of the
// picture; else what is wrong: "format <n>", "drawn as markup", "picture", or "too small to tell" when the label
// would not show the picture even as markup.
inline QByteArrayList textLook(const QWidget *root, const QString &text)
{
    QByteArrayList looks;
    for (QLabel *label : root->findChildren<QLabel *>()) {
        if (label->text() != text)
            continue;
        QByteArray look = label->objectName().toUtf8();
        if (look.isEmpty())
            look = QByteArray(label->parentWidget()->metaObject()->className()) + " label";
        const Qt::TextFormat format = label->textFormat();
        const QImage shown = label->grab().toImage();
        const QRect geometry = label->geometry();
        label->setTextFormat(Qt::RichText);
        const QImage markup = label->grab().toImage();
        // Room for the picture, should the label be smaller.
        label->resize(geometry.size().expandedTo(label->sizeHint()));
        const int markupRed = picturePixels(label);
        label->setTextFormat(format);
        label->setGeometry(geometry);
        QByteArrayList faults;
        if (format != Qt::PlainText)
            faults << "format " + QByteArray::number(format);
        if (shown == markup)
            faults << "drawn as markup";
        if (countPixels(shown, shown.rect(), pictureRed) > 0)
            faults << "picture";
        if (text.contains(QLatin1String(pictureMarkup)) && markupRed == 0)
            faults << "too small to tell";
        looks << look + ": " + (faults.isEmpty() ? "plain" : faults.join(", "));
    }
    return looks;
}

// One row of a data table, its values in column order: a row that fits on one line stays on one.
template<class... Values>
void dataRow(const char *name, const Values &...values)
{
    (QTest::newRow(name) << ... << values);
}
