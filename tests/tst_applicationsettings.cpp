#include "shell/applicationsettings.h"
#include "shell/programdirectory.h"
#include "tests/messagecatcher.h"
#include "tests/readonlydirectory.h"
#include "tests/testfiles.h"

#include <QtTest>

namespace {

// One readable line per record, of everything the file stores.
QString describe(const ApplicationSettings &s)
{
    QString out = QStringLiteral("log=%1/%2 ssh=%3 server=%4:%5 max=%6 devices=")
                      .arg(s.logMaxSize)
                      .arg(s.logMaxFiles)
                      .arg(s.sshVerbosity)
                      .arg(s.hostname)
                      .arg(s.hostport)
                      .arg(s.maxDevices);
    for (auto it = s.knownDevices.cbegin(); it != s.knownDevices.cend(); ++it)
        out += QStringLiteral("[%1=%2 %3 %4 %5]").arg(it.key()).arg(it->id).arg(it->name, it->serialno, it->password);
    out += QStringLiteral(" recent=");
    for (int id : s.recentDevices)
        out += QString::number(id) + QLatin1Char(',');
    out += QStringLiteral(" certs=");
    for (const TrustedCertificate &c : s.trustedCertificates)
        out += QStringLiteral("[%1 %2 %3]").arg(c.sslError).arg(c.organization, c.commonName);
    return out;
}

KnownDevice device(int id, const QString &name, const QString &serialno, const QString &password)
{
    KnownDevice d(id, name);
    d.serialno = serialno;
    d.password = password;
    return d;
}

const QByteArray kDefaultFile = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                                "<settings version=\"1\">\n"
                                "  <applicationSettings>\n"
                                "    <logger logMaxSize=\"512\" logMaxFiles=\"25\"/>\n"
                                "  </applicationSettings>\n"
                                "  <knownDevices/>\n"
                                "  <recentDevices maxDevices=\"10\"/>\n"
                                "</settings>";

// A record whose every stored field differs from the defaults, so that reading shows what it changed.
ApplicationSettings presetRecord(const QString &path)
{
    ApplicationSettings s(path);
    s.logMaxSize = 77;
    s.logMaxFiles = 7;
    s.sshVerbosity = 2;
    s.hostname = QStringLiteral("keep");
    s.hostport = 99;
    s.maxDevices = 10;
    s.knownDevices.insert(9, device(9, QStringLiteral("old"), QStringLiteral("s"), QStringLiteral("p")));
    s.recentDevices = {9};
    s.trustedCertificates.append(TrustedCertificate {5, QStringLiteral("o"), QString()});
    return s;
}

const QString kPresetEmpty = QStringLiteral("log=77/7 ssh=2 server=keep:99 max=10 devices= recent= certs=");

} // namespace

class TestApplicationSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void defaultFile();
    void fullRecordRoundTrip();
    void read_data();
    void read();
    void readMissingFile();
    void addRecentDevice_data();
    void addRecentDevice();
    void setKnownDevicesDropsRecentIds();
    void nextFreeDeviceId_data();
    void nextFreeDeviceId();
    void storableText_data();
    void storableText();
    void unstorableTextKeepsOldFile_data();
    void unstorableTextKeepsOldFile();
    void unreadFileKeptBeforeWrite_data();
    void unreadFileKeptBeforeWrite();
    void saveIntoReadOnlyDirectoryKeepsOldFile();

private:
    QScopedPointer<QTemporaryDir> m_dir;
    QString path() const { return m_dir->filePath(QStringLiteral("MyQuorvaneRE.xml")); }
};

void TestApplicationSettings::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

void TestApplicationSettings::defaultFile()
{
    // The file lives in the program's directory.
    setProgramDirectory(QString());
    QCOMPARE(configurationFilePath(), QCoreApplication::applicationDirPath() + QStringLiteral("/MyQuorvaneRE.xml"));
    setProgramDirectory(m_dir->path());
    QCOMPARE(configurationFilePath(), path());
    setProgramDirectory(QString());

    ApplicationSettings settings(path());
    QVERIFY(settings.writeConfiguration());
    QCOMPARE(readFile(path()), kDefaultFile);
    // It holds codec passwords.
    struct stat status
    {
    };
    QCOMPARE(stat(QFile::encodeName(path()).constData(), &status), 0);
    QCOMPARE(status.st_mode & 07777, mode_t(0600));

    ApplicationSettings reread = presetRecord(path());
    QVERIFY(reread.readConfiguration());
    QCOMPARE(describe(reread), QStringLiteral("log=512/25 ssh=2 server=keep:99 max=10 devices= recent= certs="));
}

