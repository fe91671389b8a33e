#include "tests/pixeltesting.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarprojectpopups.h"

#include <QLabel>
#include <QPointer>
#include <QScrollArea>
#include <QSignalSpy>
#include <QtTest>

namespace {

// An icon button found as the user finds it: by the caption under it.
QVexmarButton *buttonOverCaption(const QWidget *popup, const QString &caption)
{
    for (const QLabel *label : popup->findChildren<QLabel *>()) {
        if (label->text() != caption)
            continue;
        for (QVexmarButton *button : popup->findChildren<QVexmarButton *>()) {
            if (button->geometry() == QRect(label->x(), label->y() - 90, 150, 90))
                return button;
        }
    }
    return nullptr;
}

QStringList rowTexts(const QVexmarProjectSelector *selector)
{
    QStringList texts;
    const QWidget *list = selector->findChild<QScrollArea *>()->widget();
    for (const QLabel *label : list->findChildren<QLabel *>())
        texts << label->text() + (label->textFormat() == Qt::PlainText ? QString() : QStringLiteral(" (markup)"));
    return texts;
}

} // namespace

class TestVexmarProjectPopups : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deleteChoices_data();
    void deleteChoices();
    void menuActions_data();
    void menuActions();
    void exportTargets_data();
    void exportTargets();
    void selectorLists_data();
    void selectorLists();
    void selectorResults_data();
    void selectorResults();
    void rename();

private:
    void open(QVexmarPopup *popup, QPoint face = QPoint(), const QList<QVexmarButton *> &lightButtons = {});
    void pressOutside() { QTest::mouseClick(m_opener->windowHandle(), Qt::LeftButton, {}, QPoint(5, 5)); }

    QWidget *m_opener = nullptr;
};

void TestVexmarProjectPopups::init()
{
    m_opener = new QWidget;
    m_opener->resize(800, 500);
    m_opener->move(100, 60);
    m_opener->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_opener));
}

void TestVexmarProjectPopups::cleanup()
{
    delete m_opener;
    m_opener = nullptr;
}

// As opened: dark grey at a point of the bare face, inside a white frame; the text buttons white.
void TestVexmarProjectPopups::open(QVexmarPopup *popup, QPoint face, const QList<QVexmarButton *> &lightButtons)
{
    popup->placeOver(m_opener);
    popup->show();
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    if (face.isNull())
        return;
    const QImage image = popup->grab().toImage();
    QCOMPARE(pixelAt(image, face.x(), face.y()), rgb(50, 50, 50));
    QCOMPARE(pixelAt(image, 2, popup->height() / 2), rgb(255, 255, 255));
    for (const QVexmarButton *button : lightButtons)
        QCOMPARE(pixelAt(image, button->x() + 12, button->y() + 10), rgb(255, 255, 255));
}

void TestVexmarProjectPopups::deleteChoices_data()
{
    QTest::addColumn<QString>("touches"); // 'r'ecords, records + 'p'roject, 'c'onfirm, 'o'k, 'x' cancel
    QTest::addColumn<QString>("state"); // after the touches: closed with cancelled, or what is shown
    QTest::addColumn<bool>("recordsOnly");

    dataRow("Cancel", "x", "closed 1", false);
    dataRow("Records asks for confirmation", "r", "confirm off, no OK", true);
    dataRow("Records, confirm, OK", "rco", "closed 0", true);
    dataRow("Records + Project, confirm, OK", "pco", "closed 0", false);
    dataRow("Records, then Records + Project", "rpco", "closed 0", false);
    dataRow("the same choice touched again after confirming", "rcr", "confirm off, no OK", true);
    dataRow("the other choice touched after confirming", "rcp", "confirm off, no OK", false);
    dataRow("confirmation taken back", "pcc", "confirm off, no OK", false);
}

