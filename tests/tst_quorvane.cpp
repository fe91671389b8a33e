#include "accessors.h"
#include "ccom.h"
#include "managedevicesdialog.h"
#include "programdirectory.h"
#include "quorvane.h"
#include "quorvanedialog.h"
#include "readonlydirectory.h"
#include "rotatinglogfile.h"
#include "screenpointer.h"
#include "simdevice.h"
#include "vexmarbutton.h"
#include "vexmarvirtual.h"
#include "vexmarwindow.h"

#include <QTcpServer>
#include <QtTest>
#include <QtWidgets>

#include <functional>

namespace {

const QString kDefaultConfiguration = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<settings version=\"1\">"
    "<applicationSettings><logger logMaxSize=\"512\" logMaxFiles=\"25\"/><server hostname=\"127.0.0.1\"/>"
    "</applicationSettings>"
    "<knownDevices>%1</knownDevices><recentDevices maxDevices=\"10\">%2</recentDevices></settings>");

struct Device
{
    int id;
    QString name;
};

// A configuration file with the devices (serial number and password made up) and the recent ids.
bool writeConfiguration(const QString &directory, const QList<Device> &devices, const QList<int> &recent)
{
    QString known;
    for (const Device &device : devices)
        known += QStringLiteral("<device id=\"%1\" name=\"%2\" serialno=\"00%1\" password=\"pw%1\"/>")
                     .arg(device.id)
                     .arg(device.name);
    QString recentText;
    for (const int id : recent)
        recentText += QStringLiteral("<device id=\"%1\"/>").arg(id);
    QFile file(directory + QStringLiteral("/MyQuorvaneRE.xml"));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(kDefaultConfiguration.arg(known, recentText).toLatin1()) > 0;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A question or notice box as the window asked it.
struct Asked
{
    QMessageBox::Icon icon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
};

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
    void startWithUnwritableDirectory();
    void idleAfterTlsCheck();
    void busyIndicator();
    void messagePanel_data();
    void messagePanel();
    void messageButtonPostsKeyToScreen();
    void closeQuestion_data();
    void closeQuestion();
    void aboutDialog();
    void aboutOpensModal();
    void recentMenu_data();
    void recentMenu();
    void deviceIdOutsideRangeIsRefused();
    void failedSaveIsShown();
    void disconnectWithoutSession();
    void connectionStates_data();
    void connectionStates();
    void busyWhileWaitingForTheDevice();
    void keyboardSendsMessage_data();
    void keyboardSendsMessage();

private:
    Quorvane &makeWindow();
    QString statusText() const;
    QColor statusColour() const;
    // "&Recent", "&Manage devices", "&Disconnect" as on/off letters, e.g. "110".
    QString menuStates() const;
    QAction *action(const char *name) const;
    template<class T>
    void whenModal(std::function<void(T *)> action);

    // A window in Idle that has picked the device "Studio" (id 77) from "&Recent", whose relay login failed.
    void pickStudio();
    void apply(const QString &event);

    QScopedPointer<QTemporaryDir> m_dir;
    QScopedPointer<Quorvane> m_window;
    QList<Asked> m_asked;
    QList<QMessageBox::StandardButton> m_answers;
    std::function<void()> m_whileAsking;
};

void TestQuorvane::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    setProgramDirectory(m_dir->path());
    m_asked.clear();
    m_answers.clear();
    m_whileAsking = nullptr;
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
    m_window->setMessageBoxHandler(
        [this](QMessageBox::Icon icon, const QString &title, const QString &text, QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton defaultButton) {
            m_asked.append({icon, title, text, buttons, defaultButton});
            if (m_whileAsking)
                m_whileAsking();
            return m_answers.isEmpty() ? QMessageBox::NoButton : m_answers.takeFirst();
        });
    return *m_window;
}

QString TestQuorvane::statusText() const
{
    return m_window->findChild<QLabel *>(QStringLiteral("statusLabel"))->text();
}

QColor TestQuorvane::statusColour() const
{
    return m_window->findChild<QLabel *>(QStringLiteral("statusLabel"))->palette().color(QPalette::WindowText);
}

