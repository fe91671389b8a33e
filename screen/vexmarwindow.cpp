#include "screen/vexmarwindow.h"

#include "controllers/taudiosettings.h"
#include "controllers/tcomravennacontroller.h"
#include "controllers/tcomrpcaccess.h"
#include "controllers/tmatrixsettings.h"
#include "device/accessors.h"
#include "device/localedictionary.h"
#include "device/vexmarsoftkeys.h"
#include "pages/vexmaraoipcallpage.h"
#include "pages/vexmaraudiopage.h"
#include "pages/vexmareditorpage.h"
#include "pages/vexmarfolderpage.h"
#include "pages/vexmarmixerpages.h"
#include "pages/vexmarrecordingpage.h"
#include "pages/vexmarvoicecallpage.h"
#include "rpc/ccom.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"
#include "screen/vexmarloginpage.h"
#include "screen/vexmarmainpage.h"
#include "screen/vexmarstatusbar.h"
#include "settings/vexmarsettingspage.h"
#include "widgets/vexmarevent.h"
#include "widgets/vexmarmessage.h"

#include <QApplication>
#include <QBoxLayout>
#include <QStackedLayout>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int requestTimeoutMs = 5000;
constexpr int levelInputs = 24;
constexpr int levelOutputs = 7;
// The device sends levels to port 1 of the connection, every 500 ms.
constexpr long levelPort = 1;
constexpr long levelPeriodMs = 500;

template<class Page>
void connectCallPage(QVexmarWindow *window, Page *page)
{
    QObject::connect(page, &Page::pageActivated, window, &QVexmarWindow::pageActivated);
    QObject::connect(
        page, &Page::showMessagePopup, window, qOverload<const QString &, int>(&QVexmarWindow::showMessagePopup));
    QObject::connect(page, &Page::hideMessagePopup, window, &QVexmarWindow::hideMessagePopup);
    QObject::connect(page, &Page::audioCallStatusChanged, window, &QVexmarWindow::audioCallStatusChanged);
    QObject::connect(page, &Page::remoteNumberChanged, window, &QVexmarWindow::remoteNumberChanged);
}

// An INFO "audio_changeset" as the device's core sends it: the settings refresh their audio page.
kra::CMsg coreChangeset()
{
    kra::CMsg info(kra::CMsg::Info);
    info.setParam(kra::KEY_INFO_TYPE, kra::EVT_AUDIO_CHANGESET);
    info.setParam(kra::KEY_INFO_SOURCE, kra::SRC_CORE);
    return info;
}

// The pages read the controllers while they are built; what they read needs no announcing.
template<class Build>
void buildQuietly(Build build)
{
    TMatrixSettings *matrix = getMatrixSettings();
    TAudioSettings *audio = getAudioSettings();
    const bool matrixBlocked = matrix->blockSignals(true);
    const bool audioBlocked = audio->blockSignals(true);
    build();
    audio->blockSignals(audioBlocked);
    matrix->blockSignals(matrixBlocked);
}

QString translated(const std::string &word)
{
    return getLocaleDictionary()->translate(word);
}

} // namespace

QVexmarWindow::QVexmarWindow(QWidget *parent, PageBuild build) : QWidget(parent)
{
    std::fill(std::begin(m_levels), std::end(m_levels), int(IVexmarAudioLevels::noLevel));
    m_keepAliveTimer = new QTimer(this);
    m_setupTimer = new QTimer(this);

    kra::CCom *com = getCom();
    if (com->initialize(kra::TGT_UI, kra::UI_TYPE_QUORVANE) != 0) {
        qWarning("Failed to initialize kra::CCom!");
        return;
    }

    connect(com, &kra::CCom::stateChanged, this, &QVexmarWindow::stateChanged);
    connect(com, &kra::CCom::messageReceived, this, &QVexmarWindow::messageReceived);
    connect(com, &kra::CCom::sendSyncMsgCompleted, this, &QVexmarWindow::sendSyncMsgCompleted);
    TComDevice *device = getDevice();
    connect(device, &TComDevice::deviceStateChanged, this, &QVexmarWindow::deviceStateChanged);
    connect(device, &TComDevice::connectionAdded, this, &QVexmarWindow::connectionAdded);
    connect(device, &TComDevice::connectionRemoved, this, &QVexmarWindow::connectionRemoved);
    connect(device, &TComDevice::dataConnectionStateChanged, this, &QVexmarWindow::dataConnectionStateChanged);
    connect(device, &TComDevice::audioConnectionStateChanged, this, &QVexmarWindow::audioConnectionStateChanged);
    connect(device, &TComDevice::audioCallStatusChanged, this, &QVexmarWindow::audioCallStatusChanged);
    connect(device, &TComDevice::audioCallStatisticChanged, this, &QVexmarWindow::audioCallStatisticChanged);
    connect(device, &TComDevice::audioCallRelayChanged, this, &QVexmarWindow::audioCallRelayChanged);
    TAudioSettings *audio = getAudioSettings();
    connect(audio, &TComController::controllerStateChanged, this, &QVexmarWindow::audioControllerStateChanged);
    connect(audio, &TAudioSettings::controllerParamChanged, this, &QVexmarWindow::audioControllerParamChanged);
    connect(m_keepAliveTimer, &QTimer::timeout, this, &QVexmarWindow::keepAliveEvent);
    connect(m_setupTimer, &QTimer::timeout, this, &QVexmarWindow::setupControllers);

    buildQuietly([this] { buildLoginPage(); });
    if (build == AllPages)
        buildRemainingPages();
    else
        m_loginPage->installEventFilter(this);
}

