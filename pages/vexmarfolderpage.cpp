#include "pages/vexmarfolderpage.h"

#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "pages/recordermodel.h"
#include "pages/vexmarfolderimages.h"
#include "rpc/ccom.h"
#include "rpc/rpcvocabulary.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmaricon.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarplaintext.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

const QColor labelGround(0x32, 0x32, 0x32);
const int fileNameRole = Qt::UserRole;

const QString listStyle = QStringLiteral("background-color: #303030;color:#ffffff;");
const QString scrollBarStyle = QStringLiteral(
    "QScrollBar:vertical { border: 2px solid grey; background: black; width: 15px; margin: 22px 0 22px 0; }"
    "QScrollBar::handle:vertical { background: #00A0E6; min-height: 20px; }"
    "QScrollBar::add-line:vertical { border: 2px solid grey; background: black; height: 20px;"
    " subcontrol-position: bottom; subcontrol-origin: margin; }"
    "QScrollBar::sub-line:vertical { border: 2px solid grey; background: black; height: 20px;"
    " subcontrol-position: top; subcontrol-origin: margin; }"
    "QScrollBar::up-arrow:vertical, QScrollBar::down-arrow:vertical { width: 0px; height: 0px; background: none; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }");

} // namespace

double QVexmarFolderPage::lengthSeconds(const QString &length, bool *ok)
{
    const QStringList parts = length.split(QLatin1Char(':'));
    if (ok)
        *ok = parts.size() == 3;
    if (parts.size() != 3)
        return 0.0;
    const double seconds = parts[0].toInt() * 3600.0 + parts[1].toInt() * 60.0 + parts[2].toInt();
    return qBound(0.0, seconds, double(MaxRecordSeconds));
}

QVexmarFolderPage::QVexmarFolderPage(QWidget *parent) : QVexmarPageWidget(parent)
{
    m_filling = true;
    m_recorder = std::make_unique<RecorderModel>();
    m_recorder->markPrimary();
    m_recorder->setStateCommand(m_recorder->recorderStateToCommand(), false);
    // The device's clock ticks reach the status bar; the page only asks for them.
    TComRpcAccess(getCom()).subscribe(kra::EVT_TIME_STAMP);
    setupUi();
    m_filling = false;
    // A hand-over to the editor cannot go on without the device.
    connect(getCom(), &kra::CCom::stateChanged, this, [this](RpcConnection::ConnectionState state) {
        if (state != RpcConnection::ConnectedState)
            endEditorHandOver();
    });
}

QVexmarFolderPage::~QVexmarFolderPage() = default;

QLabel *QVexmarFolderPage::addLabel(const QRect &geometry, const QString &text, int pixelSize, Qt::Alignment alignment)
{
    auto *label = plainTextLabel(new QLabel(text, this));
    label->setGeometry(geometry);
    const QFont labelFont = Look::pixelFont(font(), pixelSize);
    label->setFont(labelFont);
    Look::setFace(label, labelGround, Qt::white);
    if (alignment)
        label->setAlignment(alignment);
    return label;
}

QListWidget *QVexmarFolderPage::addList(const QRect &geometry)
{
    auto *list = new QListWidget(this);
    list->setGeometry(geometry);
    const QFont listFont = Look::pixelFont(font(), 34);
    list->setFont(listFont);
    QPalette palette = list->palette();
    palette.setBrush(QPalette::Window, QBrush(Qt::black, Qt::NoBrush));
    palette.setBrush(QPalette::WindowText, QBrush(Qt::black));
    list->setPalette(palette);
    list->setStyleSheet(listStyle);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto *bar = new QScrollBar(Qt::Vertical, list);
    bar->setStyleSheet(scrollBarStyle);
    list->setVerticalScrollBar(bar);
    return list;
}

