#include "app/managedevicesdialog.h"
#include "app/quorvane.h"
#include "app/quorvanedialog.h"
#include "device/accessors.h"
#include "rpc/ccom.h"
#include "screen/vexmarloginpage.h"
#include "screen/vexmarwindow.h"
#include "shell/programdirectory.h"
#include "shell/rotatinglogfile.h"
#include "shell/sshclient.h"
#include "tests/peers/simdevice.h"
#include "tests/pixeltesting.h"
#include "tests/readonlydirectory.h"
#include "tests/testfiles.h"
#include "tests/windowtesting.h"
#include "widgets/screenpointer.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarvirtual.h"

#include <QTcpServer>
#include <QtTest>
#include <QtWidgets>

#include <functional>

namespace {

struct Device
{
    int id;
    QString name;
};

// A configuration file with the devices (serial number and password made up) and the recent ids.
bool writeConfiguration(const QString &directory, const QList<Device> &devices, const QList<int> &recent)
{
    QString elements = QStringLiteral("<applicationSettings><server hostname=\"127.0.0.1\"/></applicationSettings>"
                                      "<knownDevices>");
    for (const Device &device : devices)
        elements += QStringLiteral("<device id=\"%1\" name=\"%2\" serialno=\"00%1\" password=\"pw%1\"/>")
                        .arg(QString::number(device.id), device.name.toHtmlEscaped());
    elements += QStringLiteral("</knownDevices><recentDevices maxDevices=\"10\">");
    for (const int id : recent)
        elements += QStringLiteral("<device id=\"%1\"/>").arg(id);
    return ::writeConfiguration(directory, elements + QStringLiteral("</recentDevices>"));
}

// Records the key events that reach a widget.
class KeyRecorder : public QObject
{
public:
    QList<QPair<int, int>> keys; // event type, key

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->modifiers() == Qt::NoModifier && key->text().isEmpty() && !key->isAutoRepeat()
                && key->count() == 1)
                keys.append({int(event->type()), key->key()});
        }
        return false;
    }
};

} // namespace

class TestQuorvane : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsWithDefaults();
    void sslCheckedInBackground();
    void startWithUnwritableDirectory_data();
    void startWithUnwritableDirectory();
    void busyWhileWaitingForTheDevice();
    void messagePanel_data();
    void messagePanel();
    void deviceNameFromTheDevice();
    void closeQuestion_data();
    void closeQuestion();
    void aboutDialog();
    void recentMenu_data();
    void recentMenu();
    void deviceIdOutsideRangeIsRefused_data();
    void deviceIdOutsideRangeIsRefused();
    void failedSaveIsShown();
    void connectionStates_data();
    void connectionStates();
    void keyboardSendsMessage_data();
    void keyboardSendsMessage();

private:
    Quorvane &makeWindow();
    QString statusText() const { return ::statusText(*m_window); }
    QColor statusColour() const { return statusLabel(*m_window)->palette().color(QPalette::WindowText); }
    QString menuStates() const { return ::menuStates(*m_window); }
    QAction *action(const char *name) const { return windowAction(*m_window, name); }
    QMenu *recentDevicesMenu() const { return m_window->findChild<QMenu *>(QStringLiteral("recentMenu")); }

    // A window in Idle that has picked the device "Studio" (id 77) from "&Recent", whose relay login failed.
    void pickStudio();
    void apply(const QString &event);

    QScopedPointer<QTemporaryDir> m_dir;
    QScopedPointer<Quorvane> m_window;
    AskedBoxes m_boxes;
};

void TestQuorvane::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    setProgramDirectory(m_dir->path());
    m_boxes = AskedBoxes();
}

void TestQuorvane::cleanup()
{
    m_window.reset();
    getCom()->disconnectFromDevice();
    setProgramDirectory(QString());
}

Quorvane &TestQuorvane::makeWindow()
{
    m_window.reset(new Quorvane);
    // A relay login finds nobody at once.
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    m_window->setRelayLoginOptions({closed.serverPort(), 1000});
    m_boxes.attach(*m_window);
    return *m_window;
}

