// The recording page against the simulated device: what it shows after each show refresh, the settings it
// pushed into the application's store, the recorder commands the device received, its timers' ticks invoked,
// flat fills grabbed; and the screen window following the page's requests.

#include "device/accessors.h"
#include "pages/vexmarrecordingpage.h"
#include "rpc/ccom.h"
#include "tests/pixeltesting.h"
#include "tests/rpctesting.h"
#include "tests/screentesting.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarvirtual.h"

#include <QComboBox>
#include <QLabel>
#include <QStackedLayout>
#include <QWindow>
#include <QtTest>

#include <memory>

namespace {

const std::string db = "db:ui:quorvane_ui";
const char *const driveWords[] = {"get_freespace_record", "get_freespace_usb", "get_freespace_sdcard"};
// Three drives, the project "show" on USB.
const QByteArray setup
    = "media get_freespace_record=5200\nmedia get_freespace_usb=1850\nmedia get_freespace_sdcard=300\n"
      "media get_freespace_p_record=45\nmedia get_freespace_p_usb=62\nmedia get_freespace_p_sdcard=1\n"
      "general project_list=[show,new]\nmedia:usb:show t1.wav=100";
// The recorder's settings on the device: into "show" on USB, from stream 1.
const QByteArray settings = "media_dest=usb project=show filename=take autorecord=off media_src=stream1 format=wav "
                            "is_ftp=off";
const QByteArray idleSources = "+e -e -e";

} // namespace

class TestRecordingPage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void remaining_data();
    void remaining();
    void countdown();
    void drives_data();
    void drives();
    void source();
    void start_data();
    void start();
    void stop_data();
    void stop();
    void shownWhileRecording();
    void playback_data();
    void playback();
    void projects();
    void fileName_data();
    void fileName();
    void windowFollowsHome();

private:
    void show();
    // The page's widgets by their names without the page's prefix: "statusLabel" is "recordingStatusLabel".
    template<class T = QWidget>
    T *widget(const char *name) const
    {
        return m_page->findChild<T *>(QStringLiteral("recording") + QChar(name[0]).toUpper() + QLatin1String(name + 1));
    }
    // The named widgets as a user sees them, joined by " | ": a label's text and its colour unless white, a switch as
    // "+" on or "-" off and "e" enabled or "d" disabled, a button's image, a combo's item; " d" after a disabled one.
    QByteArray look(const QByteArray &names) const;
    // The values of one setting in the store requests that set it, in order; the log is cleared.
    QByteArrayList pushed(const std::string &key);
    // The recorder actions ("record_...") the device received; the log is cleared.
    QByteArrayList recorderActions();
    QTimer *activeTimer(int interval) const;
    void tick(int interval, int times);

    std::unique_ptr<SimDevice> m_device;
    std::unique_ptr<QWidget> m_screen;
    QVexmarRecordingPage *m_page = nullptr;
};

void TestRecordingPage::init()
{
    getCom()->initialize(kra::TGT_UI, kra::UI_TYPE_QUORVANE);
    m_device = std::make_unique<SimDevice>();
    m_device->loadSetup(setup);
    for (const QByteArray &pair : settings.split(' '))
        m_device->setParam(
            db, pair.left(pair.indexOf('=')).toStdString(), pair.mid(pair.indexOf('=') + 1).toStdString());
    QVERIFY(m_device->listen());
    QVERIFY(getCom()->connectToDevice(m_device->host(), m_device->port(), 0));
    QTRY_COMPARE(getCom()->state(), RpcConnection::ConnectedState);
    QTRY_COMPARE(m_device->clientCount(), 1);
}

void TestRecordingPage::cleanup()
{
    m_screen.reset();
    m_page = nullptr;
    getCom()->disconnectFromDevice();
    QTRY_COMPARE(getCom()->state(), RpcConnection::UnconnectedState);
    m_device.reset();
}

// The page where the screen window puts it, under the status bar; a second call shows it again.
void TestRecordingPage::show()
{
    if (m_page) {
        m_page->hide();
        m_page->show();
        return;
    }
    m_screen = std::make_unique<QWidget>();
    m_screen->setFixedSize(1280, 720);
    m_page = new QVexmarRecordingPage(m_screen.get());
    m_page->setGeometry(0, 44, 1280, 676);
    m_screen->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_screen.get()));
}

