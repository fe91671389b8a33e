#pragma once

#include "device/tcomdevice.h"
#include "widgets/vexmarinterfaces.h"
#include "widgets/vexmarpageid.h"
#include "widgets/vexmarpagewidget.h"

#include <QHash>
#include <QList>
#include <QString>

class QLabel;
class QVexmarAoIPCallPanel;
class QVexmarBarsEx;
class QVexmarButton;
class QVexmarSipAccountPanel;
class TComNetworkController;

namespace kra {
class CMsg;
}

// The call page of codec line 1 or 2 ("Streamer 1", "Streamer 2"): the call panel that dials and hangs up, the
// line's levels, the two SIP accounts, the primary and secondary network interface with an indicator each, and the
// popups of the dial pad, the number history, the running call's coding and the interface choice.
class QVexmarAoIPCallPage : public QVexmarPageWidget, public IVexmarStatusPanel, public IVexmarAudioLevels
{
    Q_OBJECT

public:
    enum Side { PrimarySide = 1, SecondarySide = 2 };

    // codec: 1 or 2.
    QVexmarAoIPCallPage(int codec, QWidget *parent = nullptr);
    ~QVexmarAoIPCallPage() override;

    // Every INFO and EVENT body that the screen window passes on: the interface controllers take theirs.
    void handleInfo(kra::CMsg &body);
    void handleEvent(kra::CMsg &body);
    // After each login; the page has nothing to put back.
    void resetControls();

    void setAudioLevels(const int *levels, int count, bool refresh) override;

    void setBatteryInfo(int level, int status, int remaining) override;
    void setNetworkType(int type, int index) override;
    void setCodecState(int codec, int channelMode) override;
    // The upper line of the call panel.
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

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void deviceStateChanged(TComDevice::DeviceState state);
    void netInterfaceButtonClicked();
    void netInterfacePopupClosed();
    void callPanelClicked();
    void callPopupClosed();
    void bookButtonClicked();
    void codingButtonClicked();
    void codingPopupClosed();
    void historyButtonClicked();
    void historyPopupClicked();
    void dialButtonClicked();
    void dialPopupClosed();
    void networkButtonClicked();
    void statusButtonClicked();
    void homeButtonClicked();

private:
    // One network interface the line calls over, with its own controller for the indicator. A controller's
    // request waits in a nested event loop, in which a network change may replace that very controller.
    struct Interface
    {
        TComNetworkController *controller = nullptr; // a child of the page
        QVexmarButton *button = nullptr;
        int pendingCode = -1; // a change that came while a rebuild waited
    };
    // Keeps a controller alive while one of its requests runs.
    class ControllerUse;

    void setupUi();
    Interface &side(int which) { return which == SecondarySide ? m_secondary : m_primary; }
    void updateInterface(int which, int networkCode);
    void rebuildInterface(int which, int networkCode);
    void updateInterfaceIndicator(int which);
    // A notification to the interface controllers of both sides, until one takes it.
    void routeToControllers(kra::CMsg &body, bool (TComController::*handle)(RpcMessage &));
    // Deleted once no request of it runs.
    void releaseController(TComNetworkController *controller);
    // The device is ready with a default network and the line has no call.
    bool lineFree() const;

    QVexmarBarsEx *m_levels = nullptr;
    QVexmarAoIPCallPanel *m_callPanel = nullptr;
    QLabel *m_callTextLabel = nullptr;
    QLabel *m_titleLabel = nullptr;
    QVexmarSipAccountPanel *m_sipAccount1 = nullptr;
    QVexmarSipAccountPanel *m_sipAccount2 = nullptr;
    Interface m_primary;
    Interface m_secondary;
    QVexmarButton *m_homeButton = nullptr;

    bool m_rebuilding = false;
    QHash<TComNetworkController *, int> m_requestsRunning;
    QList<TComNetworkController *> m_released;
};
