#pragma once

#include "device/tcomdevice.h"
#include "widgets/vexmarinterfaces.h"
#include "widgets/vexmarpageid.h"
#include "widgets/vexmarpagewidget.h"

#include <QString>

class QLineEdit;
class QVexmarBarsEx;
class QVexmarButton;
class QVexmarVoiceCallPanel;

namespace kra {
class CMsg;
}

// The call page of the voice line (codec 3): the number typed on its keypad, the line's levels, the two mobile
// modules with their SIM state and PIN entry, the choice of the module that places calls, and the buttons of the
// number history, the call book, calling or hanging up, and the home page.
class QVexmarVoiceCallPage : public QVexmarPageWidget, public IVexmarStatusPanel, public IVexmarAudioLevels
{
    Q_OBJECT

public:
    explicit QVexmarVoiceCallPage(QWidget *parent = nullptr);
    ~QVexmarVoiceCallPage() override;

    // The keys of the keypad, in row order.
    static const char *const dialKeys[12];

    // Every INFO and EVENT body that the screen window passes on: the modules take their "network_info"; events
    // mean nothing to this page.
    void handleInfo(kra::CMsg &body);
    void handleEvent(kra::CMsg &body);
    // After each login: module 1 selected, both modules blank until the device model is ready again.
    void resetControls();
    // 1 or 2; other values are ignored.
    void selectModule(int module);

    void setAudioLevels(const int *levels, int count, bool refresh) override;

    void setBatteryInfo(int level, int status, int remaining) override;
    void setNetworkType(int type, int index) override;
    void setCodecState(int codec, int channelMode) override;
    void setCodecDescription(int codec, const QString &text) override;
    void setNetworkUp(bool up) override;
    void setNetworkInfo(int controllerState, int signalBars) override;
    void setCodecLevels(int codec, int txLeft, int txRight, int rxLeft, int rxRight, bool refresh) override;
    void setCallText(int codec, const QString &text) override;
    // Codec 3: while a call is in progress or established the number cannot be edited and the call button hangs up.
    void setCallState(int codec, int code) override;
    void setLineEnabled(int codec, int line, bool on) override;
    void setNetQuality(int codec, int line, int transmitQuality, int receiveQuality) override;
    void setSipState(int codec, int account, int state) override;
    // Codec 3: family 2 is the number dialled, any other index a second text (the running call's party).
    const QString &callPanelText(int codec, int family) override;
    void setCallPanelText(int codec, const QString &text, int family) override;
    // Codec 3 only: both texts are forgotten and the line cleared.
    void resetCallPanel(int codec) override;

signals:
    void pageActivated(QVexmar::Page page);
    void showMessagePopup(const QString &text, int milliseconds);
    void hideMessagePopup();
    void audioCallStatusChanged(TComAudioConnection *connection);
    void remoteNumberChanged(QVexmar::CodecIndex index, const QString &value, TComDevice::NetworkFamily networkFamily);

private slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void dialButtonClicked();
    void historyButtonClicked();
    void historyPopupClicked();
    void bookButtonClicked();
    void callPanelClicked(int panelIndex);
    void callPanelPopupClosed();
    void callButtonClicked();
    void callPopupClosed();
    void backspaceButtonClicked();
    void remoteNumberEdited(const QString &text);
    void homeButtonClicked();

private:
    void setupUi();
    QVexmarVoiceCallPanel *panel(int module) const;
    void showSelection();

    int m_selectedModule = 1;
    QString m_remoteNumber;
    QString m_secondText;
    QLineEdit *m_numberLine = nullptr;
    QVexmarBarsEx *m_levels = nullptr;
    QVexmarVoiceCallPanel *m_panel1 = nullptr;
    QVexmarVoiceCallPanel *m_panel2 = nullptr;
    QVexmarButton *m_callButton = nullptr;
    QVexmarButton *m_homeButton = nullptr;
};
