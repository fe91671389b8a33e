// The editor page's layout, its project state and the requests that load it: the element lists read into the
// two views, the project chosen, a recording handed over by the folder page, saving and clearing the project.

#include "pages/vexmareditorpage.h"

#include "device/accessors.h"
#include "pages/drawbargraph.h"
#include "pages/recordermodel.h"
#include "pages/vexmareditorimages.h"
#include "rpc/logescape.h"
#include "rpc/rpcvocabulary.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarconfirm.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmaricon.h"
#include "widgets/vexmarlook.h"
#include "widgets/vexmarmessage.h"
#include "widgets/vexmarplaintext.h"
#include "widgets/vexmarprojectpopups.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QShowEvent>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <utility>
#include <vector>

const char QVexmarEditorPage::DefaultProjectFile[] = "kra.prjt";

namespace {

const QColor labelGround(0x32, 0x32, 0x32);
const QColor labelGrey(127, 127, 127);
constexpr int saveDelayMs = 100;
constexpr int finishedMs = 2000;

enum class Reading { Unreadable, OutOfRange, Read };

// A number of an element row: decimal, from 0 to `most`. A decimal number outside, however long, is out of range.
Reading readNumber(const std::string &text, qint64 most, qint64 &value)
{
    const QByteArray bytes = QByteArray::fromStdString(text);
    bool ok = false;
    value = bytes.toLongLong(&ok, 10);
    if (ok)
        return value >= 0 && value <= most ? Reading::Read : Reading::OutOfRange;
    const int sign = bytes.startsWith('-') || bytes.startsWith('+') ? 1 : 0;
    const bool digits = bytes.size() > sign
        && std::all_of(bytes.begin() + sign, bytes.end(), [](char c) { return c >= '0' && c <= '9'; });
    value = 0;
    return digits ? Reading::OutOfRange : Reading::Unreadable;
}

// A position read from a row the page kept: in range.
qint64 keptNumber(const std::string &text)
{
    bool ok = false;
    const qint64 value = QByteArray::fromStdString(text).toLongLong(&ok, 10);
    return ok ? value : 0;
}

} // namespace

QVexmarEditorPage::QVexmarEditorPage(QWidget *parent) : QVexmarPageWidget(parent)
{
    m_recorder = std::make_unique<RecorderModel>();
    m_waveMapRoot = QCoreApplication::applicationDirPath() + QStringLiteral("/wavemaps");
    setupUi();
}

QVexmarEditorPage::~QVexmarEditorPage()
{
    if (m_playTimer)
        m_playTimer->stop();
}

// ---------------------------------------------------------------------------------------------------------------
// Layout