QByteArray TestRecordingPage::look(const QByteArray &names) const
{
    static const QMap<QRgb, QByteArray> colours
        = {{rgb(Qt::yellow), "yellow"}, {rgb(Qt::green), "green"}, {rgb(Qt::red), "red"}};
    QByteArrayList seen;
    for (const QByteArray &name : names.split(' ')) {
        QWidget *w = widget(name.constData());
        QByteArray token;
        if (auto *label = qobject_cast<QLabel *>(w)) {
            const QRgb colour = rgb(label->palette().color(QPalette::WindowText));
            token = label->text().toUtf8()
                + (colour == rgb(Qt::white) ? "" : " " + colours.value(colour, "#" + QByteArray::number(colour, 16)));
        } else if (auto *s = qobject_cast<QVexmarSwitch *>(w)) {
            token = QByteArray(s->isChecked() ? "+" : "-") + (s->isEnabled() ? "e" : "d");
        } else if (auto *combo = qobject_cast<QComboBox *>(w)) {
            token = combo->currentText().toUtf8();
        } else if (auto *button = qobject_cast<QVexmarButton *>(w)) {
            static const QStringList images = {QStringLiteral(":/images/rec-grey.png"),
                QStringLiteral(":/images/rec-rgrey.png"), QStringLiteral(":/images/rec-red.png"),
                QStringLiteral(":/images/stop-grey.png"), QStringLiteral(":/images/stop-white.png"),
                QStringLiteral(":/images/stop-red.png"), QStringLiteral(":/images/settings.png")};
            token = imageOf(button, images);
        }
        if (!w->isEnabled() && !qobject_cast<QVexmarSwitch *>(w))
            token += " d";
        seen << token;
    }
    return seen.join(" | ");
}

QByteArrayList TestRecordingPage::pushed(const std::string &key)
{
    QByteArrayList values;
    for (const RpcMessage &request : m_device->requests()) {
        const kra::CMsg &b = request.body();
        if (*b.param(kra::KEY_TARGET, true) == kra::TGT_DB && b.getNames.empty() && b.param(key))
            values << QByteArray::fromStdString(*b.param(key));
    }
    m_device->clearRequests();
    return values;
}

QByteArrayList TestRecordingPage::recorderActions()
{
    QByteArrayList actions;
    for (const RpcMessage &request : m_device->requests()) {
        const kra::CMsg &b = request.body();
        const QByteArray action = QByteArray::fromStdString(*b.param(kra::KEY_ACTION, true));
        if (action.startsWith("record_"))
            actions << action + " " + QByteArray::fromStdString(*b.param(kra::ACT_GENERIC_URI, true));
    }
    m_device->clearRequests();
    return actions;
}

QTimer *TestRecordingPage::activeTimer(int interval) const
{
    for (QTimer *timer : m_page->findChildren<QTimer *>()) {
        if (timer->isActive() && timer->interval() == interval)
            return timer;
    }
    return nullptr;
}

void TestRecordingPage::tick(int interval, int times)
{
    for (int i = 0; i < times; ++i) {
        QTimer *timer = activeTimer(interval);
        QVERIFY(timer);
        QMetaObject::invokeMethod(timer, "timeout");
    }
}

void TestRecordingPage::remaining_data()
{
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<QByteArray>("destination");
    QTest::addColumn<int>("megabytes"); // free on USB
    QTest::addColumn<QByteArray>("shown"); // remaining, WAV, MP2
    const auto row
        = [](const char *name, const char *format, const char *destination, int megabytes, const char *shown) {
              QTest::newRow(name) << QByteArray(format) << QByteArray(destination) << megabytes
                                  << shown + QByteArray(qstrcmp(format, "wav") == 0 ? " | +d | -d" : " | -d | +d");
          };
    row("wav 10000 MB", "wav", "usb", 10000, "15:09:00 Remaining");
    row("wav 11 MB: 60 s are not above 60", "wav", "usb", 11, "00:01:00 Remaining yellow");
    row("wav 10 MB", "wav", "usb", 10, "00:00:00 Remaining yellow");
    row("mpg2 10000 MB", "mpg2", "usb", 10000, "00:10:00 Remaining");
    row("hours past 23", "wav", "usb", 17424, "26:24:00 Remaining");
    row("a negative report: nothing left", "wav", "usb", -5, "00:00:00 Remaining yellow");
    row("destination none", "wav", "none", 10000, "00:00:00 Remaining yellow");
    row("an unknown destination", "wav", "floppy", 10000, "00:00:00 Remaining yellow");
}

