// The recording page against the simulated device: what it shows after each show refresh, the settings it
// pushed into the application's store, the recorder commands the device received, its timers' ticks invoked,
// flat fills grabbed; and the screen window following the page's requests.

#include "accessors.h"
#include "ccom.h"
#include "pixeltesting.h"
#include "rpctesting.h"
#include "screentesting.h"
#include "vexmarbutton.h"
#include "vexmarcontrols.h"
#include "vexmarrecordingpage.h"
#include "vexmarvirtual.h"

#include <QComboBox>
#include <QLabel>
#include <QStackedLayout>
#include <QWindow>
#include <QtTest>

#include <memory>

namespace {

const std::string db = "db:ui:quorvane_ui";
const char *const driveWords[] = {"get_freespace_record", "get_freespace_usb", "get_freespace_sdcard"};

// Three drives, the recorder on USB into the project "show".
const QByteArray setup = "media get_freespace_record=5200\n"
                         "media get_freespace_usb=1850\n"
                         "media get_freespace_sdcard=300\n"
                         "media get_freespace_p_record=45\n"
                         "media get_freespace_p_usb=62\n"
                         "media get_freespace_p_sdcard=1\n"
                         "general project_list=[show,new]\n"
                         "media:usb:show t1.wav=100\n"
                         "db:ui:quorvane_ui media_dest=usb\n"
                         "db:ui:quorvane_ui project=show\n"
                         "db:ui:quorvane_ui filename=take\n"
                         "db:ui:quorvane_ui autorecord=off\n"
                         "db:ui:quorvane_ui media_src=stream1\n"
                         "db:ui:quorvane_ui format=wav\n"
                         "db:ui:quorvane_ui is_ftp=off\n";

QByteArray colourName(const QColor &c)
{
    const QMap<QRgb, QByteArray> names
        = {{rgb(Qt::white), "white"}, {rgb(Qt::yellow), "yellow"}, {rgb(Qt::green), "green"}, {rgb(Qt::red), "red"}};
    return names.value(rgb(c), c.name().toLatin1());
}

} // namespace

class TestRecordingPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void remaining_data();
    void remaining();
    void driveLabels_data();
    void driveLabels();
    void countdown();
    void drives_data();
    void drives();
    void source();
    void start_data();
    void start();
    void stop_data();
    void stop();
    void shownWhileRecording();
    void recordingEndedOnDevice();
    void playback_data();
    void playback();
    void projects();
    void fileName_data();
    void fileName();
    void windowFollowsHome();

private:
    void show();
    template<class T = QWidget>
    T *widget(const char *name) const
    {
        return m_page->findChild<T *>(QLatin1String(name));
    }
    QString text(const char *name) const { return widget<QLabel>(name)->text(); }
    QByteArray colour(const char *name) const
    {
        return colourName(widget<QLabel>(name)->palette().color(QPalette::WindowText));
    }
    // "+" on or "-" off, then "e" enabled or "d" disabled, for each switch named.
    QByteArray switches(const QByteArrayList &names) const;
    // The image a button shows, by its file name.
    QByteArray icon(const char *name) const;
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

void TestRecordingPage::initTestCase()
{
    getCom()->initialize(kra::TGT_UI, kra::UI_TYPE_QUORVANE);
}

void TestRecordingPage::init()
{
    m_device = std::make_unique<SimDevice>();
    m_device->loadSetup(setup);
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
    } else {
        m_screen = std::make_unique<QWidget>();
        m_screen->setFixedSize(1280, 720);
        m_page = new QVexmarRecordingPage(m_screen.get());
        m_page->setGeometry(0, 44, 1280, 676);
        m_screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_screen.get()));
    }
}

QByteArray TestRecordingPage::switches(const QByteArrayList &names) const
{
    QByteArrayList states;
    for (const QByteArray &name : names) {
        const auto *s = widget<QVexmarSwitch>(name.constData());
        states << QByteArray(s->isChecked() ? "+" : "-") + (s->isEnabled() ? "e" : "d");
    }
    return states.join(' ');
}

