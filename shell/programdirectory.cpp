#include "shell/programdirectory.h"

#include <QCoreApplication>

namespace {

QString &overriddenDirectory()
{
    static QString directory;
    return directory;
}

} // namespace

QString programDirectory()
{
    const QString &directory = overriddenDirectory();
    return directory.isEmpty() ? QCoreApplication::applicationDirPath() : directory;
}

void setProgramDirectory(const QString &directory)
{
    overriddenDirectory() = directory;
}
