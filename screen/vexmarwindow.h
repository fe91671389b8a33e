#pragma once

#include "controllers/taudiosettings.h"
#include "device/tcomdevice.h"
#include "rpc/rpcconnection.h"
#include "rpc/rpcmessage.h"
#include "rpc/rpcnotificationqueue.h"
#include "widgets/vexmarinterfaces.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarpageid.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <map>
#include <string>

class QStackedLayout;
class QTimer;
class QVBoxLayout;
class QVexmarAoIPCallPage;
class QVexmarAudioPage;
class QVexmarEditorPage;
class QVexmarFolderPage;
class QVexmarLoginPage;
class QVexmarMainPage;
class QVexmarMenuItem;
class QVexmarMixerInputPage;
class QVexmarMixerMonitoring1Page;
class QVexmarMixerMonitoring2Page;
class QVexmarMixerOutput1Page;
class QVexmarMixerOutput2Page;
class QVexmarRecordingPage;
class QVexmarSettingsPage;
class QVexmarStatusBar;
class QVexmarVoiceCallPage;

namespace kra {
class CMsg;
}

// The mirrored device screen, 1280 x 720: the status bar over a stack of every page of the device screen. It
// routes the device's notifications to the model, the controllers and the pages, sets the model and the
// controllers up after each connection, keeps the connection alive, and shows the device's notices in popups.
class QVexmarWindow : public QWidget, public IVexmarMessages
{
    Q_OBJECT

public:
    enum ConfirmAction { NoAction = -1, ShutdownAction = 0 };
    enum Timing { setupDelayMs = 100, setupIntervalMs = 5000, keepAliveIntervalMs = 15000, livenessTimeoutMs = 5000 };
    // Ticks with the AES67 reset flag set before the reset is sent again, once.
    enum { aes67ResetTicks = 4 };

    // The first frame shows the login page alone: LoginPageFirst builds the other pages right after it, or as soon
    // as something needs them (a page accessor, a connection to the device).
    enum PageBuild { AllPages, LoginPageFirst };

    explicit QVexmarWindow(QWidget *parent = nullptr, PageBuild build = AllPages);
    ~QVexmarWindow() override;

    // Builds the pages after the login page, once; every page is in the stack when it returns.
    void buildRemainingPages();

    // Closes a message popup and asks the question; OK runs the action.
    void showConfirmPopup(int action, const QString &text);
    // The last levels to the visible page, when it shows levels.
    void dispatchAudioLevels(bool refresh);
    // Network, codec, SIP and call state of the visible page's panel and of the status bar.
    void updateStatusPanel();
    // One codec of the panel (null: the status bar alone); codec 3 is the voice line.
    void updateCodecStatus(IVexmarStatusPanel *panel, int codec);
    // 0 idle, 1 registered over IP, 2 registered over another family, 3 not registered with a reason.
    int sipAccountState(int account) const;
    // A queued INFO and EVENT message.
    void handleDeviceEvent(RpcMessage &message);
    void handleSystemEvent(RpcMessage &message);
    void applyRemoteNumbers(const kra::CMsg &body);
    // After each login: the device's name to the main window, every page back to its start, the set-up again.
    void applyAccessLevel();

