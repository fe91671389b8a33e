// The recorder model against the simulated device: the frames each operation sends (a request to the
// application's parameter store reads "DB|", and a time-out other than 10 s there or 5 s elsewhere is written
// behind the frame), what it returns, the limit messages on the screen, and the texts it builds.

#include "controllers/tmatrixsettings.h"
#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "pages/recordermodel.h"
#include "rpc/ccom.h"
#include "tests/rpctesting.h"
#include "widgets/screenpointer.h"
#include "widgets/vexmarmessage.h"

#include <QtTest>

#include <functional>
#include <memory>

using rpctesting::fault;
using rpctesting::script;

namespace {

const QByteArrayList dbAddress = {"cat=ui", "controller_id=quorvane_ui", "target=db", "type=quorvane_ui"};
const QByteArray defaults
    = "DB|autorecord=off|filename=Record|format=wav|is_ftp=off|media_dest=none|media_src=stream1|project=Default";
const QByteArray getSettings = "DB|GET media_dest|GET project|GET filename|GET autorecord|GET media_src|GET format|"
                               "GET is_ftp";

QByteArray text(const std::string &s)
{
    return QByteArray::fromStdString(s);
}

QByteArray joined(const std::vector<std::string> &items)
{
    QByteArrayList texts;
    for (const std::string &item : items)
        texts << text(item);
    return texts.join('|');
}

SimDevice::Fault matching(SimDevice::Fault f, const std::string &word)
{
    f.match = word;
    return f;
}

using Op = std::function<QByteArray(RecorderModel &, const QByteArray &)>;

// A setter with its flag; the value the getter gives afterwards.
Op setter(void (RecorderModel::*set)(const std::string &, bool), bool flag, std::string (RecorderModel::*get)() const)
{
    return [=](RecorderModel &m, const QByteArray &a) {
        (m.*set)(a.toStdString(), flag);
        return text((m.*get)());
    };
}

const QMap<QByteArray, Op> &operations()
{
    const auto n = [](long long v) { return QByteArray::number(v); };
    const auto s = [](const QByteArray &a) { return a.toStdString(); };
    static const QMap<QByteArray, Op> ops = {
        {"command",
            [n, s](RecorderModel &m, const QByteArray &a) { return n(m.executeRecorderCommand(s(a), "t.wav")); }},
        {"state", [](RecorderModel &m, const QByteArray &) { return text(m.recorderStateToCommand()); }},
        {"space",
            [](RecorderModel &m, const QByteArray &) {
                m.refreshMediaSpace();
                return QStringList {m.internalSizeText() + m.internalPercentText(),
                    m.usbSizeText() + m.usbPercentText(), m.sdSizeText() + m.sdPercentText(),
                    QString::number(m.isInternalAvailable()) + QString::number(m.isUsbAvailable())
                        + QString::number(m.isSdAvailable()) + QString::number(m.isAnyMediaAvailable())}
                    .join('|')
                    .toUtf8();
            }},
        {"setMediaSource", setter(&RecorderModel::setMediaSource, false, &RecorderModel::mediaSource)},
        {"deferMediaSource", setter(&RecorderModel::setMediaSource, true, &RecorderModel::mediaSource)},
        {"setMediaDestination", setter(&RecorderModel::setMediaDestination, false, &RecorderModel::mediaDestination)},
        {"setStateCommand", setter(&RecorderModel::setStateCommand, true, &RecorderModel::stateCommand)},
        {"setFileName", setter(&RecorderModel::setFileName, true, &RecorderModel::fileName)},
        {"emptyProject", [n](RecorderModel &m, const QByteArray &) { return n(m.emptyProject()); }},
        {"deleteProject", [n](RecorderModel &m, const QByteArray &) { return n(m.deleteProject()); }},
        {"deleteRecordFile", [n, s](RecorderModel &m, const QByteArray &a) { return n(m.deleteRecordFile(s(a))); }},
        {"savePlaylist",
            [n](RecorderModel &m, const QByteArray &a) { return n(m.savePlaylist(QString::fromUtf8(a).split(' '))); }},
        {"playEditorFile",
            [n](RecorderModel &m, const QByteArray &) {
                return n(m.playEditorFile("t.wav", "spare", "1", "0", "480", "960"));
            }},
        {"loadEditorMode",
            [n](RecorderModel &m, const QByteArray &) {
                const bool on = m.loadEditorMode();
                return n(on) + " " + text(m.editorModeText());
            }},
        {"loadEditorNextWav",
            [n](RecorderModel &m, const QByteArray &) {
                bool ok = false;
                const std::string value = m.loadEditorNextWav(&ok);
                return n(ok) + " " + text(value);
            }},
        {"load", [n](RecorderModel &m, const QByteArray &) { return n(m.loadRecorderSettings()); }},
        {"save", [n](RecorderModel &m, const QByteArray &) { return n(m.saveRecorderSettings()); }},
        {"createProject", [n](RecorderModel &m, const QByteArray &) { return n(m.createProject()); }},
        {"deleteTrack",
            [n](RecorderModel &m, const QByteArray &) {
                return n(m.deleteTrack("p.prj", 4800000000ULL, 4800048000ULL, 2, 9600000000ULL, 9600096000ULL, 7));
            }},
        {"elements", [](RecorderModel &m, const QByteArray &) { return text(m.projectElementList()); }},
        {"records", [](RecorderModel &m, const QByteArray &) { return joined(m.recordsList()); }},
        {"playlist", [](RecorderModel &m, const QByteArray &) { return joined(m.recordsPlayList()); }},
        {"projects", [](RecorderModel &m, const QByteArray &a) { return joined(m.projectList(a.toStdString())); }},
        {"takeEditorNextWav", [](RecorderModel &m, const QByteArray &) { return text(m.takeEditorNextWav()); }},
    };
    return ops;
}

} // namespace

