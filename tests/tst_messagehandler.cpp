#include "app/quorvane.h"
#include "shell/programdirectory.h"
#include "shell/rotatinglogfile.h"
#include "tests/testfiles.h"
#include "tests/windowtesting.h"

#include <QtTest>

#include <limits>

namespace {

// The lines that carry the marker, without their time stamp; "<no time stamp>" for a line without one.
QList<QByteArray> linesWith(const QByteArray &text, const QByteArray &marker)
{
    QList<QByteArray> lines;
    for (const QByteArray &line : text.split('\n')) {
        if (!line.contains(marker))
            continue;
        const QTime stamp = QTime::fromString(QString::fromLatin1(line.left(12)), QStringLiteral("hh:mm:ss.zzz"));
        lines.append(stamp.isValid() ? line.mid(12) : QByteArray("<no time stamp>"));
    }
    return lines;
}

} // namespace

class TestMessageHandler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void levels_data();
    void levels();
    void otherThread();
    void nothingBeforeConstructionOrAfterDestruction();
    void startWithUnreadConfiguration_data();
    void startWithUnreadConfiguration();
    void sizeLimit_data();
    void sizeLimit();
    void sizeLimitFromConfiguration_data();
    void sizeLimitFromConfiguration();

private:
    QtMessageHandler m_previous = nullptr;
    QScopedPointer<QTemporaryDir> m_dir;
};

void TestMessageHandler::initTestCase()
{
    m_previous = qInstallMessageHandler(messageHandler);
}

void TestMessageHandler::cleanupTestCase()
{
    qInstallMessageHandler(m_previous);
}

void TestMessageHandler::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    setProgramDirectory(m_dir->path());
}

void TestMessageHandler::cleanup()
{
    setProgramDirectory(QString());
}

void TestMessageHandler::levels_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");

    const QString marker = QStringLiteral("marker");
    QTest::newRow("debug") << int(QtDebugMsg) << marker << QByteArray(" debug marker");
    QTest::newRow("warning") << int(QtWarningMsg) << marker << QByteArray(" info  marker");
    QTest::newRow("critical") << int(QtCriticalMsg) << marker << QByteArray(" error marker");
    QTest::newRow("info") << int(QtInfoMsg) << marker << QByteArray();
    QTest::newRow("latin-1") << int(QtDebugMsg) << QStringLiteral("caf\u00e9 marker")
                             << QByteArray(" debug caf\xe9 marker");
    // What the SSH server says comes inside the client's messages: it stays on its line.
    QTest::newRow("SSH message with a line break") << -1 << QStringLiteral("marker\n12:00:00.000 error forged marker")
                                                   << QByteArray(" debug marker\\n12:00:00.000 error forged marker");
}

void TestMessageHandler::levels()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);

    {
        Quorvane window;
        switch (type) {
        case QtDebugMsg:
            qDebug().noquote() << text;
            break;
        case QtWarningMsg:
            qWarning().noquote() << text;
            break;
        case QtCriticalMsg:
            qCritical().noquote() << text;
            break;
        case QtInfoMsg:
            qInfo().noquote() << text;
            break;
        default:
            window.onSshLogMessage(text);
        }
    }
    const QList<QByteArray> lines = linesWith(logText(m_dir->path()), "marker");
    QCOMPARE(lines, expected.isEmpty() ? QList<QByteArray>() : QList<QByteArray> {expected});
}

void TestMessageHandler::otherThread()
{
    {
        Quorvane window;
        QScopedPointer<QThread> thread(QThread::create([] { qWarning("from a worker thread"); }));
        thread->start();
        QVERIFY(thread->wait(10000));
    }
    QCOMPARE(linesWith(logText(m_dir->path()), "worker"), QList<QByteArray> {" info  from a worker thread"});
}

