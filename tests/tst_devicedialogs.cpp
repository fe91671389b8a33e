#include "applicationsettings.h"
#include "deviceinfodialog.h"
#include "managedevicesdialog.h"
#include "serverinfodialog.h"
#include "testfiles.h"
#include "windowtesting.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>

namespace {

KnownDevice device(int id, const QString &name, const QString &serialno, const QString &password)
{
    KnownDevice d(id, name);
    d.serialno = serialno;
    d.password = password;
    return d;
}

QMap<int, KnownDevice> devicesOneAndThree()
{
    return {{1, device(1, QStringLiteral("Studio A"), QStringLiteral("SN-1"), QStringLiteral("pw1"))},
        {3, device(3, QStringLiteral("Van"), QStringLiteral("SN-3"), QStringLiteral("pw3"))}};
}

// The rows as the table shows them, top to bottom: "id|name|serial|password".
QStringList shownRows(const QTableView *view)
{
    QStringList rows;
    const QAbstractItemModel *model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column)
            cells.append(model->index(row, column).data().toString());
        rows.append(cells.join(QLatin1Char('|')));
    }
    return rows;
}

// The map as the same kind of text, ascending id.
QStringList describe(const QMap<int, KnownDevice> &devices)
{
    QStringList out;
    for (auto it = devices.cbegin(); it != devices.cend(); ++it)
        out.append(QStringLiteral("%1|%2|%3|%4").arg(it.key()).arg(it->name, it->serialno, it->password));
    return out;
}

void clickRow(QTableView *view, int row)
{
    const QRect cell = view->visualRect(view->model()->index(row, 1));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
}

// Types as a user would: ASCII on the keys, anything else through the input method, as with a compose key.
void type(QLineEdit *edit, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            break;
        QTest::keyClick(edit, c.toLatin1());
    }
    int ascii = 0;
    while (ascii < text.size() && text.at(ascii).unicode() < 0x80)
        ++ascii;
    if (ascii < text.size()) {
        QInputMethodEvent event;
        event.setCommitString(text.mid(ascii));
        QApplication::sendEvent(edit, &event);
    }
}

void retype(QLineEdit *edit, const QString &text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    type(edit, text);
}

QStringList buttonStates(const ManageDevicesDialog &dialog)
{
    QStringList out;
    for (const QPushButton *button : {dialog.addButton, dialog.deleteButton, dialog.editButton, dialog.connectButton})
        out.append(button->text() + (button->isEnabled() ? QStringLiteral(":on") : QStringLiteral(":off")));
    return out;
}

const QStringList kOnlyAdd {QStringLiteral("&Add:on"), QStringLiteral("&Delete:off"), QStringLiteral("&Edit...:off"),
    QStringLiteral("&Connect:off")};
const QStringList kAllOn {QStringLiteral("&Add:on"), QStringLiteral("&Delete:on"), QStringLiteral("&Edit...:on"),
    QStringLiteral("&Connect:on")};

} // namespace

class TestDeviceDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tableShowsDevicesSortedAsText();
    void selectedRowIsPainted();
    void editorLayout();
    void add_data();
    void add();
    void addReusesFreedIds();
    void edit_data();
    void edit();
    void deleteDevice_data();
    void deleteDevice();
    void keyboardSelectionLeavesButtonsDisabled();
    void closingKeepsEdits();
    void cancelledEditsLeaveTheFileUntouched();
    void unstorableTextRefused_data();
    void unstorableTextRefused();
    void noFreeIdRefused();
    void idOutsideRangeCannotConnect();
    void serverInfoDialog();

private:
    // Runs `action` on the next modal window of type T once it shows, from inside its exec().
    template<class T>
    void whenModal(std::function<void(T *)> action);

    QScopedPointer<ManageDevicesDialog> m_dialog;
    QList<QPointer<QTimer>> m_waiting;
    int m_ran = 0;
};

template<class T>
void TestDeviceDialogs::whenModal(std::function<void(T *)> action)
{
    m_waiting.append(::whenModal<T>(this, [this, action](T *window) {
        ++m_ran;
        action(window);
    }));
}

void TestDeviceDialogs::init()
{
    m_dialog.reset(new ManageDevicesDialog);
    m_dialog->setDevices(devicesOneAndThree());
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.data()));
    m_ran = 0;
}

