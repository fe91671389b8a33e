// The editor page's editing, cursor and playback against the simulated device: the requests that cutting a
// piece, adding and deleting separators and marks and deleting a selection send, with positions past 2^31
// samples; the cursor's steps, stops and ends; playback of the source and of the project's tracks one after the
// other.

#include "tests/editortesting.h"
#include "tests/peers/wavebitmapwriter.h"

#include <QtTest>

using namespace editortesting;

namespace {

// The project "kra.prjt" with the source a.wav (60 s, stereo) cut at 10 s and 20 s; its tracks a.wav 0-1 s,
// a.wav 5-8 s on the right channel and b.wav 0-2 s (project 0-1, 1-4, 4-6 s), a mark at 2.5 s.
const QByteArray storedSource = "source:usb:show:kra.prjt generic_uri=a.wav\n"
                                "source:usb:show:kra.prjt project_channel=0\n"
                                "source:usb:show:kra.prjt project_wavmap=a.dat";
const QByteArray tracks = elements("kra.prjt", "project_element_tracks",
    track("a.wav", 0, 1000) + "," + track("a.wav", 5000, 8000, 1) + "," + track("b.wav", 0, 2000));
const QByteArray separators = elements("kra.prjt", "project_separators", at(10000) + "," + at(20000));
const QByteArray marks = elements("kra.prjt", "project_element_marks", at(2500));
const QByteArray projectFile = storedSource + "\n" + tracks + "\n" + separators + "\n" + marks;
// A track of 25 hours, its samples past 2^32, and a mark 12.5 hours in (600000000 samples past 2^31). No wave map
// of c.wav is at hand: the view stays empty at the finest zoom, and draws nothing of the hours.
const QByteArray longProject = storedSource + "\n"
    + elements("kra.prjt", "project_element_tracks", track("c.wav", 0, 1000) + "," + track("c.wav", 0, 90000000)) + "\n"
    + elements("kra.prjt", "project_element_marks", at(45000000));

QByteArray added(const QByteArray &word, const QByteArray &fields)
{
    return action("project_action_add", "kra.prjt", "project_element=" + word + "|" + fields);
}

QByteArray removed(const QByteArray &word, int index)
{
    return action(
        "project_action_remove", "kra.prjt", "project_element=" + word + "|record_index=" + QByteArray::number(index));
}

QByteArrayList reloaded(const QByteArray &word)
{
    return {"DO|action=get_project_path|" + where, list("kra.prjt", word)};
}

QByteArrayList played(const QByteArray &file, const QByteArray &fields)
{
    return {"DO|action=get_playback_fullpath|generic_uri=" + file + "|" + where,
        ordered("DO|action=playback_start|" + fields + "|generic_uri=/mnt/usb/show/" + file
            + "|playback_mode=editor|samplerate=48000")};
}

// A mark or separator: its position, the other fields empty.
QByteArray position(qint64 ms, qint64 samples)
{
    return "project_channel=|project_value_end=|project_value_hend=|project_value_hstart=" + QByteArray::number(ms)
        + "|project_value_start=" + QByteArray::number(samples) + "|project_wavmap=|record_source=";
}

const QByteArray stopped = "DO|action=playback_stop";

} // namespace

class TestEditorEditing : public QObject, public EditorBench
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void editing_data();
    void editing();
    void cursor_data();
    void cursor();
    void markWhilePlaying();
    void buttons_data();
    void buttons();
    void timeTexts_data();
    void timeTexts();
};

void TestEditorEditing::initTestCase()
{
    getCom()->initialize("ui", "quorvane_ui");
    QVERIFY(m_waveMaps.isValid());
    // The project's second recording, never converted in these tests: its wave map is there already.
    WaveBitmapContent b;
    b.durationMs = 8000;
    b.lastSegment = 3;
    QVERIFY(QDir().mkpath(m_waveMaps.filePath("mnt/usb/show")));
    QVERIFY(writeWaveBitmap(m_waveMaps.filePath("mnt/usb/show/b.dat"), b));
}