QByteArray TestRecordingPage::icon(const char *name) const
{
    const QIcon shown = widget<QVexmarButton>(name)->icon();
    for (const char *file : {"rec-grey", "rec-rgrey", "rec-red", "stop-grey", "stop-white", "stop-red"}) {
        const QImage image(QStringLiteral(":/images/%1.png").arg(QLatin1String(file)));
        if (shown.pixmap(image.size()).toImage().convertToFormat(QImage::Format_ARGB32)
            == image.convertToFormat(QImage::Format_ARGB32))
            return file;
    }
    return "other";
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
        const QByteArray action = QByteArray::fromStdString(*request.body().param(kra::KEY_ACTION, true));
        if (action.startsWith("record_"))
            actions << action;
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
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("textColour");
    QTest::addColumn<QByteArray>("formatSwitches"); // WAV, MP2

    const auto row = [](const char *name, const char *format, const char *destination, int megabytes, const char *shown,
                         const char *colour) {
        QTest::newRow(name) << QByteArray(format) << QByteArray(destination) << megabytes
                            << QString::fromLatin1(shown) + " Remaining" << QByteArray(colour)
                            << QByteArray(qstrcmp(format, "wav") == 0 ? "+d -d" : "-d +d");
    };
    row("wav 10000 MB", "wav", "usb", 10000, "15:09:00", "white");
    row("wav 11 MB: 60 s are not above 60", "wav", "usb", 11, "00:01:00", "yellow");
    row("wav 10 MB", "wav", "usb", 10, "00:00:00", "yellow");
    row("wav 0 MB", "wav", "usb", 0, "00:00:00", "yellow");
    row("mpg2 10000 MB", "mpg2", "usb", 10000, "00:10:00", "white");
    row("24 hours do not wrap", "wav", "usb", 15840, "24:00:00", "white");
    row("hours past 23", "wav", "usb", 17424, "26:24:00", "white");
    row("a negative report: nothing left", "wav", "usb", -5, "00:00:00", "yellow");
    row("destination none", "wav", "none", 10000, "00:00:00", "yellow");
    row("an unknown destination", "wav", "floppy", 10000, "00:00:00", "yellow");
}

void TestRecordingPage::remaining()
{
    QFETCH(QByteArray, format);
    QFETCH(QByteArray, destination);
    QFETCH(int, megabytes);
    QFETCH(QString, shown);
    QFETCH(QByteArray, textColour);
    QFETCH(QByteArray, formatSwitches);

    m_device->setParam(db, "format", format.toStdString());
    m_device->setParam(db, "media_dest", destination.toStdString());
    m_device->setParam("media", "get_freespace_usb", std::to_string(megabytes));
    show();
    QCOMPARE(text("remainingLabel"), shown);
    QCOMPARE(colour("remainingLabel"), textColour);
    QCOMPARE(switches({"wavSwitch", "mp2Switch"}), formatSwitches);
    QCOMPARE(text("statusLabel"), QStringLiteral("Ready 00:00:00"));
    QCOMPARE(colour("statusLabel"), QByteArray("green"));
}

void TestRecordingPage::driveLabels_data()
{
    QTest::addColumn<QByteArray>("space"); // internal, USB, SD free MB; "-" not answered
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("three drives") << QByteArray("5200 1850 300")
                                  << QStringList {"Internal 5GB 45%", "USB 1GB 62%", "SD 300MB 1%"};
    QTest::newRow("negative reports") << QByteArray("-1 -1 -1") << QStringList {"Internal n/a", "USB", "SD"};
    QTest::newRow("not answered, empty") << QByteArray("- - 0") << QStringList {"Internal 0MB", "USB 0MB", "SD 0MB"};
}

void TestRecordingPage::driveLabels()
{
    QFETCH(QByteArray, space);
    QFETCH(QStringList, labels);
    const QByteArrayList figures = space.split(' ');
    for (int i = 0; i < 3; ++i) {
        if (figures[i] == "-")
            m_device->unsetParam("media", driveWords[i]);
        else
            m_device->setParam("media", driveWords[i], figures[i].toStdString());
    }
    show();
    QCOMPARE(QStringList({text("internalLabel"), text("usbLabel"), text("sdLabel")}), labels);
}

