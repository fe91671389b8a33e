#include "app/quorvane.h"

#include "app/managedevicesdialog.h"
#include "app/quorvanedialog.h"
#include "app/quorvaneversion.h"
#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "rpc/ccom.h"
#include "rpc/logescape.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"
#include "screen/vexmarwindow.h"
#include "shell/rotatinglogfile.h"
#include "shell/sshclient.h"
#include "widgets/screenpointer.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmaricon.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarplaintext.h"
#include "widgets/vexmarvirtual.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFrame>
#include <QHostAddress>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QReadWriteLock>
#include <QSslSocket>
#include <QStatusBar>
#include <QThread>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

#include <limits>

Quorvane *g_mainWindow = nullptr;

namespace {

const int kReconnectMsecs = 10000;
// The relay's SSH service, unless the configuration names another port.
const int kDefaultSshPort = 234;
// The key the message button hands to the device screen.
const int kMessageButtonKey = 0x101;
// Shows a text on the device's own display.
const std::string kDisplayAction = "display";
const std::string kDisplayMessageKey = "message";
const int kMessageTimeoutMsecs = 5000;
// The device's RPC port at the near end of the tunnel.
const quint16 kDevicePort = 7001;

// Guards g_mainWindow against a thread that logs while the window goes: writers hold it for reading, the window
// takes it for writing to set or clear the pointer, so the log file is never deleted under a writer.
QReadWriteLock &logLock()
{
    static QReadWriteLock lock(QReadWriteLock::Recursive);
    return lock;
}

void setMainWindowOfLog(Quorvane *window)
{
    QWriteLocker locker(&logLock());
    g_mainWindow = window;
}

// A plain horizontal rule as the style draws it, filled instead of stroked: the style's stroke of a line across the
// window takes a third of a millisecond of the first frame.
class PlainLine final : public QFrame
{
public:
    explicit PlainLine(QWidget *parent) : QFrame(parent)
    {
        setFrameShape(QFrame::HLine);
        setFrameShadow(QFrame::Plain);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(0, height() / 2, width(), lineWidth(), palette().brush(foregroundRole()));
    }
};

// The menu bar's style strokes a shadow line under the bar and under each entry, a tenth of a millisecond each with
// its path rasterizer. On the black window the line is as black as the bar: the bar is only filled.
class MenuBarStyle final : public QProxyStyle
{
public:
    void drawControl(
        ControlElement element, const QStyleOption *option, QPainter *painter, const QWidget *widget) const override
    {
        if (element == CE_MenuBarEmptyArea && option->palette.window().color() == Qt::black)
            painter->fillRect(option->rect, option->palette.window());
        else
            QProxyStyle::drawControl(element, option, painter, widget);
    }
};

QFrame *plainLine(QWidget *parent)
{
    return new PlainLine(parent);
}

} // namespace

void messageHandler(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    QReadLocker locker(&logLock());
    if (!g_mainWindow || !g_mainWindow->logFile())
        return;
    const QByteArray line = formatLogLine(type, text, QTime::currentTime());
    if (!line.isEmpty())
        g_mainWindow->logFile()->write(line);
}

int logFileSizeLimit(int kilobytes)
{
    const qint64 bytes = qint64(kilobytes) * 1024;
    if (bytes < 1)
        return -1;
    return int(qMin<qint64>(bytes, std::numeric_limits<int>::max()));
}