QAction *TestQuorvane::action(const char *name) const
{
    return m_window->findChild<QAction *>(QLatin1String(name));
}

QString TestQuorvane::menuStates() const
{
    const QMenu *recent = m_window->findChild<QMenu *>(QStringLiteral("recentMenu"));
    QString states;
    for (const bool on : {recent->menuAction()->isEnabled(), action("manageAction")->isEnabled(),
             action("disconnectAction")->isEnabled()})
        states += on ? QLatin1Char('1') : QLatin1Char('0');
    return states;
}

template<class T>
void TestQuorvane::whenModal(std::function<void(T *)> action)
{
    auto *timer = new QTimer(this);
    timer->setInterval(1);
    connect(timer, &QTimer::timeout, this, [timer, action] {
        auto *window = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!window || !window->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        action(window);
    });
    timer->start();
}

void TestQuorvane::startsWithDefaults()
{
    Quorvane &window = makeWindow();
    QCOMPARE(window.objectName(), QStringLiteral("Quorvane"));
    QCOMPARE(window.windowTitle(), QStringLiteral("My Quorvane (Remote Edition) - Version 1.01.04.0"));
    QCOMPARE(window.minimumSize(), QSize(1280, 855));
    QCOMPARE(window.maximumSize(), QSize(1280, 855));
    QCOMPARE(statusText(), QStringLiteral("No active connection"));
    QCOMPARE(statusColour(), QColor(Qt::red));
    QCOMPARE(menuStates(), QStringLiteral("000"));
    QVERIFY(action("aboutAction")->isEnabled());
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

    // The configuration is written with the defaults, the log is open.
    QVERIFY(readFile(configurationFilePath()).contains("<logger logMaxSize=\"512\" logMaxFiles=\"25\"/>"));
    QVERIFY(QDir(logDirectoryPath()).entryList({QStringLiteral("*-MyQuorvaneRE.log")}, QDir::Files).size() == 1);

    // Screen and message panel fill the window's height under the menu bar, above the status bar.
    QCOMPARE(window.screenWindow()->size(), QSize(1280, 720));
    QCOMPARE(window.screenWindow()->mapTo(&window, QPoint(0, 0)).y(), window.menuBar()->height());
    QVERIFY(window.statusBar()->geometry().bottom() == window.height() - 1);
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("messagePanel"))->isVisible());
}

void TestQuorvane::startWithUnwritableDirectory()
{
    ReadOnlyDirectory readOnly(m_dir->path());
    QVERIFY(readOnly.isReadOnly());
    makeWindow();
    QCOMPARE(statusText(), QStringLiteral("Failed to save the configuration file <%1>").arg(configurationFilePath()));
    QVERIFY(!m_window->logFile()->isOpen());
    m_window.reset();
}

void TestQuorvane::idleAfterTlsCheck()
{
    makeWindow();
    QVERIFY(QSslSocket::supportsSsl());
    QVERIFY(m_window->checkSslSupport());
    QCOMPARE(menuStates(), QStringLiteral("110"));
    QCOMPARE(statusText(), QStringLiteral("No active connection"));
}

void TestQuorvane::busyIndicator()
{
    Quorvane &window = makeWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto *label = window.findChild<QLabel *>(QStringLiteral("statusLabel"));
    QStatusBar *bar = window.statusBar();

    window.busyStateChanged(true);
    QCOMPARE(bar->currentMessage(), QStringLiteral("BUSY"));
    QVERIFY(!label->isVisible());
    QCOMPARE(bar->palette().color(QPalette::Window), QColor(Qt::red));
    QCOMPARE(bar->grab().toImage().pixelColor(bar->width() - 3, bar->height() / 2), QColor(Qt::red));

    window.busyStateChanged(false);
    QVERIFY(bar->currentMessage().isEmpty());
    QVERIFY(label->isVisible());
    QCOMPARE(label->text(), QStringLiteral("No active connection"));
    QCOMPARE(bar->grab().toImage().pixelColor(bar->width() - 3, bar->height() / 2), QColor(Qt::black));
}

