// The folder page's work on drives and projects: the disk manager with its confirmation and progress, the choice
// of drive and project, creating and deleting projects, copying a project or a recording to another drive or
// sending a recording by FTP, and the hand-over of a recording to the editor page.

#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "pages/recordermodel.h"
#include "pages/vexmarfolderpage.h"
#include "rpc/ccom.h"
#include "rpc/kramsg.h"
#include "rpc/rpcvocabulary.h"
#include "widgets/screenpointer.h"
#include "widgets/vexmarconfirm.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarprojectpopups.h"
#include "widgets/vexmarvirtual.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QPointer>
#include <QTimer>

namespace {

// Formatting or repairing a large drive takes the device a long while.
constexpr int driveOperationTimeoutMs = 3600000;
constexpr int editorPollMs = 100;

// The export popup's targets.
enum ExportTarget { InternalTarget = 1, UsbTarget = 2, SdTarget = 3, FtpTarget = 4 };

std::string targetDrive(int target)
{
    switch (target) {
    case InternalTarget:
        return kra::MEDIA_INTERNAL;
    case UsbTarget:
        return kra::MEDIA_USB;
    case SdTarget:
        return kra::MEDIA_SDRAM;
    default:
        return {};
    }
}

} // namespace

QString QVexmarFolderPage::formatMegabytes(int megabytes)
{
    return QString::asprintf("%d MB", megabytes);
}

QString QVexmarFolderPage::sizeText(int megabytes)
{
    if (megabytes == 0)
        return tr("Empty");
    if (megabytes == 1)
        return tr("Less than 1MB");
    return formatMegabytes(megabytes);
}

int QVexmarFolderPage::driveOperationSeconds(int freeMegabytes)
{
    return int((freeMegabytes / 1000) * 1.5 + 2.0);
}

// ---------------------------------------------------------------------------------------------------------------
// Drives

void QVexmarFolderPage::slot_onClicked_btn_edit_drive()
{
    if (isEditorMode() || m_leftPlaying || m_rightPlaying || m_playListRun || m_leftPaused || m_rightPaused)
        return;
    const std::string drive = m_recorder->mediaDestination();
    QString name;
    if (drive == kra::MEDIA_INTERNAL)
        name = tr("Internal");
    else if (drive == kra::MEDIA_USB)
        name = tr("USB");
    else if (drive == kra::MEDIA_SDRAM)
        name = tr("SD card");
    else
        return;
    auto *manager = new QVexmarManageDrive(this);
    manager->setDrive(drive);
    manager->setDriveName(name);
    manager->setupUi();
    manager->placeOver(this);
    connect(manager, &QVexmarPopup::popupClosed, this, &QVexmarFolderPage::slot_popupClosed_ManageDrive);
    manager->show();
}

void QVexmarFolderPage::slot_popupClosed_ManageDrive()
{
    const auto *manager = qobject_cast<QVexmarManageDrive *>(sender());
    if (!manager)
        return;
    struct Choice
    {
        int action;
        const std::string &drive;
        DriveOperation operation;
        const char *title;
    };
    // No eject of the internal disk.
    static const Choice choices[] = {
        {QVexmarManageDrive::EjectAction, kra::MEDIA_USB, EjectUsbOperation, QT_TR_NOOP("Eject USB")},
        {QVexmarManageDrive::EjectAction, kra::MEDIA_SDRAM, EjectSdcardOperation, QT_TR_NOOP("Eject SD card")},
        {QVexmarManageDrive::RepairAction, kra::MEDIA_INTERNAL, RepairInternalOperation,
            QT_TR_NOOP("Repair Internal Disk")},
        {QVexmarManageDrive::RepairAction, kra::MEDIA_USB, RepairUsbOperation, QT_TR_NOOP("Repair USB")},
        {QVexmarManageDrive::RepairAction, kra::MEDIA_SDRAM, RepairSdcardOperation, QT_TR_NOOP("Repair SD card")},
        {QVexmarManageDrive::FormatAction, kra::MEDIA_INTERNAL, FormatInternalOperation,
            QT_TR_NOOP("Format Internal Disk")},
        {QVexmarManageDrive::FormatAction, kra::MEDIA_USB, FormatUsbOperation, QT_TR_NOOP("Format USB")},
        {QVexmarManageDrive::FormatAction, kra::MEDIA_SDRAM, FormatSdcardOperation, QT_TR_NOOP("Format SD card")},
    };
    for (const Choice &choice : choices) {
        if (choice.action == manager->selectedAction() && choice.drive == manager->drive()) {
            m_driveAction = choice.operation;
            confirmDriveAction(tr(choice.title));
            return;
        }
    }
}