void TestQuorvane::startsWithDefaults()
{
    Quorvane &window = makeWindow();
    QCOMPARE(window.windowTitle(), QStringLiteral("My Quorvane (Remote Edition) - Version 1.01.04.0"));
    QCOMPARE(statusText(), QStringLiteral("No active connection"));
    QCOMPARE(statusColour(), QColor(Qt::red));
    QCOMPARE(menuStates(), QStringLiteral("000"));
    QVERIFY(window.checkSslSupport());
    QCOMPARE(menuStates(), QStringLiteral("110"));
    QCOMPARE(g_screenWindow.data(), static_cast<QWidget *>(window.screenWindow()));

    // The menu bar in its order, its entries readable on the black window.
    QStringList texts;
    for (const QAction *item : window.menuBar()->actions())
        texts.append(item->text());
    QCOMPARE(texts, (QStringList {"&Recent", "&Disconnect", "&Manage devices", "?"}));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage bar = window.menuBar()->grab().toImage();
    for (QAction *item : window.menuBar()->actions()) {
        const QRect area = window.menuBar()->actionGeometry(item);
        int bright = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x)
                bright += qGray(bar.pixel(x, y)) > 128 ? 1 : 0;
        }
        QVERIFY2(bright > 10, qPrintable(item->text()));
    }

    // The bar looks as the style's own bar with the same entries would.
    QMenuBar stockBar;
    QPalette barColours;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = QPalette::ColorGroup(group);
            const auto r = QPalette::ColorRole(role);
            barColours.setBrush(g, r, window.menuBar()->palette().brush(g, r));
        }
    }
    stockBar.setPalette(barColours);
    stockBar.setFont(window.menuBar()->font());
    stockBar.addActions(window.menuBar()->actions());
    stockBar.resize(window.menuBar()->size());
    QCOMPARE(
        bar.convertToFormat(QImage::Format_RGB32), stockBar.grab().toImage().convertToFormat(QImage::Format_RGB32));

    // The rules under the device screen and above the status bar look as the style's own plain rule would.
    const QList<QFrame *> rules = window.findChildren<QFrame *>();
    int ruleCount = 0;
    for (QFrame *rule : rules) {
        if (rule->frameShape() != QFrame::HLine)
            continue;
        ++ruleCount;
        QFrame stock;
        stock.setFrameShape(QFrame::HLine);
        stock.setFrameShadow(QFrame::Plain);
        QPalette colours;
        for (const QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText})
            colours.setColor(role, rule->palette().color(role));
        stock.setPalette(colours);
        stock.resize(rule->size());
        QCOMPARE(rule->grab().toImage().convertToFormat(QImage::Format_RGB32),
            stock.grab().toImage().convertToFormat(QImage::Format_RGB32));
    }
    QCOMPARE(ruleCount, 2);

    // The configuration is written with the defaults, the log is open; the device screen is shown whole.
    QVERIFY(readFile(configurationFilePath()).contains("<logger logMaxSize=\"512\" logMaxFiles=\"25\"/>"));
    QVERIFY(QDir(logDirectoryPath()).entryList({QStringLiteral("*-MyQuorvaneRE.log")}, QDir::Files).size() == 1);
    QCOMPARE(window.screenWindow()->size(), QSize(1280, 720));
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("messagePanel"))->isVisible());
}

// The program's start asks for TLS after its first frame: the connecting menus come on once the answer is in, and a
// window closed while the question runs waits for it.
void TestQuorvane::sslCheckedInBackground()
{
    Quorvane &window = makeWindow();
    window.checkSslSupportInBackground();
    window.checkSslSupportInBackground();
    QTRY_COMPARE(menuStates(), QStringLiteral("110"));
    QCOMPARE(statusText(), QStringLiteral("No active connection"));

    m_window.reset(new Quorvane);
    m_window->checkSslSupportInBackground();
    m_window.reset();
}

