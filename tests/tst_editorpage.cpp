// The editor page's loading against the simulated device: what a visit reads and writes with and without a
// recording handed over, the project chosen, created or refused, a stored source, saving and clearing the
// project, the way to the folder and home; the wave maps found below the local folder or not.

#include "screen/vexmarwindow.h"
#include "tests/editortesting.h"

#include <QStackedLayout>
#include <QtTest>

using namespace editortesting;

namespace {

const QByteArray nextWav = "DB|GET editor_next_wav";
const QByteArray nextWavEmptied = "DB|editor_next_wav=";
const QByteArray projects = "DO|action=project_list|" + where;
// The project file "kra.prjt": two separators, two tracks of a.wav (1 s and 2 s) and a mark.
const QByteArray defaultProject = elements("kra.prjt", "project_separators", at(1000) + "," + at(2000)) + "\n"
    + elements("kra.prjt", "project_element_tracks", track("a.wav", 0, 1000) + "," + track("a.wav", 5000, 7000)) + "\n"
    + elements("kra.prjt", "project_element_marks", at(1500));
// Before anything is loaded the times are 0, written as every later time is.
const QByteArray emptyLabels = "00:00:000|00:00:000|00:00:00:000|00:00:00:000";

} // namespace

class TestEditorPage : public QObject, public EditorBench
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void visit_data();
    void visit();
    void deviceTexts_data();
    void deviceTexts();
    void waveMapFolder_data();
    void waveMapFolder();
    void bounds_data();
    void bounds();
    void inTheWindow();
};

void TestEditorPage::initTestCase()
{
    getCom()->initialize("ui", "quorvane_ui");
    QVERIFY(m_waveMaps.isValid());
}

void TestEditorPage::init()
{
    QVERIFY(connectDevice());
}

void TestEditorPage::cleanup()
{
    QVERIFY(disconnectDevice());
}

