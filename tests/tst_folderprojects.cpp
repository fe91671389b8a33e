// The folder page's drives, projects, exports and hand-over to the editor against the simulated device: from
// the touches on the page and its popups to the frames the device received, the popups, combo boxes, lists and
// messages shown.

#include "foldertesting.h"
#include "recordermodel.h"
#include "screenpointer.h"
#include "vexmarbutton.h"
#include "vexmarconfirm.h"
#include "vexmarcontrols.h"
#include "vexmarprojectpopups.h"
#include "vexmarvirtual.h"

#include <QLabel>
#include <QTimer>

using namespace foldertesting;

namespace {

const QByteArray db = "db:ui:quorvane_ui ";

// The device refuses the next request that holds match, with the cause given.
SimDevice::Fault refusal(const std::string &match, const std::string &cause = {})
{
    SimDevice::Fault f = rpctesting::script(
        {"DO;return:ERROR;" + (cause.empty() ? QByteArray() : "cause:" + QByteArray::fromStdString(cause) + ";")});
    f.match = match;
    return f;
}

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

// A confirmation or progress popup as "title|line 1|kept value", any other popup by its class.
QByteArray popupText(QWidget *page)
{
    QVexmarPopup *popup = topPopup(page);
    if (!popup)
        return {};
    if (auto *confirm = qobject_cast<QVexmarConfirmAction *>(popup)) {
        return confirm->titleLabel->text().toUtf8() + "|" + confirm->line1Label->text().toUtf8() + "|"
            + QByteArray::number(confirm->contextValue());
    }
    return popup->metaObject()->className();
}

// The export popup as its label texts, then each target's label with "-" when it cannot be chosen.
QByteArray exportText(QWidget *page)
{
    auto *popup = qobject_cast<QVexmarExportConfig *>(topPopup(page));
    if (!popup)
        return {};
    QByteArrayList lines;
    for (const QLabel *label : popup->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!std::count(std::begin(popup->driveLabels), std::end(popup->driveLabels), label))
            lines << label->text().toUtf8();
    }
    for (int i = 0; i < 4; ++i)
        lines << popup->driveLabels[i]->text().toUtf8() + (popup->driveSwitches[i]->isEnabled() ? "" : " -");
    return lines.join('|');
}

} // namespace

class TestFolderProjects : public QObject, public FolderBench
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void drives_data();
    void drives();
    void projects_data();
    void projects();
    void exports_data();
    void exports();
    void handOver_data();
    void handOver();

private:
    void run(const QByteArrayList &steps);
    // The texts of the messages over the page and over the screen, with their auto-close times.
    QByteArrayList messages();

    QList<qint64> m_driveTimeouts;
    std::unique_ptr<QWidget> m_screen;
};

void TestFolderProjects::init()
{
    getCom()->initialize("ui", "quorvane_ui");
    QVERIFY(connectDevice());
    connect(m_device.get(), &SimDevice::requestReceived, this, [this](const RpcMessage &request) {
        const std::string &action = *request.body().param(kra::KEY_ACTION, true);
        for (const char *kind : {"format_", "repair_", "unmount_"}) {
            if (action.compare(0, strlen(kind), kind) == 0)
                m_driveTimeouts << getCom()->connection().pendingCall(request.id()).timeout();
        }
    });
    m_screen = std::make_unique<QWidget>();
    m_screen->resize(1280, 720);
    g_screenWindow = m_screen.get();
}

void TestFolderProjects::cleanup()
{
    g_screenWindow = nullptr;
    m_screen.reset();
    m_driveTimeouts.clear();
    QVERIFY(disconnectDevice());
}

QByteArrayList TestFolderProjects::messages()
{
    QByteArrayList shown;
    for (QWidget *under : {static_cast<QWidget *>(m_page.get()), m_screen.get()}) {
        for (QVexmarMessage *message : under->findChildren<QVexmarMessage *>()) {
            if (!message->isVisible())
                continue;
            shown << message->text.toUtf8()
                    + (message->timer.isActive() ? " /" + QByteArray::number(message->timer.interval()) : "");
            message->close();
        }
    }
    return shown;
}

