// QVexmarSettingsPage: the Miscellaneous page (GPIO functions, auto redialing, NTP server, time zone) and the FTP
// server page. Every edit is written at once; a refused one puts the row back to what the device holds.

#include "settings/vexmarsettingspage.h"

#include "controllers/tcomcontroller.h"
#include "controllers/tcomrpcaccess.h"
#include "rpc/kramsg.h"
#include "rpc/rpcconvert.h"
#include "rpc/rpcvocabulary.h"
#include "settings/ttimezonelist.h"
#include "settings/vexmarsettingskeys.h"
#include "settings/vexmarsettingsrows.h"
#include "widgets/vexmarcontrols.h"

#include <QGridLayout>

using settingsrows::addHeader;
using settingsrows::addLeftOutNote;
using settingsrows::addRow;
using settingsrows::chosenValue;
using settingsrows::fitsLatin1;
using settingsrows::holdValue;
using settingsrows::indented;
using settingsrows::readValues;
using settingsrows::refuseEdit;
using settingsrows::valueOf;
using settingsrows::Values;

namespace {

enum MiscRow {
    Input1Row = 208,
    Input2Row = 209,
    Relay1Row = 210,
    Relay2Row = 211,
    Redial1Row = 212,
    Redial2Row = 213,
    AttemptsRow = 214,
    DelayRow = 215,
    NtpServerRow = 216,
    CustomServerRow = 217,
    RegionRow = 218,
    CityRow = 219,
    // The note under the cities, which a region chosen updates with them.
    CityNoteRow = 220,
    FtpServerRow = 221,
};
enum FtpRow {
    AddressRow = 222,
    UserNameRow = 223,
    FtpPasswordRow = 224,
};

constexpr int miscPage = 206;
constexpr int ftpPage = 221;
constexpr int requestTimeoutMs = 5000;
// Far more than the functions there are: a longer list from the device would only make the choice unusable.
constexpr size_t maxFunctionOptions = 64;

// The first heading sits at the top, the others apart from the group above.
void addHeading(QVexmarMenuItems *page, const QString &title)
{
    const bool first = page->items().isEmpty();
    QVexmarMenuItem *row = addHeader(page, title);
    if (first)
        row->layout->setContentsMargins(10, 0, 10, 0);
}

// The kind each row of the two pages is built with; -1 for an id they do not hold.
int kindOfRow(int pageId, int id)
{
    if (pageId == ftpPage)
        return id == FtpPasswordRow                 ? QVexmarMenuItem::Password
            : id == AddressRow || id == UserNameRow ? QVexmarMenuItem::Text
                                                    : -1;
    if (pageId != miscPage)
        return -1;
    switch (id) {
    case Input1Row:
    case Input2Row:
    case Relay1Row:
    case Relay2Row:
    case NtpServerRow:
    case RegionRow:
    case CityRow:
        return QVexmarMenuItem::Selection;
    case Redial1Row:
    case Redial2Row:
        return QVexmarMenuItem::Switch;
    case AttemptsRow:
    case DelayRow:
        return QVexmarMenuItem::Wheel;
    case CustomServerRow:
        return QVexmarMenuItem::Text;
    default:
        return -1;
    }
}

std::vector<std::string> readList(TComRpcAccess *rpc, const std::string &name)
{
    kra::CMsg request(kra::CMsg::Param);
    request.setParam(kra::KEY_TARGET, kra::TGT_GENERAL);
    request.addList(name);
    std::vector<std::string> items;
    if (!rpc->getList(request, items, requestTimeoutMs))
        items.clear();
    if (items.size() > maxFunctionOptions)
        items.resize(maxFunctionOptions);
    return items;
}

bool isTyped(const QVexmarMenuItem *row)
{
    return row->kind() == QVexmarMenuItem::Text || row->kind() == QVexmarMenuItem::Password;
}

} // namespace