void TestQuorvane::startWithUnwritableDirectory_data()
{
    QTest::addColumn<bool>("configured");
    QTest::addColumn<bool>("logsExist");
    QTest::newRow("empty directory") << false << false;
    QTest::newRow("configured, no logs directory yet") << true << false;
    QTest::newRow("configured, logs directory read-only") << true << true;
}

// A read-only (or full) program directory: the program runs without a log and loses none of the configuration.
void TestQuorvane::startWithUnwritableDirectory()
{
    QFETCH(bool, configured);
    QFETCH(bool, logsExist);
    if (configured)
        QVERIFY(writeConfiguration(m_dir->path(), {{3, QStringLiteral("Studio")}}, {3}));
    if (logsExist)
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("logs")));
    const QByteArray before = readFile(configurationFilePath());
    {
        ReadOnlyDirectory readOnly(m_dir->path());
        QVERIFY(readOnly.isReadOnly());
        makeWindow();
        QVERIFY(!m_window->logFile()->isOpen());
        QCOMPARE(statusText(),
            configured ? QStringLiteral("No active connection")
                       : QStringLiteral("Failed to save the configuration file <%1>").arg(configurationFilePath()));
        QCOMPARE(m_window->settings().knownDevices.keys(), configured ? QList<int> {3} : QList<int> {});
        m_window.reset();
    }
    QCOMPARE(readFile(configurationFilePath()), before);
    QCOMPARE(QDir(logDirectoryPath()).entryList(QDir::Files), QStringList());
}

void TestQuorvane::busyWhileWaitingForTheDevice()
{
    SimDevice device;
    QVERIFY(device.listen());
    SimDevice::Fault slow;
    slow.kind = SimDevice::Fault::Delay;
    slow.value = 300;
    device.addFault(slow);
    makeWindow();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.data()));
    QVERIFY(getCom()->connectToDevice(device.host(), device.port(), 0));
    QTRY_COMPARE(getCom()->state(), RpcConnection::ConnectedState);

    // "BUSY" on red in place of the status text while the call waits.
    QStatusBar *bar = m_window->statusBar();
    const auto barColour = [bar] { return bar->grab().toImage().pixelColor(bar->width() - 3, bar->height() / 2); };
    QStringList seen;
    connect(&device, &SimDevice::requestReceived, this, [&] {
        seen << bar->currentMessage() << barColour().name() << QString::number(statusLabel(*m_window)->isVisible());
    });
    kra::CMsg request(kra::CMsg::Param);
    request.addGet("a");
    kra::CMsg reply;
    getCom()->sendSyncMsg(request, reply, 0, 5000);
    QCOMPARE(seen, (QStringList {"BUSY", "#ff0000", "0"}));
    QVERIFY(bar->currentMessage().isEmpty());
    QCOMPARE(barColour(), QColor(Qt::black));
    QVERIFY(statusLabel(*m_window)->isVisible());
}

void TestQuorvane::messagePanel_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("name") << QStringLiteral("Studio <b>A</b>");
    QTest::newRow("a picture") << QString::fromLatin1(pictureMarkup);
    QTest::newRow("empty") << QString();
}

void TestQuorvane::messagePanel()
{
    QFETCH(QString, text);
    Quorvane &window = makeWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto *panel = window.findChild<QWidget *>(QStringLiteral("messagePanel"));
    const auto *label = window.findChild<QLabel *>(QStringLiteral("messageLabel"));

    emit window.screenWindow()->loginClicked(text);
    QVERIFY(panel->isVisible());
    QCOMPARE(label->isVisible(), !text.isEmpty());
    // The label reads markup: the device's name comes escaped.
    QCOMPARE(label->text(), text.toHtmlEscaped());
    QCOMPARE(picturePixels(const_cast<QLabel *>(label)), 0);
    QVERIFY(panel->mapTo(&window, QPoint(0, panel->height())).y() <= window.statusBar()->y());

    // Its button posts the message key to the screen, pressed and released.
    KeyRecorder recorder;
    window.screenWindow()->installEventFilter(&recorder);
    auto *button = window.findChild<QVexmarButton *>(QStringLiteral("messageButton"));
    QVERIFY(button && button->isVisible());
    QCOMPARE(button->grab().toImage().pixelColor(8, 33), QColor(Qt::white));
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(recorder.keys.isEmpty()); // posted, not sent
    QTRY_COMPARE(recorder.keys.size(), 2);
    QCOMPARE(recorder.keys.at(0), qMakePair(int(QEvent::KeyPress), 0x101));
    QCOMPARE(recorder.keys.at(1), qMakePair(int(QEvent::KeyRelease), 0x101));
}

