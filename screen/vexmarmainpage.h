#pragma once

#include "controllers/taudiosettings.h"
#include "controllers/vexmarmatrixindex.h"
#include "device/tcomdevice.h"
#include "widgets/vexmarinterfaces.h"
#include "widgets/vexmarpagewidget.h"

#include <QMap>

class QLabel;
class QVexmarButton;
class QVexmarSoftkey;
class QVexmarStatusPanel;
class QVexmarWindow;

// The home page of the device screen, shown after every login: the state and levels of both streams, the relay
// indicators, the soft keys F1-F4 as the device has them configured, and the buttons to the call, mixer, audio
// and settings pages.
class QVexmarMainPage : public QVexmarPageWidget, public IVexmarAudioLevels, public IVexmarStatusPanel
{
    Q_OBJECT

public:
    enum { functionKeys = 4, pageButtonCount = 11 };

    // The window is also the page's parent.
    explicit QVexmarMainPage(QVexmarWindow *window);
    ~QVexmarMainPage() override;

    // After each login: Voice hidden, the relay indicators off.
    void resetControls();
    // which 1 is the second indicator, any other value the first. Red while active.
    void setInfoActive(int which, bool active);
    void setContactActive(int which, bool active);
    bool isInfoActive(int which) const;
    // The Voice page button and its label.
    void setVoiceVisible(bool visible);
    // key 0..3: F1..F4 in the variant shown.
    bool isSoftKeyActive(int key) const;
    void setSoftKeyActive(int key, bool active);

    void setAudioLevels(const int *levels, int count, bool refresh) override;

    void setBatteryInfo(int level, int status, int remaining) override;
    void setNetworkType(int type, int index) override;
    void setCodecState(int codec, int channelMode) override;
    void setCodecDescription(int codec, const QString &text) override;
    void setNetworkUp(bool up) override;
    void setNetworkInfo(int controllerState, int signalBars) override;
    // Levels come through setAudioLevels.
    void setCodecLevels(int codec, int txLeft, int txRight, int rxLeft, int rxRight, bool refresh) override;
    void setCallText(int codec, const QString &text) override;
    // Also to the status bar.
    void setCallState(int codec, int code) override;
    void setLineEnabled(int codec, int line, bool on) override;
    void setNetQuality(int codec, int line, int transmitQuality, int receiveQuality) override;
    void setSipState(int codec, int account, int state) override;
    // The home page keeps no numbers: always empty.
    const QString &callPanelText(int codec, int family) override;
    void setCallPanelText(int codec, const QString &text, int family) override;
    void resetCallPanel(int codec) override;

    QVexmarWindow *const window;
    QVexmarStatusPanel *statusPanel = nullptr;
    // F1..F4 as key 0..3, in the variant shown: click, or press and release for the talk keys.
    QMap<int, QVexmarButton *> softKeyButtons;
    QVexmarButton *info1Button = nullptr;
    QVexmarButton *info2Button = nullptr;
    QVexmarButton *contact1Button = nullptr;
    QVexmarButton *contact2Button = nullptr;
    QVexmarButton *softKeyClick[functionKeys] = {};
    QVexmarButton *softKeyPush[functionKeys] = {};
    QVexmarButton *pageButtons[pageButtonCount] = {};
    QLabel *pageLabels[pageButtonCount] = {};

protected:
    // Mixer and Audio open from the Expert level on.
    void showEvent(QShowEvent *event) override;

private slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void audioControllerStateChanged(TComController *sender);
    void audioControllerParamChanged(TComController *sender, TAudioSettings::CtlrParam parameter);
    void matrixAudioConfigChanged(QVexmar::Inputs in);
    void matrixInputNameChanged(QVexmar::Inputs in);
    void softKeyFunctionChanged(QVexmarSoftkey *softKey);
    // The soft keys act on the device's own screen only.
    void function11Clicked();
    void function12Clicked();
    void function13Clicked();
    void function14Clicked();
    void function21Pressed();
    void function22Pressed();
    void function23Pressed();
    void function24Pressed();
    void function21Released();
    void function22Released();
    void function23Released();
    void function24Released();
    void page1Clicked();
    void page2Clicked();
    void page3Clicked();
    void page4Clicked();
    void page5Clicked();
    void page6Clicked();
    void page7Clicked();
    void page9Clicked();
    void page10Clicked();
    void page11Clicked();
    void page12Clicked();

private:
    void setupUi();
    // Stream 2 only on a double codec.
    void refreshStream2();
    void setIndicator(QVexmarButton *button, bool active);
};