void TestApplicationSettings::fullRecordRoundTrip()
{
    ApplicationSettings settings(path());
    settings.logMaxSize = 1024;
    settings.logMaxFiles = 3;
    settings.sshVerbosity = 4;
    settings.hostname = QStringLiteral("relay.example.test");
    settings.hostport = 2222;
    settings.sshUser = QStringLiteral("never stored");
    settings.maxDevices = 3;
    settings.trustedCertificates = {{18, QStringLiteral("Relay & Co"), QStringLiteral("relay")},
        {9, QString(), QStringLiteral("only-cn")}, {10, QString(), QString()}};
    KnownDevice studio
        = device(2, QStringLiteral("Studio \u00e9\u00df"), QStringLiteral("SN<2>"), QStringLiteral("pa\"ss\tw'\u00ff"));
    studio.tunnelPort = 4711;
    studio.macAddress = QStringLiteral("never stored");
    settings.knownDevices.insert(7, device(7, QStringLiteral("noname"), QStringLiteral("7"), QStringLiteral("x")));
    settings.knownDevices.insert(2, studio);
    settings.recentDevices = {7, 2};
    QVERIFY(settings.writeConfiguration());

    const QByteArray expected = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                                "<settings version=\"1\">\n"
                                "  <applicationSettings>\n"
                                "    <logger logMaxSize=\"1024\" logMaxFiles=\"3\" sshVerbosity=\"4\"/>\n"
                                "    <server hostname=\"relay.example.test\" hostport=\"2222\"/>\n"
                                "    <trustedCertificates>\n"
                                "      <certificate sslError=\"18\" organization=\"Relay &amp; Co\" "
                                "commonName=\"relay\"/>\n"
                                "      <certificate sslError=\"9\" commonName=\"only-cn\"/>\n"
                                "    </trustedCertificates>\n"
                                "  </applicationSettings>\n"
                                "  <knownDevices>\n"
                                "    <device id=\"2\" name=\"Studio \xe9\xdf\" serialno=\"SN&lt;2&gt;\" "
                                "password=\"pa&quot;ss&#9;w'\xff\"/>\n"
                                "    <device id=\"7\" name=\"noname\" serialno=\"7\" password=\"x\"/>\n"
                                "  </knownDevices>\n"
                                "  <recentDevices maxDevices=\"3\">\n"
                                "    <device id=\"7\"/>\n"
                                "    <device id=\"2\"/>\n"
                                "  </recentDevices>\n"
                                "</settings>";
    QCOMPARE(readFile(path()), expected);

    ApplicationSettings reread(path());
    QVERIFY(reread.readConfiguration());
    settings.trustedCertificates.removeLast(); // neither organization nor common name: not written
    QCOMPARE(describe(reread), describe(settings));
    QCOMPARE(reread.knownDevices.value(2).tunnelPort, 0);
    QVERIFY(reread.knownDevices.value(2).macAddress.isEmpty());
    QVERIFY(reread.sshUser.isEmpty());
}

