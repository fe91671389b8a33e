#include "widgets/vexmaraudioknob.h"

#include "widgets/vexmarbars.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarlook.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

const QColor disabledGrey(127, 127, 127);

// Along one axis: an image smaller than the widget is centred (its extent may grow by one pixel to keep both
// margins equal); a larger one fills the whole axis.
void placeAxis(int size, int imageSize, int &start, int &extent)
{
    if (imageSize <= size - 1) {
        const int margin = (size - imageSize) / 2;
        start = margin;
        extent = size - 2 * margin;
    } else {
        start = 0;
        extent = size;
    }
}

} // namespace

QVexmarAudioPadlock::QVexmarAudioPadlock(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
}

void QVexmarAudioPadlock::paintEvent(QPaintEvent *)
{
    static const QString openPath = QStringLiteral(":/images/padlock_open.png");
    static const QString closedPath = QStringLiteral(":/images/padlock_close.png");
    const QPixmap image(isChecked() ? openPath : closedPath);
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    placeAxis(width(), image.width(), x, w);
    placeAxis(height(), image.height(), y, h);
    QPainter painter(this);
    painter.drawPixmap(QRect(x, y, w, h), image);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarAudioKnob::QVexmarAudioKnob(int panMode, QWidget *parent) : QWidget(parent), m_panMode(panMode)
{
    setFixedSize(150, 160);
    const QFont font = Look::pixelFont(this->font(), 26);

    m_name = new QLabel(this);
    m_name->setGeometry(25, 0, 125, 60);
    m_name->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    m_name->setWordWrap(true);
    m_name->setFont(font);

    m_knob = new QVexmarKnob(m_panMode, this);
    m_knob->setGeometry(38, 60, 100, 100);
    m_knob->setFont(font);
    connect(m_knob, &QVexmarKnob::valueChanged, this, &QVexmarAudioKnob::gainChanged);
    connect(m_knob, &QVexmarKnob::panningChanged, this, &QVexmarAudioKnob::panningChanged);

    m_bars = new QVexmarBars(this);
    m_bars->setGeometry(0, 60, 25, 100);
    m_bars->setVertical(true);
    m_bars->setStereo(1);
}

void QVexmarAudioKnob::setState(int state)
{
    if (state == m_state)
        return;
    m_state = state;
    if (state == 2)
        Look::setTextColour(m_name, disabledGrey);
    else if (state != 1)
        Look::setTextColour(m_name, Qt::white);
    m_knob->setEnabled(state == 0);
}

void QVexmarAudioKnob::setStereo(int stereo)
{
    if (stereo == m_bars->stereo())
        return;
    m_bars->setStereo(stereo);
    if (stereo == 1)
        m_bars->setGeometry(0, 60, 25, 100);
    else
        m_bars->setGeometry(13, 60, 12, 100);
}

void QVexmarAudioKnob::setLevels(int left, int right, bool reset)
{
    if (m_bars->stereo() != 0)
        m_bars->setLevels(left, right, reset);
    else
        m_bars->setLevel(left, reset);
}

void QVexmarAudioKnob::setText(const QString &text)
{
    m_name->setText(text);
}

void QVexmarAudioKnob::setPanning(QVexmar::PanCtrl pan)
{
    m_knob->setPanning(pan);
}

void QVexmarAudioKnob::setMinimum(int value, const QString &text)
{
    m_knob->setMinimum(value, text);
}

void QVexmarAudioKnob::setMaximum(int value, const QString &text)
{
    m_knob->setMaximum(value, text);
}

void QVexmarAudioKnob::setValue(int value)
{
    m_knob->setValue(value);
}

void QVexmarAudioKnob::addValueText(int value, const QString &text)
{
    m_knob->addValueText(value, text);
}

int QVexmarAudioKnob::indexOfValue(int value) const
{
    return m_knob->indexOfValue(value);
}

int QVexmarAudioKnob::indexOfText(const QString &text) const
{
    return m_knob->indexOfText(text);
}

int QVexmarAudioKnob::valueAt(int position) const
{
    return m_knob->valueAt(position);
}

QString QVexmarAudioKnob::textAt(int position) const
{
    return m_knob->textAt(position);
}

void QVexmarAudioKnob::clearValueTexts()
{
    m_knob->clearValueTexts();
}

void QVexmarAudioKnob::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
}

void QVexmarAudioKnob::gainChanged(int value)
{
    emit knobGainChanged(value);
}

void QVexmarAudioKnob::panningChanged(QVexmar::PanCtrl value)
{
    emit knobPanningChanged(value);
}
