// The recorder, project and file commands of the device model against the simulated device: the body each
// sends, the time-out of its pending call, its result on the device's answers and refusals and on replies that
// lack or garble what it reads, and element lists gathered over partial replies.

#include "devicetesting.h"

#include <QtTest>

#include <functional>
#include <memory>

using namespace devicetesting;
using rpctesting::fault;
using rpctesting::script;

namespace {

QByteArray text(const std::string &s)
{
    return QByteArray::fromStdString(s);
}

QByteArray number(long long n)
{
    return QByteArray::number(n);
}

// A project "show" on "usb" with two recordings, free space of the internal medium and USB, the cities of one
// region.
const QByteArray mediaSetup = "media:usb:show take1.wav=2500000\n"
                              "media:usb:show take2.wav=300000\n"
                              "media get_freespace_record=5200\n"
                              "media get_freespace_usb=1850\n"
                              "media get_freespace_p_usb=62\n"
                              "general timezone_city_list=[Berlin,Paris,Rome]\n";

using Args = QByteArrayList;
using Op = std::function<QByteArray(TComDevice &, const Args &)>;

std::string a(const Args &args, int i)
{
    return i < args.size() ? args[i].toStdString() : std::string();
}

QByteArray withError(bool ok, const std::string &error)
{
    return number(ok) + " error=" + text(error);
}

ProjectElement element(const Args &args)
{
    ProjectElement e;
    e.flag = 1;
    e.source = a(args, 3);
    e.waveMap = a(args, 4);
    e.channel = "1";
    e.startValue = "0";
    e.endValue = "48000";
    e.startValueH = "0";
    e.endValueH = "96000";
    return e;
}

QByteArray added(bool ok, const ProjectElement &e)
{
    return number(ok) + " " + text(e.source) + " " + text(e.waveMap);
}

QByteArray source(bool ok, const ProjectSource &s)
{
    return number(ok) + " valid=" + number(s.valid) + " " + text(s.uri) + " " + text(s.channel) + " " + text(s.waveMap);
}

QByteArray listed(bool ok, const QStringList &items)
{
    return number(ok) + " " + items.join('|').toUtf8();
}

using D = TComDevice;
using Text = const std::string &;

// The wrappers, each of one shape.
Op addWith(bool (D::*add)(Text, Text, Text, ProjectElement &))
{
    return [add](D &d, const Args &x) {
        ProjectElement e = element(x);
        const bool ok = (d.*add)(a(x, 0), a(x, 1), a(x, 2), e);
        return added(ok, e);
    };
}

Op removeWith(bool (D::*remove)(Text, Text, Text, int))
{
    return [remove](D &d, const Args &x) { return number((d.*remove)(a(x, 0), a(x, 1), a(x, 2), x[3].toInt())); };
}

Op listWith(bool (D::*get)(Text, Text, Text, QStringList &))
{
    return [get](D &d, const Args &x) {
        QStringList items {"stale"};
        const bool ok = (d.*get)(a(x, 0), a(x, 1), a(x, 2), items);
        return listed(ok, items);
    };
}

Op freeSpace(int (D::*get)())
{
    return [get](D &d, const Args &) { return number((d.*get)()); };
}

// Each operation by name: arguments separated by ';', the result as text.
const QMap<QByteArray, Op> &operations()
{
    static const QMap<QByteArray, Op> ops = {
        {"deleteRecordDir", [](D &d, const Args &x) { return number(d.deleteRecordDir(a(x, 0), a(x, 1))); }},
        {"emptyRecordDir", [](D &d, const Args &x) { return number(d.emptyRecordDir(a(x, 0), a(x, 1))); }},
        {"setMark", [](D &d, const Args &) { return QByteArray::number(qulonglong(d.setMark())); }},
        {"getRecordIndex", [](D &d, const Args &x) { return number(d.getRecordIndex(a(x, 0), a(x, 1))); }},
        {"getProjectSize", [](D &d, const Args &x) { return number(d.getProjectSize(a(x, 0), a(x, 1))); }},
        {"sendRecord",
            [](D &d, const Args &x) {
                std::string error;
                const bool ok = d.sendRecord(a(x, 0), a(x, 1), a(x, 2), error);
                return withError(ok, error);
            }},
        {"getRecordFolder",
            [](D &d, const Args &x) {
                std::string error;
                const bool ok = d.getRecordFolder(a(x, 0), a(x, 1), a(x, 2), error);
                return withError(ok, error);
            }},
        {"projectBuildWav", [](D &d, const Args &x) { return number(d.projectBuildWav(a(x, 0), a(x, 1), a(x, 2))); }},
        {"savePlaylist", [](D &d, const Args &x) { return number(d.savePlaylist(a(x, 0), a(x, 1), a(x, 2))); }},
        {"deleteRecordFile", [](D &d, const Args &x) { return number(d.deleteRecordFile(a(x, 0), a(x, 1), a(x, 2))); }},
        {"getFileSize", [](D &d, const Args &x) { return number(d.getFileSize(a(x, 0), a(x, 1), a(x, 2))); }},
        {"openRecord", [](D &d, const Args &x) { return number(d.openRecord(a(x, 0), a(x, 1), a(x, 2))); }},
        {"projectSetSource",
            [](D &d, const Args &x) {
                ProjectSource s {a(x, 3) == "valid", a(x, 4), a(x, 5), a(x, 6)};
                return number(d.projectSetSource(a(x, 0), a(x, 1), a(x, 2), s));
            }},
        {"projectGetSource",
            [](D &d, const Args &x) {
                ProjectSource s {false, "old", "old", "old"};
                const bool ok = d.projectGetSource(a(x, 0), a(x, 1), a(x, 2), s);
                return source(ok, s);
            }},
        {"projectAddElement",
            [](D &d, const Args &x) {
                ProjectElement e = element(x);
                const bool ok = d.projectAddElement(a(x, 0), a(x, 1), a(x, 2), e, a(x, 5));
                return added(ok, e);
            }},
        {"projectAddTrack", addWith(&D::projectAddTrack)},
        {"projectAddSeparator", addWith(&D::projectAddSeparator)},
        {"projectAddMark", addWith(&D::projectAddMark)},
        {"projectRemoveTrack", removeWith(&D::projectRemoveTrack)},
        {"projectRemoveSeparator", removeWith(&D::projectRemoveSeparator)},
        {"projectRemoveMark", removeWith(&D::projectRemoveMark)},
        {"projectDeleteTrack",
            [](D &d, const Args &x) {
                return number(d.projectDeleteTrack(a(x, 0), a(x, 1), a(x, 2), x[3].toInt(), 5000000000ULL,
                    5000480000ULL, 10000000000ULL, 10000960000ULL, 18446744073709551615ULL));
            }},
        {"getProjectList", [](D &d, const Args &x) { return text(d.getProjectList(a(x, 0), a(x, 1))); }},
        {"getRecordFullpath",
            [](D &d, const Args &x) { return text(d.getRecordFullpath(a(x, 0), a(x, 1), a(x, 2), a(x, 3), a(x, 4))); }},
        {"getPlaybackFullpath",
            [](D &d, const Args &x) { return text(d.getPlaybackFullpath(a(x, 0), a(x, 1), a(x, 2))); }},
        {"recordCopyTo", [](D &d, const Args &x) { return number(d.recordCopyTo(a(x, 0), a(x, 1), a(x, 2))); }},
        {"recordFileCopyTo",
            [](D &d, const Args &x) { return number(d.recordFileCopyTo(a(x, 0), a(x, 1), a(x, 2), a(x, 3))); }},
        {"recordCopyFrom", [](D &d, const Args &x) { return number(d.recordCopyFrom(a(x, 0), a(x, 1), a(x, 2))); }},
        {"wavToData", [](D &d, const Args &x) { return text(d.wavToData(a(x, 0), a(x, 1), a(x, 2))); }},
        {"getProjectPath", [](D &d, const Args &x) { return text(d.getProjectPath(a(x, 0), a(x, 1))); }},
        {"getFreespace", [](D &d, const Args &x) { return number(d.getFreespace(a(x, 0), x[1].toInt())); }},
        {"getFreespaceRecord", freeSpace(&D::getFreespaceRecord)},
        {"getFreespaceUsb", freeSpace(&D::getFreespaceUsb)},
        {"getFreespaceSdcard", freeSpace(&D::getFreespaceSdcard)},
        {"getFreespacePRecord", freeSpace(&D::getFreespacePRecord)},
        {"getFreespacePUsb", freeSpace(&D::getFreespacePUsb)},
        {"getFreespacePSdcard", freeSpace(&D::getFreespacePSdcard)},
        {"getTimezoneCityList", [](D &d, const Args &x) { return text(d.getTimezoneCityList(a(x, 0))); }},
        {"getProjectElements",
            [](D &d, const Args &x) {
                QStringList items {"stale"};
                const bool ok = d.getProjectElements(a(x, 0), a(x, 1), a(x, 2), items, a(x, 3));
                return listed(ok, items);
            }},
        {"getProjectTracks", listWith(&D::getProjectTracks)},
        {"getProjectSeparators", listWith(&D::getProjectSeparators)},
        {"getProjectMarks", listWith(&D::getProjectMarks)},
    };
    return ops;
}

} // namespace

