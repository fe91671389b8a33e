#pragma once

#include "controllers/taudiosettings.h"
#include "controllers/vexmarmatrixindex.h"
#include "device/tcomdevice.h"
#include "widgets/vexmarinterfaces.h"
#include "widgets/vexmarpageid.h"
#include "widgets/vexmarpagewidget.h"

#include <QMap>

class QVexmarAudioKnob;
class QVexmarAudioPadlock;
class QVexmarButton;

// The gains of the audio page: the four analog inputs, the two line outputs, the eleven digital inputs and the
// three master gains, one channel strip each, with a padlock under each analog input. The strips show the audio
// and matrix settings; only a touch writes to the device, and what the device refuses springs back.
class QVexmarAudioPage : public QVexmarPageWidget, public IVexmarAudioLevels
{
    Q_OBJECT

public:
    explicit QVexmarAudioPage(QWidget *parent = nullptr);
    ~QVexmarAudioPage() override;

    // After each login: only MIC 1, MIC 2 and the master gains available, every padlock closed.
    void resetControls();
    void setAudioLevels(const int *levels, int count, bool refresh) override;

    QVexmarButton *homeButton = nullptr;
    QVexmarButton *settingsButton = nullptr;
    // By matrix input (0-14), by output (0, 2, 4 the masters, 12 and 13 the lines), by level index; not owned.
    QMap<int, QVexmarAudioKnob *> inputKnobs;
    QMap<int, QVexmarAudioKnob *> outputKnobs;
    QMap<int, QVexmarAudioKnob *> levelKnobs;
    // By analog input 0-3.
    QMap<int, QVexmarAudioPadlock *> padlocks;

signals:
    void pageActivated(QVexmar::Page page);

private slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void audioControllerStateChanged(TComController *sender);
    void audioControllerParamChanged(TComController *sender, TAudioSettings::CtlrParam parameter);
    void matrixControllerStateChanged(TComController *sender);
    void matrixInputGainChanged(QVexmar::Inputs in);
    void matrixOutputGainChanged(QVexmar::Outputs ou);
    void knobGainChanged(int value);
    void padlockClicked(bool checked);
    void settingsButtonClicked();
    void homeButtonClicked();
    // The settings popup switched an input's PAD: the attenuation of its new scale.
    void padSwitched(int input);

private:
    void setupUi();
    // The knob of an analog input from its gain (mic) or level (line); nothing while the input is in the other
    // mode.
    void updateAnalogInput(int input, bool line);
    // The scale of the input's current mode, then its value.
    void setupAnalogKnob(int input);
    void lockKnob(QVexmarAudioPadlock *padlock, bool locked);
    // The padlocks from the device's option word.
    void readPadlocks();
    void showLineout(int output);
    void showInputGain(int input);
    void showOutputGain(int output);
    // A strip's state from its availability and, for an analog input, its padlock.
    void applyState(QVexmarAudioKnob *strip);
    void setValueQuietly(QVexmarAudioKnob *strip, int position);

    // By strip (table row): what the device's facts leave usable.
    bool m_available[20] = {};
    // Set while controls take the model's values: their signals are no touch.
    bool m_updating = false;
};
