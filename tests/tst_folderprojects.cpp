// The folder page's drives, projects, exports and hand-over to the editor against the simulated device: from
// the touches on the page and its popups to the frames the device received and what the page shows.

#include "pages/recordermodel.h"
#include "tests/foldertesting.h"
#include "widgets/screenpointer.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarconfirm.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarprojectpopups.h"
#include "widgets/vexmarvirtual.h"

#include <QLabel>
#include <QTimer>

using namespace foldertesting;

namespace {

// The newest popup open over the page, messages aside.
QVexmarPopup *topPopup(QWidget *page)
{
    QVexmarPopup *top = nullptr;
    for (QVexmarPopup *popup : page->findChildren<QVexmarPopup *>()) {
        if (popup->isVisible() && !qobject_cast<QVexmarMessage *>(popup))
            top = popup;
    }
    return top;
}

// A confirmation or progress as "title|line 1|kept value"; an export popup as its texts, a target that cannot be
// chosen marked "-"; any other popup by its class.
QByteArray popupText(QWidget *page)
{
    QVexmarPopup *popup = topPopup(page);
    if (auto *confirm = qobject_cast<QVexmarConfirmAction *>(popup)) {
        return confirm->titleLabel->text().toUtf8() + "|" + confirm->line1Label->text().toUtf8() + "|"
            + QByteArray::number(confirm->contextValue());
    }
    if (auto *exporter = qobject_cast<QVexmarExportConfig *>(popup)) {
        QByteArrayList lines;
        for (const QLabel *label : exporter->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly)) {
            lines << label->text().toUtf8();
            for (int i = 0; i < 4; ++i)
                lines.last()
                    += label == exporter->driveLabels[i] && !exporter->driveSwitches[i]->isEnabled() ? " -" : "";
        }
        return lines.join('|');
    }
    return popup ? popup->metaObject()->className() : "";
}

} // namespace

class TestFolderProjects : public QObject, public FolderBench
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void actions_data();
    void actions();

private:
    void run(const QByteArrayList &steps);

    QList<qint64> m_driveTimeouts;
    std::unique_ptr<QWidget> m_screen;
};

void TestFolderProjects::init()
{
    getCom()->initialize("ui", "quorvane_ui");
    QVERIFY(connectDevice());
    connect(m_device.get(), &SimDevice::requestReceived, this, [this](const RpcMessage &request) {
        const QByteArray action = QByteArray::fromStdString(*request.body().param(kra::KEY_ACTION, true));
        if (action.startsWith("format_") || action.startsWith("repair_") || action.startsWith("unmount_"))
            m_driveTimeouts << getCom()->connection().pendingCall(request.id()).timeout();
    });
    m_screen = std::make_unique<QWidget>();
    g_screenWindow = m_screen.get();
}

void TestFolderProjects::cleanup()
{
    g_screenWindow = nullptr;
    m_screen.reset();
    m_driveTimeouts.clear();
    QVERIFY(disconnectDevice());
}

