#include "shell/rotatinglogfile.h"
#include "tests/readonlydirectory.h"
#include "tests/testfiles.h"

#include <QtTest>

#include <thread>
#include <vector>

namespace {

const QString kBase = QStringLiteral("MyQuorvaneRE");

// The log files of the base name in the directory, in name order.
QStringList logFiles(const QString &directory, const QString &base = kBase)
{
    return QDir(directory).entryList(
        {QLatin1Char('*') + base + QStringLiteral(".log")}, QDir::Files | QDir::CaseSensitive, QDir::Name);
}

// The contents of the log files in name order.
QList<QByteArray> contents(const QString &directory)
{
    QList<QByteArray> out;
    for (const QString &name : logFiles(directory))
        out.append(readFile(directory + QLatin1Char('/') + name));
    return out;
}

QString stampAt(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyMMddThhmmss"));
}

} // namespace

class TestRotatingLogFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void openWriteClose();
    void pruning_data();
    void pruning();
    void setMaxFiles_data();
    void setMaxFiles();
    void rotationBySize_data();
    void rotationBySize();
    void rotationWithinOneSecondKeepsOrder();
    void twoLoggersInOneSecondKeepBothFiles();
    void concurrentWritersKeepLinesWhole();
    void formatLine_data();
    void formatLine();
    void rotationIntoReadOnlyDirectoryStopsLogging();

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

void TestRotatingLogFile::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
}

void TestRotatingLogFile::openWriteClose()
{
    const QString directory = m_dir->filePath(QStringLiteral("a/b/logs")); // made when missing
    const QDateTime before = QDateTime::currentDateTime();
    RotatingLogFile log(kBase);
    log.write("before open\n");
    QVERIFY(log.open(directory));
    const QDateTime after = QDateTime::currentDateTime();
    log.writeLine("first");
    log.write("second\n");
    QVERIFY(!log.open(directory));
    QVERIFY(!log.openNewFile(directory));

    QStringList files = logFiles(directory);
    QCOMPARE(files.size(), 1);
    const QRegularExpression pattern(QStringLiteral("^(\\d{6}T\\d{6})-MyQuorvaneRE\\.log$"));
    const QRegularExpressionMatch match = pattern.match(files.first());
    QVERIFY2(match.hasMatch(), qPrintable(files.first()));
    const QString stamp = match.captured(1);
    QVERIFY(stamp >= stampAt(before) && stamp <= stampAt(after));

    log.close();
    QVERIFY(!log.isOpen());
    log.writeLine("after close");
    QCOMPARE(readFile(directory + QLatin1Char('/') + files.first()), QByteArray("first\nsecond\n"));
    QVERIFY(log.open(directory));
    QCOMPARE(logFiles(directory).size(), 2);
}

void TestRotatingLogFile::pruning_data()
{
    QTest::addColumn<int>("existing");
    QTest::addColumn<int>("maxFiles");
    QTest::addColumn<int>("kept"); // of the existing files, the newest ones

    QTest::newRow("30 files, keep 25") << 30 << 25 << 24;
    QTest::newRow("24 files, keep 25") << 24 << 25 << 24;
    QTest::newRow("25 files, keep 25") << 25 << 25 << 24;
    QTest::newRow("keep 1") << 5 << 1 << 0;
    QTest::newRow("no limit") << 30 << -1 << 30;
    QTest::newRow("0 means no limit") << 30 << 0 << 30;
}

void TestRotatingLogFile::pruning()
{
    QFETCH(int, existing);
    QFETCH(int, maxFiles);
    QFETCH(int, kept);
    const QDir dir(m_dir->path());
    QStringList old;
    for (int i = 0; i < existing; ++i) {
        old.append(QStringLiteral("2401%1T101010-MyQuorvaneRE.log").arg(i + 1, 2, 10, QLatin1Char('0')));
        QVERIFY(writeFile(dir.filePath(old.last()), "old\n"));
    }
    // Neither listed nor deleted: other base names, other endings, directories.
    const QStringList foreign {QStringLiteral("200101T000000-Other.log"),
        QStringLiteral("200101T000000-MyQuorvaneRE.txt"), QStringLiteral("200101T000000-MyQuorvaneRE.log.bak"),
        QStringLiteral("200101T000000-myquorvanere.log"), QStringLiteral("notes")};
    for (const QString &name : foreign)
        QVERIFY(writeFile(dir.filePath(name), "keep\n"));
    QVERIFY(dir.mkdir(QStringLiteral("200101T000000-MyQuorvaneRE.log")));

    RotatingLogFile log(kBase);
    log.setMaxFiles(maxFiles);
    QVERIFY(log.open(m_dir->path()));

    const QStringList files = logFiles(m_dir->path());
    QCOMPARE(files.mid(0, files.size() - 1), old.mid(existing - kept));
    QVERIFY(!old.contains(files.last()));
    for (const QString &name : foreign)
        QCOMPARE(readFile(dir.filePath(name)), QByteArray("keep\n"));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("200101T000000-MyQuorvaneRE.log"))).isDir());
}

