#pragma once

#include "tcomdevice.h"
#include "vexmarinterfaces.h"
#include "vexmarpageid.h"
#include "vexmarpagewidget.h"

#include <QString>

class QLabel;

namespace kra {
class CMsg;
}

// The call page of the voice line (codec 3). For now it offers what the screen window calls: the dial number it
// shows and keeps per network family. Dialling and the mobile panels come with the page itself and keep this
// interface.
class QVexmarVoiceCallPage : public QVexmarPageWidget, public IVexmarStatusPanel, public IVexmarAudioLevels
{
    Q_OBJECT

public:
    explicit QVexmarVoiceCallPage(QWidget *parent = nullptr);
    ~QVexmarVoiceCallPage() override;

    // Every INFO and EVENT body that the screen window passes on; events mean nothing to this page.
    void handleInfo(kra::CMsg &body);
    void handleEvent(kra::CMsg &body);
    // After each login.
    void resetControls();

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
    const QString &callPanelText(int codec, int family) override;
    void setCallPanelText(int codec, const QString &text, int family) override;
    // Codec 3 only: the dial number is forgotten and its line cleared.
    void resetCallPanel(int codec) override;

signals:
    void pageActivated(QVexmar::Page page);
    void showMessagePopup(const QString &text, int milliseconds);
    void hideMessagePopup();
    void audioCallStatusChanged(TComAudioConnection *connection);
    void remoteNumberChanged(QVexmar::CodecIndex index, const QString &value, TComDevice::NetworkFamily networkFamily);

private:
    QLabel *m_dialLine = nullptr;
    QString m_numbers[3]; // by network family: IP, ISDN, voice
};
