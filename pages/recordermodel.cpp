#include "pages/recordermodel.h"

#include "controllers/tcomrpcaccess.h"
#include "controllers/tmatrixsettings.h"
#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "rpc/ccom.h"
#include "rpc/rpcvocabulary.h"
#include "widgets/screenpointer.h"
#include "widgets/vexmarmessage.h"

#include <QCoreApplication>
#include <QDebug>

#include <cstdio>
#include <iterator>
#include <map>

const std::string RecorderModel::CommandRecordStart("recordstart");
const std::string RecorderModel::CommandRecordStop("recordstop");
const std::string RecorderModel::CommandPlayStart("playstart");
const std::string RecorderModel::CommandPlayStop("playstop");
const std::string RecorderModel::CommandPlayPause("playpause");
const std::string RecorderModel::CommandPlayUnpause("playunpause");
const std::string RecorderModel::DefaultProject("Default");
const std::string RecorderModel::DefaultFileName("Record");

namespace {

constexpr int storeTimeoutMs = 10000;
constexpr int listTimeoutMs = 5000;
constexpr int maxNameLength = 25;
// The device numbers a project's recordings from 1 to 999.
constexpr int firstRecordIndex = 1;
constexpr int recordIndexLimit = 1000;

// The routing matrix: the recorder's two channels and the inputs that feed them.
enum RecorderRoute : int {
    RecordLeft = 24,
    RecordRight = 25,
    Stream1Left = 24,
    Stream1Right = 25,
    Stream1OtherLeft = 20,
    Stream1OtherRight = 21,
    Stream2Left = 26,
    Stream2Right = 27,
    Stream2OtherLeft = 22,
    Stream2OtherRight = 23,
    VoiceMain = 28,
    VoiceOther = 19,
};

struct StreamInputs
{
    int left;
    int otherLeft;
    int right;
    int otherRight;
};

constexpr StreamInputs stream1Inputs {Stream1Left, Stream1OtherLeft, Stream1Right, Stream1OtherRight};
constexpr StreamInputs stream2Inputs {Stream2Left, Stream2OtherLeft, Stream2Right, Stream2OtherRight};

void setNode(int in, int ou, bool on)
{
    getMatrixSettings()->setNode(QVexmar::Inputs(in), QVexmar::Outputs(ou), on);
}

// A refusal that the store puts where a value belongs.
bool isErrorText(const std::string &value)
{
    return causeCodeFromText(value) != 200 || value == kra::ERR_UNKNOWN_ERROR;
}

const std::string *storedValue(const std::map<std::string, std::string> &values, const std::string &key)
{
    const auto it = values.find(key);
    if (it == values.end() || it->second.empty() || isErrorText(it->second))
        return nullptr;
    return &it->second;
}

} // namespace

RecorderModel::RecorderModel()
    : m_fileName(DefaultFileName),
      m_project(DefaultProject),
      m_mediaDest(kra::VAL_NONE),
      m_mediaSrc(kra::SRC_STREAM1),
      m_autorecord(kra::VAL_OFF),
      m_format(kra::FMT_WAV),
      m_isFtp(kra::VAL_OFF),
      m_editorMode(kra::VAL_OFF),
      m_stateCommand(kra::VAL_NONE)
{
}

void RecorderModel::setRecorderDefaults()
{
    m_fileName = DefaultFileName;
    m_project = DefaultProject;
    m_mediaDest = kra::VAL_NONE;
    m_mediaSrc = kra::SRC_STREAM1;
    m_format = kra::FMT_WAV;
    m_autorecord = kra::VAL_OFF;
    m_isFtp = kra::VAL_OFF;
    m_prefixIndex = QStringLiteral("001");
    m_prefixDate = QStringLiteral("YYYMMDD");
    m_prefixTime = QStringLiteral("HHMM");
    m_prefixExtra.clear();
    m_settingsLoaded = false;
}