void TestEditorEditing::init()
{
    QVERIFY(connectDevice());
}

void TestEditorEditing::cleanup()
{
    QVERIFY(disconnectDevice());
}

void TestEditorEditing::editing_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps"); // after the project is opened with its source
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QByteArray>("cursors"); // source cursor, project cursor, project length
    const auto row
        = [](const char *name, const QByteArray &setup, const QByteArrayList &steps, const QByteArrayList &frames,
              const QByteArray &cursors) { QTest::newRow(name) << setup << steps << frames << cursors; };
    const QByteArray piece = "project_value_end=960000|project_value_hend=00:20:000|project_value_hstart=00:10:000|"
                             "project_value_start=480000|project_wavmap=a.dat|record_source=a.wav";

    row("add: the piece between the separators around the cursor, at the project's end", projectFile,
        {"next", "+", "add"},
        QByteArrayList {added("project_element_tracks", "project_channel=0|" + piece)}
            + reloaded("project_element_tracks"),
        "00:10:128|00:00:06:000|00:00:16:000");
    row("add from the right channel", projectFile, {"next", "+", "channel", "add"},
        QByteArrayList {added("project_element_tracks", "project_channel=1|" + piece)}
            + reloaded("project_element_tracks"),
        "00:10:128|00:00:06:000|00:00:16:000");
    // On a separator, the one before it and the one after it bound the piece.
    row("add on a separator: the piece across it", projectFile, {"next", "add"},
        QByteArrayList {added("project_element_tracks",
            "project_channel=0|project_value_end=960000|project_value_hend=00:20:000|project_value_hstart=00:00:000|"
            "project_value_start=0|project_wavmap=a.dat|record_source=a.wav")}
            + reloaded("project_element_tracks"),
        "00:10:000|00:00:06:000|00:00:26:000");
    row("add without separators: the whole source", storedSource + "\n" + tracks, {"add"},
        QByteArrayList {added("project_element_tracks",
            "project_channel=0|project_value_end=2880000|project_value_hend=01:00:000|"
            "project_value_hstart=00:00:000|project_value_start=0|project_wavmap=a.dat|"
            "record_source=a.wav")}
            + reloaded("project_element_tracks"),
        "00:00:000|00:00:06:000|00:01:06:000");
    row("add refused: nothing read again, the cursor kept", projectFile, {"fail project_action_add", "add"},
        QByteArrayList {added("project_element_tracks",
            "project_channel=0|project_value_end=480000|project_value_hend=00:10:000|project_value_hstart=00:00:000|"
            "project_value_start=0|project_wavmap=a.dat|record_source=a.wav")},
        "00:00:000|00:00:00:000|00:00:06:000");
    row("add in the project view: nothing", projectFile, {"project", "add"}, {}, "00:00:000|00:00:00:000|00:00:06:000");
    row("a separator at the source cursor", projectFile, {"+", "mark"},
        QByteArrayList {added("project_separators", position(128, 6144))} + reloaded("project_separators"),
        "00:00:128|00:00:00:000|00:00:06:000");
    row("a mark at the project cursor", projectFile, {"project", "next", "mark"},
        QByteArrayList {added("project_element_marks", position(1000, 48000))} + reloaded("project_element_marks"),
        "00:00:000|00:00:01:000|00:00:06:000");
    row("a separator removed on it", projectFile, {"next", "next", "delmark"},
        QByteArrayList {removed("project_separators", 2)} + reloaded("project_separators"),
        "00:20:000|00:00:00:000|00:00:06:000");
    row("a mark removed on it", projectFile, {"project", "next", "next", "delmark"},
        QByteArrayList {removed("project_element_marks", 1)} + reloaded("project_element_marks"),
        "00:00:000|00:00:02:500|00:00:06:000");
    row("inside a separator's piece: nothing", projectFile, {"+", "delmark"}, {},
        "00:00:128|00:00:00:000|00:00:06:000");
    row("inside the second track: the selection deleted once confirmed, relative to the track", projectFile,
        {"project", "next", "+", "delmark", "ok"},
        QByteArrayList {action("project_delete_track", "kra.prjt",
            "end_mark=288000|project_value_end=72000|project_value_hend=120000|"
            "project_value_hstart=48000|project_value_start=0|record_index=2")}
            + reloaded("project_element_tracks") + reloaded("project_element_marks"),
        "00:00:000|00:00:01:128|00:00:04:500");
    row("the selection kept on cancel", projectFile, {"project", "next", "+", "delmark", "cancel"}, {},
        "00:00:000|00:00:01:128|00:00:06:000");
    row("at the project's start and end: nothing", projectFile,
        {"project", "delmark", "next", "next", "next", "next", "delmark"}, {}, "00:00:000|00:00:06:000|00:00:06:000");
    row("a day-long project: its length past 23 hours", longProject, {"project"}, {},
        "00:00:000|00:00:00:000|25:00:01:000");
    row("past 2^31 samples: a mark, and a selection in the long track", longProject,
        {"project", "next", "next", "+", "mark", "-", "-", "delmark", "ok"},
        QByteArrayList {added("project_element_marks", position(45000016, 2160000768))}
            + reloaded("project_element_marks")
            + QByteArrayList {action("project_delete_track", "kra.prjt",
                "end_mark=4320048000|project_value_end=2159952000|project_value_hend=2160000000|"
                "project_value_hstart=48000|project_value_start=0|record_index=2")}
            + reloaded("project_element_tracks") + reloaded("project_element_marks"),
        "00:00:000|12:29:59:984|12:30:02:000");
    row("exactly at a track's start: the selection within that track", projectFile,
        {"project", "next", "delmark", "ok"},
        QByteArrayList {action("project_delete_track", "kra.prjt",
            "end_mark=288000|project_value_end=72000|project_value_hend=120000|"
            "project_value_hstart=48000|project_value_start=0|record_index=2")}
            + reloaded("project_element_tracks") + reloaded("project_element_marks"),
        "00:00:000|00:00:01:000|00:00:04:500");
    row("nothing loaded: nothing played, cut or marked", QByteArray(),
        {"play", "add", "mark", "delmark", "project", "play", "mark", "delmark"}, {},
        "00:00:000|00:00:00:000|00:00:00:000");
}