void TestApplicationSettings::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");

    const QByteArray head = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n";
    const QByteArray devices = "<knownDevices><device id=\"1\" name=\"a\" serialno=\"s1\" password=\"p1\"/>"
                               "<device id=\"3\" name=\"c\" serialno=\"s3\" password=\"p3\"/>"
                               "<device id=\"5\" name=\"e\" serialno=\"s5\" password=\"p5\"/></knownDevices>";
    const QString threeDevices = QStringLiteral("[1=1 a s1 p1][3=3 c s3 p3][5=5 e s5 p5]");
    auto settings = [&](const QByteArray &body) { return head + "<settings version=\"1\">" + body + "</settings>"; };
    auto expect = [](const QString &tail) { return QStringLiteral("log=77/7 ssh=2 server=keep:99 ") + tail; };

    QTest::newRow("other root") << head + "<config version=\"1\">" + devices + "</config>" << kPresetEmpty;
    QTest::newRow("version 2") << head + "<settings version=\"2\">" + devices + "</settings>" << kPresetEmpty;
    QTest::newRow("no version") << head + "<settings>" + devices + "</settings>" << kPresetEmpty;
    QTest::newRow("empty settings") << settings("") << kPresetEmpty;
    QTest::newRow("three devices") << settings(devices) << expect("max=10 devices=" + threeDevices + " recent= certs=");
    QTest::newRow("same id twice: first wins")
        << settings("<knownDevices><device id=\"3\" name=\"first\" serialno=\"s\" password=\"p\"/>"
                    "<device id=\"3\" name=\"second\" serialno=\"t\" password=\"q\"/></knownDevices>")
        << expect("max=10 devices=[3=3 first s p] recent= certs=");
    QTest::newRow("empty password or serial, bad ids: skipped")
        << settings("<knownDevices><device id=\"1\" name=\"a\" serialno=\"s\" password=\"\"/>"
                    "<device id=\"2\" name=\"b\" serialno=\"\" password=\"p\"/>"
                    "<device id=\"3\" name=\"c\" password=\"p\"/>"
                    "<device id=\"0\" name=\"d\" serialno=\"s\" password=\"p\"/>"
                    "<device id=\"x\" name=\"e\" serialno=\"s\" password=\"p\"/>"
                    "<device name=\"f\" serialno=\"s\" password=\"p\"/>"
                    "<device id=\"6\" name=\"g\" serialno=\"s\" password=\"p\"/></knownDevices>")
        << expect("max=10 devices=[6=6 g s p] recent= certs=");
    QTest::newRow("empty or missing name: noname")
        << settings("<knownDevices><device id=\"1\" name=\"\" serialno=\"s\" password=\"p\"/>"
                    "<device id=\"2\" serialno=\"s\" password=\"p\"/></knownDevices>")
        << expect("max=10 devices=[1=1 noname s p][2=2 noname s p] recent= certs=");
    QTest::newRow("logger out of range") << settings(
        "<applicationSettings><logger logMaxSize=\"0\" logMaxFiles=\"-1\" sshVerbosity=\"5\"/>"
        "</applicationSettings>") << kPresetEmpty;
    QTest::newRow("logger not numbers") << settings(
        "<applicationSettings><logger logMaxSize=\"abc\" logMaxFiles=\"2x\" sshVerbosity=\"0\"/>"
        "</applicationSettings>") << kPresetEmpty;
    QTest::newRow("server without hostname empties it")
        << settings("<applicationSettings><server hostport=\"0\"/></applicationSettings>")
        << QStringLiteral("log=77/7 ssh=2 server=:99 max=10 devices= recent= certs=");
    QTest::newRow("certificates") << settings("<applicationSettings><trustedCertificates>"
                                              "<certificate sslError=\"18\" organization=\"o\" commonName=\"c\"/>"
                                              "<certificate sslError=\"0\" organization=\"zero\"/>"
                                              "<certificate sslError=\"abc\" organization=\"nan\"/>"
                                              "<other sslError=\"3\" organization=\"other\"/>"
                                              "<certificate sslError=\"11\"/>"
                                              "</trustedCertificates></applicationSettings>")
                                  << expect("max=10 devices= recent= certs=[18 o c][11  ]");
    QTest::newRow("recent: limit and unknown ids") << settings(devices
        + "<recentDevices maxDevices=\"2\"><device id=\"4\"/><device id=\"5\"/><device id=\"1\"/>"
          "<device id=\"3\"/></recentDevices>") << expect("max=2 devices=" + threeDevices + " recent=5,1, certs=");
    QTest::newRow("recent: repeats kept, bad maxDevices ignored") << settings(devices
        + "<recentDevices maxDevices=\"0\"><device id=\"3\"/><device id=\"3\"/><device id=\"x\"/>"
          "<thing id=\"1\"/></recentDevices>") << expect("max=10 devices=" + threeDevices + " recent=3,3, certs=");
    QTest::newRow("recent before known devices")
        << settings("<recentDevices maxDevices=\"4\"><device id=\"1\"/></recentDevices>" + devices)
        << expect("max=4 devices=" + threeDevices + " recent= certs=");
    QTest::newRow("unknown elements and nested content ignored")
        << settings("<future><knownDevices><device id=\"8\" serialno=\"s\" password=\"p\"/></knownDevices></future>"
                    "<knownDevices><device id=\"1\" name=\"a\" serialno=\"s1\" password=\"p1\">"
                    "<device id=\"2\" serialno=\"s\" password=\"p\"/>text</device></knownDevices>")
        << expect("max=10 devices=[1=1 a s1 p1] recent= certs=");
    QTest::newRow("truncated: what came before stays")
        << (head + "<settings version=\"1\">" + devices.left(devices.indexOf("<device id=\"5\"") + 20))
        << expect("max=10 devices=[1=1 a s1 p1][3=3 c s3 p3] recent= certs=");
    QTest::newRow("malformed in the middle")
        << settings("<knownDevices><device id=\"1\" name=\"a\" serialno=\"s1\" password=\"p1\"/><device id=\"2\" "
                    "name=a serialno=\"s\" password=\"p\"/></knownDevices>")
        << expect("max=10 devices=[1=1 a s1 p1] recent= certs=");
    QTest::newRow("empty file") << QByteArray() << kPresetEmpty;
    QTest::newRow("binary garbage") << QByteArray("\x00\xff\xfe<<&&\x01", 8) << kPresetEmpty;
    QTest::newRow("latin-1 bytes") << settings(
        "<knownDevices><device id=\"1\" name=\"Caf\xe9\" serialno=\"s\" password=\"\xe4\xf6\"/>"
        "</knownDevices>") << expect(QStringLiteral("max=10 devices=[1=1 Caf\u00e9 s \u00e4\u00f6] recent= certs="));
    QTest::newRow("declared utf-8") << QByteArray(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><settings version=\"1\"><knownDevices>"
        "<device id=\"1\" name=\"Caf\xc3\xa9\" serialno=\"s\" password=\"p\"/></knownDevices></settings>")
                                    << expect(QStringLiteral("max=10 devices=[1=1 Caf\u00e9 s p] recent= certs="));
}

