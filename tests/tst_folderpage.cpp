// The folder page against the simulated device: what a show asks and writes, what the lists and labels show,
// the requests that clicks send (a request to the application's parameter store reads "DB|"), the images the
// buttons show, and the delete confirmation.

#include "pages/recordermodel.h"
#include "pages/vexmarfolderpage.h"
#include "screen/vexmarwindow.h"
#include "tests/foldertesting.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarconfirm.h"
#include "widgets/vexmarmessage.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QStackedLayout>
#include <QtTest>

#include <memory>

using namespace foldertesting;

namespace {

// A third take that shares its index with the first.
const QByteArray threeLines = "media:usb:show records_list=[a|001|Take one|wav|00:01:05|D1|T1|2,"
                              "b|002|Take two|mpg2|00:00:30|D2|T2|1,c|001|Take three|wav|00:02:00|D3|T3|1]";
const QByteArray threeTakes = threeLines + "\nmedia:usb:show c=100";
const QByteArray recordsRequest = "PARAM" + where + "|target=general|LIST records_list";
const QByteArray plist = "PARAM" + where + "|target=general|LIST records_plist";

QByteArray started(const QByteArray &file)
{
    return "DO|action=get_playback_fullpath|generic_uri=" + file + where
        + "\nDO|action=playback_start|generic_uri=/mnt/usb/show/" + file + "|record_format=wav";
}

// The image a button shows: the name of the resource it is.
QByteArray imageOf(const QVexmarButton *button)
{
    static const QStringList paths = [] {
        QStringList list;
        for (const char *name : {"play-white", "play-grey", "pause-white", "stop-white", "stop-grey", "trash",
                 "trash-disable", "share", "share-disable", "waves", "waves-disable", "pencil-disable",
                 "push-right-white", "push-right-grey", "push-left-white", "push-left-grey", "goUp-white", "goUp-grey",
                 "goDw-white", "goDw-grey", "play-prev-white", "play-prev-grey", "play-next-white", "play-next-grey"})
            list << QStringLiteral(":/images/%1.png").arg(QLatin1String(name));
        return list;
    }();
    return ::imageOf(button, paths);
}

QByteArray images(const QList<QVexmarButton *> &buttons)
{
    QByteArrayList names;
    for (const QVexmarButton *button : buttons)
        names << imageOf(button);
    return names.join(' ');
}

} // namespace

class TestFolderPage : public QObject, public FolderBench
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void show_data();
    void show();
    void projectsWithoutDrive();
    void lists_data();
    void lists();
    void controls_data();
    void controls();
    void wrongImage_data();
    void wrongImage();
    void deletion_data();
    void deletion();
    void caps_data();
    void caps();
    void homeInTheWindow();

private:
    void run(const QByteArrayList &steps);
};

void TestFolderPage::initTestCase()
{
    getCom()->initialize("ui", "quorvane_ui");
}

void TestFolderPage::init()
{
    QVERIFY(connectDevice());
}

void TestFolderPage::cleanup()
{
    QVERIFY(disconnectDevice());
}

// L<row> and R<row> click an item of the records list or the play list; the other words are buttons, the
// confirmation's answers, "editor" (the device's editor mode on) and "reshow" (the page hidden and shown again).
void TestFolderPage::run(const QByteArrayList &steps)
{
    QVexmarFolderPage &p = *m_page;
    const QMap<QByteArray, QVexmarButton *> buttons = {{"play", p.btn_LeftPlayPause}, {"stop", p.btn_LeftStop},
        {"rplay", p.btn_RightPlayPause}, {"rstop", p.btn_RightStop}, {"next", p.btn_RightNext},
        {"prev", p.btn_RightPrevious}, {"right", p.btn_goRight}, {"left", p.btn_goLeft}, {"up", p.btn_ItemUp},
        {"down", p.btn_ItemDown}, {"trash", p.btn_Trash}, {"home", p.btn_Home}};
    for (const QByteArray &step : steps) {
        if (step.startsWith('L') || step.startsWith('R')) {
            QListWidget *list = step.startsWith('L') ? p.listWidget_Left : p.listWidget_Right;
            QListWidgetItem *item = list->item(step.mid(1).toInt());
            QVERIFY2(item, step.constData());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        } else if (step == "ok" || step == "cancel") {
            auto *confirm = p.findChild<QVexmarConfirmAction *>();
            QVERIFY(confirm && confirm->isVisible());
            QTest::mouseClick(step == "ok" ? confirm->okButton : confirm->cancelButton, Qt::LeftButton);
            QTRY_VERIFY(!p.findChild<QVexmarConfirmAction *>());
        } else if (step == "editor") {
            m_device->setParam("db:ui:quorvane_ui", "is_editor_mode", "on");
        } else if (step == "reshow") {
            p.hide();
            p.show();
        } else {
            QVERIFY2(buttons.contains(step), step.constData());
            QTest::mouseClick(buttons[step], Qt::LeftButton);
        }
    }
}

