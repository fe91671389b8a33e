#pragma once

#include <QByteArray>
#include <QRecursiveMutex>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <atomic>

class QFile;
class QTime;

// Time-stamped log files in one directory: a new file at every start and whenever the current one grows past
// maxSize, and at most maxFiles files of this base name kept. Every operation may be called from any thread.
class RotatingLogFile final
{
public:
    explicit RotatingLogFile(const QString &baseName);
    ~RotatingLogFile();
    RotatingLogFile(const RotatingLogFile &) = delete;
    RotatingLogFile &operator=(const RotatingLogFile &) = delete;

    void close();
    void setMaxFiles(int count);
    bool open(const QString &directory);
    void scanDirectory(const QString &directory);
    bool openNewFile(const QString &directory);
    void removeOldFiles();
    // Without an open file the data is lost: this object is the sink of the program's own messages.
    void write(const QByteArray &data);
    void writeLine(const QByteArray &text);
    bool isOpen() const;

    // Size limit of one file in bytes; below 1 means no limit.
    std::atomic<int> maxSize {-1};

private:
    void closeFile();
    void scanDirectoryLocked(const QString &directory);
    bool openNewFileLocked(const QString &directory);
    void removeOldFilesLocked();

    // Recursive, so that a message logged while a line is being written cannot deadlock its own thread.
    mutable QRecursiveMutex m_mutex;
    bool m_writing = false;
    int m_maxFiles = -1;
    QFile *m_file = nullptr;
    const QString m_baseName;
    QString m_directory;
    QStringList m_files; // oldest first; the open file is the last
};

// One log line: "hh:mm:ss.zzz" + level word + text + "\n" in Latin-1; empty for levels that are not logged.
QByteArray formatLogLine(QtMsgType type, const QString &text, const QTime &time);

// The "logs" directory in the program's directory.
QString logDirectoryPath();