bool RecorderModel::loadRecorderSettings()
{
    const std::pair<const std::string *, std::string *> settings[] = {
        {&kra::KEY_MEDIA_DEST, &m_mediaDest},
        {&kra::KEY_PROJECT, &m_project},
        {&kra::KEY_FILENAME, &m_fileName},
        {&kra::KEY_AUTORECORD, &m_autorecord},
        {&kra::KEY_MEDIA_SRC, &m_mediaSrc},
        {&kra::KEY_FORMAT, &m_format},
        {&kra::KEY_IS_FTP, &m_isFtp},
    };
    std::vector<std::string> names;
    for (const auto &setting : settings)
        names.push_back(*setting.first);
    std::map<std::string, std::string> values;
    // A store that refuses part of the request still hands over what it has.
    const int result = getCom()->getParams(names, values, storeTimeoutMs);
    if (result < 0 && values.empty()) {
        qWarning("Recorder: the settings could not be read (%d)", result);
        setRecorderDefaults();
        m_deviceRead = false;
        return false;
    }
    m_deviceRead = true;
    int count = 0;
    for (const auto &setting : settings)
        count += storedValue(values, *setting.first) ? 1 : 0;
    if (count < int(std::size(settings)))
        setRecorderDefaults();
    for (const auto &[key, field] : settings) {
        if (const std::string *value = storedValue(values, *key))
            *field = *value;
    }
    if (m_format != kra::FMT_WAV && m_format != kra::FMT_MPG2)
        m_format = kra::FMT_WAV;
    if (count == int(std::size(settings))) {
        m_settingsLoaded = true;
        return true;
    }
    // A device that never had the settings gets ours; one that refused gets nothing.
    if (count == 0 && result >= 0)
        saveRecorderSettings();
    return false;
}

bool RecorderModel::saveRecorderSettings()
{
    m_settingsSaved = false;
    const std::map<std::string, std::string> settings = {
        {kra::KEY_MEDIA_DEST, m_mediaDest},
        {kra::KEY_PROJECT, m_project},
        {kra::KEY_FILENAME, m_fileName},
        {kra::KEY_AUTORECORD, m_autorecord},
        {kra::KEY_MEDIA_SRC, m_mediaSrc},
        {kra::KEY_FORMAT, m_format},
        {kra::KEY_IS_FTP, m_isFtp},
    };
    m_settingsSaved = getCom()->setParams(settings, storeTimeoutMs) >= 0;
    if (!m_settingsSaved)
        qWarning("Recorder: the settings were not stored");
    return m_settingsSaved;
}

void RecorderModel::pushSetting(const std::string &key, const std::string &value)
{
    if (m_deviceRead) {
        saveRecorderSettings();
        return;
    }
    // The other fields hold defaults, not the device's values: storing them would overwrite its settings.
    m_settingsSaved = getCom()->setParams({{key, value}}, storeTimeoutMs) >= 0;
    if (!m_settingsSaved)
        qWarning("Recorder: the setting %s was not stored", key.c_str());
}

void RecorderModel::setFileName(const std::string &value, bool push)
{
    m_fileName = value;
    if (push)
        pushSetting(kra::KEY_FILENAME, value);
}

void RecorderModel::setProjectName(const std::string &value, bool push)
{
    m_project = value;
    if (push)
        pushSetting(kra::KEY_PROJECT, value);
}

void RecorderModel::setMediaDestination(const std::string &value, bool push)
{
    m_mediaDest = value;
    if (push)
        pushSetting(kra::KEY_MEDIA_DEST, value);
}

void RecorderModel::setRecordFormat(const std::string &value, bool push)
{
    m_format = value;
    if (push)
        pushSetting(kra::KEY_FORMAT, value);
}

void RecorderModel::setStateCommand(const std::string &value, bool push)
{
    m_stateCommand = value;
    if (push && m_deviceRead)
        saveRecorderSettings();
}

void RecorderModel::setMediaSource(const std::string &value, bool deferPush)
{
    m_mediaSrc = value;
    if (!deferPush)
        pushSetting(kra::KEY_MEDIA_SRC, value);
}

std::string RecorderModel::recorderStateToCommand()
{
    const std::string state = getDevice()->getRecorderState();
    if (state == kra::RECORDER_PLAY)
        return CommandPlayStart;
    if (state == kra::RECORDER_PLAY_PAUSED)
        return CommandPlayPause;
    if (state == kra::RECORDER_REC)
        return CommandRecordStart;
    return kra::VAL_NONE;
}

void RecorderModel::refreshMediaSpace()
{
    TComDevice *device = getDevice();
    m_internalFree = device->getFreespaceRecord();
    m_usbFree = device->getFreespaceUsb();
    m_sdFree = device->getFreespaceSdcard();
    m_internalPercent = m_internalFree > 0 ? device->getFreespacePRecord() : -1;
    m_usbPercent = m_usbFree > 0 ? device->getFreespacePUsb() : -1;
    m_sdPercent = m_sdFree > 0 ? device->getFreespacePSdcard() : -1;
    m_internalAvailable = m_internalFree > m_spaceThreshold;
    m_usbAvailable = m_usbFree > m_spaceThreshold;
    m_sdAvailable = m_sdFree > m_spaceThreshold;
}