QVexmarWindow::~QVexmarWindow()
{
    m_keepAliveTimer->stop();
    m_setupTimer->stop();
    m_keepAliveTimer->disconnect(this);
    m_setupTimer->disconnect(this);
    // The pages go after this part of the window: nothing of theirs may reach it any more.
    for (QObject *child : children())
        disconnect(child, nullptr, this, nullptr);
    // Still listening to the service: the drop resets the model and the controllers, as any drop does.
    getCom()->disconnectFromDevice();
    disconnect(getCom(), nullptr, this, nullptr);
    disconnect(getDevice(), nullptr, this, nullptr);
    disconnect(getAudioSettings(), nullptr, this, nullptr);
    m_deferred.clear();
}

void QVexmarWindow::buildRemainingPages()
{
    if (m_pagesBuilt || !m_stack)
        return;
    m_pagesBuilt = true;
    m_loginPage->removeEventFilter(this);
    buildQuietly([this] { buildPagesAfterLogin(); });
}

bool QVexmarWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The first frame is out once the login page's first paint has returned.
    if (watched == m_loginPage && event->type() == QEvent::Paint) {
        m_loginPage->removeEventFilter(this);
        QTimer::singleShot(0, this, &QVexmarWindow::buildRemainingPages);
    }
    return QWidget::eventFilter(watched, event);
}

void QVexmarWindow::buildLoginPage()
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    setFixedSize(1280, 720);
    QFont screenFont = font();
    screenFont.setWeight(50);
    screenFont.setPixelSize(22);
    setFont(screenFont);

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->setAlignment(Qt::AlignTop);
    m_stack = new QStackedLayout;
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->setSpacing(0);
    m_layout->addLayout(m_stack, 1);

    m_loginPage = new QVexmarLoginPage(this);
    m_stack->addWidget(m_loginPage);
}

