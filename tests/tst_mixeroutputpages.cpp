// The mixer output pages "LINE/USB" and "AES67" inside the screen window, against the simulated device: what is
// usable before and once the device is ready; what a click writes; what the device's changes show; navigation.

#include "controllers/tmatrixsettings.h"
#include "pages/vexmarmixeroutputpages.h"
#include "tests/mixertesting.h"
#include "tests/pixeltesting.h"
#include "widgets/vexmarbutton.h"
#include "widgets/vexmarmatrix.h"

#include <QLabel>
#include <QtTest>

using namespace mixertesting;

namespace {

// The routes of the simulated device: MIC 1 and 2 on both lines; USB L and R back on themselves, never checked.
const QByteArrayList lineRoutes = {"0/12", "1/12", "0/13", "1/13"};

// Inputs 0 to 28 grouped as MIC 1-2, MIC A/B and AES3, AES67, USB, Player, 18, Voice Rx, stream Rx, the Tx
// signals: '1' enabled, '0' disabled, '-' not on the page.
template<class Widget>
QByteArray states(const QMap<int, Widget *> &widgets)
{
    QByteArray shown;
    for (int in = 0; in <= 28; ++in) {
        if (in == 2 || in == 6 || in == 14 || in == 16 || in == 18 || in == 19 || in == 20 || in == 24)
            shown += ' ';
        Widget *widget = widgets.value(in);
        shown += !widget ? '-' : widget->isEnabled() ? '1' : '0';
    }
    return shown;
}

// The row labels, then the columns, neighbours that look alike as one "<first>-<last> output"; page 7 adds its
// AES67 button: caption colour, icon, enabled.
template<class Page>
QByteArrayList usable(Page *page)
{
    QByteArrayList shown {"labels " + states(page->rowLabels)};
    QByteArray first;
    QByteArray last;
    for (const auto &column : page->nodeColumns) {
        const QByteArray output = QByteArray::number(column.first()->output);
        if (first.isEmpty() || states(column) != last) {
            first = output;
            last = states(column);
            shown << QByteArray();
        }
        shown.last() = first + "-" + output + " " + last;
    }
    if constexpr (std::is_same_v<Page, QVexmarMixerOutput1Page>) {
        const QByteArray image = imageOf(page->aes67Button,
            {QStringLiteral(":/images/output-white.png"), QStringLiteral(":/images/output-gray.png")});
        shown << "aes67 " + page->aes67Caption->palette().color(QPalette::WindowText).name().toLatin1() + " "
                + (image == "output-white"       ? "white"
                        : image == "output-gray" ? "grey"
                                                 : image)
                + (page->aes67Button->isEnabled() ? " e" : " d");
    }
    return shown;
}

// The checked crosspoints, "<input>/<output>", column by column, top down.
template<class Page>
QByteArrayList checks(Page *page)
{
    QByteArrayList checked;
    for (const auto &column : page->nodeColumns)
        checked += checkedNodes(column.values());
    return checked;
}

// The model as at program start: no options known yet. Served by a device without any.
bool forgetDeviceOptions()
{
    SimDevice blank;
    blank.loadSetup(SimDevice::codecSetup());
    blank.loadSetup("general device_opts=[]");
    if (!blank.listen() || !getCom()->connectToDevice(blank.host(), blank.port(), 0))
        return false;
    QSignalSpy states(getCom(), &kra::CCom::stateChanged);
    for (int i = 0; i < 100 && getCom()->state() != RpcConnection::ConnectedState; ++i)
        states.wait(50);
    getDevice()->initialize();
    getCom()->disconnectFromDevice();
    return getDevice()->deviceOptions() == 0;
}

struct OutputRig : MixerRig
{
    bool login(const QByteArray &setup, int shown) { return MixerRig::login(setup, QVexmar::Page(shown)) && found(); }
    bool open(int shown) { return MixerRig::open(QVexmar::Page(shown)) && found(); }

    bool found()
    {
        page1 = window->findChild<QVexmarMixerOutput1Page *>();
        page2 = window->findChild<QVexmarMixerOutput2Page *>();
        return page1 && page2;
    }

