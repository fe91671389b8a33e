// The recorder, project and file commands of the device model against the simulated device: the body each
// sends, the time-out of its pending call, its result on the device's answers and refusals and on replies that
// lack or garble what it reads, and element lists gathered over partial replies.

#include "tests/devicetesting.h"

#include <QtTest>

#include <functional>
#include <memory>

using namespace devicetesting;
using rpctesting::fault;
using rpctesting::script;

namespace {

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

ProjectElement element(const Args &args)
{
    ProjectElement e;
    e.flag = 1;
    e.source = arg(args, 3);
    e.waveMap = arg(args, 4);
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
        const bool ok = (d.*add)(arg(x, 0), arg(x, 1), arg(x, 2), e);
        return added(ok, e);
    };
}

Op removeWith(bool (D::*remove)(Text, Text, Text, int))
{
    return [remove](D &d, const Args &x) { return number((d.*remove)(arg(x, 0), arg(x, 1), arg(x, 2), x[3].toInt())); };
}

Op listWith(bool (D::*get)(Text, Text, Text, QStringList &))
{
    return [get](D &d, const Args &x) {
        QStringList items {"stale"};
        const bool ok = (d.*get)(arg(x, 0), arg(x, 1), arg(x, 2), items);
        return listed(ok, items);
    };
}

Op withCause(bool (D::*op)(Text, Text, Text, std::string &))
{
    return [op](D &d, const Args &x) {
        std::string error;
        const bool ok = (d.*op)(arg(x, 0), arg(x, 1), arg(x, 2), error);
        return number(ok) + " error=" + text(error);
    };
}