QString RecorderModel::mediaDisplayName(const std::string &keyword)
{
    if (keyword == kra::MEDIA_INTERNAL)
        return QStringLiteral("Internal");
    if (keyword == kra::MEDIA_USB)
        return QStringLiteral("USB");
    if (keyword == kra::MEDIA_SDRAM)
        return QStringLiteral("SD");
    return QString();
}

QString RecorderModel::mediaKeyword(const QString &displayName)
{
    for (const std::string *keyword : {&kra::MEDIA_INTERNAL, &kra::MEDIA_USB, &kra::MEDIA_SDRAM}) {
        if (displayName == mediaDisplayName(*keyword))
            return QString::fromStdString(*keyword);
    }
    return QString();
}

QString RecorderModel::sanitizeName(const QString &name)
{
    QString out = name.left(maxNameLength);
    for (QChar &c : out) {
        const ushort u = c.unicode();
        const bool kept
            = u == '-' || u == '_' || (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
        if (!kept)
            c = QLatin1Char('_');
    }
    return out;
}

QString RecorderModel::sizeText(int megabytes)
{
    if (megabytes > 1024)
        return QString::number(megabytes / 1024) + QStringLiteral("GB");
    if (megabytes < 0)
        return QStringLiteral("n/a");
    return QString::number(megabytes) + QStringLiteral("MB");
}

QString RecorderModel::percentText(int percent)
{
    if (percent < 1)
        return QString();
    return QLatin1Char(' ') + QString::number(percent) + QLatin1Char('%');
}

bool RecorderModel::executeRecorderCommand(const std::string &command, const std::string &fileName)
{
    TComDevice *device = getDevice();
    if (command == CommandPlayStart) {
        const std::string path = device->getPlaybackFullpath(m_mediaDest, m_project, fileName);
        return !path.empty() && device->playbackStart(path, kra::FMT_WAV);
    }
    if (command == CommandRecordStart)
        return startRecording();
    bool (TComDevice::*transport)() = nullptr;
    if (command == CommandPlayStop)
        transport = &TComDevice::playbackStop;
    else if (command == CommandPlayPause)
        transport = &TComDevice::playbackPause;
    else if (command == CommandPlayUnpause)
        transport = &TComDevice::playbackUnpause;
    else if (command == CommandRecordStop)
        transport = &TComDevice::recordStop;
    if (!transport)
        return false;
    // The page follows the user, not the device: a refusal here mostly means the recorder was already there.
    if (!(device->*transport)())
        qWarning("Recorder: the device refused \"%s\"", command.c_str());
    return true;
}

bool RecorderModel::startRecording()
{
    TComDevice *device = getDevice();
    int (TComDevice::*freeSpace)() = nullptr;
    if (m_mediaDest == kra::MEDIA_INTERNAL)
        freeSpace = &TComDevice::getFreespaceRecord;
    else if (m_mediaDest == kra::MEDIA_USB)
        freeSpace = &TComDevice::getFreespaceUsb;
    else if (m_mediaDest == kra::MEDIA_SDRAM)
        freeSpace = &TComDevice::getFreespaceSdcard;
    if (freeSpace && (device->*freeSpace)() <= 0)
        return false;
    std::string cause;
    if (!device->getRecordFolder(m_mediaDest, m_project, kra::TYPE_TEST, cause))
        return false;
    int index = device->getRecordIndex(m_mediaDest, m_project);
    if (index <= 0) {
        showLimitMessage(QCoreApplication::translate("RecorderModel",
            "Limit of 100 recorded files in the project is reached. Delete some of them to be able to create new "
            "ones."));
        return false;
    }
    if (index >= recordIndexLimit)
        index = firstRecordIndex;
    char indexText[33];
    std::snprintf(indexText, sizeof indexText, "%03d", index);
    const std::string path = device->getRecordFullpath(m_mediaDest, m_project, indexText, m_fileName, m_format);
    if (path.empty())
        return false;
    routeSource();
    return device->recordStart(path, m_mediaSrc, m_format);
}

void RecorderModel::routeSource()
{
    for (const int ou : {RecordLeft, RecordRight}) {
        for (const int in : {Stream1Left, Stream1OtherLeft, Stream2Left, Stream2OtherLeft, VoiceMain})
            setNode(in, ou, false);
    }
    for (const int in : {Stream1Right, Stream1OtherRight, Stream2Right, Stream2OtherRight, VoiceOther})
        setNode(in, RecordRight, false);

    const TComDevice *device = getDevice();
    if (m_mediaSrc == kra::SRC_STREAM1 || m_mediaSrc == kra::SRC_STREAM2) {
        const int line = m_mediaSrc == kra::SRC_STREAM1 ? 1 : 2;
        const StreamInputs &inputs = line == 1 ? stream1Inputs : stream2Inputs;
        const bool mono = device->lineCodec(line).channelMode == 0;
        const bool live = device->audioConnection(line) != nullptr;
        setNode(inputs.left, RecordLeft, true);
        if (mono) {
            // Without a call the other signal carries nothing: the stream goes to both channels.
            setNode(live ? inputs.otherLeft : inputs.left, RecordRight, true);
        } else {
            setNode(inputs.otherLeft, RecordLeft, true);
            setNode(inputs.right, RecordRight, true);
            setNode(inputs.otherRight, RecordRight, true);
        }
    } else if (m_mediaSrc == kra::SRC_VOICECALL) {
        const bool live = device->audioConnection(3) != nullptr;
        setNode(VoiceMain, RecordLeft, true);
        setNode(live ? VoiceOther : VoiceMain, RecordRight, true);
    }
}

bool RecorderModel::createProject()
{
    std::string cause;
    const bool created = getDevice()->getRecordFolder(m_mediaDest, m_project, kra::TYPE_CREATE, cause);
    if (!created && cause == kra::ERR_RESOURCE_UNAVAILABLE) {
        showLimitMessage(QCoreApplication::translate("RecorderModel",
            "Limit of 50 recorded projects is reached. Delete some of them to be able to create new ones."));
    }
    return created;
}

int RecorderModel::emptyProject()
{
    return getDevice()->emptyRecordDir(m_mediaDest, m_project);
}

int RecorderModel::deleteProject()
{
    return getDevice()->deleteRecordDir(m_mediaDest, m_project);
}

int RecorderModel::deleteRecordFile(const std::string &name)
{
    return getDevice()->deleteRecordFile(m_mediaDest, m_project, name);
}

bool RecorderModel::savePlaylist(const QStringList &names)
{
    QString text;
    for (const QString &name : names)
        text += name + QLatin1Char('\n');
    return getDevice()->savePlaylist(m_mediaDest, m_project, text.toStdString());
}

bool RecorderModel::buildProjectWav(const std::string &name)
{
    return getDevice()->projectBuildWav(m_mediaDest, m_project, name);
}

std::string RecorderModel::projectElementList()
{
    return getDevice()->getProjectList(m_mediaDest, m_project);
}

std::uint64_t RecorderModel::setMark()
{
    return getDevice()->setMark();
}

bool RecorderModel::removeSeparator(const std::string &uri, int index)
{
    return getDevice()->projectRemoveSeparator(m_mediaDest, m_project, uri, index);
}

bool RecorderModel::removeMark(const std::string &uri, int index)
{
    return getDevice()->projectRemoveMark(m_mediaDest, m_project, uri, index);
}

bool RecorderModel::deleteTrack(const std::string &name, std::uint64_t start, std::uint64_t end, int index,
    std::uint64_t startH, std::uint64_t endH, std::uint64_t endMark)
{
    return getDevice()->projectDeleteTrack(m_mediaDest, m_project, name, index, start, end, startH, endH, endMark);
}

bool RecorderModel::playEditorFile(const std::string &name, const std::string &spare, const std::string &mode,
    const std::string &channel, const std::string &startMark, const std::string &endMark)
{
    Q_UNUSED(spare)
    TComDevice *device = getDevice();
    const std::string path = device->getPlaybackFullpath(m_mediaDest, m_project, name);
    return device->playbackStartEditor(path, mode, channel, startMark, endMark);
}

std::vector<std::string> RecorderModel::fetchList(
    const std::string &name, const std::string *project, const std::string &media)
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    if (project)
        request.setParam(kra::CMD_RECORD_PROJECT, *project);
    request.setParam(kra::CMD_RECORD_MOUNT_POINT, media);
    request.addList(name);
    std::vector<std::string> items;
    // Partial replies are gathered, and a refusal after some of them keeps what came.
    TComRpcAccess rpc(getCom());
    if (!rpc.getList(request, items, listTimeoutMs))
        qWarning("Recorder: the list \"%s\" came incomplete (%d items)", name.c_str(), int(items.size()));
    return items;
}