// Touches: L<row> an item of the records list, P<i> / D<i> an entry of the project / drive box, the page's
// buttons by name, and the buttons of the popup on top by name ("to<n>" an export target, "type:<text>" typed on
// the keyboard, '+' a blank). The device: "editor" its editor mode on, "take" the editor takes the hand-over, "slow" /
// "refuse" the next read of the hand-over answers late / is refused, "drop" the connection goes and comes back,
// "nok:<action>: <cause>" the action refused ('+' a blank). "tick" is one tick of the hand-over timer.
void TestFolderProjects::run(const QByteArrayList &steps)
{
    QVexmarFolderPage &p = *m_page;
    const QMap<QByteArray, QVexmarButton *> buttons = {{"drive", p.btn_edit_drive}, {"project", p.btn_edit_project},
        {"share", p.btn_share}, {"wav", p.btn_editWav}, {"play", p.btn_LeftPlayPause}};
    for (const QByteArray &step : steps) {
        QVexmarPopup *top = topPopup(&p);
        auto *drive = qobject_cast<QVexmarManageDrive *>(top);
        auto *manager = qobject_cast<QVexmarManageProject *>(top);
        auto *deletion = qobject_cast<QVexmarEditProjectDelete *>(top);
        auto *exporter = qobject_cast<QVexmarExportConfig *>(top);
        auto *keyboard = qobject_cast<QVexmarVirtual *>(top);
        auto *confirm = qobject_cast<QVexmarConfirmAction *>(top);
        QAbstractButton *button = buttons.value(step);
        auto *editorTimer = p.findChild<QTimer *>(QStringLiteral("editorTimer"));
        if (step.startsWith('L')) {
            QListWidgetItem *item = p.listWidget_Left->item(step.mid(1).toInt());
            QVERIFY2(item, step.constData());
            QTest::mouseClick(
                p.listWidget_Left->viewport(), Qt::LeftButton, {}, p.listWidget_Left->visualItemRect(item).center());
        } else if (step.startsWith('P') || step.startsWith('D')) {
            (step.startsWith('P') ? p.cboProject : p.cboDrive)->setCurrentIndex(step.mid(1).toInt());
        } else if (step == "eject" && drive && !drive->ejectButton) {
            // The internal disk's manager has no Eject: what its choice would do.
            QVERIFY(QMetaObject::invokeMethod(drive, "slot_onClicked_btn_Unmount"));
        } else if (drive) {
            button = QMap<QByteArray, QAbstractButton *> {{"format", drive->formatButton},
                {"repair", drive->repairButton}, {"eject", drive->ejectButton}, {"close", drive->closeButton}}
                         .value(step);
        } else if (manager) {
            button = QMap<QByteArray, QAbstractButton *> {{"delete", manager->deleteButton},
                {"create", manager->createButton}, {"copy", manager->copyToButton}, {"close", manager->closeButton}}
                         .value(step);
        } else if (deletion) {
            button = QMap<QByteArray, QAbstractButton *> {{"records", deletion->recordsSwitch},
                {"all", deletion->projectSwitch}, {"confirm", deletion->confirmSwitch}, {"ok", deletion->deleteButton},
                {"cancel", deletion->cancelButton}}
                         .value(step);
        } else if (keyboard && step.startsWith("type:")) {
            keyboard->lineEdit.setText(QString::fromUtf8(QByteArray(step.mid(5)).replace('+', ' ')));
        } else if (keyboard) {
            button = keyboard->keys[step == "ok" ? 31 : 28];
        } else if (exporter && step.startsWith("to")) {
            button = exporter->driveSwitches[step.mid(2).toInt() - 1];
        } else if (exporter) {
            button = step == "ok" ? exporter->okButton : exporter->cancelButton;
        } else if (confirm) {
            button = step == "ok" ? confirm->okButton : confirm->cancelButton;
        } else if (step == "tick") {
            // The timer's own ticks wait while one runs.
            int inside = 0;
            QMetaObject::Connection counting;
            if (editorTimer)
                counting = connect(editorTimer, &QTimer::timeout, this, [&inside] { ++inside; });
            QVERIFY(QMetaObject::invokeMethod(&p, "timeoutEvent"));
            disconnect(counting);
            QCOMPARE(inside, 0);
        } else if (step == "editor" || step == "take") {
            m_device->setParam("db:ui:quorvane_ui", step == "editor" ? "is_editor_mode" : "editor_next_wav",
                step == "editor" ? "on" : "");
        } else if (step == "slow" || step == "refuse") {
            m_device->addFault(step == "slow" ? rpctesting::fault(SimDevice::Fault::Delay, 350, "editor_next_wav")
                                              : rpctesting::fault(SimDevice::Fault::Nok, 0, "editor_next_wav"));
        } else if (step.startsWith("nok:")) {
            const QByteArrayList parts = QByteArray(step).replace('+', ' ').split(':');
            m_device->addFault(refusal(parts[1].toStdString(), parts.value(2).toStdString()));
        } else if (step == "drop") {
            // Only the drop may end the polling here, not a tick while the connection comes back.
            if (editorTimer)
                editorTimer->stop();
            m_device->dropConnections();
            QTRY_COMPARE(getCom()->state(), RpcConnection::UnconnectedState);
            getCom()->disconnectFromDevice();
            QVERIFY(getCom()->connectToDevice(m_device->host(), m_device->port(), 0));
            QTRY_COMPARE(getCom()->state(), RpcConnection::ConnectedState);
        } else {
            QVERIFY2(button, step.constData());
        }
        if (button && !step.startsWith('L'))
            button->click();
    }
}

