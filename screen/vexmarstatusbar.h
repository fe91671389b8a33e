#pragma once

#include "device/tcomdevice.h"
#include "widgets/vexmarinterfaces.h"

#include <QFrame>

class QHBoxLayout;
class QLabel;
class QTimer;
class QVexmarBattery;
class QVexmarButton;
class QVexmarStatusFtp;
class QVexmarStatusNet;

namespace kra {
class CMsg;
}

// The status strip above the device screen's pages: on the left the clock, the codec lines "S1" and "S2", the
// voice line "Vo" and the two microphones; on the right the FTP upload, the network interfaces and the
// battery. The screen window feeds it through IVexmarStatusPanel and its message routing; the network
// indicators attach themselves whenever the device model has been initialised.
class QVexmarStatusBar : public QFrame, public IVexmarStatusPanel
{
    Q_OBJECT

public:
    explicit QVexmarStatusBar(QWidget *parent = nullptr);
    ~QVexmarStatusBar() override;

    // Colours a line indicator by its call-state code 0-6; any other code is grey.
    static void setCallStateColour(QWidget *indicator, int code);

    // input 0 is the device's input 1, input 1 its input 2.
    void setMicState(int input, bool on);
    void setVoiceIndicatorVisible(bool visible);
    // After each login: only ETH1 of the network indicators stays shown, all grey, no radio technology.
    void resetIndicators();
    void handleInfo(const kra::CMsg &message);
    void handleEvent(const kra::CMsg &message);

    void setBatteryInfo(int level, int status, int remaining) override;
    void setNetworkType(int type, int index) override;
    void setCodecState(int codec, int channelMode) override;
    void setCodecDescription(int codec, const QString &text) override;
    void setNetworkUp(bool up) override;
    void setNetworkInfo(int controllerState, int signalBars) override;
    void setCodecLevels(int codec, int txLeft, int txRight, int rxLeft, int rxRight, bool refresh) override;
    void setCallText(int codec, const QString &text) override;
    // codec 1 is "S1", 2 "S2", any other "Vo".
    void setCallState(int codec, int code) override;
    void setLineEnabled(int codec, int line, bool on) override;
    void setNetQuality(int codec, int line, int transmitQuality, int receiveQuality) override;
    void setSipState(int codec, int account, int state) override;
    const QString &callPanelText(int codec, int family) override;
    void setCallPanelText(int codec, const QString &text, int family) override;
    void resetCallPanel(int codec) override;

private slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void updateClockLabel();

private:
    void setupUi();
    QVexmarStatusNet *addNetIndicator(
        const char *objectName, const std::string &interfaceName, const QString &name, const QFont &font);

    int m_lineCode1 = 0;
    int m_lineCode2 = 0;
    int m_voiceCode = 0;
    bool m_mic1On = false;
    bool m_mic2On = false;
    QHBoxLayout *m_mainLayout = nullptr;
    QHBoxLayout *m_leftLayout = nullptr;
    QHBoxLayout *m_rightLayout = nullptr;
    QTimer *m_clockTimer = nullptr;
    QLabel *m_clockLabel = nullptr;
    QVexmarButton *m_s1Indicator = nullptr;
    QVexmarButton *m_s2Indicator = nullptr;
    QVexmarButton *m_voiceIndicator = nullptr;
    QVexmarButton *m_mic1Button = nullptr;
    QVexmarButton *m_mic2Button = nullptr;
    QVexmarStatusNet *m_eth1Indicator = nullptr;
    QVexmarStatusNet *m_eth2Indicator = nullptr;
    QVexmarStatusNet *m_mob1Indicator = nullptr;
    QVexmarStatusNet *m_mob2Indicator = nullptr;
    QVexmarStatusNet *m_wifi1Indicator = nullptr;
    QVexmarStatusFtp *m_ftpIndicator = nullptr;
    int m_batteryLevel = 0;
    int m_batteryStatus = 0;
    int m_batteryMinutes = -1;
    QLabel *m_batteryTimeLabel = nullptr;
    QLabel *m_batteryPercentLabel = nullptr;
    QVexmarBattery *m_batteryIcon = nullptr;
};