Quorvane::Quorvane(QWidget *parent) : QMainWindow(parent), m_settings(configurationFilePath())
{
    m_reconnectTimer = new QTimer(this);
    m_sshThread = new QThread(this);

    if (objectName().isEmpty())
        setObjectName(QStringLiteral("Quorvane"));
    // Before any child: a child made earlier would lay itself out, and load a font, for the look it then loses.
    QPalette windowPalette = palette();
    windowPalette.setBrush(QPalette::All, QPalette::Window, QBrush(Qt::black));
    windowPalette.setBrush(QPalette::All, QPalette::WindowText, QBrush(Qt::white));
    setPalette(windowPalette);
    QFont windowFont = font();
    windowFont.setFamily(QStringLiteral("Arial"));
    windowFont.setWeight(QFont::Bold);
    windowFont.setPixelSize(14);
    setFont(windowFont);
    resize(1280, 720);
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralwidget"));
    setCentralWidget(central);
    auto *menubar = new QMenuBar(this);
    menubar->setObjectName(QStringLiteral("menubar"));
    auto *menuBarStyle = new MenuBarStyle;
    menuBarStyle->setParent(menubar);
    menubar->setStyle(menuBarStyle);
    menubar->setGeometry(QRect(0, 0, 1280, 21));
    setMenuBar(menubar);
    auto *statusbar = new QStatusBar(this);
    statusbar->setObjectName(QStringLiteral("statusbar"));
    setStatusBar(statusbar);
    setWindowTitle(QStringLiteral("Quorvane"));
    QMetaObject::connectSlotsByName(this);

    createMenus();
    setupUi();

    connect(m_screen, &QVexmarWindow::loginClicked, this, &Quorvane::loginClicked);
    connect(getCom(), &kra::CCom::stateChanged, this, &Quorvane::stateChanged);
    connect(getCom(), &kra::CCom::busyStateChanged, this, &Quorvane::busyStateChanged);
    connect(m_reconnectTimer, &QTimer::timeout, this, &Quorvane::onSshReconnectRequest);

    // The log's settings come from the file, so the file is read before the log opens and what the read found
    // is reported once it is open.
    const bool configured = QFile::exists(m_settings.configPath);
    if (configured)
        m_settings.readConfiguration();

    m_logFile = new RotatingLogFile(QStringLiteral("MyQuorvaneRE"));
    m_logFile->maxSize = logFileSizeLimit(m_settings.logMaxSize);
    m_logFile->setMaxFiles(m_settings.logMaxFiles);
    m_logFile->open(logDirectoryPath());

    setMainWindowOfLog(this);

    if (configured) {
        m_settings.logReadProblems();
        const QString copyPath = m_settings.unreadFileCopyPath();
        if (!copyPath.isEmpty())
            showStatus(tr("The configuration file could not be read whole; it will be kept as <%1> before it is saved")
                           .arg(copyPath),
                Qt::red);
    } else if (!m_settings.writeConfiguration()) {
        showStatus(tr("Failed to save the configuration file <%1>").arg(m_settings.configPath), Qt::red);
    }
}

Quorvane::~Quorvane()
{
    if (m_sslCheck)
        m_sslCheck->wait();
    disconnect(m_reconnectTimer, nullptr, this, nullptr);
    disconnect(m_sshThread, nullptr, this, nullptr);
    disconnect(m_screen, nullptr, this, nullptr);
    disconnect(getCom(), nullptr, this, nullptr);
    if (m_sshClient) {
        m_sshClient->disconnect();
        disconnect(this, nullptr, m_sshClient, nullptr);
        m_sshClient->deleteLater();
        m_sshClient = nullptr;
    }
    m_sshThread->quit();
    m_sshThread->wait();
    setMainWindowOfLog(nullptr);
    delete m_logFile;
    m_logFile = nullptr;
}