void TestFolderProjects::drives_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArrayList>("frames"); // after the show, up to a reload
    QTest::addColumn<bool>("reloaded");
    QTest::addColumn<QByteArray>("popup"); // title, first line, kept value (the code, or the seconds estimated)
    const auto row = [](const char *name, const QByteArray &setup, const QByteArray &steps, const QByteArray &frames,
                         bool reloaded, const QByteArray &popup) {
        QTest::newRow(name) << setup << steps.split(' ') << (frames.isEmpty() ? QByteArrayList() : frames.split('\n'))
                            << reloaded << popup;
    };
    const QByteArray usb = db + "media_dest=usb\nmedia get_freespace_usb=";
    const QByteArray sd = db + "media_dest=sdram\nmedia get_freespace_p_sdcard=9\nmedia get_freespace_sdcard=";
    const QByteArray internal = db + "media_dest=internal\nmedia get_freespace_record=";
    // Each code from the manager's choice to its action, its progress and the estimate from the drive's space.
    row("1 format USB, 1000 MB", usb + "1000", "drive format ok", "DO|action=format_usb", true, "Formating|Done|3");
    row("2 format SD card, 64000 MB", sd + "64000", "drive format ok", "DO|action=format_sdcard", true,
        "Formating|Done|98");
    row("3 repair USB, 2000 MB", usb + "2000", "drive repair ok", "DO|action=repair_usb", true, "Repairing|Done|5");
    row("4 repair SD card, 1500 MB", sd + "1500", "drive repair ok", "DO|action=repair_sdcard", true,
        "Repairing|Done|3");
    row("5 eject USB", {}, "drive eject ok", "DO|action=unmount_usb", true, "Ejecting|Done|3");
    row("6 eject SD card", sd + "500", "drive eject ok", "DO|action=unmount_sdcard", true, "Ejecting|Done|2");
    row("7 format internal, 0 MB", internal + "0", "drive format ok", "DO|action=format_internal", true,
        "Formating|Done|2");
    row("8 repair internal, 5200 MB", internal + "5200", "drive repair ok", "DO|action=repair_internal", true,
        "Repairing|Done|9");
    row("failed: no reload", "", "nok:format_usb:110-not+available drive format ok", "DO|action=format_usb", false,
        "Formating|Failed: Retry or reboot|3");
    row("the confirmation", {}, "drive format", {}, false, "Format USB|Please confirm: |1");
    row("the internal disk's confirmation", internal + "5200", "drive repair", {}, false,
        "Repair Internal Disk|Please confirm: |8");
    row("cancelled: nothing sent", {}, "drive format cancel", {}, false, {});
    row("closed: nothing", {}, "drive close", {}, false, {});
    row("eject on the internal disk: nothing", internal + "5200", "drive eject", {}, false, {});
    row("editor mode: no disk manager", editorOn, "drive", {}, false, {});
    row("a recording playing: no disk manager", {}, "L0 play drive",
        "DB|editor_next_wav=a\nDO|action=get_playback_fullpath|generic_uri=a" + where
            + "\nDO|action=playback_start|generic_uri=/mnt/usb/show/a|record_format=wav",
        false, {});
}

