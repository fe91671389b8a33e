#pragma once

// Makes every directory of a tree read-only for this process for as long as the object lives. Root ignores file
// permissions, so as root the process also takes the identity of "nobody" (which then owns the tree) meanwhile.

#include <QDirIterator>
#include <QFile>
#include <QString>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

class ReadOnlyDirectory final
{
public:
    explicit ReadOnlyDirectory(const QString &path) : m_path(path)
    {
        if (geteuid() == 0) {
            const passwd *nobody = getpwnam("nobody");
            if (!nobody)
                return;
            forEachEntry(
                [nobody](const QByteArray &entry) { return lchown(entry.constData(), nobody->pw_uid, -1) == 0; });
            if (seteuid(nobody->pw_uid) != 0)
                return;
            m_wasRoot = true;
        }
        m_ok = true;
        forEachDirectory([this](const QByteArray &entry) { m_ok = chmod(entry.constData(), 0555) == 0 && m_ok; });
    }

    ~ReadOnlyDirectory()
    {
        forEachDirectory([](const QByteArray &entry) { chmod(entry.constData(), 0700); });
        if (m_wasRoot && seteuid(0) == 0)
            forEachEntry([](const QByteArray &entry) { return lchown(entry.constData(), 0, -1) == 0; });
    }

    ReadOnlyDirectory(const ReadOnlyDirectory &) = delete;
    ReadOnlyDirectory &operator=(const ReadOnlyDirectory &) = delete;

    // Whether the directory is read-only now.
    bool isReadOnly() const { return m_ok; }

private:
    template<class Function>
    void forEachEntry(Function function)
    {
        function(QFile::encodeName(m_path));
        QDirIterator it(m_path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
            QDirIterator::Subdirectories);
        while (it.hasNext())
            function(QFile::encodeName(it.next()));
    }

    template<class Function>
    void forEachDirectory(Function function)
    {
        function(QFile::encodeName(m_path));
        QDirIterator it(m_path, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            function(QFile::encodeName(it.next()));
    }

    QString m_path;
    bool m_wasRoot = false;
    bool m_ok = false;
};