void TestApplicationSettings::read()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QVERIFY(writeFile(path(), content));
    ApplicationSettings settings = presetRecord(path());
    QVERIFY(settings.readConfiguration());
    QCOMPARE(describe(settings), expected);
}

void TestApplicationSettings::readMissingFile()
{
    MessageCatcher catcher;
    MessageCatcher::clear();
    ApplicationSettings settings = presetRecord(path());
    const QString before = describe(settings);
    QVERIFY(!settings.readConfiguration());
    QCOMPARE(describe(settings), before);
    const QStringList messages = MessageCatcher::messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first(),
        QStringLiteral("critical: \"readConfiguration(filename=%1) failed to open file with error No such file "
                       "or directory\"")
            .arg(path()));
    // Nothing was there to lose, so the first save needs no copy.
    QVERIFY(settings.writeConfiguration());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList {QStringLiteral("MyQuorvaneRE.xml")});
}

void TestApplicationSettings::addRecentDevice_data()
{
    QTest::addColumn<QList<int>>("list");
    QTest::addColumn<int>("maxDevices");
    QTest::addColumn<int>("id");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("repeats removed") << QList<int> {3, 5, 7, 5} << 10 << 5 << QList<int> {5, 3, 7};
    QTest::newRow("new id in front") << QList<int> {3, 5} << 10 << 9 << QList<int> {9, 3, 5};
    QTest::newRow("empty list") << QList<int> {} << 10 << 1 << QList<int> {1};
    QTest::newRow("trimmed to the limit") << QList<int> {1, 2, 3} << 3 << 4 << QList<int> {4, 1, 2};
    QTest::newRow("over the limit already") << QList<int> {1, 2, 3, 4, 5} << 2 << 3 << QList<int> {3, 1};
    QTest::newRow("no limit") << QList<int> {1, 2, 3, 4, 5} << 0 << 6 << QList<int> {6, 1, 2, 3, 4, 5};
}

void TestApplicationSettings::addRecentDevice()
{
    QFETCH(QList<int>, list);
    QFETCH(int, maxDevices);
    QFETCH(int, id);
    QFETCH(QList<int>, expected);
    ApplicationSettings settings(path());
    settings.recentDevices = list;
    settings.maxDevices = maxDevices;
    QVERIFY(settings.addRecentDevice(id));
    QCOMPARE(settings.recentDevices, expected);

    // The id may be handed in by reference into the list itself.
    settings.recentDevices = list;
    if (!list.isEmpty()) {
        const int last = list.last();
        settings.addRecentDevice(settings.recentDevices.last());
        QCOMPARE(settings.recentDevices.first(), last);
        QCOMPARE(settings.recentDevices.count(last), 1);
    }
}