// 22 MB of WAV: two minutes, counted down once a tick to nothing and no further.
void TestRecordingPage::countdown()
{
    m_device->setParam("media", "get_freespace_usb", "22");
    show();
    widget<QVexmarButton>("recordButton")->click();
    QTimer *timer = activeTimer(1000);
    QVERIFY(timer);
    QCOMPARE(timer->timerType(), Qt::VeryCoarseTimer);
    const QList<std::tuple<int, const char *, const char *>> steps = {{0, "00:02:00", "white"},
        {59, "00:01:01", "white"}, {1, "00:01:00", "yellow"}, {60, "00:00:00", "yellow"}, {5, "00:00:00", "yellow"}};
    for (const auto &[times, shown, expected] : steps) {
        tick(1000, times);
        QCOMPARE(text("remainingLabel"), QString::fromLatin1(shown) + " Remaining");
        QCOMPARE(colour("remainingLabel"), QByteArray(expected));
    }
    QCOMPARE(text("statusLabel"), QStringLiteral("Recording 00:02:05"));
    QCOMPARE(colour("statusLabel"), QByteArray("red"));
}

void TestRecordingPage::drives_data()
{
    QTest::addColumn<QByteArray>("available"); // internal, USB, SD: 1 or 0
    QTest::addColumn<QByteArrayList>("clicks");
    QTest::addColumn<QByteArray>("shown"); // internal, USB, SD switches
    QTest::addColumn<QByteArrayList>("destinations");
    QTest::addColumn<QString>("remaining");

    QTest::newRow("one drive: chosen, stays selectable")
        << QByteArray("100") << QByteArrayList {"internalSwitch"} << QByteArray("+e -d -d")
        << QByteArrayList {"internal"} << "07:52:00 Remaining";
    QTest::newRow("one drive clicked again stays on")
        << QByteArray("100") << QByteArrayList {"internalSwitch", "internalSwitch"} << QByteArray("+e -d -d")
        << QByteArrayList {"internal", "internal"} << "07:52:00 Remaining";
    QTest::newRow("two drives: the chosen one locked")
        << QByteArray("110") << QByteArrayList {"internalSwitch"} << QByteArray("+d -e -d")
        << QByteArrayList {"internal"} << "07:52:00 Remaining";
    QTest::newRow("two drives: the stored one clicked stays on")
        << QByteArray("110") << QByteArrayList {"usbSwitch"} << QByteArray("-e +d -d") << QByteArrayList {"usb"}
        << "02:48:00 Remaining";
    QTest::newRow("three drives, one after another")
        << QByteArray("111") << QByteArrayList {"sdSwitch", "internalSwitch"} << QByteArray("+d -e -e")
        << QByteArrayList {"sdram", "internal"} << "07:52:00 Remaining";
    QTest::newRow("USB and SD") << QByteArray("011") << QByteArrayList {"sdSwitch"} << QByteArray("-d -e +d")
                                << QByteArrayList {"sdram"} << "00:27:00 Remaining";
}

void TestRecordingPage::drives()
{
    QFETCH(QByteArray, available);
    QFETCH(QByteArrayList, clicks);
    QFETCH(QByteArray, shown);
    QFETCH(QByteArrayList, destinations);
    QFETCH(QString, remaining);
    for (int i = 0; i < 3; ++i) {
        if (available[i] == '0')
            m_device->unsetParam("media", driveWords[i]);
    }
    show();
    for (const QByteArray &name : clicks)
        widget<QVexmarSwitch>(name.constData())->click();
    QCOMPARE(switches({"internalSwitch", "usbSwitch", "sdSwitch"}), shown);
    QCOMPARE(pushed("media_dest"), destinations);
    QCOMPARE(text("remainingLabel"), remaining);
}