    QByteArrayList usable(int page) { return page == 7 ? ::usable(page1) : ::usable(page2); }
    QByteArrayList checks(int page) { return page == 7 ? ::checks(page1) : ::checks(page2); }
    QVexmarMatrixNode *node(int page, int in, int ou)
    {
        return page == 7
            ? page1->findChild<QVexmarMatrixNode *>(QStringLiteral("mixerOutput1Node%1_%2").arg(in).arg(ou))
            : page2->findChild<QVexmarMatrixNode *>(QStringLiteral("mixerOutput2Node%1_%2").arg(in).arg(ou));
    }

    QVexmarMixerOutput1Page *page1 = nullptr;
    QVexmarMixerOutput2Page *page2 = nullptr;
};

} // namespace

class TestMixerOutputPages : public QObject
{
    Q_OBJECT

private slots:
    void availability_data();
    void availability();
    void secondReport();
    void click_data();
    void click();
    void refresh_data();
    void refresh();
    void navigation_data();
    void navigation();
};

void TestMixerOutputPages::availability_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArray>("setup");
    QTest::addColumn<bool>("matrixFirst");
    QTest::addColumn<QByteArrayList>("before"); // after a login, before the device is ready
    QTest::addColumn<QByteArrayList>("ready");
    QTest::addColumn<int>("aes67Opens"); // the page the LINE/USB page's AES67 button then shows
    const QByteArray grey = "aes67 #7f7f7f grey d";
    const QByteArrayList line
        = {"labels 11 1111 00000000 11 11 - 1 1111 11111", "12-23 00 0000 00000000 00 00 - 0 0000 00000", grey};
    for (const bool matrixFirst : {false, true}) {
        for (const bool recorder : {true, false}) {
            const QByteArray p = recorder ? "11" : "00";
            const QByteArray name = QByteArray(recorder ? "recorder" : "none") + (matrixFirst ? ", matrix first" : "");
            const QByteArray labels = "labels 11 1111 00000000 11 " + p + " - 1 1111 11111";
            dataRow("LINE/USB A, " + name, 7, facts(false, true, recorder), matrixFirst, line,
                QByteArrayList {labels, "12-13 00 0000 00000000 00 00 - 0 0000 00000",
                    "22-23 11 0000 00000000 00 " + p + " - 1 1111 11111", grey},
                7);
            dataRow("LINE/USB B, " + name, 7, facts(true, false, recorder), matrixFirst, line,
                QByteArrayList {labels, "12-23 11 1111 00000000 11 " + p + " - 1 1111 11111", grey}, 7);
            const QByteArray all = "11 1111 11111111 11 " + p + " - 1 1111 11111";
            dataRow("LINE/USB C, " + name, 7, facts(true, true, recorder), matrixFirst, line,
                QByteArrayList {"labels " + all, "12-23 " + all, "aes67 #ffffff white e"}, 8);
            // Before the first initialisation the device has no options: no recorder.
            const QByteArrayList before
                = {"labels 11 1111 -------- 11 00 - 1 1111 11111", "14-21 11 1111 -------- 11 00 - 1 1111 11111"};
            const QByteArray rows = "11 1111 -------- 11 " + p + " - 1 1111 11111";
            for (const char *c : {"A", "B", "C"}) {
                dataRow(QByteArray("AES67 ") + c + ", " + name, 8, facts(*c != 'A', *c == 'C', recorder), matrixFirst,
                    before, QByteArrayList {"labels " + rows, "14-21 " + rows}, *c == 'C' ? 8 : 7);
            }
        }
    }
}

void TestMixerOutputPages::availability()
{
    QFETCH(int, page);
    QFETCH(QByteArray, setup);
    QFETCH(bool, matrixFirst);
    QFETCH(QByteArrayList, before);
    QFETCH(QByteArrayList, ready);
    QFETCH(int, aes67Opens);
    QVERIFY(forgetDeviceOptions());
    OutputRig rig;
    QVERIFY(rig.startWith(setup));
    QVERIFY(rig.open(page));
    rig.page1->resetControls();
    rig.page2->resetControls();
    QCOMPARE(rig.usable(page), before);
    if (matrixFirst) {
        QVERIFY(rig.readMatrixFirst());
    } else {
        rig.window->applyAccessLevel();
    }
    QCOMPARE(rig.usable(page), ready);
    QCOMPARE(rig.checks(page), page == 7 ? lineRoutes : QByteArrayList());
    // Shown, never written back.
    QCOMPARE(matrixWrites(rig.framesAfterRoundTrip()), QByteArrayList());
    QVERIFY(rig.open(7));
    rig.page1->aes67Button->click();
    QCOMPARE(int(rig.window->currentPage()), aes67Opens);
    // The next login: back to what needs no device facts; the checks stay.
    rig.page1->resetControls();
    rig.page2->resetControls();
    QCOMPARE(rig.usable(page), page == 7 ? before : ready);
    QCOMPARE(rig.checks(page), page == 7 ? lineRoutes : QByteArrayList());
}