void TestApplicationSettings::setKnownDevicesDropsRecentIds()
{
    ApplicationSettings settings(path());
    for (int id : {1, 2, 3})
        settings.knownDevices.insert(id, device(id, QStringLiteral("d"), QStringLiteral("s"), QStringLiteral("p")));
    settings.recentDevices = {3, 2, 1, 2};
    QMap<int, KnownDevice> edited = settings.knownDevices;
    edited.remove(2);
    settings.setKnownDevices(edited);
    QCOMPARE(settings.recentDevices, (QList<int> {3, 1}));
    QCOMPARE(settings.knownDevices.keys(), (QList<int> {1, 3}));
}

void TestApplicationSettings::nextFreeDeviceId_data()
{
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<int>("expected");

    QList<int> all;
    for (int id = 1; id <= 255; ++id)
        all.append(id);
    QList<int> allButFirst = all.mid(1);
    QList<int> allButLast = all.mid(0, 254);

    QTest::newRow("empty") << QList<int> {} << 1;
    QTest::newRow("gap") << QList<int> {1, 2, 4} << 3;
    QTest::newRow("freed first") << QList<int> {2, 3} << 1;
    QTest::newRow("dense") << QList<int> {1, 2, 3} << 4;
    QTest::newRow("255 is the last") << allButLast << 255;
    QTest::newRow("1 free at the end") << allButFirst << 1;
    QTest::newRow("all taken") << all << -1;
    QTest::newRow("ids above 255 do not count") << (allButLast + QList<int> {256, 300}) << 255;
}

void TestApplicationSettings::nextFreeDeviceId()
{
    QFETCH(QList<int>, ids);
    QFETCH(int, expected);
    QMap<int, KnownDevice> devices;
    for (int id : ids)
        devices.insert(id, KnownDevice(id, QStringLiteral("d")));
    QCOMPARE(::nextFreeDeviceId(devices), expected);
}

void TestApplicationSettings::storableText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("storable");

    QTest::newRow("empty") << QString() << true;
    QTest::newRow("ascii") << QStringLiteral("Abc 123 <&>\"'") << true;
    QTest::newRow("latin-1") << QStringLiteral("\u00e9\u00df\u00ff\u00a0\u0085") << true;
    QTest::newRow("tab, line ends") << QStringLiteral("a\tb\nc\r") << true;
    QTest::newRow("euro") << QStringLiteral("5\u20ac") << false;
    QTest::newRow("cyrillic") << QStringLiteral("\u0416") << false;
    QTest::newRow("emoji") << QString::fromUtf8("\xf0\x9f\x98\x80") << false;
    QTest::newRow("control character") << QStringLiteral("a\u0001") << false;
    QTest::newRow("nul") << QString(QChar(0)) << false;
}

void TestApplicationSettings::storableText()
{
    QFETCH(QString, text);
    QFETCH(bool, storable);
    QCOMPARE(isStorableText(text), storable);
}

void TestApplicationSettings::unstorableTextKeepsOldFile_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("text");

    for (const QString &text : {QStringLiteral("5\u20ac"), QStringLiteral("\u0416"), QStringLiteral("x\u0001")}) {
        for (int field = 0; field < 5; ++field)
            QTest::addRow("field %d, U+%04X", field, text.back().unicode()) << field << text;
    }
}

void TestApplicationSettings::unstorableTextKeepsOldFile()
{
    QFETCH(int, field);
    QFETCH(QString, text);
    ApplicationSettings settings(path());
    settings.knownDevices.insert(1, device(1, QStringLiteral("a"), QStringLiteral("s"), QStringLiteral("p")));
    settings.trustedCertificates.append(TrustedCertificate {9, QStringLiteral("o"), QString()});
    QVERIFY(settings.writeConfiguration());
    const QByteArray before = readFile(path());

    KnownDevice &d = settings.knownDevices[1];
    QString *targets[]
        = {&d.name, &d.serialno, &d.password, &settings.hostname, &settings.trustedCertificates[0].organization};
    *targets[field] = text;
    MessageCatcher catcher;
    MessageCatcher::clear();
    QVERIFY(!settings.writeConfiguration());
    QCOMPARE(readFile(path()), before);
    QCOMPARE(MessageCatcher::messages().size(), 1);
    QVERIFY(MessageCatcher::messages().first().startsWith(
        QStringLiteral("critical: \"writeConfiguration(filename=%1) failed to write file").arg(path())));
}