void TestRecordingPage::remaining()
{
    QFETCH(QByteArray, format);
    QFETCH(QByteArray, destination);
    QFETCH(int, megabytes);
    QFETCH(QByteArray, shown);
    m_device->setParam(db, "format", format.toStdString());
    m_device->setParam(db, "media_dest", destination.toStdString());
    m_device->setParam("media", "get_freespace_usb", std::to_string(megabytes));
    show();
    QCOMPARE(look("remainingLabel wavSwitch mp2Switch"), shown);
}

// 22 MB of WAV: two minutes, counted down once a tick to nothing and no further. The device ends the recording
// meanwhile: the next show finds the recorder idle, its timer and locks gone.
void TestRecordingPage::countdown()
{
    m_device->setParam("media", "get_freespace_usb", "22");
    show();
    widget<QVexmarButton>("recordButton")->click();
    QVERIFY(activeTimer(1000));
    const QList<std::pair<int, const char *>> steps = {{0, "00:02:00 Remaining"}, {59, "00:01:01 Remaining"},
        {1, "00:01:00 Remaining yellow"}, {60, "00:00:00 Remaining yellow"}, {5, "00:00:00 Remaining yellow"}};
    for (const auto &[times, shown] : steps) {
        tick(1000, times);
        QCOMPARE(look("remainingLabel"), QByteArray(shown));
    }
    QCOMPARE(look("statusLabel"), QByteArray("Recording 00:02:05 red"));

    m_device->setParam("audio", "recorder_state", "stopped");
    show();
    QVERIFY(!activeTimer(1000));
    QCOMPARE(look("statusLabel stream1Switch stream2Switch voiceSwitch projectCombo fileNameButton"),
        "Ready 00:00:00 green | +e | -e | -e | show | settings");
}

void TestRecordingPage::drives_data()
{
    QTest::addColumn<QByteArray>("space"); // free MB of internal, USB, SD; "-" not answered
    QTest::addColumn<QByteArrayList>("clicks");
    QTest::addColumn<QByteArray>("shown"); // the internal, USB and SD switches and labels, the remaining time
    QTest::addColumn<QByteArrayList>("destinations");
    const auto row
        = [](const char *name, const char *space, const char *clicks, const char *shown, const char *destinations) {
              QTest::newRow(name) << QByteArray(space) << QByteArray(clicks).split(' ') << QByteArray(shown)
                                  << QByteArray(destinations).split(' ');
          };
    row("one drive: chosen, stays selectable", "5200 - -", "internalSwitch",
        "+e | -d | -d | Internal 5GB 45% | USB 0MB | SD 0MB | 07:52:00 Remaining", "internal");
    row("one drive clicked again stays on", "5200 - -", "internalSwitch internalSwitch",
        "+e | -d | -d | Internal 5GB 45% | USB 0MB | SD 0MB | 07:52:00 Remaining", "internal internal");
    row("two drives: the chosen one locked", "5200 1850 -", "internalSwitch",
        "+d | -e | -d | Internal 5GB 45% | USB 1GB 62% | SD 0MB | 07:52:00 Remaining", "internal");
    row("two drives: the stored one clicked stays on", "5200 1850 -", "usbSwitch",
        "-e | +d | -d | Internal 5GB 45% | USB 1GB 62% | SD 0MB | 02:48:00 Remaining", "usb");
    row("three drives, one after another", "5200 1850 300", "sdSwitch internalSwitch",
        "+d | -e | -e | Internal 5GB 45% | USB 1GB 62% | SD 300MB 1% | 07:52:00 Remaining", "sdram internal");
    row("negative reports: the name alone but for the internal drive", "-1 -1 300", "sdSwitch",
        "-d | -d | +d | Internal n/a | USB | SD 300MB 1% | 00:27:00 Remaining", "sdram");
}