class TestDeviceRecorder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void commands_data();
    void commands();
    void replies_data();
    void replies();
    void elementLists_data();
    void elementLists();

private:
    QByteArray run(const QByteArray &step);

    std::unique_ptr<ModelRig> m_rig;
};

void TestDeviceRecorder::init()
{
    m_rig = std::make_unique<ModelRig>();
    m_rig->device.loadSetup(mediaSetup);
    QVERIFY(m_rig->connect());
}

void TestDeviceRecorder::cleanup()
{
    m_rig.reset();
}

QByteArray TestDeviceRecorder::run(const QByteArray &step)
{
    const int blank = step.indexOf(' ');
    const QByteArray name = blank < 0 ? step : step.left(blank);
    const Args args = blank < 0 ? Args() : step.mid(blank + 1).split(';');
    const auto op = operations().find(name);
    return op == operations().end() ? QByteArray("no such operation") : (*op)(m_rig->model, args);
}

void TestDeviceRecorder::commands_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("step");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<qint64>("timeout");
    QTest::addColumn<QByteArray>("result");
    const auto row = [](const char *name, const char *step, const QByteArray &frame, const char *result,
                         const char *setup = "", qint64 timeout = 5000) {
        QTest::newRow(name) << QByteArray(setup) << QByteArray(step) << frame << timeout << QByteArray(result);
    };
    const QByteArray show = "record_mount_point=usb|record_project=show";
    const QByteArray gone = "record_mount_point=usb|record_project=gone";

    row("delete a project", "deleteRecordDir usb;show", "DO|action=delete_record_dir|" + show, "1");
    row("delete a project that is not there", "deleteRecordDir usb;gone", "DO|action=delete_record_dir|" + gone, "-1");
    row("empty a project", "emptyRecordDir usb;show", "DO|action=empty_record_dir|" + show, "1");
    row("mark beyond 32 bits", "setMark", "DO|action=set_mark", "4800000000",
        "audio recorder_state=play\naudio position=4800000000");
    row("mark while stopped", "setMark", "DO|action=set_mark", "0");
    row("next recording index", "getRecordIndex usb;show", "DO|action=get_record_index|" + show, "3");
    row("project size in MB", "getProjectSize usb;show", "DO|action=get_project_size|" + show, "2");
    row("size of no project", "getProjectSize usb;gone", "DO|action=get_project_size|" + gone, "-1");
    row("send a recording", "sendRecord usb;show;take1.wav",
        "DO|action=send|" + show + "|record_user_fname=take1.wav|type=record", "1 error=");
    row("send a missing recording: the cause", "sendRecord usb;show;take9.wav",
        "DO|action=send|" + show + "|record_user_fname=take9.wav|type=record", "0 error=112-file not found");
    row("create a project folder", "getRecordFolder usb;new;create",
        "DO|action=get_record_folder|record_mount_point=usb|record_project=new|type=create", "1 error=");
    row("create an existing one: the cause", "getRecordFolder usb;show;create",
        "DO|action=get_record_folder|" + show + "|type=create", "0 error=111-filename already exists");
    row("test a missing folder", "getRecordFolder usb;gone;test", "DO|action=get_record_folder|" + gone + "|type=test",
        "0 error=112-file not found");
    row("build the project's wave file", "projectBuildWav usb;show;show.wav",
        "DO|action=project_build_wav|generic_uri=show.wav|" + show, "1", "", 120000);
    row("build in no project", "projectBuildWav usb;gone;show.wav",
        "DO|action=project_build_wav|generic_uri=show.wav|" + gone, "0", "", 120000);
    row("save a playlist", "savePlaylist usb;show;list.m3u", "DO|action=save_playlist|generic_uri=list.m3u|" + show,
        "1");
    row("delete a recording: files left", "deleteRecordFile usb;show;take2.wav",
        "DO|action=delete_record_file|generic_uri=take2.wav|" + show, "1");
    row("delete a missing recording", "deleteRecordFile usb;show;take9.wav",
        "DO|action=delete_record_file|generic_uri=take9.wav|" + show, "-1");
    row("file size in MB", "getFileSize usb;show;take1.wav", "DO|action=get_file_size|generic_uri=take1.wav|" + show,
        "2");
    row("file size below 1 MB", "getFileSize usb;show;take2.wav",
        "DO|action=get_file_size|generic_uri=take2.wav|" + show, "1");
    row("data file not made yet", "openRecord usb;show;take1.dat",
        "DO|action=open|" + show + "|record_user_fname=take1.dat|type=dat", "0");
    row("data file processed", "openRecord usb;show;take1.dat",
        "DO|action=open|" + show + "|record_user_fname=take1.dat|type=dat", "1", "media:usb:show take1.dat=40000");
    row("set a source", "projectSetSource usb;show;show.prj;valid;take1.wav;2;take1.dat",
        "DO|action=project_set_source|generic_uri=show.prj|project_channel=2|project_element=take1.wav|"
        "project_wavmap=take1.dat|"
            + show,
        "1");
    row("set no source: empty texts", "projectSetSource usb;show;show.prj;invalid;take1.wav;2;take1.dat",
        "DO|action=project_set_source|generic_uri=show.prj|project_channel=|project_element=|project_wavmap=|" + show,
        "1");
    const char *sourceSetup = "source:usb:show:show.prj generic_uri=take1.wav\n"
                              "source:usb:show:show.prj project_channel=2\n"
                              "source:usb:show:show.prj project_wavmap=take1.dat";
    row("get the source", "projectGetSource usb;show;show.prj",
        "DO|action=project_get_source|generic_uri=show.prj|" + show, "1 valid=1 take1.wav 2 take1.dat", sourceSetup);
    row("source without a channel keeps the old one", "projectGetSource usb;show;show.prj",
        "DO|action=project_get_source|generic_uri=show.prj|" + show, "0 valid=1 take1.wav old take1.dat",
        "source:usb:show:show.prj generic_uri=take1.wav\nsource:usb:show:show.prj project_wavmap=take1.dat");
    row("source of no project", "projectGetSource usb;gone;show.prj",
        "DO|action=project_get_source|generic_uri=show.prj|" + gone, "0 valid=0 old old old");

    const auto add = [&show](const char *word, const char *wavmap, const char *source) {
        return "DO|action=project_action_add|generic_uri=show.prj|project_channel=1|project_element=" + QByteArray(word)
            + "|project_value_end=48000|project_value_hend=96000|project_value_hstart=0|project_value_start=0|"
              "project_wavmap="
            + wavmap + "|" + show + "|record_source=" + source;
    };
    row("add a track: paths sent and kept by name",
        "projectAddElement usb;show;show.prj;/mnt/usb/show/take1.wav;/mnt/usb/show/take1.dat;project_element_tracks",
        add("project_element_tracks", "take1.dat", "take1.wav"), "1 take1.wav take1.dat");
    row("backslash paths", "projectAddTrack usb;show;show.prj;C:\\rec\\take1.wav;rec\\take1.dat",
        add("project_element_tracks", "take1.dat", "take1.wav"), "1 take1.wav take1.dat");
    row("a separator only in front stays", "projectAddSeparator usb;show;show.prj;/take1.wav;",
        add("project_separators", "", "/take1.wav"), "1 /take1.wav ");
    row("add a mark", "projectAddMark usb;show;show.prj;take1.wav;take1.dat",
        add("project_element_marks", "take1.dat", "take1.wav"), "1 take1.wav take1.dat");
    row("remove a track", "projectRemoveTrack usb;show;show.prj;2",
        "DO|action=project_action_remove|generic_uri=show.prj|project_element=project_element_tracks|record_index=2|"
            + show,
        "1");
    row("remove a separator", "projectRemoveSeparator usb;show;show.prj;0",
        "DO|action=project_action_remove|generic_uri=show.prj|project_element=project_separators|record_index=0|"
            + show,
        "1");
    row("remove a mark in no project", "projectRemoveMark usb;gone;show.prj;1",
        "DO|action=project_action_remove|generic_uri=show.prj|project_element=project_element_marks|record_index=1|"
            + gone,
        "0");
    row("delete a track: 64-bit positions", "projectDeleteTrack usb;show;show.prj;3",
        "DO|action=project_delete_track|end_mark=18446744073709551615|generic_uri=show.prj|"
        "project_value_end=5000480000|project_value_hend=10000960000|project_value_hstart=10000000000|"
        "project_value_start=5000000000|record_index=3|"
            + show,
        "1");
    row("delete a track refused", "projectDeleteTrack usb;gone;show.prj;3",
        "DO|action=project_delete_track|end_mark=18446744073709551615|generic_uri=show.prj|"
        "project_value_end=5000480000|project_value_hend=10000960000|project_value_hstart=10000000000|"
        "project_value_start=5000000000|record_index=3|"
            + gone,
        "0");
    row("project list", "getProjectList usb;show", "DO|action=project_list|" + show, "take1.wav|take2.wav");
    row("list of no project", "getProjectList usb;gone", "DO|action=project_list|" + gone, "");
    row("full path of a recording", "getRecordFullpath usb;show;3;take3;wav",
        "DO|action=get_record_fullpath|record_extention=wav|record_index=3|" + show + "|record_user_fname=take3",
        "/mnt/usb/show/take3.wav");
    row("playback path", "getPlaybackFullpath usb;show;take1.wav",
        "DO|action=get_playback_fullpath|generic_uri=take1.wav|" + show, "/mnt/usb/show/take1.wav");
    row("playback path of the folder", "getPlaybackFullpath usb;show;",
        "DO|action=get_playback_fullpath|generic_uri=|" + show, "/mnt/usb/show/");
    row("copy to", "recordCopyTo usb;show;take1.wav", "DO|action=record_copy_to|generic_uri=take1.wav|" + show, "1");
    row("copy a missing file", "recordCopyTo usb;show;take9.wav",
        "DO|action=record_copy_to|generic_uri=take9.wav|" + show, "0");
    row("copy a file to", "recordFileCopyTo usb;show;take1.wav;sdcard",
        "DO|action=record_file_copy_to|generic_uri=sdcard|" + show + "|record_user_fname=take1.wav", "1");
    row("copy from", "recordCopyFrom usb;show;take2.wav", "DO|action=record_copy_from|generic_uri=take2.wav|" + show,
        "1");
    row("waveform data of a recording", "wavToData usb;show;take1",
        "DO|action=wav_to_data|record_extention=wav|" + show + "|record_user_fname=take1", "/mnt/usb/show/take1.dat",
        "", 120000);
    row("waveform data of a missing recording", "wavToData usb;show;take9",
        "DO|action=wav_to_data|record_extention=wav|" + show + "|record_user_fname=take9", "", "", 120000);
    row("project path", "getProjectPath usb;show", "DO|action=get_project_path|" + show, "/mnt/usb/show");
    row("free space of a word", "getFreespace get_freespace_usb;-7", "DO|action=get_freespace_usb", "1850");
    row("free space of a medium the device lacks: the default", "getFreespace get_freespace_sdcard;-7",
        "DO|action=get_freespace_sdcard", "-7");
    row("free space, internal", "getFreespaceRecord", "DO|action=get_freespace_record", "5200");
    row("free space, USB", "getFreespaceUsb", "DO|action=get_freespace_usb", "1850");
    row("free space, SD card missing", "getFreespaceSdcard", "DO|action=get_freespace_sdcard", "0");
    row("free space in percent, internal, not told", "getFreespacePRecord", "DO|action=get_freespace_p_record", "0");
    row("free space in percent, USB", "getFreespacePUsb", "DO|action=get_freespace_p_usb", "62");
    row("free space in percent, SD card", "getFreespacePSdcard", "DO|action=get_freespace_p_sdcard", "0");
    row("cities of a region", "getTimezoneCityList Europe",
        "PARAM|target=general|timezone_param=Europe|LIST timezone_city_list", "Berlin,Paris,Rome");
    row("no cities", "getTimezoneCityList Antarctica",
        "PARAM|target=general|timezone_param=Antarctica|LIST timezone_city_list", "", "general timezone_city_list=[]");
    const QByteArray elements = "|record_mount_point=usb|record_project=show|target=general|LIST projet_element_list";
    row("tracks", "getProjectTracks usb;show;show.prj",
        "PARAM|generic_uri=show.prj|project_element=project_element_tracks" + elements, "1 t1|t2",
        "general projet_element_list=[t1,t2]");
    row("separators", "getProjectSeparators usb;show;show.prj",
        "PARAM|generic_uri=show.prj|project_element=project_separators" + elements, "1 s1",
        "general projet_element_list=[s1]");
    row("marks", "getProjectMarks usb;show;show.prj",
        "PARAM|generic_uri=show.prj|project_element=project_element_marks" + elements, "1 ",
        "general projet_element_list=[]");
}