std::vector<std::string> RecorderModel::recordsPlayList()
{
    return fetchList(kra::LIST_RECORDS_PLIST, &m_project, m_mediaDest);
}

std::vector<std::string> RecorderModel::recordsList()
{
    return fetchList(kra::LIST_RECORDS_LIST, &m_project, m_mediaDest);
}

std::vector<std::string> RecorderModel::projectList(const std::string &media)
{
    return fetchList(kra::LIST_PROJECT_LIST, nullptr, media);
}

bool RecorderModel::loadEditorMode()
{
    m_editorMode = kra::VAL_OFF;
    std::map<std::string, std::string> values;
    if (getCom()->getParams({kra::KEY_IS_EDITOR_MODE}, values, storeTimeoutMs) < 0)
        return false;
    if (const std::string *value = storedValue(values, kra::KEY_IS_EDITOR_MODE))
        m_editorMode = *value;
    if (m_editorMode == kra::VAL_OFF)
        return false;
    m_editorMode = kra::VAL_ON;
    return true;
}

bool RecorderModel::saveEditorMode(const std::string &value)
{
    return getCom()->setParams({{kra::KEY_IS_EDITOR_MODE, value}}, storeTimeoutMs) >= 0;
}

std::string RecorderModel::loadEditorNextWav(bool *ok)
{
    std::map<std::string, std::string> values;
    const bool answered = getCom()->getParams({kra::KEY_EDITOR_NEXT_WAV}, values, storeTimeoutMs) >= 0;
    if (ok)
        *ok = answered;
    const std::string *value = answered ? storedValue(values, kra::KEY_EDITOR_NEXT_WAV) : nullptr;
    return value ? *value : std::string();
}

