#pragma once

#include "vexmarinterfaces.h"
#include "vexmarpagewidget.h"

class QVexmarWindow;

// The home page of the device screen. For now it offers what the screen window calls; the status panel, the page
// buttons, the relay indicators and the soft keys come with the home page itself and keep this interface.
class QVexmarMainPage : public QVexmarPageWidget, public IVexmarAudioLevels, public IVexmarStatusPanel
{
    Q_OBJECT

public:
    // The window is also the page's parent.
    explicit QVexmarMainPage(QVexmarWindow *window);
    ~QVexmarMainPage() override;

    // After each login.
    void resetControls();
    // which 1 is the second indicator, any other value the first.
    void setInfoActive(int which, bool active);
    void setContactActive(int which, bool active);
    // The Voice page button and its label.
    void setVoiceVisible(bool visible);

    void setAudioLevels(const int *levels, int count, bool refresh) override;

    void setBatteryInfo(int level, int status, int remaining) override;
    void setNetworkType(int type, int index) override;
    void setCodecState(int codec, int channelMode) override;
    void setCodecDescription(int codec, const QString &text) override;
    void setNetworkUp(bool up) override;
    void setNetworkInfo(int controllerState, int signalBars) override;
    void setCodecLevels(int codec, int txLeft, int txRight, int rxLeft, int rxRight, bool refresh) override;
    void setCallText(int codec, const QString &text) override;
    void setCallState(int codec, int code) override;
    void setLineEnabled(int codec, int line, bool on) override;
    void setNetQuality(int codec, int line, int transmitQuality, int receiveQuality) override;
    void setSipState(int codec, int account, int state) override;
    // The home page keeps no numbers: always empty.
    const QString &callPanelText(int codec, int family) override;
    void setCallPanelText(int codec, const QString &text, int family) override;
    void resetCallPanel(int codec) override;

    QVexmarWindow *const window;
};
