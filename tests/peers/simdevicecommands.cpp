// What the simulated device does on the commands of calls, links, the recorder, projects and files, as the codec
// answers them: each checks the keys it needs ("104-mandatory parameter missing"), the state it needs and the
// files it works on, and answers with the values under the words the codec uses.
//
// Media: a project is the store "media:<mount point>:<project>", holding one key per file with its size in bytes
// ("media:usb:show take1.wav=2500000" in a set-up); sizes are answered in whole MB (1 below one MB). A project
// source is the store "source:<mount point>:<project>:<uri>", the elements of a project file the lists of
// "project:<mount point>:<project>:<uri>" named by their element word. The free space of each medium is the store
// "media", keyed by the command word. A project's "records_list" (lines "file|index|name|format|hh:mm:ss|date|time|
// channels") and "records_plist" are lists of its store ("media:usb:show records_list=[...]"); deleting a file
// takes it out of both, saving a play list replaces "records_plist", emptying or deleting the project drops both.
// Recorder: "audio" "recorder_state"
// ("stopped" when not set) and "position". The drive operations act on the media and their projects. Calls: the store
// "calls", call id -> network; a data link is the "id" of its interface's store.

#include "tests/peers/simdevice.h"

#include "rpc/rpcvocabulary.h"
#include "tests/peers/wavebitmapwriter.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <initializer_list>

namespace {

void refuse(kra::CMsg &reply, const std::string &cause)
{
    reply.setParam(kra::KEY_RETURN, kra::RET_ERROR, kra::CMsg::Overwrite);
    reply.setParam(kra::KEY_CAUSE, cause, kra::CMsg::Overwrite);
}

const std::string &valueOf(const kra::CMsg &request, const std::string &key)
{
    return *request.param(key, true);
}

// False, with the refusal, when one of the keys is missing or empty.
bool needs(const kra::CMsg &request, kra::CMsg &reply, std::initializer_list<const std::string *> keys)
{
    for (const std::string *key : keys) {
        if (valueOf(request, *key).empty()) {
            refuse(reply, kra::ERR_MANDATORY_PARAMETER_MISSING);
            return false;
        }
    }
    return true;
}

long long toNumber(const std::string &text)
{
    bool ok = false;
    const long long n = QByteArray::fromStdString(text).toLongLong(&ok);
    return ok ? n : 0;
}

// A number field of an element row; 0 when absent.
long long rowField(const std::string &row, int field)
{
    const QList<QByteArray> parts = QByteArray::fromStdString(row).split('|');
    return field < parts.size() ? parts[field].toLongLong() : 0;
}

std::string megabytes(long long bytes)
{
    constexpr long long mb = 1024 * 1024;
    return std::to_string(bytes == 0 ? 0 : bytes < mb ? 1 : bytes / mb);
}

const std::string mediaStore = "media";
const std::string callStore = "calls";

} // namespace

bool SimDevice::writeWaveMap(const kra::CMsg &request, const std::string &wavFile, const std::string &devicePath)
{
    const std::string store
        = "wave:" + valueOf(request, kra::CMD_RECORD_MOUNT_POINT) + ":" + valueOf(request, kra::CMD_RECORD_PROJECT);
    const QList<QByteArray> shape
        = QByteArray::fromStdString(hasParam(store, wavFile) ? param(store, wavFile) : "10000/2/6").split('/');
    WaveBitmapContent content;
    content.durationMs = shape.value(0).toLongLong();
    content.channels = shape.value(1).toInt();
    content.lastSegment = shape.value(2).toInt();
    const QString path = m_waveMapFolder + QString::fromStdString(devicePath);
    return QDir().mkpath(QFileInfo(path).path()) && writeWaveBitmap(path, content);
}

