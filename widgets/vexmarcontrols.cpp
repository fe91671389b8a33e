#include "widgets/vexmarcontrols.h"

#include "widgets/screenpointer.h"
#include "widgets/vexmarevent.h"

#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <climits>

namespace {

const QColor disabledGrey(127, 127, 127);
const QColor selectedBlue(0, 141, 233);
const QColor panLeftGreen(80, 255, 0);
const QColor panRightOrange(255, 80, 0);

// The device's own Enter key, besides Qt's two.
constexpr int deviceEnterKey = 0x160;

bool isEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == deviceEnterKey;
}

QRect ringRect(const QWidget *widget)
{
    return QRect(QPoint(7, 7), QPoint(widget->width() - 8, widget->height() - 8));
}

// The pointer turns clockwise from 30 degrees past straight down (the minimum) to 330 degrees (the maximum).
// An empty or inverted range, and a value outside it, keep the pointer on the arc.
double pointerAngle(double value, double minimum, double maximum)
{
    if (maximum <= minimum)
        return 30.0;
    return 30.0 + 300.0 * std::clamp((value - minimum) / (maximum - minimum), 0.0, 1.0);
}

// Ring and pointer with the painter's pen.
void drawRing(QPainter &painter, const QWidget *widget, double angle)
{
    const int w = widget->width();
    const int h = widget->height();
    const int radius = (h - 14) / 2;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawEllipse(ringRect(widget));
    painter.translate(7 + (w - 14) / 2, 7 + (h - 14) / 2);
    painter.rotate(angle);
    painter.drawLine(0, radius - 5, 0, radius + 5);
}

void setPenColour(QPainter &painter, const QColor &colour, int width)
{
    QPen pen = painter.pen();
    pen.setColor(colour);
    pen.setWidth(width);
    painter.setPen(pen);
}

// The mouse wheel turns the way '+' and '-' do: up is '+', no movement counts as down.
int wheelKey(const QWheelEvent *event)
{
    return event->angleDelta().y() >= 1 ? Qt::Key_Plus : Qt::Key_Minus;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------

QVexmarSwitch::QVexmarSwitch(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void QVexmarSwitch::setDisabledLook(bool on)
{
    if (on == m_disabledLook)
        return;
    m_disabledLook = on;
    update();
}

void QVexmarSwitch::paintEvent(QPaintEvent *)
{
    static const QString onPath = QStringLiteral(":/images/switch_on.png");
    static const QString offPath = QStringLiteral(":/images/switch_off.png");
    static const QString onDisabledPath = QStringLiteral(":/images/switch_on_disabled.png");
    static const QString offDisabledPath = QStringLiteral(":/images/switch_off_disabled.png");

    const bool greyed = !isEnabled() && m_disabledLook;
    const QString &path = greyed ? (isChecked() ? onDisabledPath : offDisabledPath) : (isChecked() ? onPath : offPath);
    QPainter painter(this);
    // An icon reduces a picture that is too big for the switch but never enlarges one.
    QIcon(QPixmap(path)).paint(&painter, rect(), Qt::AlignCenter, QIcon::Normal, QIcon::Off);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarKnob::QVexmarKnob(int type, QWidget *parent) : QAbstractButton(parent), m_panCapable(type != 0)
{
    setCheckable(true);
    setFocusPolicy(Qt::ClickFocus);
}

void QVexmarKnob::setMinimum(int value, const QString &text)
{
    m_minimum = value;
    m_minimumText = text;
    if (m_value < value) {
        m_value = value;
        update();
    }
}

void QVexmarKnob::setMaximum(int value, const QString &text)
{
    m_maximum = value;
    m_maximumText = text;
    if (m_value > value) {
        m_value = value;
        update();
    }
}

void QVexmarKnob::setSingleStep(int step)
{
    m_singleStep = step;
}

void QVexmarKnob::setValue(int value)
{
    const int clamped = value < m_minimum ? m_minimum : std::min(value, m_maximum);
    if (clamped == m_value)
        return;
    m_value = clamped;
    update();
    emit valueChanged(clamped);
}

void QVexmarKnob::setPanning(QVexmar::PanCtrl pan)
{
    if (!m_panCapable || pan == m_pan)
        return;
    m_pan = pan;
    update();
    emit panningChanged(pan);
}

void QVexmarKnob::addValueText(int value, const QString &text)
{
    m_valueTexts.append(qMakePair(value, text));
}

int QVexmarKnob::indexOfValue(int value) const
{
    for (int i = 0; i < m_valueTexts.size(); ++i) {
        if (m_valueTexts.at(i).first == value)
            return i;
    }
    return -1;
}

int QVexmarKnob::indexOfText(const QString &text) const
{
    for (int i = 0; i < m_valueTexts.size(); ++i) {
        if (m_valueTexts.at(i).second == text)
            return i;
    }
    return -1;
}

int QVexmarKnob::valueAt(int index) const
{
    return index >= 0 && index < m_valueTexts.size() ? m_valueTexts.at(index).first : -1;
}

QString QVexmarKnob::textAt(int index) const
{
    return index >= 0 && index < m_valueTexts.size() ? m_valueTexts.at(index).second : QString();
}

void QVexmarKnob::clearValueTexts()
{
    m_valueTexts.clear();
}

void QVexmarKnob::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Enter, Qt::NoModifier, QString(), false, 1);
        keyPressEvent(&enter);
        event->accept();
        return;
    }
    QAbstractButton::mousePressEvent(event);
}