void TestEditorEditing::editing()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, cursors);
    QVERIFY(openPage(setup));
    run({"select 0"});
    takeFrames();
    takeMessages();
    run(steps);
    QCOMPARE(takeFrames(), frames);
    const QVexmarEditorPage &p = *m_page;
    QCOMPARE(QByteArrayList({p.lbl_SourceCursor->text().toUtf8(), p.lbl_ProjectCursor->text().toUtf8(),
                                p.lbl_ProjectLength->text().toUtf8()})
                 .join('|'),
        cursors);
}

void TestEditorEditing::cursor_data()
{
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArrayList>("frames");
    QTest::addColumn<QByteArray>("cursors"); // source cursor, project cursor
    const auto row = [](const char *name, const QByteArrayList &steps, const QByteArrayList &frames,
                         const QByteArray &cursors) { QTest::newRow(name) << steps << frames << cursors; };
    row("speed 16 at zoom 3: 128 ms a step", {"+", "+"}, {}, "00:00:256|00:00:00:000");
    row("speed 1: 8 ms", {"step", "+"}, {}, "00:00:008|00:00:00:000");
    row("speed 4: 32 ms", {"step", "step", "+"}, {}, "00:00:032|00:00:00:000");
    row("clamped at 0", {"+", "-", "-"}, {}, "00:00:000|00:00:00:000");
    row("clamped at the end", {"next", "next", "next", "+"}, {}, "01:00:000|00:00:00:000");
    row("previous and next: the separators, then 0 and the end", {"next", "next", "next", "next", "previous"}, {},
        "00:20:000|00:00:00:000");
    row("previous with no separator before: 0", {"+", "previous"}, {}, "00:00:000|00:00:00:000");
    row("previous on a separator: the one before it", {"next", "next", "previous"}, {}, "00:10:000|00:00:00:000");
    row("previous on the first separator: 0", {"next", "previous"}, {}, "00:00:000|00:00:00:000");
    row("the project's stops: track ends and marks", {"project", "next", "next", "next", "previous"}, {},
        "00:00:000|00:00:02:500");
    row("the source played to its end, then stopped", {"next", "next", "next", "-", "play", "wait playback_stop"},
        played("a.wav", "channel=left|end_mark=2880000|mode=stereo|start_mark=2873856") + QByteArrayList {stopped},
        "01:00:000|00:00:00:000");
    row("a knob step while playing stops, and moves nothing", {"play", "+"},
        played("a.wav", "channel=left|end_mark=2880000|mode=stereo|start_mark=0") + QByteArrayList {stopped},
        "~00:00:");
    row("the second track played from 1500 ms into it, then the third",
        {"project", "next", "next", "play", "wait b.wav", "play"},
        played("a.wav", "channel=right|end_mark=384000|mode=stereo|start_mark=312000") + QByteArrayList {stopped}
            + played("b.wav", "channel=left|end_mark=96000|mode=mono|start_mark=0") + QByteArrayList {stopped},
        "~00:00:000|00:00:04:");
}