void QVexmarWindow::buildPagesAfterLogin()
{
    // Hidden on the login page: it waits with the pages.
    m_statusBar = new QVexmarStatusBar(this);
    m_statusBar->hide();
    m_layout->insertWidget(0, m_statusBar);
    m_mainPage = new QVexmarMainPage(this);
    m_stack->addWidget(m_mainPage);
    m_aoipCallPage1 = new QVexmarAoIPCallPage(QVexmar::Codec1, this);
    connectCallPage(this, m_aoipCallPage1);
    m_stack->addWidget(m_aoipCallPage1);
    m_aoipCallPage2 = new QVexmarAoIPCallPage(QVexmar::Codec2, this);
    connectCallPage(this, m_aoipCallPage2);
    m_stack->addWidget(m_aoipCallPage2);
    m_voiceCallPage = new QVexmarVoiceCallPage(this);
    connectCallPage(this, m_voiceCallPage);
    m_stack->addWidget(m_voiceCallPage);
    m_audioPage = new QVexmarAudioPage(this);
    connect(m_audioPage, &QVexmarAudioPage::pageActivated, this, &QVexmarWindow::pageActivated);
    m_stack->addWidget(m_audioPage);
    m_mixerInputPage = new QVexmarMixerInputPage(this);
    connect(m_mixerInputPage, &QVexmarMixerInputPage::pageActivated, this, &QVexmarWindow::pageActivated);
    m_stack->addWidget(m_mixerInputPage);
    m_mixerOutput1Page = new QVexmarMixerOutput1Page(this);
    connect(m_mixerOutput1Page, &QVexmarMixerOutput1Page::pageActivated, this, &QVexmarWindow::pageActivated);
    m_stack->addWidget(m_mixerOutput1Page);
    m_mixerOutput2Page = new QVexmarMixerOutput2Page(this);
    connect(m_mixerOutput2Page, &QVexmarMixerOutput2Page::pageActivated, this, &QVexmarWindow::pageActivated);
    m_stack->addWidget(m_mixerOutput2Page);
    m_monitoring1Page = new QVexmarMixerMonitoring1Page(this);
    connect(m_monitoring1Page, &QVexmarMixerMonitoring1Page::pageActivated, this, &QVexmarWindow::pageActivated);
    m_stack->addWidget(m_monitoring1Page);
    // Headphones 1, 2 and 3 by their left outputs.
    const int headphones[] = {6, 8, 10};
    for (int i = 0; i < 3; ++i) {
        m_monitoring2Pages[i] = new QVexmarMixerMonitoring2Page(headphones[i], this);
        connect(
            m_monitoring2Pages[i], &QVexmarMixerMonitoring2Page::pageActivated, this, &QVexmarWindow::pageActivated);
        m_stack->addWidget(m_monitoring2Pages[i]);
    }
    m_folderPage = new QVexmarFolderPage(this);
    connect(m_folderPage, &QVexmarFolderPage::pageActivated, this, &QVexmarWindow::pageActivated);
    m_stack->addWidget(m_folderPage);
    m_recordingPage = new QVexmarRecordingPage(this);
    connect(m_recordingPage, &QVexmarRecordingPage::pageActivated, this, &QVexmarWindow::pageActivated);
    m_stack->addWidget(m_recordingPage);
    m_editorPage = new QVexmarEditorPage(this);
    connect(m_editorPage, &QVexmarEditorPage::pageActivated, this, &QVexmarWindow::pageActivated);
    m_stack->addWidget(m_editorPage);
    m_settingsPage = new QVexmarSettingsPage(this);
    connect(m_settingsPage, &QVexmarSettingsPage::pageActivated, this, &QVexmarWindow::pageActivated);
    connect(m_settingsPage, &QVexmarSettingsPage::menuItemChanges, this, &QVexmarWindow::menuItemChanges);
    m_stack->addWidget(m_settingsPage);
}

void QVexmarWindow::ensurePages() const
{
    const_cast<QVexmarWindow *>(this)->buildRemainingPages();
}

QStackedLayout *QVexmarWindow::pageStack() const
{
    ensurePages();
    return m_stack;
}

QVexmarMainPage *QVexmarWindow::mainPage() const
{
    ensurePages();
    return m_mainPage;
}

QVexmarAoIPCallPage *QVexmarWindow::aoipCallPage(int codec) const
{
    ensurePages();
    return codec == QVexmar::Codec2 ? m_aoipCallPage2 : m_aoipCallPage1;
}

QVexmarVoiceCallPage *QVexmarWindow::voiceCallPage() const
{
    ensurePages();
    return m_voiceCallPage;
}

QVexmarSettingsPage *QVexmarWindow::settingsPage() const
{
    ensurePages();
    return m_settingsPage;
}

void QVexmarWindow::audioControllerStateChanged(TComController *) { }

void QVexmarWindow::audioControllerParamChanged(TComController *, TAudioSettings::CtlrParam) { }

void QVexmarWindow::copyMonitoringClicked(qlonglong) { }

void QVexmarWindow::stateChanged(RpcConnection::ConnectionState state)
{
    // What the device sends goes to every page.
    buildRemainingPages();
    switch (state) {
    case RpcConnection::ConnectedState:
        // The login starts the set-up itself; a reconnection on any other page restarts it without one.
        if (m_currentPage != QVexmar::LoginPage)
            QTimer::singleShot(setupDelayMs, this, &QVexmarWindow::startInitialization);
        break;
    case RpcConnection::UnconnectedState:
    case RpcConnection::ClosingState:
        m_keepAliveTimer->stop();
        m_setupTimer->stop();
        std::fill(std::begin(m_levels), std::end(m_levels), int(IVexmarAudioLevels::noLevel));
        m_deferred.clear();
        m_pendingRemoteNumbers.clear();
        resetDevice();
        dispatchAudioLevels(true);
        updateStatusPanel();
        break;
    case RpcConnection::ConnectingState:
        break;
    }
}