void QVexmarFolderPage::confirmDriveAction(const QString &title)
{
    auto *confirm = new QVexmarConfirmAction(this);
    confirm->setTitle(title);
    confirm->setLine1(tr("Please confirm"), QString());
    confirm->setContextValue(m_driveAction);
    confirm->setupUi();
    confirm->placeOver(this);
    connect(confirm, &QVexmarPopup::popupClosed, this, &QVexmarFolderPage::slot_popupClosed_ManageDriveConfirm);
    confirm->show();
}

void QVexmarFolderPage::slot_popupClosed_ManageDriveConfirm()
{
    const auto *confirm = qobject_cast<QVexmarConfirmAction *>(sender());
    if (!confirm || confirm->isCancelled())
        return;
    using F = QVexmarFolderPage;
    struct Run
    {
        const char *title;
        int (RecorderModel::*freeSpace)() const;
        void (F::*operation)(QVexmarCountDownPopup *);
    };
    Run run {};
    switch (m_driveAction) {
    case FormatUsbOperation:
        run = {QT_TR_NOOP("Formating"), &RecorderModel::usbFreeSpace, &F::formatUsb};
        break;
    case FormatSdcardOperation:
        run = {QT_TR_NOOP("Formating"), &RecorderModel::sdFreeSpace, &F::formatSdcard};
        break;
    case RepairUsbOperation:
        run = {QT_TR_NOOP("Repairing"), &RecorderModel::usbFreeSpace, &F::repairUsb};
        break;
    case RepairSdcardOperation:
        run = {QT_TR_NOOP("Repairing"), &RecorderModel::sdFreeSpace, &F::repairSdcard};
        break;
    case EjectUsbOperation:
        run = {QT_TR_NOOP("Ejecting"), &RecorderModel::usbFreeSpace, &F::unmountUsb};
        break;
    case EjectSdcardOperation:
        run = {QT_TR_NOOP("Ejecting"), &RecorderModel::sdFreeSpace, &F::unmountSdcard};
        break;
    case FormatInternalOperation:
        run = {QT_TR_NOOP("Formating"), &RecorderModel::internalFreeSpace, &F::formatInternal};
        break;
    case RepairInternalOperation:
        run = {QT_TR_NOOP("Repairing"), &RecorderModel::internalFreeSpace, &F::repairInternal};
        break;
    default:
        return;
    }
    auto *progress = new QVexmarCountDownPopup(this);
    progress->setTitle(QStringLiteral("[...]"));
    progress->setLine1(tr("Please wait"), QStringLiteral("00:00"));
    progress->setCountdown(1);
    progress->setupUi();
    progress->placeOver(this);
    progress->hideButtons();
    progress->show();
    progress->setTitle(tr(run.title));
    // From the free space of the last reading, not read again. The popup counts the time passed; the estimate
    // stays with it as its kept value.
    const int seconds = driveOperationSeconds((m_recorder.get()->*run.freeSpace)());
    progress->setContextValue(seconds);
    progress->startCountdown(seconds);
    (this->*run.operation)(progress);
}