void QVexmarFolderPage::setupUi()
{
    QWidget *frame = contentFrame;
    using F = QVexmarFolderPage;
    btn_LeftPlayPause
        = Look::iconButton(frame, {20, 40, 90, 90}, FolderImages::playGrey, this, &F::slot_onClicked_btn_LeftPlayPause);
    btn_LeftStop
        = Look::iconButton(frame, {20, 160, 90, 90}, FolderImages::stopGrey, this, &F::slot_onClicked_btn_LeftStop);
    btn_editWav
        = Look::iconButton(frame, {20, 280, 90, 90}, FolderImages::wavesDisable, this, &F::slot_onClicked_btn_editWav);
    btn_editMeta = Look::iconButton(
        frame, {20, 400, 90, 90}, FolderImages::pencilDisable, this, &F::slot_onClicked_btn_editMeta);

    addLabel({140, 20, 180, 22}, tr("Takes"), 30);
    addLabel({140, 50, 60, 25}, tr("Index"), 20);
    addLabel({320, 50, 70, 25}, tr("Length"), 20, Qt::AlignRight | Qt::AlignVCenter);
    listWidget_Left = addList({135, 77, 275, 450});
    connect(listWidget_Left, &QListWidget::itemClicked, this, &F::slot_onListWidget_Left_itemClicked);

    addLabel({420, 20, 130, 44}, tr("Disk"), 30);
    lbl_Free = addLabel({620, 20, 150, 44}, tr("Free:"), 20, Qt::AlignRight | Qt::AlignVCenter);
    cboDrive = new QComboBox(this);
    cboDrive->setGeometry(420, 65, 350, 44);
    cboDrive->setEditable(false);
    connect(cboDrive, qOverload<int>(&QComboBox::currentIndexChanged), this, &F::slot_onIndexChanged_cboDrive);
    lbl_Folder = addLabel({420, 110, 350, 44}, tr("Folder"), 30);
    cboProject = new QComboBox(this);
    cboProject->setGeometry(420, 155, 350, 44);
    cboProject->setEditable(false);
    connect(cboProject, qOverload<int>(&QComboBox::currentIndexChanged), this, &F::slot_onIndexChanged_cboProject);

    lbl_Name = addLabel({420, 200, 350, 70}, tr("Name:"), 30);
    lbl_Name->setWordWrap(true);
    lbl_Date = addLabel({420, 270, 350, 44}, tr("Date:"), 30);
    lbl_Time = addLabel({420, 315, 350, 44}, tr("Time:"), 30);
    lbl_Format = addLabel({420, 360, 350, 44}, tr("Format:"), 30);
    lbl_Marks = addLabel({420, 405, 350, 44}, tr("Marks:"), 30);
    lbl_PlayTime = addLabel({420, 450, 350, 44}, tr("Play Time:"), 30);
    showFileInfo(nullptr);

    btn_edit_drive
        = Look::iconButton(frame, {800, 65, 60, 60}, FolderImages::tools, this, &F::slot_onClicked_btn_edit_drive);
    btn_edit_project
        = Look::iconButton(frame, {800, 155, 60, 60}, FolderImages::tools, this, &F::slot_onClicked_btn_edit_project);

    addLabel({880, 20, 180, 29}, tr("PlayList"), 30);
    lbl_Duration = addLabel({940, 50, 190, 25}, tr("Duration: 00:00:00"), 20, Qt::AlignRight | Qt::AlignVCenter);
    listWidget_Right = addList({875, 77, 275, 450});
    connect(listWidget_Right, &QListWidget::itemClicked, this, &F::slot_onListWidget_Right_itemClicked);

    btn_RightPlayPause = Look::iconButton(
        frame, {1160, 40, 90, 90}, FolderImages::playGrey, this, &F::slot_onClicked_btn_RightPlayPause);
    btn_RightStop
        = Look::iconButton(frame, {1160, 160, 90, 90}, FolderImages::stopGrey, this, &F::slot_onClicked_btn_RightStop);
    btn_RightNext
        = Look::iconButton(frame, {1160, 280, 90, 90}, FolderImages::nextGrey, this, &F::slot_onClicked_btn_RightNext);
    btn_RightPrevious = Look::iconButton(
        frame, {1160, 400, 90, 90}, FolderImages::previousGrey, this, &F::slot_onClicked_btn_RightPrevious);

    btn_Trash
        = Look::iconButton(frame, {20, 548, 90, 90}, FolderImages::trashDisable, this, &F::slot_onClicked_btn_Trash);
    btn_share
        = Look::iconButton(frame, {140, 548, 90, 90}, FolderImages::shareDisable, this, &F::slot_onClicked_btn_share);
    btn_goRight = Look::iconButton(
        frame, {410, 548, 90, 90}, FolderImages::pushRightWhite, this, &F::slot_onClicked_btn_goRight);
    btn_goLeft
        = Look::iconButton(frame, {760, 548, 90, 90}, FolderImages::pushLeftWhite, this, &F::slot_onClicked_btn_goLeft);
    btn_ItemUp
        = Look::iconButton(frame, {900, 548, 90, 90}, FolderImages::upWhite, this, &F::slot_onClicked_btn_ItemUp);
    btn_ItemDown
        = Look::iconButton(frame, {1025, 548, 90, 90}, FolderImages::downWhite, this, &F::slot_onClicked_btn_ItemDown);

    // Not translated, as the device shows it.
    lbl_RecordingLock = new QLabel(QStringLiteral("Can not use playback module when recording"), this);
    const QFont lockFont = Look::pixelFont(font(), 34);
    lbl_RecordingLock->setFont(lockFont);
    lbl_RecordingLock->setAlignment(Qt::AlignCenter);
    lbl_RecordingLock->setAutoFillBackground(true);
    QPalette lockPalette = lbl_RecordingLock->palette();
    lockPalette.setBrush(QPalette::Window, labelGround);
    lockPalette.setBrush(QPalette::WindowText, QBrush(Qt::white));
    lockPalette.setBrush(QPalette::Base, QBrush(Qt::lightGray));
    lbl_RecordingLock->setPalette(lockPalette);
    lbl_RecordingLock->setGeometry(rect());
    lbl_RecordingLock->hide();

    // On the page itself, not the content frame: the lock covers the frame, and Home must stay in reach.
    btn_Home = Look::iconButton(
        this, {1154, 548, 120, 90}, QStringLiteral(":/images/home.png"), this, &F::homeButtonClicked);
    btn_Home->raise();
}