void TestQuorvane::messagePanel_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("name") << QStringLiteral("Studio <b>A</b>");
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
    QCOMPARE(panel->height(), 86);
    QCOMPARE(label->isVisible(), !text.isEmpty());
    QCOMPARE(label->text(), text);
    QCOMPARE(label->geometry(), QRect(855, 0, 410, 86));
    QCOMPARE(label->font().pixelSize(), 32);
    QVERIFY(panel->mapTo(&window, QPoint(0, panel->height())).y() <= window.statusBar()->y());
}

void TestQuorvane::messageButtonPostsKeyToScreen()
{
    Quorvane &window = makeWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    emit window.screenWindow()->loginClicked(QStringLiteral("Studio"));
    KeyRecorder recorder;
    window.screenWindow()->installEventFilter(&recorder);

    auto *button = window.findChild<QVexmarButton *>(QStringLiteral("messageButton"));
    QVERIFY(button && button->isVisible());
    QCOMPARE(button->geometry(), QRect(10, 10, 98, 66));
    QCOMPARE(button->borderWidth, 4);
    // White face around the picture.
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
    m_answers = {QMessageBox::StandardButton(answer)};

    QCOMPARE(window.close(), closes);
    QCOMPARE(window.isVisible(), !closes);
    QCOMPARE(m_asked.size(), 1);
    QCOMPARE(m_asked.first().icon, QMessageBox::Question);
    QCOMPARE(m_asked.first().title, QStringLiteral("Exit application"));
    QCOMPARE(m_asked.first().text, QStringLiteral("Are you sure to exit?"));
    QCOMPARE(m_asked.first().buttons, QMessageBox::Yes | QMessageBox::Cancel);
    QCOMPARE(m_asked.first().defaultButton, QMessageBox::Cancel);
}

void TestQuorvane::aboutDialog()
{
    QuorvaneDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("About My Quorvane (Remote Edition)"));
    QCOMPARE(dialog.size(), QSize(350, 272));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!(dialog.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);

    QStringList texts;
    QLabel *picture = nullptr;
    QLabel *link = nullptr;
    for (QLabel *label : dialog.findChildren<QLabel *>()) {
        if (!label->pixmap(Qt::ReturnByValue).isNull())
            picture = label;
        else
            texts.append(label->text());
        if (label->text().contains(QLatin1String("href")))
            link = label;
    }
    QVERIFY(picture);
    QCOMPARE(picture->pixmap(Qt::ReturnByValue).size(), QPixmap(QStringLiteral(":/images/MyQuorvaneRE.png")).size());
    QCOMPARE(texts.size(), 3);
    QCOMPARE(texts.at(0), QStringLiteral("My Quorvane (Remote Edition) - Version 1.01.04.0"));
    QVERIFY(texts.at(1).contains(QLatin1String("MyQuorvaneRE")));
    QVERIFY(link && link->openExternalLinks());
    QVERIFY(link->text().contains(QLatin1String("href=\"https://www.example.com/\">www.example.com</a>")));
    for (QLabel *label : dialog.findChildren<QLabel *>()) {
        if (label != picture)
            QVERIFY(label->font().bold());
    }

    // Everything fits into the fixed size.
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    for (QLabel *label : dialog.findChildren<QLabel *>()) {
        QVERIFY(dialog.rect().contains(label->geometry()));
        if (label == picture)
            QVERIFY(label->size().expandedTo(label->sizeHint()) == label->size());
        else
            QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(label->text()));
    }
}