void TestFolderProjects::drives()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(bool, reloaded);
    QFETCH(QByteArray, popup);
    QVexmarFolderPage *page = openPage(setup);
    QVERIFY(page);
    takeFrames();
    run(steps);
    QByteArrayList sent = takeFrames();
    // A reload asks the recorder's state first.
    const int reload = sent.indexOf(state);
    QCOMPARE(reload >= 0, reloaded);
    if (reloaded)
        QVERIFY(sent.contains(settings));
    QCOMPARE(sent.mid(0, reload).join('\n'), frames.join('\n'));
    QCOMPARE(popupText(page), popup);
    // Each operation may take the device an hour.
    int operations = 0;
    for (const QByteArray &frame : frames) {
        for (const char *kind : {"DO|action=format_", "DO|action=repair_", "DO|action=unmount_"})
            operations += frame.startsWith(kind);
    }
    QCOMPARE(m_driveTimeouts, QVector<qint64>(operations, 3600000).toList());
}

void TestFolderProjects::projects_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArrayList>("frames"); // after the show
    QTest::addColumn<QByteArray>("projects"); // entries [current]
    QTest::addColumn<QByteArray>("project"); // the recorder's
    QTest::addColumn<QByteArray>("records");
    QTest::addColumn<QByteArrayList>("messages");
    const auto row = [](const char *name, const QByteArray &setup, const QByteArray &steps,
                         const QByteArrayList &frames, const QByteArray &projects, const QByteArray &project,
                         const QByteArray &records, const QByteArrayList &messages = {}) {
        QTest::newRow(name) << setup << steps.split(' ') << frames << projects << project << records << messages;
    };
    const QByteArray both = "001\t 00:01:05,002\t 00:00:30";
    const QByteArray created
        = "DO|action=get_record_folder|record_mount_point=usb|record_project=New_show_|type=create";
    const QByteArray deleted = "DO|action=delete_record_dir" + where;
    const QByteArray emptied = "DO|action=empty_record_dir" + where;
    const QByteArray limit
        = "Limit of 50 recorded projects is reached. Delete some of them to be able to create new ones.";

    row("create: sanitised, pushed once made", {}, "project create type:New+show! ok",
        QByteArrayList {created, pushed("project=New_show_")} + recordsOf("usb", "New_show_"),
        "show,My_Project,New_show_ [New_show_]", "New_show_", {});
    row("create refused at the limit: all as it was", {},
        "nok:get_record_folder:118-resource+unavailable project create type:New+show! ok", {created},
        "show,My_Project [show]", "show", both, {limit});
    row("create refused otherwise: all as it was", {}, "nok:get_record_folder project create type:New+show! ok",
        {created}, "show,My_Project [show]", "show", both);
    row("create a name listed: that entry", {}, "project create type:My+Project ok",
        QByteArrayList {pushed("project=My Project")} + recordsOf("usb", "My Project"), "show,My_Project [My_Project]",
        "My Project", {});
    row("create the current name: nothing", {}, "project create type:show ok", {}, "show,My_Project [show]", "show",
        both);
    row("create cancelled", {}, "project create type:New cancel", {}, "show,My_Project [show]", "show", both);
    row("switch", {}, "P1", QByteArrayList {pushed("project=My Project")} + recordsOf("usb", "My Project"),
        "show,My_Project [My_Project]", "My Project", {});
    row("switch drive: the drive's projects", {}, "D0",
        QByteArrayList {
            pushed("media_dest=internal"), "PARAM|record_mount_point=internal|target=general|LIST project_list"}
            + recordsOf("internal", "show"),
        "show,My_Project [show]", "show", {});
    row("delete the records", {}, "project delete records confirm ok",
        QByteArrayList {emptied} + recordsOf("usb", "show"), "show,My_Project [show]", "show", {});
    row("delete records refused: they stay", {}, "nok:empty_record_dir project delete records confirm ok", {emptied},
        "show,My_Project [show]", "show", both, {"Failed to delete the records of\nshow"});
    row("delete the project: the last entry current", {}, "project delete all confirm ok",
        QByteArrayList {deleted, pushed("project=My Project")} + recordsOf("usb", "My Project"),
        "My_Project [My_Project]", "My Project", {});
    row("delete refused: it stays", {}, "nok:delete_record_dir project delete all confirm ok", {deleted},
        "show,My_Project [show]", "show", both, {"Failed to delete\nshow"});
    row("delete the last project: Default", "general project_list=[show]", "project delete all confirm ok",
        QByteArrayList {deleted, pushed("project=Default")} + recordsOf("usb", "Default"), "Default [Default]",
        "Default", {});
    row("delete cancelled", {}, "project delete all confirm cancel", {}, "show,My_Project [show]", "show", both);
    row("editor mode: no project manager", editorOn, "project", {}, "show,My_Project [show]", "show", both);
}