void SimDevice::learnCommands()
{
    using Request = const kra::CMsg &;
    using Reply = kra::CMsg &;

    // Calls and data links.
    setAction(kra::CMD_CON, [this](Request r, Reply reply) {
        if (!needs(r, reply, {&kra::KEY_COMM_LINK, &kra::KEY_NETWORK}))
            return;
        const std::string &network = valueOf(r, kra::KEY_NETWORK);
        const auto &networks = m_lists[kra::TGT_NETWORK][kra::KEY_NETWORK];
        if (std::find(networks.begin(), networks.end(), network) == networks.end())
            return refuse(reply, kra::ERR_NETWORK_UNREACHABLE);
        const bool data = valueOf(r, kra::KEY_COMM_LINK) == kra::LINK_DATA;
        const std::string store = kra::TGT_NETWORK + ":" + network;
        if (data) {
            const bool wifi = network.compare(0, kra::TGT_WIFI.size(), kra::TGT_WIFI) == 0;
            if (network.compare(0, kra::TGT_MOBILE.size(), kra::TGT_MOBILE) != 0 && !wifi)
                return refuse(reply, kra::ERR_NOT_SUPPORTED);
            if (valueOf(r, kra::KEY_MODE) != (wifi ? kra::LINK_WIFI : kra::LINK_DATA))
                return refuse(reply, kra::ERR_INVALID_VALUE);
            if (hasParam(store, kra::KEY_ID))
                return refuse(reply, kra::ERR_CONNECTION_ACTIVE);
        } else if (valueOf(r, kra::KEY_REMOTE_ADDR).empty()) {
            return refuse(reply, kra::ERR_REMOTE_ADDRESS_MISSING);
        }
        const std::string id = std::to_string(m_nextId++);
        if (data)
            setParam(store, kra::KEY_ID, id);
        else
            setParam(callStore, id, network);
        reply.setParam(kra::KEY_ID, id);
    });
    setAction(kra::CMD_CONACC, [this](Request r, Reply reply) {
        if (!needs(r, reply, {&kra::KEY_ID, &kra::KEY_NETWORK}))
            return;
        setParam(callStore, valueOf(r, kra::KEY_ID), valueOf(r, kra::KEY_NETWORK));
        reply.setParam(kra::KEY_ID, valueOf(r, kra::KEY_ID));
    });
    setAction(kra::CMD_DCON, [this](Request r, Reply reply) {
        if (!needs(r, reply, {&kra::KEY_ID, &kra::KEY_NETWORK}))
            return;
        const std::string &id = valueOf(r, kra::KEY_ID);
        const std::string link = kra::TGT_NETWORK + ":" + valueOf(r, kra::KEY_NETWORK);
        if (hasParam(callStore, id))
            unsetParam(callStore, id);
        else if (hasParam(link, kra::KEY_ID) && param(link, kra::KEY_ID) == id)
            unsetParam(link, kra::KEY_ID);
        else
            refuse(reply, kra::ERR_INVALID_ID);
    });
    // Information for the far end of a running call.
    setAction(kra::CMD_SEND_USER_INFO, [this](Request r, Reply reply) {
        if (needs(r, reply, {&kra::KEY_ID, &kra::KEY_INFO}) && !hasParam(callStore, valueOf(r, kra::KEY_ID)))
            refuse(reply, kra::ERR_INVALID_ID);
    });

    // The clock's zone, kept where a test reads it back.
    setAction(kra::ACT_SET_TIMEZONE, [this](Request r, Reply reply) {
        if (needs(r, reply, {&kra::CMD_TIMEZONE_PARAM}))
            setParam(kra::TGT_GENERAL, "timezone", valueOf(r, kra::CMD_TIMEZONE_PARAM));
    });

    // The event log's level and syslog server, changed by action and kept where a read finds them.
    setAction("change_syslog", [this](Request r, Reply reply) {
        bool changed = false;
        for (const char *key : {"log_level", "log_addr"}) {
            if (const std::string *value = r.param(key)) {
                setParam(kra::TGT_GENERAL, key, *value);
                changed = true;
            }
        }
        if (!changed)
            refuse(reply, kra::ERR_MANDATORY_PARAMETER_MISSING);
    });
    // A reset of one category of what the unit stores; the settings resets put the event log back to its defaults.
    setAction(kra::CMD_RESET, [this](Request r, Reply reply) {
        static const std::vector<std::string> levels = {"addrhistory", "remote_profile", "local_profile", "sip_profile",
            "snapshot", "settings", "full", "sipaccount"};
        if (!needs(r, reply, {&kra::KEY_LEVEL}))
            return;
        const std::string &level = valueOf(r, kra::KEY_LEVEL);
        if (std::find(levels.begin(), levels.end(), level) == levels.end()) {
            refuse(reply, kra::ERR_INVALID_VALUE);
        } else if (level == "settings" || level == "full") {
            setParam(kra::TGT_GENERAL, "log_level", "5");
            setParam(kra::TGT_GENERAL, "log_addr", "");
        }
    });

    // The unit answers, then goes down and takes the link with it.
    const Action goDown = [this](Request, Reply) { QTimer::singleShot(0, this, [this] { dropConnections(); }); };
    setAction(kra::CMD_REBOOT, goDown);
    setAction(kra::CMD_SHUTDOWN, goDown);

    // Recorder transport: "stopped" -> "rec" or "play" <-> "play_paused".
    const auto recorder = [this]() -> std::string {
        const std::string state = param(kra::TGT_AUDIO, kra::KEY_RECORDER_STATE);
        return state.empty() ? kra::RECORDER_STOPPED : state;
    };
    const auto transport = [this, recorder](const std::vector<std::string> &from, const std::string &to,
                               const std::string &refusal, std::initializer_list<const std::string *> keys) {
        return [this, recorder, from, to, refusal, required = std::vector<const std::string *>(keys)](
                   Request r, Reply reply) {
            for (const std::string *key : required) {
                if (valueOf(r, *key).empty())
                    return refuse(reply, kra::ERR_MANDATORY_PARAMETER_MISSING);
            }
            if (std::find(from.begin(), from.end(), recorder()) == from.end())
                return refuse(reply, refusal);
            setParam(kra::TGT_AUDIO, kra::KEY_RECORDER_STATE, to);
        };
    };
    setAction(kra::ACT_RECORD_START,
        transport({kra::RECORDER_STOPPED}, kra::RECORDER_REC, kra::ERR_RESOURCE_BUSY,
            {&kra::ACT_GENERIC_URI, &kra::ACT_RECORD_FORMAT, &kra::ACT_RECORD_SOURCE}));
    setAction(kra::ACT_RECORD_STOP, transport({kra::RECORDER_REC}, kra::RECORDER_STOPPED, kra::ERR_INVALID_STATE, {}));
    setAction(kra::ACT_PLAYBACK_START,
        transport({kra::RECORDER_STOPPED}, kra::RECORDER_PLAY, kra::ERR_RESOURCE_BUSY, {&kra::ACT_GENERIC_URI}));
    setAction(kra::ACT_PLAYBACK_PAUSE,
        transport({kra::RECORDER_PLAY}, kra::RECORDER_PLAY_PAUSED, kra::ERR_INVALID_STATE, {}));
    setAction(kra::ACT_PLAYBACK_UNPAUSE,
        transport({kra::RECORDER_PLAY_PAUSED}, kra::RECORDER_PLAY, kra::ERR_INVALID_STATE, {}));
    setAction(kra::ACT_PLAYBACK_STOP,
        transport({kra::RECORDER_PLAY, kra::RECORDER_PLAY_PAUSED}, kra::RECORDER_STOPPED, kra::ERR_INVALID_STATE, {}));
    setAction(kra::CMD_SET_MARK, [this, recorder](Request, Reply reply) {
        if (recorder() == kra::RECORDER_STOPPED)
            return refuse(reply, kra::ERR_INVALID_STATE);
        const std::string position = param(kra::TGT_AUDIO, kra::KEY_POSITION);
        reply.setParam(kra::KEY_POSITION, position.empty() ? "0" : position);
    });

    // Projects and files. A command on a project that does not exist, or a file that is not in it, is refused
    // with "112-file not found".
    const auto projectOf = [](Request r) {
        return "media:" + valueOf(r, kra::CMD_RECORD_MOUNT_POINT) + ":" + valueOf(r, kra::CMD_RECORD_PROJECT);
    };
    const auto pathOf = [](Request r) {
        return "/mnt/" + valueOf(r, kra::CMD_RECORD_MOUNT_POINT) + "/" + valueOf(r, kra::CMD_RECORD_PROJECT);
    };
    const auto sourceOf = [](Request r) {
        return "source:" + valueOf(r, kra::CMD_RECORD_MOUNT_POINT) + ":" + valueOf(r, kra::CMD_RECORD_PROJECT) + ":"
            + valueOf(r, kra::ACT_GENERIC_URI);
    };
    const auto elementsOf = [](Request r) {
        return "project:" + valueOf(r, kra::CMD_RECORD_MOUNT_POINT) + ":" + valueOf(r, kra::CMD_RECORD_PROJECT) + ":"
            + valueOf(r, kra::ACT_GENERIC_URI);
    };
    using Handler = std::function<void(Request, Reply, std::map<std::string, std::string> & files)>;
    // Runs the handler on the project's files once the keys are there and the project exists; fileKey names the
    // key whose file must exist, if any.
    const auto onProject = [this, projectOf](const std::string *fileKey, Handler handler) {
        return [this, projectOf, fileKey, handler](Request r, Reply reply) {
            if (!needs(r, reply, {&kra::CMD_RECORD_MOUNT_POINT, &kra::CMD_RECORD_PROJECT}))
                return;
            if (fileKey && !needs(r, reply, {fileKey}))
                return;
            const auto project = m_stores.find(projectOf(r));
            if (project == m_stores.end() || (fileKey && !project->second.count(valueOf(r, *fileKey))))
                return refuse(reply, kra::ERR_FILE_NOT_FOUND);
            handler(r, reply, project->second);
        };
    };
    const auto answerWord
        = [](Reply reply, const std::string &word, const std::string &value) { reply.setParam(word, value); };

    // The device's list of projects, where a set-up gave one, follows creation and deletion.
    const auto projectList = [this]() -> std::vector<std::string> * {
        const auto general = m_lists.find(kra::TGT_GENERAL);
        if (general == m_lists.end())
            return nullptr;
        const auto list = general->second.find(kra::LIST_PROJECT_LIST);
        return list == general->second.end() ? nullptr : &list->second;
    };
    const auto addProject = [this, projectOf, projectList](Request r) {
        m_stores[projectOf(r)];
        std::vector<std::string> *projects = projectList();
        const std::string &name = valueOf(r, kra::CMD_RECORD_PROJECT);
        if (projects && std::find(projects->begin(), projects->end(), name) == projects->end())
            projects->push_back(name);
    };
    // A project file named in "generic_uri" is made or emptied (elements and source) in its project, which is made
    // when missing; without a file an existing project is refused.
    setAction(kra::CMD_PROJECT_NEW, [this, projectOf, elementsOf, sourceOf](Request r, Reply reply) {
        if (!needs(r, reply, {&kra::CMD_RECORD_MOUNT_POINT, &kra::CMD_RECORD_PROJECT}))
            return;
        const std::string &file = valueOf(r, kra::ACT_GENERIC_URI);
        if (m_stores.count(projectOf(r)) && file.empty())
            return refuse(reply, kra::ERR_FILENAME_ALREADY_EXISTS);
        auto &files = m_stores[projectOf(r)];
        if (file.empty())
            return;
        files[file] = "0";
        m_lists.erase(elementsOf(r));
        m_stores.erase(sourceOf(r));
    });
    setAction(kra::CMD_GET_RECORD_FOLDER, [this, projectOf, addProject](Request r, Reply reply) {
        if (!needs(r, reply, {&kra::CMD_RECORD_MOUNT_POINT, &kra::CMD_RECORD_PROJECT, &kra::KEY_TYPE}))
            return;
        const bool exists = m_stores.count(projectOf(r)) > 0;
        const std::string &type = valueOf(r, kra::KEY_TYPE);
        if (type == kra::TYPE_CREATE && !exists)
            addProject(r);
        else if (type == kra::TYPE_CREATE)
            refuse(reply, kra::ERR_FILENAME_ALREADY_EXISTS);
        else if (type != kra::TYPE_TEST)
            refuse(reply, kra::ERR_INVALID_VALUE);
        else if (!exists)
            refuse(reply, kra::ERR_FILE_NOT_FOUND);
    });
    setAction(kra::CMD_DELETE_RECORD_DIR, [this, projectOf, projectList](Request r, Reply reply) {
        if (!needs(r, reply, {&kra::CMD_RECORD_MOUNT_POINT, &kra::CMD_RECORD_PROJECT}))
            return;
        if (!m_stores.erase(projectOf(r)))
            return refuse(reply, kra::ERR_FILE_NOT_FOUND);
        m_lists.erase(projectOf(r));
        if (std::vector<std::string> *projects = projectList()) {
            projects->erase(
                std::remove(projects->begin(), projects->end(), valueOf(r, kra::CMD_RECORD_PROJECT)), projects->end());
        }
        reply.setParam(kra::CMD_DELETE_RECORD_DIR, valueOf(r, kra::CMD_RECORD_PROJECT));
    });
    setAction(kra::CMD_EMPTY_RECORD_DIR, onProject(nullptr, [this, projectOf](Request r, Reply reply, auto &files) {
        files.clear();
        m_lists.erase(projectOf(r));
        reply.setParam(kra::CMD_EMPTY_RECORD_DIR, valueOf(r, kra::CMD_RECORD_PROJECT));
    }));
    // The next free number of a recording; 0 when the project holds its 100.
    setAction(kra::CMD_GET_RECORD_INDEX, onProject(nullptr, [answerWord](Request, Reply reply, auto &files) {
        answerWord(reply, kra::CMD_GET_RECORD_INDEX, std::to_string(files.size() >= 100 ? 0 : files.size() + 1));
    }));
    setAction(kra::CMD_GET_PROJECT_SIZE, onProject(nullptr, [answerWord](Request, Reply reply, auto &files) {
        long long bytes = 0;
        for (const auto &file : files)
            bytes += toNumber(file.second);
        answerWord(reply, kra::CMD_GET_PROJECT_SIZE, megabytes(bytes));
    }));
    setAction(
        kra::CMD_GET_FILE_SIZE, onProject(&kra::ACT_GENERIC_URI, [answerWord](Request r, Reply reply, auto &files) {
            answerWord(reply, kra::CMD_GET_FILE_SIZE, megabytes(toNumber(files[valueOf(r, kra::ACT_GENERIC_URI)])));
        }));
    // The number of files left.
    setAction(kra::CMD_DELETE_RECORD_FILE,
        onProject(&kra::ACT_GENERIC_URI, [this, projectOf, answerWord](Request r, Reply reply, auto &files) {
            const std::string &file = valueOf(r, kra::ACT_GENERIC_URI);
            files.erase(file);
            // The file leaves the project's lists too: its line of the records, its place in the play list.
            for (auto &[name, items] : m_lists[projectOf(r)]) {
                items.erase(std::remove_if(items.begin(), items.end(),
                                [&file, &name = name](const std::string &item) {
                                    return item == file
                                        || (name == kra::LIST_RECORDS_LIST
                                            && item.compare(0, file.size() + 1, file + "|") == 0);
                                }),
                    items.end());
            }
            answerWord(reply, kra::CMD_DELETE_RECORD_FILE, std::to_string(files.size()));
        }));
    setAction(kra::CMD_SEND, onProject(&kra::CMD_RECORD_USER_FNAME, [](Request r, Reply reply, auto &) {
        if (valueOf(r, kra::KEY_TYPE) != kra::TYPE_RECORD)
            refuse(reply, kra::ERR_INVALID_VALUE);
    }));
    setAction(kra::CMD_PROJECT_BUILD_WAV, onProject(nullptr, [](Request r, Reply reply, auto &files) {
        if (!needs(r, reply, {&kra::ACT_GENERIC_URI}))
            return;
        files[valueOf(r, kra::ACT_GENERIC_URI)] = "0";
    }));
    setAction(kra::CMD_SAVE_PLAYLIST, onProject(nullptr, [this, projectOf, answerWord](Request r, Reply reply, auto &) {
        // One name a line, an empty text an empty play list; the project's "records_plist" answers with them.
        std::vector<std::string> names;
        for (const QByteArray &line : QByteArray::fromStdString(valueOf(r, kra::ACT_GENERIC_URI)).split('\n')) {
            if (!line.isEmpty())
                names.push_back(line.toStdString());
        }
        m_lists[projectOf(r)][kra::LIST_RECORDS_PLIST] = names;
        answerWord(reply, kra::CMD_SAVE_PLAYLIST, valueOf(r, kra::ACT_GENERIC_URI));
    }));
    // A recording's waveform data file: "processed" once it exists, else the unit starts making it.
    setAction(kra::CMD_OPEN, onProject(nullptr, [](Request r, Reply reply, auto &files) {
        if (!needs(r, reply, {&kra::CMD_RECORD_USER_FNAME}))
            return;
        if (valueOf(r, kra::KEY_TYPE) != kra::TYPE_DAT)
            return refuse(reply, kra::ERR_INVALID_VALUE);
        const std::string &data = valueOf(r, kra::CMD_RECORD_USER_FNAME);
        if (files.count(data))
            reply.setParam(kra::KEY_STATE, kra::VAL_PROCESSED);
        else
            files[data] = "0";
    }));
    // The recording is named with or without its extension, which comes apart. With a wave-map folder the data
    // file is also written there.
    setAction(kra::CMD_WAV_TO_DATA, onProject(nullptr, [this, pathOf, answerWord](Request r, Reply reply, auto &files) {
        if (!needs(r, reply, {&kra::CMD_RECORD_USER_FNAME, &kra::CMD_RECORD_EXTENTION}))
            return;
        const std::string suffix = "." + valueOf(r, kra::CMD_RECORD_EXTENTION);
        std::string stem = valueOf(r, kra::CMD_RECORD_USER_FNAME);
        if (stem.size() > suffix.size() && stem.compare(stem.size() - suffix.size(), suffix.size(), suffix) == 0)
            stem.resize(stem.size() - suffix.size());
        if (!files.count(stem + suffix))
            return refuse(reply, kra::ERR_FILE_NOT_FOUND);
        const std::string data = stem + "." + kra::TYPE_DAT;
        files[data] = "0";
        if (!m_waveMapFolder.isEmpty() && !writeWaveMap(r, stem + suffix, pathOf(r) + "/" + data))
            return refuse(reply, kra::ERR_RESOURCE_UNAVAILABLE);
        answerWord(reply, kra::CMD_WAV_TO_DATA, kra::RET_OK);
        answerWord(reply, kra::CMD_PROJECT_WAVMAP, pathOf(r) + "/" + data);
    }));
    setAction(kra::CMD_PROJECT_LIST, onProject(nullptr, [answerWord](Request, Reply reply, auto &files) {
        std::string names;
        for (const auto &file : files)
            names += (names.empty() ? "" : "|") + file.first;
        answerWord(reply, kra::CMD_PROJECT_LIST, names);
    }));
    setAction(kra::CMD_GET_PROJECT_PATH, onProject(nullptr, [pathOf, answerWord](Request r, Reply reply, auto &) {
        answerWord(reply, kra::CMD_GET_PROJECT_PATH, pathOf(r));
    }));
    setAction(kra::CMD_GET_PLAYBACK_FULLPATH, onProject(nullptr, [pathOf, answerWord](Request r, Reply reply, auto &) {
        answerWord(reply, kra::CMD_GET_PLAYBACK_FULLPATH, pathOf(r) + "/" + valueOf(r, kra::ACT_GENERIC_URI));
    }));
    setAction(kra::CMD_GET_RECORD_FULLPATH, onProject(nullptr, [pathOf, answerWord](Request r, Reply reply, auto &) {
        if (!needs(r, reply, {&kra::CMD_RECORD_USER_FNAME, &kra::CMD_RECORD_EXTENTION}))
            return;
        answerWord(reply, kra::CMD_GET_RECORD_FULLPATH,
            pathOf(r) + "/" + valueOf(r, kra::CMD_RECORD_USER_FNAME) + "." + valueOf(r, kra::CMD_RECORD_EXTENTION));
    }));
    // Copies name the other drive in "generic_uri"; it must be there. A project copied goes whole, a file into the
    // project of the same name there.
    const auto otherDrive = [this](Request r, Reply reply) -> std::string {
        const std::string &drive = valueOf(r, kra::ACT_GENERIC_URI);
        const std::string *free = drive == kra::MEDIA_INTERNAL ? &kra::CMD_GET_FREESPACE_RECORD
            : drive == kra::MEDIA_USB                          ? &kra::CMD_GET_FREESPACE_USB
            : drive == kra::MEDIA_SDRAM                        ? &kra::CMD_GET_FREESPACE_SDCARD
                                                               : nullptr;
        if (!free)
            refuse(reply, drive.empty() ? kra::ERR_MANDATORY_PARAMETER_MISSING : kra::ERR_INVALID_VALUE);
        else if (!hasParam(mediaStore, *free))
            refuse(reply, kra::ERR_NOT_AVAILABLE);
        else
            return "media:" + drive + ":" + valueOf(r, kra::CMD_RECORD_PROJECT);
        return {};
    };
    setAction(kra::CMD_RECORD_COPY_TO,
        onProject(nullptr, [this, otherDrive, answerWord](Request r, Reply reply, auto &files) {
            const std::string target = otherDrive(r, reply);
            if (target.empty())
                return;
            m_stores[target] = files;
            answerWord(reply, kra::CMD_RECORD_COPY_TO, kra::RET_OK);
        }));
    setAction(kra::CMD_RECORD_COPY_FROM, onProject(nullptr, [otherDrive, answerWord](Request r, Reply reply, auto &) {
        if (!otherDrive(r, reply).empty())
            answerWord(reply, kra::CMD_RECORD_COPY_FROM, kra::RET_OK);
    }));
    setAction(kra::CMD_RECORD_FILE_COPY_TO,
        onProject(&kra::CMD_RECORD_USER_FNAME, [this, otherDrive, answerWord](Request r, Reply reply, auto &files) {
            const std::string target = otherDrive(r, reply);
            if (target.empty())
                return;
            const std::string &file = valueOf(r, kra::CMD_RECORD_USER_FNAME);
            m_stores[target][file] = files[file];
            answerWord(reply, kra::CMD_RECORD_FILE_COPY_TO, kra::RET_OK);
        }));

    // Project sources and elements.
    setAction(kra::CMD_PROJECT_SET_SOURCE, onProject(nullptr, [this, sourceOf](Request r, Reply reply, auto &) {
        if (!needs(r, reply, {&kra::ACT_GENERIC_URI}))
            return;
        setParam(sourceOf(r), kra::ACT_GENERIC_URI, valueOf(r, kra::CMD_PROJECT_ELEMENT));
        setParam(sourceOf(r), kra::CMD_PROJECT_CHANNEL, valueOf(r, kra::CMD_PROJECT_CHANNEL));
        setParam(sourceOf(r), kra::CMD_PROJECT_WAVMAP, valueOf(r, kra::CMD_PROJECT_WAVMAP));
    }));
    // A project without a source answers without its keys.
    setAction(kra::CMD_PROJECT_GET_SOURCE, onProject(nullptr, [this, sourceOf](Request r, Reply reply, auto &) {
        for (const auto &[key, value] : m_stores[sourceOf(r)])
            reply.setParam(key, value);
    }));
    // Elements are rows "source|wave map|channel|start|end|hstart|hend" (positions in samples) of the project
    // file's lists: tracks in the order added, marks and separators by their start.
    using Edit = std::function<void(Request, Reply, std::vector<std::string> & rows)>;
    const auto elementAction
        = [this, onProject, elementsOf](std::initializer_list<const std::string *> keys, Edit edit) {
              const std::vector<const std::string *> needed(keys);
              return onProject(nullptr, [this, needed, elementsOf, edit](Request r, Reply reply, auto &) {
                  const std::string &element = valueOf(r, kra::CMD_PROJECT_ELEMENT);
                  if (element != kra::CMD_PROJECT_ELEMENT_TRACKS && element != kra::CMD_PROJECT_SEPARATORS
                      && element != kra::CMD_PROJECT_ELEMENT_MARKS)
                      return refuse(reply, kra::ERR_INVALID_VALUE);
                  for (const std::string *key : needed) {
                      if (valueOf(r, *key).empty())
                          return refuse(reply, kra::ERR_MANDATORY_PARAMETER_MISSING);
                  }
                  edit(r, reply, m_lists[elementsOf(r)][element]);
              });
          };
    setAction(kra::CMD_PROJECT_ACTION_ADD,
        elementAction({&kra::ACT_GENERIC_URI, &kra::CMD_PROJECT_VALUE_START}, [](Request r, Reply, auto &rows) {
            std::string row;
            for (const std::string *key : {&kra::ACT_RECORD_SOURCE, &kra::CMD_PROJECT_WAVMAP, &kra::CMD_PROJECT_CHANNEL,
                     &kra::CMD_PROJECT_VALUE_START, &kra::CMD_PROJECT_VALUE_END, &kra::CMD_PROJECT_VALUE_HSTART,
                     &kra::CMD_PROJECT_VALUE_HEND})
                row += (row.empty() && key == &kra::ACT_RECORD_SOURCE ? "" : "|") + valueOf(r, *key);
            auto at = rows.end();
            if (valueOf(r, kra::CMD_PROJECT_ELEMENT) != kra::CMD_PROJECT_ELEMENT_TRACKS) {
                const long long start = toNumber(valueOf(r, kra::CMD_PROJECT_VALUE_START));
                at = std::find_if(
                    rows.begin(), rows.end(), [start](const std::string &other) { return rowField(other, 3) > start; });
            }
            rows.insert(at, row);
        }));
    setAction(kra::CMD_PROJECT_ACTION_REMOVE,
        elementAction({&kra::ACT_GENERIC_URI, &kra::CMD_RECORD_INDEX}, [](Request r, Reply, auto &rows) {
            // An index that names no element changes nothing.
            const long long index = toNumber(valueOf(r, kra::CMD_RECORD_INDEX));
            if (index >= 1 && index <= (long long)rows.size())
                rows.erase(rows.begin() + (index - 1));
        }));
    // Cuts [start, end) (samples from the track's start) out of the track at the 1-based index; the marks in the
    // project's [hstart, hend) go, later ones move up.
    setAction(kra::CMD_PROJECT_DELETE_TRACK, onProject(nullptr, [this, elementsOf](Request r, Reply reply, auto &) {
        if (!needs(r, reply,
                {&kra::ACT_GENERIC_URI, &kra::CMD_RECORD_INDEX, &kra::CMD_PROJECT_VALUE_START,
                    &kra::CMD_PROJECT_VALUE_END, &kra::CMD_END_MARK}))
            return;
        auto &lists = m_lists[elementsOf(r)];
        auto &tracks = lists[kra::CMD_PROJECT_ELEMENT_TRACKS];
        const long long index = toNumber(valueOf(r, kra::CMD_RECORD_INDEX));
        const long long from = toNumber(valueOf(r, kra::CMD_PROJECT_VALUE_START));
        const long long to = toNumber(valueOf(r, kra::CMD_PROJECT_VALUE_END));
        if (index < 1 || index > (long long)tracks.size() || from < 0 || to <= from)
            return; // names no part of a track: nothing changes
        QList<QByteArray> fields = QByteArray::fromStdString(tracks[size_t(index - 1)]).split('|');
        if (fields.size() != 7)
            return;
        const long long start = fields[3].toLongLong();
        const long long end = fields[4].toLongLong();
        std::vector<std::string> pieces;
        for (const auto &[a, b] :
            {std::make_pair(start, std::min(end, start + from)), std::make_pair(std::max(start, start + to), end)}) {
            if (b <= a)
                continue;
            fields[3] = QByteArray::number(a);
            fields[4] = QByteArray::number(b);
            pieces.push_back(fields.join('|').toStdString());
        }
        tracks.erase(tracks.begin() + (index - 1));
        tracks.insert(tracks.begin() + (index - 1), pieces.begin(), pieces.end());
        const long long hstart = toNumber(valueOf(r, kra::CMD_PROJECT_VALUE_HSTART));
        const long long hend = toNumber(valueOf(r, kra::CMD_PROJECT_VALUE_HEND));
        std::vector<std::string> kept;
        for (const std::string &mark : lists[kra::CMD_PROJECT_ELEMENT_MARKS]) {
            QList<QByteArray> parts = QByteArray::fromStdString(mark).split('|');
            const long long at = parts.size() == 7 ? parts[3].toLongLong() : 0;
            if (at >= hstart && at < hend)
                continue;
            if (at >= hend && parts.size() == 7)
                parts[3] = QByteArray::number(at - (hend - hstart));
            kept.push_back(parts.join('|').toStdString());
        }
        lists[kra::CMD_PROJECT_ELEMENT_MARKS] = kept;
    }));

    // Drive operations: formatting empties the medium of its projects, ejecting takes the medium away, repairing
    // leaves it as it is. A medium the unit does not have (no free space set) is refused.
    struct Medium
    {
        const std::string &mount;
        const std::string &free;
        const std::string &percent;
        const std::string &format;
        const std::string &repair;
        const std::string *eject; // none for the internal disk
    };
    const Medium media[] = {
        {kra::MEDIA_INTERNAL, kra::CMD_GET_FREESPACE_RECORD, kra::CMD_GET_FREESPACE_P_RECORD, kra::CMD_FORMAT_INTERNAL,
            kra::CMD_REPAIR_INTERNAL, nullptr},
        {kra::MEDIA_USB, kra::CMD_GET_FREESPACE_USB, kra::CMD_GET_FREESPACE_P_USB, kra::CMD_FORMAT_USB,
            kra::CMD_REPAIR_USB, &kra::CMD_UNMOUNT_USB},
        {kra::MEDIA_SDRAM, kra::CMD_GET_FREESPACE_SDCARD, kra::CMD_GET_FREESPACE_P_SDCARD, kra::CMD_FORMAT_SDCARD,
            kra::CMD_REPAIR_SDCARD, &kra::CMD_UNMOUNT_SDCARD},
    };
    for (const Medium &medium : media) {
        const std::string free = medium.free;
        const std::string percent = medium.percent;
        const std::string prefix = "media:" + medium.mount + ":";
        setAction(medium.format, [this, free, prefix](Request, Reply reply) {
            if (!hasParam(mediaStore, free))
                return refuse(reply, kra::ERR_NOT_AVAILABLE);
            const auto onMedium
                = [&prefix](const auto &entry) { return entry.first.compare(0, prefix.size(), prefix) == 0; };
            for (auto it = m_stores.begin(); it != m_stores.end();)
                it = onMedium(*it) ? m_stores.erase(it) : std::next(it);
            for (auto it = m_lists.begin(); it != m_lists.end();)
                it = onMedium(*it) ? m_lists.erase(it) : std::next(it);
        });
        setAction(medium.repair, [this, free](Request, Reply reply) {
            if (!hasParam(mediaStore, free))
                refuse(reply, kra::ERR_NOT_AVAILABLE);
        });
        if (medium.eject) {
            setAction(*medium.eject, [this, free, percent](Request, Reply reply) {
                if (!hasParam(mediaStore, free))
                    return refuse(reply, kra::ERR_NOT_AVAILABLE);
                unsetParam(mediaStore, free);
                unsetParam(mediaStore, percent);
            });
        }
    }

    // Free space of the media; a medium the unit does not have is not available.
    for (const std::string *word :
        {&kra::CMD_GET_FREESPACE_RECORD, &kra::CMD_GET_FREESPACE_USB, &kra::CMD_GET_FREESPACE_SDCARD,
            &kra::CMD_GET_FREESPACE_P_RECORD, &kra::CMD_GET_FREESPACE_P_USB, &kra::CMD_GET_FREESPACE_P_SDCARD}) {
        setAction(*word, [this, word](Request, Reply reply) {
            if (!hasParam(mediaStore, *word))
                return refuse(reply, kra::ERR_NOT_AVAILABLE);
            reply.setParam(*word, param(mediaStore, *word));
        });
    }
}
