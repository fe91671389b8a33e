// QVexmarSettingsPage: the device's enumerations as texts and keywords.

#include "settings/vexmarsettingspage.h"

#include "settings/vexmarsettingskeys.h"

#include <iterator>

namespace {

// The text of a value in 0..count-1; anything else gives the last entry.
template<std::size_t Count>
QString pick(const char *const (&texts)[Count], int value, int first = 0)
{
    const int index = value - first;
    if (index < 0 || index >= int(Count) - 1)
        return QVexmarSettingsPage::tr(texts[Count - 1]);
    return QVexmarSettingsPage::tr(texts[index]);
}

template<std::size_t Count>
const std::string &keywordOf(const std::string (&keywords)[Count], int index)
{
    return index >= 0 && index < int(Count) ? keywords[index] : keywords[0];
}

template<std::size_t Count>
int indexOf(const std::string (&keywords)[Count], const std::string &keyword)
{
    for (std::size_t i = 0; i < Count; ++i) {
        if (keywords[i] == keyword)
            return int(i);
    }
    return 0;
}

} // namespace

QString QVexmarSettingsPage::networkTypeText(int family)
{
    static const char *const texts[]
        = {QT_TR_NOOP("AoIP"), QT_TR_NOOP("ISDN"), QT_TR_NOOP("Voice"), QT_TR_NOOP("Unknown")};
    return pick(texts, family);
}

QString QVexmarSettingsPage::addressModeText(int mode)
{
    static const char *const texts[]
        = {QT_TR_NOOP("DHCP"), QT_TR_NOOP("Manual"), QT_TR_NOOP("PPPoE"), QT_TR_NOOP("BGAN"), QT_TR_NOOP("Unknown")};
    return pick(texts, mode);
}

QString QVexmarSettingsPage::linkModeText(int mode)
{
    static const char *const texts[] = {QT_TR_NOOP("Auto Negotiation"), QT_TR_NOOP("10000BaseT-FD"),
        QT_TR_NOOP("2500BaseT-FD"), QT_TR_NOOP("1000BaseT-FD"), QT_TR_NOOP("1000BaseT-HD"), QT_TR_NOOP("100BaseT-FD"),
        QT_TR_NOOP("100BaseT-HD"), QT_TR_NOOP("10BaseT-FD"), QT_TR_NOOP("10BaseT-HD"), QT_TR_NOOP("Unknown")};
    return pick(texts, mode);
}

QString QVexmarSettingsPage::defaultProtocolText(int mode)
{
    static const char *const texts[] = {QT_TR_NOOP("Direct RTP"), QT_TR_NOOP("Multicast"), QT_TR_NOOP("SIP")};
    return pick(texts, mode, 1);
}

QString QVexmarSettingsPage::natTypeText(int type)
{
    static const char *const texts[] = {QT_TR_NOOP("Failure"), QT_TR_NOOP("Open Access"), QT_TR_NOOP("Blocked"),
        QT_TR_NOOP("Symmetric UDP"), QT_TR_NOOP("Full Cone"), QT_TR_NOOP("Symmetric"), QT_TR_NOOP("Restricted Cone"),
        QT_TR_NOOP("Port Restricted Cone"), QT_TR_NOOP("Unknown")};
    return pick(texts, type, 1);
}

QString QVexmarSettingsPage::radioAccessTechnologyText(int technology)
{
    static const char *const texts[]
        = {QT_TR_NOOP("2G"), QT_TR_NOOP("3G"), QT_TR_NOOP("4G/LTE"), QT_TR_NOOP("5G"), QT_TR_NOOP("Unknown")};
    return pick(texts, technology);
}

QString QVexmarSettingsPage::dataServiceStateText(int state)
{
    static const char *const texts[] = {QT_TR_NOOP("Not Connected or Failure"), QT_TR_NOOP("Connection in Progress"),
        QT_TR_NOOP("Connection Established"), QT_TR_NOOP("Disabled")};
    return pick(texts, state, 1);
}