void TestRecordingPage::drives()
{
    QFETCH(QByteArray, space);
    QFETCH(QByteArrayList, clicks);
    QFETCH(QByteArray, shown);
    QFETCH(QByteArrayList, destinations);
    const QByteArrayList figures = space.split(' ');
    for (int i = 0; i < 3; ++i) {
        if (figures[i] == "-")
            m_device->unsetParam("media", driveWords[i]);
        else
            m_device->setParam("media", driveWords[i], figures[i].toStdString());
    }
    show();
    for (const QByteArray &name : clicks)
        widget<QVexmarSwitch>(name.constData())->click();
    QCOMPARE(look("internalSwitch usbSwitch sdSwitch internalLabel usbLabel sdLabel remainingLabel"), shown);
    QCOMPARE(pushed("media_dest"), destinations);
}

void TestRecordingPage::source()
{
    show();
    widget<QVexmarSwitch>("stream2Switch")->click();
    QCOMPARE(look("stream1Switch stream2Switch voiceSwitch"), QByteArray("-e | +e | -e"));
    QCOMPARE(pushed("media_src"), QByteArrayList({"stream2", "stream2"}));
    widget<QVexmarSwitch>("voiceSwitch")->click();
    QCOMPARE(pushed("media_src"), QByteArrayList({"voicecall", "voicecall"}));
}

void TestRecordingPage::start_data()
{
    QTest::addColumn<QByteArray>("change"); // "nok": the device refuses the start; else set-up lines
    QTest::addColumn<QByteArrayList>("actions");
    QTest::addColumn<QByteArray>("shown"); // a tick later: status, buttons, sources, project, file name
    const QByteArrayList started = {"record_start /mnt/usb/show/take.wav"};
    const QByteArray idle = " | +e | -e | -e | show | settings";
    QTest::newRow("started") << QByteArray() << started
                             << QByteArray("Recording 00:00:01 red | rec-red | stop-white | +d | -d | -d | show d | "
                                           "settings d");
    QTest::newRow("refused by the device")
        << QByteArray("nok") << started << "Ready 00:00:00 green | rec-rgrey | stop-grey" + idle;
    QTest::newRow("no drive chosen") << QByteArray("db:ui:quorvane_ui media_dest=none") << QByteArrayList()
                                     << "Ready 00:00:00 green | rec-rgrey | stop-grey"
            + QByteArray(idle).replace("show", "Default");
    QTest::newRow("no space") << QByteArray("media get_freespace_record=0\nmedia get_freespace_usb=0\n"
                                            "media get_freespace_sdcard=0")
                              << QByteArrayList() << "No space 00:00:00 yellow | rec-grey | stop-grey" + idle;
}

void TestRecordingPage::start()
{
    QFETCH(QByteArray, change);
    QFETCH(QByteArrayList, actions);
    QFETCH(QByteArray, shown);
    SimDevice::Fault refusal = rpctesting::fault(SimDevice::Fault::Nok);
    refusal.match = kra::ACT_RECORD_START;
    if (change == "nok")
        m_device->addFault(refusal);
    else
        m_device->loadSetup(change);
    show();
    widget<QVexmarButton>("recordButton")->click();
    QCOMPARE(recorderActions(), actions);
    if (activeTimer(1000))
        tick(1000, 1);
    QCOMPARE(look("statusLabel recordButton stopButton stream1Switch stream2Switch voiceSwitch projectCombo "
                  "fileNameButton"),
        shown);
}

void TestRecordingPage::stop_data()
{
    QTest::addColumn<bool>("refused");
    QTest::newRow("the device stops") << false;
    QTest::newRow("the device refuses: idle all the same") << true;
}