void QVexmarWindow::resetDevice()
{
    getDevice()->reset(true);
    getAudioSettings()->reset();
    getMatrixSettings()->reset();
    getRavennaController()->reset();
}

void QVexmarWindow::startInitialization()
{
    if (getCom()->state() != RpcConnection::ConnectedState)
        return;
    m_settingsPage->loadAccessPasswords(0);
    setupControllers();
    m_setupTimer->start(setupIntervalMs);
}

void QVexmarWindow::applyAccessLevel()
{
    kra::CCom *com = getCom();
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_DB);
    request.setParam(kra::KEY_CAT, com->cat());
    request.setParam(kra::KEY_TYPE, com->type());
    request.setParam(kra::KEY_CONTROLLER_ID, kra::CONTROLLER_WEB);
    request.addGet(kra::KEY_TABNAME);
    std::map<std::string, std::string> values;
    std::map<std::string, std::string> errors;
    QString deviceName;
    if (TComRpcAccess(com).getParams(request, values, errors, requestTimeoutMs) >= 0)
        deviceName = utf8ToQString(values[kra::KEY_TABNAME]);
    emit loginClicked(deviceName);

    m_aoipCallPage1->resetCallPanel(QVexmar::Codec1);
    m_aoipCallPage2->resetCallPanel(QVexmar::Codec2);
    m_voiceCallPage->resetCallPanel(QVexmar::VoiceCodec);
    m_mainPage->resetControls();
    m_statusBar->resetIndicators();
    m_aoipCallPage1->resetControls();
    m_aoipCallPage2->resetControls();
    m_voiceCallPage->resetControls();
    m_audioPage->resetControls();
    m_mixerInputPage->resetControls();
    m_mixerOutput1Page->resetControls();
    m_mixerOutput2Page->resetControls();
    m_monitoring1Page->resetControls();
    for (QVexmarMixerMonitoring2Page *page : m_monitoring2Pages)
        page->resetControls();
    startInitialization();
}