void TestEditorEditing::cursor()
{
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, cursors);
    QVERIFY(openPage(projectFile));
    run({"select 0"});
    QCOMPARE(m_page->graphSource->zoom(), 3);
    QCOMPARE(m_page->graphProject->zoom(), 3);
    takeFrames();
    takeMessages();
    run(steps);
    QCOMPARE(takeFrames(), frames);
    const QByteArray shown
        = m_page->lbl_SourceCursor->text().toUtf8() + "|" + m_page->lbl_ProjectCursor->text().toUtf8();
    // A clock stopped by a touch stands a tick or so past where it was.
    if (cursors.startsWith("~"))
        QVERIFY2(shown.startsWith(cursors.mid(1)), shown.constData());
    else
        QCOMPARE(shown, cursors);
    QVERIFY(!m_page->isPlaying());
}

// While the source plays, the device tells where it is in the file; while the project plays, its position is one
// in the file of the track playing, so the project's own cursor counts.
void TestEditorEditing::markWhilePlaying()
{
    QVERIFY(openPage(projectFile + "\naudio position=480000"));
    run({"select 0"});
    takeFrames();
    run({"play", "mark", "play"});
    QByteArrayList frames = takeFrames();
    QCOMPARE(frames.mid(0, 2), played("a.wav", "channel=left|end_mark=2880000|mode=stereo|start_mark=0"));
    QCOMPARE(frames.mid(2),
        QByteArrayList({"DO|action=set_mark", added("project_separators", position(10000, 480000))})
            + reloaded("project_separators") + QByteArrayList {stopped});

    run({"project", "play", "mark", "play"});
    frames = takeFrames();
    QCOMPARE(frames.mid(0, 2), played("a.wav", "channel=left|end_mark=48000|mode=stereo|start_mark=0"));
    QCOMPARE(frames.size(), 6);
    QVERIFY2(frames[2].startsWith(ordered(added("project_element_marks", position(0, 0))).left(70)), frames[2]);
    const qint64 ms = frames[2].mid(frames[2].indexOf("project_value_hstart=") + 21).split('|').first().toLongLong();
    QVERIFY2(ms < 1000, frames[2].constData()); // the cursor, not the device's 10 s
    QCOMPARE(frames.mid(3), reloaded("project_element_marks") + QByteArrayList {stopped});
}

