// The folder page's choosing, play-list editing, playback and deletion, and the images that show which of its
// buttons act. The buttons are never disabled: each slot checks the page's state and does nothing where it does
// not apply, and the images tell the user so.

#include "pages/recordermodel.h"
#include "pages/vexmarfolderimages.h"
#include "pages/vexmarfolderpage.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarconfirm.h"
#include "widgets/vexmarlook.h"

#include <QComboBox>
#include <QListWidget>

namespace {

// Takes the list's selected items to the end of the other list; true when any went.
bool moveSelected(QListWidget *from, QListWidget *to)
{
    bool moved = false;
    for (int row = 0; row < from->count();) {
        if (from->item(row)->isSelected()) {
            QListWidgetItem *item = from->takeItem(row);
            item->setSelected(false);
            to->addItem(item);
            moved = true;
        } else {
            ++row;
        }
    }
    return moved;
}

} // namespace

void QVexmarFolderPage::refreshLeftControls()
{
    namespace I = FolderImages;
    if (!m_recordSelected) {
        listWidget_Left->clearSelection();
        listWidget_Left->setSelectionMode(QAbstractItemView::NoSelection);
        Look::setImages({{btn_LeftPlayPause, I::playGrey}, {btn_LeftStop, I::stopGrey}, {btn_Trash, I::trashDisable},
            {btn_share, I::shareDisable}, {btn_editMeta, I::pencilDisable}, {btn_editWav, I::wavesDisable},
            {btn_goRight, I::pushRightGrey}});
    } else {
        listWidget_Left->setSelectionMode(QAbstractItemView::SingleSelection);
        listWidget_Left->setFocus();
        if (m_leftPlaying) {
            Look::setImages({{btn_LeftPlayPause, I::pauseWhite}, {btn_LeftStop, I::stopWhite},
                {btn_Trash, I::trashDisable}, {btn_goRight, I::pushRightGrey}});
        } else if (m_leftPaused) {
            Look::setImages({{btn_LeftPlayPause, I::playWhite}, {btn_LeftStop, I::stopWhite},
                {btn_Trash, I::trashDisable}, {btn_share, I::shareDisable}, {btn_goRight, I::pushRightGrey}});
        } else {
            Look::setImages({{btn_LeftPlayPause, I::playWhite}, {btn_LeftStop, I::stopGrey}, {btn_Trash, I::trash},
                {btn_share, I::share}, {btn_goRight, I::pushRightWhite}});
        }
    }
    if (isEditorMode()) {
        Look::setImages({{btn_LeftPlayPause, I::playGrey}, {btn_LeftStop, I::stopGrey}, {btn_Trash, I::trashDisable},
            {btn_share, I::shareDisable}, {btn_editMeta, I::pencilDisable}, {btn_goRight, I::pushRightGrey},
            {btn_editWav, m_recordSelected ? I::waves : I::wavesDisable}});
    }
}

void QVexmarFolderPage::refreshRightControls()
{
    if (isEditorMode())
        return;
    const QString *play = &FolderImages::playWhite;
    const QString *stop = &FolderImages::stopGrey;
    bool editable = false;
    if (!m_playListActive) {
        play = &FolderImages::playGrey;
    } else if (m_playListRun) {
        if (m_rightPlaying)
            play = &FolderImages::pauseWhite;
        if (m_rightPlaying || m_rightPaused)
            stop = &FolderImages::stopWhite;
    } else {
        editable = listWidget_Right->count() > 1;
        if (m_rightPaused)
            stop = &FolderImages::stopWhite;
        else if (m_rightPlaying)
            stop = nullptr; // as it was
    }
    Look::setImage(btn_RightPlayPause, *play);
    if (stop)
        Look::setImage(btn_RightStop, *stop);
    Look::setImage(
        btn_goLeft, m_playListActive && !m_playListRun ? FolderImages::pushLeftWhite : FolderImages::pushLeftGrey);
    Look::setImage(btn_ItemUp, editable ? FolderImages::upWhite : FolderImages::upGrey);
    Look::setImage(btn_ItemDown, editable ? FolderImages::downWhite : FolderImages::downGrey);
    Look::setImage(btn_RightPrevious, editable ? FolderImages::previousWhite : FolderImages::previousGrey);
    Look::setImage(btn_RightNext, editable ? FolderImages::nextWhite : FolderImages::nextGrey);
}

void QVexmarFolderPage::setDriveProjectControlsEnabled(bool enable)
{
    const bool enabled = enable && !isEditorMode();
    cboDrive->setEnabled(enabled);
    cboProject->setEnabled(enabled);
    btn_edit_project->setEnabled(enabled);
}