void TestVexmarProjectPopups::deleteChoices()
{
    QFETCH(QString, touches);
    QFETCH(QString, state);
    QFETCH(bool, recordsOnly);

    QPointer<QVexmarEditProjectDelete> popup = new QVexmarEditProjectDelete(m_opener);
    popup->setProjectName(QStringLiteral("007"));
    popup->setupUi();
    QString closed;
    connect(popup.data(), &QVexmarPopup::popupClosed, this,
        [&] { closed = QStringLiteral("closed %1").arg(popup->isCancelled()); });
    open(popup, QPoint(400, 250), {popup->cancelButton});
    QVERIFY(!popup->confirmSwitch->isVisible());
    QVERIFY(!popup->deleteButton->isVisible());

    for (const QChar touch : touches) {
        QWidget *target = touch == 'r' ? popup->recordsSwitch
            : touch == 'p'             ? popup->projectSwitch
            : touch == 'c'             ? popup->confirmSwitch
            : touch == 'o'             ? popup->deleteButton
                                       : static_cast<QWidget *>(popup->cancelButton);
        QVERIFY2(target->isVisible(), qPrintable(QStringLiteral("cannot touch ") + touch));
        QTest::mouseClick(target, Qt::LeftButton);
    }
    if (state.startsWith("closed")) {
        QTRY_COMPARE(closed, state);
        QCOMPARE(popup->recordsOnly(), recordsOnly);
        QTRY_VERIFY(popup.isNull());
        return;
    }
    QCOMPARE(popup->recordsSwitch->isChecked(), recordsOnly);
    QCOMPARE(popup->projectSwitch->isChecked(), !recordsOnly);
    QCOMPARE(
        QStringLiteral("confirm %1, %2")
            .arg(popup->confirmSwitch->isChecked() ? "on" : "off", popup->deleteButton->isVisible() ? "OK" : "no OK"),
        state);
    QVERIFY(popup->confirmSwitch->isVisible() && popup->confirmLabel->isVisible());
    QCOMPARE(popup->recordsOnly(), recordsOnly);
    popup->close();
}

void TestVexmarProjectPopups::menuActions_data()
{
    QTest::addColumn<QString>("menu"); // project, project without Copy To, or the drive keyword
    QTest::addColumn<QString>("press"); // a caption, or outside
    QTest::addColumn<int>("action"); // -1: the popup stays open

    dataRow("project: Delete", "project", "Delete", 1);
    dataRow("project: Create", "project", "Create", 2);
    dataRow("project: Copy To", "project", "Copy To", 4);
    dataRow("project: Close", "project", "Close", 6);
    dataRow("project: outside", "project", "outside", 0);
    dataRow("project: Copy To disabled", "no copy", "Copy To", -1);
    dataRow("project without Copy To: Close", "no copy", "Close", 6);
    dataRow("usb: Eject", "usb", "Eject", 1);
    dataRow("usb: Repair", "usb", "Repair", 2);
    dataRow("usb: Format", "usb", "Format", 3);
    dataRow("usb: Close", "usb", "Close", 6);
    dataRow("usb: outside", "usb", "outside", 0);
    dataRow("sdram: Eject", "sdram", "Eject", 1);
    dataRow("internal: Format", "internal", "Format", 3);
    dataRow("internal: Close", "internal", "Close", 6);
}