void QVexmarWindow::setupControllers()
{
    TComDevice *device = getDevice();
    if (!device->isReady() && device->initialize()) {
        updateStatusPanel();
        TComRpcAccess rpc(getCom());
        rpc.subscribe(kra::EVT_REMOTE_NUMBERS);
        rpc.subscribe(kra::EVT_UPLOAD_PROGRESS);

        kra::CMsg request(kra::CMsg::Param);
        request.setParam(kra::KEY_TARGET, kra::TGT_UI);
        request.setParam(kra::TGT_UI, kra::UI_TYPE_QUORVANE);
        for (const std::string *name : {&kra::KEY_REMOTE_AOIP1, &kra::KEY_REMOTE_AOIP2, &kra::KEY_REMOTE_VOICE,
                 &kra::KEY_RELAY1_IN, &kra::KEY_RELAY2_IN, &kra::KEY_RELAY1_OUT, &kra::KEY_RELAY2_OUT})
            request.addGet(*name);
        std::map<std::string, std::string> values;
        std::map<std::string, std::string> errors;
        rpc.getParams(request, values, errors, requestTimeoutMs);
        for (const auto &[key, value] : values) {
            if (key == kra::KEY_REMOTE_AOIP1)
                m_aoipCallPage1->setCallPanelText(QVexmar::Codec1, latin1ToQString(value), TComDevice::FamilyIp);
            else if (key == kra::KEY_REMOTE_AOIP2)
                m_aoipCallPage2->setCallPanelText(QVexmar::Codec2, latin1ToQString(value), TComDevice::FamilyIp);
            else if (key == kra::KEY_REMOTE_VOICE)
                m_voiceCallPage->setCallPanelText(QVexmar::VoiceCodec, latin1ToQString(value), TComDevice::FamilyVoice);
            else if (key == kra::KEY_RELAY1_IN)
                m_mainPage->setContactActive(0, value == kra::VAL_ON);
            else if (key == kra::KEY_RELAY2_IN)
                m_mainPage->setContactActive(1, value == kra::VAL_ON);
            else if (key == kra::KEY_RELAY1_OUT)
                m_mainPage->setInfoActive(0, value == kra::VAL_ON);
            else if (key == kra::KEY_RELAY2_OUT)
                m_mainPage->setInfoActive(1, value == kra::VAL_ON);
        }
        updateStatusPanel();

        kra::CMsg levels(kra::CMsg::Do);
        levels.setParam(kra::KEY_ACTION, kra::CMD_SUBSCRIBE);
        levels.setParam(kra::KEY_EVENT_TYPE, kra::EVT_AUDIO_LEVELS);
        levels.setParam(kra::KEY_PORT, longToString(levelPort));
        levels.setParam(kra::KEY_PERIOD, longToString(levelPeriodMs));
        rpc.execute(levels, requestTimeoutMs);
        kra::CMsg events(kra::CMsg::Do);
        events.setParam(kra::KEY_ACTION, kra::CMD_REQUEST);
        events.setParam(kra::KEY_EVENT_TYPE, kra::EVT_COMM_EVENTS);
        rpc.execute(events, requestTimeoutMs);
    }

    TMatrixSettings *matrix = getMatrixSettings();
    TAudioSettings *audio = getAudioSettings();
    TComRavennaController *ravenna = getRavennaController();
    if (device->isReady() && matrix->state() == TComController::NotRead)
        matrix->attach(true);
    if (device->isReady() && audio->state() == TComController::NotRead && audio->attach(true))
        getSoftkeys()->load();
    if (device->isReady() && audio->state() == TComController::Loaded
        && (device->deviceOptions() & TComDevice::OptRavenna) && ravenna->state() == TComController::NotRead) {
        if (!device->aes67Reset()) {
            m_aes67ResetTicks = 0;
            if (ravenna->attach({KEY_RAV_FIRMWARE_REV})) {
                ravenna->fetch({KEY_RAV_MANUFACTURER, KEY_RAV_HARDWARE_NAME, KEY_RAV_IF_COUNT, KEY_RAV_DEVICE_NAME,
                    KEY_RAV_HARDWARE_REV});
                kra::CMsg info = coreChangeset();
                m_settingsPage->handleDeviceEvent(info);
                device->setClockSource(TComDevice::ClockAes67, true);
            }
        } else if (device->deviceOptions() & TComDevice::OptRavenna2) {
            device->setAes67Reset(device->aes67Reset(), true, true);
        } else if (m_aes67ResetTicks < aes67ResetTicks) {
            ++m_aes67ResetTicks;
        } else if (m_aes67ResetTicks == aes67ResetTicks) {
            m_aes67ResetTicks = aes67ResetTicks + 1;
            device->setAes67Reset(device->aes67Reset(), true, true);
        }
    }
}

void QVexmarWindow::keepAliveEvent()
{
    kra::CCom *com = getCom();
    if (com->state() != RpcConnection::ConnectedState || !com->isReady() || !getDevice()->isReady())
        return;
    if (getDevice()->fetchNetworks(m_livenessTimeoutMs))
        return;
    m_keepAliveTimer->stop();
    const QString host = com->host();
    const quint16 tcpPort = com->tcpPort();
    const quint16 udpPort = com->udpPort();
    com->disconnectFromDevice();
    com->connectToDevice(host, tcpPort, udpPort);
}

void QVexmarWindow::messageReceived(const RpcMessage &message)
{
    if (message.kind() != RpcMessage::Notification)
        return;
    const kra::CMsg &body = message.body();
    if (body.kind == kra::CMsg::Event && body.value(kra::KEY_EVENT_TYPE) == kra::EVT_AUDIO_LEVELS) {
        const auto level = [&body](const std::string &prefix, int number) {
            const std::string *value = body.param(prefix + longToString(number));
            return value ? stringToInt(*value) : int(IVexmarAudioLevels::noLevel);
        };
        for (int i = 1; i <= levelInputs; ++i)
            m_levels[i - 1] = level(kra::KEY_LEVEL_IN_PREFIX, i);
        for (int j = 1; j <= levelOutputs; ++j)
            m_levels[levelInputs + j - 1] = level(kra::KEY_LEVEL_OUT_PREFIX, j);
        dispatchAudioLevels(false);
        return;
    }
    const int dropped = m_deferred.append(message);
    if (dropped > 0 && m_deferred.dropped() == dropped)
        qWarning("QVexmarWindow::messageReceived(more than %d messages wait: the oldest are dropped)",
            RpcNotificationQueue::MaxMessages);
    if (getCom()->isReady())
        QCoreApplication::postEvent(this, new QVexmarEvent(QVexmarEvent::ProcessMessage, -1, 0));
}

