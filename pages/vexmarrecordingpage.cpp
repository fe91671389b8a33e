#include "pages/vexmarrecordingpage.h"

#include "pages/recordermodel.h"
#include "rpc/rpcvocabulary.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmaricon.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarplaintext.h"
#include "widgets/vexmarvirtual.h"

#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int recordTickMs = 1000;
constexpr int blinkTickMs = 500;
// The confirmation ends at the tick that finds this many behind it: 21 ticks, 10.5 s.
constexpr int blinkTicksToEnd = 20;
// Megabytes per minute of recording.
constexpr int wavMegabytesPerMinute = 11;
constexpr int otherMegabytesPerMinute = 999;
// At or below this many seconds left the remaining time turns yellow.
constexpr int lowRemainingSeconds = 60;

const QColor labelGrey(50, 50, 50);

QString clockText(int seconds)
{
    seconds = std::max(0, seconds);
    return QString::asprintf("%02d:%02d:%02d", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

void setIconPath(QVexmarButton *button, const char *path)
{
    button->setIcon(lazyIcon(QLatin1String(path)));
}

QByteArray bytes(const std::string &text)
{
    return QByteArray::fromStdString(text);
}

} // namespace

QVexmarRecordingPage::QVexmarRecordingPage(QWidget *parent)
    : QVexmarPageWidget(parent), m_recorder(std::make_unique<RecorderModel>())
{
    createRecordTimer();
    m_recorder->setStateCommand(m_recorder->recorderStateToCommand(), false);
    m_refilling = true;
    resetTimes();
    setupUi();
    m_refilling = false;
    m_stopConfirmation = false;
}

QVexmarRecordingPage::~QVexmarRecordingPage() = default;

void QVexmarRecordingPage::setupUi()
{
    // Names carry the page's prefix: the screen window holds every page, and a search by name finds one widget.
    const QFont labelFont = Look::pixelFont(font(), 34);
    QPalette labelPalette = palette();
    labelPalette.setColor(QPalette::Window, labelGrey);
    labelPalette.setColor(QPalette::WindowText, Qt::white);
    const auto label = [&](QWidget *on, const QRect &geometry, const QString &text, const char *name = nullptr) {
        auto *l = new QLabel(text, on);
        l->setGeometry(geometry);
        l->setPalette(labelPalette);
        l->setFont(labelFont);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (name)
            l->setObjectName(QLatin1String(name));
        return l;
    };
    const auto button = [&](QWidget *on, const QRect &geometry, const char *icon, const char *name) {
        QVexmarButton *b = Look::iconButton(on, geometry, QLatin1String(icon));
        b->setObjectName(QLatin1String(name));
        return b;
    };
    // Normal look: a switch that is disabled only because it is chosen still looks chosen.
    const auto choice
        = [&](QWidget *on, const QRect &geometry, const char *name, void (QVexmarRecordingPage::*slot)()) {
              auto *s = new QVexmarSwitch(on);
              s->setGeometry(geometry);
              s->setCheckable(true);
              s->setDisabledLook(false);
              s->setObjectName(QLatin1String(name));
              if (slot)
                  connect(s, &QAbstractButton::clicked, this, slot);
              return s;
          };
    const auto fixedOff = [&](QWidget *on, const QRect &geometry, const char *name) {
        QVexmarSwitch *s = choice(on, geometry, name, nullptr);
        s->setChecked(false);
        s->setDisabledLook(true);
        s->setEnabled(false);
        return s;
    };
    QWidget *frame = contentFrame;

    m_internalSwitch
        = choice(frame, {60, 50, 72, 50}, "recordingInternalSwitch", &QVexmarRecordingPage::slot_switchDriveClicked);
    m_internalLabel = label(frame, {150, 52, 320, 44}, QString(), "recordingInternalLabel");
    m_sdSwitch = choice(frame, {60, 120, 72, 50}, "recordingSdSwitch", &QVexmarRecordingPage::slot_switchDriveClicked);
    m_sdLabel = label(frame, {150, 122, 320, 44}, QString(), "recordingSdLabel");
    m_usbSwitch
        = choice(frame, {60, 190, 72, 50}, "recordingUsbSwitch", &QVexmarRecordingPage::slot_switchDriveClicked);
    m_usbLabel = label(frame, {150, 192, 320, 44}, QString(), "recordingUsbLabel");
    m_ftpSwitch = fixedOff(frame, {60, 260, 72, 50}, "recordingFtpSwitch");
    m_ftpLabel = label(frame, {150, 262, 100, 44}, QStringLiteral("FTP"));
    m_ftpButton = button(frame, {250, 253, 60, 60}, ":/images/settings.png", "recordingFtpButton");
    connect(m_ftpButton, &QAbstractButton::clicked, this, &QVexmarRecordingPage::slot_OnFTPClicked);

    label(this, {610, 50, 240, 44}, tr("File"));
    m_wavSwitch = fixedOff(this, {560, 120, 72, 50}, "recordingWavSwitch");
    m_wavSwitch->setChecked(true);
    connect(m_wavSwitch, &QAbstractButton::clicked, this, &QVexmarRecordingPage::slot_switchFormatClicked);
    label(this, {650, 122, 240, 44}, tr("WAV"));
    m_mp2Switch = fixedOff(this, {560, 190, 72, 50}, "recordingMp2Switch");
    connect(m_mp2Switch, &QAbstractButton::clicked, this, &QVexmarRecordingPage::slot_switchFormatClicked);
    label(this, {650, 192, 240, 44}, tr("MP2"));
    m_metadataButton = button(frame, {580, 253, 60, 60}, ":/images/settings.png", "recordingMetadataButton");
    label(this, {650, 262, 240, 44}, tr("Metadata"));

    label(this, {1010, 50, 240, 44}, tr("Sources"));
    label(this, {960, 122, 240, 44}, tr("Stream 1"));
    m_stream1Switch
        = choice(this, {1140, 120, 72, 50}, "recordingStream1Switch", &QVexmarRecordingPage::slot_switchSourceClicked);
    m_stream1Switch->setChecked(true);
    label(this, {960, 192, 240, 44}, tr("Stream 2"));
    m_stream2Switch
        = choice(this, {1140, 190, 72, 50}, "recordingStream2Switch", &QVexmarRecordingPage::slot_switchSourceClicked);
    label(this, {960, 262, 240, 44}, tr("Voice call"));
    m_voiceSwitch
        = choice(this, {1140, 260, 72, 50}, "recordingVoiceSwitch", &QVexmarRecordingPage::slot_switchSourceClicked);

    label(this, {60, 360, 180, 44}, tr("Folder"));
    m_projectCombo = new QComboBox(this);
    m_projectCombo->setObjectName(QStringLiteral("recordingProjectCombo"));
    m_projectCombo->setGeometry(250, 360, 350, 44);
    m_projectCombo->setEditable(false);
    connect(m_projectCombo, qOverload<int>(&QComboBox::currentIndexChanged), this,
        &QVexmarRecordingPage::slot_onIndexChanged_cboProject);
    label(this, {60, 430, 180, 44}, tr("File name"));
    m_fileNameLabel = plainTextLabel(new QLabel(tr("xXx"), this));
    m_fileNameLabel->setObjectName(QStringLiteral("recordingFileNameLabel"));
    m_fileNameLabel->setGeometry(250, 430, 350, 44);
    QPalette fileNamePalette = palette();
    fileNamePalette.setColor(QPalette::Window, Qt::white);
    fileNamePalette.setColor(QPalette::WindowText, Qt::black);
    m_fileNameLabel->setPalette(fileNamePalette);
    m_fileNameLabel->setAutoFillBackground(true);
    const QFont fileNameFont = Look::pixelFont(font(), 30);
    m_fileNameLabel->setFont(fileNameFont);
    m_fileNameButton = button(frame, {610, 423, 60, 60}, ":/images/settings.png", "recordingFileNameButton");
    connect(m_fileNameButton, &QAbstractButton::clicked, this, &QVexmarRecordingPage::slot_OnFilenameClicked);
    m_autoSwitch = fixedOff(this, {730, 430, 72, 50}, "recordingAutoSwitch");
    connect(m_autoSwitch, &QAbstractButton::clicked, this, &QVexmarRecordingPage::slot_switchAutoClicked);
    label(this, {820, 432, 400, 44}, tr("Auto recording"));

    m_remainingLabel = label(frame, {170, 573, 350, 65}, tr("Initialisation"), "recordingRemainingLabel");
    m_stopButton = button(frame, {520, 550, 100, 100}, ":/images/stop-grey.png", "recordingStopButton");
    connect(m_stopButton, &QAbstractButton::clicked, this, &QVexmarRecordingPage::slot_OnStopRecordClicked);
    m_recordButton = button(frame, {650, 550, 100, 100}, ":/images/rec-grey.png", "recordingRecordButton");
    m_recordButton->radius = 15.0f;
    connect(m_recordButton, &QAbstractButton::clicked, this, &QVexmarRecordingPage::slot_OnStartRecordClicked);
    m_statusLabel = label(frame, {760, 573, 350, 65}, tr("Initialisation"), "recordingStatusLabel");

    m_playbackOverlay = new QLabel(QStringLiteral("Can not use record module during playback"), this);
    m_playbackOverlay->setObjectName(QStringLiteral("recordingPlaybackOverlay"));
    m_playbackOverlay->setGeometry(QRect(QPoint(0, 0), parentWidget() ? parentWidget()->size() : size()));
    m_playbackOverlay->hide();
    QPalette overlayPalette = palette();
    overlayPalette.setColor(QPalette::Window, labelGrey);
    overlayPalette.setColor(QPalette::WindowText, Qt::white);
    overlayPalette.setColor(QPalette::Base, Qt::lightGray);
    m_playbackOverlay->setPalette(overlayPalette);
    m_playbackOverlay->setAutoFillBackground(true);
    m_playbackOverlay->setFont(labelFont);
    m_playbackOverlay->setAlignment(Qt::AlignCenter);

    m_homeButton = button(this, {1154, 548, 120, 90}, ":/images/home.png", "recordingHomeButton");
    m_homeButton->raise();
    connect(m_homeButton, &QAbstractButton::clicked, this, &QVexmarRecordingPage::homeButtonClicked);
}

void QVexmarRecordingPage::showEvent(QShowEvent *event)
{
    QVexmarPageWidget::showEvent(event);
    m_recorder->loadRecorderSettings();
    const std::string state = m_recorder->recorderStateToCommand();
    m_recorder->setStateCommand(state, false);
    if (state == RecorderModel::CommandPlayStart || state == RecorderModel::CommandPlayPause) {
        m_playbackOverlay->show();
        return;
    }
    m_playbackOverlay->hide();
    if (state != kra::VAL_NONE)
        return;
    // A recording of the page's own that the device ended meanwhile: its timer and locks go with it.
    m_recordTimer->stop();
    stopBlinkTimer();
    m_stopConfirmation = false;

    showSource();
    m_recorder->refreshMediaSpace();
    m_recorder->loadRecorderSettings();
    refreshMediaControls();
    updateControlsEnabled();
    resetTimes();
    computeRemainingTime();
    updateRecordDisplay();
    fillProjectList();

    const std::string project = m_recorder->projectName();
    if (!project.empty()) {
        const int found = m_projectCombo->findData(bytes(project));
        if (found >= 0) {
            m_projectCombo->setCurrentIndex(found);
        } else {
            addProject(project);
            m_projectCombo->setCurrentIndex(m_projectCombo->count() - 1);
        }
    }
    const std::string fileName = m_recorder->fileName();
    if (!fileName.empty())
        m_fileNameLabel->setText(QLatin1Char(' ') + RecorderModel::sanitizeName(QString::fromStdString(fileName)));
}

void QVexmarRecordingPage::refreshMediaControls()
{
    const auto drive = [](QVexmarSwitch *s, bool available) {
        s->setChecked(false);
        s->setCheckable(available);
        s->setDisabledLook(!available);
        s->setEnabled(available);
    };
    const auto driveText = [](const std::string &media, const QString &size, const QString &percent) {
        return RecorderModel::mediaDisplayName(media) + QLatin1Char(' ') + size + percent;
    };
    drive(m_internalSwitch, m_recorder->isInternalAvailable());
    m_internalLabel->setText(
        driveText(kra::MEDIA_INTERNAL, m_recorder->internalSizeText(), m_recorder->internalPercentText()));
    m_usbLabel->setText(m_recorder->usbFreeSpace() < 0
            ? RecorderModel::mediaDisplayName(kra::MEDIA_USB)
            : driveText(kra::MEDIA_USB, m_recorder->usbSizeText(), m_recorder->usbPercentText()));
    m_sdLabel->setText(m_recorder->sdFreeSpace() < 0
            ? RecorderModel::mediaDisplayName(kra::MEDIA_SDRAM)
            : driveText(kra::MEDIA_SDRAM, m_recorder->sdSizeText(), m_recorder->sdPercentText()));
    drive(m_usbSwitch, m_recorder->isUsbAvailable());
    drive(m_sdSwitch, m_recorder->isSdAvailable());

    const std::string destination = m_recorder->mediaDestination();
    m_usbSwitch->setChecked(destination == kra::MEDIA_USB);
    m_sdSwitch->setChecked(destination == kra::MEDIA_SDRAM);
    m_internalSwitch->setChecked(destination == kra::MEDIA_INTERNAL);
    showSource();
    // Both stay disabled, but they show the format that the remaining time is reckoned with.
    m_wavSwitch->setChecked(m_recorder->recordFormat() == kra::FMT_WAV);
    m_mp2Switch->setChecked(m_recorder->recordFormat() == kra::FMT_MPG2);
}

void QVexmarRecordingPage::showSource()
{
    const std::string source = m_recorder->mediaSource();
    if (source != kra::SRC_STREAM1 && source != kra::SRC_STREAM2 && source != kra::SRC_VOICECALL)
        return;
    m_stream1Switch->setChecked(source == kra::SRC_STREAM1);
    m_stream2Switch->setChecked(source == kra::SRC_STREAM2);
    m_voiceSwitch->setChecked(source == kra::SRC_VOICECALL);
}

void QVexmarRecordingPage::resetTimes()
{
    m_elapsedTime = 0;
    m_remainingTime = 0;
}

void QVexmarRecordingPage::computeRemainingTime()
{
    const int divisor = m_recorder->recordFormat() == kra::FMT_WAV ? wavMegabytesPerMinute : otherMegabytesPerMinute;
    const std::string destination = m_recorder->mediaDestination();
    int megabytes = 0;
    if (destination == kra::MEDIA_SDRAM)
        megabytes = m_recorder->sdFreeSpace();
    else if (destination == kra::MEDIA_USB)
        megabytes = m_recorder->usbFreeSpace();
    else if (destination == kra::MEDIA_INTERNAL)
        megabytes = m_recorder->internalFreeSpace();
    // A drive that reports no figure (negative) has no time left either.
    m_remainingMinutes = std::max(0, megabytes) / divisor;
    m_remainingSeconds = m_remainingMinutes * 60;
}

void QVexmarRecordingPage::loadRemainingTime()
{
    m_remainingTime = m_remainingMinutes * 60;
}

void QVexmarRecordingPage::updateRecordDisplay()
{
    const std::string state = m_recorder->stateCommand();
    if (state == kra::VAL_NONE) {
        if (!m_recorder->isAnyMediaAvailable()) {
            setIconPath(m_recordButton, ":/images/rec-grey.png");
            m_statusLabel->setText(tr("No space 00:00:00"));
            Look::setTextColour(m_statusLabel, Qt::yellow);
        } else {
            setIconPath(m_recordButton, ":/images/rec-rgrey.png");
            m_statusLabel->setText(tr("Ready ") + clockText(m_elapsedTime));
            Look::setTextColour(m_statusLabel, Qt::green);
        }
        setIconPath(m_stopButton, ":/images/stop-grey.png");
        loadRemainingTime();
    } else if (state == RecorderModel::CommandRecordStart || m_stopConfirmation) {
        setIconPath(m_recordButton, ":/images/rec-red.png");
        setIconPath(m_stopButton, ":/images/stop-white.png");
        m_statusLabel->setText(tr("Recording ") + clockText(m_elapsedTime));
        Look::setTextColour(m_statusLabel, Qt::red);
    } else {
        return;
    }
    m_remainingLabel->setText(clockText(m_remainingTime) + tr(" Remaining"));
    Look::setTextColour(m_remainingLabel, m_remainingTime > lowRemainingSeconds ? Qt::white : Qt::yellow);
}

void QVexmarRecordingPage::updateControlsEnabled()
{
    const bool idle = m_recorder->stateCommand() == kra::VAL_NONE;
    if (idle) {
        m_internalSwitch->setEnabled(m_recorder->isInternalAvailable());
        m_usbSwitch->setEnabled(m_recorder->isUsbAvailable());
        m_sdSwitch->setEnabled(m_recorder->isSdAvailable());
    } else {
        for (QVexmarSwitch *s : {m_internalSwitch, m_usbSwitch, m_sdSwitch})
            s->setEnabled(false);
    }
    for (QVexmarSwitch *s : {m_stream1Switch, m_stream2Switch, m_voiceSwitch}) {
        if (!idle)
            s->setDisabledLook(true);
        s->setEnabled(idle);
    }
    m_projectCombo->setEnabled(idle);
    m_fileNameButton->setEnabled(idle);
}

// The combo shows the names as the device's screen writes them and keeps each raw name as its data: a project
// is found and stored by the name the device knows, so "My Project" stays selected and is recorded into.
void QVexmarRecordingPage::addProject(const std::string &name)
{
    m_projectCombo->addItem(RecorderModel::sanitizeName(QString::fromUtf8(bytes(name))), bytes(name));
}

void QVexmarRecordingPage::fillProjectList()
{
    if (m_refilling)
        return;
    m_projectCombo->clear();
    const std::string destination = m_recorder->mediaDestination();
    if (destination == kra::VAL_NONE) {
        addProject(RecorderModel::DefaultProject);
        m_projectCombo->setCurrentIndex(0);
        return;
    }
    m_refilling = true;
    for (const std::string &name : m_recorder->projectList(destination))
        addProject(name);
    m_refilling = false;
    if (m_projectCombo->count() == 0) {
        addProject(RecorderModel::DefaultProject);
        m_projectCombo->setCurrentIndex(0);
        m_recorder->setProjectName(RecorderModel::DefaultProject, true);
        return;
    }
    const int found = m_projectCombo->findData(bytes(m_recorder->projectName()));
    if (found >= 0) {
        m_projectCombo->setCurrentIndex(found);
        return;
    }
    const int last = m_projectCombo->count() - 1;
    m_projectCombo->setCurrentIndex(last);
    m_recorder->setProjectName(m_projectCombo->itemData(last).toByteArray().toStdString(), true);
}

void QVexmarRecordingPage::homeButtonClicked()
{
    emit pageActivated(QVexmar::HomePage);
}

bool QVexmarRecordingPage::idleOrUndo(QObject *clicked)
{
    if (m_recorder->stateCommand() == kra::VAL_NONE)
        return true;
    if (auto *s = qobject_cast<QVexmarSwitch *>(clicked))
        s->setChecked(!s->isChecked());
    return false;
}

void QVexmarRecordingPage::slot_switchSourceClicked()
{
    if (idleOrUndo(sender()))
        selectSource(sender());
}

void QVexmarRecordingPage::slot_switchAutoClicked() { }

void QVexmarRecordingPage::slot_switchFormatClicked()
{
    if (idleOrUndo(sender()))
        selectFormat(sender());
}

void QVexmarRecordingPage::slot_switchDriveClicked()
{
    if (idleOrUndo(sender()))
        selectDrive(sender());
}

void QVexmarRecordingPage::selectDrive(QObject *clicked)
{
    const std::pair<QVexmarSwitch *, bool> drives[] = {
        {m_internalSwitch, m_recorder->isInternalAvailable()},
        {m_usbSwitch, m_recorder->isUsbAvailable()},
        {m_sdSwitch, m_recorder->isSdAvailable()},
    };
    if (!m_recorder->isUsbAvailable() && !m_recorder->isSdAvailable()) {
        // The only drive cannot be switched off.
        if (m_recorder->isInternalAvailable() && m_recorder->internalFreeSpace() > m_recorder->spaceThreshold()) {
            m_internalSwitch->setChecked(true);
        } else if (!m_recorder->isInternalAvailable()) {
            for (const auto &d : drives)
                d.first->setChecked(false);
        }
    } else {
        for (const auto &[s, available] : drives) {
            if (available) {
                s->setChecked(s == clicked);
                s->setEnabled(s != clicked);
            } else {
                s->setChecked(false);
            }
        }
    }
    m_recorder->setMediaDestination(kra::VAL_NONE, false);
    const std::string *words[] = {&kra::MEDIA_INTERNAL, &kra::MEDIA_USB, &kra::MEDIA_SDRAM};
    for (int i = 0; i < 3; ++i) {
        if (drives[i].first->isChecked())
            m_recorder->setMediaDestination(*words[i], false);
    }
    m_recorder->saveRecorderSettings();
    computeRemainingTime();
    loadRemainingTime();
    updateRecordDisplay();
}

void QVexmarRecordingPage::selectSource(QObject *clicked)
{
    m_stream1Switch->setChecked(m_stream1Switch == clicked);
    m_stream2Switch->setChecked(m_stream2Switch == clicked);
    m_voiceSwitch->setChecked(m_voiceSwitch == clicked);
    std::string source = kra::VAL_NONE;
    if (m_stream1Switch->isChecked())
        source = kra::SRC_STREAM1;
    else if (m_stream2Switch->isChecked())
        source = kra::SRC_STREAM2;
    else if (m_voiceSwitch->isChecked())
        source = kra::SRC_VOICECALL;
    m_recorder->setMediaSource(source, false);
    m_recorder->saveRecorderSettings();
}

void QVexmarRecordingPage::selectFormat(QObject *clicked)
{
    for (QVexmarSwitch *s : {m_wavSwitch, m_mp2Switch}) {
        s->setChecked(s == clicked);
        s->setEnabled(s != clicked);
    }
    const bool mp2 = !m_wavSwitch->isChecked() && m_mp2Switch->isChecked();
    m_recorder->setRecordFormat(mp2 ? kra::FMT_MPG2 : kra::FMT_WAV, true);
    computeRemainingTime();
    updateRecordDisplay();
}

void QVexmarRecordingPage::slot_OnFilenameClicked()
{
    if (m_recorder->stateCommand() != kra::VAL_NONE)
        return;
    auto *keyboard = new QVexmarVirtual(true, m_fileNameButton);
    keyboard->placeOver(this);
    keyboard->titleLabel.setText(tr("Filename prefix: "));
    keyboard->lineEdit.clear();
    connect(keyboard, &QVexmarPopup::popupClosed, this, &QVexmarRecordingPage::slot_OnFilenameClicked_closePopup);
    keyboard->show();
}

void QVexmarRecordingPage::slot_OnFilenameClicked_closePopup()
{
    auto *keyboard = qobject_cast<QVexmarVirtual *>(sender());
    if (keyboard && keyboard->cancelled == 0 && !keyboard->lineEdit.text().isEmpty())
        applyFileName(keyboard->lineEdit.text());
}

void QVexmarRecordingPage::applyFileName(const QString &text)
{
    const QString name = RecorderModel::sanitizeName(text);
    m_fileNameLabel->setText(QLatin1Char(' ') + name);
    m_recorder->setFileName(name.toUtf8().toStdString(), true);
}

void QVexmarRecordingPage::slot_OnStartRecordClicked()
{
    if (m_recorder->stateCommand() != kra::VAL_NONE || !m_recorder->isAnyMediaAvailable())
        return;
    if (!m_internalSwitch->isChecked() && !m_usbSwitch->isChecked() && !m_sdSwitch->isChecked())
        return;
    if (!m_recorder->executeRecorderCommand(RecorderModel::CommandRecordStart))
        return;
    createRecordTimer();
    connect(m_recordTimer, &QTimer::timeout, this, &QVexmarRecordingPage::slot_RecordTimerTicks);
    m_recorder->setStateCommand(RecorderModel::CommandRecordStart, false);
    m_recordTimer->start(recordTickMs);
    updateControlsEnabled();
    updateRecordDisplay();
}

void QVexmarRecordingPage::createRecordTimer()
{
    delete m_recordTimer;
    m_recordTimer = new QTimer(this);
    m_recordTimer->setTimerType(Qt::VeryCoarseTimer);
}

void QVexmarRecordingPage::slot_RecordTimerTicks()
{
    if (m_recorder->stateCommand() == kra::VAL_NONE)
        return;
    ++m_elapsedTime;
    // The count stops at nothing left; it never wraps round to a day.
    if (m_remainingTime > 0)
        --m_remainingTime;
    updateRecordDisplay();
}

void QVexmarRecordingPage::slot_OnStopRecordClicked()
{
    if (m_recorder->stateCommand() != RecorderModel::CommandRecordStart)
        return;
    if (!m_stopConfirmation) {
        armStopConfirmation();
        return;
    }
    m_stopConfirmation = false;
    stopBlinkTimer();
    stopRecording();
}

void QVexmarRecordingPage::armStopConfirmation()
{
    m_stopConfirmation = true;
    m_blinkTicks = 0;
    m_blinkPhase = false;
    setIconPath(m_stopButton, ":/images/stop-red.png");
    stopBlinkTimer();
    m_blinkTimer = new QTimer(this);
    m_blinkTimer->setTimerType(Qt::CoarseTimer);
    m_blinkTimer->start(blinkTickMs);
    connect(m_blinkTimer, &QTimer::timeout, this, &QVexmarRecordingPage::slot_PreStopTimerTicks);
}

void QVexmarRecordingPage::slot_PreStopTimerTicks()
{
    if (m_blinkTicks >= blinkTicksToEnd) {
        m_stopConfirmation = false;
        setIconPath(m_stopButton, ":/images/stop-white.png");
        stopBlinkTimer();
    } else {
        m_blinkPhase = !m_blinkPhase;
        setIconPath(m_stopButton, m_blinkPhase ? ":/images/stop-red.png" : ":/images/stop-white.png");
    }
    ++m_blinkTicks;
}

void QVexmarRecordingPage::stopBlinkTimer()
{
    if (!m_blinkTimer)
        return;
    m_blinkTimer->stop();
    // It may be the timer whose tick is running.
    m_blinkTimer->deleteLater();
    m_blinkTimer = nullptr;
}

void QVexmarRecordingPage::stopRecording()
{
    // The page goes idle whatever the device answers; the model logs a refusal.
    m_recorder->executeRecorderCommand(RecorderModel::CommandRecordStop);
    m_recorder->setStateCommand(kra::VAL_NONE, true);
    m_recordTimer->stop();
    resetTimes();
    computeRemainingTime();
    updateRecordDisplay();
    updateControlsEnabled();
}

void QVexmarRecordingPage::slot_onIndexChanged_cboProject(int index)
{
    if (m_refilling || index < 0)
        return;
    const QVariant raw = m_projectCombo->itemData(index);
    const QByteArray name = raw.isValid() ? raw.toByteArray() : m_projectCombo->itemText(index).toUtf8();
    m_recorder->setProjectName(name.toStdString(), true);
}

void QVexmarRecordingPage::slot_OnFTPClicked()
{
    emit pageActivated(QVexmar::SettingsFtpServer);
}
