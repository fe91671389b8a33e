#include "settings/ttimezonelist.h"

#include "controllers/tcomcontroller.h"
#include "controllers/tcomrpcaccess.h"
#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "rpc/ccom.h"
#include "rpc/kramsg.h"
#include "rpc/rpcvocabulary.h"
#include "settings/vexmarsettingskeys.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int storeTimeoutMs = 10000;
constexpr int requestTimeoutMs = 5000;

void appendItems(const kra::CMsg &reply, const std::string &name, QStringList &out)
{
    const std::string &value = reply.value(name);
    if (value.empty())
        return;
    std::vector<std::string> items;
    kra::splitListValue(value, items);
    for (const std::string &item : items)
        out << utf8ToQString(item);
}

// The entries past the bound taken off the end; how many they were.
int cut(QStringList &list)
{
    const int leftOut = std::max(0, int(list.size()) - TTimezoneList::maxListed);
    list.erase(list.end() - leftOut, list.end());
    return leftOut;
}

} // namespace

QString TTimezoneList::defaultTimezone()
{
    return QString::fromStdString(settingskeys::TIMEZONE_DEFAULT);
}

void TTimezoneList::clear()
{
    m_list.clear();
    m_leftOut = 0;
    m_region.clear();
    m_city.clear();
}

QString TTimezoneList::readTimezone()
{
    std::map<std::string, std::string> values;
    if (getCom()->getParams({settingskeys::KEY_TIMEZONE}, values, storeTimeoutMs) < 0)
        return defaultTimezone();
    const auto found = values.find(settingskeys::KEY_TIMEZONE);
    if (found == values.end() || found->second.empty())
        return defaultTimezone();
    return utf8ToQString(found->second);
}

void TTimezoneList::loadTimezone()
{
    QString zone = readTimezone();
    if (zone.isEmpty())
        zone = defaultTimezone();
    m_region = zone.section(QLatin1Char('/'), 0, 0);
    m_city = zone;
}

const QStringList &TTimezoneList::loadRegions()
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    // The device takes the list's name as a plain pair here, not as a LIST name.
    request.setParam(kra::WORD_LIST, settingskeys::LIST_TIMEZONE_REGION);
    kra::CMsg reply;
    QStringList regions;
    kra::CCom *com = getCom();
    if (com->sendSyncMsg(request, reply, 0, requestTimeoutMs) == 0) {
        if (reply.value(kra::KEY_RETURN) == kra::RET_PROGRESS) {
            // The values that came with error codes are kept apart; the regions beside them still count.
            appendItems(reply, settingskeys::LIST_TIMEZONE_REGION, regions);
            if (com->getErrorParams(reply, 0) != 0)
                reply.clear(kra::CMsg::Param);
        }
        if (reply.value(kra::KEY_RETURN) == kra::RET_OK)
            appendItems(reply, settingskeys::LIST_TIMEZONE_REGION, regions);
    }
    m_leftOut = cut(regions);
    m_list = regions;
    return m_list;
}

const QStringList &TTimezoneList::loadCities(const QString &region)
{
    m_list.clear();
    m_leftOut = 0;
    const QString utc = QString::fromStdString(settingskeys::TIMEZONE_UTC);
    if (region == utc) {
        m_list << utc;
        return m_list;
    }
    const std::string cities = getDevice()->getTimezoneCityList(qStringToUtf8(region));
    // Nothing answered is no city: an empty entry would be sent back as a zone.
    if (!cities.empty())
        m_list = utf8ToQString(cities).split(QLatin1Char(','));
    m_leftOut = cut(m_list);
    return m_list;
}

bool TTimezoneList::saveTimezone(const QString &zone)
{
    return getCom()->setParams({{settingskeys::KEY_TIMEZONE, qStringToUtf8(zone)}}, storeTimeoutMs) >= 0;
}

bool TTimezoneList::sendSetTimezone(const QString &zone)
{
    kra::CMsg request(kra::CMsg::Do);
    request.setParam(kra::KEY_ACTION, kra::ACT_SET_TIMEZONE);
    request.setParam(kra::CMD_TIMEZONE_PARAM, qStringToUtf8(zone));
    return TComRpcAccess(getCom()).execute(request, requestTimeoutMs);
}

bool TTimezoneList::chooseCity(const QString &zone)
{
    if (!sendSetTimezone(zone))
        return false;
    m_city = zone;
    return saveTimezone(zone);
}