void TestFolderProjects::projects()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, projects);
    QFETCH(QByteArray, project);
    QFETCH(QByteArray, records);
    QFETCH(QByteArrayList, messages);
    QVexmarFolderPage *page = openPage(setup);
    QVERIFY(page);
    takeFrames();
    run(steps);
    QCOMPARE(takeFrames().join('\n'), frames.join('\n'));
    QCOMPARE(comboTexts(page->cboProject), projects);
    QCOMPARE(QByteArray::fromStdString(page->recorder()->projectName()), project);
    QCOMPARE(texts(page->listWidget_Left), records);
    QCOMPARE(this->messages(), messages);
    QVERIFY(!topPopup(page));
}

void TestFolderProjects::exports_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArrayList>("frames"); // after the show
    QTest::addColumn<QByteArray>("popup"); // the export popup left open
    QTest::addColumn<QByteArrayList>("messages");
    const auto row = [](const char *name, const QByteArray &setup, const QByteArray &steps,
                         const QByteArrayList &frames, const QByteArray &popup, const QByteArrayList &messages = {}) {
        QTest::newRow(name) << setup << steps.split(' ') << frames << popup << messages;
    };
    const QByteArray stop = "DO|action=playback_stop";
    const QByteArray sizeA = "DO|action=get_file_size|generic_uri=a" + where;
    const QByteArrayList file = QByteArrayList {"DB|editor_next_wav=a", stop, sizeA} + space;
    const QByteArray onInternal = db + "media_dest=internal\nmedia:internal:show a=100";
    const QByteArray projectSize = "DO|action=get_project_size|record_mount_point=internal|record_project=show";
    const QByteArray sd = "media get_freespace_sdcard=3000\nmedia get_freespace_p_sdcard=20";
    const QByteArray copied = "DO|action=record_file_copy_to|generic_uri=";
    const QByteArray sent = "DO|action=send|record_mount_point=usb|record_project=show|record_user_fname=a|type=record";

    row("a recording on USB: the other drives with room", sd, "L0 share",
        QByteArrayList {"DB|editor_next_wav=a", stop, sizeA} + space
            + QByteArrayList {"DO|action=get_freespace_p_sdcard"},
        "EXPORT Sound File|a|Size: Less than 1MB|Internal 5GB 45% -|USB 1GB 62% -|SD 2GB 20%|FTP");
    row("a recording larger than a drive's room", "media:usb:show a=4194304000\n" + sd, "L0 share",
        QByteArrayList {"DB|editor_next_wav=a", stop, sizeA} + space
            + QByteArrayList {"DO|action=get_freespace_p_sdcard"},
        "EXPORT Sound File|a|Size: 4000 MB|Internal 5GB 45% -|USB 1GB 62% -|SD 2GB 20% -|FTP");
    row("an empty recording", "media:usb:show a=0", "L0 share", file,
        "EXPORT Sound File|a|Size: Empty|Internal 5GB 45% -|USB 1GB 62% -|SD 0MB -|FTP");
    row("a recording the device does not find: no popup", {}, "nok:get_file_size L0 share", file.mid(0, 3), {});
    row("copied to SD", sd, "L0 share to3 ok",
        QByteArrayList {"DB|editor_next_wav=a", stop, sizeA} + space
            + QByteArrayList {"DO|action=get_freespace_p_sdcard", copied + "sdram" + where + "|record_user_fname=a"},
        {});
    row("copy refused: the cause shown", sd, "nok:record_file_copy_to:112-file+not+found L0 share to3 ok",
        QByteArrayList {"DB|editor_next_wav=a", stop, sizeA} + space
            + QByteArrayList {"DO|action=get_freespace_p_sdcard", copied + "sdram" + where + "|record_user_fname=a"},
        {}, {"Copy failed\n112-file not found"});
    row("sent by FTP", {}, "L0 share to4 ok", file + QByteArrayList {sent}, {});
    for (const auto &[cause, text] : std::initializer_list<std::pair<const char *, const char *>> {
             {"115-resource busy",
                 "FTP transfer is busy (previous file still in progress). Please wait until it is finished."},
             {"119-remote address missing", "FTP address is missing."},
             {"004-invalid file", "FTP failed : invalid file."}, {"", "FTP failed : unknown error."}}) {
        QTest::newRow(qPrintable(QStringLiteral("FTP refused: %1").arg(cause)))
            << QByteArray() << ("nok:send:" + QByteArray(cause).replace(' ', '+') + " L0 share to4 ok").split(' ')
            << file + QByteArrayList {sent} << QByteArray() << QByteArrayList {text};
    }
    row("a recording playing: nothing", {}, "L0 play share",
        {"DB|editor_next_wav=a", "DO|action=get_playback_fullpath|generic_uri=a" + where,
            "DO|action=playback_start|generic_uri=/mnt/usb/show/a|record_format=wav"},
        {});
    row("a project on the internal disk", onInternal + "\n" + sd, "project copy",
        QByteArrayList {projectSize} + space + QByteArrayList {"DO|action=get_freespace_p_sdcard"},
        "EXPORT PROJECT|Project name: show|Size: Less than 1MB|Internal 5GB 45% -|USB 1GB 62%|SD 2GB 20%|FTP -");
    row("a project copied to USB", onInternal, "project copy to2 ok",
        QByteArrayList {projectSize} + space
            + QByteArrayList {"DO|action=record_copy_to|generic_uri=usb|record_mount_point=internal|record_project="
                              "show"},
        {});
    row("a project copy refused", onInternal, "nok:record_copy_to:110-not+available project copy to2 ok",
        QByteArrayList {projectSize} + space
            + QByteArrayList {"DO|action=record_copy_to|generic_uri=usb|record_mount_point=internal|record_project="
                              "show"},
        {}, {"Copy failed\n110-not available"});
    row("a project by FTP: not sent", onInternal, "project copy force4 ok", QByteArrayList {projectSize} + space, {},
        {"A project cannot be sent by FTP: send its recordings one by one."});
    row("a project on USB: no copy", {}, "project copy", {}, {});
}