// Each operation by name: arguments separated by ';', the result as text.
const QMap<QByteArray, Op> &operations()
{
    static const QMap<QByteArray, Op> ops = {
        {"deleteRecordDir", [](D &d, const Args &x) { return number(d.deleteRecordDir(arg(x, 0), arg(x, 1))); }},
        {"emptyRecordDir", [](D &d, const Args &x) { return number(d.emptyRecordDir(arg(x, 0), arg(x, 1))); }},
        {"setMark", [](D &d, const Args &) { return QByteArray::number(qulonglong(d.setMark())); }},
        {"getRecordIndex", [](D &d, const Args &x) { return number(d.getRecordIndex(arg(x, 0), arg(x, 1))); }},
        {"getProjectSize", [](D &d, const Args &x) { return number(d.getProjectSize(arg(x, 0), arg(x, 1))); }},
        {"sendRecord", withCause(&D::sendRecord)},
        {"getRecordFolder", withCause(&D::getRecordFolder)},
        {"projectBuildWav",
            [](D &d, const Args &x) { return number(d.projectBuildWav(arg(x, 0), arg(x, 1), arg(x, 2))); }},
        {"savePlaylist", [](D &d, const Args &x) { return number(d.savePlaylist(arg(x, 0), arg(x, 1), arg(x, 2))); }},
        {"deleteRecordFile",
            [](D &d, const Args &x) { return number(d.deleteRecordFile(arg(x, 0), arg(x, 1), arg(x, 2))); }},
        {"getFileSize", [](D &d, const Args &x) { return number(d.getFileSize(arg(x, 0), arg(x, 1), arg(x, 2))); }},
        {"openRecord", [](D &d, const Args &x) { return number(d.openRecord(arg(x, 0), arg(x, 1), arg(x, 2))); }},
        {"projectSetSource",
            [](D &d, const Args &x) {
                ProjectSource s {arg(x, 3) == "valid", arg(x, 4), arg(x, 5), arg(x, 6)};
                return number(d.projectSetSource(arg(x, 0), arg(x, 1), arg(x, 2), s));
            }},
        {"projectGetSource",
            [](D &d, const Args &x) {
                ProjectSource s {false, "old", "old", "old"};
                const bool ok = d.projectGetSource(arg(x, 0), arg(x, 1), arg(x, 2), s);
                return source(ok, s);
            }},
        {"projectAddElement",
            [](D &d, const Args &x) {
                ProjectElement e = element(x);
                const bool ok = d.projectAddElement(arg(x, 0), arg(x, 1), arg(x, 2), e, arg(x, 5));
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
                return number(d.projectDeleteTrack(arg(x, 0), arg(x, 1), arg(x, 2), x[3].toInt(), 5000000000ULL,
                    5000480000ULL, 10000000000ULL, 10000960000ULL, 18446744073709551615ULL));
            }},
        {"getProjectList", [](D &d, const Args &x) { return text(d.getProjectList(arg(x, 0), arg(x, 1))); }},
        {"getRecordFullpath",
            [](D &d, const Args &x) {
                return text(d.getRecordFullpath(arg(x, 0), arg(x, 1), arg(x, 2), arg(x, 3), arg(x, 4)));
            }},
        {"getPlaybackFullpath",
            [](D &d, const Args &x) { return text(d.getPlaybackFullpath(arg(x, 0), arg(x, 1), arg(x, 2))); }},
        {"recordCopyTo", [](D &d, const Args &x) { return number(d.recordCopyTo(arg(x, 0), arg(x, 1), arg(x, 2))); }},
        {"recordFileCopyTo",
            [](D &d, const Args &x) { return number(d.recordFileCopyTo(arg(x, 0), arg(x, 1), arg(x, 2), arg(x, 3))); }},
        {"recordCopyFrom",
            [](D &d, const Args &x) { return number(d.recordCopyFrom(arg(x, 0), arg(x, 1), arg(x, 2))); }},
        {"wavToData", [](D &d, const Args &x) { return text(d.wavToData(arg(x, 0), arg(x, 1), arg(x, 2))); }},
        {"getProjectPath", [](D &d, const Args &x) { return text(d.getProjectPath(arg(x, 0), arg(x, 1))); }},
        {"getFreespace", [](D &d, const Args &x) { return number(d.getFreespace(arg(x, 0), x[1].toInt())); }},
        {"getTimezoneCityList", [](D &d, const Args &x) { return text(d.getTimezoneCityList(arg(x, 0))); }},
        {"getProjectElements",
            [](D &d, const Args &x) {
                QStringList items {"stale"};
                const bool ok = d.getProjectElements(arg(x, 0), arg(x, 1), arg(x, 2), items, arg(x, 3));
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
    const auto op = operations().find(step.split(' ').first());
    return op == operations().end() ? QByteArray("no such operation") : (*op)(m_rig->model, stepArgs(step));
}

void TestDeviceRecorder::commands_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArray>("step");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<qint64>("timeout");
    QTest::addColumn<QByteArray>("result");
    // The step names the row.
    const auto row = [](const char *step, const QByteArray &frame, const char *result, const char *setup = "",
                         qint64 timeout = 5000) {
        QTest::newRow(step) << QByteArray(setup) << QByteArray(step) << frame << timeout << QByteArray(result);
    };
    // A DO on the project "show" of "usb" (or the one given) with these further parameters.
    const auto on = [](const char *action, const QByteArray &params = {}, const char *project = "show") {
        return describe(body(
            "DO;action:" + QByteArray(action) + ";record_mount_point:usb;record_project:" + project + ";" + params));
    };
    const auto uri
        = [&on](const char *action, const char *path) { return on(action, "generic_uri:" + QByteArray(path) + ";"); };
    const auto file = [&on](const char *action, const char *name, const char *type) {
        return on(action, "record_user_fname:" + QByteArray(name) + ";type:" + type + ";");
    };

    row("deleteRecordDir usb;show", on("delete_record_dir"), "1");
    row("deleteRecordDir usb;gone", on("delete_record_dir", "", "gone"), "-1");
    row("emptyRecordDir usb;show", on("empty_record_dir"), "1");
    row("setMark", "DO|action=set_mark", "4800000000", "audio recorder_state=play\naudio position=4800000000");
    row("getRecordIndex usb;show", on("get_record_index"), "3");
    row("getProjectSize usb;show", on("get_project_size"), "2");
    // Refusals of the send and the folder test leave their cause with the caller.
    row("sendRecord usb;show;take1.wav", file("send", "take1.wav", "record"), "1 error=");
    row("sendRecord usb;show;take9.wav", file("send", "take9.wav", "record"), "0 error=112-file not found");
    row("getRecordFolder usb;new;create", on("get_record_folder", "type:create;", "new"), "1 error=");
    row("getRecordFolder usb;gone;test", on("get_record_folder", "type:test;", "gone"), "0 error=112-file not found");
    row("projectBuildWav usb;show;show.wav", uri("project_build_wav", "show.wav"), "1", "", 120000);
    row("savePlaylist usb;show;list.m3u", uri("save_playlist", "list.m3u"), "1");
    row("deleteRecordFile usb;show;take2.wav", uri("delete_record_file", "take2.wav"), "1");
    // Sizes in MB, rounded up.
    row("getFileSize usb;show;take1.wav", uri("get_file_size", "take1.wav"), "2");
    row("getFileSize usb;show;take2.wav", uri("get_file_size", "take2.wav"), "1");
    row("openRecord usb;show;take1.dat", file("open", "take1.dat", "dat"), "1", "media:usb:show take1.dat=40000");
    row("projectSetSource usb;show;show.prj;valid;take1.wav;2;take1.dat",
        on("project_set_source",
            "generic_uri:show.prj;project_channel:2;project_element:take1.wav;project_wavmap:take1.dat;"),
        "1");
    row("projectSetSource usb;show;show.prj;invalid;take1.wav;2;take1.dat",
        on("project_set_source", "generic_uri:show.prj;project_channel:;project_element:;project_wavmap:;"), "1");
    // A source without a channel keeps the caller's one and fails.
    row("projectGetSource usb;show;show.prj", uri("project_get_source", "show.prj"), "1 valid=1 take1.wav 2 take1.dat",
        "source:usb:show:show.prj generic_uri=take1.wav\nsource:usb:show:show.prj project_channel=2\n"
        "source:usb:show:show.prj project_wavmap=take1.dat");
    row("projectGetSource usb;show;two.prj", uri("project_get_source", "two.prj"), "0 valid=1 take1.wav old take1.dat",
        "source:usb:show:two.prj generic_uri=take1.wav\nsource:usb:show:two.prj project_wavmap=take1.dat");
    const auto add = [&on](const char *word, const char *wavmap, const char *source) {
        return on("project_action_add",
            "generic_uri:show.prj;project_channel:1;project_element:" + QByteArray(word)
                + ";project_value_end:48000;project_value_hend:96000;project_value_hstart:0;project_value_start:0;"
                  "project_wavmap:"
                + wavmap + ";record_source:" + source + ";");
    };
    // Paths go out and stay in the caller's element by their name; a separator only in front stays.
    row("projectAddElement usb;show;show.prj;/mnt/usb/show/take1.wav;/mnt/usb/show/take1.dat;project_element_tracks",
        add("project_element_tracks", "take1.dat", "take1.wav"), "1 take1.wav take1.dat");
    row("projectAddTrack usb;show;show.prj;C:\\rec\\take1.wav;rec\\take1.dat",
        add("project_element_tracks", "take1.dat", "take1.wav"), "1 take1.wav take1.dat");
    row("projectAddSeparator usb;show;show.prj;/take1.wav;", add("project_separators", "", "/take1.wav"),
        "1 /take1.wav ");
    row("projectAddMark usb;show;show.prj;take1.wav;take1.dat", add("project_element_marks", "take1.dat", "take1.wav"),
        "1 take1.wav take1.dat");
    const auto remove = [&on](const char *word, const char *index, const char *project = "show") {
        return on("project_action_remove",
            "generic_uri:show.prj;project_element:" + QByteArray(word) + ";record_index:" + index + ";", project);
    };
    row("projectRemoveTrack usb;show;show.prj;2", remove("project_element_tracks", "2"), "1");
    row("projectRemoveSeparator usb;show;show.prj;0", remove("project_separators", "0"), "1");
    row("projectRemoveMark usb;gone;show.prj;1", remove("project_element_marks", "1", "gone"), "0");
    // Positions beyond 32 bits.
    row("projectDeleteTrack usb;show;show.prj;3",
        on("project_delete_track",
            "end_mark:18446744073709551615;generic_uri:show.prj;project_value_end:5000480000;"
            "project_value_hend:10000960000;project_value_hstart:10000000000;project_value_start:5000000000;record_"
            "index:3;"),
        "1");
    row("getProjectList usb;show", on("project_list"), "take1.wav|take2.wav");
    row("getRecordFullpath usb;show;3;take3;wav",
        on("get_record_fullpath", "record_extention:wav;record_index:3;record_user_fname:take3;"),
        "/mnt/usb/show/take3.wav");
    row("getPlaybackFullpath usb;show;take1.wav", uri("get_playback_fullpath", "take1.wav"), "/mnt/usb/show/take1.wav");
    row("recordCopyTo usb;show;internal", uri("record_copy_to", "internal"), "1");
    row("recordFileCopyTo usb;show;take1.wav;internal",
        on("record_file_copy_to", "generic_uri:internal;record_user_fname:take1.wav;"), "1");
    row("recordCopyFrom usb;show;internal", uri("record_copy_from", "internal"), "1");
    row("wavToData usb;show;take1", on("wav_to_data", "record_extention:wav;record_user_fname:take1;"),
        "/mnt/usb/show/take1.dat", "", 120000);
    row("getProjectPath usb;show", on("get_project_path"), "/mnt/usb/show");
    // The named free-space reads are the recorder model's media space.
    row("getFreespace get_freespace_usb;-7", "DO|action=get_freespace_usb", "1850");
    row("getTimezoneCityList Europe", "PARAM|target=general|timezone_param=Europe|LIST timezone_city_list",
        "Berlin,Paris,Rome");
    const auto list = [](const char *word) {
        return "PARAM|generic_uri=show.prj|project_element=" + QByteArray(word)
            + "|record_mount_point=usb|record_project=show|target=general|LIST projet_element_list";
    };
    row("getProjectTracks usb;show;show.prj", list("project_element_tracks"), "1 t1|t2",
        "general projet_element_list=[t1,t2]");
    row("getProjectSeparators usb;show;show.prj", list("project_separators"), "1 s1",
        "general projet_element_list=[s1]");
    row("getProjectMarks usb;show;show.prj", list("project_element_marks"), "1 ", "general projet_element_list=[]");
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
    QTest::addColumn<QByteArray>("reply"); // "DO;return:" and this; "error" an error reply instead
    QTest::addColumn<QByteArray>("result");
    const auto row = [](const char *name, const char *step, const char *reply, const char *result) {
        QTest::newRow(name) << QByteArray(step) << QByteArray(reply) << QByteArray(result);
    };

    row("index: missing", "getRecordIndex usb;show", "OK;", "0");
    row("index: abc", "getRecordIndex usb;show", "OK;get_record_index:abc;", "0");
    row("index: overlong", "getRecordIndex usb;show", "OK;get_record_index:99999999999;", "0");
    row("index: digits, then text", "getRecordIndex usb;show", "OK;get_record_index: +42abc;", "42");
    row("index: the smallest int", "getRecordIndex usb;show", "OK;get_record_index:-2147483648;", "-2147483648");
    row("index: refused", "getRecordIndex usb;show", "NOK;get_record_index:5;", "0");
    row("project size: missing", "getProjectSize usb;show", "OK;", "-1");
    row("project size: beyond int", "getProjectSize usb;show", "OK;get_project_size:2147483648;", "-1");
    row("file size: empty", "getFileSize usb;show;take1.wav", "OK;get_file_size:;", "-1");
    row("delete file: abc", "deleteRecordFile usb;show;take1.wav", "OK;delete_record_file:abc;", "-1");
    row("delete folder: missing", "deleteRecordDir usb;show", "OK;", "-1");
    row("empty folder: refused", "emptyRecordDir usb;show", "ERROR;cause:202-file system error;", "-1");
    row("mark: negative", "setMark", "OK;position:-5;", "0");
    row("mark: beyond 64 bits", "setMark", "OK;position:18446744073709551616;", "0");
    row("mark: largest", "setMark", "OK;position:18446744073709551615;", "18446744073709551615");
    row("free space: overlong", "getFreespace get_freespace_usb;-1", "OK;get_freespace_usb:99999999999;", "-1");
    row("open: state not processed", "openRecord usb;show;take1.dat", "OK;state:processing;", "0");
    row("open: processed but refused", "openRecord usb;show;take1.dat", "NOK;state:processed;", "0");
    row("copy to: NOK value", "recordCopyTo usb;show;take1.wav", "OK;record_copy_to:NOK;", "0");
    row("copy file to: NOK value", "recordFileCopyTo usb;show;take1.wav;sd", "OK;record_file_copy_to:NOK;", "0");
    row("waveform data: NOK", "wavToData usb;show;take1", "OK;wav_to_data:NOK;project_wavmap:/x.dat;", "");
    row("waveform data: no path", "wavToData usb;show;take1", "OK;wav_to_data:OK;", "");
    row("project list: refused", "getProjectList usb;show", "ERROR;project_list:a|b;", "");
    row("send: refused without a cause keeps the text", "sendRecord usb;show;take1.wav", "NOK;", "0 error=");
    row("send: unanswered", "sendRecord usb;show;take1.wav", "error", "0 error=");
    row("folder: refused with a cause", "getRecordFolder usb;show;test", "ERROR;cause:107-no space left;",
        "0 error=107-no space left");
    row("source: empty texts", "projectGetSource usb;show;show.prj",
        "OK;generic_uri:a.wav;project_wavmap:;project_channel:1;", "0 valid=1 a.wav 1 ");
    row("delete track: refused", "projectDeleteTrack usb;show;show.prj;3", "NOK;", "0");
    row("set source: refused", "projectSetSource usb;show;show.prj;valid;a;1;b", "ERROR;cause:112-file not found;",
        "0");
}

void TestDeviceRecorder::replies()
{
    QFETCH(QByteArray, step);
    QFETCH(QByteArray, reply);
    QFETCH(QByteArray, result);

    m_rig->device.addFault(reply == "error" ? fault(SimDevice::Fault::ErrorReply, 7) : script({"DO;return:" + reply}));
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
