#include "device/localedictionary.h"

#include "controllers/tcomcontroller.h"
#include "rpc/rpcvocabulary.h"

#include <QFile>

// The dictionary lives in this static library; nothing else refers to its resource, so register it here.
static void initLocaleResource()
{
    Q_INIT_RESOURCE(locale);
}

LocaleDictionary::LocaleDictionary()
{
    load();
}

LocaleDictionary::LocaleDictionary(const QString &fileName)
{
    load(fileName);
}

void LocaleDictionary::load()
{
    initLocaleResource();
    load(QStringLiteral(":/locale/English.locale"));
}

void LocaleDictionary::load(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().simplified();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const int colon = line.indexOf(':');
        if (colon < 0)
            continue;
        m_texts.emplace(line.left(colon).toStdString(), line.mid(colon + 1).toStdString());
    }
}

QString LocaleDictionary::translate(const std::string &key) const
{
    const auto it = m_texts.find(key);
    return utf8ToQString(it == m_texts.end() ? key : it->second);
}

QString LocaleDictionary::causeText(int code) const
{
    return translate(causeTextFromCode(code));
}