void TestEditorPage::visit_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArrayList>("frames"); // of the first show and the steps
    QTest::addColumn<QByteArrayList>("messages");
    QTest::addColumn<QByteArray>("labels"); // file, index, project, source cursor and length, project ones
    QTest::addColumn<QByteArray>("popups");
    const QByteArrayList first = {playbackPath, nextWav};
    const auto row
        = [](const char *name, const QByteArray &setup, const QByteArrayList &steps, const QByteArrayList &frames,
              const QByteArrayList &messages, const QByteArray &labels, const QByteArray &popups = {}) {
              QTest::newRow(name) << setup << steps << frames << messages << labels << popups;
          };

    row("no hand-over: the projects offered, no list read", defaultProject, {}, first + QByteArrayList {projects}, {},
        "No file selected !|...|Project|" + emptyLabels, "selector");
    row("a hand-over: converted, announced, the source set, the old separators gone highest first, lists read",
        defaultProject + "\n" + handOver("a.wav"), {},
        first
            + QByteArrayList {nextWavEmptied,
                "DO|action=wav_to_data|record_extention=wav|" + where + "|record_user_fname=a.wav",
                action(
                    "project_set_source", "kra.prjt", "project_channel=0|project_element=a.wav|project_wavmap=a.dat"),
                list("kra.prjt", "project_separators"),
                action("project_action_remove", "kra.prjt", "project_element=project_separators|record_index=2"),
                action("project_action_remove", "kra.prjt", "project_element=project_separators|record_index=1")}
            + reloadAll("kra.prjt"),
        {"Finished. (2000 ms)"}, "a|...|Project: Default|00:00:000|01:00:000|00:00:00:000|00:00:03:000");
    QByteArrayList many;
    QByteArrayList removals;
    for (int i = 1; i <= 150; ++i)
        many << at(i);
    for (int i = 150; i > 50; --i)
        removals << action("project_action_remove", "kra.prjt",
            "project_element=project_separators|record_index=" + QByteArray::number(i));
    row("a hand-over past 100 separators: the highest 100 removed, the rest said",
        defaultProject + "\n" + elements("kra.prjt", "project_separators", many.join(',')) + "\n" + handOver("a.wav"),
        {},
        first
            + QByteArrayList {nextWavEmptied,
                "DO|action=wav_to_data|record_extention=wav|" + where + "|record_user_fname=a.wav",
                action(
                    "project_set_source", "kra.prjt", "project_channel=0|project_element=a.wav|project_wavmap=a.dat"),
                list("kra.prjt", "project_separators")}
            + removals + reloadAll("kra.prjt"),
        {"100 separators of the previous source were removed; 50 remain."},
        "a|...|Project: Default|00:00:000|01:00:000|00:00:00:000|00:00:03:000");
    row("a hand-over that the device cannot convert: said so, nothing set or removed",
        defaultProject + "\n" + handOver("gone.wav"), {},
        first
            + QByteArrayList {nextWavEmptied,
                "DO|action=wav_to_data|record_extention=wav|" + where + "|record_user_fname=gone.wav"}
            + reloadAll("kra.prjt"),
        {"Failed to prepare gone.wav"},
        "No file selected !|...|Project: Default|00:00:000|00:00:000|00:00:00:000|00:00:03:000");
    row("a project chosen with its stored source: converted without a word, nothing set",
        "source:usb:show:001.prjt generic_uri=b.wav\nsource:usb:show:001.prjt project_channel=0\n"
        "source:usb:show:001.prjt project_wavmap=b.dat",
        {"select 1"},
        first
            + QByteArrayList {projects, playbackPath, nextWav, action("project_get_source", "001.prjt"),
                "DO|action=wav_to_data|record_extention=wav|" + where + "|record_user_fname=b.wav"}
            + reloadAll("001.prjt"),
        {}, "b|...|Project : 001.prjt|00:00:000|00:08:000|00:00:00:000|00:00:00:000");
    row("the default project chosen, without a source: only the lists", defaultProject, {"select 0"},
        first + QByteArrayList {projects, playbackPath, nextWav, action("project_get_source", "kra.prjt")}
            + reloadAll("kra.prjt"),
        {}, "No file selected !|...|Project : kra.prjt|00:00:000|00:00:000|00:00:00:000|00:00:03:000");
    row("rows of another length or with positions that are no decimal numbers left out; a negative one said",
        defaultProject + "\n"
            + elements("kra.prjt", "project_element_tracks",
                track("a.wav", 0, 1000) + ",a.wav|a.dat|0|0x10|96000|x|y,a.wav|a.dat|0|0|48000|x,"
                    + "a.wav|a.dat|0|-48000|48000|x|y,a.wav|a.dat|L|0|48000|x|y,a.wav|a.dat|0|0|4.8e4|x|y"),
        {"select 0"},
        first + QByteArrayList {projects, playbackPath, nextWav, action("project_get_source", "kra.prjt")}
            + reloadAll("kra.prjt"),
        {"The device sent 1 project rows with positions out of range; they are left out."},
        "No file selected !|...|Project : kra.prjt|00:00:000|00:00:000|00:00:00:000|00:00:01:000");
    row("a reload from the stored source before any project: the default one", defaultProject, {"refresh"},
        first + QByteArrayList {projects, nextWav, action("project_get_source", "kra.prjt")} + reloadAll("kra.prjt"),
        {}, "No file selected !|...|Project: Default|00:00:000|00:00:000|00:00:00:000|00:00:03:000", "selector");
    row("a new project: made on the device, then loaded", {}, {"new"},
        first
            + QByteArrayList {projects, action("project_new", "002.prjt"), playbackPath, nextWav,
                action("project_get_source", "002.prjt")}
            + reloadAll("002.prjt"),
        {}, "No file selected !|...|Project : 002.prjt|00:00:000|00:00:000|00:00:00:000|00:00:00:000");
    row("a new project refused: the old project kept, and said", {}, {"fail project_new", "new"},
        first + QByteArrayList {projects, action("project_new", "002.prjt")}, {"Failed to create the project 002.prjt"},
        "No file selected !|...|Project|" + emptyLabels);

    const QByteArrayList opened = first
        + QByteArrayList {projects, playbackPath, nextWav, action("project_get_source", "kra.prjt")}
        + reloadAll("kra.prjt");
    const QByteArray openedLabels = "No file selected !|...|Project : kra.prjt|00:00:000|00:00:000|00:00:00:000|";
    row("saved: the waiting message turns into the result", defaultProject,
        {"select 0", "project", "save", "wait project_build_wav"},
        opened + QByteArrayList {action("project_build_wav", "kra.prjt")}, {"Finished."},
        openedLabels + "00:00:03:000");
    row("a save refused: said so in the same message", defaultProject,
        {"select 0", "project", "fail project_build_wav", "save", "wait project_build_wav"},
        opened + QByteArrayList {action("project_build_wav", "kra.prjt")}, {"Failed to save the project."},
        openedLabels + "00:00:03:000");
    row("no save in the source view", defaultProject, {"select 0", "save"}, opened, {}, openedLabels + "00:00:03:000");
    row("the project cleared only when confirmed", defaultProject, {"select 0", "project", "trash", "cancel"}, opened,
        {}, openedLabels + "00:00:03:000");
    row("the project cleared and read again", defaultProject, {"select 0", "project", "trash", "ok"},
        opened + QByteArrayList {action("project_new", "kra.prjt"), nextWav, action("project_get_source", "kra.prjt")}
            + reloadAll("kra.prjt"),
        {}, openedLabels + "00:00:00:000");
    row("a clearing refused: the project kept, and said", defaultProject,
        {"select 0", "project", "trash", "fail project_new", "ok"},
        opened + QByteArrayList {action("project_new", "kra.prjt")}, {"Failed to clear the project."},
        openedLabels + "00:00:03:000");
    row("no clearing in the source view", defaultProject, {"select 0", "trash"}, opened, {},
        openedLabels + "00:00:03:000");
    row("open: the folder page in editor mode", defaultProject, {"select 0", "open"},
        opened + QByteArrayList {"DB|is_editor_mode=on", "page 13"}, {}, openedLabels + "00:00:03:000");
    row("open does nothing in the project view", defaultProject, {"select 0", "project", "open"}, opened, {},
        openedLabels + "00:00:03:000");
    row("home: editor mode off", defaultProject, {"select 0", "home"},
        opened + QByteArrayList {"DB|is_editor_mode=off", "page 1"}, {}, openedLabels + "00:00:03:000");
}

