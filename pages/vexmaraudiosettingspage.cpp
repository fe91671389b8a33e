#include "pages/vexmaraudiosettingspage.h"

#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "pages/vexmaraudioscale.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarlook.h"

#include <QLabel>
#include <QScopedValueRollback>

namespace {

using Setter = bool (TAudioSettings::*)(bool, bool);

// What each switch shows and sets; the MIC A and MIC B inputs have no filter (-1, no setter).
// clang-format off
const int gridParams[QVexmarAudioSettingsPage::rows][QVexmarAudioSettingsPage::columns] = {
    {TAudioSettings::Input1Power, TAudioSettings::Input1Limiter, TAudioSettings::Input1Filter, TAudioSettings::Input1Pad, TAudioSettings::Input1State},
    {TAudioSettings::Input2Power, TAudioSettings::Input2Limiter, TAudioSettings::Input2Filter, TAudioSettings::Input2Pad, TAudioSettings::Input2State},
    {TAudioSettings::Input3Power, TAudioSettings::Input3Limiter, -1, TAudioSettings::Input3Pad, TAudioSettings::Input3State},
    {TAudioSettings::Input4Power, TAudioSettings::Input4Limiter, -1, TAudioSettings::Input4Pad, TAudioSettings::Input4State},
};
const Setter gridSetters[QVexmarAudioSettingsPage::rows][QVexmarAudioSettingsPage::columns] = {
    {&TAudioSettings::setInput1Power, &TAudioSettings::setInput1Limiter, &TAudioSettings::setInput1Filter, &TAudioSettings::setInput1Pad, &TAudioSettings::setInput1State},
    {&TAudioSettings::setInput2Power, &TAudioSettings::setInput2Limiter, &TAudioSettings::setInput2Filter, &TAudioSettings::setInput2Pad, &TAudioSettings::setInput2State},
    {&TAudioSettings::setInput3Power, &TAudioSettings::setInput3Limiter, nullptr, &TAudioSettings::setInput3Pad, &TAudioSettings::setInput3State},
    {&TAudioSettings::setInput4Power, &TAudioSettings::setInput4Limiter, nullptr, &TAudioSettings::setInput4Pad, &TAudioSettings::setInput4State},
};
// clang-format on

enum Column { PhantomColumn, LimiterColumn, FilterColumn, PadColumn, OnColumn };
constexpr int firstDockedRow = 2;
constexpr int thresholdMinimum = -15;
constexpr int thresholdMaximum = -3;
constexpr int thresholdStep = 3;

bool gridValue(const TAudioSettings::Input &input, int column)
{
    switch (column) {
    case PhantomColumn:
        return input.power;
    case LimiterColumn:
        return input.limiter;
    case FilterColumn:
        return input.filter;
    case PadColumn:
        return input.pad;
    default:
        return input.on;
    }
}

} // namespace

QVexmarAudioSettingsPage::QVexmarAudioSettingsPage(QWidget *parent) : QVexmarPopup(parent)
{
    setupUi();
    TAudioSettings *audio = getAudioSettings();
    if (audio->state() == TComController::Loaded)
        updateControls();
    connect(
        audio, &TComController::controllerStateChanged, this, &QVexmarAudioSettingsPage::audioControllerStateChanged);
    connect(
        audio, &TAudioSettings::controllerParamChanged, this, &QVexmarAudioSettingsPage::audioControllerParamChanged);
}