void TestDeviceDialogs::cleanup()
{
    bool allRan = true;
    for (QTimer *timer : qAsConst(m_waiting)) {
        allRan = allRan && (!timer || !timer->isActive());
        delete timer;
    }
    m_waiting.clear();
    m_dialog.reset();
    QVERIFY2(allRan, "a dialog the test waited for never showed");
}

void TestDeviceDialogs::tableShowsDevicesSortedAsText()
{
    QMap<int, KnownDevice> devices = devicesOneAndThree();
    devices.insert(10, device(10, QStringLiteral("Ten"), QStringLiteral("S10"), QStringLiteral("secret 10")));
    devices.insert(9, device(9, QStringLiteral("Nine"), QStringLiteral("S9"), QStringLiteral("secret 9")));
    m_dialog->setDevices(devices);
    QCOMPARE(shownRows(m_dialog->view),
        (QStringList {QStringLiteral("1|Studio A|SN-1|pw1"), QStringLiteral("10|Ten|S10|secret 10"),
            QStringLiteral("3|Van|SN-3|pw3"), QStringLiteral("9|Nine|S9|secret 9")}));
    // A click on the id header turns the order round.
    QHeaderView *header = m_dialog->view->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
        QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
    QCOMPARE(shownRows(m_dialog->view).first(), QStringLiteral("9|Nine|S9|secret 9"));
    // A refill keeps the order the user chose.
    m_dialog->setDevices(devicesOneAndThree());
    QCOMPARE(shownRows(m_dialog->view),
        (QStringList {QStringLiteral("3|Van|SN-3|pw3"), QStringLiteral("1|Studio A|SN-1|pw1")}));
}

void TestDeviceDialogs::selectedRowIsPainted()
{
    ManageDevicesView *view = m_dialog->view;
    clickRow(view, 1);
    QCOMPARE(buttonStates(*m_dialog), kAllOn);
    const QImage image = view->viewport()->grab().toImage();
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < 4; ++column) {
            const QRect cell = view->visualRect(view->model()->index(row, column));
            // Inside the background, left of the text's margin.
            const QColor background = image.pixelColor(cell.left() + 1, cell.center().y());
            QCOMPARE(background, row == 1 ? QColor(239, 228, 176) : QColor(Qt::white));
            int dark = 0;
            for (int x = cell.left() + 3; x < cell.right() - 8; ++x) {
                for (int y = cell.top() + 1; y < cell.bottom(); ++y)
                    dark += qGray(image.pixel(x, y)) < 100;
            }
            QVERIFY2(dark > 0, "no text drawn");
        }
    }
}

void TestDeviceDialogs::editorLayout()
{
    // Everything must fit the editor's fixed size.
    DeviceInfoDialog editor;
    editor.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    for (const QWidget *widget : editor.findChildren<QWidget *>())
        QVERIFY2(editor.rect().contains(widget->geometry()), qPrintable(widget->metaObject()->className()));
    QSignalSpy accepted(&editor, &QDialog::accepted);
    QTest::keyClick(editor.passwordEdit, Qt::Key_Return);
    QCOMPARE(accepted.count(), 1);
}

void TestDeviceDialogs::add_data()
{
    QTest::addColumn<QString>("name"); // null: leave the preset
    QTest::addColumn<QString>("serialno");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("close"); // "ok", "cancel", "escape"
    QTest::addColumn<QString>("added"); // the new row, empty when nothing is added

    QTest::newRow("named") << QStringLiteral("Truck 2") << QStringLiteral("SN 2 ") << QStringLiteral(" p w ")
                           << QStringLiteral("ok") << QStringLiteral("2|Truck 2|SN 2 | p w ");
    QTest::newRow("preset name") << QString() << QStringLiteral("S") << QStringLiteral("P") << QStringLiteral("ok")
                                 << QStringLiteral("2|noname|S|P");
    QTest::newRow("name emptied") << QStringLiteral("") << QStringLiteral("S") << QStringLiteral("P")
                                  << QStringLiteral("ok") << QStringLiteral("2|noname|S|P");
    QTest::newRow("latin-1 text") << QStringLiteral("B\u00fchne") << QStringLiteral("\u00c5")
                                  << QStringLiteral("\u00df\u00e9") << QStringLiteral("ok")
                                  << QStringLiteral("2|B\u00fchne|\u00c5|\u00df\u00e9");
    QTest::newRow("no serial number") << QStringLiteral("x") << QString() << QStringLiteral("P") << QStringLiteral("ok")
                                      << QString();
    QTest::newRow("no password") << QStringLiteral("x") << QStringLiteral("S") << QString() << QStringLiteral("ok")
                                 << QString();
    QTest::newRow("cancel") << QStringLiteral("x") << QStringLiteral("S") << QStringLiteral("P")
                            << QStringLiteral("cancel") << QString();
    QTest::newRow("escape") << QStringLiteral("x") << QStringLiteral("S") << QStringLiteral("P")
                            << QStringLiteral("escape") << QString();
}