class TestRecorderModel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void recordStart_data();
    void recordStart();
    void steps_data();
    void steps();
    void texts_data();
    void texts();

private:
    QByteArrayList takeFrames();
    // The texts of the messages on the screen, each checked to be centred on it; they are closed.
    QStringList takeMessages();

    std::unique_ptr<QWidget> m_screen;
    std::unique_ptr<SimDevice> m_device;
    QList<qint64> m_timeouts;
};

void TestRecorderModel::initTestCase()
{
    m_screen = std::make_unique<QWidget>();
    m_screen->setFixedSize(1280, 720);
    m_screen->move(40, 30);
    m_screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_screen.get()));
    g_screenWindow = m_screen.get();
    getCom()->initialize("ui", "quorvane_ui");
}

void TestRecorderModel::init()
{
    m_device = std::make_unique<SimDevice>();
    m_device->loadSetup(SimDevice::codecSetup());
    m_device->loadSetup(SimDevice::audioSetup());
    m_device->loadSetup("media get_freespace_record=5200\n"
                        "media get_freespace_usb=1850\n"
                        "media get_freespace_sdcard=300\n"
                        "media get_freespace_p_record=45\n"
                        "media get_freespace_p_usb=62\n"
                        "media get_freespace_p_sdcard=1\n");
    // Six recordings in "show" on every medium: the next one is the seventh.
    for (const char *medium : {"internal", "usb", "sdram", "none"}) {
        for (int i = 1; i <= 6; ++i)
            m_device->setParam(std::string("media:") + medium + ":show", "t" + std::to_string(i) + ".wav", "100");
    }
    connect(m_device.get(), &SimDevice::requestReceived, this, [this](const RpcMessage &request) {
        m_timeouts << getCom()->connection().pendingCall(request.id()).timeout();
    });
    QVERIFY(m_device->listen());
    QVERIFY(getCom()->connectToDevice(m_device->host(), m_device->port(), 0));
    QTRY_COMPARE(getCom()->state(), RpcConnection::ConnectedState);
    QTRY_COMPARE(m_device->clientCount(), 1);
    QVERIFY(getMatrixSettings()->attach(true));
    takeFrames();
}