void TestRecordingPage::stop()
{
    QFETCH(bool, refused);
    show();
    auto *stopButton = widget<QVexmarButton>("stopButton");
    stopButton->click();
    widget<QVexmarButton>("recordButton")->click();
    QCOMPARE(recorderActions(), QByteArrayList {"record_start /mnt/usb/show/take.wav"});

    // A confirmation that runs out: red for a second, then every other tick, white at its end; no stop.
    stopButton->click();
    QVERIFY(activeTimer(500));
    QByteArrayList seen {look("stopButton")};
    for (int i = 0; i < 21; ++i) {
        tick(500, 1);
        seen << look("stopButton");
    }
    QCOMPARE(seen.mid(0, 5), QByteArrayList({"stop-red", "stop-red", "stop-white", "stop-red", "stop-white"}));
    QCOMPARE(seen.mid(19), QByteArrayList({"stop-red", "stop-white", "stop-white"}));
    QVERIFY(!activeTimer(500));
    QCOMPARE(recorderActions(), QByteArrayList());

    // The next press arms again; a second one stops.
    stopButton->click();
    QCOMPARE(look("stopButton"), QByteArray("stop-red"));
    if (refused)
        m_device->setParam("audio", "recorder_state", "stopped");
    stopButton->click();
    QCOMPARE(recorderActions(), QByteArrayList {"record_stop "});
    QCOMPARE(m_device->param("audio", "recorder_state"), std::string("stopped"));
    QVERIFY(!activeTimer(1000) && !activeTimer(500));
    QCOMPARE(look("statusLabel recordButton stopButton stream1Switch stream2Switch voiceSwitch projectCombo"),
        QByteArray("Ready 00:00:00 green | rec-rgrey | stop-grey | +e | -e | -e | show"));
}

// A recording the page did not start: the texts stay, no timer runs, the settings cannot change, not even on
// the switch clicked; the stop works with its confirmation.
void TestRecordingPage::shownWhileRecording()
{
    m_device->setParam("audio", "recorder_state", "rec");
    show();
    widget<QVexmarSwitch>("stream2Switch")->click();
    widget<QVexmarButton>("recordButton")->click();
    QVERIFY(!activeTimer(1000));
    QCOMPARE(look("statusLabel remainingLabel stream1Switch stream2Switch stopButton"),
        QByteArray("Initialisation | Initialisation | +e | -e | stop-grey"));
    QCOMPARE(pushed("media_src"), QByteArrayList());
    widget<QVexmarButton>("stopButton")->click();
    QCOMPARE(look("stopButton"), QByteArray("stop-red"));
    widget<QVexmarButton>("stopButton")->click();
    QCOMPARE(recorderActions(), QByteArrayList {"record_stop "});
}

void TestRecordingPage::playback_data()
{
    QTest::addColumn<QByteArray>("state");
    QTest::newRow("playing") << QByteArray("play");
    QTest::newRow("paused") << QByteArray("play_paused");
}

// The overlay alone, grey all over but its text and the home button; home and nothing else works.
void TestRecordingPage::playback()
{
    QFETCH(QByteArray, state);
    m_device->setParam("audio", "recorder_state", state.toStdString());
    show();
    QCOMPARE(
        look("playbackOverlay statusLabel"), QByteArray("Can not use record module during playback | Initialisation"));
    const QImage page = m_page->grab().toImage();
    const QRgb grey = rgb(50, 50, 50);
    QCOMPARE(countPixels(page, QRect(0, 0, 1280, 300), grey), 1280 * 300);
    QCOMPARE(countPixels(page, QRect(0, 400, 1150, 276), grey), 1150 * 276);
    QCOMPARE(countPixels(page, QRect(1154, 640, 126, 36), grey), 126 * 36);
    QVERIFY(countPixels(page, QRect(1154, 548, 120, 90), rgb(0, 162, 232)) > 500);

    QSignalSpy requested(m_page, &QVexmarRecordingPage::pageActivated);
    widget<QVexmarButton>("homeButton")->click();
    widget<QVexmarButton>("ftpButton")->click();
    QList<int> pages;
    for (const QList<QVariant> &arguments : requested)
        pages << arguments.at(0).value<QVexmar::Page>();
    QCOMPARE(pages, QList<int>({QVexmar::HomePage, QVexmar::SettingsFtpServer}));

    m_device->setParam("audio", "recorder_state", "stopped");
    show();
    QVERIFY(!widget("playbackOverlay")->isVisible());
    QCOMPARE(look("statusLabel"), QByteArray("Ready 00:00:00 green"));
}

