#pragma once

#include "widgets/vexmarpopup.h"

#include <QByteArray>
#include <QMap>

#include <string>

class QLabel;
class QVexmarButton;
class QVexmarSwitch;

// The popups of the recording pages' projects and drives. None talks to the device: the opener sets the inputs,
// calls setupUi, shows the popup and carries out what it reports in its popupClosed slot.

// Deleting a project's recordings, or the recordings with the project. OK appears only after a choice and
// its confirmation.
class QVexmarEditProjectDelete : public QVexmarPopup
{
    Q_OBJECT

public:
    explicit QVexmarEditProjectDelete(QWidget *parent = nullptr);

    void setProjectName(const QString &name) { m_projectName = name; }
    void setupUi();
    int isCancelled() const { return cancelled; }
    bool recordsOnly() const { return m_recordsOnly; }

    QVexmarSwitch *recordsSwitch = nullptr;
    QVexmarSwitch *projectSwitch = nullptr; // records and project
    QVexmarSwitch *confirmSwitch = nullptr;
    QLabel *confirmLabel = nullptr;
    QVexmarButton *cancelButton = nullptr;
    QVexmarButton *deleteButton = nullptr;

public slots:
    void slot_onClicked_btn_Delete();
    void slot_onClicked_btn_Cancel();
    void slot_onClicked_choices();
    void slot_onClicked_confirm();

private:
    void resetConfirmation();

    QString m_projectName;
    bool m_recordsOnly = false;
};

// The project actions menu. A popup closed other than by its buttons reports NoAction.
class QVexmarManageProject : public QVexmarPopup
{
    Q_OBJECT

public:
    enum Action {
        NoAction = 0,
        DeleteAction = 1,
        CreateAction = 2,
        RenameAction = 3,
        CopyToAction = 4,
        ImportToAction = 5,
        CloseAction = 6,
    };

    explicit QVexmarManageProject(QWidget *parent = nullptr);

    void setProjectName(const QString &name) { m_projectName = name; }
    void setCopyToDisabled(bool disabled) { m_copyToDisabled = disabled; }
    void setupUi();
    int selectedAction() const { return m_selectedAction; }

    QVexmarButton *deleteButton = nullptr;
    QVexmarButton *createButton = nullptr;
    QVexmarButton *copyToButton = nullptr;
    QVexmarButton *closeButton = nullptr;

public slots:
    void slot_onClicked_btn_Delete();
    void slot_onClicked_btn_Create();
    void slot_onClicked_btn_Rename();
    void slot_onClicked_btn_CopyTo();
    void slot_onClicked_btn_ImportTo();
    void slot_onClicked_btn_Close();

private:
    void choose(Action action);

    bool m_copyToDisabled = false;
    QString m_projectName;
    int m_selectedAction = NoAction;
};

// The drive actions menu: Format, Repair, Close, and Eject for a removable drive. A popup closed other than by
// its buttons reports NoAction.
class QVexmarManageDrive : public QVexmarPopup
{
    Q_OBJECT

public:
    enum Action { NoAction = 0, EjectAction = 1, RepairAction = 2, FormatAction = 3, CloseAction = 6 };

    explicit QVexmarManageDrive(QWidget *parent = nullptr);

    void setDriveName(const QString &name) { m_driveName = name; }
    // The device's media word: "internal", "usb", "sdram".
    void setDrive(const std::string &keyword) { m_drive = keyword; }
    void setupUi();
    int selectedAction() const { return m_selectedAction; }
    std::string drive() const { return m_drive; }

    QVexmarButton *formatButton = nullptr;
    QVexmarButton *repairButton = nullptr;
    QVexmarButton *ejectButton = nullptr; // none for the internal drive
    QVexmarButton *closeButton = nullptr;

public slots:
    void slot_onClicked_btn_Repair();
    void slot_onClicked_btn_Format();
    void slot_onClicked_btn_Unmount();
    void slot_onClicked_btn_Close();

private:
    void choose(Action action);

    int m_selectedAction = NoAction;
    std::string m_drive = "none";
    QString m_driveName;
};