void TestRecorderModel::cleanup()
{
    takeMessages();
    getCom()->disconnectFromDevice();
    QTRY_COMPARE(getCom()->state(), RpcConnection::UnconnectedState);
    getDevice()->reset(true);
    getMatrixSettings()->reset();
    m_device.reset();
    m_timeouts.clear();
}

QByteArrayList TestRecorderModel::takeFrames()
{
    QByteArrayList frames;
    const QList<qint64> timeouts = std::exchange(m_timeouts, {});
    for (int i = 0; i < m_device->requests().size(); ++i) {
        QByteArrayList parts = describe(m_device->requests()[i].body()).split('|');
        bool db = true;
        for (const QByteArray &pair : dbAddress)
            db = db && parts.removeAll(pair) == 1;
        if (db)
            parts[0] = "DB";
        QByteArray frame = parts.join('|');
        if (timeouts.value(i) != (db ? 10000 : 5000))
            frame += " timeout " + QByteArray::number(timeouts.value(i));
        frames << frame;
    }
    m_device->clearRequests();
    return frames;
}

QStringList TestRecorderModel::takeMessages()
{
    QStringList texts;
    const QPoint topLeft = m_screen->mapToGlobal(QPoint(0, 0)) + QPoint((1280 - 600) / 2, (720 - 280) / 2);
    for (QVexmarMessage *message : m_screen->findChildren<QVexmarMessage *>()) {
        if (!message->isVisible())
            continue;
        QString seen = message->text;
        if (message->windowHandle()->framePosition() != topLeft || message->windowModality() != Qt::ApplicationModal
            || message->buttons != 0)
            seen += QStringLiteral(" (misplaced)");
        texts << seen;
        message->close();
    }
    return texts;
}

namespace {

const QString filesLimit = "Limit of 100 recorded files in the project is reached. Delete some of them to be able "
                           "to create new ones.";
const QString projectsLimit = "Limit of 50 recorded projects is reached. Delete some of them to be able to create "
                              "new ones.";

// The requests of a record start on a medium up to the given step: free space (not asked for "none"), folder
// test, index, full path.
QByteArrayList recordChain(const QByteArray &dest, int steps, const QByteArray &index = "007")
{
    static const QMap<QByteArray, QByteArray> freeWord = {{"internal", "record"}, {"usb", "usb"}, {"sdram", "sdcard"}};
    const QByteArray where = "|record_mount_point=" + dest + "|record_project=show";
    QByteArrayList frames;
    if (freeWord.contains(dest))
        frames << "DO|action=get_freespace_" + freeWord[dest];
    if (steps > 1)
        frames << "DO|action=get_record_folder" + where + "|type=test";
    if (steps > 2)
        frames << "DO|action=get_record_index" + where;
    if (steps > 3)
        frames << "DO|action=get_record_fullpath|record_extention=wav|record_index=" + index + where
                + "|record_user_fname=take";
    return frames;
}

// The recorder's inputs cleared (input 19 was on the right channel), the given words written, the start.
QByteArrayList routedStart(const QByteArray &dest, const QByteArray &source, const QByteArrayList &words)
{
    QByteArrayList frames {"PARAM|matrix_rec2=00000000|target=audio"};
    for (const QByteArray &word : words)
        frames << "PARAM|" + word + "|target=audio";
    return frames << "DO|action=record_start|generic_uri=/mnt/" + dest
        + "/show/take.wav|record_format=wav|"
          "record_source="
        + source;
}

} // namespace

