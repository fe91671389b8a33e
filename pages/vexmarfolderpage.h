#pragma once

// The recordings browser: the takes of one project on one drive of the device, played there one by one or as a
// play list, shown with their details, deleted, and handed to the editor. No audio passes through here: the page
// only sends the recorder's commands and list requests through its own recorder model.

#include "pages/trackgraphmodel.h"
#include "widgets/vexmarpagewidget.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <string>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QTimer;
class QVexmarButton;
class QVexmarCountDownPopup;
class QVexmarMessage;
class RecorderModel;

// One recording of the current project, as a line of the device's records list gives it.
struct FolderFileInfo
{
    QString label; // the list item's text: index, tab, blank, length
    QString fileName; // the recording's name on the device; its list item carries it too
    QString name;
    QString index; // "001": the recording's number in its project, not unique
    QString length; // "hh:mm:ss"
    QString date;
    QString time;
    QString format; // "wav" for PCM, anything else for MPEG
    QString channels; // "1" for mono
    double seconds = 0.0;
    bool hasMarks = false; // the list tells nothing of marks
};

class QVexmarFolderPage : public QVexmarPageWidget
{
    Q_OBJECT

public:
    // The drive operations of the disk manager; the number is the operation's code.
    enum DriveOperation {
        NoDriveOperation = 0,
        FormatUsbOperation = 1,
        FormatSdcardOperation = 2,
        RepairUsbOperation = 3,
        RepairSdcardOperation = 4,
        EjectUsbOperation = 5,
        EjectSdcardOperation = 6,
        FormatInternalOperation = 7,
        RepairInternalOperation = 8,
    };

    // The most recordings and play-list entries the page lists: ten times the 100 recordings a project holds on
    // the device (it numbers them with three digits), and a list this long still fills in milliseconds.
    static constexpr int MaxRecords = 1000;
    // A recording's length counts at most as long as the editor's longest track.
    static constexpr int MaxRecordSeconds
        = int(TrackGraphModel::MaxTrackSamples / TrackGraphModel::SamplesPerMs / 1000);

    explicit QVexmarFolderPage(QWidget *parent = nullptr);
    ~QVexmarFolderPage() override;

    RecorderModel *recorder() const { return m_recorder.get(); }

    void fillDriveNames();
    void selectCurrentDrive();
    void updateFreeSpace();
    void fillProjects();
    void fillRecords();
    void fillPlayList();
    void storePlayList();
    void showFileInfo(const FolderFileInfo *info);
    void updatePlayListDuration();
    const FolderFileInfo *findRecordByFileName(const QString &name) const;
    // The record a list item stands for, by the file name it carries.
    const FolderFileInfo *recordOfItem(const QListWidgetItem *item) const;
    // The record the trash and share buttons act on: the first selected one, the left side's playback stopped for
    // it; null, with nothing stopped, while the page may not act on one.
    QListWidgetItem *selectedRecord();
    // Counts past 23 hours: a play list can be longer than a day.
    static QString formatPlayTime(qint64 seconds);
    static QString formatMegabytes(int megabytes);
    // A size the device gave in whole MB: 0 "Empty", 1 "Less than 1MB", else "<n> MB".
    static QString sizeText(int megabytes);
    // What a drive operation is expected to take: 1.5 s a full 1000 MB of free space, and 2 s.
    static int driveOperationSeconds(int freeMegabytes);

    void confirmDriveAction(const QString &title);
    // One drive operation each, reported in the progress popup; the page reloads after a success.
    void formatUsb(QVexmarCountDownPopup *progress);
    void formatSdcard(QVexmarCountDownPopup *progress);
    void formatInternal(QVexmarCountDownPopup *progress);
    void repairUsb(QVexmarCountDownPopup *progress);
    void repairSdcard(QVexmarCountDownPopup *progress);
    void repairInternal(QVexmarCountDownPopup *progress);
    void unmountUsb(QVexmarCountDownPopup *progress);
    void unmountSdcard(QVexmarCountDownPopup *progress);
    static void wrapLabelText(QLabel *label, int width);

    void refreshLeftControls();
    void refreshRightControls();
    void setDriveProjectControlsEnabled(bool enable);

    void chooseRecord();
    void markRecordChosen();
    void clearRecordSelection();
    void choosePlayListItem();
    void activateLeftSide();
    void activateRightSide();
    void selectNextInPlayList();
    void stepPlayListBack();
    void startLeftPlay();
    void pauseLeftPlay();
    void resumeLeftPlay();
    void stopLeftPlay();
    void startRightPlay();
    void pauseRightPlay();
    void resumeRightPlay();
    void stopRightPlay();