void QVexmarAudioSettingsPage::setupUi()
{
    const QScopedValueRollback<bool> updating(m_updating, true);
    Look::frame(this, 980, 540);
    const QFont labelFont = Look::pixelFont(font(), 28);
    const QPalette text = palette();
    const Qt::Alignment topCentred = Qt::AlignTop | Qt::AlignHCenter;
    const QString titles[columns] = {tr("Phantom"), tr("Limiter"), tr("80Hz\nFilter"), tr("Mic/Line"), tr("On")};
    for (int column = 0; column < columns; ++column)
        Look::label(this, QRect(158 + 158 * column, 20, 158, 70), topCentred, titles[column], text, labelFont);
    Look::label(this, QRect(632, 54, 158, 70), topCentred, tr("PAD"), text, labelFont);

    const QString inputs[rows] = {tr("MIC 1"), tr("MIC 2"), tr("MIC A"), tr("MIC B")};
    QLabel *rowLabels[rows] = {};
    for (int row = 0; row < rows; ++row)
        rowLabels[row]
            = Look::label(this, QRect(0, 90 + 70 * row, 158, 70), Look::centred, inputs[row], text, labelFont);
    micALabel = rowLabels[2];
    micBLabel = rowLabels[3];
    const QPalette grey = Look::dark(palette(), QColor(127, 127, 127));
    micALabel->setPalette(grey);
    micBLabel->setPalette(grey);

    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            auto *button = new QVexmarSwitch(this);
            button->setCheckable(true);
            button->setGeometry(201 + 158 * column, 100 + 70 * row, 72, 50);
            connect(button, &QAbstractButton::clicked, this, &QVexmarAudioSettingsPage::switchClicked);
            if (row >= firstDockedRow) {
                button->setChecked(column == FilterColumn || column == OnColumn);
                button->setEnabled(false);
            }
            switches[row][column] = button;
        }
    }

    thresholdKnob = new QVexmarKnob(0, this);
    thresholdKnob->setGeometry(422, 378, 100, 100);
    thresholdKnob->setFont(Look::pixelFont(font(), 26));
    // The bottom position reads -16 while it holds, and sends, -15.
    thresholdKnob->setMinimum(thresholdMinimum, QStringLiteral("-16"));
    thresholdKnob->setMaximum(thresholdMaximum, QString());
    thresholdKnob->setSingleStep(thresholdStep);
    thresholdKnob->setValue(-9);
    connect(thresholdKnob, &QVexmarKnob::valueChanged, this, &QVexmarAudioSettingsPage::thresholdChanged);
    Look::label(this, QRect(393, 488, 158, 35), topCentred, tr("Threshold"), text, labelFont);

    backButton
        = Look::iconButton(this, QRect(width() - 2 * lineWidth() - 120, height() - 2 * lineWidth() - 90, 120, 90),
            QStringLiteral(":/images/back.png"));
    connect(backButton, &QAbstractButton::clicked, this, &QVexmarAudioSettingsPage::backButtonClicked);
}

void QVexmarAudioSettingsPage::updateControls()
{
    const QScopedValueRollback<bool> updating(m_updating, true);
    // Once docked the second pair stays usable for the popup's life.
    if (getDevice()->dockingDetected()) {
        const QPalette white = Look::dark(palette());
        micALabel->setPalette(white);
        micBLabel->setPalette(white);
        for (int row = firstDockedRow; row < rows; ++row) {
            for (int column = 0; column < columns; ++column)
                switches[row][column]->setEnabled(gridParams[row][column] >= 0);
        }
    }
    showThreshold();
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            showSwitch(row, column);
    }
}

void QVexmarAudioSettingsPage::showSwitch(int row, int column)
{
    if (gridParams[row][column] >= 0)
        switches[row][column]->setChecked(gridValue(getAudioSettings()->input(row + 1), column));
}

void QVexmarAudioSettingsPage::showThreshold()
{
    const QScopedValueRollback<bool> updating(m_updating, true);
    thresholdKnob->setValue(AudioGains::nearestPosition(getAudioSettings()->limiterThreshold(), thresholdMinimum,
        thresholdMaximum, thresholdStep, [](int position) { return position; }));
}

void QVexmarAudioSettingsPage::audioControllerStateChanged(TComController *sender)
{
    if (sender->state() == TComController::Loaded)
        updateControls();
}

void QVexmarAudioSettingsPage::audioControllerParamChanged(TComController *, TAudioSettings::CtlrParam parameter)
{
    if (parameter == TAudioSettings::LimiterThreshold) {
        showThreshold();
        return;
    }
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (gridParams[row][column] == parameter)
                showSwitch(row, column);
        }
    }
}

void QVexmarAudioSettingsPage::switchClicked(bool checked)
{
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (switches[row][column] != sender() || !gridSetters[row][column])
                continue;
            if (!(getAudioSettings()->*gridSetters[row][column])(checked, true))
                showSwitch(row, column);
            else if (column == PadColumn)
                emit padSwitched(row);
            return;
        }
    }
}

void QVexmarAudioSettingsPage::thresholdChanged(int value)
{
    if (m_updating)
        return;
    if (!getAudioSettings()->setLimiterThreshold(value, true))
        showThreshold();
}

void QVexmarAudioSettingsPage::backButtonClicked()
{
    setVisible(false);
    close();
}