void TestRecorderModel::recordStart_data()
{
    QTest::addColumn<QByteArray>("dest");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<bool>("stereo");
    QTest::addColumn<bool>("live");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("replyTo"); // the device's action word that gets the reply
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QStringList>("messages");

    const auto row
        = [](const char *name, const QByteArray &dest, const QByteArray &source, bool stereo, bool live, bool result,
              const QByteArrayList &frames, const QByteArray &setup = {}, const QByteArray &replyTo = {},
              const QByteArray &reply = {}, const QStringList &messages = {}) {
              QTest::newRow(name) << dest << source << stereo << live << setup << replyTo << reply << result << frames
                                  << messages;
          };
    const auto started = [](const QByteArray &dest, const QByteArray &source, const QByteArrayList &words,
                             const QByteArray &index = "007") {
        return recordChain(dest, 4, index) + routedStart(dest, source, words);
    };
    row("internal, stream 1, mono, live", "internal", "stream1", false, true, true,
        started("internal", "stream1", {"matrix_rec1=01080000", "matrix_rec2=00100000"}));
    row("USB, stream 1, mono, idle", "usb", "stream1", false, false, true,
        started("usb", "stream1", {"matrix_rec1=01080000", "matrix_rec2=01000000"}));
    row("SD, stream 1, stereo", "sdram", "stream1", true, true, true,
        started("sdram", "stream1",
            {"matrix_rec1=01080000", "matrix_rec1=01180000", "matrix_rec2=02000000", "matrix_rec2=02200000"}));
    row("no medium: no space check; stream 2, mono, live", "none", "stream2", false, true, true,
        started("none", "stream2", {"matrix_rec1=04080000", "matrix_rec2=00400000"}));
    row("USB, stream 2, mono, idle", "usb", "stream2", false, false, true,
        started("usb", "stream2", {"matrix_rec1=04080000", "matrix_rec2=04000000"}));
    row("USB, stream 2, stereo", "usb", "stream2", true, false, true,
        started("usb", "stream2",
            {"matrix_rec1=04080000", "matrix_rec1=04480000", "matrix_rec2=08000000", "matrix_rec2=08800000"}));
    row("internal, voice, live", "internal", "voicecall", false, true, true,
        started("internal", "voicecall", {"matrix_rec1=10080000", "matrix_rec2=00080000"}));
    row("USB, voice, idle", "usb", "voicecall", false, false, true,
        started("usb", "voicecall", {"matrix_rec1=10080000", "matrix_rec2=10000000"}));
    row("no source: all cleared", "usb", "none", false, false, true, started("usb", "none", {}));
    row("index 1000 records as 001", "usb", "stream1", false, false, true,
        started("usb", "stream1", {"matrix_rec1=01080000", "matrix_rec2=01000000"}, "001"), {}, "get_record_index",
        "DO;return:OK;get_record_index:1000;");
    row("USB full", "usb", "stream1", false, false, false, recordChain("usb", 1), "media get_freespace_usb=0");
    row("no SD card", "sdram", "stream1", false, false, false, recordChain("sdram", 1), {}, "get_freespace_sdcard",
        "DO;return:ERROR;cause:021-not available;");
    row("folder test refused", "usb", "stream1", false, false, false, recordChain("usb", 2), {}, "get_record_folder",
        "DO;return:ERROR;cause:107-no space left;");
    row("index 0: project full", "usb", "stream1", false, false, false, recordChain("usb", 3), {}, "get_record_index",
        "DO;return:OK;get_record_index:0;", {filesLimit});
    row("no full path", "usb", "stream1", false, false, false, recordChain("usb", 4), {}, "get_record_fullpath",
        "DO;return:ERROR;cause:202-file system error;");
    row("start refused: the recorder is busy", "usb", "stream1", false, false, false,
        started("usb", "stream1", {"matrix_rec1=01080000", "matrix_rec2=01000000"}), "audio recorder_state=play");
}