void TestRecordingPage::source()
{
    show();
    widget<QVexmarSwitch>("stream2Switch")->click();
    QCOMPARE(switches({"stream1Switch", "stream2Switch", "voiceSwitch"}), QByteArray("-e +e -e"));
    QCOMPARE(pushed("media_src"), QByteArrayList({"stream2", "stream2"}));
    widget<QVexmarSwitch>("voiceSwitch")->click();
    QCOMPARE(pushed("media_src"), QByteArrayList({"voicecall", "voicecall"}));
}

void TestRecordingPage::start_data()
{
    QTest::addColumn<QByteArray>("change"); // "nok" the device refuses the start; "<store> <key>=<value>"
    QTest::addColumn<QByteArrayList>("actions");
    QTest::addColumn<QString>("status"); // after one tick
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QByteArray>("icons"); // record, stop

    QTest::newRow("started") << QByteArray() << QByteArrayList {"record_start"} << QStringLiteral("Recording 00:00:01")
                             << true << QByteArray("rec-red stop-white");
    QTest::newRow("refused by the device")
        << QByteArray("nok") << QByteArrayList {"record_start"} << QStringLiteral("Ready 00:00:00") << false
        << QByteArray("rec-rgrey stop-grey");
    QTest::newRow("no drive chosen") << QByteArray("db:ui:quorvane_ui media_dest=none") << QByteArrayList()
                                     << QStringLiteral("Ready 00:00:00") << false << QByteArray("rec-rgrey stop-grey");
    QTest::newRow("no space") << QByteArray("media get_freespace_record=0\nmedia get_freespace_usb=0\n"
                                            "media get_freespace_sdcard=0")
                              << QByteArrayList() << QStringLiteral("No space 00:00:00") << false
                              << QByteArray("rec-grey stop-grey");
}

void TestRecordingPage::start()
{
    QFETCH(QByteArray, change);
    QFETCH(QByteArrayList, actions);
    QFETCH(QString, status);
    QFETCH(bool, locked);
    QFETCH(QByteArray, icons);

    if (change == "nok") {
        SimDevice::Fault f = rpctesting::fault(SimDevice::Fault::Nok);
        f.match = kra::ACT_RECORD_START;
        m_device->addFault(f);
    } else {
        m_device->loadSetup(change);
    }
    show();
    widget<QVexmarButton>("recordButton")->click();
    QCOMPARE(recorderActions(), actions);
    QCOMPARE(activeTimer(1000) != nullptr, locked);
    if (locked)
        tick(1000, 1);
    QCOMPARE(text("statusLabel"), status);
    QCOMPARE(icon("recordButton") + " " + icon("stopButton"), icons);
    QCOMPARE(switches({"stream1Switch", "stream2Switch", "voiceSwitch"}), QByteArray(locked ? "+d -d -d" : "+e -e -e"));
    QCOMPARE(widget("projectCombo")->isEnabled(), !locked);
    QCOMPARE(widget("fileNameButton")->isEnabled(), !locked);
    if (locked)
        QCOMPARE(switches({"internalSwitch", "usbSwitch", "sdSwitch"}), QByteArray("-d +d -d"));
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
    QCOMPARE(icon("stopButton"), QByteArray("stop-grey"));
    widget<QVexmarButton>("recordButton")->click();
    QCOMPARE(recorderActions(), QByteArrayList {"record_start"});

    // A confirmation that runs out: red for a second, then every other tick, white at its end; no stop.
    stopButton->click();
    QTimer *blink = activeTimer(500);
    QVERIFY(blink);
    QCOMPARE(blink->timerType(), Qt::CoarseTimer);
    QByteArrayList seen {icon("stopButton")};
    for (int i = 0; i < 21; ++i) {
        tick(500, 1);
        seen << icon("stopButton");
    }
    QCOMPARE(seen.mid(0, 5), QByteArrayList({"stop-red", "stop-red", "stop-white", "stop-red", "stop-white"}));
    QCOMPARE(seen.last(), QByteArray("stop-white"));
    QVERIFY(!activeTimer(500));
    QCOMPARE(recorderActions(), QByteArrayList());

    // The next press arms again; a second one stops.
    stopButton->click();
    QCOMPARE(icon("stopButton"), QByteArray("stop-red"));
    QCOMPARE(recorderActions(), QByteArrayList());
    if (refused)
        m_device->setParam("audio", "recorder_state", "stopped");
    stopButton->click();
    QCOMPARE(recorderActions(), QByteArrayList {"record_stop"});
    QCOMPARE(QByteArray::fromStdString(m_device->param("audio", "recorder_state")), QByteArray("stopped"));
    QCOMPARE(text("statusLabel"), QStringLiteral("Ready 00:00:00"));
    QCOMPARE(icon("recordButton") + " " + icon("stopButton"), QByteArray("rec-rgrey stop-grey"));
    QVERIFY(!activeTimer(1000) && !activeTimer(500));
    QCOMPARE(switches({"stream1Switch", "stream2Switch", "voiceSwitch"}), QByteArray("+e -e -e"));
    QVERIFY(widget("projectCombo")->isEnabled());
}