void TestFolderPage::show_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("frames"); // of the construction and the show
    QTest::addColumn<QByteArray>("drives");
    QTest::addColumn<QByteArray>("projects");
    QTest::addColumn<QByteArray>("labels"); // free space, folder
    QTest::addColumn<QByteArray>("enabled"); // drives, projects, project tools
    QTest::addColumn<QByteArray>("lists"); // records | play list, or "lock"
    const QByteArrayList built = {state, "DO|action=subscribe|info=time_stamp"};

    QTest::newRow("one show, one reload, nothing written")
        << QByteArray() << built + reloadOn("usb", "show") << QByteArray("Internal,USB [USB]")
        << QByteArray("show,My_Project [show]") << QByteArray("Free: 1GB|Folder") << QByteArray("111")
        << QByteArray("001\t 00:01:05,002\t 00:00:30|");
    QTest::newRow("a project named with a blank: shown sanitised, found raw")
        << QByteArray("db:ui:quorvane_ui project=My Project") << built + reloadOn("usb", "My Project")
        << QByteArray("Internal,USB [USB]") << QByteArray("show,My_Project [My_Project]")
        << QByteArray("Free: 1GB|Folder") << QByteArray("111") << QByteArray("|");
    QTest::newRow("a project gone: the last one stored as the device names it")
        << QByteArray("db:ui:quorvane_ui project=gone")
        << built + QByteArrayList {state, editorMode} + space
            + QByteArrayList {settings, "PARAM|record_mount_point=usb|target=general|LIST project_list",
                QByteArray(pushed("media_dest=usb")).replace("project=show", "project=My Project"),
                "PARAM|record_mount_point=usb|record_project=My Project|target=general|LIST records_list", editorMode,
                "PARAM|record_mount_point=usb|record_project=My Project|target=general|LIST records_plist"}
        << QByteArray("Internal,USB [USB]") << QByteArray("show,My_Project [My_Project]")
        << QByteArray("Free: 1GB|Folder") << QByteArray("111") << QByteArray("|");
    QTest::newRow("USB gone: the internal disk shown and pushed")
        << QByteArray("media get_freespace_usb=5")
        << built + reloadOn("internal", "show", {pushed("media_dest=internal")}) << QByteArray("Internal [Internal]")
        << QByteArray("show,My_Project [show]") << QByteArray("Free: 5GB|Folder") << QByteArray("111")
        << QByteArray("|");
    QTest::newRow("no drive yet: the internal disk pushed")
        << QByteArray("db:ui:quorvane_ui media_dest=none")
        << built + reloadOn("internal", "show", {pushed("media_dest=internal")})
        << QByteArray("Internal,USB [Internal]") << QByteArray("show,My_Project [show]")
        << QByteArray("Free: 5GB|Folder") << QByteArray("111") << QByteArray("|");
    QTest::newRow("the device records: the lock alone")
        << QByteArray("audio recorder_state=rec") << built + QByteArrayList {state, editorMode} << QByteArray(" []")
        << QByteArray(" []") << QByteArray("Free:|Folder") << QByteArray("111") << QByteArray("lock");
    QTest::newRow("editor mode: no play list, controls disabled")
        << editorOn + "\n" + playList("b") << built + reloadOn("usb", "show").mid(0, 11)
        << QByteArray("Internal,USB [USB]") << QByteArray("show,My_Project [show]")
        << QByteArray("Free: 1GB|Folder: Editor Mode") << QByteArray("000")
        << QByteArray("001\t 00:01:05,002\t 00:00:30|");
}

