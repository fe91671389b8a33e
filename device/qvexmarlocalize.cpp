#include "device/qvexmarlocalize.h"

#include "device/networkcode.h"

QString QVexmarLocalize::invalidName()
{
    return tr("Invalid");
}

QString QVexmarLocalize::networkName(int networkCode)
{
    const int index = networkCode & 0xFF;
    switch (networkTypeOfCode(networkCode)) {
    case TypeEthernet:
        if (index == 0)
            return tr("Ethernet");
        if (index == 1)
            return tr("Ethernet (aux)");
        return tr("Ethernet (ext %1)").arg(index - 1);
    case TypeIsdn:
        return tr("ISDN");
    case TypeMobile:
        // The first two modems are built in.
        if (index < 2)
            return tr("Mobile (int %1)").arg(index + 1);
        return tr("Mobile (ext %1)").arg(index - 1);
    case TypeWifi:
        if (index == 0)
            return tr("Wi-Fi");
        return tr("Wi-Fi (ext %1)").arg(index);
    default:
        return invalidName();
    }
}

QString QVexmarLocalize::algorithmName(int algorithm)
{
    // The names of the codec standards stay as they are in every language.
    static const char *const names[] = {"G.711 A-Law", "G.711 u-Law", "G.711", "G.722", "G.722 SRT", "G.722 H.242",
        "G.722 H.221", "4SB ADPCM", "MPEG L2 J.52", "MPEG L2", "TDAC", "TDAC G.722", "G.722 TDAC", "Celp", "AAC LC",
        "AAC HE", "AAC HEv2", nullptr, nullptr, "Opus", "L16", "L20", "L24", "AAC LC LOAS", "AAC HE LOAS",
        "AAC HEv2 LOAS", "MPEG L3", "AAC LD", "AAC ELD"};
    if (algorithm == 17)
        return tr("Mobile voice");
    if (algorithm == 18)
        return tr("Phone");
    if (algorithm < 0 || algorithm >= int(sizeof(names) / sizeof(names[0])))
        return invalidName();
    return QString::fromLatin1(names[algorithm]);
}

QString QVexmarLocalize::audioModeName(int channelMode)
{
    switch (channelMode) {
    case 0:
        return tr("Mono");
    case 1:
        return tr("Dual Mono");
    case 2:
        return tr("Stereo");
    case 3:
        return tr("J-Stereo");
    default:
        return invalidName();
    }
}

QString QVexmarLocalize::codecDescription(const CodecFormat &format)
{
    enum { Mpa2 = 8, Mpa2P = 9, Celp = 13 };
    QString text = algorithmName(format.algorithm);
    const int a = format.algorithm;
    // Only the codecs whose rate, mode and bit rate can be chosen say more.
    const bool full = a == 7 || a == Mpa2 || a == Mpa2P || (a >= 14 && a <= 16) || (a >= 19 && a <= 28)
        || (a == Celp && format.fec >= 0);
    if (!full)
        return text;
    if (format.sampleRate > 0)
        text += QStringLiteral(" %1kHz").arg(format.sampleRate / 1000);
    text += QLatin1Char(' ') + audioModeName(format.channelMode);
    if (format.bitRate > 0) {
        if (format.bitRate % 1000 == 0)
            text += QStringLiteral(" %1kbit/s").arg(format.bitRate / 1000);
        else
            text += QStringLiteral(" %1bit/s").arg(format.bitRate);
    }
    if (a == Mpa2 || (a == Mpa2P && format.fec >= 0))
        text += QStringLiteral(" FEC:%1").arg(format.fec);
    else if (a == Celp)
        text += QStringLiteral(" FEC:P%1").arg(format.fec);
    return text;
}