void TestVexmarProjectPopups::menuActions()
{
    QFETCH(QString, menu);
    QFETCH(QString, press);
    QFETCH(int, action);

    QPointer<QVexmarPopup> popup;
    QVexmarManageProject *project = nullptr;
    QVexmarManageDrive *drive = nullptr;
    if (menu == "project" || menu == "no copy") {
        popup = project = new QVexmarManageProject(m_opener);
        project->setProjectName(QStringLiteral("007"));
        project->setCopyToDisabled(menu == "no copy");
        project->setupUi();
    } else {
        popup = drive = new QVexmarManageDrive(m_opener);
        drive->setDrive(menu.toStdString());
        drive->setDriveName(QStringLiteral("Disk 1"));
        drive->setupUi();
    }
    QList<int> reports;
    connect(popup.data(), &QVexmarPopup::popupClosed, this,
        [&] { reports << (project ? project->selectedAction() : drive->selectedAction()); });
    open(popup, project ? QPoint(400, 200) : QPoint(200, 350));

    if (drive) {
        QCOMPARE(buttonOverCaption(popup, QStringLiteral("Eject")) != nullptr, menu != "internal");
    } else {
        const QColor caption = labelWithText(popup, QStringLiteral("Copy To"))->palette().color(QPalette::WindowText);
        QCOMPARE(caption, menu == "no copy" ? QColor(Qt::gray) : QColor(Qt::white));
    }

    if (press == "outside") {
        pressOutside();
    } else {
        QVexmarButton *button = buttonOverCaption(popup, press);
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    if (action < 0) {
        QCoreApplication::processEvents();
        QVERIFY(popup->isVisible());
        QCOMPARE(project->selectedAction(), 0);
        popup->close();
        QCOMPARE(reports, QList<int> {0});
    } else {
        QTRY_COMPARE(reports, QList<int> {action});
    }
    QTRY_VERIFY(popup.isNull());
}

void TestVexmarProjectPopups::exportTargets_data()
{
    QTest::addColumn<QString>("finish");
    QTest::addColumn<int>("cancelled");

    dataRow("OK", "OK", 0);
    dataRow("Cancel", "Cancel", 1);
    dataRow("outside", "outside", 1);
}

// Drives 2 and 4 available, 3 not; drive 1 never is.
void TestVexmarProjectPopups::exportTargets()
{
    QFETCH(QString, finish);
    QFETCH(int, cancelled);

    QPointer<QVexmarExportConfig> popup = new QVexmarExportConfig(m_opener);
    popup->setTitle(QStringLiteral("EXPORT Sound File"));
    popup->setProjectName(QStringLiteral("003_Interview.wav"));
    popup->setFileMode();
    popup->setFileName(QStringLiteral("003_Interview.wav"));
    popup->setProjectSize(QStringLiteral("12 MB"));
    const QStringList names {"Internal 28 GB", "USB 14 GB", "SD 1 GB", "FTP"};
    popup->setDrive1Name(names.at(0));
    popup->setDrive2Name(names.at(1));
    popup->setDrive3Name(names.at(2));
    popup->setDrive4Name(names.at(3));
    popup->setDrive1Enabled(true);
    popup->setDrive2Enabled(true);
    popup->setDrive4Enabled(true);
    popup->setupUi();
    QList<int> reports;
    connect(popup.data(), &QVexmarPopup::popupClosed, this, [&] {
        reports << popup->isCancelled() << popup->selectedDrive();
        QCOMPARE(popup->fileName(), QStringLiteral("003_Interview.wav"));
    });
    open(popup, QPoint(500, 250), {popup->cancelButton});

    // From the top: drives 1, 3, 2, 4; the unavailable ones grey.
    QList<int> order {0, 1, 2, 3};
    std::sort(order.begin(), order.end(),
        [&](int a, int b) { return popup->driveSwitches[a]->y() < popup->driveSwitches[b]->y(); });
    QCOMPARE(order, (QList<int> {0, 2, 1, 3}));
    QStringList greyLabels;
    for (const QLabel *label : popup->driveLabels) {
        if (label->palette().color(QPalette::WindowText) == QColor(Qt::gray))
            greyLabels << label->text();
    }
    QCOMPARE(greyLabels, (QStringList {names.at(0), names.at(2)}));
    QVERIFY(!popup->okButton->isVisible());

    // Touches of drives 3, 1, 2, 2, 4, 3 in turn: the switches, whether OK shows, the drive chosen.
    const QList<QPair<int, QString>> touches {
        {2, "0000 - 0"}, {0, "0000 - 0"}, {1, "0100 OK 2"}, {1, "0100 OK 2"}, {3, "0001 OK 4"}, {2, "0001 OK 4"}};
    for (const auto &[drive, expected] : touches) {
        QTest::mouseClick(popup->driveSwitches[drive], Qt::LeftButton);
        QString states;
        for (const QVexmarSwitch *each : popup->driveSwitches)
            states += each->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
        states += popup->okButton->isVisible() ? QStringLiteral(" OK ") : QStringLiteral(" - ");
        QCOMPARE(states + QString::number(popup->selectedDrive()), expected);
    }

    if (finish == "outside")
        pressOutside();
    else
        QTest::mouseClick(finish == "OK" ? popup->okButton : popup->cancelButton, Qt::LeftButton);
    QTRY_COMPARE(reports, (QList<int> {cancelled, 4}));
    QTRY_VERIFY(popup.isNull());
}

void TestVexmarProjectPopups::selectorLists_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("newName");

    QTest::newRow("default entry and empty part skipped")
        << "kra.prjt|001.prjt||007.prjt|Live"
        << QStringList {"Default Project", "Project: 001", "Project: 007", "Project: Live"}
        << QStringList {"kra.prjt", "001.prjt", "007.prjt", "Live"} << "008.prjt";
    QTest::newRow("empty") << "" << QStringList {"Default Project"} << QStringList {"kra.prjt"} << "001.prjt";

    QStringList names;
    QStringList rows {"Default Project"};
    QStringList files {"kra.prjt"};
    for (int i = 1; i <= 60; ++i) {
        names << QString::asprintf("%03d.prjt", i);
        if (i < 50) {
            rows << QString::asprintf("Project: %03d", i);
            files << names.last();
        }
    }
    QTest::newRow("60 names: 50 read, 50 rows") << names.join('|') << rows << files << "051.prjt";

    QTest::newRow("a number too long for an int")
        << "12345678901234567890.prjt|005.prjt"
        << QStringList {"Default Project", "Project: 12345678901234567890", "Project: 005"}
        << QStringList {"kra.prjt", "12345678901234567890.prjt", "005.prjt"} << "006.prjt";
    QTest::newRow("a number past an int, not taken modulo")
        << "4294967301.prjt" << QStringList {"Default Project", "Project: 4294967301"}
        << QStringList {"kra.prjt", "4294967301.prjt"} << "001.prjt";
    QTest::newRow("the largest int") << "2147483647.prjt" << QStringList {"Default Project", "Project: 2147483647"}
                                     << QStringList {"kra.prjt", "2147483647.prjt"} << "2147483648.prjt";
    QTest::newRow("numbers read as the C library reads them")
        << " 41 Morning.prjt|-90.prjt|News 99.prjt|.prjt"
        << QStringList {"Default Project", "Project:  41 Morning", "Project: -90", "Project: News 99", "Project: .prjt"}
        << QStringList {"kra.prjt", " 41 Morning.prjt", "-90.prjt", "News 99.prjt", ".prjt"} << "042.prjt";
    QTest::newRow("names are shown as they are")
        << "<b>Live</b>.prjt|Über.prjt" << QStringList {"Default Project", "Project: <b>Live</b>", "Project: Über"}
        << QStringList {"kra.prjt", "<b>Live</b>.prjt", "Über.prjt"} << "001.prjt";
}