void TestFolderPage::show()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, drives);
    QFETCH(QByteArray, projects);
    QFETCH(QByteArray, labels);
    QFETCH(QByteArray, enabled);
    QFETCH(QByteArray, lists);
    QVexmarFolderPage *page = openPage(setup);
    QVERIFY(page);
    QCOMPARE(takeFrames(), frames);
    QCOMPARE(comboTexts(page->cboDrive), drives);
    QCOMPARE(comboTexts(page->cboProject), projects);
    QCOMPARE(page->lbl_Free->text().toUtf8() + "|" + page->lbl_Folder->text().toUtf8(), labels);
    QCOMPARE(QByteArray::number(page->cboDrive->isEnabled()) + QByteArray::number(page->cboProject->isEnabled())
            + QByteArray::number(page->btn_edit_project->isEnabled()),
        enabled);
    if (lists != "lock") {
        QVERIFY(page->lbl_RecordingLock->isHidden());
        QCOMPARE(texts(page->listWidget_Left) + "|" + texts(page->listWidget_Right), lists);
        return;
    }
    // Whatever the user touches hits the lock, but Home, which still leaves the page.
    QCOMPARE(page->lbl_RecordingLock->geometry(), page->rect());
    QCOMPARE(page->lbl_RecordingLock->text(), QStringLiteral("Can not use playback module when recording"));
    for (QWidget *widget : page->findChildren<QWidget *>()) {
        if (widget->isVisible() && widget->parentWidget() != page->lbl_RecordingLock
            && widget != page->lbl_RecordingLock) {
            const QPoint centre = widget->mapTo(page, widget->rect().center());
            QWidget *hit = page->childAt(centre);
            QVERIFY2(hit == page->lbl_RecordingLock || widget == page->btn_Home || hit == page->btn_Home,
                qPrintable(widget->objectName() + QLatin1Char(' ') + widget->metaObject()->className()));
        }
    }
    QCOMPARE(page->childAt(page->btn_Home->geometry().center()), page->btn_Home);
    run({"home"});
    QCOMPARE(takeFrames(), QByteArrayList({"DB|is_editor_mode=off", "DB|editor_next_wav=", "page 1"}));
}

void TestFolderPage::projectsWithoutDrive()
{
    QVexmarFolderPage *page = openPage({});
    QVERIFY(page);
    takeFrames();
    page->recorder()->setMediaDestination("none", false);
    page->fillProjects();
    QCOMPARE(comboTexts(page->cboProject), QByteArray("Default [Default]"));
    QCOMPARE(takeFrames(), QByteArrayList());
}

void TestFolderPage::lists_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArray>("lists"); // records | play list
    QTest::addColumn<QByteArray>("info"); // name, time, date, format, marks
    QTest::addColumn<QByteArray>("duration");
    QTest::addColumn<QByteArrayList>("stored"); // the play lists sent to the device
    const QByteArray none = "Name:|Time:|Date:|Format:|Marks:";
    const QByteArray both = "001\t 00:01:05,002\t 00:00:30";
    const auto row = [](const char *name, const QByteArray &setup, const QByteArrayList &steps, const QByteArray &lists,
                         const QByteArray &info, const QByteArray &duration, const QByteArrayList &stored = {}) {
        QTest::newRow(name) << setup << steps << lists << info << duration << stored;
    };
    row("three lines: two records, the two-field line skipped", {}, {}, both + "|", none, "00:00:00");
    row("the first chosen", {}, {"L0"}, both + "|", "Name: Take one|Time: T1|Date: D1|Form: PCM 16/48kHz St.|Mark: No",
        "00:00:00");
    row("the second chosen", {}, {"L1"}, both + "|",
        "Name: Take two|Time: T2|Date: D2|Form: MPEG II 128/48kHz M.|Mark: No", "00:00:00");
    row("the device's play list {b}: 002 on the right, nothing stored back", playList("b"), {},
        "001\t 00:01:05|002\t 00:00:30", none, "00:00:30");
    row("an entry without its recording: left out and the list stored back", playList("zz,b"), {},
        "001\t 00:01:05|002\t 00:00:30", none, "00:00:30", {"b\n"});
    row("002 moved right", {}, {"L1", "right"}, "001\t 00:01:05|002\t 00:00:30", none, "00:00:30", {"b\n"});
    row("both moved, the second moved up", {}, {"L1", "right", "L0", "right", "R1", "up"},
        "|001\t 00:01:05,002\t 00:00:30", none, "00:01:35", {"b\n", "b\na\n", "a\nb\n"});
    row("moved down past the end: nothing", playList("a,b"), {"R1", "down", "R0", "down"},
        "|002\t 00:00:30,001\t 00:01:05", none, "00:01:35", {"b\na\n"});
    row("moved back: an empty play list stored", playList("b"), {"R0", "left"}, both + "|", none, "00:00:00", {""});
    row("a play list of 25 hours",
        "media:usb:show records_list=[a|001|A|wav|20:00:00|D|T|2,b|002|B|wav|05:00:00|D|T|2]\n" + playList("a,b"), {},
        "|001\t 20:00:00,002\t 05:00:00", none, "25:00:00");
    row("shown again in editor mode: no play list, no duration", playList("b"), {"editor", "reshow"}, both + "|", none,
        "00:00:00");
    row("what was stored comes back", {}, {"L1", "right", "reshow"}, "001\t 00:01:05|002\t 00:00:30", none, "00:00:30",
        {"b\n"});
}