// A recording the page did not start: the texts stay, no timer runs, the settings cannot change; the stop
// works with its confirmation.
void TestRecordingPage::shownWhileRecording()
{
    m_device->setParam("audio", "recorder_state", "rec");
    show();
    QCOMPARE(text("statusLabel"), QStringLiteral("Initialisation"));
    QCOMPARE(text("remainingLabel"), QStringLiteral("Initialisation"));
    QVERIFY(!activeTimer(1000));
    widget<QVexmarSwitch>("stream2Switch")->click();
    widget<QVexmarButton>("recordButton")->click();
    QCOMPARE(switches({"stream1Switch", "stream2Switch"}), QByteArray("+e -e"));
    QCOMPARE(pushed("media_src"), QByteArrayList());
    auto *stopButton = widget<QVexmarButton>("stopButton");
    stopButton->click();
    QCOMPARE(icon("stopButton"), QByteArray("stop-red"));
    stopButton->click();
    QCOMPARE(recorderActions(), QByteArrayList {"record_stop"});
}

// The page's own recording, ended on the device meanwhile: the next show finds the recorder idle.
void TestRecordingPage::recordingEndedOnDevice()
{
    show();
    widget<QVexmarButton>("recordButton")->click();
    tick(1000, 3);
    m_device->setParam("audio", "recorder_state", "stopped");
    show();
    QCOMPARE(text("statusLabel"), QStringLiteral("Ready 00:00:00"));
    QVERIFY(!activeTimer(1000));
    QCOMPARE(switches({"stream1Switch", "stream2Switch", "voiceSwitch"}), QByteArray("+e -e -e"));
    QVERIFY(widget("projectCombo")->isEnabled());
    QVERIFY(widget("fileNameButton")->isEnabled());
}

void TestRecordingPage::playback_data()
{
    QTest::addColumn<QByteArray>("state");
    QTest::newRow("playing") << QByteArray("play");
    QTest::newRow("paused") << QByteArray("play_paused");
}