QString QVexmarSettingsPage::networkStateText(int state)
{
    static const char *const texts[] = {QT_TR_NOOP("Not Connected or Failure"), QT_TR_NOOP("Connection in Progress"),
        QT_TR_NOOP("Connection Established"), QT_TR_NOOP("Not active")};
    return pick(texts, state, 1);
}

QString QVexmarSettingsPage::streamStatusText(int status)
{
    static const char *const texts[] = {QT_TR_NOOP("Disabled"), QT_TR_NOOP("Idle"), QT_TR_NOOP("Waiting"),
        QT_TR_NOOP("Transmitting"), QT_TR_NOOP("Receiving"), QT_TR_NOOP("Receiving (Warning)"),
        QT_TR_NOOP("Receiving (No Sync)"), QT_TR_NOOP("Receiving (Sync Error)"), QT_TR_NOOP("Address Collision"),
        QT_TR_NOOP("Not Enough Decoders"), QT_TR_NOOP("Unknown Status")};
    return pick(texts, status);
}

QString QVexmarSettingsPage::ptpStateText(int state)
{
    static const char *const texts[] = {QT_TR_NOOP("Not Defined"), QT_TR_NOOP("Initializing"), QT_TR_NOOP("Faulty"),
        QT_TR_NOOP("Disabled"), QT_TR_NOOP("Listening"), QT_TR_NOOP("Pre-master"), QT_TR_NOOP("Master"),
        QT_TR_NOOP("Passive"), QT_TR_NOOP("Not Calibrated"), QT_TR_NOOP("Slave"), QT_TR_NOOP("Unknown State")};
    return pick(texts, state);
}

QString QVexmarSettingsPage::syncStateText(int state)
{
    static const char *const texts[]
        = {QT_TR_NOOP("Unlocked"), QT_TR_NOOP("Locking"), QT_TR_NOOP("Locked"), QT_TR_NOOP("Unknown State")};
    return pick(texts, state, 1);
}

QString QVexmarSettingsPage::gpioInputFunctionText(int function)
{
    static const char *const texts[] = {QT_TR_NOOP("Contact 1"), QT_TR_NOOP("Contact 2"), QT_TR_NOOP("Redial Codec 1"),
        QT_TR_NOOP("Release Codec 1"), QT_TR_NOOP("Redial/Release Codec 1"), QT_TR_NOOP("Redial Codec 2"),
        QT_TR_NOOP("Release Codec 2"), QT_TR_NOOP("Redial/Release Codec 2"), QT_TR_NOOP("All PGM Buttons Off"),
        QT_TR_NOOP("Coord 1"), QT_TR_NOOP("Coord 2"), QT_TR_NOOP("Coord 3"), QT_TR_NOOP("Coord 4"),
        QT_TR_NOOP("Disabled")};
    return pick(texts, function, 1);
}

QString QVexmarSettingsPage::relayFunctionText(int function)
{
    static const char *const texts[] = {QT_TR_NOOP("Info 1"), QT_TR_NOOP("Info 2"), QT_TR_NOOP("Line Status Codec 1"),
        QT_TR_NOOP("Sync Status Codec 1"), QT_TR_NOOP("Line Status Codec 2"), QT_TR_NOOP("Sync Status Codec 2"),
        QT_TR_NOOP("On Air Status"), QT_TR_NOOP("Disabled")};
    return pick(texts, function, 1);
}

const std::string &QVexmarSettingsPage::gpioInputFunctionKeyword(int function)
{
    return keywordOf(settingskeys::GPIO_INPUT_FUNCTIONS, function);
}

int QVexmarSettingsPage::gpioInputFunctionFromKeyword(const std::string &keyword)
{
    return indexOf(settingskeys::GPIO_INPUT_FUNCTIONS, keyword);
}

const std::string &QVexmarSettingsPage::relayFunctionKeyword(int function)
{
    return keywordOf(settingskeys::RELAY_FUNCTIONS, function);
}

int QVexmarSettingsPage::relayFunctionFromKeyword(const std::string &keyword)
{
    return indexOf(settingskeys::RELAY_FUNCTIONS, keyword);
}

bool QVexmarSettingsPage::listNameLessThan(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}