void TestQuorvane::closeQuestion_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << false;
}

void TestQuorvane::closeQuestion()
{
    QFETCH(int, answer);
    QFETCH(bool, closes);
    Quorvane &window = makeWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    m_boxes.answers = {QMessageBox::StandardButton(answer)};

    QCOMPARE(window.close(), closes);
    QCOMPARE(window.isVisible(), !closes);
    QCOMPARE(m_boxes.asked.size(), 1);
    const AskedBoxes::Asked &asked = m_boxes.asked.first();
    QCOMPARE(asked.icon, QMessageBox::Question);
    QCOMPARE(asked.title, QStringLiteral("Exit application"));
    QCOMPARE(asked.text, QStringLiteral("Are you sure to exit?"));
    QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::Cancel);
    QCOMPARE(asked.defaultButton, QMessageBox::Cancel);
}

void TestQuorvane::aboutDialog()
{
    Quorvane &window = makeWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QStringList texts;
    QString link;
    QStringList clipped;
    whenModal<QuorvaneDialog>(this, [&](QuorvaneDialog *dialog) {
        QVERIFY(dialog->parentWidget() == &window);
        for (QLabel *label : dialog->findChildren<QLabel *>()) {
            const bool picture = !label->pixmap(Qt::ReturnByValue).isNull();
            if (!picture)
                texts.append(label->text());
            if (label->openExternalLinks())
                link = label->text();
            // Everything fits into the fixed size.
            if (!dialog->rect().contains(label->geometry())
                || (picture ? label->size().expandedTo(label->sizeHint()) != label->size()
                            : label->height() < label->heightForWidth(label->width())))
                clipped.append(picture ? QStringLiteral("picture") : label->text());
        }
        dialog->reject();
    });
    action("aboutAction")->trigger();
    QCOMPARE(texts.size(), 3);
    QCOMPARE(texts.first(), QStringLiteral("My Quorvane (Remote Edition) - Version 1.01.04.0"));
    QVERIFY(link.contains(QLatin1String("href=\"https://www.example.com/\">www.example.com</a>")));
    QCOMPARE(clipped, QStringList());
}

void TestQuorvane::recentMenu_data()
{
    QTest::addColumn<QList<int>>("recent");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("empty") << QList<int>() << QStringList {QStringLiteral("List is empty")};
    QTest::newRow("in recent order") << QList<int> {3, 1} << QStringList {"Van", "Studio A"};
}

void TestQuorvane::recentMenu()
{
    QFETCH(QList<int>, recent);
    QFETCH(QStringList, entries);
    QVERIFY(writeConfiguration(m_dir->path(), {{1, QStringLiteral("Studio A")}, {3, QStringLiteral("Van")}}, {}));
    makeWindow();
    QVERIFY(m_window->checkSslSupport());
    // Written while the program runs: the menu reads the file each time it opens.
    QVERIFY(writeConfiguration(m_dir->path(), {{1, QStringLiteral("Studio A")}, {3, QStringLiteral("Van")}}, recent));

    QMenu *menu = recentDevicesMenu();
    emit menu->aboutToShow();
    QStringList shown;
    QList<int> ids;
    for (const QAction *entry : menu->actions()) {
        shown.append(entry->text());
        if (entry->isEnabled())
            ids.append(entry->data().toInt());
    }
    QCOMPARE(shown, entries);
    QCOMPARE(ids, recent);
}