void QVexmarFolderPage::slot_onListWidget_Left_itemClicked(QListWidgetItem *item)
{
    if (m_leftPlaying || m_leftPaused) {
        // The click moved the selection; it goes back to the recording that plays and whose details are shown.
        for (int row = 0; row < listWidget_Left->count(); ++row) {
            if (listWidget_Left->item(row)->data(Qt::UserRole).toString() == m_chosenFile)
                listWidget_Left->setCurrentRow(row);
        }
        return;
    }
    if (m_rightPlaying || m_rightPaused || m_playListRun) {
        listWidget_Right->setFocus();
        return;
    }
    const int row = listWidget_Left->currentRow();
    if (row < 0)
        return;
    listWidget_Left->setSelectionMode(QAbstractItemView::SingleSelection);
    listWidget_Left->setCurrentRow(row);
    listWidget_Left->setCurrentItem(item);
    chooseRecord();
}

void QVexmarFolderPage::chooseRecord()
{
    if (!m_recordSelected) {
        if (m_playListRun)
            return;
        if (m_playListActive)
            activateLeftSide();
        markRecordChosen();
        listWidget_Left->setFocus();
    }
    for (const QListWidgetItem *item : listWidget_Left->selectedItems()) {
        const FolderFileInfo *info = recordOfItem(item);
        if (!info)
            continue;
        // Also in editor mode: this is how the editor learns which recording the user picked.
        m_recorder->saveEditorNextWav(info->fileName.toStdString());
        bool ok = false;
        const int seconds = int(lengthSeconds(info->length, &ok));
        if (ok)
            m_editMinutes = seconds >= -59 && seconds <= 59 ? 1 : seconds / 60 + 1;
        showFileInfo(info);
        m_chosenFile = info->fileName;
    }
}

void QVexmarFolderPage::markRecordChosen()
{
    m_recordSelected = true;
    refreshLeftControls();
    if (isEditorMode())
        Look::setImage(btn_editWav, FolderImages::waves);
}

void QVexmarFolderPage::clearRecordSelection()
{
    listWidget_Left->clearSelection();
    listWidget_Left->setSelectionMode(QAbstractItemView::NoSelection);
    m_recordSelected = false;
    showFileInfo(nullptr);
    refreshLeftControls();
}

void QVexmarFolderPage::slot_onListWidget_Right_itemClicked(QListWidgetItem *)
{
    choosePlayListItem();
}

void QVexmarFolderPage::choosePlayListItem()
{
    if (m_leftPlaying || m_leftPaused)
        stopLeftPlay();
    m_leftPlaying = false;
    m_leftPaused = false;
    if (m_recordSelected) {
        m_recordSelected = false;
        showFileInfo(nullptr);
        refreshLeftControls();
    }
    if (!m_playListActive) {
        activateRightSide();
        refreshRightControls();
    }
}

void QVexmarFolderPage::activateRightSide()
{
    if (isEditorMode())
        return;
    m_playListActive = true;
    refreshRightControls();
}

void QVexmarFolderPage::activateLeftSide()
{
    if (isEditorMode())
        return;
    m_playListActive = false;
    refreshRightControls();
}

void QVexmarFolderPage::slot_onClicked_btn_goRight()
{
    if (isEditorMode() || m_playListRun || m_rightPlaying || m_leftPlaying || m_leftPaused || !m_recordSelected
        || refusePlayListEdit())
        return;
    if (listWidget_Left->selectedItems().isEmpty()) {
        m_playListActive = false;
    } else {
        stopLeftPlay();
        moveSelected(listWidget_Left, listWidget_Right);
        updatePlayListDuration();
    }
    clearRecordSelection();
    refreshRightControls();
    storePlayList();
}

void QVexmarFolderPage::slot_onClicked_btn_goLeft()
{
    if (isEditorMode() || m_rightPlaying || m_rightPaused || m_playListRun || !m_playListActive || refusePlayListEdit())
        return;
    if (m_leftPlaying || m_leftPaused)
        stopLeftPlay();
    clearRecordSelection();
    if (moveSelected(listWidget_Right, listWidget_Left))
        updatePlayListDuration();
    if (listWidget_Right->count() == 0)
        activateLeftSide();
    refreshRightControls();
    storePlayList();
}

void QVexmarFolderPage::slot_onClicked_btn_ItemUp()
{
    if (isEditorMode() || !m_playListActive || m_playListRun || m_rightPlaying || listWidget_Right->count() == 0
        || listWidget_Right->selectedItems().isEmpty() || refusePlayListEdit())
        return;
    for (int row = 1; row < listWidget_Right->count(); ++row) {
        if (!listWidget_Right->item(row)->isSelected())
            continue;
        QListWidgetItem *item = listWidget_Right->takeItem(row);
        listWidget_Right->insertItem(row - 1, item);
        listWidget_Right->setCurrentRow(row - 1);
    }
    storePlayList();
}