void QVexmarKnob::wheelEvent(QWheelEvent *event)
{
    QKeyEvent press(QEvent::KeyPress, wheelKey(event), Qt::NoModifier, QString(), false, 1);
    keyPressEvent(&press);
    event->accept();
}

void QVexmarKnob::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (isChecked()) {
        if (key == Qt::Key_Plus || key == Qt::Key_Minus) {
            // 64 bits: a range may span all of int. A step that would pass a limit is not taken at all.
            const qint64 step = key == Qt::Key_Plus ? qint64(m_singleStep) : -qint64(m_singleStep);
            const qint64 next = qint64(m_value) + step;
            if (next >= m_minimum && next <= m_maximum) {
                m_value = int(next);
                update();
                emit valueChanged(m_value);
            }
            return;
        }
        if (isEnterKey(key)) {
            if (m_panCapable) {
                switch (m_pan) {
                case QVexmar::PanLeftRight:
                    m_pan = QVexmar::PanLeft;
                    break;
                case QVexmar::PanLeft:
                    m_pan = QVexmar::PanRight;
                    break;
                case QVexmar::PanRight:
                    m_pan = QVexmar::PanEqual;
                    break;
                default:
                    m_pan = QVexmar::PanLeftRight;
                    break;
                }
                update();
                emit panningChanged(m_pan);
            }
            return;
        }
    }
    postKeyToScreen(QVexmarEvent::ForwardedKeyPress, key, QVexmarEvent::FromControl);
}

void QVexmarKnob::keyReleaseEvent(QKeyEvent *event)
{
    postKeyToScreen(QVexmarEvent::ForwardedKeyRelease, event->key(), QVexmarEvent::FromControl);
}

void QVexmarKnob::focusOutEvent(QFocusEvent *event)
{
    setChecked(false);
    QAbstractButton::focusOutEvent(event);
}

QString QVexmarKnob::centreText() const
{
    if (m_value == m_minimum && !m_minimumText.isEmpty())
        return m_minimumText;
    if (m_value == m_maximum && !m_maximumText.isEmpty())
        return m_maximumText;
    const int index = indexOfValue(m_value);
    return index >= 0 ? m_valueTexts.at(index).second : QString::number(m_value);
}

void QVexmarKnob::paintEvent(QPaintEvent *)
{
    const bool active = hasFocus() && isChecked();
    const QColor ring = !isEnabled() ? disabledGrey
        : active                     ? selectedBlue
                                     : palette().color(palette().currentColorGroup(), QPalette::WindowText);
    QPainter painter(this);
    setPenColour(painter, ring, 4);
    const QRect ringArea = ringRect(this);
    painter.drawText(ringArea, Qt::AlignCenter, centreText());

    if (m_panCapable) {
        QFont markFont = painter.font();
        const int pixelSize = markFont.pixelSize() > 0 ? markFont.pixelSize() : QFontInfo(markFont).pixelSize();
        markFont.setPixelSize(std::max(1, 4 * pixelSize / 5));
        markFont.setWeight(63);
        painter.setFont(markFont);

        const int x1 = ringArea.left();
        const int x2 = ringArea.right();
        const int y2 = ringArea.bottom();
        const int w = x2 - x1 + 1;
        const int yc = 7 + (height() - 14) / 2;
        const bool plainMarks = !isEnabled() || active;
        if (m_pan != QVexmar::PanRight) {
            const bool equal = m_pan == QVexmar::PanEqual;
            setPenColour(painter, equal || plainMarks ? ring : panLeftGreen, 4);
            painter.drawText(QRect(QPoint(x1, yc), QPoint(x2 - w / 2 - 1, y2)), Qt::AlignRight | Qt::AlignVCenter,
                equal ? QStringLiteral("=") : QStringLiteral("L"));
        }
        if (m_pan != QVexmar::PanLeft) {
            const bool equal = m_pan == QVexmar::PanEqual;
            setPenColour(painter, equal || plainMarks ? ring : panRightOrange, 4);
            painter.drawText(QRect(QPoint(x1 + w / 2 + 1, yc), QPoint(x2, y2)), Qt::AlignLeft | Qt::AlignVCenter,
                equal ? QStringLiteral("=") : QStringLiteral("R"));
        }
        setPenColour(painter, ring, 4);
    }
    drawRing(painter, this, pointerAngle(m_value, m_minimum, m_maximum));
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarKnobMinimal::QVexmarKnobMinimal(QWidget *parent) : QVexmarKnob(0, parent)
{
    setMinimum(INT_MIN, QStringLiteral("m"));
    setMaximum(INT_MAX, QStringLiteral("M"));
    setSingleStep(1);
    setValue(0);
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setFocus(Qt::OtherFocusReason);
    setChecked(true);
}

void QVexmarKnobMinimal::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (m_keysEnabled && (key == Qt::Key_Plus || key == Qt::Key_Minus)) {
        emit valueChanged(key == Qt::Key_Plus ? 1 : -1);
        return;
    }
    postKeyToScreen(QVexmarEvent::ForwardedKeyPress, key, QVexmarEvent::FromControl);
}

