#pragma once

#include "rpc/kramsg.h"
#include "rpc/rpcvocabulary.h"

#include <QByteArray>

// The kind word of a body record; "none" for kind 0, the number for a kind outside the four.
inline QByteArray kindWord(int kind)
{
    switch (kind) {
    case kra::CMsg::None:
        return "none";
    case kra::CMsg::Param:
        return QByteArray::fromStdString(kra::WORD_PARAM);
    case kra::CMsg::Do:
        return QByteArray::fromStdString(kra::WORD_DO);
    case kra::CMsg::Info:
        return QByteArray::fromStdString(kra::WORD_INFO);
    case kra::CMsg::Event:
        return QByteArray::fromStdString(kra::WORD_EVENT);
    default:
        return QByteArray::number(kind);
    }
}

// One readable line per body record: "KIND|key=value|..." in map order; GET and LIST names follow.
inline QByteArray describe(const kra::CMsg &msg)
{
    QByteArray out = kindWord(msg.kind);
    for (const auto &[key, value] : msg.params)
        out += "|" + QByteArray::fromStdString(key) + "=" + QByteArray::fromStdString(value);
    for (const std::string &name : msg.getNames)
        out += "|GET " + QByteArray::fromStdString(name);
    for (const std::string &name : msg.listNames)
        out += "|LIST " + QByteArray::fromStdString(name);
    return out;
}