// Every row is shown, and touching it chooses its file and only it.
void TestVexmarProjectPopups::selectorLists()
{
    QFETCH(QString, list);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, files);
    QFETCH(QString, newName);

    QPointer<QVexmarProjectSelector> popup = new QVexmarProjectSelector(m_opener);
    popup->setTitle(QStringLiteral("Select your project"));
    popup->setProjectList(list);
    popup->setupUi();
    open(popup);

    QCOMPARE(rowTexts(popup), rows);
    int switches = 0;
    for (const QVexmarSwitch *row : popup->rowSwitches)
        switches += row ? 1 : 0;
    QCOMPARE(switches, int(rows.size()));
    QCOMPARE(popup->rowSwitches[0]->isChecked(), true);

    for (int i = rows.size() - 1; i >= 0; i -= std::max(1, int(rows.size()) / 7)) {
        popup->findChild<QScrollArea *>()->ensureWidgetVisible(popup->rowSwitches[i]);
        QTest::mouseClick(popup->rowSwitches[i], Qt::LeftButton);
        QCOMPARE(popup->selectedIndex(), i);
        QCOMPARE(QString::fromStdString(popup->selectedProject()), files.at(i));
        for (int other = 0; other < rows.size(); ++other)
            QCOMPARE(popup->rowSwitches[other]->isChecked(), other == i);
    }

    QTest::mouseClick(popup->newButton, Qt::LeftButton);
    QCOMPARE(popup->selectedIndex(), -1);
    QCOMPARE(QString::fromStdString(popup->selectedProject()), newName);
    QTRY_VERIFY(popup.isNull());
}

void TestVexmarProjectPopups::selectorResults_data()
{
    QTest::addColumn<int>("row"); // touched first; -1 none
    QTest::addColumn<QString>("finish");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("project");

    dataRow("New Project", -1, "New Project", -1, "008.prjt");
    dataRow("Select at once", -1, "Select", 0, "kra.prjt");
    dataRow("a row, then Select", 2, "Select", 2, "007.prjt");
    dataRow("a row, then outside", 2, "outside", 2, "007.prjt");
    dataRow("outside at once", -1, "outside", 0, "kra.prjt");
    dataRow("a row, then New Project", 1, "New Project", -1, "008.prjt");
}

void TestVexmarProjectPopups::selectorResults()
{
    QFETCH(int, row);
    QFETCH(QString, finish);
    QFETCH(int, index);
    QFETCH(QString, project);

    QPointer<QVexmarProjectSelector> popup = new QVexmarProjectSelector(m_opener);
    popup->setProjectList(QStringLiteral("001.prjt|007.prjt"));
    popup->setupUi();
    QStringList reports;
    connect(popup.data(), &QVexmarPopup::popupClosed, this, [&] {
        reports << QStringLiteral("%1 %2 %3")
                       .arg(popup->cancelled)
                       .arg(popup->selectedIndex())
                       .arg(QString::fromStdString(popup->selectedProject()));
    });
    open(popup, QPoint(300, 300), {popup->newButton, popup->selectButton});
    QVERIFY(!popup->deleteButton->isEnabled());
    if (row >= 0)
        QTest::mouseClick(popup->rowSwitches[row], Qt::LeftButton);
    if (finish == "outside")
        pressOutside();
    else
        QTest::mouseClick(finish == "Select" ? popup->selectButton : popup->newButton, Qt::LeftButton);
    QTRY_COMPARE(reports, QStringList {QStringLiteral("1 %1 %2").arg(index).arg(project)});
    QTRY_VERIFY(popup.isNull());
}

void TestVexmarProjectPopups::rename()
{
    auto *popup = new QVexmarEditProjectRename(m_opener);
    popup->setFirstText(QStringLiteral(".prjt"));
    popup->setSecondText(QStringLiteral("007"));
    popup->setupUi();
    open(popup, QPoint(300, 300), {popup->cancelButton});
    QVERIFY(labelWithText(popup, QStringLiteral("Project name: 007.prjt")));
    popup->close();
}

QTEST_MAIN(TestVexmarProjectPopups)
#include "tst_vexmarprojectpopups.moc"