// Names shown as the device's screen writes them, stored and searched as the device knows them.
void TestRecordingPage::projects()
{
    const std::string cafe = "Caf\xc3\xa9";
    m_device->setList("general", "project_list", {cafe, "My Project", "new"});
    m_device->setParam(db, "project", "My Project");
    m_device->setParam("media:usb:My Project", "t1.wav", "100");
    show();
    auto *combo = widget<QComboBox>("projectCombo");
    QCOMPARE(QStringList({combo->itemText(0), combo->itemText(1), combo->itemText(2)}),
        QStringList({"Caf_", "My_Project", "new"}));
    QCOMPARE(combo->currentText(), QStringLiteral("My_Project"));
    QCOMPARE(pushed("project"), QByteArrayList {"My Project"});
    widget<QVexmarButton>("recordButton")->click();
    QCOMPARE(recorderActions(), QByteArrayList {"record_start /mnt/usb/My Project/take.wav"});

    m_device->setParam("audio", "recorder_state", "stopped");
    show();
    m_device->clearRequests();
    combo->setCurrentIndex(0);
    QCOMPARE(pushed("project"), QByteArrayList {QByteArray::fromStdString(cafe)});
    show();
    QCOMPARE(combo->currentText(), QStringLiteral("Caf_"));
    QCOMPARE(pushed("project"), QByteArrayList());
}

void TestRecordingPage::fileName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("shown");
    QTest::addColumn<QByteArrayList>("stored");
    QTest::newRow("sanitised") << "a b.wav" << true << QByteArray(" a_b_wav") << QByteArrayList {"a_b_wav"};
    QTest::newRow("cancelled") << "a b.wav" << false << QByteArray(" take") << QByteArrayList();
    QTest::newRow("empty") << "" << true << QByteArray(" take") << QByteArrayList();
}

void TestRecordingPage::fileName()
{
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QByteArray, shown);
    QFETCH(QByteArrayList, stored);
    show();
    auto *label = widget<QLabel>("fileNameLabel");
    // A white field: the label's fill right of its text.
    QCOMPARE(countPixels(label->grab().toImage(), QRect(250, 0, 100, 44), rgb(Qt::white)), 100 * 44);

    auto *opener = widget<QVexmarButton>("fileNameButton");
    opener->click();
    auto *keyboard = opener->findChild<QVexmarVirtual *>();
    QVERIFY(keyboard && keyboard->isVisible());
    QCOMPARE(keyboard->titleLabel.text() + "|" + keyboard->lineEdit.text(), QStringLiteral("Filename prefix: |"));
    QCOMPARE(keyboard->windowHandle()->framePosition(),
        m_page->mapToGlobal(QPoint((1280 - keyboard->width()) / 2, (676 - keyboard->height()) / 2)));
    keyboard->lineEdit.setText(typed);
    keyboard->keys[ok ? 31 : 28]->click();
    QVERIFY(!keyboard->isVisible());
    QCOMPARE(label->text().toUtf8(), shown);
    QCOMPARE(pushed("filename"), stored);
}

// The screen window follows the page's home button.
void TestRecordingPage::windowFollowsHome()
{
    getCom()->disconnectFromDevice();
    QTRY_COMPARE(getCom()->state(), RpcConnection::UnconnectedState);
    screentesting::ScreenRig rig;
    QVERIFY(rig.startSetUp());
    rig.window->pageActivated(QVexmar::RecordingPage);
    auto *page = qobject_cast<QVexmarRecordingPage *>(rig.window->pageStack()->currentWidget());
    QVERIFY(page);
    page->findChild<QVexmarButton *>(QStringLiteral("recordingHomeButton"))->click();
    QCOMPARE(rig.window->currentPage(), int(QVexmar::HomePage));
}

QTEST_MAIN(TestRecordingPage)
#include "tst_vexmarrecordingpage.moc"