// The device's name, read from the device at the login, in the message panel: the text it is, no picture.
void TestQuorvane::deviceNameFromTheDevice()
{
    SimDevice device;
    device.loadSetup(SimDevice::codecSetup());
    device.loadSetup(R"(db:ui:quorvane_ui tabname=<img src=":/images/rec-red.png">)");
    QVERIFY(device.listen());
    makeWindow();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.data()));
    QVERIFY(getCom()->connectToDevice(device.host(), device.port(), 0));
    QTRY_COMPARE(getCom()->state(), RpcConnection::ConnectedState);
    m_window->screenWindow()->loginPage()->loginButton->click();

    auto *label = m_window->findChild<QLabel *>(QStringLiteral("messageLabel"));
    QTRY_VERIFY(label->isVisible());
    QCOMPARE(label->textFormat(), Qt::RichText);
    QCOMPARE(label->text(), QStringLiteral("&lt;img src=&quot;:/images/rec-red.png&quot;&gt;"));
    QCOMPARE(picturePixels(label), 0);
    // The name as sent, unescaped, would draw the picture.
    label->setText(QString::fromLatin1(pictureMarkup));
    QVERIFY(picturePixels(label) > 0);
}

void TestQuorvane::deviceIdOutsideRangeIsRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("a name") << QStringLiteral("Far");
    QTest::newRow("place markers in the name") << QStringLiteral("%2 %1 Far");
    // Closes the message's own '<' so that the picture's tag stands alone.
    QTest::newRow("markup in the name") << QStringLiteral("A> ") + QString::fromLatin1(pictureMarkup)
            + QStringLiteral(" <B");
}

void TestQuorvane::deviceIdOutsideRangeIsRefused()
{
    QFETCH(QString, name);
    QVERIFY(writeConfiguration(m_dir->path(), {{300, name}, {3, QStringLiteral("Van")}}, {3, 300}));
    const QByteArray before = readFile(configurationFilePath());
    makeWindow();
    QVERIFY(m_window->checkSslSupport());
    QMenu *menu = recentDevicesMenu();
    emit menu->aboutToShow();
    QCOMPARE(menu->actions().size(), 2);
    QAction *far = menu->actions().at(1);
    QCOMPARE(far->data().toInt(), 300);

    far->trigger();
    const QString status
        = QStringLiteral("Device <") + name + QStringLiteral("> cannot be connected: its id 300 is outside 1 to 255");
    QCOMPARE(statusText(), status);
    QCOMPARE(textLook(m_window.data(), status), QByteArrayList {"statusLabel: plain"});
    QCOMPARE(statusColour(), QColor(Qt::red));
    QCOMPARE(menuStates(), QStringLiteral("110"));
    QCOMPARE(readFile(configurationFilePath()), before); // not moved to the front of the recent list
}