void QVexmarSettingsPage::buildMiscellaneousMenu()
{
    auto *page = new QVexmarMenuItems(miscPage, this);
    TComRpcAccess *access = rpc();
    Values values;
    readValues(access, kra::TGT_NETWORK,
        {settingskeys::KEY_AUTO_REDIAL_LINK1, settingskeys::KEY_AUTO_REDIAL_LINK2,
            settingskeys::KEY_AUTO_REDIAL_ATTEMPTS, settingskeys::KEY_AUTO_REDIAL_TIME},
        values);
    readValues(access, kra::TGT_GENERAL,
        {kra::KEY_EXT_INPUT1, kra::KEY_EXT_INPUT2, kra::KEY_EXT_RELAY1, kra::KEY_EXT_RELAY2, settingskeys::KEY_NTP_ADDR,
            settingskeys::KEY_NTP_ADDR_CUSTOM},
        values);

    const struct
    {
        int id;
        const char *title;
        const std::string &key;
        bool relay;
    } gpios[] = {{Input1Row, QT_TR_NOOP("Input 1"), kra::KEY_EXT_INPUT1, false},
        {Input2Row, QT_TR_NOOP("Input 2"), kra::KEY_EXT_INPUT2, false},
        {Relay1Row, QT_TR_NOOP("Relay 1"), kra::KEY_EXT_RELAY1, true},
        {Relay2Row, QT_TR_NOOP("Relay 2"), kra::KEY_EXT_RELAY2, true}};
    std::vector<std::string> lists[4];
    for (int i = 0; i < 4; ++i)
        lists[i] = readList(access, gpios[i].key);

    addHeading(page, tr("GPIO"));
    for (int i = 0; i < 4; ++i) {
        const auto &gpio = gpios[i];
        QVexmarMenuItem *row = indented(addRow(page, gpio.id, QVexmarMenuItem::Selection, tr(gpio.title)));
        const auto functionOf = [&gpio](const std::string &keyword) {
            return gpio.relay ? relayFunctionFromKeyword(keyword) : gpioInputFunctionFromKeyword(keyword);
        };
        // The device decides what each input and relay offers.
        for (const std::string &keyword : lists[i]) {
            const int function = functionOf(keyword);
            row->addOption(function, gpio.relay ? relayFunctionText(function) : gpioInputFunctionText(function));
        }
        const std::string *reported = valueOf(values, gpio.key);
        row->selectOption(reported ? functionOf(*reported) : 0, true, false);
        row->setLocked(!reported);
    }

    addHeading(page, tr("Auto Redialing"));
    const std::string *links[] = {&settingskeys::KEY_AUTO_REDIAL_LINK1, &settingskeys::KEY_AUTO_REDIAL_LINK2};
    for (int i = 0; i < 2; ++i) {
        QVexmarMenuItem *row
            = indented(addRow(page, Redial1Row + i, QVexmarMenuItem::Switch, tr("Auto Redial Codec %1").arg(i + 1)));
        const std::string *reported = valueOf(values, *links[i]);
        row->setChecked(reported && *reported == kra::VAL_ON);
        row->setLocked(!reported);
    }
    QVexmarMenuItem *attempts = indented(addRow(page, AttemptsRow, QVexmarMenuItem::Wheel, tr("Number of Attempts")));
    for (int value = 1; value <= 20; ++value)
        attempts->addOption(value, QString::number(value));
    attempts->addOption(0, tr("Infinite"));
    QVexmarMenuItem *delay = indented(addRow(page, DelayRow, QVexmarMenuItem::Wheel, tr("Time Before Redialing")));
    delay->addOption(1, tr("1 second"));
    for (int value = 2; value <= 30; ++value)
        delay->addOption(value, tr("%1 seconds").arg(value));
    for (QVexmarMenuItem *row : {attempts, delay}) {
        const std::string *reported = valueOf(
            values, row == attempts ? settingskeys::KEY_AUTO_REDIAL_ATTEMPTS : settingskeys::KEY_AUTO_REDIAL_TIME);
        // A number the wheel lacks shows its first option.
        row->selectOption(reported ? stringToInt(*reported) : 1, true, false);
        row->setLocked(!reported);
    }

    addHeading(page, tr("NTP"));
    QVexmarMenuItem *server = indented(addRow(page, NtpServerRow, QVexmarMenuItem::Selection, tr("NTP Server")));
    server->addOption(0, tr("Custom"));
    for (int i = 0; i < settingskeys::NTP_SERVER_COUNT; ++i)
        server->addOption(i + 1, QString::fromStdString(settingskeys::NTP_SERVERS[i]));
    const std::string *address = valueOf(values, settingskeys::KEY_NTP_ADDR);
    // Any host that is no preset is the user's own: "Custom".
    server->selectOptionText(address ? latin1ToQString(*address) : QString(), true, false);
    server->setLocked(!address);
    QVexmarMenuItem *custom = indented(addRow(page, CustomServerRow, QVexmarMenuItem::Text, tr("Custom Server")));
    const std::string *customAddress = valueOf(values, settingskeys::KEY_NTP_ADDR_CUSTOM);
    custom->setValueText(customAddress ? latin1ToQString(*customAddress) : QString());
    custom->setLocked(!customAddress);

    addHeading(page, tr("Timezone"));
    TTimezoneList *zones = timezoneList();
    zones->loadTimezone();
    const QStringList regions = zones->loadRegions();
    // The texts come before the options, so that no option is current until the user picks one.
    QVexmarMenuItem *region = indented(addRow(page, RegionRow, QVexmarMenuItem::Selection, QStringLiteral("Region")));
    region->setValueText(zones->region());
    for (const QString &name : regions)
        region->addOption(0, name);
    addLeftOutNote(page, zones->leftOut(), TTimezoneList::maxListed);
    const QStringList cities = zones->loadCities(zones->region());
    QVexmarMenuItem *city = indented(addRow(page, CityRow, QVexmarMenuItem::Selection, tr("City")));
    city->setValueText(zones->city());
    for (const QString &name : cities)
        city->addOption(0, name);
    addLeftOutNote(page, zones->leftOut(), TTimezoneList::maxListed, CityNoteRow);

    addHeading(page, tr("FTP"));
    indented(addRow(page, FtpServerRow, QVexmarMenuItem::SubMenu, tr("FTP server")))
        ->setValueText(tr("Configure the FTP server"));

    for (QVexmarMenuItem *row : page->items()) {
        if (row->id >= Input1Row && row->id <= CustomServerRow)
            holdValue(row);
    }
    pushItems(page);
}

