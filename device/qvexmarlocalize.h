#pragma once

// The names the screen shows for network interfaces, codec algorithms and channel modes, and the one-line
// description of a codec setting.

#include "rpc/codecformat.h"

#include <QCoreApplication>
#include <QString>

class QVexmarLocalize
{
    Q_DECLARE_TR_FUNCTIONS(QVexmarLocalize)
public:
    static QString networkName(int networkCode);
    static QString algorithmName(int algorithm);
    static QString audioModeName(int channelMode);
    static QString codecDescription(const CodecFormat &format);
    static QString invalidName();
};