void TestEditorPage::visit()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArrayList, messages);
    QFETCH(QByteArray, labels);
    QFETCH(QByteArray, popups);
    QVERIFY(openPage(setup));
    run(steps);
    QCOMPARE(takeFrames(), frames);
    QCOMPARE(takeMessages(), messages);
    QCOMPARE(this->labels(), labels);
    QCOMPARE(this->popups(), popups);
}

// The device's folder of the project is looked for below the local one, never outside it: the local folder here
// is "inner", and a copy of the wave map lies one level up, where a path with ".." would lead.
void TestEditorPage::deviceTexts_data()
{
    QTest::addColumn<QByteArray>("file"); // in the project "show" of USB
    QTest::addColumn<bool>("source"); // the file is 001.prjt's source
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArray>("text"); // as a label shows it
    QTest::addColumn<QByteArrayList>("looks");
    const QByteArray img = R"(<img src=":/images/rec-red.png">)";
    dataRow("a project offered", img + ".prjt", false, QByteArrayList(), "Project: " + img,
        QByteArrayList {"QWidget label: plain"});
    dataRow("the project chosen", img + ".prjt", false, QByteArrayList {"select 2"}, "Project : " + img + ".prjt",
        QByteArrayList {"editorProjectLabel: plain"});
    // A wave map's name holds no '/': markup without one.
    dataRow("the project's source", QByteArray("<b>x.wav"), true, QByteArrayList {"select 1"}, QByteArray("<b>x"),
        QByteArrayList {"editorFileLabel: plain"});
}

// Names of files and projects that the device sends show as the text they are, never as markup.
void TestEditorPage::deviceTexts()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, source);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArray, text);
    QFETCH(QByteArrayList, looks);
    m_device->setParam("media:usb:show", file.toStdString(), "100");
    if (source) {
        const std::string stored = "source:usb:show:001.prjt";
        m_device->setParam("wave:usb:show", file.toStdString(), "8000/1/3");
        m_device->setParam(stored, "generic_uri", file.toStdString());
        m_device->setParam(stored, "project_channel", "0");
        m_device->setParam(stored, "project_wavmap", file.replace(".wav", ".dat").toStdString());
    }
    QVERIFY(openPage(defaultProject));
    run(steps);
    QCOMPARE(textLook(m_page.get(), QString::fromUtf8(text)), looks);
}

