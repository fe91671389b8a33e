#include "app/deviceinfodialog.h"
#include "app/managedevicesdialog.h"
#include "app/serverinfodialog.h"
#include "shell/applicationsettings.h"
#include "tests/windowtesting.h"

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

// The map as the same kind of text, ascending id; a record whose id is not its key says so.
QStringList describe(const QMap<int, KnownDevice> &devices)
{
    QStringList out;
    for (auto it = devices.cbegin(); it != devices.cend(); ++it)
        out.append(QStringLiteral("%1|%2|%3|%4").arg(it.key()).arg(it->name, it->serialno, it->password)
            + (it->id == it.key() ? QString() : QStringLiteral(" (id %1)").arg(it->id)));
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
    int ascii = 0;
    while (ascii < text.size() && text.at(ascii).unicode() < 0x80)
        ++ascii;
    QTest::keyClicks(edit, text.left(ascii));
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

// Add, Delete, Edit, Connect as on/off letters.
QString buttonStates(const ManageDevicesDialog &dialog)
{
    QString out;
    for (const QPushButton *button : {dialog.addButton, dialog.deleteButton, dialog.editButton, dialog.connectButton})
        out += button->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

const QString kOnlyAdd = QStringLiteral("1000");
const QString kAllOn = QStringLiteral("1111");

} // namespace

class TestDeviceDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void tableShowsDevicesSortedAsText();
    void selectedRowIsPainted();
    void editorLayout_data();
    void editorLayout();
    void editor_data();
    void editor();
    void deleteDevice_data();
    void deleteDevice();
    void keyboardSelectionLeavesButtonsDisabled();
    void closingKeepsEdits();
    void unstorableTextRefused_data();
    void unstorableTextRefused();
    void noFreeIdRefused();
    void idOutsideRangeCannotConnect();

private:
    // Runs `action` on the next modal window of type T once it shows, from inside its exec().
    template<class T>
    void whenModal(std::function<void(T *)> action);

    QScopedPointer<ManageDevicesDialog> m_dialog;
    QList<QPointer<QTimer>> m_waiting;
};

template<class T>
void TestDeviceDialogs::whenModal(std::function<void(T *)> action)
{
    m_waiting.append(::whenModal<T>(this, action));
}

void TestDeviceDialogs::init()
{
    m_dialog.reset(new ManageDevicesDialog);
    m_dialog->setDevices(devicesOneAndThree());
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.data()));
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

void TestDeviceDialogs::editorLayout_data()
{
    QTest::addColumn<bool>("server");
    QTest::newRow("device") << false;
    QTest::newRow("server account") << true;
}

// Everything fits the editor's fixed size; Return in the last field accepts.
void TestDeviceDialogs::editorLayout()
{
    QFETCH(bool, server);
    QScopedPointer<QDialog> editor(server ? static_cast<QDialog *>(new ServerInfoDialog) : new DeviceInfoDialog);
    editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(editor.data()));
    for (const QWidget *widget : editor->findChildren<QWidget *>())
        QVERIFY2(editor->rect().contains(widget->geometry()), qPrintable(widget->metaObject()->className()));
    QSignalSpy accepted(editor.data(), &QDialog::accepted);
    QTest::keyClick(editor->findChildren<QLineEdit *>().last(), Qt::Key_Return);
    QCOMPARE(accepted.count(), 1);
}

void TestDeviceDialogs::editor_data()
{
    QTest::addColumn<bool>("adding");
    QTest::addColumn<QString>("typed"); // name|serial number|codec password, typed over what the editor shows
    QTest::addColumn<QString>("close"); // "ok", "cancel", "escape"
    QTest::addColumn<QString>("row"); // the added or edited row afterwards; empty: nothing added

    const auto row = [](const char *name, bool adding, const QString &typed, const QString &close,
                         const QString &result) { QTest::newRow(name) << adding << typed << close << result; };
    row("add", true, "Truck 2|SN 2 | p w ", "ok", "2|Truck 2|SN 2 | p w ");
    row("add without a name", true, "|S|P", "ok", "2|noname|S|P");
    row("add latin-1 text", true, QStringLiteral("B\u00fchne|\u00c5|\u00df\u00e9"), "ok",
        QStringLiteral("2|B\u00fchne|\u00c5|\u00df\u00e9"));
    row("add without serial number", true, "x||P", "ok", QString());
    row("add without password", true, "x|S|", "ok", QString());
    row("add, cancel", true, "x|S|P", "cancel", QString());
    row("add, escape", true, "x|S|P", "escape", QString());
    row("edit", false, "Van 2|SN-33|new", "ok", "3|Van 2|SN-33|new");
    row("edit, name emptied", false, "|SN-3|pw3", "ok", "3|noname|SN-3|pw3");
    row("edit, password emptied", false, "Van 2|SN-3|", "ok", "3|Van|SN-3|pw3");
    row("edit, serial number emptied", false, "Van 2||x", "ok", "3|Van|SN-3|pw3");
    row("edit, cancel", false, "Van 2|SN-33|new", "cancel", "3|Van|SN-3|pw3");
}

void TestDeviceDialogs::editor()
{
    QFETCH(bool, adding);
    QFETCH(QString, typed);
    QFETCH(QString, close);
    QFETCH(QString, row);

    // What the editor does not show stays as it was.
    KnownDevice tunnelled = m_dialog->devices.value(3);
    tunnelled.tunnelPort = 4711;
    tunnelled.macAddress = QStringLiteral("00:11:22:33:44:55");
    m_dialog->devices.insert(3, tunnelled);

    clickRow(m_dialog->view, adding ? 0 : 1);
    QStringList preset;
    whenModal<DeviceInfoDialog>([&](DeviceInfoDialog *editor) {
        QLineEdit *const edits[] = {editor->nameEdit, editor->serialEdit, editor->passwordEdit};
        preset << editor->windowTitle();
        for (int i = 0; i < 3; ++i) {
            preset << edits[i]->text();
            retype(edits[i], typed.section(QLatin1Char('|'), i, i));
        }
        if (close == QLatin1String("escape"))
            QTest::keyClick(editor, Qt::Key_Escape);
        else
            QTest::mouseClick(close == QLatin1String("ok") ? editor->okButton : editor->cancelButton, Qt::LeftButton);
    });
    QTest::mouseClick(adding ? m_dialog->addButton : m_dialog->editButton, Qt::LeftButton);
    // The codec password is shown in clear in the editor.
    QCOMPARE(preset.join(QLatin1Char('|')),
        adding ? QStringLiteral("Add Device|noname||") : QStringLiteral("Edit Device|Van|SN-3|pw3"));

    QStringList expected = describe(devicesOneAndThree());
    if (!adding)
        expected[1] = row;
    else if (!row.isEmpty())
        expected.insert(1, row);
    QCOMPARE(describe(m_dialog->devices), expected);
    QCOMPARE(shownRows(m_dialog->view), expected);
    QCOMPARE(m_dialog->devices.value(3).tunnelPort, 4711);
    QCOMPARE(m_dialog->devices.value(3).macAddress, QStringLiteral("00:11:22:33:44:55"));
    QCOMPARE(buttonStates(*m_dialog), expected == describe(devicesOneAndThree()) ? kAllOn : kOnlyAdd);
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

QTEST_MAIN(TestDeviceDialogs)
#include "tst_devicedialogs.moc"