void TestFolderPage::lists()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArray, lists);
    QFETCH(QByteArray, info);
    QFETCH(QByteArray, duration);
    QFETCH(QByteArrayList, stored);
    QVexmarFolderPage *page = openPage(setup);
    QVERIFY(page);
    run(steps);
    QCOMPARE(texts(page->listWidget_Left) + "|" + texts(page->listWidget_Right), lists);
    QByteArrayList shown;
    for (const QLabel *label : {page->lbl_Name, page->lbl_Time, page->lbl_Date, page->lbl_Format, page->lbl_Marks})
        shown << label->text().toUtf8();
    QCOMPARE(shown.join('|'), info);
    QCOMPARE(page->lbl_Duration->text().toUtf8(), "Duration: " + duration);
    QByteArrayList saved;
    for (const QByteArray &frame : takeFrames()) {
        // An empty play list travels as an empty value, which the body leaves out.
        const int uri = frame.indexOf("|generic_uri=") + 13;
        if (frame.startsWith("DO|action=save_playlist|"))
            saved << (uri < 13 ? QByteArray() : frame.mid(uri, frame.indexOf(where) - uri));
    }
    QCOMPARE(saved, stored);
}

void TestFolderPage::controls_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArrayList>("frames"); // after the show
    QTest::addColumn<QByteArray>("left"); // play, stop, trash, share, editor, details, to the play list
    QTest::addColumn<QByteArray>("right"); // play, stop, to the records, up, down, previous, next
    QTest::addColumn<QByteArray>("selected"); // in the records list, then in the play list
    const QByteArray idleLeft = "play-grey stop-grey trash-disable share-disable waves-disable pencil-disable "
                                "push-right-grey";
    const QByteArray chosenLeft = "play-white stop-grey trash share waves-disable pencil-disable push-right-white";
    const QByteArray idleRight = "play-grey stop-grey push-left-grey goUp-grey goDw-grey play-prev-grey play-next-grey";
    const QByteArray editRight = "play-white stop-grey push-left-white goUp-white goDw-white play-prev-white "
                                 "play-next-white";
    const QByteArray runRight
        = "pause-white stop-white push-left-grey goUp-grey goDw-grey play-prev-grey play-next-grey";
    const QByteArray pausedRight = QByteArray(runRight).replace("pause-white", "play-white");
    const QByteArray stop = "DO|action=playback_stop";
    const QByteArray pause = "DO|action=playback_pause";
    const QByteArray unpause = "DO|action=playback_unpause";
    const QByteArray three = threeTakes + "\n" + playList("a,b,c");
    const auto row
        = [](const char *name, const QByteArray &setup, const QByteArrayList &steps, const QByteArray &frames,
              const QByteArray &left, const QByteArray &right, const QByteArray &selected = {}) {
              QTest::newRow(name) << setup << steps << (frames.isEmpty() ? QByteArrayList() : frames.split('\n'))
                                  << left << right << selected;
          };
    row("nothing chosen", {}, {}, {}, idleLeft, idleRight);
    const QByteArray playingLeft
        = "pause-white stop-white trash-disable share waves-disable pencil-disable push-right-grey";
    row("a record chosen", {}, {"L0"}, "DB|editor_next_wav=a", chosenLeft, idleRight, "a");
    row("playing", {}, {"L0", "play"}, "DB|editor_next_wav=a\n" + started("a"), playingLeft, idleRight, "a");
    row("paused", {}, {"L0", "play", "play"}, "DB|editor_next_wav=a\n" + started("a") + "\n" + pause,
        "play-white stop-white trash-disable share-disable waves-disable pencil-disable push-right-grey", idleRight,
        "a");
    row("resumed and stopped", {}, {"L0", "play", "play", "play", "stop"},
        "DB|editor_next_wav=a\n" + started("a") + "\n" + pause + "\n" + unpause + "\n" + stop, chosenLeft, idleRight,
        "a");
    row("another record clicked while one plays: the one shown plays again", {}, {"L0", "play", "L1", "stop", "play"},
        "DB|editor_next_wav=a\n" + started("a") + "\n" + stop + "\n" + started("a"), playingLeft, idleRight, "a");
    row("the play list clicked stops the record", playList("b"), {"L0", "play", "R0"},
        "DB|editor_next_wav=a\n" + started("a") + "\n" + stop, idleLeft,
        "play-white stop-grey push-left-white goUp-grey goDw-grey play-prev-grey play-next-grey", "b");
    row("a one-item play list", playList("b"), {"R0"}, {}, idleLeft,
        "play-white stop-grey push-left-white goUp-grey goDw-grey play-prev-grey play-next-grey", "b");
    row("a two-item play list", playList("a,b"), {"R0"}, {}, idleLeft, editRight, "a");
    row("a run", playList("a,b"), {"R1", "rplay"}, started("b"), idleLeft, runRight, "b");
    row("a run paused", playList("a,b"), {"R1", "rplay", "rplay"}, started("b") + "\n" + pause, idleLeft, pausedRight,
        "b");
    row("a run resumed and stopped", playList("a,b"), {"R1", "rplay", "rplay", "rplay", "rstop"},
        started("b") + "\n" + pause + "\n" + unpause + "\n" + stop, idleLeft, editRight, "b");
    row("next wraps to the top", three, {"R2", "next"}, {}, idleLeft, editRight, "a");
    row("previous wraps to the bottom", three, {"R0", "prev"}, {}, idleLeft, editRight, "c");
    row("next and previous while a run plays: nothing", three, {"R1", "rplay", "next", "prev"}, started("b"), idleLeft,
        runRight, "b");
    row("previous during a paused run: the entry before plays", three, {"R1", "rplay", "rplay", "prev"},
        started("b") + "\n" + pause + "\n" + stop + "\n" + started("a"), idleLeft, runRight, "a");
    row("previous past the top of a run: it waits at the end", three, {"R0", "rplay", "rplay", "prev"},
        started("a") + "\n" + pause + "\n" + stop, idleLeft,
        "play-white stop-grey push-left-grey goUp-grey goDw-grey play-prev-grey play-next-grey", "c");
    row("editor mode: only the choice is written", editorOn + "\n" + playList("b"),
        {"L0", "play", "stop", "right", "trash", "rplay", "rstop", "next", "prev", "up", "left"},
        "DB|editor_next_wav=a", "play-grey stop-grey trash-disable share-disable waves pencil-disable push-right-grey",
        idleRight, "a");
    row("home leaves editor mode", editorOn, {"L0", "home"},
        "DB|editor_next_wav=a\nDB|is_editor_mode=off\nDB|editor_next_wav=\npage 1",
        "play-grey stop-grey trash-disable share-disable waves pencil-disable push-right-grey", idleRight, "a");
}

