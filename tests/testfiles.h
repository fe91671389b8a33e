#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

// Everything in the program's log directory, in name order, as one text.
inline QByteArray logText(const QString &programDirectory)
{
    QByteArray text;
    const QDir logs(programDirectory + QStringLiteral("/logs"));
    for (const QString &name : logs.entryList({QStringLiteral("*-MyQuorvaneRE.log")}, QDir::Files, QDir::Name))
        text += readFile(logs.filePath(name));
    return text;
}
