#pragma once

#include <QString>
#include <QStringList>

// The device's time zone as the settings page shows it: the zone the user chose last (kept in the screen's "db"
// store), split into a region and a city, and the device's lists of regions and of one region's cities. A zone
// is "<region>/<city>" as the device names it; every text travels as UTF-8.
class TTimezoneList
{
public:
    TTimezoneList() = default;

    // Far more regions, or cities of one region, than any real zone list has: a longer list from the device is cut.
    static constexpr int maxListed = 500;

    static QString defaultTimezone();

    QString region() const { return m_region; }
    // The whole zone text, not only the part after the region.
    QString city() const { return m_city; }
    void setRegion(const QString &region) { m_region = region; }
    void setCity(const QString &city) { m_city = city; }
    const QStringList &list() const { return m_list; }
    // The entries the last load cut off the list.
    int leftOut() const { return m_leftOut; }
    void clear();

    // The stored zone; the default when it cannot be read or is empty.
    QString readTimezone();
    // Region: the zone up to its first '/', the whole zone when it has none; city: the whole zone.
    void loadTimezone();
    // Refill the list; a refused or failed request leaves it empty. The reference holds until the next load.
    const QStringList &loadRegions();
    // "UTC" has the one city "UTC", asked of nobody.
    const QStringList &loadCities(const QString &region);
    // Each false when the device refused or did not answer.
    bool saveTimezone(const QString &zone);
    bool sendSetTimezone(const QString &zone);
    // A city chosen: the device's clock first, then the store; nothing is stored or kept when the device refused.
    bool chooseCity(const QString &zone);

private:
    QStringList m_list;
    int m_leftOut = 0;
    QString m_region;
    QString m_city;
};
