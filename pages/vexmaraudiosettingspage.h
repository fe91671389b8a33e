#pragma once

#include "controllers/taudiosettings.h"
#include "widgets/vexmarpopup.h"

class QLabel;
class QVexmarButton;
class QVexmarKnob;
class QVexmarSwitch;

// The hardware of the four analog inputs: phantom power, limiter, 80 Hz filter, mic/line (PAD) and on, one row
// per input, and the limiter threshold of all four. Each touch writes at once; the popup follows the device while
// it is open, and what the device refuses springs back.
class QVexmarAudioSettingsPage : public QVexmarPopup
{
    Q_OBJECT

public:
    enum { rows = 4, columns = 5 };

    explicit QVexmarAudioSettingsPage(QWidget *parent = nullptr);

    QVexmarButton *backButton = nullptr;
    QLabel *micALabel = nullptr;
    QLabel *micBLabel = nullptr;
    QVexmarKnob *thresholdKnob = nullptr;
    // Rows MIC 1, MIC 2, MIC A, MIC B; columns Phantom, Limiter, 80 Hz filter, Mic/Line, On.
    QVexmarSwitch *switches[rows][columns] = {};

signals:
    // The device took a touch of an input's Mic/Line switch; input 0-3.
    void padSwitched(int input);

private slots:
    void audioControllerStateChanged(TComController *sender);
    void audioControllerParamChanged(TComController *sender, TAudioSettings::CtlrParam parameter);
    void switchClicked(bool checked);
    void thresholdChanged(int value);
    void backButtonClicked();

private:
    void setupUi();
    void updateControls();
    void showSwitch(int row, int column);
    void showThreshold();

    // Set while the controls take the model's values: their signals are no touch.
    bool m_updating = false;
};