void TestMessageHandler::nothingBeforeConstructionOrAfterDestruction()
{
    qCritical("before the window");
    {
        Quorvane window;
        auto *child = new QObject(&window);
        connect(child, &QObject::destroyed, [] { qCritical("while the window goes"); });
        qCritical("while the window lives");
    }
    qCritical("after the window");
    const QByteArray text = logText(m_dir->path());
    QCOMPARE(linesWith(text, "window"), QList<QByteArray> {" error while the window lives"});
}

void TestMessageHandler::startWithUnreadConfiguration_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: a directory in place of the file
    QTest::addColumn<QString>("logged");

    QTest::newRow("truncated") << QByteArray("<?xml version=\"1.0\"?>\n<settings version=\"1\"><knownDevices><dev")
                               << QStringLiteral(
                                      " info  \"readConfiguration(filename=%1) could not read the whole file\"");
    QTest::newRow("directory in its place")
        << QByteArray() << QStringLiteral(" error \"readConfiguration(filename=%1) failed to open file with error ");
}

// What the read at start-up found reaches the log, and the status line names the copy that will be kept.
void TestMessageHandler::startWithUnreadConfiguration()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, logged);
    const QString path = configurationFilePath();
    QVERIFY(
        content.isEmpty() ? QDir(m_dir->path()).mkdir(QStringLiteral("MyQuorvaneRE.xml")) : writeFile(path, content));

    QString status;
    {
        Quorvane window;
        status = statusText(window);
    }
    const QRegularExpressionMatch named
        = QRegularExpression(QStringLiteral("^The configuration file could not be read whole; it will be kept as "
                                            "<(%1\\.bad-\\d{6}T\\d{6})> before it is saved$")
                                 .arg(QRegularExpression::escape(path)))
              .match(status);
    QVERIFY2(named.hasMatch(), qPrintable(status));
    const QByteArray log = logText(m_dir->path());
    QVERIFY2(log.contains(logged.arg(path).toLatin1()), log.constData());
    QVERIFY2(log.contains(
                 QStringLiteral("will keep the file as %1 before writing over it").arg(named.captured(1)).toLatin1()),
        log.constData());
}

void TestMessageHandler::sizeLimit_data()
{
    QTest::addColumn<int>("kilobytes");
    QTest::addColumn<int>("bytes");

    QTest::newRow("default") << 512 << 512 * 1024;
    QTest::newRow("one") << 1 << 1024;
    QTest::newRow("zero") << 0 << -1;
    QTest::newRow("negative") << -3 << -1;
    QTest::newRow("beyond int") << 4 * 1024 * 1024 << std::numeric_limits<int>::max();
    QTest::newRow("largest") << std::numeric_limits<int>::max() << std::numeric_limits<int>::max();
}

void TestMessageHandler::sizeLimit()
{
    QFETCH(int, kilobytes);
    QFETCH(int, bytes);
    QCOMPARE(logFileSizeLimit(kilobytes), bytes);
}

void TestMessageHandler::sizeLimitFromConfiguration_data()
{
    QTest::addColumn<QString>("logMaxSize");
    QTest::addColumn<int>("bytes");

    QTest::newRow("64 KB") << QStringLiteral("64") << 64 * 1024;
    // The file cannot say "no limit": 0 is not taken, so the default stays.
    QTest::newRow("zero") << QStringLiteral("0") << 512 * 1024;
    QTest::newRow("4 GB") << QStringLiteral("4194304") << std::numeric_limits<int>::max();
}

void TestMessageHandler::sizeLimitFromConfiguration()
{
    QFETCH(QString, logMaxSize);
    QFETCH(int, bytes);

    QVERIFY(writeConfiguration(m_dir->path(),
        QStringLiteral("<applicationSettings><logger logMaxSize=\"%1\" logMaxFiles=\"3\"/></applicationSettings>")
            .arg(logMaxSize)));

    Quorvane window;
    QVERIFY(window.logFile());
    QVERIFY(window.logFile()->isOpen());
    QCOMPARE(window.logFile()->maxSize.load(), bytes);
}

QTEST_MAIN(TestMessageHandler)
#include "tst_messagehandler.moc"