void QVexmarFolderPage::runDriveOperation(QVexmarCountDownPopup *progress, const std::string &action)
{
    const QPointer<QVexmarCountDownPopup> popup(progress);
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_ACTION, action);
    // Counting goes on while the device works; the user's touches wait.
    const bool done = TComRpcAccess(getCom()).execute(request, driveOperationTimeoutMs);
    if (!done) {
        if (popup)
            popup->showFailed();
        return;
    }
    if (popup)
        popup->showDone();
    showEvent(nullptr);
}

void QVexmarFolderPage::formatUsb(QVexmarCountDownPopup *progress)
{
    runDriveOperation(progress, kra::CMD_FORMAT_USB);
}

void QVexmarFolderPage::formatSdcard(QVexmarCountDownPopup *progress)
{
    runDriveOperation(progress, kra::CMD_FORMAT_SDCARD);
}

void QVexmarFolderPage::formatInternal(QVexmarCountDownPopup *progress)
{
    runDriveOperation(progress, kra::CMD_FORMAT_INTERNAL);
}

void QVexmarFolderPage::repairUsb(QVexmarCountDownPopup *progress)
{
    runDriveOperation(progress, kra::CMD_REPAIR_USB);
}

void QVexmarFolderPage::repairSdcard(QVexmarCountDownPopup *progress)
{
    runDriveOperation(progress, kra::CMD_REPAIR_SDCARD);
}

void QVexmarFolderPage::repairInternal(QVexmarCountDownPopup *progress)
{
    runDriveOperation(progress, kra::CMD_REPAIR_INTERNAL);
}

void QVexmarFolderPage::unmountUsb(QVexmarCountDownPopup *progress)
{
    runDriveOperation(progress, kra::CMD_UNMOUNT_USB);
}

void QVexmarFolderPage::unmountSdcard(QVexmarCountDownPopup *progress)
{
    runDriveOperation(progress, kra::CMD_UNMOUNT_SDCARD);
}

// Nothing connects to it: a drive operation reports in its own popup.
void QVexmarFolderPage::slot_popupClosed_ManageDriveProgress(QString, int) { }

void QVexmarFolderPage::dropRecordChoice()
{
    m_recordSelected = false;
    showFileInfo(nullptr);
    refreshLeftControls();
    activateLeftSide();
    listWidget_Left->clear();
}

void QVexmarFolderPage::slot_onIndexChanged_cboDrive(int index)
{
    if (isEditorMode() || m_leftPlaying || m_leftPaused || m_rightPlaying || m_rightPaused || m_filling)
        return;
    // A recording chosen on the other drive is not on this one.
    dropRecordChoice();
    if (index < 0)
        return;
    updateFreeSpace();
    fillProjects();
    fillRecords();
}

// ---------------------------------------------------------------------------------------------------------------
// Projects

void QVexmarFolderPage::slot_onClicked_btn_edit_project()
{
    // A running play list holds the project; a recording playing from the list does not.
    if (isEditorMode() || m_rightPlaying || m_playListRun || m_rightPaused)
        return;
    auto *manager = new QVexmarManageProject(this);
    // Projects are copied from the internal disk only.
    manager->setCopyToDisabled(m_recorder->mediaDestination() != kra::MEDIA_INTERNAL);
    manager->setProjectName(QString::fromStdString(m_recorder->projectName()));
    manager->setupUi();
    manager->placeOver(this);
    connect(manager, &QVexmarPopup::popupClosed, this, &QVexmarFolderPage::slot_popupClosed_ManageProject);
    manager->show();
}