void TestEditorPage::waveMapFolder_data()
{
    QTest::addColumn<QByteArray>("path"); // what the device answers for the project's folder
    QTest::addColumn<QByteArray>("file"); // the file label then
    QTest::addColumn<qint64>("length");
    QTest::addColumn<QByteArray>("logged"); // the folder in the warning, if one
    const QByteArray missing = "No waveform data for a.dat";
    dataRow("the project's folder", QByteArray("/mnt/usb/show/"), QByteArray("a"), qint64(60000), QByteArray());
    dataRow("a folder without the file", QByteArray("/mnt/usb/other"), missing, qint64(0), QByteArray());
    dataRow(
        "out of the local folder", QByteArray("/../mnt/usb/show"), missing, qint64(0), QByteArray("/../mnt/usb/show"));
    dataRow(
        "out with backslashes", QByteArray("\\..\\mnt\\usb\\show"), missing, qint64(0), QByteArray("/../mnt/usb/show"));
    // A line of its own in the log would read as the program's.
    dataRow("out, with a line break", QByteArray("/../x\nEditor: forged"), missing, qint64(0),
        QByteArray("/../x\\nEditor: forged"));
    dataRow("no folder told", QByteArray(), missing, qint64(0), QByteArray());
}

void TestEditorPage::waveMapFolder()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, file);
    QFETCH(qint64, length);
    QFETCH(QByteArray, logged);
    QVERIFY(openPage(handOver("a.wav")));
    const QString outer = m_waveMaps.filePath("mnt/usb/show/a.dat");
    const QString inner = m_waveMaps.filePath("inner/mnt/usb/show/a.dat");
    QVERIFY(QFileInfo(outer).isFile());
    QVERIFY(QDir().mkpath(QFileInfo(inner).path()));
    QFile::remove(inner);
    QVERIFY(QFile::copy(outer, inner));
    m_page->setWaveMapRoot(m_waveMaps.filePath("inner"));
    m_device->setAction("get_playback_fullpath",
        [path](const kra::CMsg &, kra::CMsg &reply) { reply.setParam("get_playback_fullpath", path.toStdString()); });
    m_device->loadSetup(handOver("a.wav"));
    if (!logged.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, "Editor: the project folder \"" + logged + "\" is outside the wave maps");
    run({"show"});
    takeMessages();
    QCOMPARE(m_page->lbl_File->text().toUtf8(), file);
    QCOMPARE(m_page->graphSource->durationMs(), length);
}