void QVexmarKnobMinimal::focusOutEvent(QFocusEvent *event)
{
    QAbstractButton::focusOutEvent(event);
}

void QVexmarKnobMinimal::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    setPenColour(painter, Qt::black, 4);
    painter.drawText(ringRect(this), Qt::AlignCenter, QStringLiteral("0"));
    drawRing(painter, this, 0.0);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarWheel::QVexmarWheel(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::ClickFocus);
}

void QVexmarWheel::setMaximum(int maximum)
{
    m_maximum = maximum;
    if (m_value > maximum) {
        m_value = maximum;
        m_committed = maximum;
    }
}

void QVexmarWheel::setValue(int value)
{
    if (value < 0 || value > m_maximum)
        return;
    m_value = value;
    m_committed = value;
}

void QVexmarWheel::wheelEvent(QWheelEvent *event)
{
    QKeyEvent press(QEvent::KeyPress, wheelKey(event), Qt::NoModifier, QString(), false, 1);
    keyPressEvent(&press);
    event->accept();
}

void QVexmarWheel::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (isChecked() && (key == Qt::Key_Plus || key == Qt::Key_Minus)) {
        const bool up = key == Qt::Key_Plus;
        if (up ? m_value < m_maximum : m_value >= 1) {
            m_value += up ? 1 : -1;
            update();
            emit valueChanged(m_value);
        }
        return;
    }
    postKeyToScreen(QVexmarEvent::ForwardedKeyPress, key, QVexmarEvent::FromControl);
}

void QVexmarWheel::keyReleaseEvent(QKeyEvent *event)
{
    postKeyToScreen(QVexmarEvent::ForwardedKeyRelease, event->key(), QVexmarEvent::FromControl);
}

void QVexmarWheel::focusOutEvent(QFocusEvent *event)
{
    if (revertOnFocusOut && m_value != m_committed) {
        m_value = m_committed;
        update();
    }
    setChecked(false);
    QAbstractButton::focusOutEvent(event);
}

void QVexmarWheel::paintEvent(QPaintEvent *)
{
    const QColor ring = !isEnabled() ? QColor(Qt::darkGray)
        : hasFocus() && isChecked()  ? selectedBlue
                                     : palette().color(palette().currentColorGroup(), QPalette::WindowText);
    QPainter painter(this);
    setPenColour(painter, ring, 4);
    drawRing(painter, this, pointerAngle(m_value, 0, m_maximum));
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarAudio::QVexmarAudio(QWidget *parent) : QLabel(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void QVexmarAudio::setPanning(QVexmar::PanCtrl pan)
{
    if (pan == m_pan)
        return;
    m_pan = pan;
    update();
    emit panningChanged(pan);
}

void QVexmarAudio::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    QPainter painter(this);
    const auto mark = [&](const QColor &colour, Qt::Alignment side, const QString &text) {
        painter.setPen(colour);
        painter.drawText(rect(), side | Qt::AlignVCenter, text);
    };
    switch (m_pan) {
    case QVexmar::PanEqual:
        mark(Qt::white, Qt::AlignLeft, QStringLiteral("="));
        mark(Qt::white, Qt::AlignRight, QStringLiteral("="));
        break;
    case QVexmar::PanLeft:
        mark(Qt::green, Qt::AlignLeft, QStringLiteral("L"));
        break;
    case QVexmar::PanRight:
        mark(Qt::red, Qt::AlignRight, QStringLiteral("R"));
        break;
    default:
        mark(Qt::green, Qt::AlignLeft, QStringLiteral("L"));
        mark(Qt::red, Qt::AlignRight, QStringLiteral("R"));
        break;
    }
}
