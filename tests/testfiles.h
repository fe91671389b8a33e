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

// A configuration file in the program's directory, version 1, holding these elements.
inline bool writeConfiguration(const QString &programDirectory, const QString &elements)
{
    return writeFile(programDirectory + QStringLiteral("/MyQuorvaneRE.xml"),
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<settings version=\"1\">" + elements.toLatin1()
            + "</settings>");
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