void QVexmarSettingsPage::buildFtpServerMenu()
{
    auto *page = new QVexmarMenuItems(ftpPage, this);
    Values values;
    readValues(rpc(), kra::TGT_GENERAL,
        {settingskeys::KEY_FTP_ADDRESS, settingskeys::KEY_FTP_USERNAME, settingskeys::KEY_FTP_PASSWORD}, values);
    const struct
    {
        int id;
        const char *title;
        const std::string &key;
    } rows[] = {{AddressRow, QT_TR_NOOP("Address"), settingskeys::KEY_FTP_ADDRESS},
        {UserNameRow, QT_TR_NOOP("User Name"), settingskeys::KEY_FTP_USERNAME},
        {FtpPasswordRow, QT_TR_NOOP("Password"), settingskeys::KEY_FTP_PASSWORD}};
    for (const auto &field : rows) {
        // The password is masked on the screen only: it travels in clear.
        QVexmarMenuItem *row = addRow(page, field.id, kindOfRow(ftpPage, field.id), tr(field.title));
        const std::string *value = valueOf(values, field.key);
        row->setValueText(value ? latin1ToQString(*value) : QString());
        holdValue(row);
    }
    pushItems(page);
}

void QVexmarSettingsPage::miscValueChanged(QVexmarMenuItem *item)
{
    QVexmarMenuItems *page = item->page();
    const int id = item->id;
    // A row these pages do not build as such is none of theirs.
    if (item->kind() != kindOfRow(page->pageId, id))
        return;
    int chosen = 0;
    const bool hasChoice = chosenValue(item, chosen);

    if (page->pageId == miscPage && (id == RegionRow || id == CityRow)) {
        if (!hasChoice)
            return;
        const QString text = item->options().at(item->currentOption()).text;
        TTimezoneList *zones = timezoneList();
        if (id == RegionRow) {
            zones->setRegion(text);
            QVexmarMenuItem *city = page->findItem(CityRow);
            if (!city)
                return;
            city->clearOptions();
            city->setValueText(tr(" Unselected! "));
            for (const QString &name : zones->loadCities(zones->region()))
                city->addOption(0, name);
            if (QVexmarMenuItem *note = page->findItem(CityNoteRow))
                settingsrows::showLeftOut(note, zones->leftOut(), TTimezoneList::maxListed);
            return;
        }
        const QString previous = zones->city();
        if (!zones->chooseCity(text)) {
            // The clock may have taken the zone before the store refused it: the model keeps the city it had.
            zones->setCity(previous);
            item->setValueText(previous, true);
            showMessagePopup(tr("Failed to apply changes!"), 0);
        }
        return;
    }

    std::string target = kra::TGT_GENERAL;
    std::vector<std::pair<std::string, std::string>> values;
    QString text = isTyped(item) ? item->valueLabel->text() : QString();
    if (page->pageId == ftpPage) {
        const std::string *keys[]
            = {&settingskeys::KEY_FTP_ADDRESS, &settingskeys::KEY_FTP_USERNAME, &settingskeys::KEY_FTP_PASSWORD};
        values = {{*keys[id - AddressRow], qStringToLatin1(text)}};
    } else if (id >= Input1Row && id <= Relay2Row) {
        if (!hasChoice)
            return;
        const std::string *keys[]
            = {&kra::KEY_EXT_INPUT1, &kra::KEY_EXT_INPUT2, &kra::KEY_EXT_RELAY1, &kra::KEY_EXT_RELAY2};
        values = {
            {*keys[id - Input1Row], id < Relay1Row ? gpioInputFunctionKeyword(chosen) : relayFunctionKeyword(chosen)}};
    } else if (id == Redial1Row || id == Redial2Row) {
        target = kra::TGT_NETWORK;
        values = {{id == Redial1Row ? settingskeys::KEY_AUTO_REDIAL_LINK1 : settingskeys::KEY_AUTO_REDIAL_LINK2,
            item->switchButton->isChecked() ? kra::VAL_ON : kra::VAL_OFF}};
    } else if (id == AttemptsRow || id == DelayRow) {
        if (!hasChoice)
            return;
        target = kra::TGT_NETWORK;
        values = {{id == AttemptsRow ? settingskeys::KEY_AUTO_REDIAL_ATTEMPTS : settingskeys::KEY_AUTO_REDIAL_TIME,
            longToString(chosen)}};
    } else if (id == NtpServerRow) {
        QVexmarMenuItem *custom = page->findItem(CustomServerRow);
        if (!custom || !custom->valueLabel || !hasChoice)
            return;
        text = chosen == 0 ? custom->valueLabel->text() : item->options().at(item->currentOption()).text;
        values = {{settingskeys::KEY_NTP_ADDR, qStringToLatin1(text)}};
    } else if (id == CustomServerRow) {
        int preset = 0;
        if (!chosenValue(page->findItem(NtpServerRow), preset))
            return;
        if (preset == 0)
            values.emplace_back(settingskeys::KEY_NTP_ADDR, qStringToLatin1(text));
        values.emplace_back(settingskeys::KEY_NTP_ADDR_CUSTOM, qStringToLatin1(text));
    } else {
        return;
    }

    // A character outside Latin-1 would reach the device as '?': refused before it is sent.
    const int accepted = fitsLatin1(text) ? writeParams(target, values) : 0;
    if (accepted == int(values.size())) {
        holdValue(item);
        return;
    }
    // The device may have kept the custom server with the server refused: the row shows what it holds.
    Values held;
    if (accepted > 0 && id == CustomServerRow
        && readValues(rpc(), kra::TGT_GENERAL, {settingskeys::KEY_NTP_ADDR_CUSTOM}, held)) {
        if (const std::string *custom = valueOf(held, settingskeys::KEY_NTP_ADDR_CUSTOM)) {
            item->setValueText(latin1ToQString(*custom));
            holdValue(item);
        }
    }
    refuseEdit(this, item);
}