void Quorvane::createMenus()
{
    m_recentMenu = menuBar()->addMenu(tr("&Recent"));
    m_recentMenu->setObjectName(QStringLiteral("recentMenu"));
    m_recentMenu->setEnabled(false);
    connect(m_recentMenu, &QMenu::aboutToShow, this, &Quorvane::updateDevices);

    m_disconnectAction = menuBar()->addAction(tr("&Disconnect"));
    m_disconnectAction->setObjectName(QStringLiteral("disconnectAction"));
    m_disconnectAction->setEnabled(false);
    connect(m_disconnectAction, &QAction::triggered, this, &Quorvane::disconnectDevice);

    m_manageAction = menuBar()->addAction(tr("&Manage devices"));
    m_manageAction->setObjectName(QStringLiteral("manageAction"));
    m_manageAction->setEnabled(false);
    connect(m_manageAction, &QAction::triggered, this, &Quorvane::manageDevices);

    m_aboutAction = menuBar()->addAction(tr("?"));
    m_aboutAction->setObjectName(QStringLiteral("aboutAction"));
    connect(m_aboutAction, &QAction::triggered, this, &Quorvane::aboutClicked);
}

void Quorvane::setupUi()
{
    setWindowTitle(QStringLiteral("%1 - Version %2")
                       .arg(QStringLiteral(QUORVANE_PRODUCT_TITLE), QStringLiteral(QUORVANE_PRODUCT_VERSION)));
    setFixedSize(1280, 855);

    // Menu bar entries are drawn in the button text colour, which the black window would hide.
    QPalette menuPalette = menuBar()->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        menuPalette.setBrush(group, QPalette::ButtonText, QBrush(Qt::white));
    menuBar()->setPalette(menuPalette);
    // It names devices and hosts from the configuration.
    m_statusLabel = plainTextLabel(new QLabel(tr("No active connection"), this));
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    Look::setColour(m_statusLabel, QPalette::WindowText, Qt::red);
    statusBar()->setAutoFillBackground(true);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(m_statusLabel, 1);

    auto *layout = new QVBoxLayout(centralWidget());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setAlignment(Qt::AlignTop);

    // The first frame shows the login page; the other pages are built right after it.
    m_screen = new QVexmarWindow(this, QVexmarWindow::LoginPageFirst);
    g_screenWindow = m_screen;
    layout->addWidget(m_screen);
    layout->addWidget(plainLine(this));

    m_messagePanel = new QWidget(this);
    m_messagePanel->setObjectName(QStringLiteral("messagePanel"));
    m_messagePanel->setFixedHeight(86);
    m_messagePanel->hide();
    auto *messageButton = new QVexmarButton(m_messagePanel);
    messageButton->setObjectName(QStringLiteral("messageButton"));
    messageButton->setGeometry(10, 10, 98, 66);
    messageButton->borderWidth = 4;
    QPalette buttonPalette = messageButton->palette();
    buttonPalette.setBrush(QPalette::All, QPalette::Window, QBrush(Qt::white));
    buttonPalette.setBrush(QPalette::All, QPalette::WindowText, QBrush(Qt::black));
    messageButton->setPalette(buttonPalette);
    messageButton->setIcon(lazyIcon(QStringLiteral(":/images/message.png")));
    connect(messageButton, &QVexmarButton::clicked, this, &Quorvane::messageClicked);

    m_messageLabel = new QLabel(m_messagePanel);
    m_messageLabel->setObjectName(QStringLiteral("messageLabel"));
    m_messageLabel->setGeometry(855, 0, 410, 86);
    m_messageLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_messageLabel->setTextFormat(Qt::RichText);
    m_messageLabel->setWordWrap(true);
    m_messageLabel->hide();
    m_messageLabel->setFont(Look::pixelFont(m_messageLabel->font(), 32));
    layout->addWidget(m_messagePanel);

    layout->addWidget(plainLine(this), 1, Qt::AlignBottom);
}

void Quorvane::setMessageBoxHandler(const MessageBoxHandler &handler)
{
    m_messageBoxHandler = handler;
}