void TestQuorvane::failedSaveIsShown()
{
    QVERIFY(writeConfiguration(m_dir->path(), {{1, QStringLiteral("Studio A")}}, {1}));
    makeWindow();
    QVERIFY(m_window->checkSslSupport());
    ReadOnlyDirectory readOnly(m_dir->path());
    QVERIFY(readOnly.isReadOnly());

    m_boxes.answers = {QMessageBox::Ok};
    whenModal<ManageDevicesDialog>(this, [](ManageDevicesDialog *dialog) { dialog->reject(); });
    action("manageAction")->trigger();
    QCOMPARE(m_boxes.asked.size(), 1);
    QCOMPARE(m_boxes.asked.first().icon, QMessageBox::Warning);
    QCOMPARE(m_boxes.asked.first().title, QStringLiteral("Save configuration"));
    QVERIFY(m_boxes.asked.first().text.contains(configurationFilePath()));
    QCOMPARE(m_boxes.asked.first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(menuStates(), QStringLiteral("110"));
}

void TestQuorvane::pickStudio()
{
    QVERIFY(writeConfiguration(m_dir->path(), {{77, QStringLiteral("Studio")}}, {77}));
    makeWindow();
    QVERIFY(m_window->checkSslSupport());
    QMenu *menu = recentDevicesMenu();
    emit menu->aboutToShow();
    menu->actions().first()->trigger();
    // A failed login goes back to Idle: no session, no reconnect.
    QCOMPARE(statusText(), QStringLiteral("Failure to connect to server <127.0.0.1>"));
    QCOMPARE(menuStates(), QStringLiteral("110"));
    QVERIFY(!m_window->reconnectTimer()->isActive());
}

// "ssh S": the SSH session reports state S (an SshClient::SessionState); "rpc S": the device connection reports
// state S (an RpcConnection::ConnectionState); "disconnect": the user picks "&Disconnect".
void TestQuorvane::apply(const QString &event)
{
    const QStringList parts = event.split(QLatin1Char(' '));
    const QByteArray name = parts.value(1).toLatin1();
    bool known = false;
    if (parts.first() == QLatin1String("ssh")) {
        const int state = QMetaEnum::fromType<SshClient::SessionState>().keyToValue(name.constData(), &known);
        QVERIFY2(known, name.constData());
        m_window->onSshSessionStateChanged(state);
    } else if (parts.first() == QLatin1String("rpc")) {
        const int state = QMetaEnum::fromType<RpcConnection::ConnectionState>().keyToValue(name.constData(), &known);
        QVERIFY2(known, name.constData());
        m_window->stateChanged(RpcConnection::ConnectionState(state));
    } else if (parts.first() == QLatin1String("disconnect")) {
        action("disconnectAction")->trigger();
    }
}

void TestQuorvane::connectionStates_data()
{
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("status");
    // Status colour, menus, "retry" while the reconnect wait runs, "device" while the device connection is open.
    QTest::addColumn<QString>("state");

    const QString none = QStringLiteral("No active connection");
    const QString connecting = QStringLiteral("Connecting to device <Studio>");
    const QString connected = QStringLiteral("Connected to device <Studio>");
    QTest::newRow("listening") << "ssh SessionListening" << connecting << "red 111 device";
    QTest::newRow("connected") << "ssh SessionListening, rpc ConnectedState" << connected << "white 111 device";
    QTest::newRow("connecting again") << "ssh SessionListening, rpc ConnectedState, rpc ConnectingState" << connecting
                                      << "red 111 device";
    QTest::newRow("device lost") << "ssh SessionListening, rpc ConnectedState, rpc UnconnectedState"
                                 << "Not connected to device <Studio>"
                                 << "red 111 device";
    QTest::newRow("forwarding changes nothing")
        << "ssh SessionListening, rpc ConnectedState, ssh SessionForwarding" << connected << "white 111 device";
    QTest::newRow("no device connection") << "rpc ConnectedState, rpc ConnectingState" << none << "red 110";
    QTest::newRow("closing") << "ssh SessionListening, ssh SessionClosing" << none << "red 000";
    QTest::newRow("dropped") << "ssh SessionListening, ssh SessionClosing, ssh SessionClosed"
                             << "SSH connection failure"
                             << "red 001 retry";
    QTest::newRow("closed without device") << "ssh SessionClosing, ssh SessionClosed" << none << "red 110";
    // The keep-alive's reconnect opened a second local connection, whose end comes before the stop.
    QTest::newRow("dropped, then the reconnect's end")
        << "ssh SessionListening, ssh SessionClosing, ssh SessionClosing, ssh SessionClosed"
        << "SSH connection failure"
        << "red 001 retry";
    QTest::newRow("session failure") << "ssh SessionFailed"
                                     << "SSH session failure"
                                     << "red 001 retry";
    QTest::newRow("failure after drop") << "ssh SessionListening, ssh SessionClosing, ssh SessionFailed"
                                        << "SSH connection failure"
                                        << "red 001 retry";
    QTest::newRow("disconnect while waiting to reconnect") << "ssh SessionFailed, disconnect" << none << "red 110";
    QTest::newRow("listening again stops the wait")
        << "ssh SessionFailed, ssh SessionListening" << connecting << "red 001 device";
}

void TestQuorvane::connectionStates()
{
    QFETCH(QString, events);
    QFETCH(QString, status);
    QFETCH(QString, state);

    pickStudio();
    emit m_window->screenWindow()->loginClicked(QStringLiteral("Studio"));
    for (const QString &event : events.split(QStringLiteral(", ")))
        apply(event);

    QCOMPARE(statusText(), status);
    const bool retrying = m_window->reconnectTimer()->isActive();
    const bool device = getCom()->connection().isActive();
    QCOMPARE(QString(QLatin1String(statusColour() == Qt::white ? "white "
                     : statusColour() == Qt::red               ? "red "
                                                               : "? "))
            + menuStates() + QLatin1String(retrying ? " retry" : "") + QLatin1String(device ? " device" : ""),
        state);
    if (retrying)
        QCOMPARE(m_window->reconnectTimer()->interval(), 10000);
    if (device)
        QCOMPARE(getCom()->host() + QLatin1Char(':') + QString::number(getCom()->tcpPort()),
            QStringLiteral("127.0.0.77:7001"));
    // Leaving the session hides the message panel.
    const bool left = events.contains(QStringLiteral("ssh SessionClosing"))
        || events.contains(QStringLiteral("ssh SessionClosed")) || events.contains(QStringLiteral("ssh SessionFailed"));
    QCOMPARE(m_window->findChild<QWidget *>(QStringLiteral("messagePanel"))->isHidden(), left);
    QVERIFY(m_boxes.asked.isEmpty());
}

void TestQuorvane::keyboardSendsMessage_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("deviceAccepts");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("failureShown");

    const QString text = QString::fromUtf8("Gr\u00fc\u00dfe \u20ac");
    const QByteArray wire("Gr\xc3\xbc\xc3\x9f"
                          "e ?");
    QTest::newRow("ok") << text << true << true << wire << false;
    QTest::newRow("cancelled") << text << false << true << QByteArray() << false;
    QTest::newRow("empty") << QString() << true << true << QByteArray() << false;
    QTest::newRow("refused") << QStringLiteral("hello") << true << false << QByteArray("hello") << true;
}