bool QVexmarFolderPage::isEditorMode() const
{
    return m_recorder->editorModeText() == kra::VAL_ON;
}

void QVexmarFolderPage::showEvent(QShowEvent *event)
{
    if (event)
        QVexmarPageWidget::showEvent(event);
    m_recorder->setStateCommand(m_recorder->recorderStateToCommand(), false);
    m_recorder->loadEditorMode();
    const bool editor = isEditorMode();
    lbl_Folder->setText(editor ? tr("Folder: Editor Mode") : tr("Folder"));
    cboDrive->setEnabled(!editor);
    cboProject->setEnabled(!editor);
    btn_edit_project->setEnabled(!editor);

    if (m_recorder->stateCommand() == RecorderModel::CommandRecordStart) {
        lbl_RecordingLock->setGeometry(rect());
        lbl_RecordingLock->show();
        lbl_RecordingLock->raise();
        btn_Home->raise();
        return;
    }
    lbl_RecordingLock->hide();
    if (!m_playListActive)
        activateLeftSide();
    if (m_rightPlaying || m_rightPaused)
        listWidget_Right->setFocus();
    else if (m_leftPlaying || m_leftPaused)
        listWidget_Left->setFocus();
    else
        reload();

    if (editor) {
        namespace I = FolderImages;
        Look::setImages({{btn_RightPlayPause, I::playGrey}, {btn_RightStop, I::stopGrey}, {btn_goLeft, I::pushLeftGrey},
            {btn_ItemUp, I::upGrey}, {btn_ItemDown, I::downGrey}, {btn_RightPrevious, I::previousGrey},
            {btn_RightNext, I::nextGrey}});
    }
}