void QVexmarFolderPage::slot_popupClosed_ManageProject()
{
    const auto *manager = qobject_cast<QVexmarManageProject *>(sender());
    if (!manager)
        return;
    switch (manager->selectedAction()) {
    case QVexmarManageProject::DeleteAction: {
        auto *deletion = new QVexmarEditProjectDelete(this);
        deletion->setProjectName(QString::fromStdString(m_recorder->projectName()));
        deletion->setupUi();
        deletion->placeOver(this);
        connect(deletion, &QVexmarPopup::popupClosed, this, &QVexmarFolderPage::slot_popupClosed_DeleteProject);
        deletion->show();
        break;
    }
    case QVexmarManageProject::CreateAction: {
        auto *keyboard = new QVexmarVirtual(true, this);
        keyboard->placeOver(this);
        keyboard->titleLabel.setText(tr("New project: "));
        keyboard->lineEdit.setText(QString());
        connect(keyboard, &QVexmarPopup::popupClosed, this, &QVexmarFolderPage::slot_popupClosed_CreateProject);
        keyboard->show();
        break;
    }
    case QVexmarManageProject::CopyToAction:
        exportProject();
        break;
    default:
        break;
    }
}

void QVexmarFolderPage::selectProjectEntry(int index)
{
    m_filling = true;
    cboProject->setCurrentIndex(index);
    m_filling = false;
}

void QVexmarFolderPage::slot_popupClosed_CreateProject()
{
    const auto *keyboard = qobject_cast<QVexmarVirtual *>(sender());
    if (!keyboard || isEditorMode())
        return;
    // Playback ends, typed or not: the device cannot play from a project it has left.
    if (m_recorder->stateCommand() != kra::VAL_NONE || m_leftPlaying || m_leftPaused || m_rightPlaying
        || m_rightPaused) {
        if (m_leftPlaying || m_leftPaused)
            stopLeftPlay();
        m_leftPlaying = false;
        m_leftPaused = false;
        slot_onClicked_btn_RightStop();
    }
    if (keyboard->cancelled != 0 || keyboard->lineEdit.text().isEmpty())
        return;
    const QString name = RecorderModel::sanitizeName(keyboard->lineEdit.text());
    // A name the list shows already is that project, not a second entry of the same text.
    int entry = cboProject->findText(name);
    if (entry == cboProject->currentIndex())
        return;
    if (entry < 0) {
        const std::string previous = m_recorder->projectName();
        // The device's settings learn the name only once the folder exists: a refusal leaves all as it was.
        m_recorder->setProjectName(name.toStdString(), false);
        if (!m_recorder->createProject()) {
            m_recorder->setProjectName(previous, false);
            return;
        }
        m_filling = true;
        cboProject->addItem(name, name);
        m_filling = false;
        entry = cboProject->count() - 1;
    }
    selectProjectEntry(entry);
    m_recorder->setProjectName(cboProject->itemData(entry).toString().toStdString());
    dropRecordChoice();
    fillRecords();
}

void QVexmarFolderPage::slot_popupClosed_DeleteProject()
{
    const auto *deletion = qobject_cast<QVexmarEditProjectDelete *>(sender());
    if (!deletion || isEditorMode() || deletion->isCancelled())
        return;
    // The recording playing may be among those deleted.
    if (m_leftPlaying || m_leftPaused)
        stopLeftPlay();
    const QString project = QString::fromStdString(m_recorder->projectName());
    if (deletion->recordsOnly()) {
        if (m_recorder->emptyProject() < 0) {
            showMessage(tr("Failed to delete the records of") + QLatin1Char('\n') + project, 0);
            return;
        }
        dropRecordChoice();
        fillRecords();
        return;
    }
    if (m_recorder->deleteProject() < 0) {
        showMessage(tr("Failed to delete") + QLatin1Char('\n') + project, 0);
        return;
    }
    m_filling = true;
    const int entry = cboProject->findData(project);
    if (entry >= 0)
        cboProject->removeItem(entry);
    if (cboProject->count() == 0) {
        const QString fallback = QString::fromStdString(RecorderModel::DefaultProject);
        cboProject->addItem(fallback, fallback);
    }
    m_filling = false;
    const int last = cboProject->count() - 1;
    selectProjectEntry(last);
    m_recorder->setProjectName(cboProject->itemData(last).toString().toStdString());
    dropRecordChoice();
    fillRecords();
}