void TestDeviceRecorder::commands()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, step);
    QFETCH(QByteArray, frame);
    QFETCH(qint64, timeout);
    QFETCH(QByteArray, result);

    m_rig->device.loadSetup(setup);
    QCOMPARE(run(step), result);
    QCOMPARE(m_rig->takeFrames(), QByteArrayList {frame});
    QCOMPARE(m_rig->takeTimeouts(), QList<qint64> {timeout});
}

// What each operation makes of replies that miss, garble or refuse what it reads.
void TestDeviceRecorder::replies_data()
{
    QTest::addColumn<QByteArray>("step");
    QTest::addColumn<QByteArray>("reply"); // the device's reply body; "error" an error reply instead
    QTest::addColumn<QByteArray>("result");
    const auto row = [](const char *name, const char *step, const char *reply, const char *result) {
        QTest::newRow(name) << QByteArray(step) << QByteArray(reply) << QByteArray(result);
    };

    row("index: missing", "getRecordIndex usb;show", "DO;return:OK;", "0");
    row("index: abc", "getRecordIndex usb;show", "DO;return:OK;get_record_index:abc;", "0");
    row("index: overlong", "getRecordIndex usb;show", "DO;return:OK;get_record_index:99999999999;", "0");
    row("index: digits, then text", "getRecordIndex usb;show", "DO;return:OK;get_record_index: +42abc;", "42");
    row("index: negative", "getRecordIndex usb;show", "DO;return:OK;get_record_index:-7;", "-7");
    row("index: the smallest int", "getRecordIndex usb;show", "DO;return:OK;get_record_index:-2147483648;",
        "-2147483648");
    row("index: refused", "getRecordIndex usb;show", "DO;return:NOK;get_record_index:5;", "0");
    row("index: unanswered", "getRecordIndex usb;show", "error", "0");
    row("project size: missing", "getProjectSize usb;show", "DO;return:OK;", "-1");
    row("project size: abc", "getProjectSize usb;show", "DO;return:OK;get_project_size:abc;", "-1");
    row("project size: beyond int", "getProjectSize usb;show", "DO;return:OK;get_project_size:2147483648;", "-1");
    row("project size: largest int", "getProjectSize usb;show", "DO;return:OK;get_project_size:2147483647;",
        "2147483647");
    row("file size: missing", "getFileSize usb;show;take1.wav", "DO;return:OK;", "-1");
    row("file size: empty", "getFileSize usb;show;take1.wav", "DO;return:OK;get_file_size:;", "-1");
    row("delete file: missing", "deleteRecordFile usb;show;take1.wav", "DO;return:OK;", "-1");
    row("delete file: abc", "deleteRecordFile usb;show;take1.wav", "DO;return:OK;delete_record_file:abc;", "-1");
    row("delete folder: missing", "deleteRecordDir usb;show", "DO;return:OK;", "-1");
    row("empty folder: refused", "emptyRecordDir usb;show", "DO;return:ERROR;cause:202-file system error;", "-1");
    row("mark: missing", "setMark", "DO;return:OK;", "0");
    row("mark: abc", "setMark", "DO;return:OK;position:abc;", "0");
    row("mark: negative", "setMark", "DO;return:OK;position:-5;", "0");
    row("mark: beyond 64 bits", "setMark", "DO;return:OK;position:18446744073709551616;", "0");
    row("mark: largest", "setMark", "DO;return:OK;position:18446744073709551615;", "18446744073709551615");
    row("free space: missing", "getFreespaceUsb", "DO;return:OK;", "0");
    row("free space: overlong", "getFreespace get_freespace_usb;-1", "DO;return:OK;get_freespace_usb:99999999999;",
        "-1");
    row("free space: abc", "getFreespace get_freespace_usb;-1", "DO;return:OK;get_freespace_usb:abc;", "-1");
    row("open: state not processed", "openRecord usb;show;take1.dat", "DO;return:OK;state:processing;", "0");
    row("open: no state", "openRecord usb;show;take1.dat", "DO;return:OK;", "0");
    row("open: processed but refused", "openRecord usb;show;take1.dat", "DO;return:NOK;state:processed;", "0");
    row("copy to: NOK value", "recordCopyTo usb;show;take1.wav", "DO;return:OK;record_copy_to:NOK;", "0");
    row("copy to: missing", "recordCopyTo usb;show;take1.wav", "DO;return:OK;", "0");
    row("copy file to: NOK value", "recordFileCopyTo usb;show;take1.wav;sd", "DO;return:OK;record_file_copy_to:NOK;",
        "0");
    row("copy from: missing", "recordCopyFrom usb;show;take1.wav", "DO;return:OK;", "0");
    row("playlist: missing", "savePlaylist usb;show;list.m3u", "DO;return:OK;", "0");
    row("waveform data: NOK", "wavToData usb;show;take1", "DO;return:OK;wav_to_data:NOK;project_wavmap:/x.dat;", "");
    row("waveform data: no path", "wavToData usb;show;take1", "DO;return:OK;wav_to_data:OK;", "");
    row("project list: refused", "getProjectList usb;show", "DO;return:ERROR;project_list:a|b;", "");
    row("project path: missing", "getProjectPath usb;show", "DO;return:OK;", "");
    row("send: refused without a cause keeps the text", "sendRecord usb;show;take1.wav", "DO;return:NOK;", "0 error=");
    row("send: unanswered", "sendRecord usb;show;take1.wav", "error", "0 error=");
    row("folder: refused with a cause", "getRecordFolder usb;show;test", "DO;return:ERROR;cause:107-no space left;",
        "0 error=107-no space left");
    row("source: empty texts", "projectGetSource usb;show;show.prj",
        "DO;return:OK;generic_uri:a.wav;project_wavmap:;project_channel:1;", "0 valid=1 a.wav 1 ");
    row("delete track: refused", "projectDeleteTrack usb;show;show.prj;3", "DO;return:NOK;", "0");
    row("set source: refused", "projectSetSource usb;show;show.prj;valid;a;1;b",
        "DO;return:ERROR;cause:112-file not found;", "0");
}