void QVexmarFolderPage::reload()
{
    m_recordSelected = false;
    showFileInfo(nullptr);
    refreshLeftControls();
    listWidget_Left->clear();
    listWidget_Right->clear();

    m_recorder->refreshMediaSpace();
    m_recorder->loadRecorderSettings();
    fillDriveNames();
    m_filling = true;
    cboDrive->clear();
    cboDrive->addItems(m_driveNames);
    m_filling = false;

    selectCurrentDrive();
    updateFreeSpace();
    fillProjects();
    fillRecords();

    if (listWidget_Right->count() > 0 && !listWidget_Right->selectedItems().isEmpty()) {
        activateRightSide();
        listWidget_Right->setFocus();
    } else {
        activateLeftSide();
    }
    refreshRightControls();
}

void QVexmarFolderPage::fillDriveNames()
{
    m_driveNames.clear();
    m_driveNames << RecorderModel::mediaDisplayName(kra::MEDIA_INTERNAL);
    if (m_recorder->isUsbAvailable())
        m_driveNames << RecorderModel::mediaDisplayName(kra::MEDIA_USB);
    if (m_recorder->isSdAvailable())
        m_driveNames << RecorderModel::mediaDisplayName(kra::MEDIA_SDRAM);
}

void QVexmarFolderPage::selectCurrentDrive()
{
    if (m_filling)
        return;
    const std::string mount = m_recorder->mediaDestination();
    int index = 0;
    if (mount == kra::MEDIA_USB || mount == kra::MEDIA_SDRAM)
        index = std::max(0, cboDrive->findText(RecorderModel::mediaDisplayName(mount)));
    // The page's own choice, not the user's: the drive slot must not reload what the show reloads anyway.
    m_filling = true;
    cboDrive->setCurrentIndex(index);
    m_filling = false;
}

void QVexmarFolderPage::updateFreeSpace()
{
    const QString drive = cboDrive->currentText();
    if (!drive.isEmpty()) {
        const std::string keyword = RecorderModel::mediaKeyword(drive).toStdString();
        // Showing the recorder's own drive writes nothing.
        if (keyword != m_recorder->mediaDestination())
            m_recorder->setMediaDestination(keyword);
    }
    QString free;
    if (drive.isEmpty())
        free = QStringLiteral("?");
    else if (drive == RecorderModel::mediaDisplayName(kra::MEDIA_INTERNAL))
        free = m_recorder->internalSizeText();
    else if (drive == RecorderModel::mediaDisplayName(kra::MEDIA_USB))
        free = m_recorder->usbSizeText();
    else
        free = m_recorder->sdSizeText();
    lbl_Free->setText(tr("Free: ") + free);
}

void QVexmarFolderPage::fillProjects()
{
    if (m_filling)
        return;
    // Items come and go here; the project slot must not take them for the user's choice.
    m_filling = true;
    listWidget_Right->clear();
    listWidget_Left->clear();
    cboProject->clear();
    const QString fallback = QString::fromStdString(RecorderModel::DefaultProject);
    const std::string mount = m_recorder->mediaDestination();
    if (mount == kra::VAL_NONE) {
        cboProject->addItem(fallback, fallback);
        cboProject->setCurrentIndex(0);
        m_filling = false;
        return;
    }
    // Shown sanitised, kept as the device names them: that name is what the recorder finds and stores.
    for (const std::string &name : m_recorder->projectList(mount)) {
        const QString raw = QString::fromStdString(name);
        cboProject->addItem(RecorderModel::sanitizeName(raw), raw);
    }
    QString chosen = fallback;
    if (cboProject->count() > 0) {
        const int found = cboProject->findData(QString::fromStdString(m_recorder->projectName()));
        const int index = found >= 0 ? found : cboProject->count() - 1;
        cboProject->setCurrentIndex(index);
        chosen = cboProject->itemData(index).toString();
    } else {
        cboProject->addItem(fallback, fallback);
        cboProject->setCurrentIndex(0);
    }
    m_filling = false;
    if (chosen.toStdString() != m_recorder->projectName())
        m_recorder->setProjectName(chosen.toStdString());
}