void QVexmarWindow::customEvent(QEvent *event)
{
    event->accept();
    if (event->type() != QVexmarEvent::eventType)
        return;
    if (static_cast<QVexmarEvent *>(event)->kind != QVexmarEvent::ProcessMessage)
        return;
    // Messages that came while the handler waited got no event of their own.
    if (handleNextMessage() && !m_deferred.isEmpty())
        scheduleDrain();
}

void QVexmarWindow::sendSyncMsgCompleted()
{
    sendPendingRemoteNumbers();
    if (!m_deferred.isEmpty())
        scheduleDrain();
}

void QVexmarWindow::processDeferredMessages()
{
    while (handleNextMessage()) { }
}

bool QVexmarWindow::handleNextMessage()
{
    if (m_handlingMessage || m_deferred.isEmpty() || !getCom()->isReady())
        return false;
    RpcMessage message = m_deferred.takeFirst();
    m_handlingMessage = true;
    if (message.body().kind == kra::CMsg::Info)
        handleDeviceEvent(message);
    else if (message.body().kind == kra::CMsg::Event)
        handleSystemEvent(message);
    m_handlingMessage = false;
    return true;
}

void QVexmarWindow::scheduleDrain()
{
    if (m_drainScheduled)
        return;
    m_drainScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_drainScheduled = false;
        processDeferredMessages();
    });
}

void QVexmarWindow::handleDeviceEvent(RpcMessage &message)
{
    kra::CMsg &body = message.body();
    const std::string type = body.value(kra::KEY_INFO_TYPE);
    if (type.empty())
        return;
    const std::string source = body.value(kra::KEY_INFO_SOURCE);
    if (type == kra::EVT_AUDIO_CHANGESET) {
        if (source == kra::SRC_AIC) {
            getAudioSettings()->handleInfo(message);
            getMatrixSettings()->handleInfo(message);
        } else if (source == kra::SRC_AES67_MODULE || source == kra::SRC_AES67_MODULE2) {
            const std::string *status = body.param(kra::KEY_SYSTEM_STATUS);
            if (status && stringToInt(*status) % 2 == 0) {
                getRavennaController()->reset();
                kra::CMsg info = coreChangeset();
                m_settingsPage->handleDeviceEvent(info);
            }
            if (const std::string *update = body.param(kra::KEY_SYSTEM_UPDATE)) {
                m_settingsPage->connectionAdded();
                const int percent = stringToInt(body.value(kra::KEY_PROGRESS));
                switch (stringToInt(*update)) {
                case TComRavennaController::UpdateUploading:
                    showMessagePopup(
                        QStringLiteral("AES67 module update...\n\nUploading firmware %1%\n\nDo not turn off the unit!")
                            .arg(percent),
                        0);
                    break;
                case TComRavennaController::UpdateInstalling:
                    showMessagePopup(
                        QStringLiteral("AES67 module update...\n\nInstalling firmware %1%\n\nDo not turn off the unit!")
                            .arg(percent),
                        0);
                    break;
                case TComRavennaController::UpdateFailed:
                    showMessagePopup(QStringLiteral("AES67 module update failed!\n\nPlease reboot the unit!"), 0);
                    break;
                case TComRavennaController::UpdateFinished:
                    showMessagePopup(QStringLiteral("AES67 module update finished\n\nPlease reboot the unit!"), 0);
                    break;
                default:
                    break;
                }
            }
        } else if (source == kra::SRC_CORE) {
            getDevice()->handleInfo(message);
        }
    } else if (type == kra::EVT_CONFIG_CHANGESET) {
        if (source == kra::SRC_HCC)
            getSoftkeys()->handleConfigChangeset(body);
    } else if (type == kra::EVT_REMOTE_NUMBERS) {
        applyRemoteNumbers(body);
    } else {
        getDevice()->handleInfo(message);
    }
    m_settingsPage->handleDeviceEvent(body);
    m_statusBar->handleInfo(body);
    m_aoipCallPage1->handleInfo(body);
    m_aoipCallPage2->handleInfo(body);
    m_voiceCallPage->handleInfo(body);
}