void TestQuorvane::aboutOpensModal()
{
    Quorvane &window = makeWindow();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    bool seen = false;
    whenModal<QuorvaneDialog>([&](QuorvaneDialog *dialog) {
        seen = dialog->parentWidget() == &window;
        dialog->reject();
    });
    action("aboutAction")->trigger();
    QVERIFY(seen);
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

    auto *menu = m_window->findChild<QMenu *>(QStringLiteral("recentMenu"));
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

void TestQuorvane::deviceIdOutsideRangeIsRefused()
{
    QVERIFY(writeConfiguration(m_dir->path(), {{300, QStringLiteral("Far")}, {3, QStringLiteral("Van")}}, {3, 300}));
    const QByteArray before = readFile(configurationFilePath());
    makeWindow();
    QVERIFY(m_window->checkSslSupport());
    auto *menu = m_window->findChild<QMenu *>(QStringLiteral("recentMenu"));
    emit menu->aboutToShow();
    QCOMPARE(menu->actions().size(), 2);
    QAction *far = menu->actions().at(1);
    QCOMPARE(far->data().toInt(), 300);

    far->trigger();
    QCOMPARE(statusText(), QStringLiteral("Device <Far> cannot be connected: its id 300 is outside 1 to 255"));
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

    m_answers = {QMessageBox::Ok};
    whenModal<ManageDevicesDialog>([](ManageDevicesDialog *dialog) { dialog->reject(); });
    action("manageAction")->trigger();
    QCOMPARE(m_asked.size(), 1);
    QCOMPARE(m_asked.first().icon, QMessageBox::Warning);
    QCOMPARE(m_asked.first().title, QStringLiteral("Save configuration"));
    QVERIFY(m_asked.first().text.contains(configurationFilePath()));
    QCOMPARE(m_asked.first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(menuStates(), QStringLiteral("110"));
}

void TestQuorvane::disconnectWithoutSession()
{
    makeWindow();
    QVERIFY(m_window->checkSslSupport());
    m_window->onSshSessionStateChanged(-1);
    QCOMPARE(menuStates(), QStringLiteral("001"));
    QVERIFY(m_window->reconnectTimer()->isActive());

    action("disconnectAction")->trigger();
    QVERIFY(m_asked.isEmpty());
    QCOMPARE(statusText(), QStringLiteral("No active connection"));
    QCOMPARE(menuStates(), QStringLiteral("110"));
    QVERIFY(!m_window->reconnectTimer()->isActive());
}

void TestQuorvane::pickStudio()
{
    QVERIFY(writeConfiguration(m_dir->path(), {{77, QStringLiteral("Studio")}}, {77}));
    makeWindow();
    QVERIFY(m_window->checkSslSupport());
    auto *menu = m_window->findChild<QMenu *>(QStringLiteral("recentMenu"));
    emit menu->aboutToShow();
    menu->actions().first()->trigger();
    QCOMPARE(statusText(), QStringLiteral("Failure to connect to server <127.0.0.1>"));
    QCOMPARE(menuStates(), QStringLiteral("110"));
}

// "ssh N": the SSH session reports state N; "rpc N": the device connection reports state N; "disconnect": the user
// picks "&Disconnect".
void TestQuorvane::apply(const QString &event)
{
    const QStringList parts = event.split(QLatin1Char(' '));
    if (parts.first() == QLatin1String("ssh"))
        m_window->onSshSessionStateChanged(parts.at(1).toInt());
    else if (parts.first() == QLatin1String("rpc"))
        m_window->stateChanged(RpcConnection::ConnectionState(parts.at(1).toInt()));
    else if (parts.first() == QLatin1String("disconnect"))
        action("disconnectAction")->trigger();
}

void TestQuorvane::connectionStates_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("white");
    QTest::addColumn<QString>("menus");
    QTest::addColumn<bool>("retrying");
    QTest::addColumn<bool>("deviceConnection");

    const QString idle = QStringLiteral("110");
    const QString none = QStringLiteral("No active connection");
    QTest::newRow("listening") << QStringList {"ssh 1"} << "Connecting to device <Studio>" << false << "111" << false
                               << true;
    QTest::newRow("connected") << QStringList {"ssh 1", "rpc 3"} << "Connected to device <Studio>" << true << "111"
                               << false << true;
    QTest::newRow("connecting again") << QStringList {"ssh 1", "rpc 3", "rpc 2"} << "Connecting to device <Studio>"
                                      << false << "111" << false << true;
    QTest::newRow("device lost") << QStringList {"ssh 1", "rpc 3", "rpc 0"} << "Not connected to device <Studio>"
                                 << false << "111" << false << true;
    QTest::newRow("forwarding changes nothing")
        << QStringList {"ssh 1", "rpc 3", "ssh 3"} << "Connected to device <Studio>" << true << "111" << false << true;
    QTest::newRow("no device connection") << QStringList {"rpc 3", "rpc 2"} << none << false << idle << false << false;
    QTest::newRow("closing") << QStringList {"ssh 1", "ssh 2"} << none << false << "000" << false << false;
    QTest::newRow("dropped") << QStringList {"ssh 1", "ssh 2", "ssh 0"} << "SSH connection failure" << false << "001"
                             << true << false;
    QTest::newRow("closed without device") << QStringList {"ssh 2", "ssh 0"} << none << false << idle << false << false;
    QTest::newRow("session failure") << QStringList {"ssh -1"} << "SSH session failure" << false << "001" << true
                                     << false;
    QTest::newRow("failure after drop") << QStringList {"ssh 1", "ssh 2", "ssh -1"} << "SSH connection failure" << false
                                        << "001" << true << false;
    QTest::newRow("disconnect while waiting to reconnect")
        << QStringList {"ssh -1", "disconnect"} << none << false << idle << false << false;
    QTest::newRow("listening again stops the wait")
        << QStringList {"ssh -1", "ssh 1"} << "Connecting to device <Studio>" << false << "001" << false << true;
}

void TestQuorvane::connectionStates()
{
    QFETCH(QStringList, events);
    QFETCH(QString, status);
    QFETCH(bool, white);
    QFETCH(QString, menus);
    QFETCH(bool, retrying);
    QFETCH(bool, deviceConnection);

    pickStudio();
    emit m_window->screenWindow()->loginClicked(QStringLiteral("Studio"));
    for (const QString &event : qAsConst(events))
        apply(event);

    QCOMPARE(statusText(), status);
    QCOMPARE(statusColour(), QColor(white ? Qt::white : Qt::red));
    QCOMPARE(menuStates(), menus);
    QCOMPARE(m_window->reconnectTimer()->isActive(), retrying);
    if (retrying)
        QCOMPARE(m_window->reconnectTimer()->interval(), 10000);
    QCOMPARE(getCom()->connection().isActive(), deviceConnection);
    if (deviceConnection)
        QCOMPARE(getCom()->host(), QStringLiteral("127.0.0.77"));
    if (deviceConnection)
        QCOMPARE(getCom()->tcpPort(), quint16(7001));
    // Leaving the session hides the message panel.
    const bool left = events.contains(QStringLiteral("ssh 2")) || events.contains(QStringLiteral("ssh 0"))
        || events.contains(QStringLiteral("ssh -1"));
    QCOMPARE(m_window->findChild<QWidget *>(QStringLiteral("messagePanel"))->isHidden(), left);
    QVERIFY(m_asked.isEmpty());
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

    QStringList seen;
    connect(&device, &SimDevice::requestReceived, this, [&] {
        seen.append(m_window->statusBar()->currentMessage());
        seen.append(m_window->statusBar()->palette().color(QPalette::Window).name());
    });
    kra::CMsg request(kra::CMsg::Param);
    request.addGet("a");
    kra::CMsg reply;
    getCom()->sendSyncMsg(request, reply, 0, 5000);
    QCOMPARE(seen, (QStringList {"BUSY", "#ff0000"}));
    QVERIFY(m_window->statusBar()->currentMessage().isEmpty());
    QCOMPARE(m_window->statusBar()->palette().color(QPalette::Window), QColor(Qt::black));
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
    QCOMPARE(m_asked.size(), failureShown ? 1 : 0);
    if (failureShown) {
        QCOMPARE(m_asked.first().icon, QMessageBox::Critical);
        QCOMPARE(m_asked.first().title, QStringLiteral("Send message"));
        QCOMPARE(m_asked.first().text, QStringLiteral("Failed to send message!"));
    }
}

QTEST_MAIN(TestQuorvane)
#include "tst_quorvane.moc"