// A second report of the ready device without a login in between works on what the page shows: undocked only
// enables, but the Player follows the recorder.
void TestMixerOutputPages::secondReport()
{
    OutputRig rig;
    QVERIFY(rig.login(facts(true, true, true), 7));
    rig.device.loadSetup(facts(false, true, false));
    QVERIFY(getDevice()->initialize());
    QCOMPARE(rig.usable(7),
        QByteArrayList({"labels 11 1111 11111111 11 00 - 1 1111 11111", "12-13 11 1111 11111111 11 11 - 1 1111 11111",
            "22-23 11 1111 11111111 11 00 - 1 1111 11111", "aes67 #ffffff white e"}));
}

void TestMixerOutputPages::click_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QByteArray>("setup"); // over the codec's, docked with AES67 and a recorder
    QTest::addColumn<QByteArray>("refused"); // a key the device refuses once
    QTest::addColumn<int>("input");
    QTest::addColumn<int>("output");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<bool>("checked");
    const QByteArray none;
    dataRow("LINE 1: MIC A on", 7, none, none, 2, 12, QByteArrayList {"matrix_ou13=00000007"}, true);
    dataRow("LINE 2: MIC 1 off", 7, none, none, 0, 13, QByteArrayList {"matrix_ou14=00000002"}, false);
    dataRow("LINE 1: AES67 TB8 on", 7, none, none, 13, 12, QByteArrayList {"matrix_ou13=00002003"}, true);
    dataRow("USB L: Voice Tx on", 7, none, none, 28, 22, QByteArrayList {"matrix_ou23=10004000"}, true);
    dataRow("USB R: Player L on", 7, none, none, 16, 23, QByteArrayList {"matrix_ou24=00018000"}, true);
    // USB back into USB takes no check: a click switches its node off.
    dataRow("USB L on USB L: off", 7, none, none, 14, 22, QByteArrayList {"matrix_ou23=00000000"}, false);
    dataRow("USB R on USB L, off: nothing", 7, none, none, 15, 22, QByteArrayList {}, false);
    dataRow("AES67 1: MIC 1 on", 8, none, none, 0, 14, QByteArrayList {"matrix_ou15=00000001"}, true);
    dataRow("AES67 8: Player R on", 8, none, none, 17, 21, QByteArrayList {"matrix_ou22=00020000"}, true);
    dataRow("AES67 3: Voice Tx off", 8, QByteArray("audio matrix_ou17=10000001"), none, 28, 16,
        QByteArrayList {"matrix_ou17=00000001"}, false);
    // What the device refuses shows as the device has it.
    dataRow("refused: MIC A stays off LINE 1", 7, none, QByteArray("matrix_ou13"), 2, 12,
        QByteArrayList {"matrix_ou13=00000007"}, false);
    dataRow("refused: MIC 1 stays on LINE 2", 7, none, QByteArray("matrix_ou14"), 0, 13,
        QByteArrayList {"matrix_ou14=00000002"}, true);
    dataRow("refused: MIC 2 stays off AES67 2", 8, none, QByteArray("matrix_ou16"), 1, 15,
        QByteArrayList {"matrix_ou16=00000002"}, false);
}

void TestMixerOutputPages::click()
{
    QFETCH(int, page);
    QFETCH(QByteArray, setup);
    QFETCH(QByteArray, refused);
    QFETCH(int, input);
    QFETCH(int, output);
    QFETCH(QByteArrayList, sent);
    QFETCH(bool, checked);
    OutputRig rig;
    QVERIFY(rig.login(setup, page));
    rig.window->show();
    if (!refused.isEmpty())
        rig.device.addFault(fault(SimDevice::Fault::ErrorReply, 7, refused.toStdString()));
    QVexmarMatrixNode *node = rig.node(page, input, output);
    QVERIFY(node && node->isEnabled());
    if (!node->isCheckable())
        QVERIFY(looksLikeJunction(node));
    node->click();
    QCOMPARE(matrixWrites(rig.framesAfterRoundTrip()), sent);
    QCOMPARE(node->isChecked(), checked);
    QCOMPARE(getMatrixSettings()->node(QVexmar::Inputs(input), QVexmar::Outputs(output)).on(),
        checked && node->isCheckable());
}