void TestRecorderModel::recordStart()
{
    QFETCH(QByteArray, dest);
    QFETCH(QByteArray, source);
    QFETCH(bool, stereo);
    QFETCH(bool, live);
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, replyTo);
    QFETCH(QByteArray, reply);
    QFETCH(bool, result);
    QFETCH(QByteArrayList, frames);
    QFETCH(QStringList, messages);

    const std::string codec = stereo ? "OPUS/48000/stereo/128000" : "OPUS/48000/mono/64000";
    m_device->setParam("audio", "codec", codec);
    m_device->setParam("audio", "dcodec_2", codec);
    m_device->loadSetup(setup);
    QVERIFY(getDevice()->fetchCodecSetup());
    const int line = source == "stream2" ? 2 : source == "voicecall" ? 3 : 1;
    if (live) {
        auto *call = new TComAudioConnection(getCom(), line - 1);
        call->bind(TComAudioConnection::Outgoing, 30, "eth.0");
        QVERIFY(getDevice()->addConnection(call));
    }
    if (!replyTo.isEmpty())
        m_device->addFault(matching(script({reply}), replyTo.toStdString()));
    takeFrames();

    RecorderModel model;
    model.setMediaDestination(dest.toStdString(), false);
    model.setProjectName("show", false);
    model.setFileName("take", false);
    model.setMediaSource(source.toStdString(), true);
    QCOMPARE(model.executeRecorderCommand("recordstart"), result);
    QCOMPARE(takeFrames(), frames);
    QCOMPARE(takeMessages(), messages);
}