    int currentPage() const { return m_currentPage; }
    QVexmarStatusBar *statusBar() const
    {
        ensurePages();
        return m_statusBar;
    }
    QStackedLayout *pageStack() const;
    QVexmarLoginPage *loginPage() const { return m_loginPage; }
    QVexmarMainPage *mainPage() const;
    // codec 1 or 2.
    QVexmarAoIPCallPage *aoipCallPage(int codec) const;
    QVexmarVoiceCallPage *voiceCallPage() const;
    QVexmarSettingsPage *settingsPage() const;
    QVexmarMessage *messagePopup() const { return m_messagePopup; }
    int pendingAction() const { return m_pendingAction; }
    QTimer *setupTimer() const { return m_setupTimer; }
    QTimer *keepAliveTimer() const { return m_keepAliveTimer; }
    int deferredMessages() const { return m_deferred.size(); }
    // Test seam: how long the keep-alive's liveness request waits for the device; the program never changes it.
    void setLivenessTimeout(int milliseconds) { m_livenessTimeoutMs = milliseconds; }

signals:
    // The login page logged in; the text goes to the main window's message panel.
    void loginClicked(const QString &deviceName);

public slots:
    void remoteNumberChanged(QVexmar::CodecIndex index, const QString &value, TComDevice::NetworkFamily networkFamily);
    void audioControllerStateChanged(TComController *sender);
    void audioControllerParamChanged(TComController *sender, TAudioSettings::CtlrParam parameter);
    void pageActivated(QVexmar::Page page);
    void messagePopupClosed();
    void setupControllers();
    void copyMonitoringClicked(qlonglong position);
    void menuItemChanges(QVexmarMenuItem *item, int contextId);
    void deviceStateChanged(TComDevice::DeviceState state);
    void connectionAdded(TComBaseConnection *sender);
    void connectionRemoved(TComBaseConnection *sender);
    void dataConnectionStateChanged(TComDataConnection *sender);
    void audioConnectionStateChanged(TComAudioConnection *sender);
    void audioCallStatusChanged(TComAudioConnection *sender);
    void audioCallStatisticChanged(TComAudioConnection *sender);
    void audioCallRelayChanged(TComAudioConnection *sender);
    void sendSyncMsgCompleted();
    void processDeferredMessages();
    void keepAliveEvent();
    void startInitialization();
    // The device connection's state, from the communication service.
    void stateChanged(RpcConnection::ConnectionState state);
    void messageReceived(const RpcMessage &message);
    // 0 ms: the popup stays until it is touched. Ignored while a confirmation is pending.
    void showMessagePopup(const QString &message, int milliseconds) override;
    void showMessagePopup(const QString &message);
    void hideMessagePopup();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void customEvent(QEvent *event) override;
    // The screen reacts to no key of its own, so keys posted to it by the main window end here.
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    // The layout, the status bar, the stack and the login page; then the other pages, in the order of their ids.
    void buildLoginPage();
    void buildPagesAfterLogin();
    void ensurePages() const;
    // Handles the head of the queue, unless a handler runs already or a synchronous call waits: a handler's own
    // requests would be refused inside another call's wait. False when nothing was handled.
    bool handleNextMessage();
    // Drains the queue in a later turn of the event loop.
    void scheduleDrain();
    // Sends the remote numbers that a synchronous call held back.
    void sendPendingRemoteNumbers();
    bool sendRemoteNumber(const std::string &key, const std::string &value);
    // The model and the controllers back to nothing known, as after a drop of the connection.
    void resetDevice();
    IVexmarStatusPanel *currentPanel() const;
    // The call page of a codec as its panel: 1 and 2 the AoIP pages, any other the voice page.
    IVexmarStatusPanel *callPagePanel(int codec) const;
    // The idle call state of a codec: 0 nothing to call on, 1 no number, 2 a number.
    int idleCallState(int codec) const;
    // The line's quality and enabled state from a call, or reset when up is false.
    void setLines(IVexmarStatusPanel *panel, int codec, const TComAudioConnection *call, bool up);

    int m_pendingAction = NoAction;
    int m_currentPage = QVexmar::LoginPage;
    QTimer *m_keepAliveTimer = nullptr;
    QTimer *m_setupTimer = nullptr;
    int m_levels[31];
    RpcNotificationQueue m_deferred;
    bool m_handlingMessage = false;
    bool m_drainScheduled = false;
    // Key -> last value of the remote numbers that waited for a synchronous call to end.
    std::map<std::string, std::string> m_pendingRemoteNumbers;
    int m_aes67ResetTicks = 0;
    bool m_pagesBuilt = false;
    int m_livenessTimeoutMs = livenessTimeoutMs;

    QVBoxLayout *m_layout = nullptr;
    QVexmarStatusBar *m_statusBar = nullptr;
    QStackedLayout *m_stack = nullptr;
    QVexmarLoginPage *m_loginPage = nullptr;
    QVexmarMainPage *m_mainPage = nullptr;
    QVexmarAoIPCallPage *m_aoipCallPage1 = nullptr;
    QVexmarAoIPCallPage *m_aoipCallPage2 = nullptr;
    QVexmarVoiceCallPage *m_voiceCallPage = nullptr;
    QVexmarAudioPage *m_audioPage = nullptr;
    QVexmarMixerInputPage *m_mixerInputPage = nullptr;
    QVexmarMixerOutput1Page *m_mixerOutput1Page = nullptr;
    QVexmarMixerOutput2Page *m_mixerOutput2Page = nullptr;
    QVexmarMixerMonitoring1Page *m_monitoring1Page = nullptr;
    QVexmarMixerMonitoring2Page *m_monitoring2Pages[3] = {};
    QVexmarFolderPage *m_folderPage = nullptr;
    QVexmarRecordingPage *m_recordingPage = nullptr;
    QVexmarEditorPage *m_editorPage = nullptr;
    QVexmarSettingsPage *m_settingsPage = nullptr;
    QPointer<QVexmarMessage> m_messagePopup;
};