void TestFolderPage::controls()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, left);
    QFETCH(QByteArray, right);
    QFETCH(QByteArray, selected);
    QVexmarFolderPage *page = openPage(setup);
    QVERIFY(page);
    takeFrames();
    run(steps);
    QCOMPARE(takeFrames(), frames);
    QCOMPARE(images({page->btn_LeftPlayPause, page->btn_LeftStop, page->btn_Trash, page->btn_share, page->btn_editWav,
                 page->btn_editMeta, page->btn_goRight}),
        left);
    QCOMPARE(images({page->btn_RightPlayPause, page->btn_RightStop, page->btn_goLeft, page->btn_ItemUp,
                 page->btn_ItemDown, page->btn_RightPrevious, page->btn_RightNext}),
        right);
    QByteArrayList names;
    for (const QListWidget *list : {page->listWidget_Left, page->listWidget_Right}) {
        for (const QListWidgetItem *item : list->selectedItems())
            names << item->data(Qt::UserRole).toByteArray();
    }
    QCOMPARE(names.join(','), selected);
}

// The check the tables above rest on sees a wrong picture: another one, the right one with one pixel changed or
// one pixel narrower, and none.
void TestFolderPage::wrongImage_data()
{
    QTest::addColumn<QByteArray>("given");
    QTest::addColumn<QByteArray>("shown");
    dataRow("another picture", QByteArray("trash"), QByteArray("trash"));
    dataRow("one pixel changed", QByteArray("pixel"), QByteArray("?"));
    dataRow("one pixel narrower", QByteArray("narrower"), QByteArray("?"));
    dataRow("no picture", QByteArray("none"), QByteArray("none"));
}