void QVexmarWindow::applyRemoteNumbers(const kra::CMsg &body)
{
    if (const std::string *number = body.param(kra::KEY_REMOTE_AOIP1))
        m_aoipCallPage1->setCallPanelText(QVexmar::Codec1, latin1ToQString(*number), TComDevice::FamilyIp);
    if (const std::string *number = body.param(kra::KEY_REMOTE_AOIP2))
        m_aoipCallPage2->setCallPanelText(QVexmar::Codec2, latin1ToQString(*number), TComDevice::FamilyIp);
    if (const std::string *number = body.param(kra::KEY_REMOTE_VOICE))
        m_voiceCallPage->setCallPanelText(QVexmar::VoiceCodec, latin1ToQString(*number), TComDevice::FamilyVoice);
    updateStatusPanel();
}

void QVexmarWindow::handleSystemEvent(RpcMessage &message)
{
    kra::CMsg &body = message.body();
    const std::string type = body.value(kra::KEY_EVENT_TYPE);
    if (type.empty())
        return;
    if (type == kra::EVT_SHUTTINGDOWN) {
        m_settingsPage->connectionAdded();
        showMessagePopup(tr("System is going down..."), 0);
    } else if (type == kra::EVT_REBOOTING) {
        m_settingsPage->connectionAdded();
        showMessagePopup(tr("System is restarting..."), 0);
    } else if (type == kra::CMD_REINIT) {
        resetDevice();
        m_settingsPage->loadAccessPasswords(0);
        setupControllers();
        updateStatusPanel();
    } else if (type == kra::EVT_SYSTEM_UPDATE) {
        m_settingsPage->connectionAdded();
        const std::string &cause = body.value(kra::KEY_CAUSE);
        if (cause.empty())
            showMessagePopup(tr("System update started...\nDo not turn off the unit!\n\n%1")
                                 .arg(translated(body.value(kra::KEY_STATE))),
                0);
        else
            showMessagePopup(tr("System update failed!\n%1\nPlease reboot the unit!").arg(translated(cause)), 0);
    } else if (type == kra::EVT_DISPLAY) {
        const std::string &text = body.value(kra::KEY_MESSAGE);
        if (!text.empty()) {
            m_settingsPage->connectionRemoved();
            showMessagePopup(utf8ToQString(text), 0);
        }
    } else if (type == kra::EVT_SHUTDOWN_REQUEST) {
        showConfirmPopup(ShutdownAction, tr("Are you sure you want to bring the system down?"));
    } else if (type == kra::EVT_UPLOAD_STATE) {
        if (body.value(kra::KEY_STATE) == kra::UPLOAD_ERROR)
            showMessagePopup(tr("FTP upload failed!\n%1").arg(translated(body.value(kra::KEY_CAUSE))), 0);
    } else {
        getDevice()->handleEvent(message);
    }
    // The input relays are the model's alone.
    if (type == kra::EVT_RELAY_IN)
        return;
    m_settingsPage->handleSystemEvent(body);
    m_statusBar->handleEvent(body);
    m_aoipCallPage1->handleEvent(body);
    m_aoipCallPage2->handleEvent(body);
    m_voiceCallPage->handleEvent(body);
}

void QVexmarWindow::dispatchAudioLevels(bool refresh)
{
    if (!m_stack)
        return;
    if (auto *page = dynamic_cast<IVexmarAudioLevels *>(m_stack->currentWidget()))
        page->setAudioLevels(m_levels, IVexmarAudioLevels::levelCount, refresh);
}

