#include "shell/rotatinglogfile.h"

#include "shell/programdirectory.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

namespace {

// Names that one second already used get a counter after the time stamp: '.' sorts after the '-' of the
// first name and before any later second, so the names still sort in the order the files were opened.
constexpr int kMaxNamesPerSecond = 10000;

QString logFileName(const QString &stamp, int counter, const QString &baseName)
{
    const QString suffix = QLatin1Char('-') + baseName + QStringLiteral(".log");
    if (counter == 0)
        return stamp + suffix;
    return stamp + QLatin1Char('.') + QStringLiteral("%1").arg(counter, 4, 10, QLatin1Char('0')) + suffix;
}

} // namespace

RotatingLogFile::RotatingLogFile(const QString &baseName) : m_baseName(baseName) { }

RotatingLogFile::~RotatingLogFile()
{
    close();
}

void RotatingLogFile::close()
{
    QMutexLocker lock(&m_mutex);
    m_files.clear();
    closeFile();
}

void RotatingLogFile::closeFile()
{
    delete m_file; // closes it
    m_file = nullptr;
}

void RotatingLogFile::setMaxFiles(int count)
{
    QMutexLocker lock(&m_mutex);
    if (count == m_maxFiles)
        return;
    if (count < 1) {
        m_maxFiles = -1;
        return;
    }
    m_maxFiles = count;
    if (m_file)
        removeOldFilesLocked();
}

bool RotatingLogFile::open(const QString &directory)
{
    QMutexLocker lock(&m_mutex);
    if (m_file)
        return false;
    if (!QDir(directory).exists() && !QDir().mkpath(directory))
        return false;
    m_directory = directory;
    scanDirectoryLocked(directory);
    return openNewFileLocked(directory);
}

void RotatingLogFile::scanDirectory(const QString &directory)
{
    QMutexLocker lock(&m_mutex);
    scanDirectoryLocked(directory);
}

void RotatingLogFile::scanDirectoryLocked(const QString &directory)
{
    m_files.clear();
    const QString suffix = QLatin1Char('-') + m_baseName + QStringLiteral(".log");
    QDirIterator it(directory);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.isFile() && info.fileName().endsWith(suffix, Qt::CaseSensitive))
            m_files.append(info.absoluteFilePath());
    }
    m_files.sort(Qt::CaseSensitive);
}

bool RotatingLogFile::openNewFile(const QString &directory)
{
    QMutexLocker lock(&m_mutex);
    return openNewFileLocked(directory);
}

bool RotatingLogFile::openNewFileLocked(const QString &directory)
{
    if (m_file)
        return false;
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyMMddThhmmss"));
    for (int counter = 0; counter < kMaxNamesPerSecond; ++counter) {
        const QString path = directory + QLatin1Char('/') + logFileName(stamp, counter, m_baseName);
        if (QFile::exists(path))
            continue;
        // NewOnly: a file of the same name that another process made meanwhile is never truncated.
        auto *file = new QFile(path);
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Text | QIODevice::Unbuffered)) {
            m_file = file;
            m_files.append(QFileInfo(path).absoluteFilePath());
            removeOldFilesLocked();
            return true;
        }
        delete file;
        if (!QFile::exists(path))
            return false;
    }
    return false;
}

void RotatingLogFile::removeOldFiles()
{
    QMutexLocker lock(&m_mutex);
    removeOldFilesLocked();
}

void RotatingLogFile::removeOldFilesLocked()
{
    if (m_maxFiles < 1)
        return;
    while (m_files.size() > m_maxFiles)
        QFile::remove(m_files.takeFirst());
}

void RotatingLogFile::write(const QByteArray &data)
{
    QMutexLocker lock(&m_mutex);
    // A message raised while this thread is inside write() would come back here: it is dropped.
    if (!m_file || m_writing)
        return;
    m_writing = true;
    m_file->write(data);
    const int limit = maxSize.load();
    if (limit > 0 && m_file->size() > limit) {
        closeFile();
        openNewFileLocked(m_directory);
    }
    m_writing = false;
}

void RotatingLogFile::writeLine(const QByteArray &text)
{
    write(text + '\n');
}

bool RotatingLogFile::isOpen() const
{
    QMutexLocker lock(&m_mutex);
    return m_file != nullptr;
}

QByteArray formatLogLine(QtMsgType type, const QString &text, const QTime &time)
{
    const char *level = nullptr;
    switch (type) {
    case QtDebugMsg:
        level = " debug ";
        break;
    case QtWarningMsg:
        level = " info  ";
        break;
    case QtCriticalMsg:
        level = " error ";
        break;
    case QtFatalMsg:
        level = " fatal ";
        break;
    default:
        return QByteArray();
    }
    return time.toString(QStringLiteral("hh:mm:ss.zzz")).toLatin1() + level + text.toLatin1() + '\n';
}

QString logDirectoryPath()
{
    return programDirectory() + QStringLiteral("/logs");
}