// L<row> an item of the records list, P<i> / D<i> an entry of the project / drive box, the page's and the top
// popup's buttons by name ("to<n>" an export target, "type:<text>" typed on the keyboard). The device: "editor" its
// editor mode on, "take" the editor takes the hand-over, "slow" / "refuse" the next read of it answers late / not,
// "drop" the connection goes and comes back, "nok:<word>:<cause>" the request holding the word refused. "tick" is
// a tick of the hand-over timer. '+' is a blank.
void TestFolderProjects::run(const QByteArrayList &steps)
{
    QVexmarFolderPage &p = *m_page;
    for (const QByteArray &step : steps) {
        const QString text = QString::fromUtf8(QByteArray(step).replace('+', ' '));
        QVexmarPopup *top = topPopup(&p);
        auto *editorTimer = p.findChild<QTimer *>(QStringLiteral("editorTimer"));
        QMap<QByteArray, QAbstractButton *> named = {{"drive", p.btn_edit_drive}, {"project", p.btn_edit_project},
            {"share", p.btn_share}, {"wav", p.btn_editWav}, {"play", p.btn_LeftPlayPause}};
        if (auto *d = qobject_cast<QVexmarManageDrive *>(top)) {
            named = {{"format", d->formatButton}, {"repair", d->repairButton}, {"close", d->closeButton}};
            // The internal disk's manager offers no Eject: what its choice would do.
            if (step == "eject")
                d->ejectButton ? d->ejectButton->click() : d->slot_onClicked_btn_Unmount();
        } else if (auto *m = qobject_cast<QVexmarManageProject *>(top)) {
            named = {{"delete", m->deleteButton}, {"create", m->createButton}, {"copy", m->copyToButton}};
        } else if (auto *del = qobject_cast<QVexmarEditProjectDelete *>(top)) {
            named = {{"records", del->recordsSwitch}, {"all", del->projectSwitch}, {"confirm", del->confirmSwitch},
                {"ok", del->deleteButton}, {"cancel", del->cancelButton}};
        } else if (auto *k = qobject_cast<QVexmarVirtual *>(top)) {
            named = {{"ok", k->keys[31]}, {"cancel", k->keys[28]}};
            if (step.startsWith("type:")) {
                k->lineEdit.setText(text.mid(5));
                continue;
            }
        } else if (auto *e = qobject_cast<QVexmarExportConfig *>(top)) {
            named = {{"to2", e->driveSwitches[1]}, {"to3", e->driveSwitches[2]}, {"to4", e->driveSwitches[3]},
                {"ok", e->okButton}, {"cancel", e->cancelButton}};
        } else if (auto *c = qobject_cast<QVexmarConfirmAction *>(top)) {
            named = {{"ok", c->okButton}, {"cancel", c->cancelButton}};
        }
        if (QAbstractButton *button = named.value(step)) {
            button->click();
        } else if (step.startsWith('L')) {
            QListWidgetItem *item = p.listWidget_Left->item(step.mid(1).toInt());
            QVERIFY2(item, step.constData());
            QTest::mouseClick(
                p.listWidget_Left->viewport(), Qt::LeftButton, {}, p.listWidget_Left->visualItemRect(item).center());
        } else if (step.startsWith('P') || step.startsWith('D')) {
            (step.startsWith('P') ? p.cboProject : p.cboDrive)->setCurrentIndex(step.mid(1).toInt());
        } else if (step == "tick") {
            // No tick of the timer's own inside one.
            int inside = 0;
            const auto counting = connect(editorTimer, &QTimer::timeout, this, [&inside] { ++inside; });
            QVERIFY(QMetaObject::invokeMethod(&p, "timeoutEvent"));
            disconnect(counting);
            QCOMPARE(inside, 0);
        } else if (step == "editor" || step == "take") {
            m_device->setParam("db:ui:quorvane_ui", step == "editor" ? "is_editor_mode" : "editor_next_wav",
                step == "editor" ? "on" : "");
        } else if (step == "slow" || step == "refuse") {
            m_device->addFault(rpctesting::fault(
                step == "slow" ? SimDevice::Fault::Delay : SimDevice::Fault::Nok, 350, "editor_next_wav"));
        } else if (step.startsWith("nok:")) {
            const QStringList parts = text.split(QLatin1Char(':'));
            SimDevice::Fault refusal = rpctesting::script(
                {"DO;return:ERROR;" + (parts[2].isEmpty() ? QByteArray() : "cause:" + parts[2].toUtf8() + ";")});
            refusal.match = parts[1].toStdString();
            m_device->addFault(refusal);
        } else if (step == "drop") {
            // Only the drop may end the polling, not a tick while the connection comes back.
            editorTimer->stop();
            m_device->dropConnections();
            QTRY_COMPARE(getCom()->state(), RpcConnection::UnconnectedState);
            getCom()->disconnectFromDevice();
            QVERIFY(getCom()->connectToDevice(m_device->host(), m_device->port(), 0));
            QTRY_COMPARE(getCom()->state(), RpcConnection::ConnectedState);
        } else if (step != "eject") {
            QFAIL(step.constData());
        }
    }
}