void QVexmarFolderPage::fillRecords()
{
    m_records.clear();
    m_recordIndex.clear();
    m_recordsCut = false;
    m_playListCut = false;
    int listed = 0;
    for (const std::string &line : m_recorder->recordsList()) {
        if (std::count(line.begin(), line.end(), '|') != 7)
            continue;
        if (++listed > MaxRecords)
            continue;
        const QStringList parts = QString::fromStdString(line).split(QLatin1Char('|'));
        FolderFileInfo info;
        info.fileName = parts[0];
        info.index = parts[1];
        info.name = parts[2];
        info.format = parts[3];
        info.length = parts[4];
        info.date = parts[5];
        info.time = parts[6];
        info.channels = parts[7];
        info.seconds = lengthSeconds(info.length);
        info.label = info.index + QStringLiteral("\t ") + info.length;
        if (!m_recordIndex.contains(info.fileName))
            m_recordIndex.insert(info.fileName, m_records.size());
        m_records.append(info);
    }
    m_recordsCut = listed > MaxRecords;
    listWidget_Left->clear();
    for (const FolderFileInfo &info : qAsConst(m_records)) {
        auto *item = new QListWidgetItem(info.label, listWidget_Left);
        item->setData(fileNameRole, info.fileName);
    }
    m_recorder->loadEditorMode();
    if (isEditorMode()) {
        // No play list is loaded: the duration of the last one must not stay over the empty list.
        updatePlayListDuration();
    } else {
        fillPlayList();
        storePlayList();
    }
    QStringList said;
    if (m_recordsCut)
        said << tr("The project holds %1 recordings; the first %2 are listed.").arg(listed).arg(MaxRecords);
    if (m_playListCut)
        said << tr("The play list holds more than %1 entries; the first are shown.").arg(MaxRecords);
    if (!said.isEmpty())
        showMessage(said.join(QLatin1Char('\n')), 0);
}

void QVexmarFolderPage::fillPlayList()
{
    listWidget_Right->clear();
    m_devicePlayList.clear();
    const std::vector<std::string> entries = m_recorder->recordsPlayList();
    m_playListCut = entries.size() > std::size_t(MaxRecords);
    if (entries.empty()) {
        updatePlayListDuration();
        return;
    }
    // Each entry takes every item of its recording, in the records list's order, to the end of the play list; the
    // items are looked up by file name rather than compared with every entry.
    std::vector<QListWidgetItem *> items;
    items.reserve(std::size_t(listWidget_Left->count()));
    while (listWidget_Left->count() > 0)
        items.push_back(listWidget_Left->takeItem(listWidget_Left->count() - 1));
    std::reverse(items.begin(), items.end());
    QHash<QString, std::vector<std::size_t>> rows;
    for (std::size_t row = 0; row < items.size(); ++row)
        rows[items[row]->data(fileNameRole).toString()].push_back(row);
    const std::size_t considered = std::min(entries.size(), std::size_t(MaxRecords));
    for (std::size_t i = 0; i < considered; ++i) {
        const QString name = QString::fromStdString(entries[i]);
        m_devicePlayList << name;
        const auto found = rows.find(name);
        if (found == rows.end() || !findRecordByFileName(name))
            continue;
        for (const std::size_t row : found.value())
            listWidget_Right->addItem(std::exchange(items[row], nullptr));
        rows.erase(found);
    }
    for (QListWidgetItem *item : items) {
        if (item)
            listWidget_Left->addItem(item);
    }
    updatePlayListDuration();
}

