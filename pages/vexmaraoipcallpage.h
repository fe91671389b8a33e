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

// The call page of codec line 1 or 2. For now it offers what the screen window calls: its call text, the number
// shown on its call panel and the remote number kept there per network family. Dialling, the SIP accounts and
// the level bars come with the page itself and keep this interface.
class QVexmarAoIPCallPage : public QVexmarPageWidget, public IVexmarStatusPanel, public IVexmarAudioLevels
{
    Q_OBJECT

public:
    // codec: 1 or 2.
    QVexmarAoIPCallPage(int codec, QWidget *parent = nullptr);
    ~QVexmarAoIPCallPage() override;

    // Every INFO and EVENT body that the screen window passes on.
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
    // Own codec only: the call text reads "Idle" and the panel forgets its numbers.
    void resetCallPanel(int codec) override;

    const int codec;

signals:
    void pageActivated(QVexmar::Page page);
    void showMessagePopup(const QString &text, int milliseconds);
    void hideMessagePopup();
    void audioCallStatusChanged(TComAudioConnection *connection);
    void remoteNumberChanged(QVexmar::CodecIndex index, const QString &value, TComDevice::NetworkFamily networkFamily);

private:
    QLabel *m_callTextLabel = nullptr;
    QLabel *m_callPanelLabel = nullptr;
    QString m_numbers[3]; // by network family: IP, ISDN, voice
};
