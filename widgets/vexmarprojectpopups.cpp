#include "widgets/vexmarprojectpopups.h"

#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarplaintext.h"

#include <QBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>

#include <climits>

using namespace Look;

namespace {

const char defaultProjectFile[] = "kra.prjt";
const char projectExtension[] = ".prjt";

struct Looks
{
    explicit Looks(const QWidget *popup)
        : main(popup->palette()),
          grey(dark(main, Qt::gray)),
          light(lightButton(main)),
          darkButton(dark(main, Qt::black)),
          title(pixelFont(popup->font(), 32)),
          text(pixelFont(popup->font(), 28))
    {
    }

    const QPalette main;
    const QPalette grey;
    const QPalette light;
    const QPalette darkButton;
    const QFont title;
    const QFont text;
};

// A square dark button showing an image, its caption under it.
QVexmarButton *iconButton(QWidget *popup, const Looks &looks, const QPoint &at, const QString &image,
    const QString &caption, const QPalette &captionPalette)
{
    auto *button = new QVexmarButton(popup);
    button->setGeometry(at.x(), at.y(), 150, 90);
    button->borderWidth = 1;
    button->radius = 0.0f;
    button->setPalette(looks.darkButton);
    button->setIcon(QIcon(QPixmap(image)));
    label(popup, QRect(at.x(), at.y() + 90, 150, 45), centred, caption, captionPalette, looks.text);
    return button;
}

QVexmarSwitch *choiceSwitch(QWidget *popup, const QRect &geometry)
{
    auto *choice = new QVexmarSwitch(popup);
    choice->setGeometry(geometry);
    choice->setCheckable(true);
    return choice;
}

// The leading decimal number of a name as atoi reads it (white space, a sign, digits), or 0 when there is none
// or it does not fit an int.
int leadingNumber(const QByteArray &text)
{
    int i = 0;
    while (i < text.size() && (text.at(i) == ' ' || (text.at(i) >= '\t' && text.at(i) <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == '+' || text.at(i) == '-'))
        negative = text.at(i++) == '-';
    qint64 number = 0;
    for (; i < text.size() && text.at(i) >= '0' && text.at(i) <= '9'; ++i) {
        number = number * 10 + (text.at(i) - '0');
        if (number > qint64(INT_MAX) + 1)
            return 0;
    }
    if (negative)
        return int(-number);
    return number > INT_MAX ? 0 : int(number);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------

QVexmarEditProjectDelete::QVexmarEditProjectDelete(QWidget *parent) : QVexmarPopup(parent) { }

void QVexmarEditProjectDelete::setupUi()
{
    frame(this, 570, 375);
    const Looks looks(this);

    label(this, QRect(25, 25, 500, 44), centred, tr("DELETE PROJECT"), looks.main, looks.title);
    label(this, QRect(25, 75, 500, 44), left, tr("Project name: ") + m_projectName, looks.main, looks.text);
    recordsSwitch = choiceSwitch(this, QRect(25, 125, 72, 50));
    connect(recordsSwitch, &QAbstractButton::clicked, this, &QVexmarEditProjectDelete::slot_onClicked_choices);
    label(this, QRect(115, 127, 750, 44), left, tr("Records"), looks.main, looks.text);
    projectSwitch = choiceSwitch(this, QRect(25, 175, 72, 50));
    connect(projectSwitch, &QAbstractButton::clicked, this, &QVexmarEditProjectDelete::slot_onClicked_choices);
    label(this, QRect(115, 177, 750, 44), left, tr("Records + Project"), looks.main, looks.text);
    confirmSwitch = choiceSwitch(this, QRect(475, 225, 72, 50));
    confirmSwitch->hide();
    connect(confirmSwitch, &QAbstractButton::clicked, this, &QVexmarEditProjectDelete::slot_onClicked_confirm);
    confirmLabel = label(this, QRect(25, 227, 450, 44), left, tr("Confirm to delete the selection"),
        dark(looks.main, Qt::yellow), looks.text);
    confirmLabel->hide();
    cancelButton = textButton(this, QRect(25, 285, 225, 60), tr("Cancel"), looks.light, looks.text);
    connect(cancelButton, &QAbstractButton::clicked, this, &QVexmarEditProjectDelete::slot_onClicked_btn_Cancel);
    deleteButton = textButton(this, QRect(320, 285, 225, 60), tr("OK"), looks.light, looks.text);
    deleteButton->hide();
    connect(deleteButton, &QAbstractButton::clicked, this, &QVexmarEditProjectDelete::slot_onClicked_btn_Delete);
}

void QVexmarEditProjectDelete::slot_onClicked_choices()
{
    if (!recordsSwitch)
        return;
    // The two choices act as one: the one touched is on, even when touched again.
    const QObject *from = sender();
    if (from == recordsSwitch || from == projectSwitch) {
        recordsSwitch->setChecked(from == recordsSwitch);
        projectSwitch->setChecked(from == projectSwitch);
    }
    if (recordsSwitch->isChecked() || projectSwitch->isChecked()) {
        resetConfirmation();
        confirmLabel->show();
        confirmSwitch->show();
    }
    m_recordsOnly = !projectSwitch->isChecked();
}

void QVexmarEditProjectDelete::slot_onClicked_confirm()
{
    if (!confirmSwitch)
        return;
    if (confirmSwitch->isChecked())
        deleteButton->show();
    else
        resetConfirmation();
}

void QVexmarEditProjectDelete::resetConfirmation()
{
    deleteButton->hide();
    confirmSwitch->setChecked(false);
}

void QVexmarEditProjectDelete::slot_onClicked_btn_Delete()
{
    cancelled = 0;
    close();
}

void QVexmarEditProjectDelete::slot_onClicked_btn_Cancel()
{
    cancelled = 1;
    close();
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarManageProject::QVexmarManageProject(QWidget *parent) : QVexmarPopup(parent) { }

void QVexmarManageProject::setupUi()
{
    frame(this, 570, 500);
    const Looks looks(this);

    label(this, QRect(50, 25, 500, 44), centred, tr("MANAGE PROJECT"), looks.main, looks.title);
    label(this, QRect(50, 75, 500, 44), left, tr("Project name: ") + m_projectName, looks.main, looks.text);
    deleteButton = iconButton(this, looks, {50, 165}, QStringLiteral(":/images/trash.png"), tr("Delete"), looks.main);
    connect(deleteButton, &QAbstractButton::clicked, this, &QVexmarManageProject::slot_onClicked_btn_Delete);
    createButton = iconButton(this, looks, {220, 165}, QStringLiteral(":/images/create.png"), tr("Create"), looks.main);
    connect(createButton, &QAbstractButton::clicked, this, &QVexmarManageProject::slot_onClicked_btn_Create);
    copyToButton = iconButton(this, looks, {50, 330}, QStringLiteral(":/images/copyto.png"), tr("Copy To"),
        m_copyToDisabled ? looks.grey : looks.main);
    if (m_copyToDisabled)
        copyToButton->setEnabled(false);
    else
        connect(copyToButton, &QAbstractButton::clicked, this, &QVexmarManageProject::slot_onClicked_btn_CopyTo);
    closeButton
        = iconButton(this, looks, {390, 330}, QStringLiteral(":/images/exit-menu.png"), tr("Close"), looks.main);
    connect(closeButton, &QAbstractButton::clicked, this, &QVexmarManageProject::slot_onClicked_btn_Close);
}

void QVexmarManageProject::choose(Action action)
{
    m_selectedAction = action;
    close();
}

void QVexmarManageProject::slot_onClicked_btn_Delete()
{
    choose(DeleteAction);
}

void QVexmarManageProject::slot_onClicked_btn_Create()
{
    choose(CreateAction);
}

void QVexmarManageProject::slot_onClicked_btn_Rename()
{
    choose(RenameAction);
}

void QVexmarManageProject::slot_onClicked_btn_CopyTo()
{
    choose(m_copyToDisabled ? NoAction : CopyToAction);
}

void QVexmarManageProject::slot_onClicked_btn_ImportTo()
{
    choose(ImportToAction);
}

void QVexmarManageProject::slot_onClicked_btn_Close()
{
    choose(CloseAction);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarManageDrive::QVexmarManageDrive(QWidget *parent) : QVexmarPopup(parent) { }

void QVexmarManageDrive::setupUi()
{
    frame(this, 570, 500);
    const Looks looks(this);

    label(this, QRect(50, 25, 500, 44), centred, tr("Disk manager"), looks.main, looks.title);
    label(this, QRect(50, 75, 500, 44), left, tr("Disk: ") + m_driveName, looks.main, looks.text);
    formatButton = iconButton(this, looks, {50, 165}, QStringLiteral(":/images/format.png"), tr("Format"), looks.main);
    connect(formatButton, &QAbstractButton::clicked, this, &QVexmarManageDrive::slot_onClicked_btn_Format);
    repairButton
        = iconButton(this, looks, {200, 165}, QStringLiteral(":/images/checkdisk.png"), tr("Repair"), looks.main);
    connect(repairButton, &QAbstractButton::clicked, this, &QVexmarManageDrive::slot_onClicked_btn_Repair);
    // The internal drive cannot be taken out.
    if (m_drive != "internal") {
        ejectButton
            = iconButton(this, looks, {350, 165}, QStringLiteral(":/images/eject.png"), tr("Eject"), looks.main);
        connect(ejectButton, &QAbstractButton::clicked, this, &QVexmarManageDrive::slot_onClicked_btn_Unmount);
    }
    closeButton
        = iconButton(this, looks, {350, 300}, QStringLiteral(":/images/exit-menu.png"), tr("Close"), looks.main);
    connect(closeButton, &QAbstractButton::clicked, this, &QVexmarManageDrive::slot_onClicked_btn_Close);
}

void QVexmarManageDrive::choose(Action action)
{
    m_selectedAction = action;
    close();
}

void QVexmarManageDrive::slot_onClicked_btn_Repair()
{
    choose(RepairAction);
}

void QVexmarManageDrive::slot_onClicked_btn_Format()
{
    choose(FormatAction);
}

void QVexmarManageDrive::slot_onClicked_btn_Unmount()
{
    choose(EjectAction);
}

void QVexmarManageDrive::slot_onClicked_btn_Close()
{
    choose(CloseAction);
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarExportConfig::QVexmarExportConfig(QWidget *parent)
    : QVexmarPopup(parent), okText(tr("OK")), cancelText(tr("Cancel"))
{
}

void QVexmarExportConfig::setupUi()
{
    frame(this, 600, 480);
    const Looks looks(this);

    label(this, QRect(25, 25, 500, 44), centred, m_title, looks.main, looks.title);
    const QString nameLine = m_projectMode ? tr("Project name: ") + m_projectName : m_projectName;
    label(this, QRect(25, 75, 500, 44), centred, nameLine, looks.main, looks.text);
    label(this, QRect(25, 125, 500, 44), centred, tr("Size: ") + m_size, looks.main, looks.text);

    // From the top: drives 1, 3, 2 and 4.
    struct Row
    {
        int drive;
        int y;
        int labelWidth;
    };
    const Row rows[] = {{1, 175, 320}, {3, 225, 320}, {2, 275, 320}, {4, 325, 100}};
    for (const Row &row : rows) {
        const int i = row.drive - 1;
        const bool available = row.drive != 1 && m_driveAvailable[i];
        auto *drive = new QVexmarSwitch(this);
        drive->setGeometry(25, row.y, 72, 50);
        drive->setCheckable(available);
        drive->setDisabledLook(false);
        drive->setEnabled(available);
        if (row.drive != 1)
            connect(drive, &QAbstractButton::clicked, this, &QVexmarExportConfig::slot_switchDriveClicked);
        driveSwitches[i] = drive;
        driveLabels[i] = label(this, QRect(115, row.y + 2, row.labelWidth, 44), left, m_driveNames[i],
            available ? looks.main : looks.grey, looks.text);
    }

    cancelButton = textButton(this, QRect(25, 385, 250, 60), cancelText, looks.light, looks.text, 15.0f);
    connect(cancelButton, &QAbstractButton::clicked, this, &QVexmarExportConfig::slot_onClicked_btn_Cancel);
    okButton = textButton(this, QRect(325, 385, 250, 60), okText, looks.light, looks.text, 15.0f);
    okButton->hide();
    connect(okButton, &QAbstractButton::clicked, this, &QVexmarExportConfig::slot_onClicked_btn_Ok);
}

void QVexmarExportConfig::slot_switchDriveClicked()
{
    if (!okButton)
        return;
    // The available targets act as one choice.
    const QObject *from = sender();
    for (int i = 1; i < 4; ++i) {
        if (m_driveAvailable[i])
            driveSwitches[i]->setChecked(driveSwitches[i] == from);
    }
    for (int i = 0; i < 4; ++i) {
        if (driveSwitches[i]->isChecked()) {
            okButton->show();
            m_selectedDrive = i + 1;
        }
    }
}

void QVexmarExportConfig::slot_onClicked_btn_Cancel()
{
    cancelled = 1;
    close();
}

void QVexmarExportConfig::slot_onClicked_btn_Ok()
{
    cancelled = 0;
    close();
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarProjectSelector::QVexmarProjectSelector(QWidget *parent) : QVexmarPopup(parent) { }

void QVexmarProjectSelector::setupUi()
{
    frame(this, 600, 480);
    const Looks looks(this);

    label(this, QRect(25, 25, 500, 44), centred, m_title, looks.main, looks.title);
    auto *scrollArea = new QScrollArea(this);
    scrollArea->setGeometry(QRect(QPoint(10, 10), QPoint(width() - 11, 259)));
    scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scrollArea->setWidgetResizable(true);
    auto *list = new QWidget;
    auto *rows = new QVBoxLayout(list);

    const QStringList parts = m_projectList.split(QLatin1Char('|'), Qt::KeepEmptyParts, Qt::CaseSensitive);
    const int partsRead = std::min(int(parts.size()), int(maxRows));
    QStringList rowTexts {tr("Default Project")};
    m_rowFiles.clear();
    m_rowFiles.insert(0, defaultProjectFile);
    int maxNumber = 0;
    for (int p = 0; p < partsRead; ++p) {
        const QString &part = parts.at(p);
        if (part.isEmpty() || part == QLatin1String(defaultProjectFile))
            continue;
        const QByteArray name = part.toUtf8();
        m_rowFiles.insert(rowTexts.size(), name);
        const QByteArray stem = name.size() > int(sizeof projectExtension - 1) && name.endsWith(projectExtension)
            ? name.chopped(sizeof projectExtension - 1)
            : name;
        rowTexts << tr("Project: ") + QString::fromUtf8(stem);
        maxNumber = std::max(maxNumber, leadingNumber(stem));
    }

    const QFont rowFont = pixelFont(font(), 34);
    const int shown = std::min(int(rowTexts.size()), int(maxRows));
    for (int i = 0; i < shown; ++i) {
        auto *row = new QHBoxLayout;
        auto *choice = new QVexmarSwitch;
        choice->setFixedSize(72, 35);
        choice->setCheckable(true);
        choice->setDisabledLook(true);
        auto *text = plainTextLabel(new QLabel(rowTexts.at(i)));
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        text->setFont(rowFont);
        row->addWidget(choice, 0);
        row->addWidget(text, 0);
        rows->addLayout(row);
        if (i == 0) {
            choice->setChecked(true);
            m_selectedIndex = 0;
            m_selectedProject = defaultProjectFile;
        }
        connect(choice, &QAbstractButton::clicked, this, &QVexmarProjectSelector::slot_switchClicked);
        rowSwitches[i] = choice;
    }
    scrollArea->setWidget(list);

    // One past the highest number listed; 64 bits hold it even when that is INT_MAX.
    m_newProjectName = QByteArray::number(qint64(maxNumber) + 1).rightJustified(3, '0') + projectExtension;

    deleteButton = textButton(this, QRect(25, 325, 250, 55), tr("Delete"), looks.grey, looks.text);
    deleteButton->setEnabled(false);
    newButton = textButton(this, QRect(325, 325, 250, 55), tr("New Project"), looks.light, looks.text);
    connect(newButton, &QAbstractButton::clicked, this, &QVexmarProjectSelector::slot_onClicked_btn_New);
    selectButton = textButton(this, QRect(25, 385, 550, 60), tr("Select"), looks.light, looks.text);
    connect(selectButton, &QAbstractButton::clicked, this, &QVexmarProjectSelector::slot_onClicked_btn_Sel);
}

void QVexmarProjectSelector::slot_switchClicked(bool)
{
    const QObject *from = sender();
    for (int i = 0; i < maxRows; ++i) {
        QVexmarSwitch *choice = rowSwitches[i];
        if (!choice)
            continue;
        choice->setChecked(choice == from);
        if (choice == from) {
            m_selectedIndex = i;
            m_selectedProject = m_rowFiles.value(i);
        }
    }
}

void QVexmarProjectSelector::slot_onClicked_btn_New()
{
    m_selectedIndex = -1;
    m_selectedProject = m_newProjectName;
    close();
}

void QVexmarProjectSelector::slot_onClicked_btn_Sel()
{
    close();
}

// ---------------------------------------------------------------------------------------------------------------

QVexmarEditProjectRename::QVexmarEditProjectRename(QWidget *parent) : QVexmarPopup(parent) { }

void QVexmarEditProjectRename::setupUi()
{
    frame(this, 570, 375);
    const QPalette main = palette();
    const QFont textFont = pixelFont(font(), 22);

    label(this, QRect(25, 25, 500, 44), centred, tr("RENAME PROJECT"), main, pixelFont(font(), 32));
    label(this, QRect(25, 75, 500, 44), left, tr("Project name: ") + m_secondText + m_firstText, main, textFont);
    cancelButton = textButton(this, QRect(25, 120, 225, 60), tr("Cancel"), lightButton(main), textFont);
    connect(cancelButton, &QAbstractButton::clicked, this, &QVexmarEditProjectRename::slot_onClicked_btn_Cancel);
    okButton = textButton(this, QRect(285, 120, 250, 60), tr("Ok"), lightButton(main), textFont);
    okButton->hide();
    connect(okButton, &QAbstractButton::clicked, this, &QVexmarEditProjectRename::slot_onClicked_btn_Ok);
}

void QVexmarEditProjectRename::slot_onClicked_btn_Ok()
{
    cancelled = 0;
    close();
}

void QVexmarEditProjectRename::slot_onClicked_btn_Cancel()
{
    cancelled = 1;
    close();
}