void TestDeviceRecorder::replies()
{
    QFETCH(QByteArray, step);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, result);

    m_rig->device.addFault(reply == "error" ? fault(SimDevice::Fault::ErrorReply, 7) : script({reply}));
    QCOMPARE(run(step), result);
    QCOMPARE(m_rig->takeFrames().size(), 1);
}

void TestDeviceRecorder::elementLists_data()
{
    QTest::addColumn<QByteArray>("items"); // as the device holds them, '|' between
    QTest::addColumn<int>("parts"); // partial replies before the last
    QTest::addColumn<bool>("ext");
    QTest::addColumn<bool>("fails");
    QTest::addColumn<QByteArray>("result");

    const QByteArray eight = "t1|t2|t3|t4|t5|t6|t7|t8";
    QTest::newRow("one reply") << eight << 0 << false << false << "1 " + eight;
    QTest::newRow("four chunks") << eight << 3 << false << false << "1 " + eight;
    QTest::newRow("four chunks with EXT") << eight << 3 << true << false << "1 " + eight;
    QTest::newRow("items with commas over chunks")
        << QByteArray("0,480|480,960|960,1440") << 2 << false << false << QByteArray("1 0,480|480,960|960,1440");
    QTest::newRow("items with commas over chunks, EXT")
        << QByteArray("0,480|480,960|960,1440") << 2 << true << false << QByteArray("1 0,480|480,960|960,1440");
    QTest::newRow("a failed exchange") << eight << 0 << false << true << QByteArray("0 ");
    QTest::newRow("a failure after chunks") << eight << 3 << true << true << QByteArray("0 ");
}