QMessageBox::StandardButton Quorvane::ask(QMessageBox::Icon icon, const QString &title, const QString &text,
    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    if (m_messageBoxHandler)
        return m_messageBoxHandler(icon, title, text, buttons, defaultButton);
    QMessageBox box(icon, title, text, buttons, this);
    box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

bool Quorvane::saveConfiguration()
{
    if (m_settings.writeConfiguration())
        return true;
    ask(QMessageBox::Warning, tr("Save configuration"),
        tr("Failed to save the configuration file <%1>.\nChanges made since it was last saved are not kept.")
            .arg(m_settings.configPath),
        QMessageBox::Ok, QMessageBox::Ok);
    return false;
}

void Quorvane::showStatus(const QString &text, const QColor &colour)
{
    if (m_statusLabel->palette().color(QPalette::WindowText) != colour)
        Look::setColour(m_statusLabel, QPalette::WindowText, colour);
    m_statusLabel->setText(text);
    emit statusShown(text);
}

bool Quorvane::checkSslSupport()
{
    if (QSslSocket::supportsSsl()) {
        setMenuStates(true, false);
        return true;
    }
    showStatus(tr("SSL is not supported"), Qt::red);
    return false;
}

void Quorvane::checkSslSupportInBackground()
{
    if (m_sslCheck)
        return;
    m_sslCheck = QThread::create([] { QSslSocket::supportsSsl(); });
    m_sslCheck->setParent(this);
    connect(m_sslCheck, &QThread::finished, this, &Quorvane::checkSslSupport);
    m_sslCheck->start();
}

void Quorvane::setMenuStates(bool connectable, bool disconnectable)
{
    m_recentMenu->setEnabled(connectable);
    m_manageAction->setEnabled(connectable);
    m_disconnectAction->setEnabled(disconnectable);
}

void Quorvane::sslStateChanged(QAbstractSocket::SocketState) { }

void Quorvane::sslEncrypted() { }

void Quorvane::sslError(QAbstractSocket::SocketError) { }

void Quorvane::onSshLogMessage(const QString &message)
{
    // The SSH client keeps its password out of its messages; the codec password is never handed to it. What the
    // server says comes inside them.
    qDebug().noquote() << escapedForLog(message);
}

void Quorvane::busyStateChanged(bool busy)
{
    Look::setColour(statusBar(), QPalette::Window, busy ? Qt::red : Qt::black);
    if (busy)
        statusBar()->showMessage(tr("BUSY"));
    else
        statusBar()->clearMessage();
}

void Quorvane::loginClicked(const QString &text)
{
    // The device's name, shown in a label that reads markup.
    m_messageLabel->setText(text.toHtmlEscaped());
    m_messageLabel->setVisible(!text.isEmpty());
    m_messagePanel->show();
}

void Quorvane::messageClicked()
{
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QCoreApplication::postEvent(
            m_screen, new QKeyEvent(type, kMessageButtonKey, Qt::NoModifier, QString(), false, 1));
}

void Quorvane::closeEvent(QCloseEvent *event)
{
    if (ask(QMessageBox::Question, tr("Exit application"), tr("Are you sure to exit?"),
            QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel)
        == QMessageBox::Yes)
        event->accept();
    else
        event->ignore();
}

void Quorvane::aboutClicked()
{
    QuorvaneDialog dialog(this);
    dialog.exec();
}

void Quorvane::updateDevices()
{
    m_recentMenu->clear();
    m_settings.readConfiguration();
    if (m_settings.recentDevices.isEmpty()) {
        m_recentMenu->addAction(tr("List is empty"))->setEnabled(false);
        return;
    }
    for (const int id : qAsConst(m_settings.recentDevices)) {
        const auto device = m_settings.knownDevices.constFind(id);
        if (device == m_settings.knownDevices.cend())
            continue;
        QAction *action = m_recentMenu->addAction(device->name);
        action->setData(id);
        connect(action, &QAction::triggered, this, &Quorvane::connectDevice);
    }
}

void Quorvane::manageDevices()
{
    m_settings.readConfiguration();
    ManageDevicesDialog dialog(this);
    dialog.setDevices(m_settings.knownDevices);
    const int result = dialog.exec();
    m_settings.setKnownDevices(dialog.devices);
    saveConfiguration();
    if (result == QDialog::Accepted && !m_sshClient)
        connectKnownDevice(dialog.selectedId, false);
}

void Quorvane::connectDevice()
{
    const auto *action = qobject_cast<QAction *>(sender());
    if (!action || m_sshClient)
        return;
    connectKnownDevice(action->data().toInt(), false);
}

void Quorvane::disconnectDevice()
{
    if (m_sshClient && deviceConnectionActive()) {
        if (ask(QMessageBox::Question, tr("Disconnect"), tr("Are you sure to disconnect?"),
                QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Cancel)
            != QMessageBox::Yes)
            return;
        if (m_sshClient) {
            showStatus(tr("Closing SSH session..."), Qt::red);
            setMenuStates(false, false);
            m_rpcWasActive = false;
            leaveSession();
            m_reconnectTimer->stop();
            emit doSshStopSession();
            return;
        }
        // The session ended while the question was open; the user still wants no connection, so no reconnect.
    }
    showStatus(tr("No active connection"), Qt::red);
    setMenuStates(true, false);
    m_rpcWasActive = false;
    m_reconnectTimer->stop();
}

bool Quorvane::deviceConnectionActive() const
{
    return getCom()->connection().isActive();
}

bool Quorvane::openDeviceConnection(const QString &host, quint16 port)
{
    return getCom()->connectToDevice(host, port, 0);
}

void Quorvane::closeDeviceConnection()
{
    getCom()->disconnectFromDevice();
}

void Quorvane::leaveSession()
{
    closeDeviceConnection();
    m_messagePanel->hide();
    m_screen->pageActivated(QVexmar::LoginPage);
}

void Quorvane::onSshSessionStateChanged(int state)
{
    switch (state) {
    case SshClient::SessionListening:
        showStatus(tr("SSH session success"), Qt::red);
        m_reconnectTimer->stop();
        if (!deviceConnectionActive() && openDeviceConnection(m_listenAddress, tunnelListenPort())) {
            showStatus(tr("Connecting to device <%1>").arg(m_deviceName), Qt::red);
            m_disconnectAction->setEnabled(true);
        }
        break;
    case SshClient::SessionClosing:
        showStatus(tr("Closing SSH session..."), Qt::red);
        setMenuStates(false, false);
        // A reconnect of the device connection itself (the keep-alive's) opens a second local connection that may
        // end, reported as well, before the stop reaches the session: it must not hide that the first was a drop.
        m_rpcWasActive = m_rpcWasActive || deviceConnectionActive();
        leaveSession();
        emit doSshStopSession();
        break;
    case SshClient::SessionClosed:
    case SshClient::SessionFailed:
        if (m_rpcWasActive)
            showStatus(tr("SSH connection failure"), Qt::red);
        else if (state == SshClient::SessionFailed)
            showStatus(tr("SSH session failure"), Qt::red);
        else
            showStatus(tr("No active connection"), Qt::red);
        if (m_rpcWasActive || state == SshClient::SessionFailed) {
            setMenuStates(false, true);
            m_reconnectTimer->start(kReconnectMsecs);
        } else {
            setMenuStates(true, false);
            m_reconnectTimer->stop();
        }
        leaveSession();
        if (m_sshClient) {
            m_sshClient->disconnect();
            disconnect(this, nullptr, m_sshClient, nullptr);
            m_sshClient->deleteLater();
            m_sshClient = nullptr;
        }
        break;
    default:
        break;
    }
}

void Quorvane::onSshReconnectRequest()
{
    if (!m_sshClient)
        connectKnownDevice(m_deviceId, true);
}

void Quorvane::stateChanged(RpcConnection::ConnectionState state)
{
    if (state == RpcConnection::ConnectedState)
        showStatus(tr("Connected to device <%1>").arg(m_deviceName), Qt::white);
    else if (!deviceConnectionActive())
        showStatus(tr("No active connection"), Qt::red);
    else if (state == RpcConnection::ConnectingState)
        showStatus(tr("Connecting to device <%1>").arg(m_deviceName), Qt::red);
    else
        showStatus(tr("Not connected to device <%1>").arg(m_deviceName), Qt::red);
}

void Quorvane::keyboardClosed()
{
    auto *keyboard = qobject_cast<QVexmarVirtual *>(sender());
    if (!keyboard || keyboard->cancelled != 0)
        return;
    keyboard->hide();
    const QString text = keyboard->lineEdit.text();
    if (text.isEmpty())
        return;
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_ACTION, kDisplayAction);
    request.setParam(kDisplayMessageKey, latin1ToUtf8(text.toLatin1().toStdString()));
    if (!TComRpcAccess(getCom()).execute(request, kMessageTimeoutMsecs))
        ask(QMessageBox::Critical, tr("Send message"), tr("Failed to send message!"), QMessageBox::Ok, QMessageBox::Ok);
}

