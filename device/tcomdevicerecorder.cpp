// The device's recorder, project and file commands, the free-space queries and the time-zone city list. Each
// is one request; the model keeps nothing of it.

#include "device/tcomdevice.h"

#include "rpc/ccom.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"

#include <climits>

namespace {

constexpr int requestTimeoutMs = 5000;
// Building a project's wave file and a recording's waveform data takes the device a while.
constexpr int longRequestTimeoutMs = 120000;

using Values = std::map<std::string, std::string>;

const std::string *valueOf(const Values &values, const std::string &key)
{
    const auto it = values.find(key);
    return it == values.end() ? nullptr : &it->second;
}

size_t skipBlanks(const std::string &text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    return i;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A decimal as the device writes it: blanks, a sign, digits up to the first other character. False for no
// digits or a number outside int.
bool readInt(const std::string *text, int &out)
{
    if (!text)
        return false;
    size_t i = skipBlanks(*text);
    bool negative = false;
    if (i < text->size() && ((*text)[i] == '+' || (*text)[i] == '-'))
        negative = (*text)[i++] == '-';
    const size_t first = i;
    long long value = 0;
    for (; i < text->size() && isDigit((*text)[i]); ++i) {
        value = value * 10 + ((*text)[i] - '0');
        if (value > -static_cast<long long>(INT_MIN))
            return false;
    }
    if (i == first)
        return false;
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return false;
    out = int(value);
    return true;
}

// The same for an unsigned 64-bit number; a minus sign is no such number.
bool readUnsigned64(const std::string *text, std::uint64_t &out)
{
    if (!text)
        return false;
    size_t i = skipBlanks(*text);
    if (i < text->size() && (*text)[i] == '+')
        ++i;
    const size_t first = i;
    std::uint64_t value = 0;
    for (; i < text->size() && isDigit((*text)[i]); ++i) {
        const unsigned digit = unsigned((*text)[i] - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    if (i == first)
        return false;
    out = value;
    return true;
}

int intOr(const std::string *text, int failure)
{
    int value = failure;
    return readInt(text, value) ? value : failure;
}

kra::CMsg fileRequest(const std::string &action, const std::string &mountPoint, const std::string &project)
{
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_ACTION, action);
    request.setParam(kra::CMD_RECORD_MOUNT_POINT, mountPoint);
    request.setParam(kra::CMD_RECORD_PROJECT, project);
    return request;
}

kra::CMsg fileRequest(
    const std::string &action, const std::string &mountPoint, const std::string &project, const std::string &uri)
{
    kra::CMsg request = fileRequest(action, mountPoint, project);
    request.setParam(kra::ACT_GENERIC_URI, uri);
    return request;
}

// The text after the last '/' or '\'; a separator only at the start keeps the whole text.
void reduceToLastComponent(std::string &path)
{
    const size_t last = path.find_last_of("/\\");
    if (last != std::string::npos && last > 0)
        path.erase(0, last + 1);
}

std::string textOr(const Values &values, const std::string &key)
{
    const std::string *value = valueOf(values, key);
    return value ? *value : std::string();
}

} // namespace

bool TComDevice::fileCall(const kra::CMsg &request, Values &values, int timeoutMs, std::string *error)
{
    TComRpcAccess rpc(m_rpc.com());
    if (rpc.call(request, values, timeoutMs))
        return true;
    if (error && !rpc.lastError().empty())
        *error = rpc.lastError();
    return false;
}

int TComDevice::deleteRecordDir(const std::string &mountPoint, const std::string &project)
{
    Values values;
    return fileCall(fileRequest(kra::CMD_DELETE_RECORD_DIR, mountPoint, project), values)
            && valueOf(values, kra::CMD_DELETE_RECORD_DIR)
        ? 1
        : -1;
}

int TComDevice::emptyRecordDir(const std::string &mountPoint, const std::string &project)
{
    Values values;
    return fileCall(fileRequest(kra::CMD_EMPTY_RECORD_DIR, mountPoint, project), values)
            && valueOf(values, kra::CMD_EMPTY_RECORD_DIR)
        ? 1
        : -1;
}

std::uint64_t TComDevice::setMark()
{
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_ACTION, kra::CMD_SET_MARK);
    Values values;
    std::uint64_t position = 0;
    if (!fileCall(request, values) || !readUnsigned64(valueOf(values, kra::KEY_POSITION), position))
        return 0;
    return position;
}

int TComDevice::getRecordIndex(const std::string &mountPoint, const std::string &project)
{
    Values values;
    if (!fileCall(fileRequest(kra::CMD_GET_RECORD_INDEX, mountPoint, project), values))
        return 0;
    return intOr(valueOf(values, kra::CMD_GET_RECORD_INDEX), 0);
}

int TComDevice::getProjectSize(const std::string &mountPoint, const std::string &project)
{
    Values values;
    if (!fileCall(fileRequest(kra::CMD_GET_PROJECT_SIZE, mountPoint, project), values))
        return -1;
    return intOr(valueOf(values, kra::CMD_GET_PROJECT_SIZE), -1);
}

bool TComDevice::sendRecord(
    const std::string &mountPoint, const std::string &project, const std::string &userFileName, std::string &error)
{
    kra::CMsg request = fileRequest(kra::CMD_SEND, mountPoint, project);
    request.setParam(kra::CMD_RECORD_USER_FNAME, userFileName);
    request.setParam(kra::KEY_TYPE, kra::TYPE_RECORD);
    Values values;
    return fileCall(request, values, requestTimeoutMs, &error);
}

bool TComDevice::getRecordFolder(
    const std::string &mountPoint, const std::string &project, const std::string &type, std::string &error)
{
    kra::CMsg request = fileRequest(kra::CMD_GET_RECORD_FOLDER, mountPoint, project);
    request.setParam(kra::KEY_TYPE, type);
    Values values;
    return fileCall(request, values, requestTimeoutMs, &error);
}

bool TComDevice::projectBuildWav(const std::string &mountPoint, const std::string &project, const std::string &uri)
{
    Values values;
    return fileCall(fileRequest(kra::CMD_PROJECT_BUILD_WAV, mountPoint, project, uri), values, longRequestTimeoutMs);
}

bool TComDevice::savePlaylist(const std::string &mountPoint, const std::string &project, const std::string &uri)
{
    Values values;
    return fileCall(fileRequest(kra::CMD_SAVE_PLAYLIST, mountPoint, project, uri), values)
        && valueOf(values, kra::CMD_SAVE_PLAYLIST);
}

int TComDevice::deleteRecordFile(const std::string &mountPoint, const std::string &project, const std::string &uri)
{
    Values values;
    if (!fileCall(fileRequest(kra::CMD_DELETE_RECORD_FILE, mountPoint, project, uri), values))
        return -1;
    return intOr(valueOf(values, kra::CMD_DELETE_RECORD_FILE), -1);
}

int TComDevice::getFileSize(const std::string &mountPoint, const std::string &project, const std::string &uri)
{
    Values values;
    if (!fileCall(fileRequest(kra::CMD_GET_FILE_SIZE, mountPoint, project, uri), values))
        return -1;
    return intOr(valueOf(values, kra::CMD_GET_FILE_SIZE), -1);
}

bool TComDevice::openRecord(const std::string &mountPoint, const std::string &project, const std::string &userFileName)
{
    kra::CMsg request = fileRequest(kra::CMD_OPEN, mountPoint, project);
    request.setParam(kra::KEY_TYPE, kra::TYPE_DAT);
    request.setParam(kra::CMD_RECORD_USER_FNAME, userFileName);
    Values values;
    return fileCall(request, values) && textOr(values, kra::KEY_STATE) == kra::VAL_PROCESSED;
}

bool TComDevice::projectSetSource(
    const std::string &mountPoint, const std::string &project, const std::string &uri, const ProjectSource &source)
{
    kra::CMsg request = fileRequest(kra::CMD_PROJECT_SET_SOURCE, mountPoint, project, uri);
    request.setParam(kra::CMD_PROJECT_ELEMENT, source.valid ? source.uri : std::string());
    request.setParam(kra::CMD_PROJECT_CHANNEL, source.valid ? source.channel : std::string());
    request.setParam(kra::CMD_PROJECT_WAVMAP, source.valid ? source.waveMap : std::string());
    Values values;
    return fileCall(request, values);
}

bool TComDevice::projectGetSource(
    const std::string &mountPoint, const std::string &project, const std::string &uri, ProjectSource &source)
{
    Values values;
    if (!fileCall(fileRequest(kra::CMD_PROJECT_GET_SOURCE, mountPoint, project, uri), values))
        return false;
    source.valid = true;
    bool complete = true;
    const std::pair<const std::string *, std::string *> fields[] = {{&kra::ACT_GENERIC_URI, &source.uri},
        {&kra::CMD_PROJECT_WAVMAP, &source.waveMap}, {&kra::CMD_PROJECT_CHANNEL, &source.channel}};
    for (const auto &[key, field] : fields) {
        const std::string *value = valueOf(values, *key);
        if (value)
            *field = *value;
        complete = complete && value && !value->empty();
    }
    return complete;
}

bool TComDevice::projectAddElement(const std::string &mountPoint, const std::string &project, const std::string &uri,
    ProjectElement &element, const std::string &elementWord)
{
    // The device finds the element's files in the project by name.
    reduceToLastComponent(element.source);
    reduceToLastComponent(element.waveMap);
    kra::CMsg request = fileRequest(kra::CMD_PROJECT_ACTION_ADD, mountPoint, project, uri);
    request.setParam(kra::CMD_PROJECT_ELEMENT, elementWord);
    request.setParam(kra::ACT_RECORD_SOURCE, element.source);
    request.setParam(kra::CMD_PROJECT_WAVMAP, element.waveMap);
    request.setParam(kra::CMD_PROJECT_CHANNEL, element.channel);
    request.setParam(kra::CMD_PROJECT_VALUE_START, element.startValue);
    request.setParam(kra::CMD_PROJECT_VALUE_END, element.endValue);
    request.setParam(kra::CMD_PROJECT_VALUE_HSTART, element.startValueH);
    request.setParam(kra::CMD_PROJECT_VALUE_HEND, element.endValueH);
    Values values;
    return fileCall(request, values);
}

bool TComDevice::projectRemoveElement(const std::string &mountPoint, const std::string &project, const std::string &uri,
    int index, const std::string &elementWord)
{
    kra::CMsg request = fileRequest(kra::CMD_PROJECT_ACTION_REMOVE, mountPoint, project, uri);
    request.setParam(kra::CMD_PROJECT_ELEMENT, elementWord);
    request.setParam(kra::CMD_RECORD_INDEX, longToString(index));
    Values values;
    return fileCall(request, values);
}

bool TComDevice::projectDeleteTrack(const std::string &mountPoint, const std::string &project, const std::string &uri,
    int index, std::uint64_t start, std::uint64_t end, std::uint64_t startH, std::uint64_t endH, std::uint64_t endMark)
{
    kra::CMsg request = fileRequest(kra::CMD_PROJECT_DELETE_TRACK, mountPoint, project, uri);
    request.setParam(kra::CMD_PROJECT_VALUE_START, std::to_string(start));
    request.setParam(kra::CMD_PROJECT_VALUE_END, std::to_string(end));
    request.setParam(kra::CMD_RECORD_INDEX, longToString(index));
    request.setParam(kra::CMD_PROJECT_VALUE_HSTART, std::to_string(startH));
    request.setParam(kra::CMD_PROJECT_VALUE_HEND, std::to_string(endH));
    request.setParam(kra::CMD_END_MARK, std::to_string(endMark));
    Values values;
    return fileCall(request, values);
}

std::string TComDevice::getProjectList(const std::string &mountPoint, const std::string &project)
{
    Values values;
    fileCall(fileRequest(kra::CMD_PROJECT_LIST, mountPoint, project), values);
    return textOr(values, kra::CMD_PROJECT_LIST);
}

std::string TComDevice::getRecordFullpath(const std::string &mountPoint, const std::string &project,
    const std::string &index, const std::string &userFileName, const std::string &extension)
{
    kra::CMsg request = fileRequest(kra::CMD_GET_RECORD_FULLPATH, mountPoint, project);
    request.setParam(kra::CMD_RECORD_INDEX, index);
    request.setParam(kra::CMD_RECORD_USER_FNAME, userFileName);
    request.setParam(kra::CMD_RECORD_EXTENTION, extension);
    Values values;
    fileCall(request, values);
    return textOr(values, kra::CMD_GET_RECORD_FULLPATH);
}

std::string TComDevice::getPlaybackFullpath(
    const std::string &mountPoint, const std::string &project, const std::string &uri)
{
    Values values;
    fileCall(fileRequest(kra::CMD_GET_PLAYBACK_FULLPATH, mountPoint, project, uri), values);
    return textOr(values, kra::CMD_GET_PLAYBACK_FULLPATH);
}

bool TComDevice::recordCopyTo(
    const std::string &mountPoint, const std::string &project, const std::string &uri, std::string *error)
{
    Values values;
    return fileCall(fileRequest(kra::CMD_RECORD_COPY_TO, mountPoint, project, uri), values, requestTimeoutMs, error)
        && textOr(values, kra::CMD_RECORD_COPY_TO) == kra::RET_OK;
}

bool TComDevice::recordFileCopyTo(const std::string &mountPoint, const std::string &project,
    const std::string &userFileName, const std::string &uri, std::string *error)
{
    kra::CMsg request = fileRequest(kra::CMD_RECORD_FILE_COPY_TO, mountPoint, project, uri);
    request.setParam(kra::CMD_RECORD_USER_FNAME, userFileName);
    Values values;
    return fileCall(request, values, requestTimeoutMs, error)
        && textOr(values, kra::CMD_RECORD_FILE_COPY_TO) == kra::RET_OK;
}

bool TComDevice::recordCopyFrom(const std::string &mountPoint, const std::string &project, const std::string &uri)
{
    Values values;
    return fileCall(fileRequest(kra::CMD_RECORD_COPY_FROM, mountPoint, project, uri), values)
        && textOr(values, kra::CMD_RECORD_COPY_FROM) == kra::RET_OK;
}

std::string TComDevice::wavToData(
    const std::string &mountPoint, const std::string &project, const std::string &userFileName)
{
    kra::CMsg request = fileRequest(kra::CMD_WAV_TO_DATA, mountPoint, project);
    request.setParam(kra::CMD_RECORD_USER_FNAME, userFileName);
    request.setParam(kra::CMD_RECORD_EXTENTION, kra::EXT_WAV);
    Values values;
    if (!fileCall(request, values, longRequestTimeoutMs) || textOr(values, kra::CMD_WAV_TO_DATA) != kra::RET_OK)
        return std::string();
    return textOr(values, kra::CMD_PROJECT_WAVMAP);
}

std::string TComDevice::getProjectPath(const std::string &mountPoint, const std::string &project)
{
    Values values;
    fileCall(fileRequest(kra::CMD_GET_PROJECT_PATH, mountPoint, project), values);
    return textOr(values, kra::CMD_GET_PROJECT_PATH);
}

int TComDevice::getFreespace(const std::string &command, int defaultValue)
{
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_ACTION, command);
    Values values;
    if (!fileCall(request, values))
        return defaultValue;
    return intOr(valueOf(values, command), defaultValue);
}