void QVexmarFolderPage::slot_onClicked_btn_ItemDown()
{
    if (isEditorMode() || !m_playListActive || m_playListRun || m_rightPlaying || listWidget_Right->count() == 0
        || listWidget_Right->selectedItems().isEmpty() || refusePlayListEdit())
        return;
    for (int row = listWidget_Right->count() - 2; row >= 0; --row) {
        if (!listWidget_Right->item(row)->isSelected())
            continue;
        QListWidgetItem *item = listWidget_Right->takeItem(row);
        listWidget_Right->insertItem(row + 1, item);
        listWidget_Right->setCurrentRow(row + 1);
    }
    storePlayList();
}

void QVexmarFolderPage::startLeftPlay()
{
    if (isEditorMode() || m_rightPlaying || m_playListRun)
        return;
    m_leftPaused = false;
    m_leftPlaying = true;
    refreshLeftControls();
    // The current item alone: one recording plays, whatever else shares its index.
    if (const FolderFileInfo *info = recordOfItem(listWidget_Left->currentItem()))
        m_recorder->executeRecorderCommand(RecorderModel::CommandPlayStart, info->fileName.toStdString());
}

void QVexmarFolderPage::pauseLeftPlay()
{
    if (isEditorMode())
        return;
    m_leftPaused = true;
    m_leftPlaying = false;
    refreshLeftControls();
    m_recorder->executeRecorderCommand(RecorderModel::CommandPlayPause);
}

void QVexmarFolderPage::resumeLeftPlay()
{
    if (isEditorMode())
        return;
    m_leftPaused = false;
    m_leftPlaying = true;
    refreshLeftControls();
    m_recorder->executeRecorderCommand(RecorderModel::CommandPlayUnpause);
}

void QVexmarFolderPage::stopLeftPlay()
{
    if (isEditorMode())
        return;
    m_leftPaused = false;
    m_leftPlaying = false;
    refreshLeftControls();
    m_recorder->executeRecorderCommand(RecorderModel::CommandPlayStop);
}

void QVexmarFolderPage::startRightPlay()
{
    if (isEditorMode())
        return;
    const bool leftBusy = m_leftPlaying || m_leftPaused;
    if (leftBusy) {
        m_recordSelected = false;
        stopLeftPlay();
    }
    if (leftBusy || m_recordSelected) {
        m_recordSelected = false;
        showFileInfo(nullptr);
        refreshLeftControls();
    }
    m_rightPaused = false;
    m_rightPlaying = true;
    // A run starts where the user stands; with nothing selected, at the top.
    QListWidgetItem *item = listWidget_Right->currentItem();
    if (!item || !item->isSelected())
        item = listWidget_Right->selectedItems().value(0, listWidget_Right->item(0));
    if (item) {
        listWidget_Right->setCurrentItem(item);
        item->setSelected(true);
    }
    if (const FolderFileInfo *info = recordOfItem(item))
        m_recorder->executeRecorderCommand(RecorderModel::CommandPlayStart, info->fileName.toStdString());
    refreshRightControls();
    setDriveProjectControlsEnabled(false);
}

void QVexmarFolderPage::pauseRightPlay()
{
    if (isEditorMode())
        return;
    m_rightPaused = true;
    m_rightPlaying = false;
    refreshRightControls();
    m_recorder->executeRecorderCommand(RecorderModel::CommandPlayPause);
}

void QVexmarFolderPage::resumeRightPlay()
{
    if (isEditorMode())
        return;
    m_rightPaused = false;
    m_rightPlaying = true;
    refreshRightControls();
    m_recorder->executeRecorderCommand(RecorderModel::CommandPlayUnpause);
}

void QVexmarFolderPage::stopRightPlay()
{
    if (isEditorMode())
        return;
    m_rightPaused = false;
    m_rightPlaying = false;
    refreshRightControls();
    m_recorder->executeRecorderCommand(RecorderModel::CommandPlayStop);
    setDriveProjectControlsEnabled(true);
}

void QVexmarFolderPage::slot_onClicked_btn_LeftPlayPause()
{
    if (isEditorMode())
        return;
    if (!m_recordSelected) {
        showFileInfo(nullptr);
        listWidget_Left->clearSelection();
        listWidget_Left->setSelectionMode(QAbstractItemView::NoSelection);
    } else if (m_leftPlaying) {
        pauseLeftPlay();
    } else if (m_leftPaused) {
        resumeLeftPlay();
    } else {
        startLeftPlay();
        storePlayList();
    }
}