void TestFolderProjects::actions_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArrayList>("frames"); // after the show; a reload of the page as "reload"
    // "popup: <the top one>" and "messages: <texts> /<auto-close ms>" always; "projects: <entries> [<current>]",
    // "project: <the recorder's>" and "records: <items>" where given.
    QTest::addColumn<QByteArrayList>("shown");
    const auto row = [](const char *name, const QByteArray &setup, const QByteArray &steps,
                         const QByteArrayList &frames, const QByteArrayList &shown = {}) {
        QTest::newRow(name) << setup << steps.split(' ') << frames << shown;
    };
    const QByteArray usb = "db:ui:quorvane_ui media_dest=usb\nmedia get_freespace_usb=";
    const QByteArray sd = "db:ui:quorvane_ui media_dest=sdram\nmedia get_freespace_p_sdcard=9\n"
                          "media get_freespace_sdcard=";
    const QByteArray internal = "db:ui:quorvane_ui media_dest=internal\nmedia get_freespace_record=";
    const QByteArray sdRoom = "media get_freespace_sdcard=3000\nmedia get_freespace_p_sdcard=20";
    const QByteArray play = "DO|action=playback_start|generic_uri=/mnt/usb/show/a|record_format=wav";
    const QByteArrayList playing
        = {"DB|editor_next_wav=a", "DO|action=get_playback_fullpath|generic_uri=a" + where, play};

    // Drives: each code from the manager's choice to its action, and the seconds estimated from its drive's room.
    row("1 format USB, 1000 MB", usb + "1000", "drive format ok", {"DO|action=format_usb", "reload"},
        {"popup: Formating|Done|3"});
    row("2 format SD card, 64000 MB", sd + "64000", "drive format ok", {"DO|action=format_sdcard", "reload"},
        {"popup: Formating|Done|98"});
    row("3 repair USB, 2000 MB", usb + "2000", "drive repair ok", {"DO|action=repair_usb", "reload"},
        {"popup: Repairing|Done|5"});
    row("4 repair SD card, 1500 MB", sd + "1500", "drive repair ok", {"DO|action=repair_sdcard", "reload"},
        {"popup: Repairing|Done|3"});
    row("5 eject USB", {}, "drive eject ok", {"DO|action=unmount_usb", "reload"}, {"popup: Ejecting|Done|3"});
    row("6 eject SD card", sd + "500", "drive eject ok", {"DO|action=unmount_sdcard", "reload"},
        {"popup: Ejecting|Done|2"});
    row("7 format internal, 0 MB", internal + "0", "drive format ok", {"DO|action=format_internal", "reload"},
        {"popup: Formating|Done|2"});
    row("8 repair internal, 5200 MB", internal + "5200", "drive repair ok", {"DO|action=repair_internal", "reload"},
        {"popup: Repairing|Done|9"});
    row("failed: no reload", {}, "nok:format_usb:110-not+available drive format ok", {"DO|action=format_usb"},
        {"popup: Formating|Failed: Retry or reboot|3"});
    row("the confirmation", {}, "drive format", {}, {"popup: Format USB|Please confirm: |1"});
    row("cancelled: nothing sent", {}, "drive format cancel", {});
    row("closed", {}, "drive close", {});
    row("eject on the internal disk: nothing", internal + "5200", "drive eject", {});
    row("editor mode: no disk manager", editorOn, "drive", {});
    row("a recording playing: no disk manager", {}, "L0 play drive", playing);
    row("the drive box: the drive's projects", {}, "D0",
        QByteArrayList {
            pushed("media_dest=internal"), "PARAM|record_mount_point=internal|target=general|LIST project_list"}
            + recordsOf("internal", "show"),
        {"projects: show,My_Project [show]", "records: "});

    // Projects.
    const QByteArray both = "records: 001\t 00:01:05,002\t 00:00:30";
    const QByteArrayList unchanged = {"projects: show,My_Project [show]", "project: show", both};
    const QByteArray created
        = "DO|action=get_record_folder|record_mount_point=usb|record_project=New_show_|type=create";
    const QByteArray deleted = "DO|action=delete_record_dir" + where;
    const QByteArray emptied = "DO|action=empty_record_dir" + where;
    row("create: sanitised, pushed once made", {}, "project create type:New+show! ok",
        QByteArrayList {created, pushed("project=New_show_")} + recordsOf("usb", "New_show_"),
        {"projects: show,My_Project,New_show_ [New_show_]", "project: New_show_", "records: "});
    row("create refused at the limit: all as it was", {},
        "nok:get_record_folder:118-resource+unavailable project create type:New+show! ok", {created},
        unchanged
            + QByteArrayList {"messages: Limit of 50 recorded projects is reached. Delete some of them to be able to "
                              "create new ones."});
    row("create refused: all as it was", {}, "nok:get_record_folder: project create type:New ok",
        {"DO|action=get_record_folder|record_mount_point=usb|record_project=New|type=create"}, unchanged);
    row("create while a recording plays: it stops first", {}, "L0 play project create type:New ok",
        playing
            + QByteArrayList {"DO|action=playback_stop",
                "DO|action=get_record_folder|record_mount_point=usb|record_project=New|type=create",
                pushed("project=New")}
            + recordsOf("usb", "New"),
        {"projects: show,My_Project,New [New]", "records: "});
    row("create a name listed: that entry", {}, "project create type:My_Project ok",
        QByteArrayList {pushed("project=My Project")} + recordsOf("usb", "My Project"),
        {"projects: show,My_Project [My_Project]", "project: My Project"});
    row("create the current name, or cancelled: nothing", {}, "project create type:show ok project create cancel", {},
        unchanged);
    row("switch", {}, "P1", QByteArrayList {pushed("project=My Project")} + recordsOf("usb", "My Project"),
        {"projects: show,My_Project [My_Project]", "project: My Project", "records: "});
    row("delete the records", {}, "project delete records confirm ok",
        QByteArrayList {emptied} + recordsOf("usb", "show"), {"projects: show,My_Project [show]", "records: "});
    row("delete the records while one plays: it stops first", {}, "L0 play project delete records confirm ok",
        playing + QByteArrayList {"DO|action=playback_stop", emptied} + recordsOf("usb", "show"), {"records: "});
    row("delete the records refused: they stay", {}, "nok:empty_record_dir: project delete records confirm ok",
        {emptied}, unchanged + QByteArrayList {"messages: Failed to delete the records of\nshow"});
    row("delete the project: the last entry current", {}, "project delete all confirm ok",
        QByteArrayList {deleted, pushed("project=My Project")} + recordsOf("usb", "My Project"),
        {"projects: My_Project [My_Project]", "project: My Project"});
    row("delete the project refused: it stays", {}, "nok:delete_record_dir: project delete all confirm ok", {deleted},
        unchanged + QByteArrayList {"messages: Failed to delete\nshow"});
    row("delete the last project: Default", "general project_list=[show]", "project delete all confirm ok",
        QByteArrayList {deleted, pushed("project=Default")} + recordsOf("usb", "Default"),
        {"projects: Default [Default]", "project: Default"});
    row("delete cancelled", {}, "project delete all confirm cancel", {}, unchanged);
    row("editor mode: no project manager", editorOn, "project", {});

    // Exports: the targets offered by drive and size, the copies and the FTP job.
    const QByteArray stop = "DO|action=playback_stop";
    const QByteArrayList file
        = QByteArrayList {"DB|editor_next_wav=a", stop, "DO|action=get_file_size|generic_uri=a" + where} + space;
    const QByteArrayList fileSd = file + QByteArrayList {"DO|action=get_freespace_p_sdcard"};
    const QByteArray fileCopy = "DO|action=record_file_copy_to|generic_uri=sdram" + where + "|record_user_fname=a";
    const QByteArray sent = "DO|action=send" + where + "|record_user_fname=a|type=record";
    const QByteArray onInternal = internal + "5200\nmedia:internal:show a=100";
    const QByteArrayList project
        = QByteArrayList {"DO|action=get_project_size|record_mount_point=internal|record_project=show"} + space;
    const QByteArray projectCopy
        = "DO|action=record_copy_to|generic_uri=usb|record_mount_point=internal|record_project=show";
    row("a recording: the other drives with room", sdRoom, "L0 share", fileSd,
        {"popup: EXPORT Sound File|a|Size: Less than 1MB|Internal 5GB 45% -|SD 2GB 20%|USB 1GB 62% -|FTP"});
    row("a recording larger than a drive's room", "media:usb:show a=4194304000\n" + sdRoom, "L0 share", fileSd,
        {"popup: EXPORT Sound File|a|Size: 4000 MB|Internal 5GB 45% -|SD 2GB 20% -|USB 1GB 62% -|FTP"});
    row("an empty recording", "media:usb:show a=0", "L0 share", file,
        {"popup: EXPORT Sound File|a|Size: Empty|Internal 5GB 45% -|SD 0MB -|USB 1GB 62% -|FTP"});
    row("a recording the device does not find: no popup", {}, "nok:get_file_size: L0 share", file.mid(0, 3));
    row("a recording playing: nothing", {}, "L0 play share", playing);
    row("copied to SD", sdRoom, "L0 share to3 ok", fileSd + QByteArrayList {fileCopy});
    row("copy refused: the cause shown", sdRoom, "nok:record_file_copy_to:112-file+not+found L0 share to3 ok",
        fileSd + QByteArrayList {fileCopy}, {"messages: Copy failed\n112-file not found"});
    row("sent by FTP", {}, "L0 share to4 ok", file + QByteArrayList {sent});
    row("FTP busy", {}, "nok:send:115-resource+busy L0 share to4 ok", file + QByteArrayList {sent},
        {"messages: FTP transfer is busy (previous file still in progress). Please wait until it is finished."});
    row("FTP without address", {}, "nok:send:119-remote+address+missing L0 share to4 ok", file + QByteArrayList {sent},
        {"messages: FTP address is missing."});
    row("FTP of an invalid file", {}, "nok:send:004-invalid+file L0 share to4 ok", file + QByteArrayList {sent},
        {"messages: FTP failed : invalid file."});
    row("FTP failed otherwise", {}, "nok:send: L0 share to4 ok", file + QByteArrayList {sent},
        {"messages: FTP failed : unknown error."});
    row("a project on the internal disk", onInternal + "\n" + sdRoom, "project copy",
        project + QByteArrayList {"DO|action=get_freespace_p_sdcard"},
        {"popup: EXPORT PROJECT|Project name: show|Size: Less than 1MB|Internal 5GB 45% -|SD 2GB 20%|USB 1GB 62%|FTP "
         "-"});
    row("a project copied to USB", onInternal, "project copy to2 ok", project + QByteArrayList {projectCopy});
    row("a project copy refused", onInternal, "nok:record_copy_to:110-not+available project copy to2 ok",
        project + QByteArrayList {projectCopy}, {"messages: Copy failed\n110-not available"});
    row("a project by FTP: not sent", onInternal, "project copy force4", project,
        {"messages: A project cannot be sent by FTP: send its recordings one by one."});
    row("a project on USB: no copy", {}, "project copy", {}, {"popup: QVexmarManageProject"});

    // The hand-over to the editor.
    const QByteArray lengths = "media:usb:show records_list=[a|001|A|wav|00:00:59|D|T|2,b|002|B|wav|00:01:00|D|T|2,"
                               "c|003|C|wav|00:02:30|D|T|2]\nmedia:usb:show c=1";
    const QByteArray read = "DB|GET editor_next_wav";
    const auto open = [](const QByteArray &name) {
        return "DO|action=open" + where + "|record_user_fname=" + name + ".dat|type=dat";
    };
    const auto wait = [](const QByteArray &seconds) {
        return "messages: Processing wav file, please wait approximately " + seconds + " seconds... /" + seconds
            + "000";
    };
    const auto chosen = [](const QByteArray &name) { return "DB|editor_next_wav=" + name; };
    row("59 s: one second", lengths, "L0 wav", {chosen("a"), read, open("a")}, {wait("1")});
    row("60 s: two seconds", lengths, "L1 wav", {chosen("b"), read, open("b")}, {wait("2")});
    row("150 s: three seconds", lengths, "L2 wav", {chosen("c"), read, open("c")}, {wait("3")});
    row("processed already", "media:usb:show a.dat=1", "L0 wav", {chosen("a"), read, open("a")},
        {"messages: File already processed /1000"});
    row("the parameter read empty: the recording chosen", {}, "L0 take wav",
        {chosen("a"), read, chosen("a"), open("a")}, {wait("2")});
    row("the editor page asked once, until the editor took the file", {}, "L0 wav tick tick take tick tick",
        {chosen("a"), read, open("a"), read, read, read, "page 15"}, {wait("2")});
    row("a slow read: no tick inside it", {}, "L0 wav slow tick", {chosen("a"), read, open("a"), read, "page 15"},
        {wait("2")});
    row("a refused read: read again", {}, "L0 wav refuse tick take tick",
        {chosen("a"), read, open("a"), read, read, "page 15"}, {wait("2")});
    row("the connection gone: no more reads", {}, "L0 wav drop tick", {chosen("a"), read, open("a")}, {wait("2")});
    row("nothing chosen: nothing", {}, "wav", {});
}