void Quorvane::connectKnownDevice(int id, bool reconnect)
{
    const auto known = m_settings.knownDevices.constFind(id);
    if (known == m_settings.knownDevices.cend())
        return;
    KnownDevice device = *known;
    const QString name = device.name.isEmpty() ? tr("noname") : device.name;
    // The id is the last byte of the tunnel's loopback address: any other would never connect and retry for ever.
    if (!isValidDeviceId(id)) {
        // One call: a "%2" in the name must stay in the name.
        showStatus(tr("Device <%1> cannot be connected: its id %2 is outside %3 to %4")
                       .arg(name, QString::number(id), QString::number(kMinDeviceId), QString::number(kMaxDeviceId)),
            Qt::red);
        return;
    }
    m_deviceId = id;
    m_listenAddress = QStringLiteral("127.0.0.%1").arg(id);
    m_deviceName = name;
    if (m_settings.addRecentDevice(id))
        saveConfiguration();

    const QString relayHost
        = m_settings.hostname.isEmpty() ? QString::fromLatin1(RelayDefaultHost) : m_settings.hostname;
    if (!reconnect) {
        m_recentMenu->setEnabled(false);
        m_manageAction->setEnabled(false);
        if (!requestRelayAccess(relayHost, device)) {
            m_recentMenu->setEnabled(true);
            m_manageAction->setEnabled(true);
            return;
        }
        QMap<int, KnownDevice> devices = m_settings.knownDevices;
        devices.insert(id, device);
        m_settings.setKnownDevices(devices);
    }

    auto *client = new SshClient(m_settings.sshVerbosity);
    client->host = relayHost;
    client->sshPort = m_settings.hostport > 0 ? m_settings.hostport : kDefaultSshPort;
    client->user = m_settings.sshUser;
    client->password = m_settings.sshPassword;
    client->localPort = kDevicePort;
    client->tunnelPort = device.tunnelPort;
    client->listenAddress = QHostAddress(m_listenAddress);
    client->moveToThread(m_sshThread);
    connect(client, &SshClient::logMessage, this, &Quorvane::onSshLogMessage);
    connect(client, &SshClient::sessionStateChanged, this, &Quorvane::onSshSessionStateChanged);
    connect(this, &Quorvane::doSshStartSession, client, &SshClient::startSession);
    connect(this, &Quorvane::doSshStopSession, client, &SshClient::stopSession);
    m_sshClient = client;

    showStatus(tr("Opening SSH session..."), Qt::red);
    setMenuStates(false, false);
    m_sshThread->start(QThread::InheritPriority);
    m_rpcWasActive = false;
    emit doSshStartSession();
}

quint16 Quorvane::tunnelListenPort() const
{
    // The port the tunnel's listener is bound to: kDevicePort, unless a test moved the listener elsewhere.
    const quint16 port = m_sshClient ? m_sshClient->listeningPort() : 0;
    return port ? port : kDevicePort;
}
