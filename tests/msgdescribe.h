#pragma once

#include "kramsg.h"

#include <QByteArray>

// One readable line per body record: "kind|key=value|..." in map order; GET and LIST names follow.
inline QByteArray describe(const kra::CMsg &msg)
{
    QByteArray out = QByteArray::number(msg.kind);
    for (const auto &[key, value] : msg.params)
        out += "|" + QByteArray::fromStdString(key) + "=" + QByteArray::fromStdString(value);
    for (const std::string &name : msg.getNames)
        out += "|GET " + QByteArray::fromStdString(name);
    for (const std::string &name : msg.listNames)
        out += "|LIST " + QByteArray::fromStdString(name);
    return out;
}