// The overlay alone, grey all over but the home button; the home button works, nothing was refreshed.
void TestRecordingPage::playback()
{
    QFETCH(QByteArray, state);
    m_device->setParam("audio", "recorder_state", state.toStdString());
    show();
    auto *overlay = widget<QLabel>("playbackOverlay");
    QVERIFY(overlay->isVisible());
    QCOMPARE(overlay->text(), QStringLiteral("Can not use record module during playback"));
    QCOMPARE(text("statusLabel"), QStringLiteral("Initialisation"));
    const QImage page = m_page->grab().toImage();
    const QRgb grey = rgb(50, 50, 50);
    const QRect home(1154, 548, 120, 90);
    // All but the text and the home button's icon.
    QCOMPARE(countPixels(page, QRect(0, 0, 1280, 300), grey), 1280 * 300);
    QCOMPARE(countPixels(page, QRect(0, 400, 1150, 276), grey), 1150 * 276);
    QCOMPARE(countPixels(page, QRect(1154, 640, 126, 36), grey), 126 * 36);
    QVERIFY(countPixels(page, home, rgb(0, 162, 232)) > 500);

    QSignalSpy requested(m_page, &QVexmarRecordingPage::pageActivated);
    widget<QVexmarButton>("homeButton")->click();
    widget<QVexmarButton>("ftpButton")->click();
    QCOMPARE(requested.count(), 2);
    QCOMPARE(requested.at(0).at(0).value<QVexmar::Page>(), QVexmar::HomePage);
    QCOMPARE(requested.at(1).at(0).value<QVexmar::Page>(), QVexmar::SettingsFtpServer);

    // The device stopped: the next show takes the overlay away.
    m_device->setParam("audio", "recorder_state", "stopped");
    show();
    QVERIFY(!overlay->isVisible());
    QCOMPARE(text("statusLabel"), QStringLiteral("Ready 00:00:00"));
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
    QStringList shown;
    for (int i = 0; i < combo->count(); ++i)
        shown << combo->itemText(i);
    QCOMPARE(shown, QStringList({"Caf_", "My_Project", "new"}));
    QCOMPARE(combo->currentText(), QStringLiteral("My_Project"));
    QCOMPARE(pushed("project"), QByteArrayList {"My Project"});

    widget<QVexmarButton>("recordButton")->click();
    bool intoProject = false;
    for (const RpcMessage &request : m_device->requests()) {
        if (*request.body().param(kra::KEY_ACTION, true) == kra::ACT_RECORD_START)
            intoProject = *request.body().param(kra::ACT_GENERIC_URI, true) == "/mnt/usb/My Project/take.wav";
    }
    QVERIFY(intoProject);
    widget<QVexmarButton>("stopButton")->click();
    widget<QVexmarButton>("stopButton")->click();
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
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArrayList>("stored");
    QTest::newRow("sanitised") << "a b.wav" << true << " a_b_wav" << QByteArrayList {"a_b_wav"};
    QTest::newRow("cancelled") << "a b.wav" << false << " take" << QByteArrayList();
    QTest::newRow("empty") << "" << true << " take" << QByteArrayList();
}

void TestRecordingPage::fileName()
{
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(QString, shown);
    QFETCH(QByteArrayList, stored);
    show();
    QCOMPARE(text("fileNameLabel"), QStringLiteral(" take"));
    // A white field: the label's fill right of its text.
    const QImage field = widget("fileNameLabel")->grab().toImage();
    QCOMPARE(countPixels(field, QRect(250, 0, 100, 44), rgb(Qt::white)), 100 * 44);

    auto *opener = widget<QVexmarButton>("fileNameButton");
    opener->click();
    auto *keyboard = opener->findChild<QVexmarVirtual *>();
    QVERIFY(keyboard && keyboard->isVisible());
    QCOMPARE(keyboard->titleLabel.text(), QStringLiteral("Filename prefix: "));
    QCOMPARE(keyboard->lineEdit.text(), QString());
    QCOMPARE(keyboard->windowModality(), Qt::ApplicationModal);
    const QPoint corner = m_page->mapToGlobal(QPoint(0, 0));
    QCOMPARE(keyboard->windowHandle()->framePosition(),
        corner + QPoint((1280 - keyboard->width()) / 2, (676 - keyboard->height()) / 2));
    keyboard->lineEdit.setText(typed);
    keyboard->keys[ok ? 31 : 28]->click();
    QVERIFY(!keyboard->isVisible());
    QCOMPARE(text("fileNameLabel"), shown);
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
    QCOMPARE(rig.window->currentPage(), int(QVexmar::RecordingPage));
    auto *page = qobject_cast<QVexmarRecordingPage *>(rig.window->pageStack()->currentWidget());
    QVERIFY(page);
    page->findChild<QVexmarButton *>(QStringLiteral("homeButton"))->click();
    QCOMPARE(rig.window->currentPage(), int(QVexmar::HomePage));
}

QTEST_MAIN(TestRecordingPage)
#include "tst_vexmarrecordingpage.moc"