void QVexmarFolderPage::slot_onIndexChanged_cboProject(int index)
{
    if (isEditorMode() || m_leftPlaying || m_leftPaused || m_rightPlaying || m_rightPaused || m_filling)
        return;
    dropRecordChoice();
    if (index < 0)
        return;
    // Shown sanitised, kept as the device names it.
    m_recorder->setProjectName(cboProject->itemData(index).toString().toStdString());
    fillRecords();
}

// ---------------------------------------------------------------------------------------------------------------
// Export

void QVexmarFolderPage::openExportPopup(const QString &title, const QString &name, int megabytes, bool soundFile)
{
    // The labels and the targets offered from one reading of the drives, taken now.
    m_recorder->refreshMediaSpace();
    auto *popup = new QVexmarExportConfig(this);
    popup->setTitle(title);
    popup->setProjectName(name);
    popup->setProjectSize(sizeText(megabytes));
    const RecorderModel &r = *m_recorder;
    const auto label = [](const std::string &drive, const QString &free, const QString &percent) {
        return RecorderModel::mediaDisplayName(drive) + QLatin1Char(' ') + free + percent;
    };
    popup->setDrive1Name(label(kra::MEDIA_INTERNAL, r.internalSizeText(), r.internalPercentText()));
    popup->setDrive2Name(label(kra::MEDIA_USB, r.usbSizeText(), r.usbPercentText()));
    popup->setDrive3Name(label(kra::MEDIA_SDRAM, r.sdSizeText(), r.sdPercentText()));
    popup->setDrive4Name(tr("FTP"));
    const std::string current = r.mediaDestination();
    popup->setDrive1Enabled(
        r.isInternalAvailable() && current != kra::MEDIA_INTERNAL && megabytes <= r.internalFreeSpace());
    popup->setDrive2Enabled(r.isUsbAvailable() && current != kra::MEDIA_USB && megabytes <= r.usbFreeSpace());
    popup->setDrive3Enabled(r.isSdAvailable() && current != kra::MEDIA_SDRAM && megabytes <= r.sdFreeSpace());
    // The device's FTP job takes single recordings only.
    popup->setDrive4Enabled(soundFile);
    if (soundFile) {
        popup->setFileMode();
        popup->setFileName(name);
    }
    popup->setupUi();
    popup->placeOver(this);
    connect(popup, &QVexmarPopup::popupClosed, this,
        soundFile ? &QVexmarFolderPage::slot_popupClosed_ExportSoundFile
                  : &QVexmarFolderPage::slot_popupClosed_ExportProject);
    popup->show();
}

void QVexmarFolderPage::exportProject()
{
    const std::string project = m_recorder->projectName();
    const int size = getDevice()->getProjectSize(m_recorder->mediaDestination(), project);
    if (size < 0)
        return;
    openExportPopup(tr("EXPORT PROJECT"), QString::fromStdString(project), size, false);
}

void QVexmarFolderPage::showCopyFailure(const std::string &cause)
{
    QString text = tr("Copy failed");
    if (!cause.empty())
        text += QLatin1Char('\n') + QString::fromStdString(cause);
    showMessage(text, 0);
}

void QVexmarFolderPage::slot_popupClosed_ExportProject()
{
    const auto *popup = qobject_cast<QVexmarExportConfig *>(sender());
    if (!popup || popup->isCancelled())
        return;
    if (popup->selectedDrive() == FtpTarget) {
        showMessage(tr("A project cannot be sent by FTP: send its recordings one by one."), 0);
        return;
    }
    const std::string target = targetDrive(popup->selectedDrive());
    if (target.empty())
        return;
    std::string cause;
    if (!getDevice()->recordCopyTo(m_recorder->mediaDestination(), m_recorder->projectName(), target, &cause))
        showCopyFailure(cause);
}