void TestRotatingLogFile::setMaxFiles_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("remaining");

    QTest::newRow("lowered to 3") << 3 << 3;
    QTest::newRow("lowered to 1") << 1 << 1;
    QTest::newRow("0 disables") << 0 << 11;
    QTest::newRow("negative disables") << -5 << 11;
    QTest::newRow("unchanged") << 20 << 11;
}

void TestRotatingLogFile::setMaxFiles()
{
    QFETCH(int, count);
    QFETCH(int, remaining);
    for (int i = 0; i < 10; ++i)
        QVERIFY(writeFile(m_dir->filePath(QStringLiteral("2401%1T101010-MyQuorvaneRE.log").arg(i + 10)), "old\n"));
    RotatingLogFile log(kBase);
    log.setMaxFiles(20);
    QVERIFY(log.open(m_dir->path()));
    log.setMaxFiles(count);
    const QStringList files = logFiles(m_dir->path());
    QCOMPARE(files.size(), remaining);
    QVERIFY(!files.last().startsWith(QStringLiteral("2401"))); // the open file is never pruned
    log.writeLine("still open");
    QCOMPARE(readFile(m_dir->filePath(files.last())), QByteArray("still open\n"));
}

void TestRotatingLogFile::rotationBySize_data()
{
    QTest::addColumn<int>("maxSize");
    QTest::addColumn<QList<int>>("lines"); // lengths of the lines written, newline included
    QTest::addColumn<QList<int>>("files"); // size of each file afterwards, oldest first

    QTest::newRow("below the limit") << 100 << QList<int> {40, 40} << QList<int> {80};
    QTest::newRow("exactly the limit") << 100 << QList<int> {60, 40} << QList<int> {100};
    QTest::newRow("past the limit: the line stays whole") << 100 << QList<int> {60, 60, 10} << QList<int> {120, 10};
    QTest::newRow("one long line") << 100 << QList<int> {250, 5} << QList<int> {250, 5};
    QTest::newRow("rotates again") << 10 << QList<int> {11, 11, 3} << QList<int> {11, 11, 3};
    QTest::newRow("ends with an empty new file") << 10 << QList<int> {11} << QList<int> {11, 0};
    QTest::newRow("no limit") << -1 << QList<int> {400, 400} << QList<int> {800};
    QTest::newRow("0 is no limit") << 0 << QList<int> {400, 400} << QList<int> {800};
}

void TestRotatingLogFile::rotationBySize()
{
    QFETCH(int, maxSize);
    QFETCH(QList<int>, lines);
    QFETCH(QList<int>, files);
    RotatingLogFile log(kBase);
    log.maxSize = maxSize;
    QVERIFY(log.open(m_dir->path()));
    QByteArray all;
    char letter = 'a';
    for (int length : lines) {
        const QByteArray line = QByteArray(length - 1, letter++) + '\n';
        all += line;
        log.write(line);
    }
    const QList<QByteArray> written = contents(m_dir->path());
    QList<int> sizes;
    for (const QByteArray &content : written)
        sizes.append(content.size());
    QCOMPARE(sizes, files);
    QByteArray joined;
    for (const QByteArray &content : written)
        joined += content;
    QCOMPARE(joined, all);
}

void TestRotatingLogFile::rotationWithinOneSecondKeepsOrder()
{
    RotatingLogFile log(kBase);
    log.maxSize = 1;
    QVERIFY(log.open(m_dir->path()));
    QList<QByteArray> expected;
    for (int i = 0; i < 30; ++i) {
        expected.append("line " + QByteArray::number(i) + '\n');
        log.write(expected.last());
    }
    expected.append(QByteArray()); // the file opened by the last rotation
    // Sorting the names gives the order in which the files were written.
    QCOMPARE(contents(m_dir->path()), expected);
}