// The other operations, run on "usb" and "show": their results (',' between steps, then the messages shown)
// and frames.
void TestRecorderModel::steps_data()
{
    QTest::addColumn<QByteArray>("setup");
    // The next request's answer: "error" an error reply, "progress n" or "ext n" the normal answer in n + 1
    // parts (with returnFmt EXT), else the body given.
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QByteArray>("steps");
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<QByteArrayList>("frames");
    const auto row = [](const char *name, const QByteArray &steps, const QByteArray &result,
                         const QByteArrayList &frames, const QByteArray &setup = {}, const QByteArray &reply = {}) {
        QTest::newRow(name) << setup << reply << steps << result << frames;
    };
    const QByteArray show = "|record_mount_point=usb|record_project=show";
    const QByteArray db = "db:ui:quorvane_ui ";
    const QByteArray playPath = "DO|action=get_playback_fullpath|generic_uri=t.wav" + show;
    const QByteArray saved
        = "DB|autorecord=off|filename=Record|format=wav|is_ftp=off|media_dest=usb|media_src=stream1|project=show";
    const QByteArray state = "PARAM|target=audio|GET recorder_state";

    // A load, then a save that shows what the model holds.
    const auto stored = [&db](const QByteArray &pairs) { return db + QByteArray(pairs).replace(' ', "\n" + db); };
    const QByteArray seven = "autorecord=on filename=take format=mpg2 is_ftp=on media_dest=sdram media_src=stream2 "
                             "project=new";
    const QByteArray sevenHeld
        = "DB|autorecord=on|filename=take|format=mpg2|is_ftp=on|media_dest=sdram|media_src=stream2|project=new";
    const QByteArray sixHeld = QByteArray(sevenHeld).replace("is_ftp=on", "is_ftp=off");
    row("load seven", "load,save", "1,1", {getSettings, sevenHeld}, stored(seven));
    row("load six: the unset one defaulted, nothing pushed", "load,save", "0,1", {getSettings, sixHeld},
        stored(QByteArray(seven).replace("is_ftp=on ", "")));
    row("load six, refused for the one not set", "load,save", "0,1", {getSettings, sixHeld}, {},
        "PARAM;return:ERROR;media_dest:sdram;project:new;filename:take;autorecord:on;media_src:stream2;format:mpg2;"
        "is_ftp:101-parameter not set;");
    row("load none set: the defaults pushed", "load,save", "0,1", {getSettings, defaults, defaults});
    row("load failed: the defaults, nothing pushed", "load,save", "0,1", {getSettings, defaults}, stored(seven),
        "error");
    row("load an unknown format: wav", "load,save", "1,1", {getSettings, QByteArray(sevenHeld).replace("mpg2", "wav")},
        stored(QByteArray(seven).replace("mpg2", "mp3")));
    row("load an error text: no value", "load,save", "0,1",
        {getSettings, QByteArray(sevenHeld).replace("project=new", "project=Default")}, {},
        "PARAM;return:OK;media_dest:sdram;project:103-parameter set error;filename:take;autorecord:on;"
        "media_src:stream2;format:mpg2;is_ftp:on;");
    row("play", "command playstart", "1",
        {playPath, "DO|action=playback_start|generic_uri=/mnt/usb/show/t.wav|record_format=wav"});
    row("play without a path", "command playstart", "0", {playPath}, {}, "DO;return:ERROR;cause:112-file not found;");
    row("stop refused is still true", "command playstop", "1", {"DO|action=playback_stop"});
    row("pause", "command playpause", "1", {"DO|action=playback_pause"}, "audio recorder_state=play");
    row("unpause refused", "command playunpause", "1", {"DO|action=playback_unpause"});
    row("record stop", "command recordstop", "1", {"DO|action=record_stop"}, "audio recorder_state=rec");
    row("unknown and partial words do nothing", "command record,command playstarts,command PLAYSTART", "0,0,0", {});
    row("state play", "state", "playstart", {state}, "audio recorder_state=play");
    row("state paused", "state", "playpause", {state}, "audio recorder_state=play_paused");
    row("state recording", "state", "recordstart", {state}, "audio recorder_state=rec");
    row("state stopped", "state", "none", {state});
    row("state unanswered", "state", "none", {state}, {}, "error");
    const QByteArrayList spaceWords = {"DO|action=get_freespace_record", "DO|action=get_freespace_usb",
        "DO|action=get_freespace_sdcard", "DO|action=get_freespace_p_record", "DO|action=get_freespace_p_usb"};
    row("media space", "space", "5GB 45%|1GB 62%|300MB 1%|1111",
        spaceWords + QByteArrayList {"DO|action=get_freespace_p_sdcard"});
    row("media space: USB at the threshold, no SD card", "space", "5GB 45%|10MB 62%|0MB|1001", spaceWords,
        "media get_freespace_usb=10\nmedia get_freespace_sdcard=0");
    // Until the device's settings were read the others are only defaults: a push stores the one set.
    row("media source pushes", "setMediaSource stream2", "stream2", {"DB|media_src=stream2"});
    row("media source deferred", "deferMediaSource voicecall", "voicecall", {});
    row("the state command is never sent", "setStateCommand recordstart", "recordstart", {});
    row("file name pushes", "setFileName take", "take", {"DB|filename=take"});
    row("after a load a push stores all seven", "load,setFileName show", "1,show",
        {getSettings, QByteArray(sevenHeld).replace("take", "show")}, stored(seven));
    row("after a failed load only the one set", "load,setFileName show", "0,show", {getSettings, "DB|filename=show"},
        stored(seven), "error");
    row("empty the project", "emptyProject", "1", {"DO|action=empty_record_dir" + show});
    row("delete the project refused", "deleteProject", "-1", {"DO|action=delete_record_dir" + show}, {},
        "DO;return:ERROR;cause:202-file system error;");
    row("delete a file: five left", "deleteRecordFile t1.wav", "5",
        {"DO|action=delete_record_file|generic_uri=t1.wav" + show});
    row("delete a missing file", "deleteRecordFile t9.wav", "-1",
        {"DO|action=delete_record_file|generic_uri=t9.wav" + show});
    row("play list: a line per name", "savePlaylist t2.wav t1.wav", "1",
        {"DO|action=save_playlist|generic_uri=t2.wav\nt1.wav\n" + show});
    row("editor playback: the spare text stays", "playEditorFile", "1",
        {playPath,
            "DO|action=playback_start|channel=0|end_mark=960|generic_uri=/mnt/usb/show/t.wav|mode=1|"
            "playback_mode=editor|samplerate=48000|start_mark=480"});
    row("delete a track", "deleteTrack", "1",
        {"DO|action=project_delete_track|end_mark=7|generic_uri=p.prj|project_value_end=4800048000|"
         "project_value_hend=9600096000|project_value_hstart=9600000000|project_value_start=4800000000|"
         "record_index=2"
            + show});
    row("project elements", "elements", "t1.wav|t2.wav|t3.wav|t4.wav|t5.wav|t6.wav", {"DO|action=project_list" + show});
    const QByteArray create = "DO|action=get_record_folder" + show + "|type=create";
    row("project created", "createProject", "1", {create}, {}, "DO;return:OK;");
    row("project there: no message", "createProject", "0", {create});
    row("118: the 50-projects message", "createProject", "0,message: 50 projects", {create}, {},
        "DO;return:ERROR;cause:118-resource unavailable;");
    row("another cause: no message", "createProject", "0", {create}, {}, "DO;return:ERROR;cause:107-no space left;");
    const QByteArray records = "PARAM" + show + "|target=general|LIST records_list";
    const QByteArray listed = "general records_list=[t1.wav\\,1,a\\, b,t2.wav]";
    row("records in one reply", "records", "t1.wav,1|a, b|t2.wav", {records}, listed);
    row("records over chunks, escaped commas", "records", "t1.wav,1|a, b|t2.wav", {records}, listed, "progress 2");
    row("records over chunks, EXT", "records", "t1.wav,1|a, b|t2.wav", {records}, listed, "ext 2");
    row("records refused: none", "records", "", {records}, listed, "error");
    row("play list", "playlist", "t2.wav|t1.wav", {"PARAM" + show + "|target=general|LIST records_plist"},
        "general records_plist=[t2.wav,t1.wav]", "progress 1");
    row("projects of the medium given", "projects sdram", "show|new",
        {"PARAM|record_mount_point=sdram|target=general|LIST project_list"}, "general project_list=[show,new]");
    const QByteArray getMode = "DB|GET is_editor_mode";
    row("editor mode unset", "loadEditorMode", "0 off", {getMode});
    row("editor mode on", "loadEditorMode", "1 on", {getMode}, db + "is_editor_mode=on");
    row("editor mode other", "loadEditorMode", "1 on", {getMode}, db + "is_editor_mode=1");
    row("editor mode unanswered", "loadEditorMode", "0 off", {getMode}, db + "is_editor_mode=on", "error");
    const QByteArray getNext = "DB|GET editor_next_wav";
    row("next file", "loadEditorNextWav", "1 t1.wav", {getNext}, db + "editor_next_wav=t1.wav");
    row("no next file", "loadEditorNextWav", "1 ", {getNext});
    row("next file unanswered", "loadEditorNextWav", "0 ", {getNext}, db + "editor_next_wav=t1.wav", "error");
    row("take the next file once", "takeEditorNextWav,takeEditorNextWav", "t1.wav,",
        {getNext, "DB|editor_next_wav=", getNext}, db + "editor_next_wav=t1.wav");
    row("an unanswered take clears nothing", "takeEditorNextWav,loadEditorNextWav", ",1 t1.wav", {getNext, getNext},
        db + "editor_next_wav=t1.wav", "error");
}