std::string TComDevice::getTimezoneCityList(const std::string &region)
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    request.setParam(kra::CMD_TIMEZONE_PARAM, region);
    request.addList(kra::LIST_TIMEZONE_CITY);
    std::vector<std::string> items;
    // What came before a failure still makes the list.
    m_rpc.getList(request, items, requestTimeoutMs);
    std::string cities;
    for (const std::string &item : items)
        cities += item + ',';
    if (!cities.empty())
        cities.pop_back();
    return cities;
}

bool TComDevice::getProjectElements(const std::string &mountPoint, const std::string &project, const std::string &uri,
    QStringList &items, const std::string &elementWord)
{
    items.clear();
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    request.setParam(kra::CMD_RECORD_MOUNT_POINT, mountPoint);
    request.setParam(kra::CMD_RECORD_PROJECT, project);
    request.setParam(kra::CMD_PROJECT_ELEMENT, elementWord);
    request.setParam(kra::ACT_GENERIC_URI, uri);
    // A LIST name, so that the device's partial replies are gathered into one list.
    request.addList(kra::LIST_PROJET_ELEMENT);
    std::vector<std::string> gathered;
    TComRpcAccess rpc(m_rpc.com());
    if (!rpc.getList(request, gathered, requestTimeoutMs))
        return false;
    for (const std::string &item : gathered)
        items << QString::fromStdString(item);
    return true;
}