void TestRotatingLogFile::twoLoggersInOneSecondKeepBothFiles()
{
    // Whatever second the loggers open in, a file of that name is there already.
    const QDateTime now = QDateTime::currentDateTime();
    QStringList existing;
    for (int s = -1; s <= 5; ++s) {
        existing.append(stampAt(now.addSecs(s)) + QStringLiteral("-MyQuorvaneRE.log"));
        QVERIFY(writeFile(m_dir->filePath(existing.last()), "from another run\n"));
    }

    RotatingLogFile first(kBase);
    QVERIFY(first.open(m_dir->path()));
    first.writeLine("first");
    RotatingLogFile second(kBase);
    QVERIFY(second.open(m_dir->path()));
    second.writeLine("second");
    first.writeLine("first again");

    for (const QString &name : existing)
        QCOMPARE(readFile(m_dir->filePath(name)), QByteArray("from another run\n"));
    QStringList created = logFiles(m_dir->path());
    for (const QString &name : existing)
        created.removeOne(name);
    QCOMPARE(created.size(), 2);
    QCOMPARE(readFile(m_dir->filePath(created.at(0))), QByteArray("first\nfirst again\n"));
    QCOMPARE(readFile(m_dir->filePath(created.at(1))), QByteArray("second\n"));
    // A name that had to step aside still sorts after the file of its second, so pruning takes the older first.
    for (const QString &name : created) {
        const QString own = name.left(13) + QStringLiteral("-MyQuorvaneRE.log");
        QVERIFY2(existing.contains(own) && own < name, qPrintable(name));
    }
}

void TestRotatingLogFile::concurrentWritersKeepLinesWhole()
{
    constexpr int kThreads = 4;
    constexpr int kLines = 400;
    RotatingLogFile log(kBase);
    log.maxSize = 2048;
    QVERIFY(log.open(m_dir->path()));

    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&log, t] {
            for (int i = 0; i < kLines; ++i) {
                const QByteArray line = QByteArray::number(t) + ':' + QByteArray::number(i) + ':'
                    + QByteArray(20 + (i % 30), char('a' + t)) + '\n';
                log.write(line);
                if (i % 100 == 0)
                    log.setMaxFiles(-1);
            }
        });
    }
    for (std::thread &thread : threads)
        thread.join();

    QByteArray all;
    for (const QByteArray &content : contents(m_dir->path()))
        all += content;
    QList<QByteArray> lines = all.split('\n');
    QCOMPARE(lines.takeLast(), QByteArray());
    QCOMPARE(lines.size(), kThreads * kLines);
    int next[kThreads] = {};
    for (const QByteArray &line : lines) {
        const QList<QByteArray> parts = line.split(':');
        QCOMPARE(parts.size(), 3);
        const int t = parts.at(0).toInt();
        // Each thread's lines arrive whole and in its own order.
        QCOMPARE(parts.at(1).toInt(), next[t]++);
        QCOMPARE(parts.at(2), QByteArray(20 + (parts.at(1).toInt() % 30), char('a' + t)));
    }
}

// The levels and the text's encoding are checked through the message handler; here the time stamp.
void TestRotatingLogFile::formatLine_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("line");

    QTest::newRow("fatal") << int(QtFatalMsg) << QByteArray("07:05:03.009 fatal f\n");
    QTest::newRow("info is not logged") << int(QtInfoMsg) << QByteArray();
}

void TestRotatingLogFile::formatLine()
{
    QFETCH(int, type);
    QFETCH(QByteArray, line);
    QCOMPARE(formatLogLine(QtMsgType(type), QStringLiteral("f"), QTime(7, 5, 3, 9)), line);
    QCOMPARE(formatLogLine(QtMsgType(type), QStringLiteral("f"), QTime(23, 59, 59, 999)).left(12),
        line.isEmpty() ? QByteArray() : QByteArray("23:59:59.999"));
}

void TestRotatingLogFile::rotationIntoReadOnlyDirectoryStopsLogging()
{
    RotatingLogFile log(kBase);
    log.maxSize = 10;
    QVERIFY(log.open(m_dir->path()));
    {
        ReadOnlyDirectory readOnly(m_dir->path());
        QVERIFY(readOnly.isReadOnly());
        log.writeLine("0123456789"); // past the limit: the new file cannot be made
        QVERIFY(!log.isOpen());
        log.writeLine("dropped");
    }
    QCOMPARE(contents(m_dir->path()), QList<QByteArray> {"0123456789\n"});
}

QTEST_GUILESS_MAIN(TestRotatingLogFile)
#include "tst_rotatinglogfile.moc"