void QVexmarFolderPage::slot_onClicked_btn_share()
{
    const FolderFileInfo *info = recordOfItem(selectedRecord());
    if (!info)
        return;
    const QString file = info->fileName;
    const int size
        = getDevice()->getFileSize(m_recorder->mediaDestination(), m_recorder->projectName(), file.toStdString());
    if (size < 0)
        return;
    openExportPopup(tr("EXPORT Sound File"), file, size, true);
}

void QVexmarFolderPage::slot_popupClosed_ExportSoundFile()
{
    const auto *popup = qobject_cast<QVexmarExportConfig *>(sender());
    if (!popup || popup->isCancelled())
        return;
    const std::string file = popup->fileName().toStdString();
    const std::string drive = m_recorder->mediaDestination();
    const std::string project = m_recorder->projectName();
    std::string cause;
    if (popup->selectedDrive() != FtpTarget) {
        const std::string target = targetDrive(popup->selectedDrive());
        if (!target.empty() && !getDevice()->recordFileCopyTo(drive, project, file, target, &cause))
            showCopyFailure(cause);
        return;
    }
    if (getDevice()->sendRecord(drive, project, file, cause))
        return;
    QString text;
    if (cause == kra::ERR_RESOURCE_BUSY)
        text = tr("FTP transfer is busy (previous file still in progress). Please wait until it is finished.");
    else if (cause == kra::ERR_REMOTE_ADDRESS_MISSING)
        text = tr("FTP address is missing.");
    else if (cause == kra::ERR_INVALID_FILE)
        text = tr("FTP failed : invalid file.");
    else
        text = tr("FTP failed : unknown error.");
    // The FTP job speaks for the whole screen (over this page while there is no screen).
    showScreenMessage(text, 0, this);
}

// ---------------------------------------------------------------------------------------------------------------
// The hand-over to the editor

void QVexmarFolderPage::slot_onClicked_btn_editWav()
{
    if (!m_recordSelected)
        return;
    std::string wav = m_recorder->loadEditorNextWav();
    if (wav.empty()) {
        // The choice never reached the device, or was taken since: the recording shown is the one meant.
        wav = m_chosenFile.toStdString();
        if (wav.empty())
            return;
        m_recorder->saveEditorNextWav(wav);
    }
    const bool processed
        = getDevice()->openRecord(m_recorder->mediaDestination(), m_recorder->projectName(), wav + "." + kra::TYPE_DAT);
    if (processed)
        showMessage(tr("File already processed"), 1000);
    else
        showMessage(tr("Processing wav file, please wait approximately %1 seconds...").arg(m_editMinutes),
            m_editMinutes * 1000);
    if (!m_editorTimer) {
        m_editorTimer = new QTimer(this);
        m_editorTimer->setObjectName(QStringLiteral("editorTimer"));
        connect(m_editorTimer, &QTimer::timeout, this, &QVexmarFolderPage::timeoutEvent);
    }
    m_handingOver = true;
    m_editorAsked = false;
    m_editorTimer->start(editorPollMs);
}

void QVexmarFolderPage::timeoutEvent()
{
    if (!m_handingOver)
        return;
    // No tick while this one waits: a tick inside the read would find the service busy.
    m_editorTimer->stop();
    bool answered = false;
    const std::string wav = m_recorder->loadEditorNextWav(&answered);
    if (!m_handingOver)
        return;
    if (answered) {
        if (!m_editorAsked) {
            m_editorAsked = true;
            emit pageActivated(QVexmar::EditorPage);
        }
        if (wav.empty()) {
            // The editor has the file. The message stays until it closes; the next one is a new popup.
            endEditorHandOver();
            m_message = nullptr;
            return;
        }
    }
    if (m_handingOver)
        m_editorTimer->start(editorPollMs);
}

void QVexmarFolderPage::endEditorHandOver()
{
    m_handingOver = false;
    if (m_editorTimer)
        m_editorTimer->stop();
}

// What the metadata button does is not settled yet.
void QVexmarFolderPage::slot_onClicked_btn_editMeta() { }