void TestMixerOutputPages::refresh_data()
{
    QTest::addColumn<QByteArray>("change"); // a change set of the device; "output 5", "reset": the matrix's own
    QTest::addColumn<QByteArrayList>("lineUsb");
    QTest::addColumn<QByteArrayList>("aes67");
    const QByteArrayList nothing;
    dataRow("every output word",
        changeset
            + "matrix_ou13:00000010;matrix_ou14:00100000;matrix_ou15:00004000;matrix_ou16:00000000;"
              "matrix_ou17:00080000;matrix_ou18:00000000;matrix_ou19:00000000;matrix_ou20:00000000;"
              "matrix_ou21:00000000;matrix_ou22:10000001;matrix_ou23:00004001;matrix_ou24:0000C002;",
        QByteArrayList {"4/12", "20/13", "0/22", "1/23"}, QByteArrayList {"14/14", "19/16", "0/21", "28/21"});
    dataRow("the LINE/USB words alone", changeset + "matrix_ou13:00000000;matrix_ou24:00010000;",
        QByteArrayList {"0/13", "1/13", "16/23"}, nothing);
    dataRow("the AES67 words alone", changeset + "matrix_ou15:00000003;matrix_ou22:00000004;", lineRoutes,
        QByteArrayList {"0/14", "1/14", "2/21"});
    dataRow("outputs 0 to 4 and 6 to 11: nothing",
        changeset + "matrix_in1:07E0,Mic 1;matrix_in21:07E0,;matrix_ba1:FFF6;", lineRoutes, nothing);
    dataRow("output 5: nothing", QByteArray("output 5"), lineRoutes, nothing);
    dataRow("the matrix reset: the checks stay", QByteArray("reset"), lineRoutes, nothing);
}

// The pages show the device's changes and write nothing back.
void TestMixerOutputPages::refresh()
{
    QFETCH(QByteArray, change);
    QFETCH(QByteArrayList, lineUsb);
    QFETCH(QByteArrayList, aes67);
    OutputRig rig;
    QVERIFY(rig.login(facts(true, true, true), 7));
    if (change == "reset") {
        getMatrixSettings()->reset();
        QCOMPARE(getMatrixSettings()->state(), -1);
    } else if (change == "output 5") {
        for (int in : {0, 2, 14, 19})
            getMatrixSettings()->setNode(QVexmar::Inputs(in), QVexmar::Outputs(5), true);
    } else {
        QVERIFY(rig.deliver({change}));
    }
    QCOMPARE(checks(rig.page1), lineUsb);
    QCOMPARE(checks(rig.page2), aes67);
    QCOMPARE(matrixWrites(rig.framesAfterRoundTrip()), QByteArrayList());
}

void TestMixerOutputPages::navigation_data()
{
    QTest::addColumn<int>("page");
    dataRow("LINE/USB", 7);
    dataRow("AES67", 8);
}

// Every button of the row, then the headphones once more with the pairs on their own mixes.
void TestMixerOutputPages::navigation()
{
    QFETCH(int, page);
    OutputRig rig;
    QVERIFY(rig.login(facts(true, true, true), page));
    const QString prefix = page == 7 ? "mixerOutput1" : "mixerOutput2";
    QList<int> shown;
    for (const char *button : {"Home", "Streams", "LineUsb", "Aes67", "Headphone", "", "Headphone"}) {
        if (!*button) {
            QVERIFY(rig.deliver({changeset + "matrix_opt:00000001;"}));
            continue;
        }
        rig.window->findChild<QVexmarButton *>(prefix + button + "Button")->click();
        shown << rig.window->currentPage();
        rig.window->pageActivated(QVexmar::Page(page));
    }
    QCOMPARE(shown, (QList<int> {1, 6, 7, 8, 9, 10}));
    QCOMPARE(matrixWrites(rig.framesAfterRoundTrip()), QByteArrayList());
}

QTEST_MAIN(TestMixerOutputPages)
#include "tst_mixeroutputpages.moc"