void TestFolderPage::wrongImage()
{
    QFETCH(QByteArray, given);
    QFETCH(QByteArray, shown);
    QVexmarFolderPage *page = openPage({});
    QVERIFY(page);
    const QList<QVexmarButton *> left = {page->btn_LeftPlayPause, page->btn_LeftStop, page->btn_Trash, page->btn_share,
        page->btn_editWav, page->btn_editMeta, page->btn_goRight};
    const QByteArray idle = "play-grey stop-grey trash-disable share-disable waves-disable pencil-disable "
                            "push-right-grey";
    QCOMPARE(images(left), idle);

    QImage picture = QPixmap(QStringLiteral(":/images/share-disable.png")).toImage();
    const QPoint middle = picture.rect().center();
    if (given == "pixel")
        picture.setPixelColor(middle, picture.pixelColor(middle) == Qt::red ? Qt::blue : Qt::red);
    else if (given == "narrower")
        picture = picture.copy(0, 0, picture.width() - 1, picture.height());
    page->btn_share->setIcon(given == "none" ? QIcon()
            : given == "trash"               ? QIcon(QStringLiteral(":/images/trash.png"))
                                             : QIcon(QPixmap::fromImage(picture)));
    QCOMPARE(images(left), QByteArray(idle).replace("share-disable", shown));
}

void TestFolderPage::deletion_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArrayList>("frames"); // after the choice
    QTest::addColumn<QByteArray>("records");
    QTest::addColumn<QByteArrayList>("messages");
    QTest::addColumn<QByteArray>("name"); // of the file information
    const QByteArray all = "001\t 00:01:05,002\t 00:00:30,001\t 00:02:00";
    const QByteArray stop = "DO|action=playback_stop";
    const auto deleted
        = [](const QByteArray &file) { return "DO|action=delete_record_file|generic_uri=" + file + where; };
    QTest::newRow("the second of two 001: that one deleted")
        << threeTakes << QByteArrayList {"L2", "trash", "ok"} << QByteArrayList {stop, deleted("c")}
        << QByteArray("001\t 00:01:05,002\t 00:00:30") << QByteArrayList() << QByteArray("Name:");
    QTest::newRow("the first of two 001: that one deleted")
        << threeTakes << QByteArrayList {"L0", "trash", "ok"} << QByteArrayList {stop, deleted("a")}
        << QByteArray("002\t 00:00:30,001\t 00:02:00") << QByteArrayList() << QByteArray("Name:");
    QTest::newRow("cancelled") << threeTakes << QByteArrayList {"L2", "trash", "cancel"} << QByteArrayList {stop} << all
                               << QByteArrayList() << QByteArray("Name: Take three");
    QTest::newRow("the device has gone on without it: shown again")
        << threeTakes << QByteArrayList {"L2", "trash", "ok", "reshow"}
        << QByteArrayList {stop, deleted("c")} + reloadOn("usb", "show") << QByteArray("001\t 00:01:05,002\t 00:00:30")
        << QByteArrayList() << QByteArray("Name:");
    QTest::newRow("refused: the item stays, the list reloaded")
        << threeLines << QByteArrayList {"L2", "trash", "ok"}
        << QByteArrayList {stop, deleted("c"), recordsRequest, editorMode, plist} << all
        << QByteArrayList {"Failed to delete\nc"} << QByteArray("Name:");
}