// Fixed-word wrappers

int TComDevice::getFreespaceRecord()
{
    return getFreespace(kra::CMD_GET_FREESPACE_RECORD, 0);
}

int TComDevice::getFreespaceUsb()
{
    return getFreespace(kra::CMD_GET_FREESPACE_USB, 0);
}

int TComDevice::getFreespaceSdcard()
{
    return getFreespace(kra::CMD_GET_FREESPACE_SDCARD, 0);
}

int TComDevice::getFreespacePRecord()
{
    return getFreespace(kra::CMD_GET_FREESPACE_P_RECORD, 0);
}

int TComDevice::getFreespacePUsb()
{
    return getFreespace(kra::CMD_GET_FREESPACE_P_USB, 0);
}

int TComDevice::getFreespacePSdcard()
{
    return getFreespace(kra::CMD_GET_FREESPACE_P_SDCARD, 0);
}

bool TComDevice::projectAddTrack(
    const std::string &mountPoint, const std::string &project, const std::string &uri, ProjectElement &element)
{
    return projectAddElement(mountPoint, project, uri, element, kra::CMD_PROJECT_ELEMENT_TRACKS);
}

bool TComDevice::projectAddSeparator(
    const std::string &mountPoint, const std::string &project, const std::string &uri, ProjectElement &element)
{
    return projectAddElement(mountPoint, project, uri, element, kra::CMD_PROJECT_SEPARATORS);
}