void TestFolderProjects::exports()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArray, popup);
    QFETCH(QByteArrayList, messages);
    QVexmarFolderPage *page = openPage(setup);
    QVERIFY(page);
    takeFrames();
    if (const int force = steps.indexOf("force4"); force >= 0) {
        // A target greyed out, chosen anyway.
        run(steps.mid(0, force));
        auto *exporter = qobject_cast<QVexmarExportConfig *>(topPopup(page));
        QVERIFY(exporter);
        exporter->driveSwitches[3]->setEnabled(true);
        exporter->driveSwitches[3]->setCheckable(true);
        exporter->driveSwitches[3]->click();
        exporter->okButton->click();
        steps = steps.mid(force + 2);
    }
    run(steps);
    QCOMPARE(takeFrames().join('\n'), frames.join('\n'));
    QCOMPARE(exportText(page), popup);
    QCOMPARE(this->messages(), messages);
}

void TestFolderProjects::handOver_data()
{
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<QByteArrayList>("steps");
    QTest::addColumn<QByteArrayList>("frames"); // after the choice of a recording
    QTest::addColumn<QByteArrayList>("messages");
    const auto row = [](const char *name, const QByteArray &setup, const QByteArray &steps,
                         const QByteArrayList &frames, const QByteArrayList &messages = {}) {
        QTest::newRow(name) << setup << steps.split(' ') << frames << messages;
    };
    const QByteArray lengths = "media:usb:show records_list=[a|001|A|wav|00:00:59|D|T|2,b|002|B|wav|00:01:00|D|T|2,"
                               "c|003|C|wav|00:02:30|D|T|2]\nmedia:usb:show c=1";
    const QByteArray read = "DB|GET editor_next_wav";
    const auto open = [](const QByteArray &file) {
        return "DO|action=open" + where + "|record_user_fname=" + file + ".dat|type=dat";
    };
    const auto wait = [](const QByteArray &seconds) {
        return "Processing wav file, please wait approximately " + seconds + " seconds... /" + seconds + "000";
    };
    row("59 s: one second", lengths, "L0 wav", {read, open("a")}, {wait("1")});
    row("60 s: two seconds", lengths, "L1 wav", {read, open("b")}, {wait("2")});
    row("150 s: three seconds", lengths, "L2 wav", {read, open("c")}, {wait("3")});
    row("processed already", "media:usb:show a.dat=1", "L0 wav", {read, open("a")}, {"File already processed /1000"});
    row("the parameter read empty: the recording chosen", {}, "L0 take wav", {read, "DB|editor_next_wav=a", open("a")},
        {wait("2")});
    row("editor page asked once, until the editor took the file", {}, "L0 wav tick tick take tick tick",
        {read, open("a"), read, read, read, "page 15"}, {wait("2")});
    row("a slow read: no tick inside it", {}, "L0 wav slow tick", {read, open("a"), read, "page 15"}, {wait("2")});
    row("a refused read: tried again", {}, "L0 wav refuse tick take tick", {read, open("a"), read, read, "page 15"},
        {wait("2")});
    row("the connection gone: no more reads", {}, "L0 wav drop tick", {read, open("a")}, {wait("2")});
    row("nothing chosen: nothing", {}, "wav tick", {}, {});
}

void TestFolderProjects::handOver()
{
    QFETCH(QByteArray, setup);
    QFETCH(QByteArrayList, steps);
    QFETCH(QByteArrayList, frames);
    QFETCH(QByteArrayList, messages);
    QVexmarFolderPage *page = openPage(setup);
    QVERIFY(page);
    if (steps.first().startsWith('L')) {
        run(steps.mid(0, 1));
        steps.removeFirst();
    }
    takeFrames();
    run(steps);
    QCOMPARE(takeFrames().join('\n'), frames.join('\n'));
    QCOMPARE(this->messages(), messages);
}

QTEST_MAIN(TestFolderProjects)
#include "tst_folderprojects.moc"