void TestRecorderModel::steps()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, steps);
    QFETCH(QByteArray, result);
    QFETCH(QByteArrayList, frames);

    m_device->loadSetup(setup);
    SimDevice::Fault f = fault(SimDevice::Fault::Progress, reply.mid(reply.indexOf(' ') + 1).toInt());
    f.ext = reply.startsWith("ext ");
    if (reply == "error")
        m_device->addFault(fault(SimDevice::Fault::ErrorReply, 7));
    else if (reply.startsWith("progress ") || f.ext)
        m_device->addFault(f);
    else if (!reply.isEmpty())
        m_device->addFault(script({reply}));
    RecorderModel model;
    model.setMediaDestination("usb", false);
    model.setProjectName("show", false);
    QByteArrayList results;
    for (const QByteArray &step : steps.split(',')) {
        const int blank = step.indexOf(' ');
        const auto op = operations().find(blank < 0 ? step : step.left(blank));
        QVERIFY(op != operations().end());
        results << (*op)(model, blank < 0 ? QByteArray() : step.mid(blank + 1));
    }
    for (const QString &message : takeMessages()) {
        results << "message: "
                + (message == projectsLimit     ? QByteArray("50 projects")
                        : message == filesLimit ? QByteArray("100 files")
                                                : message.toUtf8());
    }
    QCOMPARE(results.join(','), result);
    QCOMPARE(takeFrames(), frames);
}