bool TComDevice::projectAddMark(
    const std::string &mountPoint, const std::string &project, const std::string &uri, ProjectElement &element)
{
    return projectAddElement(mountPoint, project, uri, element, kra::CMD_PROJECT_ELEMENT_MARKS);
}

bool TComDevice::projectRemoveTrack(
    const std::string &mountPoint, const std::string &project, const std::string &uri, int index)
{
    return projectRemoveElement(mountPoint, project, uri, index, kra::CMD_PROJECT_ELEMENT_TRACKS);
}

bool TComDevice::projectRemoveSeparator(
    const std::string &mountPoint, const std::string &project, const std::string &uri, int index)
{
    return projectRemoveElement(mountPoint, project, uri, index, kra::CMD_PROJECT_SEPARATORS);
}

bool TComDevice::projectRemoveMark(
    const std::string &mountPoint, const std::string &project, const std::string &uri, int index)
{
    return projectRemoveElement(mountPoint, project, uri, index, kra::CMD_PROJECT_ELEMENT_MARKS);
}

bool TComDevice::getProjectTracks(
    const std::string &mountPoint, const std::string &project, const std::string &uri, QStringList &items)
{
    return getProjectElements(mountPoint, project, uri, items, kra::CMD_PROJECT_ELEMENT_TRACKS);
}

bool TComDevice::getProjectSeparators(
    const std::string &mountPoint, const std::string &project, const std::string &uri, QStringList &items)
{
    return getProjectElements(mountPoint, project, uri, items, kra::CMD_PROJECT_SEPARATORS);
}

bool TComDevice::getProjectMarks(
    const std::string &mountPoint, const std::string &project, const std::string &uri, QStringList &items)
{
    return getProjectElements(mountPoint, project, uri, items, kra::CMD_PROJECT_ELEMENT_MARKS);
}