bool RecorderModel::saveEditorNextWav(const std::string &value)
{
    return getCom()->setParams({{kra::KEY_EDITOR_NEXT_WAV, value}}, storeTimeoutMs) >= 0;
}

std::string RecorderModel::takeEditorNextWav()
{
    bool ok = false;
    const std::string value = loadEditorNextWav(&ok);
    // Only a value that came is consumed: an unanswered read must not wipe a hand-over still waiting.
    if (ok && !value.empty())
        saveEditorNextWav(std::string());
    return value;
}

namespace {

// The position of the second '_', or -1.
int secondUnderscore(const QString &text)
{
    const int first = text.indexOf(QLatin1Char('_'));
    return first < 0 ? -1 : text.indexOf(QLatin1Char('_'), first + 1);
}

} // namespace

QString RecorderModel::recordIndexFromPath(const QString &path)
{
    // Paths are "/mnt/<medium>/<project>/<file>": the file's name begins after the fourth '/'.
    int slash = -1;
    for (int n = 0; n < 4; ++n) {
        slash = path.indexOf(QLatin1Char('/'), slash + 1);
        if (slash < 0)
            break;
    }
    const QString name = slash < 0 ? path : path.mid(slash + 1);
    const int underscore = secondUnderscore(name);
    if (underscore < 0)
        return QString();
    return name.mid(underscore + 1, 3);
}

QString RecorderModel::userNameFromFileName(const QString &name)
{
    QString rest = name;
    const int underscore = secondUnderscore(name);
    if (underscore >= 0) {
        // The '_' and the four characters of the time that follow it.
        const int from = underscore + 5;
        if (from > name.size())
            return QString();
        rest = name.mid(from);
    }
    for (int i = 0; i + 3 < rest.size(); ++i) {
        if (rest[i] == QLatin1Char('.') && (rest[i + 1] == QLatin1Char('W') || rest[i + 1] == QLatin1Char('w'))
            && rest[i + 2] == QLatin1Char('a') && rest[i + 3] == QLatin1Char('v'))
            return rest.left(i);
    }
    return QString();
}

void RecorderModel::showLimitMessage(const QString &text)
{
    if (!g_screenWindow) {
        qWarning() << "Recorder:" << text;
        return;
    }
    showScreenMessage(text, 0);
}