void TestDeviceRecorder::elementLists()
{
    QFETCH(QByteArray, items);
    QFETCH(int, parts);
    QFETCH(bool, ext);
    QFETCH(bool, fails);
    QFETCH(QByteArray, result);

    std::vector<std::string> list;
    for (const QByteArray &item : items.split('|'))
        list.push_back(item.toStdString());
    m_rig->device.setList(kra::TGT_GENERAL, kra::LIST_PROJET_ELEMENT, list);
    if (fails && parts > 0) {
        // The chunks arrive, then the device refuses.
        QByteArrayList replies;
        for (int i = 0; i < parts; ++i)
            replies << "PARAM;return:PROGRESS;returnFmt:EXT;projet_element_list:" + items.split('|').value(i) + ";";
        replies << "PARAM;return:ERROR;cause:202-file system error;";
        m_rig->device.addFault(script(replies));
    } else if (fails) {
        m_rig->device.addFault(fault(SimDevice::Fault::ErrorReply, 7));
    } else {
        SimDevice::Fault f = fault(SimDevice::Fault::Progress, parts);
        f.ext = ext;
        m_rig->device.addFault(f);
    }
    QCOMPARE(run("getProjectElements usb;show;show.prj;project_element_tracks"), result);
    QCOMPARE(m_rig->takeTimeouts(), QList<qint64> {5000});
}

QTEST_GUILESS_MAIN(TestDeviceRecorder)
#include "tst_devicerecorder.moc"