void TestFolderProjects::actions()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArrayList, shown);
    QVexmarFolderPage *page = openPage(setup);
    QVERIFY(page);
    takeFrames();
    if (const int force = steps.indexOf("force4"); force >= 0) {
        // The greyed FTP target chosen anyway.
        run(steps.mid(0, force));
        auto *exporter = qobject_cast<QVexmarExportConfig *>(topPopup(page));
        QVERIFY(exporter);
        exporter->driveSwitches[3]->setEnabled(true);
        exporter->driveSwitches[3]->setCheckable(true);
        steps = QByteArrayList {"to4", "ok"};
    }
    run(steps);
    QByteArrayList sent = takeFrames();
    // A reload begins with the recorder's state.
    if (const int reload = sent.indexOf(state); reload >= 0)
        sent = sent.mid(0, reload) + QByteArrayList {"reload"};
    QCOMPARE(sent.join('\n'), frames.join('\n'));
    // Each drive operation may take the device an hour.
    int operations = 0;
    for (const QByteArray &frame : frames)
        operations += frame.contains("action=format_") || frame.contains("action=repair_")
            || frame.contains("action=unmount_");
    QCOMPARE(m_driveTimeouts, QVector<qint64>(operations, 3600000).toList());

    QByteArrayList messages;
    for (QWidget *under : {static_cast<QWidget *>(page), m_screen.get()}) {
        for (QVexmarMessage *message : under->findChildren<QVexmarMessage *>()) {
            if (message->isVisible()) {
                messages << message->text.toUtf8()
                        + (message->timer.isActive() ? " /" + QByteArray::number(message->timer.interval()) : "");
            }
        }
    }
    const QMap<QByteArray, QByteArray> now
        = {{"popup", popupText(page)}, {"messages", messages.join(" + ")}, {"projects", comboTexts(page->cboProject)},
            {"project", QByteArray::fromStdString(page->recorder()->projectName())},
            {"records", texts(page->listWidget_Left)}};
    QMap<QByteArray, QByteArray> expected = {{"popup", {}}, {"messages", {}}};
    for (const QByteArray &entry : shown)
        expected[entry.left(entry.indexOf(": "))] = entry.mid(entry.indexOf(": ") + 2);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(it.key() + ": " + now.value(it.key()), it.key() + ": " + it.value());
}

QTEST_MAIN(TestFolderProjects)
#include "tst_folderprojects.moc"