void TestFolderPage::deletion()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, records);
    QFETCH(QByteArrayList, messages);
    QFETCH(QByteArray, name);
    QVexmarFolderPage *page = openPage(setup);
    QVERIFY(page);
    run(steps.mid(0, 1));
    takeFrames();
    run(steps.mid(1));
    QCOMPARE(takeFrames(), frames);
    QCOMPARE(texts(page->listWidget_Left), records);
    QCOMPARE(takeMessages(), messages);
    QCOMPARE(page->lbl_Name->text().toUtf8(), name);
}

// Lists past the page's cap of 1000: the first listed, the user told, the device's play list left as it is (an edit
// of it refused), the page playing after. Lengths past 2^31 ms count that much, negative ones nothing.
void TestFolderPage::caps_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArray>("counts"); // records | play list
    QTest::addColumn<QByteArrayList>("messages"); // of the show, then of the steps
    QTest::addColumn<QByteArrayList>("frames"); // stores and playbacks after the show
    QTest::addColumn<QByteArray>("duration");
    const auto records = [](int count) {
        QByteArrayList lines;
        for (int i = 0; i < count; ++i)
            lines << "r" + QByteArray::number(i) + "|" + QByteArray::number(i % 1000).rightJustified(3, '0')
                    + "|R|wav|00:00:01|D|T|1";
        return "media:usb:show records_list=[" + lines.join(',') + "]\nmedia:usb:show r0=100";
    };
    QByteArrayList entries = {"b"};
    for (int i = 0; i < 1499; ++i)
        entries << "zz" + QByteArray::number(i);
    const QByteArray refused = "The lists are longer than the page shows: the play list stays as the device has it.";
    QTest::newRow("16,000 records: the first 1000")
        << records(16000) + "\n" + playList("r1,r15000") << QByteArrayList {"L0", "right", "play"}
        << QByteArray("999|1")
        << QByteArrayList {"The project holds 16000 recordings; the first 1000 are listed.", refused}
        << started("r0").split('\n') << QByteArray("00:00:01");
    QTest::newRow("1500 play-list entries: the first 1000")
        << playList(entries.join(',')) << QByteArrayList() << QByteArray("1|1")
        << QByteArrayList {"The play list holds more than 1000 "
                           "entries; the first are shown."}
        << QByteArrayList() << QByteArray("00:00:30");
    QTest::newRow("1000 records: all, nothing said")
        << records(1000) + "\n" + playList("r1,zz") << QByteArrayList() << QByteArray("999|1") << QByteArrayList()
        << QByteArrayList {"DO|action=save_playlist|generic_uri=r1\n" + where} << QByteArray("00:00:01");
    QTest::newRow("lengths past 2^31 ms and negative")
        << "media:usb:show records_list=[a|001|A|wav|99999999:00:00|D|T|2,b|002|B|wav|-5:00:00|D|T|2]\n"
            + playList("a,b")
        << QByteArrayList() << QByteArray("0|2") << QByteArrayList() << QByteArrayList() << QByteArray("596:31:23");
}

void TestFolderPage::caps()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArray, counts);
    QFETCH(QByteArrayList, messages);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, duration);
    QVexmarFolderPage *page = openPage(setup);
    QVERIFY(page);
    QByteArrayList shown = takeMessages();
    run(steps);
    shown += takeMessages();
    QCOMPARE(
        QByteArray::number(page->listWidget_Left->count()) + "|" + QByteArray::number(page->listWidget_Right->count()),
        counts);
    QCOMPARE(shown, messages);
    QByteArrayList sent;
    for (const QByteArray &frame : takeFrames()) {
        if (frame.startsWith("DO|action=save_playlist") || frame.contains("playback"))
            sent << frame;
    }
    QCOMPARE(sent, frames);
    QCOMPARE(page->lbl_Duration->text().toUtf8(), "Duration: " + duration);
}

// The screen window hears the page: Home leaves it.
void TestFolderPage::homeInTheWindow()
{
    QVexmarWindow window;
    window.pageActivated(QVexmar::FolderPage);
    QCOMPARE(window.currentPage(), int(QVexmar::FolderPage));
    auto *page = qobject_cast<QVexmarFolderPage *>(window.pageStack()->currentWidget());
    QVERIFY(page);
    QTest::mouseClick(page->btn_Home, Qt::LeftButton);
    QCOMPARE(window.currentPage(), int(QVexmar::HomePage));
}

QTEST_MAIN(TestFolderPage)
#include "tst_folderpage.moc"