void TestDeviceDialogs::add()
{
    QFETCH(QString, name);
    QFETCH(QString, serialno);
    QFETCH(QString, password);
    QFETCH(QString, close);
    QFETCH(QString, added);

    clickRow(m_dialog->view, 0);
    QStringList preset;
    whenModal<DeviceInfoDialog>([&](DeviceInfoDialog *editor) {
        preset = QStringList {
            editor->windowTitle(), editor->nameEdit->text(), editor->serialEdit->text(), editor->passwordEdit->text()};
        if (!name.isNull())
            retype(editor->nameEdit, name);
        type(editor->serialEdit, serialno);
        type(editor->passwordEdit, password);
        if (close == QLatin1String("ok"))
            QTest::mouseClick(editor->okButton, Qt::LeftButton);
        else if (close == QLatin1String("cancel"))
            QTest::mouseClick(editor->cancelButton, Qt::LeftButton);
        else
            QTest::keyClick(editor, Qt::Key_Escape);
    });
    QTest::mouseClick(m_dialog->addButton, Qt::LeftButton);
    QCOMPARE(m_ran, 1);
    QCOMPARE(preset, (QStringList {QStringLiteral("Add Device"), QStringLiteral("noname"), QString(), QString()}));

    QStringList expected = describe(devicesOneAndThree());
    if (!added.isEmpty()) {
        expected.insert(1, added);
        QCOMPARE(buttonStates(*m_dialog), kOnlyAdd);
    } else {
        QCOMPARE(buttonStates(*m_dialog), kAllOn);
    }
    QCOMPARE(describe(m_dialog->devices), expected);
    QCOMPARE(shownRows(m_dialog->view), expected);
    QCOMPARE(m_dialog->devices.value(2).id, added.isEmpty() ? 0 : 2);
}

void TestDeviceDialogs::addReusesFreedIds()
{
    auto addDevice = [this](const QString &serialno) {
        whenModal<DeviceInfoDialog>([serialno](DeviceInfoDialog *editor) {
            type(editor->serialEdit, serialno);
            QTest::keyClicks(editor->passwordEdit, QStringLiteral("p"));
            QTest::mouseClick(editor->okButton, Qt::LeftButton);
        });
        QTest::mouseClick(m_dialog->addButton, Qt::LeftButton);
    };
    addDevice(QStringLiteral("two"));
    addDevice(QStringLiteral("four"));
    QCOMPARE(m_dialog->devices.keys(), (QList<int> {1, 2, 3, 4}));

    clickRow(m_dialog->view, 1);
    whenModal<QMessageBox>([](QMessageBox *box) { QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton); });
    QTest::mouseClick(m_dialog->deleteButton, Qt::LeftButton);
    QCOMPARE(m_dialog->devices.keys(), (QList<int> {1, 3, 4}));

    addDevice(QStringLiteral("two again"));
    QCOMPARE(m_dialog->devices.value(2).serialno, QStringLiteral("two again"));
    QCOMPARE(m_ran, 4);
}

