#include "programdirectory.h"
#include "quorvane.h"
#include "rotatinglogfile.h"
#include "testfiles.h"

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
    // A directory in place of the configuration file: reading it fails and says so while the window is built.
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("MyQuorvaneRE.xml")));
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
    QVERIFY2(!text.contains("readConfiguration"), text.constData());
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