void QVexmarWindow::pageActivated(QVexmar::Page page)
{
    if (page == m_currentPage || !m_stack)
        return;
    if (page == QVexmar::LoginPage) {
        m_statusBar->hide();
    } else if (getCom()->state() != RpcConnection::ConnectedState || page < 0 || page > QVexmar::SettingsFtpServer) {
        return;
    }
    int index = page;
    if (page >= QVexmar::SettingsPage) {
        TComDevice *device = getDevice();
        bool opened = false;
        switch (page) {
        case QVexmar::SettingsPage:
            opened = m_settingsPage->selectEntry(m_settingsPage->openBranchId(), -1);
            break;
        case QVexmar::SettingsNetwork:
            opened = m_settingsPage->selectEntry(QVexmarSettingsPage::NetworkEntry, -1);
            break;
        case QVexmar::SettingsSipPrimary:
            opened = m_settingsPage->openPath({QVexmarSettingsPage::NetworkEntry, QVexmarSettingsPage::SipAoipPage,
                QVexmarSettingsPage::SipAccount1Page});
            break;
        case QVexmar::SettingsSipSecondary:
            opened = m_settingsPage->openPath({QVexmarSettingsPage::NetworkEntry, QVexmarSettingsPage::SipAoipPage,
                QVexmarSettingsPage::SipAccount2Page});
            break;
        case QVexmar::SettingsCoding:
            opened = m_settingsPage->selectEntry(QVexmarSettingsPage::CodingEntry, page);
            break;
        case QVexmar::SettingsCodec1:
        case QVexmar::SettingsCodec2:
            opened = !device->audioConnection(page - QVexmar::SettingsCoding)
                && m_settingsPage->selectEntry(QVexmarSettingsPage::CodingEntry, page);
            break;
        case QVexmar::SettingsAudio:
            opened = m_settingsPage->selectEntry(QVexmarSettingsPage::AudioEntry, -1);
            break;
        case QVexmar::SettingsTools:
            opened = m_settingsPage->selectEntry(QVexmarSettingsPage::ToolsEntry, -1);
            break;
        case QVexmar::SettingsBook:
            opened = m_settingsPage->selectEntry(QVexmarSettingsPage::BookEntry, page);
            break;
        case QVexmar::SettingsCallProfiles1:
        case QVexmar::SettingsCallProfiles2:
        case QVexmar::SettingsCallProfilesVoice:
            opened = !device->audioConnection(page - QVexmar::SettingsBook)
                && m_settingsPage->selectEntry(QVexmarSettingsPage::BookEntry, page);
            break;
        case QVexmar::SettingsStatus:
            opened = m_settingsPage->selectEntry(QVexmarSettingsPage::StatusEntry, -1);
            break;
        case QVexmar::SettingsFtpServer:
            opened = m_settingsPage->openPath({QVexmarSettingsPage::ToolsEntry, QVexmarSettingsPage::MiscellaneousPage,
                QVexmarSettingsPage::FtpServerPage});
            break;
        default:
            break;
        }
        if (!opened)
            return;
        if (m_currentPage != QVexmar::SettingsPage)
            m_settingsPage->exitPage = m_currentPage;
        index = QVexmar::SettingsPage;
    }
    // The menu ids stand for the settings page, so that a later one opens its menu even while it is shown.
    m_currentPage = index;
    if (QWidget *focus = QApplication::focusWidget()) {
        focus->releaseKeyboard();
        focus->clearFocus();
    }
    m_stack->setCurrentIndex(index);
    dispatchAudioLevels(true);
    updateStatusPanel();
}

void QVexmarWindow::showMessagePopup(const QString &message, int milliseconds)
{
    if (m_pendingAction != NoAction)
        return;
    QVexmarMessage *popup = QVexmarMessage::showOnce(m_messagePopup, this, message, milliseconds);
    connect(popup, &QVexmarPopup::popupClosed, this, &QVexmarWindow::messagePopupClosed, Qt::UniqueConnection);
}

void QVexmarWindow::showMessagePopup(const QString &message)
{
    showMessagePopup(message, 0);
}

void QVexmarWindow::showConfirmPopup(int action, const QString &text)
{
    hideMessagePopup();
    auto *popup = new QVexmarMessage(text, QVexmarMessage::CancelButton | QVexmarMessage::OkButton, this);
    popup->placeOver(this);
    connect(popup, &QVexmarPopup::popupClosed, this, &QVexmarWindow::messagePopupClosed);
    m_messagePopup = popup;
    m_pendingAction = action;
    popup->showMessage();
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}

void QVexmarWindow::hideMessagePopup()
{
    if (!m_messagePopup)
        return;
    m_messagePopup->hide();
    m_messagePopup->close();
}

void QVexmarWindow::messagePopupClosed()
{
    auto *popup = qobject_cast<QVexmarMessage *>(sender());
    const int action = m_pendingAction;
    const bool confirmed = popup && popup->cancelled == 0;
    m_pendingAction = NoAction;
    m_messagePopup = nullptr;
    if (!confirmed)
        return;
    if (action == ShutdownAction && !getDevice()->shutdown())
        showMessagePopup(tr("Failed to proceed!"), 0);
}

void QVexmarWindow::keyPressEvent(QKeyEvent *) { }

void QVexmarWindow::keyReleaseEvent(QKeyEvent *) { }