// Element rows with numbers past what a project holds, a recording handed over so that the tracks have a wave map:
// refused and said, or kept up to the cap and said; the project's length never wraps, the project view at its
// finest zoom builds no more than its width, and the page steps on to the next stop after.
void TestEditorPage::bounds_data()
{
    QTest::addColumn<QByteArray>("tracks");
    QTest::addColumn<QByteArray>("marks");
    QTest::addColumn<QByteArrayList>("messages");
    QTest::addColumn<int>("kept"); // tracks and marks
    QTest::addColumn<QByteArray>("length");
    QTest::addColumn<QByteArray>("next"); // the project cursor after a step to the next stop
    const auto times = [](int count, const QByteArray &row) {
        QByteArrayList rows;
        for (int i = 0; i < count; ++i)
            rows << row;
        return rows.join(',');
    };
    const QByteArray max = "9223372036854775807";
    const QByteArray longest = "103079215104"; // 2^31 ms
    const QByteArray refused = "The device sent %1 project rows with positions out of range; they are left out.";
    const QByteArray a = track("a.wav", 0, 3000);
    const QByteArray mark = at(1500);
    QTest::newRow("a track ending at 2^63-1: refused")
        << a + ",a.wav|a.dat|0|0|" + max + "|x|y" << mark << QByteArrayList {QByteArray(refused).replace("%1", "1")}
        << 2 << QByteArray("00:00:03:000") << QByteArray("00:00:01:500");
    QTest::newRow("49 tracks ending at 2^63-1: refused")
        << times(49, "a.wav|a.dat|0|0|" + max + "|x|y") << QByteArray()
        << QByteArrayList {QByteArray(refused).replace("%1", "49")} << 0 << QByteArray("00:00:00:000")
        << QByteArray("00:00:00:000");
    QTest::newRow("a position past 2^64 and a negative channel: refused")
        << a + ",a.wav|a.dat|0|0|99999999999999999999|x|y,a.wav|a.dat|-1|0|48|x|y" << mark
        << QByteArrayList {QByteArray(refused).replace("%1", "2")} << 2 << QByteArray("00:00:03:000")
        << QByteArray("00:00:01:500");
    QTest::newRow("49 tracks of 2^31 ms: kept, their sum the length")
        << times(49, "a.wav|a.dat|0|0|" + longest + "|x|y") << QByteArray() << QByteArrayList {"Finished. (2000 ms)"}
        << 49 << QByteArray("29229:38:18:752") << QByteArray("596:31:23:648");
    QTest::newRow("a track a sample longer: refused")
        << a + ",a.wav|a.dat|0|0|103079215105|x|y" << mark << QByteArrayList {QByteArray(refused).replace("%1", "1")}
        << 2 << QByteArray("00:00:03:000") << QByteArray("00:00:01:500");
    QTest::newRow("a mark past 1000 tracks of 2^31 ms: refused")
        << a << mark + ",|||103079215104001||0|" << QByteArrayList {QByteArray(refused).replace("%1", "1")} << 2
        << QByteArray("00:00:03:000") << QByteArray("00:00:01:500");
    QTest::newRow("1001 marks: 1000 kept")
        << a << times(1001, at(2))
        << QByteArrayList {"The project lists more than 1000 tracks, marks or separators; 1 more are left out."} << 1001
        << QByteArray("00:00:03:000") << QByteArray("00:00:00:002");
}

void TestEditorPage::bounds()
{
    QFETCH(QByteArray, tracks);
    QFETCH(QByteArray, marks);
    QFETCH(QByteArrayList, messages);
    QFETCH(int, kept);
    QFETCH(QByteArray, length);
    QFETCH(QByteArray, next);
    QVERIFY(openPage(elements("kra.prjt", "project_element_tracks", tracks) + "\n"
        + elements("kra.prjt", "project_element_marks", marks) + "\n" + handOver("a.wav")));
    QCOMPARE(takeMessages(), messages);
    DrawBarGraph &graph = *m_page->graphProject;
    QCOMPARE(graph.trackCount() + graph.markCount(), kept);
    QCOMPARE(m_page->lbl_ProjectLength->text().toUtf8(), length);

    run({"project"});
    graph.setZoom(0);
    for (const qint64 cursor : {qint64(0), graph.durationMs()}) {
        graph.setCursorPosition(cursor);
        graph.grab();
        const TrackRecord *display = graph.model().record(TrackGraphModel::DisplayList, 0);
        QVERIFY(!display || display->upperValues.size() <= 1000);
    }
    run({"next"});
    QCOMPARE(m_page->lbl_ProjectCursor->text().toUtf8(), next);
    QCOMPARE(takeMessages(), QByteArrayList());
}

// The screen window's page 15 is the editor, and Home on it leads home. Its names are unique in the window.
void TestEditorPage::inTheWindow()
{
    QVexmarWindow window;
    window.pageActivated(QVexmar::EditorPage);
    QCOMPARE(window.currentPage(), int(QVexmar::EditorPage));
    auto *editor = qobject_cast<QVexmarEditorPage *>(window.pageStack()->currentWidget());
    QVERIFY(editor);
    QMap<QString, int> names;
    for (const QObject *object : window.findChildren<QObject *>()) {
        if (!object->objectName().isEmpty())
            ++names[object->objectName()];
    }
    for (const QObject *object : editor->findChildren<QObject *>()) {
        if (object->objectName().startsWith(QLatin1String("editor")))
            QVERIFY2(names.value(object->objectName()) == 1, qPrintable(object->objectName()));
    }
    QTest::mouseClick(editor->btn_Home, Qt::LeftButton);
    QCOMPARE(window.currentPage(), int(QVexmar::HomePage));
}

QTEST_MAIN(TestEditorPage)
#include "tst_editorpage.moc"
