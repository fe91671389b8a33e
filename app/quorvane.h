#pragma once

#include "rpc/rpcconnection.h"
#include "shell/applicationsettings.h"
#include "shell/relaylogin.h"

#include <QAbstractSocket>
#include <QColor>
#include <QList>
#include <QMainWindow>
#include <QMessageBox>
#include <QSslError>
#include <QString>

#include <functional>

class QLabel;
class QMenu;
class QAction;
class QSslSocket;
class QThread;
class QTimer;
class QVexmarWindow;
class RotatingLogFile;
class SshClient;

// The main window: the mirrored device screen, a message panel under it, the status line and the menus through
// which the user connects a known device, disconnects, manages the known devices and opens About.
class Quorvane : public QMainWindow
{
    Q_OBJECT

public:
    // Shows a question or notice box and returns the button that closed it. Tests answer through it, so that
    // they never block on a modal box.
    using MessageBoxHandler = std::function<QMessageBox::StandardButton(QMessageBox::Icon icon, const QString &title,
        const QString &text, QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)>;

    explicit Quorvane(QWidget *parent = nullptr);
    ~Quorvane() override;

    bool checkSslSupport();
    // The same on another thread: the menus that connect stay off until the TLS library is known to load.
    void checkSslSupportInBackground();
    void showStatus(const QString &text, const QColor &colour);

    QVexmarWindow *screenWindow() const { return m_screen; }
    RotatingLogFile *logFile() const { return m_logFile; }
    QTimer *reconnectTimer() const { return m_reconnectTimer; }
    const ApplicationSettings &settings() const { return m_settings; }
    void setMessageBoxHandler(const MessageBoxHandler &handler);
    // Tests point the relay login at their own relay and shorten its waits.
    void setRelayLoginOptions(const RelayLoginOptions &options) { m_relayLoginOptions = options; }
    // The SSH session of the device picked last while it exists; it lives on the SSH thread. Tests watch its reports
    // from there, before the window's queued copies of them arrive.
    SshClient *sshClient() const { return m_sshClient; }

    // Logs in to the relay for the known device: on success the settings hold the SSH user and password and the
    // device its tunnel port and "m=" text; on failure the status line says why. Blocks for the exchange.
    bool requestRelayAccess(const QString &host, KnownDevice &device);
    // Connects the known device: relay login (skipped when reconnecting, which uses the last login's credentials),
    // then the SSH session on the SSH thread; the device connection follows once the tunnel listens.
    void connectKnownDevice(int id, bool reconnect);

signals:
    void doSshStartSession();
    void doSshStopSession();
    // Each text the status line shows, as it is shown.
    void statusShown(const QString &text);

public slots:
    void sslStateChanged(QAbstractSocket::SocketState state);
    void sslEncrypted();
    void sslError(QAbstractSocket::SocketError error);
    void sslErrors(const QList<QSslError> &errors);
    void onSshLogMessage(const QString &message);
    void onSshSessionStateChanged(int state);
    void onSshReconnectRequest();
    void stateChanged(RpcConnection::ConnectionState state);
    void busyStateChanged(bool busy);
    void manageDevices();
    void updateDevices();
    void connectDevice();
    void disconnectDevice();
    void aboutClicked();
    void loginClicked(const QString &text);
    void messageClicked();
    void keyboardClosed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void setupUi();
    QMessageBox::StandardButton ask(QMessageBox::Icon icon, const QString &title, const QString &text,
        QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton);
    // Writes the configuration file and tells the user when that failed.
    bool saveConfiguration();
    // "&Recent", "&Manage devices", "&Disconnect".
    void setMenuStates(bool connectable, bool disconnectable);
    // The session is over for the screen: the device connection closed, the message panel hidden, the login page.
    void leaveSession();
    // The device connection of the communication service.
    bool deviceConnectionActive() const;
    bool openDeviceConnection(const QString &host, quint16 port);
    void closeDeviceConnection();
    quint16 tunnelListenPort() const;

    QVexmarWindow *m_screen = nullptr;
    QWidget *m_messagePanel = nullptr;
    QLabel *m_statusLabel = nullptr;
    QLabel *m_messageLabel = nullptr;
    QMenu *m_recentMenu = nullptr;
    QAction *m_disconnectAction = nullptr;
    QAction *m_manageAction = nullptr;
    QAction *m_aboutAction = nullptr;
    ApplicationSettings m_settings;
    QTimer *m_reconnectTimer = nullptr;
    QThread *m_sshThread = nullptr;
    QThread *m_sslCheck = nullptr;
    QSslSocket *m_sslSocket = nullptr;
    bool m_rpcWasActive = false;
    SshClient *m_sshClient = nullptr;
    int m_deviceId = 0;
    QString m_listenAddress;
    QString m_deviceName;
    RotatingLogFile *m_logFile = nullptr;
    MessageBoxHandler m_messageBoxHandler;
    RelayLoginOptions m_relayLoginOptions;
};

// The one main window; the message handler writes only while it is set.
extern Quorvane *g_mainWindow;

// Qt's message handler: each debug, warning, critical and fatal message becomes a line of the main window's log
// file. Safe from any thread.
void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &text);

// Size limit of one log file in bytes from the configuration's kilobytes; -1 (no limit) below 1 KB. Sizes
// beyond what an int holds are capped there.
int logFileSizeLimit(int kilobytes);

// What main() does: installs the message handler, runs the application with the main window and returns the
// event loop's exit code once the window and the process-wide services are gone.
int runQuorvane(int &argc, char **argv);