void QVexmarFolderPage::slot_onClicked_btn_LeftStop()
{
    if (m_leftPlaying || m_leftPaused)
        stopLeftPlay();
    m_leftPlaying = false;
    m_leftPaused = false;
}

void QVexmarFolderPage::slot_onClicked_btn_RightPlayPause()
{
    if (isEditorMode() || !m_playListActive || listWidget_Right->count() == 0)
        return;
    if (m_rightPlaying) {
        pauseRightPlay();
    } else if (m_rightPaused) {
        resumeRightPlay();
    } else {
        m_playListRun = true;
        startRightPlay();
    }
}

void QVexmarFolderPage::slot_onClicked_btn_RightStop()
{
    if (m_rightPlaying || m_rightPaused) {
        m_playListRun = false;
        stopRightPlay();
        storePlayList();
    }
    m_rightPlaying = false;
    m_rightPaused = false;
}

void QVexmarFolderPage::slot_onClicked_btn_RightNext()
{
    if (isEditorMode() || m_rightPlaying || !m_playListActive)
        return;
    selectNextInPlayList();
}

void QVexmarFolderPage::selectNextInPlayList()
{
    const int count = listWidget_Right->count();
    if (isEditorMode() || m_rightPlaying || m_playListRun || count <= 1)
        return;
    const int row = listWidget_Right->currentRow() + 1;
    listWidget_Right->setCurrentRow(row >= count ? 0 : row);
}

void QVexmarFolderPage::slot_onClicked_btn_RightPrevious()
{
    if (isEditorMode() || !m_playListActive)
        return;
    stepPlayListBack();
}

void QVexmarFolderPage::stepPlayListBack()
{
    if (isEditorMode() || m_rightPlaying || !m_playListActive)
        return;
    const int count = listWidget_Right->count();
    const int row = listWidget_Right->currentRow() - 1;
    if (!m_playListRun) {
        if (count >= 2)
            listWidget_Right->setCurrentRow(row < 0 ? count - 1 : row);
        return;
    }
    if (count > 1 && row < 0) {
        // Past the top the run waits at the end of the list instead of playing it.
        listWidget_Right->setCurrentRow(count - 1);
        stopRightPlay();
        return;
    }
    if (count > 1)
        listWidget_Right->setCurrentRow(row);
    stopRightPlay();
    startRightPlay();
}

QListWidgetItem *QVexmarFolderPage::selectedRecord()
{
    if (isEditorMode() || m_leftPlaying || m_leftPaused || !m_recordSelected)
        return nullptr;
    const QList<QListWidgetItem *> selected = listWidget_Left->selectedItems();
    if (selected.isEmpty())
        return nullptr;
    stopLeftPlay();
    return selected.first();
}

void QVexmarFolderPage::slot_onClicked_btn_Trash()
{
    QListWidgetItem *item = selectedRecord();
    const FolderFileInfo *info = recordOfItem(item);
    if (!info)
        return;
    auto *confirm = new QVexmarConfirmAction(this);
    confirm->setTitle(tr("Delete file"));
    confirm->setLine1(tr("Media"), QString::fromStdString(m_recorder->mediaDestination()));
    confirm->setLine2(tr("Project"), QString::fromStdString(m_recorder->projectName()));
    confirm->setLine3(tr("File"), info->fileName);
    confirm->setContextValue(listWidget_Left->row(item));
    // The file the user confirms is the one deleted, whatever the rows do meanwhile.
    confirm->setContextText(info->fileName);
    confirm->setupUi();
    confirm->placeOver(this);
    connect(confirm, &QVexmarConfirmAction::popupClosed, this, &QVexmarFolderPage::slot_popupClosed_DeleteSoundFile);
    confirm->show();
}

void QVexmarFolderPage::slot_popupClosed_DeleteSoundFile()
{
    auto *confirm = qobject_cast<QVexmarConfirmAction *>(sender());
    if (!confirm || confirm->isCancelled())
        return;
    const QString fileName = confirm->contextText();
    if (fileName.isEmpty())
        return;
    if (m_recorder->deleteRecordFile(fileName.toStdString()) < 0) {
        // The device still has it, or never had it: show what it holds now.
        fillRecords();
        clearRecordSelection();
        showMessage(tr("Failed to delete") + QLatin1Char('\n') + fileName, 0);
        return;
    }
    for (int row = 0; row < listWidget_Left->count(); ++row) {
        if (listWidget_Left->item(row)->data(Qt::UserRole).toString() == fileName) {
            delete listWidget_Left->takeItem(row);
            break;
        }
    }
    clearRecordSelection();
}