QStringList QVexmarFolderPage::playListNames() const
{
    QStringList names;
    for (int row = 0; row < listWidget_Right->count(); ++row) {
        if (const FolderFileInfo *info = recordOfItem(listWidget_Right->item(row)))
            names << info->fileName;
    }
    return names;
}

void QVexmarFolderPage::storePlayList()
{
    // A list cut short would lose what the page does not show.
    if (m_recordsCut || m_playListCut)
        return;
    m_playList = playListNames();
    if (m_playList == m_devicePlayList)
        return;
    if (m_recorder->savePlaylist(m_playList))
        m_devicePlayList = m_playList;
}

const FolderFileInfo *QVexmarFolderPage::findRecordByFileName(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    const int index = m_recordIndex.value(name, -1);
    return index >= 0 ? &m_records.at(index) : nullptr;
}

bool QVexmarFolderPage::refusePlayListEdit()
{
    if (!m_recordsCut && !m_playListCut)
        return false;
    showMessage(tr("The lists are longer than the page shows: the play list stays as the device has it."), 0);
    return true;
}

const FolderFileInfo *QVexmarFolderPage::recordOfItem(const QListWidgetItem *item) const
{
    return item ? findRecordByFileName(item->data(fileNameRole).toString()) : nullptr;
}

void QVexmarFolderPage::showFileInfo(const FolderFileInfo *info)
{
    if (!info) {
        lbl_Name->setText(tr("Name:"));
        lbl_Time->setText(tr("Time:"));
        lbl_Date->setText(tr("Date:"));
        lbl_Format->setText(tr("Format:"));
        lbl_Marks->setText(tr("Marks:"));
        return;
    }
    lbl_Name->setText(tr("Name: ") + info->name);
    wrapLabelText(lbl_Name, lbl_Name->width());
    lbl_Time->setText(tr("Time: ") + info->time);
    lbl_Date->setText(tr("Date: ") + info->date);
    const bool pcm = info->format.compare(QString::fromStdString(kra::FMT_WAV), Qt::CaseInsensitive) == 0;
    lbl_Format->setText(tr("Form: ") + (pcm ? QStringLiteral("PCM 16/48kHz") : QStringLiteral("MPEG II 128/48kHz"))
        + (info->channels == QLatin1String("1") ? QStringLiteral(" M.") : QStringLiteral(" St.")));
    lbl_Marks->setText(tr("Mark: No"));
}

void QVexmarFolderPage::wrapLabelText(QLabel *label, int width)
{
    const QFontMetrics metrics(label->font());
    const QString text = label->text();
    QString wrapped;
    QString run;
    for (const QChar c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n')) {
            wrapped += c;
            run.clear();
            continue;
        }
        if (!run.isEmpty() && metrics.horizontalAdvance(run + c) > width) {
            wrapped += QLatin1Char('\n');
            run.clear();
        }
        wrapped += c;
        run += c;
    }
    label->setText(wrapped);
}

void QVexmarFolderPage::updatePlayListDuration()
{
    qint64 total = 0;
    for (int row = 0; row < listWidget_Right->count(); ++row) {
        if (const FolderFileInfo *info = recordOfItem(listWidget_Right->item(row)))
            total += qint64(info->seconds);
    }
    lbl_Duration->setText(tr("Duration: ") + formatPlayTime(total));
}

QString QVexmarFolderPage::formatPlayTime(qint64 seconds)
{
    const long long s = std::max<qint64>(seconds, 0);
    return QString::asprintf("%02lld:%02lld:%02lld", s / 3600, s % 3600 / 60, s % 60);
}

void QVexmarFolderPage::homeButtonClicked()
{
    m_recorder->saveEditorMode(kra::VAL_OFF);
    m_recorder->saveEditorNextWav(std::string());
    emit pageActivated(QVexmar::HomePage);
}