    QVexmarButton *btn_LeftPlayPause = nullptr;
    QVexmarButton *btn_LeftStop = nullptr;
    QVexmarButton *btn_editWav = nullptr;
    QVexmarButton *btn_editMeta = nullptr;
    QListWidget *listWidget_Left = nullptr;
    QLabel *lbl_Free = nullptr;
    QComboBox *cboDrive = nullptr;
    QVexmarButton *btn_edit_drive = nullptr;
    QLabel *lbl_Folder = nullptr;
    QComboBox *cboProject = nullptr;
    QVexmarButton *btn_edit_project = nullptr;
    QLabel *lbl_Name = nullptr;
    QLabel *lbl_Date = nullptr;
    QLabel *lbl_Time = nullptr;
    QLabel *lbl_Format = nullptr;
    QLabel *lbl_Marks = nullptr;
    QLabel *lbl_PlayTime = nullptr;
    QLabel *lbl_Duration = nullptr;
    QListWidget *listWidget_Right = nullptr;
    QVexmarButton *btn_RightPlayPause = nullptr;
    QVexmarButton *btn_RightStop = nullptr;
    QVexmarButton *btn_RightNext = nullptr;
    QVexmarButton *btn_RightPrevious = nullptr;
    QVexmarButton *btn_Trash = nullptr;
    QVexmarButton *btn_share = nullptr;
    QVexmarButton *btn_goRight = nullptr;
    QVexmarButton *btn_goLeft = nullptr;
    QVexmarButton *btn_ItemUp = nullptr;
    QVexmarButton *btn_ItemDown = nullptr;
    QLabel *lbl_RecordingLock = nullptr;
    QVexmarButton *btn_Home = nullptr;

signals:
    void pageActivated(QVexmar::Page page);

protected:
    void showEvent(QShowEvent *event) override;

private slots:
    void slot_onClicked_btn_LeftPlayPause();
    void slot_onClicked_btn_LeftStop();
    void slot_onClicked_btn_RightPlayPause();
    void slot_onClicked_btn_RightStop();
    void slot_onClicked_btn_RightNext();
    void slot_onClicked_btn_RightPrevious();
    void timeoutEvent();
    void slot_onListWidget_Left_itemClicked(QListWidgetItem *item);
    void slot_onListWidget_Right_itemClicked(QListWidgetItem *item);
    void slot_onClicked_btn_editWav();
    void slot_onClicked_btn_editMeta();
    void slot_onClicked_btn_Trash();
    void slot_onClicked_btn_share();
    void slot_onClicked_btn_goLeft();
    void slot_onClicked_btn_goRight();
    void slot_onClicked_btn_edit_drive();
    void slot_onClicked_btn_edit_project();
    void slot_onClicked_btn_ItemUp();
    void slot_onClicked_btn_ItemDown();
    void slot_onIndexChanged_cboDrive(int index);
    void slot_onIndexChanged_cboProject(int index);
    void slot_popupClosed_DeleteProject();
    void slot_popupClosed_ManageProject();
    void slot_popupClosed_CreateProject();
    void slot_popupClosed_DeleteSoundFile();
    void slot_popupClosed_ExportProject();
    void slot_popupClosed_ExportSoundFile();
    void slot_popupClosed_ManageDrive();
    void slot_popupClosed_ManageDriveProgress(QString text, int value);
    void slot_popupClosed_ManageDriveConfirm();

protected slots:
    void homeButtonClicked();

private:
    void setupUi();
    QLabel *addLabel(const QRect &geometry, const QString &text, int pixelSize, Qt::Alignment alignment = {});
    QListWidget *addList(const QRect &geometry);
    void reload();
    bool isEditorMode() const;
    void runDriveOperation(QVexmarCountDownPopup *progress, const std::string &action);
    // Nothing of the records list stays chosen, and the list is emptied.
    void dropRecordChoice();
    // Makes the entry current without the page taking it for the user's choice.
    void selectProjectEntry(int index);
    void exportProject();
    // The export popup of a project or a recording (name, size in MB), its targets from one fresh reading of the
    // drives; only a recording can go by FTP.
    void openExportPopup(const QString &title, const QString &name, int megabytes, bool soundFile);
    void showCopyFailure(const std::string &cause);
    void endEditorHandOver();
    // The file names of the play list's items, in their order.
    QStringList playListNames() const;
    // hh:mm:ss as seconds, from 0 to MaxRecordSeconds; 0 when the text is not three ':' parts. A part that is no
    // number counts 0.
    static double lengthSeconds(const QString &length, bool *ok = nullptr);
    // While the lists were cut at MaxRecords the play list cannot be stored whole: it stays as the device has it,
    // and an edit of it is refused with a word to the user (true).
    bool refusePlayListEdit();

    std::unique_ptr<RecorderModel> m_recorder;
    QList<FolderFileInfo> m_records;
    QHash<QString, int> m_recordIndex; // a file name's first record
    bool m_recordsCut = false;
    bool m_playListCut = false;
    QStringList m_playList;
    // The play list as the device holds it, read or stored last: what a store need not send again.
    QStringList m_devicePlayList;
    QStringList m_driveNames;
    // The recording whose details are shown.
    QString m_chosenFile;
    bool m_leftPlaying = false;
    bool m_leftPaused = false;
    bool m_rightPlaying = false;
    bool m_rightPaused = false;
    bool m_playListRun = false;
    bool m_recordSelected = false;
    bool m_playListActive = false;
    bool m_filling = false;
    QTimer *m_editorTimer = nullptr;
    // A hand-over to the editor is under way / the editor page was asked for in it.
    bool m_handingOver = false;
    bool m_editorAsked = false;
    int m_editMinutes = 1;
    int m_driveAction = NoDriveOperation;
};