void TestDeviceDialogs::edit_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("serialno");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("row"); // device 3 afterwards

    QTest::newRow("changed") << QStringLiteral("Van 2") << QStringLiteral("SN-33") << QStringLiteral("new") << true
                             << QStringLiteral("3|Van 2|SN-33|new");
    QTest::newRow("name emptied") << QString() << QStringLiteral("SN-3") << QStringLiteral("pw3") << true
                                  << QStringLiteral("3|noname|SN-3|pw3");
    QTest::newRow("password emptied") << QStringLiteral("Van 2") << QStringLiteral("SN-3") << QString() << true
                                      << QStringLiteral("3|Van|SN-3|pw3");
    QTest::newRow("serial emptied") << QStringLiteral("Van 2") << QString() << QStringLiteral("x") << true
                                    << QStringLiteral("3|Van|SN-3|pw3");
    QTest::newRow("cancelled") << QStringLiteral("Van 2") << QStringLiteral("SN-33") << QStringLiteral("new") << false
                               << QStringLiteral("3|Van|SN-3|pw3");
}

void TestDeviceDialogs::edit()
{
    QFETCH(QString, name);
    QFETCH(QString, serialno);
    QFETCH(QString, password);
    QFETCH(bool, accept);
    QFETCH(QString, row);

    KnownDevice tunnelled = m_dialog->devices.value(3);
    tunnelled.tunnelPort = 4711;
    tunnelled.macAddress = QStringLiteral("00:11:22:33:44:55");
    m_dialog->devices.insert(3, tunnelled);

    clickRow(m_dialog->view, 1);
    QStringList preset;
    whenModal<DeviceInfoDialog>([&](DeviceInfoDialog *editor) {
        preset = QStringList {
            editor->windowTitle(), editor->nameEdit->text(), editor->serialEdit->text(), editor->passwordEdit->text()};
        retype(editor->nameEdit, name);
        retype(editor->serialEdit, serialno);
        retype(editor->passwordEdit, password);
        QTest::mouseClick(accept ? editor->okButton : editor->cancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(m_dialog->editButton, Qt::LeftButton);
    QCOMPARE(m_ran, 1);
    // The codec password is shown in clear in the editor too.
    QCOMPARE(preset,
        (QStringList {
            QStringLiteral("Edit Device"), QStringLiteral("Van"), QStringLiteral("SN-3"), QStringLiteral("pw3")}));
    const QStringList expected {QStringLiteral("1|Studio A|SN-1|pw1"), row};
    QCOMPARE(describe(m_dialog->devices), expected);
    QCOMPARE(shownRows(m_dialog->view), expected);
    QCOMPARE(m_dialog->devices.value(3).id, 3);
    QCOMPARE(m_dialog->devices.value(3).tunnelPort, 4711);
    QCOMPARE(m_dialog->devices.value(3).macAddress, QStringLiteral("00:11:22:33:44:55"));
    const bool changed = row != QLatin1String("3|Van|SN-3|pw3");
    QCOMPARE(buttonStates(*m_dialog), changed ? kOnlyAdd : kAllOn);
}

void TestDeviceDialogs::deleteDevice_data()
{
    QTest::addColumn<int>("answer"); // the button clicked, or 0 for Escape
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("yes") << int(QMessageBox::Yes) << QStringList {QStringLiteral("3|Van|SN-3|pw3")};
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << describe(devicesOneAndThree());
    QTest::newRow("escape") << 0 << describe(devicesOneAndThree());
}

void TestDeviceDialogs::deleteDevice()
{
    QFETCH(int, answer);
    QFETCH(QStringList, rows);

    clickRow(m_dialog->view, 0);
    QStringList asked;
    whenModal<QMessageBox>([&](QMessageBox *box) {
        asked = QStringList {box->windowTitle(), box->text()};
        QCOMPARE(box->defaultButton(), box->button(QMessageBox::Cancel));
        if (answer == 0)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            QTest::mouseClick(box->button(QMessageBox::StandardButton(answer)), Qt::LeftButton);
    });
    QTest::mouseClick(m_dialog->deleteButton, Qt::LeftButton);
    QCOMPARE(asked, (QStringList {QStringLiteral("Delete Device"), QStringLiteral("Are you sure?")}));
    QCOMPARE(describe(m_dialog->devices), rows);
    QCOMPARE(shownRows(m_dialog->view), rows);
    QCOMPARE(buttonStates(*m_dialog), answer == QMessageBox::Yes ? kOnlyAdd : kAllOn);
}

void TestDeviceDialogs::keyboardSelectionLeavesButtonsDisabled()
{
    ManageDevicesView *view = m_dialog->view;
    view->setFocus();
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    QVERIFY(view->currentIndex().isValid());
    QCOMPARE(buttonStates(*m_dialog), kOnlyAdd);
    clickRow(view, 0);
    QCOMPARE(buttonStates(*m_dialog), kAllOn);
}

void TestDeviceDialogs::closingKeepsEdits()
{
    whenModal<DeviceInfoDialog>([](DeviceInfoDialog *editor) {
        QTest::keyClicks(editor->serialEdit, QStringLiteral("S"));
        QTest::keyClicks(editor->passwordEdit, QStringLiteral("P"));
        QTest::mouseClick(editor->okButton, Qt::LeftButton);
    });
    QTest::mouseClick(m_dialog->addButton, Qt::LeftButton);
    QSignalSpy finished(m_dialog.data(), &QDialog::finished);
    QTest::keyClick(m_dialog.data(), Qt::Key_Escape);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toInt(), int(QDialog::Rejected));
    QCOMPARE(m_dialog->selectedId, 0);
    QCOMPARE(m_dialog->devices.keys(), (QList<int> {1, 2, 3}));
}

void TestDeviceDialogs::cancelledEditsLeaveTheFileUntouched()
{
    // What the main window does around the dialog: read, edit a copy, take it back, write.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("MyQuorvaneRE.xml"));
    ApplicationSettings settings(path);
    settings.knownDevices = devicesOneAndThree();
    settings.recentDevices = {3, 1};
    QVERIFY(settings.writeConfiguration());
    const QByteArray before = readFile(path);

    QVERIFY(settings.readConfiguration());
    ManageDevicesDialog dialog;
    dialog.setDevices(settings.knownDevices);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    whenModal<DeviceInfoDialog>([](DeviceInfoDialog *editor) {
        QTest::keyClicks(editor->serialEdit, QStringLiteral("S"));
        QTest::keyClicks(editor->passwordEdit, QStringLiteral("P"));
        QTest::mouseClick(editor->cancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(dialog.addButton, Qt::LeftButton);
    clickRow(dialog.view, 0);
    whenModal<DeviceInfoDialog>([](DeviceInfoDialog *editor) {
        retype(editor->passwordEdit, QString());
        QTest::mouseClick(editor->okButton, Qt::LeftButton);
    });
    QTest::mouseClick(dialog.editButton, Qt::LeftButton);
    whenModal<QMessageBox>(
        [](QMessageBox *box) { QTest::mouseClick(box->button(QMessageBox::Cancel), Qt::LeftButton); });
    QTest::mouseClick(dialog.deleteButton, Qt::LeftButton);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(m_ran, 3);

    QCOMPARE(describe(settings.knownDevices), describe(devicesOneAndThree()));
    settings.setKnownDevices(dialog.devices);
    QVERIFY(settings.writeConfiguration());
    QCOMPARE(readFile(path), before);
}

void TestDeviceDialogs::unstorableTextRefused_data()
{
    QTest::addColumn<int>("field"); // 0 name, 1 serial number, 2 codec password
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");

    QTest::addColumn<QString>("shown"); // the characters the warning names

    QTest::newRow("euro in the name") << 0 << QStringLiteral("Caf\u00e9 \u20ac\u20ac") << QStringLiteral("Name")
                                      << QStringLiteral("\u20ac");
    QTest::newRow("cyrillic serial number") << 1 << QStringLiteral("\u0416\u0416\u0417123")
                                            << QStringLiteral("Serial Number") << QStringLiteral("\u0416 \u0417");
    QTest::newRow("emoji password") << 2 << QString::fromUtf8("pw\xf0\x9f\x98\x80") << QStringLiteral("Codec Password")
                                    << QString::fromUtf8("\xf0\x9f\x98\x80");
}

void TestDeviceDialogs::unstorableTextRefused()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    QFETCH(QString, label);
    QFETCH(QString, shown);

    QString warning;
    QString kept;
    whenModal<DeviceInfoDialog>([&](DeviceInfoDialog *editor) {
        QLineEdit *edits[] = {editor->nameEdit, editor->serialEdit, editor->passwordEdit};
        retype(editor->nameEdit, QStringLiteral("n"));
        QTest::keyClicks(editor->serialEdit, QStringLiteral("s"));
        QTest::keyClicks(editor->passwordEdit, QStringLiteral("p"));
        retype(edits[field], text);
        whenModal<QMessageBox>([&](QMessageBox *box) {
            warning = box->text();
            // The editor stays open with what the user typed, to be corrected.
            whenModal<DeviceInfoDialog>([&](DeviceInfoDialog *again) {
                QLineEdit *editsAgain[] = {again->nameEdit, again->serialEdit, again->passwordEdit};
                kept = editsAgain[field]->text();
                retype(editsAgain[field], QStringLiteral("fixed"));
                QTest::mouseClick(again->okButton, Qt::LeftButton);
            });
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        });
        QTest::mouseClick(editor->okButton, Qt::LeftButton);
    });
    QTest::mouseClick(m_dialog->addButton, Qt::LeftButton);
    QCOMPARE(m_ran, 3);
    QVERIFY2(
        warning.startsWith(QStringLiteral("\"%1\" contains characters that cannot be saved: %2\n").arg(label, shown))
            && warning.contains(QStringLiteral("ISO 8859-1")),
        qPrintable(warning));
    QCOMPARE(kept, text);
    QStringList fields {QStringLiteral("n"), QStringLiteral("s"), QStringLiteral("p")};
    fields[field] = QStringLiteral("fixed");
    QCOMPARE(describe(m_dialog->devices).at(1), QStringLiteral("2|") + fields.join(QLatin1Char('|')));
}

void TestDeviceDialogs::noFreeIdRefused()
{
    QMap<int, KnownDevice> full;
    for (int id = 1; id <= 255; ++id)
        full.insert(id, device(id, QStringLiteral("d"), QStringLiteral("s"), QStringLiteral("p")));
    m_dialog->setDevices(full);
    QString warning;
    whenModal<QMessageBox>([&](QMessageBox *box) {
        warning = box->text();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    QTest::mouseClick(m_dialog->addButton, Qt::LeftButton);
    QCOMPARE(m_ran, 1);
    QVERIFY2(warning.contains(QStringLiteral("1 to 255")), qPrintable(warning));
    QCOMPARE(m_dialog->devices.size(), 255);
    QVERIFY(!m_dialog->devices.contains(256));
}

void TestDeviceDialogs::idOutsideRangeCannotConnect()
{
    QMap<int, KnownDevice> devices = devicesOneAndThree();
    devices.insert(300, device(300, QStringLiteral("Hand-edited"), QStringLiteral("s"), QStringLiteral("p")));
    m_dialog->setDevices(devices);
    QCOMPARE(shownRows(m_dialog->view).at(2), QStringLiteral("300|Hand-edited|s|p"));
    clickRow(m_dialog->view, 2);
    QString warning;
    whenModal<QMessageBox>([&](QMessageBox *box) {
        warning = box->text();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    QTest::mouseClick(m_dialog->connectButton, Qt::LeftButton);
    QCOMPARE(m_ran, 1);
    QVERIFY2(
        warning.contains(QStringLiteral("300")) && warning.contains(QStringLiteral("1 to 255")), qPrintable(warning));
    QCOMPARE(m_dialog->selectedId, 0);
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), 0);

    QSignalSpy finished(m_dialog.data(), &QDialog::finished);
    clickRow(m_dialog->view, 1);
    QTest::mouseClick(m_dialog->connectButton, Qt::LeftButton);
    QCOMPARE(m_dialog->selectedId, 3);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(finished.first().first().toInt(), int(QDialog::Accepted));
}

void TestDeviceDialogs::serverInfoDialog()
{
    ServerInfoDialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(dialog.userEdit, QStringLiteral("user"));
    QTest::keyClicks(dialog.passwordEdit, QStringLiteral("secret"));
    QSignalSpy finished(&dialog, &QDialog::finished);
    QTest::mouseClick(dialog.okButton, Qt::LeftButton);
    dialog.show();
    QTest::mouseClick(dialog.cancelButton, Qt::LeftButton);
    QCOMPARE(finished.count(), 2);
    QCOMPARE(finished.at(0).first().toInt(), int(QDialog::Accepted));
    QCOMPARE(finished.at(1).first().toInt(), int(QDialog::Rejected));
    QCOMPARE(dialog.userEdit->text() + QLatin1Char(' ') + dialog.passwordEdit->text(), QStringLiteral("user secret"));
}

QTEST_MAIN(TestDeviceDialogs)
#include "tst_devicedialogs.moc"