void TestRecorderModel::texts_data()
{
    QTest::addColumn<QByteArray>("function");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    const auto row = [](const char *function, const QString &input, const QString &output) {
        QTest::addRow("%s(%s)", function, qPrintable(input)) << QByteArray(function) << input << output;
    };
    row("sanitizeName", "", "");
    row("sanitizeName", QStringLiteral("Caf\u00e9 1"), "Caf__1");
    row("sanitizeName", "Take-9_x.wav", "Take-9_x_wav");
    row("sanitizeName", "abcdefghijklmnopqrstuvwxyz0123", "abcdefghijklmnopqrstuvwxy");
    row("recordIndexFromPath", "/mnt/usb/a_b/show_20240102_042_take.wav", "042");
    row("recordIndexFromPath", "", "");
    row("recordIndexFromPath", "a_b_7", "7");
    row("recordIndexFromPath", "a__", "");
    row("userNameFromFileName", "show_20240102_007_take.wav", "take");
    row("userNameFromFileName", "show_20240102_007_take.Wav", "take");
    row("userNameFromFileName", "show_20240102_007_take.WAV", "");
    row("userNameFromFileName", "take.wav.wav", "take");
    row("userNameFromFileName", "show_20240102_007_take.wa", "");
    row("userNameFromFileName", "a_b_12", "");
    row("userNameFromFileName", "a_b_1234", "");
    row("userNameFromFileName", "", "");
    row("sizeText", "1024", "1024MB");
    row("sizeText", "1025", "1GB");
    row("sizeText", "0", "0MB");
    row("sizeText", "-1", "n/a");
    row("percentText", "0", "");
    row("percentText", "1", " 1%");
    row("mediaDisplayName", "sdram", "SD");
    row("mediaDisplayName", "none", "");
    row("mediaKeyword", "USB", "usb");
    row("mediaKeyword", "SD card", "");
}

void TestRecorderModel::texts()
{
    QFETCH(QByteArray, function);
    QFETCH(QString, input);
    QFETCH(QString, output);

    const QMap<QByteArray, std::function<QString(const QString &)>> functions = {
        {"sanitizeName", &RecorderModel::sanitizeName},
        {"recordIndexFromPath", &RecorderModel::recordIndexFromPath},
        {"userNameFromFileName", &RecorderModel::userNameFromFileName},
        {"sizeText", [](const QString &s) { return RecorderModel::sizeText(s.toInt()); }},
        {"percentText", [](const QString &s) { return RecorderModel::percentText(s.toInt()); }},
        {"mediaDisplayName", [](const QString &s) { return RecorderModel::mediaDisplayName(s.toStdString()); }},
        {"mediaKeyword", &RecorderModel::mediaKeyword},
    };
    QCOMPARE(functions.value(function)(input), output);
}

QTEST_MAIN(TestRecorderModel)
#include "tst_recordermodel.moc"
