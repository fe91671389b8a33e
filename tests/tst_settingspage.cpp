// The settings page's core against the simulated device: the ways into the menu, the dispatchers, the shared
// conventions of the branches, the texts, the call profile record, the time zone and the level passwords.

#include "settingstesting.h"
#include "ttimezonelist.h"

#include <QElapsedTimer>

using namespace settingstesting;

class TestSettingsPage : public QObject
{
    Q_OBJECT

private slots:
    void builtWithoutDevice();
};

// Nothing connected: nothing is sent and nothing waits for an answer; the zone is the default.
void TestSettingsPage::builtWithoutDevice()
{
    SettingsRig rig;
    QVERIFY(rig.device.listen());
    QElapsedTimer clock;
    clock.start();
    QVexmarSettingsPage page;
    QVERIFY(clock.elapsed() < 1000);
    QCOMPARE(page.timezoneList()->region(), QStringLiteral("UTC"));
    QCOMPARE(page.timezoneList()->city(), QStringLiteral("UTC/UTC"));
    QVERIFY(rig.takeFrames().isEmpty());
}

QTEST_MAIN(TestSettingsPage)
#include "tst_settingspage.moc"