// What the buttons show: whether they act where the cursor stands, in which view, with what loaded.
void TestEditorEditing::buttons_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArray>("editing"); // add, mark, delete mark, previous, next
    QTest::addColumn<QByteArray>("others"); // play, save, trash, open, zoom in, zoom out, speed
    const QByteArray source = "play-white save_grey trash-disable open_folder zoom_plus_white zoom_minus_grey btn_x16";
    QTest::newRow("nothing loaded") << QByteArray() << QByteArrayList {"show"}
                                    << QByteArray(
                                           "btn_go_grey btn_mark_grey btn_del_grey play-prev-grey play-next-grey")
                                    << QByteArray("play-grey save_grey trash-disable open_folder zoom_plus_grey "
                                                  "zoom_minus_grey btn_x16");
    QTest::newRow("source at its start") << projectFile << QByteArrayList {"select 0"}
                                         << QByteArray("btn_go_grey btn_mark_grey btn_del_grey play-prev-grey "
                                                       "play-next-white")
                                         << source;
    QTest::newRow("source inside") << projectFile << QByteArrayList {"select 0", "+"}
                                   << QByteArray("btn_go btn_mark btn_del_grey play-prev-white play-next-white")
                                   << source;
    QTest::newRow("source on a separator")
        << projectFile << QByteArrayList {"select 0", "next"}
        << QByteArray("btn_go_grey btn_mark_grey btn_del_white play-prev-white play-next-white") << source;
    QTest::newRow("source at its end, zoomed in to the finest")
        << projectFile << QByteArrayList {"select 0", "next", "next", "next", "zoomin", "zoomin", "zoomin", "zoomin"}
        << QByteArray("btn_go_grey btn_mark_grey btn_del_grey play-prev-white play-next-grey")
        << QByteArray("play-white save_grey trash-disable open_folder zoom_plus_grey zoom_minus_white btn_x16");
    QTest::newRow("project at its start")
        << projectFile << QByteArrayList {"select 0", "project"}
        << QByteArray("btn_go_grey btn_mark_grey btn_del_grey play-prev-grey play-next-white")
        << QByteArray("play-white save_white trash open_folder_grey zoom_plus_white zoom_minus_grey btn_x16");
    QTest::newRow("project inside, playing, at speed 1")
        << projectFile << QByteArrayList {"select 0", "project", "+", "step", "play"}
        << QByteArray("btn_go_grey btn_mark btn_del_white play-prev-white play-next-white")
        << QByteArray("stop-white save_white trash open_folder_grey zoom_plus_white zoom_minus_grey btn_x1");
}

void TestEditorEditing::buttons()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArray, editing);
    QFETCH(QByteArray, others);
    QVERIFY(openPage(setup));
    run(steps);
    const QVexmarEditorPage &p = *m_page;
    const auto images = [](const QList<QVexmarButton *> &buttons) {
        QByteArrayList names;
        for (const QVexmarButton *button : buttons)
            names << imageOf(button);
        return names.join(' ');
    };
    QCOMPARE(images({p.btn_Add, p.btn_AddMark, p.btn_DelMark, p.btn_previous, p.btn_Next}), editing);
    QCOMPARE(
        images({p.btn_Play, p.btn_Save, p.btn_Trash, p.btn_Open, p.btn_ZoomIn, p.btn_ZoomOut, p.btn_Step}), others);
    if (m_page->isPlaying())
        run({"play"});
}

void TestEditorEditing::timeTexts_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("project");
    QTest::newRow("59:59.999") << qint64(3599999) << "59:59:999"
                               << "00:59:59:999";
    QTest::newRow("an hour: the minutes count on") << qint64(3600000) << "60:00:000"
                                                   << "01:00:00:000";
    QTest::newRow("25 h 1 s: the hours count on") << qint64(90001000) << "1500:01:000"
                                                  << "25:00:01:000";
}

void TestEditorEditing::timeTexts()
{
    QFETCH(qint64, ms);
    QFETCH(QString, source);
    QFETCH(QString, project);
    QCOMPARE(QVexmarEditorPage::sourceTimeText(ms), source);
    QCOMPARE(QVexmarEditorPage::projectTimeText(ms), project);
}

QTEST_MAIN(TestEditorEditing)
#include "tst_editorediting.moc"
