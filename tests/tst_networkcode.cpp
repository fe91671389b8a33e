#include "device/networkcode.h"

#include <QtTest>

class TestNetworkCode : public QObject
{
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void codes_data();
    void codes();
};

void TestNetworkCode::names_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("family");
    QTest::addColumn<QByteArray>("nameBack");

    QTest::newRow("aoip") << QByteArray("aoip") << 0 << 0 << -1 << QByteArray("aoip");
    QTest::newRow("eth.2") << QByteArray("eth.2") << 0x100 << 0x102 << 0 << QByteArray("eth.2");
    QTest::newRow("isdn.0") << QByteArray("isdn.0") << 0x200 << 0x200 << 1 << QByteArray("isdn.0");
    QTest::newRow("mobile.1") << QByteArray("mobile.1") << 0x300 << 0x301 << 0 << QByteArray("mobile.1");
    QTest::newRow("wifi.0") << QByteArray("wifi.0") << 0x400 << 0x400 << 0 << QByteArray("wifi.0");
    QTest::newRow("wifi.255") << QByteArray("wifi.255") << 0x400 << 0x4FF << 0 << QByteArray("wifi.255");
    QTest::newRow("bare prefix") << QByteArray("eth.") << 0x100 << 0x100 << 0 << QByteArray("eth.0");
    QTest::newRow("index not a number") << QByteArray("mobile.x") << 0x300 << 0x300 << 0 << QByteArray("mobile.0");
    QTest::newRow("index 256 is none") << QByteArray("eth.256") << 0x100 << 0xFFFF << 0 << QByteArray("");
    QTest::newRow("negative index is none") << QByteArray("isdn.-1") << 0x200 << 0xFFFF << 1 << QByteArray("");
    QTest::newRow("aoip with suffix") << QByteArray("aoipx") << 0xFFFF << 0xFFFF << -1 << QByteArray("");
    QTest::newRow("unknown family") << QByteArray("usb.0") << 0xFFFF << 0xFFFF << -1 << QByteArray("");
    QTest::newRow("prefix without point") << QByteArray("eth0") << 0xFFFF << 0xFFFF << -1 << QByteArray("");
    QTest::newRow("empty") << QByteArray("") << 0xFFFF << 0xFFFF << -1 << QByteArray("");
}

void TestNetworkCode::names()
{
    QFETCH(QByteArray, name);
    QFETCH(int, type);
    QFETCH(int, code);
    QFETCH(int, family);
    QFETCH(QByteArray, nameBack);
    const std::string text = name.toStdString();
    QCOMPARE(networkTypeOfName(text), type);
    QCOMPARE(networkCodeOfName(text), code);
    QCOMPARE(networkIndexOfName(text), code & 0xFF);
    QCOMPARE(networkFamilyOfName(text), family);
    QCOMPARE(QByteArray::fromStdString(networkNameOfCode(code)), nameBack);
}

void TestNetworkCode::codes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("family");
    QTest::newRow("aoip") << 0 << 0 << 0 << -1;
    QTest::newRow("eth.3") << 0x103 << 0x100 << 3 << 0;
    QTest::newRow("isdn.1") << 0x201 << 0x200 << 1 << 1;
    QTest::newRow("mobile.0") << 0x300 << 0x300 << 0 << 0;
    QTest::newRow("wifi.7") << 0x407 << 0x400 << 7 << 0;
    QTest::newRow("none") << 0xFFFF << 0xFFFF << 0xFF << -1;
    QTest::newRow("type 5 unknown") << 0x500 << 0xFFFF << 0 << -1;
}

void TestNetworkCode::codes()
{
    QFETCH(int, code);
    QFETCH(int, type);
    QFETCH(int, index);
    QFETCH(int, family);
    QCOMPARE(networkTypeOfCode(code), type);
    QCOMPARE(networkIndexOfCode(code), index);
    QCOMPARE(networkFamilyOfCode(code), family);
    QCOMPARE(networkFamilyOfType(code & 0xF00), family);
}

QTEST_APPLESS_MAIN(TestNetworkCode)
#include "tst_networkcode.moc"