void TestQuorvane::keyboardSendsMessage()
{
    QFETCH(QString, typed);
    QFETCH(bool, ok);
    QFETCH(bool, deviceAccepts);
    QFETCH(QByteArray, sent);
    QFETCH(bool, failureShown);

    SimDevice device;
    QVERIFY(device.listen());
    QByteArrayList messages;
    device.setAction("display", [&](const kra::CMsg &request, kra::CMsg &reply) {
        const std::string *message = request.param("message");
        messages.append(message ? QByteArray::fromStdString(*message) : QByteArray("<none>"));
        if (!deviceAccepts)
            reply.setParam("return", "NOK");
    });
    makeWindow();
    m_window->show();
    QVERIFY(getCom()->connectToDevice(device.host(), device.port(), 0));
    QTRY_COMPARE(getCom()->state(), RpcConnection::ConnectedState);

    auto *keyboard = new QVexmarVirtual(true, m_window.data());
    connect(keyboard, &QVexmarPopup::popupClosed, m_window.data(), &Quorvane::keyboardClosed);
    keyboard->show();
    keyboard->lineEdit.setText(typed);
    QVexmarButton *button = keyboard->keys[ok ? 31 : 28];
    QCOMPARE(button->text(), ok ? QStringLiteral("OK") : QStringLiteral("Cancel"));
    QTest::mouseClick(button, Qt::LeftButton);

    QCOMPARE(messages, sent.isNull() ? QByteArrayList() : QByteArrayList {sent});
    QCOMPARE(m_boxes.asked.size(), failureShown ? 1 : 0);
    if (failureShown) {
        QCOMPARE(m_boxes.asked.first().icon, QMessageBox::Critical);
        QCOMPARE(m_boxes.asked.first().title, QStringLiteral("Send message"));
        QCOMPARE(m_boxes.asked.first().text, QStringLiteral("Failed to send message!"));
    }
}

QTEST_MAIN(TestQuorvane)
#include "tst_quorvane.moc"