// The target of an export: drive 1 (never selectable), 3, 2 and 4 from the top. OK appears once a target is
// chosen.
class QVexmarExportConfig : public QVexmarPopup
{
    Q_OBJECT

public:
    explicit QVexmarExportConfig(QWidget *parent = nullptr);

    void setTitle(const QString &text) { m_title = text; }
    void setProjectName(const QString &name) { m_projectName = name; }
    void setProjectSize(const QString &size) { m_size = size; }
    void setDrive1Name(const QString &name) { m_driveNames[0] = name; }
    void setDrive2Name(const QString &name) { m_driveNames[1] = name; }
    void setDrive3Name(const QString &name) { m_driveNames[2] = name; }
    void setDrive4Name(const QString &name) { m_driveNames[3] = name; }
    // Drive 1 is never a target.
    void setDrive1Enabled(bool) { }
    void setDrive2Enabled(bool enabled) { m_driveAvailable[1] = enabled; }
    void setDrive3Enabled(bool enabled) { m_driveAvailable[2] = enabled; }
    void setDrive4Enabled(bool enabled) { m_driveAvailable[3] = enabled; }
    // A sound file rather than a project: the name line shows the name alone.
    void setFileMode() { m_projectMode = false; }
    void setFileName(const QString &name) { m_fileName = name; }
    void setupUi();

    int isCancelled() const { return cancelled; }
    int selectedDrive() const { return m_selectedDrive; } // 1-4, 0 none
    QString fileName() const { return m_fileName; }

    // Index 0-3 for drives 1-4.
    QVexmarSwitch *driveSwitches[4] = {};
    QLabel *driveLabels[4] = {};
    QString okText;
    QString cancelText;
    QVexmarButton *okButton = nullptr;
    QVexmarButton *cancelButton = nullptr;

public slots:
    void slot_onClicked_btn_Cancel();
    void slot_onClicked_btn_Ok();
    void slot_switchDriveClicked();

private:
    bool m_projectMode = true;
    QString m_title;
    QString m_projectName;
    QString m_size;
    QString m_driveNames[4];
    bool m_driveAvailable[4] = {};
    int m_selectedDrive = 0;
    QString m_fileName;
};

// The choice of a project among the device's project files, or a new one. "Default Project" (kra.prjt) comes
// first and is chosen at the start; the rows form one exclusive choice.
class QVexmarProjectSelector : public QVexmarPopup
{
    Q_OBJECT

public:
    enum { maxRows = 50 };

    explicit QVexmarProjectSelector(QWidget *parent = nullptr);

    // Project file names separated by '|'.
    void setProjectList(const QString &list) { m_projectList = list; }
    void setTitle(const QString &text) { m_title = text; }
    void setupUi();

    // The row chosen, or -1 after New Project.
    int selectedIndex() const { return m_selectedIndex; }
    // The chosen project file, or the new project's file name.
    std::string selectedProject() const { return m_selectedProject.toStdString(); }

    QVexmarSwitch *rowSwitches[maxRows] = {};
    QVexmarButton *newButton = nullptr;
    QVexmarButton *deleteButton = nullptr;
    QVexmarButton *selectButton = nullptr;

public slots:
    void slot_switchClicked(bool checked);
    void slot_onClicked_btn_New();
    void slot_onClicked_btn_Sel();

private:
    int m_selectedIndex = 0;
    QByteArray m_selectedProject;
    QByteArray m_newProjectName;
    QString m_projectList;
    QString m_title;
    QMap<int, QByteArray> m_rowFiles;
};

// Renaming a project; no page opens it yet, and it offers only Cancel.
class QVexmarEditProjectRename : public QVexmarPopup
{
    Q_OBJECT

public:
    explicit QVexmarEditProjectRename(QWidget *parent = nullptr);

    void setFirstText(const QString &text) { m_firstText = text; }
    void setSecondText(const QString &text) { m_secondText = text; }
    void setupUi();

    QVexmarButton *cancelButton = nullptr;
    QVexmarButton *okButton = nullptr;

public slots:
    void slot_onClicked_btn_Ok();
    void slot_onClicked_btn_Cancel();

private:
    QString m_firstText;
    QString m_secondText;
};
