#pragma once

#include "controllers/taudiosettings.h"
#include "controllers/tcomcontroller.h"
#include "controllers/tmatrixsettings.h"
#include "device/tcomdevice.h"
#include "pages/vexmarmixerbasepage.h"
#include "widgets/vexmarinterfaces.h"
#include "widgets/vexmarpanctrl.h"

#include <QMap>

class QLabel;
class QVexmarAudioKnob;
class QVexmarAudioPadlock;
class QVexmarButton;
class QVexmarMatrixKnob;
class QVexmarMatrixNode;
class QVexmarSwitch;

// The monitoring mix ("Radio"): what the three headphones hear while they share the call signals. Per ear a
// selection of the sent and received signals of both streams and the voice call, and per headphone one knob
// that balances the sent against the received ones. The padlocks of headphones "2 / B" and "A" lock their knobs
// on the device's option word. Headphone "A" needs the docking station.
class QVexmarMixerMonitoring1Page : public QVexmarMixerBasePage
{
    Q_OBJECT

public:
    static constexpr int outputRows = 6; // outputs 6 to 11
    static constexpr int firstOutput = 6;

    explicit QVexmarMixerMonitoring1Page(QWidget *parent = nullptr);
    ~QVexmarMixerMonitoring1Page() override;

    // After each login: headphone "A" unusable, both padlocks closed, the AES67 button grey. Writes nothing.
    void resetControls();
    // The knob of the padlock's headphone is usable exactly while the padlock is open.
    void applyPadlock(QVexmarAudioPadlock *padlock, bool locked);

    QVexmarButton *radioButton = nullptr;
    // The crosspoints of output 6 + r by their input; the balance knobs and padlocks by their headphone's left
    // output. Not owned.
    QMap<int, QVexmarMatrixNode *> nodeRows[outputRows];
    QMap<int, QVexmarMatrixKnob *> balanceKnobs;
    QMap<int, QVexmarAudioPadlock *> padlocks;

private slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void audioControllerStateChanged(TComController *sender);
    void audioControllerParamChanged(TComController *sender, TAudioSettings::CtlrParam parameter);
    void matrixControllerStateChanged(TComController *sender) override;
    void matrixOptionsChanged(TMatrixSettings::MatrixOpts old);
    void matrixBalanceChanged(QVexmar::Outputs ou);
    void padlockClicked(bool checked);
    void knobValueChanged(int value);
    void mixerRadioClicked();

private:
    void setupUi();
    // The headphone's knob and crosspoints from its balance word.
    void showBalance(int left, bool withNodes);
    void readPadlocks();
};

// A headphone's own mix: one channel strip per source of the matrix with its gain, the ears it reaches and its
// level. Each touch writes the headphone's whole mix once, and the strip then shows what the device holds.
class QVexmarMixerMonitoring2Page : public QVexmarMixerBasePage, public IVexmarAudioLevels
{
    Q_OBJECT

public:
    // headphoneOutput: the headphone's left output, 6, 8 or 10 (headphones "1", "2 / B" and "A").
    explicit QVexmarMixerMonitoring2Page(int headphoneOutput, QWidget *parent = nullptr);
    ~QVexmarMixerMonitoring2Page() override;

    // After each login: the docking and AES67 inputs and, without a recorder, the Player greyed.
    void resetControls();
    void setAudioLevels(const int *levels, int count, bool reset) override;
    // The strip of input `in` (either input of a stereo strip) from the headphone's nodes. Writes nothing.
    void refreshStrip(QVexmar::Inputs in);

    const int headphoneOutput;
    QVexmarSwitch *switch1 = nullptr;
    QVexmarSwitch *switch2 = nullptr;
    QVexmarButton *radioButton = nullptr;
    // The navigation buttons of headphones "1", "2 / B" and "A".
    QVexmarButton *headphoneButtons[3] = {};
    // Every strip by its (left) input, the stereo ones also by their right input, every strip by its level
    // index. Not owned.
    QMap<int, QVexmarAudioKnob *> stripsByInput;
    QMap<int, QVexmarAudioKnob *> stripsByRightInput;
    QMap<int, QVexmarAudioKnob *> stripsByLevel;

private slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void matrixControllerStateChanged(TComController *sender) override;
    void matrixOptionsChanged(TMatrixSettings::MatrixOpts old);
    void matrixNodeChanged(QVexmar::Inputs in, QVexmar::Outputs ou) override;
    void knobGainChanged(int value);
    void knobPanningChanged(QVexmar::PanCtrl value);
    void switch1Clicked();
    void switch2Clicked();
    void mixerRadioClicked();
    void headphone1Clicked();
    void headphone2Clicked();
    void headphone3Clicked();

private:
    void setupUi();
    void applyAvailability(MixerMoment moment);
    // A usable strip is locked while a switch is on.
    void lockStrips(bool locked);
    // The strip's change as one write of the headphone's mix, then the strip as the device has it.
    void writeStrip(QVexmarAudioKnob *strip, bool gain);
};