void TestApplicationSettings::unreadFileKeptBeforeWrite_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("copied");
    QTest::addColumn<QString>("written"); // the devices of the file written afterwards

    const QByteArray good = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<settings version=\"1\"><knownDevices>"
                            "<device id=\"1\" name=\"a\" serialno=\"s1\" password=\"p1\"/>"
                            "<device id=\"2\" name=\"b\" serialno=\"s2\" password=\"p2\"/></knownDevices></settings>";
    QByteArray wrongVersion = good;
    wrongVersion.replace("version=\"1\">", "version=\"2\">");
    QByteArray otherRoot = good;
    otherRoot.replace("<settings", "<setting").replace("</settings>", "</setting>");

    QTest::newRow("good file") << good << false << QStringLiteral("[1=1 a s1 p1][2=2 b s2 p2]");
    QTest::newRow("truncated") << good.left(good.indexOf("<device id=\"2\"") + 10) << true
                               << QStringLiteral("[1=1 a s1 p1]");
    QTest::newRow("wrong version") << wrongVersion << true << QString();
    QTest::newRow("other root") << otherRoot << true << QString();
    QTest::newRow("junk after the root") << good + "<settings/>" << true
                                         << QStringLiteral("[1=1 a s1 p1][2=2 b s2 p2]");
    QTest::newRow("empty") << QByteArray() << true << QString();
}

void TestApplicationSettings::unreadFileKeptBeforeWrite()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, copied);
    QFETCH(QString, written);
    QVERIFY(writeFile(path(), content));
    MessageCatcher catcher;
    ApplicationSettings settings(path());
    QVERIFY(settings.readConfiguration());
    // The name shown at start-up is the one the copy gets.
    const QString announced = settings.unreadFileCopyPath();
    QCOMPARE(announced.isEmpty(), !copied);
    MessageCatcher::clear();
    QVERIFY(settings.writeConfiguration());

    const QStringList copies = QDir(m_dir->path()).entryList({QStringLiteral("MyQuorvaneRE.xml.bad-*")}, QDir::Files);
    QCOMPARE(copies.size(), copied ? 1 : 0);
    if (copied) {
        const QString copyPath = m_dir->filePath(copies.first());
        QCOMPARE(copyPath, announced);
        QCOMPARE(readFile(copyPath), content);
        QVERIFY2(MessageCatcher::messages().join('\n').contains(copyPath),
            qPrintable(MessageCatcher::messages().join('\n')));
    }

    ApplicationSettings reread(path());
    QVERIFY(reread.readConfiguration());
    QCOMPARE(describe(reread),
        QStringLiteral("log=512/25 ssh=0 server=:0 max=10 devices=") + written + QStringLiteral(" recent= certs="));

    // One copy is enough: the next save writes over a file this program wrote.
    QVERIFY(settings.writeConfiguration());
    QCOMPARE(
        QDir(m_dir->path()).entryList({QStringLiteral("MyQuorvaneRE.xml.bad-*")}, QDir::Files).size(), copied ? 1 : 0);
}

void TestApplicationSettings::saveIntoReadOnlyDirectoryKeepsOldFile()
{
    ApplicationSettings settings(path());
    settings.knownDevices.insert(4, device(4, QStringLiteral("a"), QStringLiteral("s"), QStringLiteral("p")));
    QVERIFY(settings.writeConfiguration());
    const QByteArray before = readFile(path());

    MessageCatcher catcher;
    MessageCatcher::clear();
    {
        ReadOnlyDirectory readOnly(m_dir->path());
        QVERIFY(readOnly.isReadOnly());
        settings.knownDevices.clear();
        QVERIFY(!settings.writeConfiguration());
        QCOMPARE(MessageCatcher::messages().size(), 1);
        QVERIFY(MessageCatcher::messages().first().startsWith(
            QStringLiteral("critical: \"writeConfiguration(filename=%1) failed to write file with error ")
                .arg(path())));
        // The devices are still there to be read.
        QVERIFY(settings.readConfiguration());
        QCOMPARE(settings.knownDevices.keys(), QList<int> {4});
    }
    QCOMPARE(readFile(path()), before);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList {QStringLiteral("MyQuorvaneRE.xml")});
}

QTEST_GUILESS_MAIN(TestApplicationSettings)
#include "tst_applicationsettings.moc"