QLabel *QVexmarEditorPage::addLabel(const QRect &geometry, const QString &text, Qt::Alignment alignment)
{
    auto *label = plainTextLabel(new QLabel(text, contentFrame));
    label->setGeometry(geometry);
    const QFont labelFont = Look::pixelFont(font(), 20);
    label->setFont(labelFont);
    Look::setFace(label, labelGround, Qt::white);
    label->setAlignment(alignment ? alignment : Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

DrawBarGraph *QVexmarEditorPage::addGraph(const QRect &geometry, int id)
{
    auto *graph = new DrawBarGraph(contentFrame);
    graph->setGeometry(geometry);
    graph->setGraphId(id);
    connect(graph, &DrawBarGraph::sendCustomMessage_IsClic, this, &QVexmarEditorPage::receiveCustomMessage_ChildIsClic);
    connect(
        graph, &DrawBarGraph::sendCustomMessage_IsWheel, this, &QVexmarEditorPage::receiveCustomMessage_ChildIsWheeled);
    return graph;
}

void QVexmarEditorPage::setupUi()
{
    using E = QVexmarEditorPage;
    namespace I = EditorImages;
    btn_Add = Look::iconButton(contentFrame, {30, 40, 90, 90}, I::goWhite, this, &E::slot_onClicked_btn_Add);
    btn_previous
        = Look::iconButton(contentFrame, {30, 190, 90, 90}, I::previousWhite, this, &E::slot_onClicked_btn_previous);
    btn_Save = Look::iconButton(contentFrame, {30, 310, 90, 90}, I::saveGrey, this, &E::slot_onClicked_btn_Save);
    knob = new QVexmarKnobMinimal(contentFrame);
    knob->setGeometry(30, 430, 100, 100);
    knob->setText(QStringLiteral("FK"));
    connect(knob, &QVexmarKnob::valueChanged, this, &E::slot_knobChanged);

    // The top row sits above the source view, so its texts keep to the top of their boxes.
    lbl_File = addLabel({140, 20, 300, 65}, QString(), Qt::AlignLeft | Qt::AlignTop);
    lbl_File->setWordWrap(true);
    setFileLabel(tr("No file selected !"), true);
    lbl_Left = addLabel({615, 10, 20, 65}, QStringLiteral("L"), Qt::AlignLeft | Qt::AlignTop);
    switchChan = new QVexmarSwitch(contentFrame);
    switchChan->setGeometry(640, 0, 72, 50);
    switchChan->setCheckable(true);
    switchChan->setDisabledLook(true);
    switchChan->setFocusPolicy(Qt::NoFocus);
    connect(switchChan, &QAbstractButton::clicked, this, &E::slot_switchChanClicked);
    lbl_Right = addLabel({715, 10, 20, 65}, QStringLiteral("R"), Qt::AlignLeft | Qt::AlignTop);
    lbl_Index = addLabel({990, 20, 150, 65}, QStringLiteral("..."), Qt::AlignRight | Qt::AlignTop);

    graphSource = addGraph({140, 50, 1000, 150}, SourceGraph);
    graphSource->setSingleFileMode();
    lbl_Project = addLabel({140, 210, 500, 65}, tr("Project"));
    lbl_SourceCursor = addLabel({600, 190, 500, 65}, sourceTimeText(0));
    lbl_SourceLength = addLabel({990, 210, 150, 65}, sourceTimeText(0), Qt::AlignRight | Qt::AlignVCenter);
    graphProject = addGraph({140, 270, 1000, 150}, ProjectGraph);
    graphProject->setProjectMode();
    graphProject->setDimmed();
    lbl_ProjectCursor = addLabel({585, 410, 300, 65}, projectTimeText(0));
    lbl_ProjectLength = addLabel({840, 430, 300, 65}, projectTimeText(0), Qt::AlignRight | Qt::AlignVCenter);

    btn_Open = Look::iconButton(contentFrame, {1170, 40, 90, 90}, I::openWhite, this, &E::slot_onClicked_btn_Open);
    btn_Next = Look::iconButton(contentFrame, {1170, 190, 90, 90}, I::nextWhite, this, &E::slot_onClicked_btn_Next);
    btn_Trash
        = Look::iconButton(contentFrame, {1170, 310, 90, 90}, I::trashDisable, this, &E::slot_onClicked_btn_Trash);
    btn_ZoomIn = Look::iconButton(contentFrame, {20, 548, 90, 90}, I::zoomInGrey, this, &E::slot_onClicked_btn_ZoomIn);
    btn_ZoomOut
        = Look::iconButton(contentFrame, {120, 548, 90, 90}, I::zoomOutGrey, this, &E::slot_onClicked_btn_ZoomOut);
    btn_Undo = Look::iconButton(contentFrame, {240, 548, 90, 90}, I::undoGrey, this, &E::slot_onClicked_btn_Undo);
    btn_AddMark
        = Look::iconButton(contentFrame, {360, 548, 90, 90}, I::markWhite, this, &E::slot_onClicked_btn_AddMark);
    btn_DelMark
        = Look::iconButton(contentFrame, {480, 548, 90, 90}, I::deleteGrey, this, &E::slot_onClicked_btn_DelMark);
    btn_Play = Look::iconButton(contentFrame, {600, 548, 90, 90}, I::playWhite, this, &E::slot_onClicked_btn_Play);
    btn_Step = Look::iconButton(contentFrame, {720, 548, 90, 90}, I::speed16, this, &E::slot_onClicked_btn_Step);
    btn_Home = Look::iconButton(contentFrame, {1154, 548, 120, 90}, I::home, this, &E::homeButtonClicked);

    // Names unique in the whole screen window.
    const std::pair<QWidget *, const char *> names[] = {{btn_Add, "editorAddButton"},
        {btn_previous, "editorPreviousButton"}, {btn_Save, "editorSaveButton"}, {knob, "editorKnob"},
        {lbl_File, "editorFileLabel"}, {lbl_Left, "editorLeftLabel"}, {switchChan, "editorChannelSwitch"},
        {lbl_Right, "editorRightLabel"}, {lbl_Index, "editorIndexLabel"}, {graphSource, "editorSourceGraph"},
        {lbl_Project, "editorProjectLabel"}, {lbl_SourceCursor, "editorSourceCursorLabel"},
        {lbl_SourceLength, "editorSourceLengthLabel"}, {graphProject, "editorProjectGraph"},
        {lbl_ProjectCursor, "editorProjectCursorLabel"}, {lbl_ProjectLength, "editorProjectLengthLabel"},
        {btn_Open, "editorOpenButton"}, {btn_Next, "editorNextButton"}, {btn_Trash, "editorTrashButton"},
        {btn_ZoomIn, "editorZoomInButton"}, {btn_ZoomOut, "editorZoomOutButton"}, {btn_Undo, "editorUndoButton"},
        {btn_AddMark, "editorAddMarkButton"}, {btn_DelMark, "editorDelMarkButton"}, {btn_Play, "editorPlayButton"},
        {btn_Step, "editorStepButton"}, {btn_Home, "editorHomeButton"}};
    for (const auto &[widget, name] : names)
        widget->setObjectName(QLatin1String(name));
    setChannelSwitch(false, false);
    knob->setFocus(Qt::OtherFocusReason);
}

void QVexmarEditorPage::setFileLabel(const QString &text, bool error)
{
    lbl_File->setText(text);
    Look::setTextColour(lbl_File, error ? Qt::red : Qt::white);
}

void QVexmarEditorPage::setChannelSwitch(bool enabled, bool right)
{
    switchChan->setEnabled(enabled);
    switchChan->setChecked(right);
    for (QLabel *label : {lbl_Left, lbl_Right})
        Look::setTextColour(label, enabled ? QColor(Qt::white) : labelGrey);
}

void QVexmarEditorPage::setProjectLabel(const QString &text)
{
    lbl_Project->setText(text);
}

// ---------------------------------------------------------------------------------------------------------------
// Requests

void QVexmarEditorPage::loadSettings()
{
    m_recorder->loadRecorderSettings();
}

std::string QVexmarEditorPage::mountPoint() const
{
    return m_recorder->mediaDestination();
}

std::string QVexmarEditorPage::projectName() const
{
    return m_recorder->projectName();
}

void QVexmarEditorPage::projectPath()
{
    loadSettings();
    getDevice()->getProjectPath(mountPoint(), projectName());
}

bool QVexmarEditorPage::newProject()
{
    loadSettings();
    return getDevice()->projectNew(mountPoint().c_str(), projectName().c_str(), m_projectFile.c_str());
}

QStringList QVexmarEditorPage::fetchRows(int kind)
{
    using Fetch = bool (TComDevice::*)(const std::string &, const std::string &, const std::string &, QStringList &);
    static const Fetch fetches[]
        = {&TComDevice::getProjectTracks, &TComDevice::getProjectMarks, &TComDevice::getProjectSeparators};
    QStringList rows;
    (getDevice()->*fetches[kind])(mountPoint(), projectName(), m_projectFile, rows);
    return rows;
}

void QVexmarEditorPage::addPosition(int kind, qint64 samples, qint64 ms)
{
    loadSettings();
    ProjectElement element;
    element.flag = 1;
    element.startValue = std::to_string(samples);
    element.startValueH = std::to_string(ms);
    if (kind == MarkElements)
        getDevice()->projectAddMark(mountPoint(), projectName(), m_projectFile, element);
    else
        getDevice()->projectAddSeparator(mountPoint(), projectName(), m_projectFile, element);
}

void QVexmarEditorPage::setProjectSource()
{
    loadSettings();
    getDevice()->projectSetSource(mountPoint(), projectName(), m_projectFile, m_source);
}

bool QVexmarEditorPage::loadProjectSource()
{
    m_source = ProjectSource();
    if (m_projectFile.empty()) {
        m_projectFile = DefaultProjectFile;
        setProjectLabel(tr("Project: Default"));
    }
    loadSettings();
    return getDevice()->projectGetSource(mountPoint(), projectName(), m_projectFile, m_source);
}

std::string QVexmarEditorPage::convertWavToData(const std::string &wav, bool announce)
{
    loadSettings();
    const std::string path = getDevice()->wavToData(mountPoint(), projectName(), wav);
    if (path.empty())
        return path;
    if (announce)
        showMessage(tr("Finished."), finishedMs);
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? path : path.substr(slash + 1);
}

// The device's folder of the project, mirrored below the local root. A path that would lead out of the root
// (".." parts) finds nothing rather than some other file of this computer.
void QVexmarEditorPage::updatePlaybackPath()
{
    loadSettings();
    const QString devicePath
        = QString::fromStdString(getDevice()->getPlaybackFullpath(mountPoint(), projectName(), std::string()))
              .replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString root = QDir::cleanPath(m_waveMapRoot);
    const QString folder = QDir::cleanPath(root + QLatin1Char('/') + devicePath);
    const bool inside = !devicePath.isEmpty() && !m_waveMapRoot.isEmpty()
        && (folder == root || folder.startsWith(root + QLatin1Char('/')));
    if (!inside && !devicePath.isEmpty())
        qWarning("Editor: the project folder \"%s\" is outside the wave maps", qPrintable(escapedForLog(devicePath)));
    m_waveFolder = inside ? folder : QString();
    graphSource->setFolderPrefix(m_waveFolder.toStdString());
    graphProject->setFolderPrefix(m_waveFolder.toStdString());
}

std::string QVexmarEditorPage::localWaveMap(const std::string &name) const
{
    if (m_waveFolder.isEmpty())
        return std::string();
    // The device names the files of its project folder; a directory in the name is not followed.
    const std::size_t slash = name.find_last_of("/\\");
    const std::string base = slash == std::string::npos ? name : name.substr(slash + 1);
    return base == "." || base == ".." ? std::string() : base;
}

bool QVexmarEditorPage::hasWaveMap(const std::string &name) const
{
    const std::string local = localWaveMap(name);
    return !local.empty() && QFileInfo(m_waveFolder + QLatin1Char('/') + QString::fromStdString(local)).isFile();
}

// ---------------------------------------------------------------------------------------------------------------
// Element lists

QVexmarEditorPage::ElementList QVexmarEditorPage::parseRows(const QStringList &rows, int kind, Refusals *refusals)
{
    // Separators cut the source and tracks are pieces of it; marks lie anywhere in the project.
    const qint64 most = kind == MarkElements ? TrackGraphModel::MaxProjectSamples : TrackGraphModel::MaxTrackSamples;
    ElementList list;
    for (const QString &row : rows) {
        const QStringList fields = row.split(QLatin1Char('|'), Qt::KeepEmptyParts);
        if (fields.size() != 7)
            continue;
        ProjectElement element;
        element.flag = 1;
        std::string *strings[] = {&element.source, &element.waveMap, &element.channel, &element.startValue,
            &element.endValue, &element.startValueH, &element.endValueH};
        for (int i = 0; i < 7; ++i) {
            // A mark or separator is its position; the rest of its row means nothing.
            if (kind == TrackElements || i == 3 || i == 5)
                *strings[i] = fields[i].toStdString();
        }
        std::vector<std::pair<const std::string *, qint64>> numbers = {{&element.startValue, most}};
        if (kind == TrackElements)
            numbers.insert(numbers.end(), {{&element.endValue, most}, {&element.channel, INT_MAX}});
        Reading reading = Reading::Read;
        for (const auto &[text, bound] : numbers) {
            qint64 value = 0;
            const Reading read = readNumber(*text, bound, value);
            if (read != Reading::Read && reading != Reading::Unreadable)
                reading = read;
        }
        if (reading == Reading::Unreadable)
            continue;
        if (reading == Reading::OutOfRange) {
            if (refusals)
                ++refusals->outOfRange;
        } else if (list.size() >= std::size_t(TrackGraphModel::MaxElements)) {
            if (refusals)
                ++refusals->pastCap;
        } else {
            list.push_back(element);
        }
    }
    return list;
}

const QVexmarEditorPage::ElementList &QVexmarEditorPage::elements(int kind) const
{
    static const ElementList none;
    return m_elements[std::size_t(kind)] ? *m_elements[std::size_t(kind)] : none;
}

void QVexmarEditorPage::reloadElements(bool resetView, int kind)
{
    projectPath();
    // The settings projectPath read name the drive and project of every list; a list never read is read too.
    Refusals refusals;
    for (int k : {TrackElements, SeparatorElements, MarkElements}) {
        std::unique_ptr<ElementList> &list = m_elements[std::size_t(k)];
        if (kind == AllElements || kind == k || !list)
            list = std::make_unique<ElementList>(parseRows(fetchRows(k), k, &refusals));
    }
    rebuildViews(resetView);
    QStringList said;
    if (refusals.outOfRange > 0)
        said << tr("The device sent %1 project rows with positions out of range; they are left out.")
                    .arg(refusals.outOfRange);
    if (refusals.pastCap > 0)
        said << tr("The project lists more than %1 tracks, marks or separators; %2 more are left out.")
                    .arg(TrackGraphModel::MaxElements)
                    .arg(refusals.pastCap);
    if (!said.isEmpty())
        showMessage(said.join(QLatin1Char('\n')), 0);
}

void QVexmarEditorPage::rebuildViews(bool resetView)
{
    graphProject->clearAllRecords();
    graphProject->setProjectMode();
    const ElementList &tracks = elements(TrackElements);
    for (std::size_t i = 0; i < tracks.size(); ++i) {
        const ProjectElement &track = tracks[i];
        graphProject->addTrack(localWaveMap(track.waveMap), keptNumber(track.startValue), keptNumber(track.endValue),
            int(keptNumber(track.channel)));
        graphProject->setNameAt(int(i), track.source);
    }
    if (resetView)
        graphProject->resetAutoZoom();
    graphProject->reload();

    graphProject->clearMarks();
    for (const ProjectElement &mark : elements(MarkElements))
        graphProject->addMarkText(QString::fromStdString(mark.startValue));
    graphSource->clearMarks();
    for (const ProjectElement &separator : elements(SeparatorElements))
        graphSource->addMarkText(QString::fromStdString(separator.startValue));
    showWaveMapState();
}

// A file whose waveform is missing leaves its view empty; the page says which file it is.
void QVexmarEditorPage::showWaveMapState()
{
    std::string missing;
    if (!m_waveMap.empty() && !hasWaveMap(m_waveMap))
        missing = m_waveMap;
    for (const ProjectElement &track : elements(TrackElements)) {
        if (missing.empty() && !hasWaveMap(track.waveMap))
            missing = track.waveMap;
    }
    if (!missing.empty()) {
        setFileLabel(tr("No waveform data for %1").arg(QString::fromStdString(missing)), true);
    } else if (m_sourceFile.empty()) {
        setFileLabel(tr("No file selected !"), true);
    } else {
        const QString source = QString::fromStdString(m_sourceFile);
        const QString name = RecorderModel::userNameFromFileName(source);
        setFileLabel(name.isEmpty() ? source : name, false);
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Loading

void QVexmarEditorPage::refresh(bool useStoredSource)
{
    m_waveMap.clear();
    m_sourceFile.clear();
    setChannelSwitch(false, false);

    std::string file = m_recorder->takeEditorNextWav();
    const bool fresh = !file.empty();
    if (!fresh) {
        if (!useStoredSource) {
            showActiveView();
            openProjectSelector();
            return;
        }
        if (loadProjectSource())
            file = m_source.uri;
    }
    if (!file.empty()) {
        // A recording handed over before any project was chosen goes into the default project.
        if (m_projectFile.empty()) {
            m_projectFile = DefaultProjectFile;
            setProjectLabel(tr("Project: Default"));
        }
        const std::string waveMap = convertWavToData(file, fresh);
        if (!waveMap.empty()) {
            m_waveMap = waveMap;
            m_sourceFile = file;
        }
        if (waveMap.empty()) {
            showMessage(tr("Failed to prepare %1").arg(QString::fromStdString(file)), 0);
        } else if (fresh) {
            m_source.valid = true;
            m_source.uri = m_sourceFile;
            m_source.channel = "0";
            m_source.waveMap = m_waveMap;
            setProjectSource();
            // The separators cut the previous source; the device's own count, as the view may not have read it.
            // The settings setProjectSource read serve the list and every removal.
            const int separators = int(parseRows(fetchSeparators(), SeparatorElements).size());
            const int last = std::max(separators - MaxHandOverRemovals, 0);
            for (int index = separators; index > last; --index)
                m_recorder->removeSeparator(m_projectFile, index);
            if (last > 0)
                showMessage(tr("%1 separators of the previous source were removed; %2 remain.")
                                .arg(separators - last)
                                .arg(last),
                    0);
        }
    }
    if (!m_waveMap.empty()) {
        loadSourceView();
        reloadElements(false, AllElements);
    } else {
        resetSourceView();
        reloadElements(true, AllElements);
    }
    updateLengthLabels();
    showActiveView();
    graphSource->update();
    graphProject->update();
}

// The buttons as the view's content now allows.
void QVexmarEditorPage::showActiveView()
{
    if (m_sourceView)
        showSourceView();
    else
        showProjectView();
}

// Nothing of an earlier source stays: its zoom, its length, its channel.
void QVexmarEditorPage::resetSourceView()
{
    graphSource->softReset();
    graphSource->setFolderPrefix(m_waveFolder.toStdString());
}

void QVexmarEditorPage::loadSourceView()
{
    resetSourceView();
    graphSource->addRecord(localWaveMap(m_waveMap), 0, 0, 0);
    graphSource->setNameAt(0, m_sourceFile);
    graphSource->refresh();
    const QString index = RecorderModel::recordIndexFromPath(QString::fromStdString(m_sourceFile));
    lbl_Index->setText(index.isEmpty() ? QStringLiteral("...") : tr("Index ") + index);
    if (m_sourceView)
        setZoomIcons(graphSource);
    const bool stereo = graphSource->model().isStereo(TrackGraphModel::DisplayList, 0);
    setChannelSwitch(stereo, false);
    m_sourceCursor = m_sourcePlayStart = 0;
    setSourcePosition(0);
    if (m_sourceView)
        updateButtonState(m_sourceCursor, true);
}

void QVexmarEditorPage::updateLengthLabels()
{
    lbl_SourceLength->setText(sourceTimeText(sourceLength()));
    lbl_ProjectLength->setText(projectTimeText(projectLength()));
}

void QVexmarEditorPage::zeroPositions()
{
    m_sourceCursor = m_sourcePlayStart = 0;
    m_projectCursor = m_projectPlayStart = 0;
    m_pendingStart = 0;
}

void QVexmarEditorPage::showEvent(QShowEvent *event)
{
    QVexmarPageWidget::showEvent(event);
    // The screen shows the page again after a minimised window: nothing to read anew.
    if (event && event->spontaneous())
        return;
    knob->enableKeys();
    knob->setFocus(Qt::OtherFocusReason);
    updateButtonState(m_sourceView ? m_sourceCursor : m_projectCursor, m_sourceView);
    updatePlaybackPath();
    refresh(false);
}

// ---------------------------------------------------------------------------------------------------------------
// Project selection, saving, clearing

void QVexmarEditorPage::openProjectSelector()
{
    loadSettings();
    auto *selector = new QVexmarProjectSelector(this);
    selector->setObjectName(QStringLiteral("editorProjectSelector"));
    selector->setTitle(tr("Select your project"));
    selector->setProjectList(QString::fromStdString(m_recorder->projectElementList()));
    selector->setupUi();
    selector->placeOver(this);
    connect(selector, &QVexmarPopup::popupClosed, this, &QVexmarEditorPage::slot_popupClosed_SelectProject);
    selector->show();
}

void QVexmarEditorPage::slot_popupClosed_SelectProject()
{
    auto *selector = qobject_cast<QVexmarProjectSelector *>(sender());
    if (!selector)
        return;
    const std::string name = selector->selectedProject();
    const QString label = tr("Project : ") + QString::fromStdString(name);
    if (selector->selectedIndex() < 0) {
        const std::string previous = m_projectFile;
        m_projectFile = name;
        if (!newProject()) {
            m_projectFile = previous;
            showMessage(tr("Failed to create the project %1").arg(QString::fromStdString(name)), 0);
            return;
        }
    } else {
        m_projectFile = name;
    }
    setProjectLabel(label);
    if (name.empty())
        return;
    zeroPositions();
    updatePlaybackPath();
    refresh(true);
    updateButtonState(m_sourceView ? m_sourceCursor : m_projectCursor, m_sourceView);
    graphProject->reload();
    graphSource->update();
    graphProject->update();
}

void QVexmarEditorPage::slot_onClicked_btn_Save()
{
    if (m_sourceView || !m_saveEnabled)
        return;
    showMessage(tr("Saving file is in progress, please wait..."), 0);
    m_saveTimer = std::make_unique<QTimer>();
    m_saveTimer->setSingleShot(true);
    connect(m_saveTimer.get(), &QTimer::timeout, this, &QVexmarEditorPage::timeoutEvent);
    m_saveTimer->start(saveDelayMs);
}

void QVexmarEditorPage::timeoutEvent()
{
    if (!m_saveTimer)
        return;
    m_saveTimer->stop();
    loadSettings();
    const bool built = m_recorder->buildProjectWav(m_projectFile);
    // The waiting message turns into the result.
    showMessage(built ? tr("Finished.") : tr("Failed to save the project."), 0);
}

void QVexmarEditorPage::slot_onClicked_btn_Trash()
{
    if (m_sourceView)
        return;
    askToConfirm(tr("Clear the project"), &QVexmarEditorPage::slot_popupClosed_ClearProject);
}

void QVexmarEditorPage::askToConfirm(const QString &title, void (QVexmarEditorPage::*closed)())
{
    auto *confirm = new QVexmarConfirmAction(this);
    confirm->setTitle(title);
    confirm->setLine1(tr("Please confirm"), QString());
    confirm->setupUi();
    confirm->placeOver(this);
    connect(confirm, &QVexmarPopup::popupClosed, this, closed);
    confirm->show();
}

void QVexmarEditorPage::slot_popupClosed_ClearProject()
{
    auto *confirm = qobject_cast<QVexmarConfirmAction *>(sender());
    if (confirm && !confirm->isCancelled())
        clearProject();
}

void QVexmarEditorPage::clearProject()
{
    if (!m_idle) {
        m_userStop = true;
        stopPlayback();
    }
    if (!newProject()) {
        showMessage(tr("Failed to clear the project."), 0);
        return;
    }
    resetSourceView();
    graphProject->clearAllRecords();
    graphProject->clearMarks();
    graphProject->setCursorPosition(0);
    m_waveMap.clear();
    m_sourceFile.clear();
    setFileLabel(tr("No file selected !"), true);
    lbl_Index->setText(QStringLiteral("..."));
    setButtonState(DrawBarGraph::EmptyPosition);
    showProjectView();
    zeroPositions();
    lbl_SourceCursor->setText(sourceTimeText(0));
    lbl_SourceLength->setText(sourceTimeText(0));
    lbl_ProjectCursor->setText(projectTimeText(0));
    lbl_ProjectLength->setText(projectTimeText(0));
    refresh(true);
}

void QVexmarEditorPage::slot_onClicked_btn_Open()
{
    if (!m_sourceView)
        return;
    m_recorder->saveEditorMode(kra::VAL_ON);
    emit pageActivated(QVexmar::FolderPage);
}

void QVexmarEditorPage::homeButtonClicked()
{
    if (!m_idle) {
        m_userStop = true;
        stopPlayback();
    }
    knob->disableKeys();
    m_recorder->saveEditorMode(kra::VAL_OFF);
    emit pageActivated(QVexmar::HomePage);
}

void QVexmarEditorPage::slot_onClicked_btn_Undo() { }

void QVexmarEditorPage::slot_onClicked_DBGCliked() { }
