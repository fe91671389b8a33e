// Property: whatever lists, records and reports the device sends to the settings page's readers, through the
// settings test rig (the screen window logged in on the simulated device, with painting turned off): nothing
// crashes; the time-zone regions and cities are the first 500 items sent when those are plain words, the others
// counted as left out, and never more entries than the list had bytes; the Wi-Fi page offers at most 256 networks and
// the operator scan "Auto" and at most 256 operators, each the item sent in its place when the items are plain words;
// each of the Book's lists shows at most 500 records, and a call profile listed opens on its page whatever its record
// holds; the coding page offers at most 256 choices a row; a line's statistics page keeps its seven rows of at most two
// lines per stream; an AoIP receiver offers at most 256 streams, each the name sent in its place when every row is
// "<id>/<channels>/<name>" in plain words, and at most 64 channels of the stream chosen, whichever is chosen. Nothing
// freezes: libFuzzer's -timeout bounds each input.
//
// Input: one byte of options (the readers that run: bit 0 the time zones, 1 the Wi-Fi networks, 2 the operators,
// 3 the Book, 4 the coding lists, 7 the call statistics; bits 5-6 the Book's list: call profiles, presets, SIP
// profiles, snapshots), then lines "<kind> <item>": Z a region, C a city, W a Wi-Fi network, O an operator, B an
// item of the Book's list ("<id>/<name>" as the device sends them), F "<key>=<value>" a field of every call profile
// listed, A an algorithm, M a channel mode, R a sample rate, T a bit rate, X the fields of a quality report
// ("pkts-total:5;pkts-lost:1", transmit and receive in turn, the first 64), S a row of the network's streams
// ("<id>/<channels>/<name>"; its reader runs when the input has one: no option bit is left).
// "<kind>*<n> <item>" repeats the item n times (n at most 1200), each '#' in it replaced by the repetition's number.
// Items keep the bytes from 0x20 up but 0x7f; a list stops growing at 64 kB.

#include "fuzz/fuzzlists.h"
#include "settings/ttimezonelist.h"
#include "tests/settingstesting.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

using namespace settingstesting;

namespace {

using fuzzlists::check;
using fuzzlists::Lists;

// Past every cap of the pages, and small enough for a run to try many inputs a second.
constexpr std::size_t MaxListBytes = 64 * 1024;
constexpr long MaxRepeat = 1200;
// Records a list fills with the input's fields: enough to reach every branch of the listing.
constexpr std::size_t MaxFilledRecords = 24;
// What the pages promise to show at most.
constexpr int MaxNetworks = 256;
constexpr int MaxOperators = 256;
constexpr int MaxTimezones = 500;
constexpr int MaxListedRecords = 500;
constexpr int MaxChoices = 256;
constexpr int MaxStreams = 256;
constexpr int MaxStreamChannels = 64;
// Reports delivered to the statistics page in one input.
constexpr std::size_t MaxReports = 64;

const char *const Kinds = "ZCWOBFAMRTSX";
const char *const BookTypes[] = {"remote_profile", "local_profile", "sip_profile", "snapshot"};
const int BookLists[] = {170, 171, 172, 173};

// A ready modem without a data link on mobile.1 (page 17), so that its operator scan runs.
const QByteArray Setup = R"(
network network=[aoip,eth.0,mobile.0,mobile.1,wifi.0]
network:mobile.1 pin=ready
network:mobile.1 registration_state=home
network:mobile.1 mode=gsm_voice
network:mobile.1 plmn=auto
network:mobile.1 data_connection=off
network:wifi.0 scan=on
network:wifi.0 data_connection=off
audio relay=off
)";

// Items the wire carries as they are: letters, digits and a few marks, no separator of a body or a list.
bool plain(const std::vector<std::string> &items)
{
    return std::all_of(items.begin(), items.end(), [](const std::string &item) {
        return !item.empty() && std::all_of(item.begin(), item.end(), [](char c) {
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' || c == '_'
                || c == '-' || c == '.' || c == '/';
        });
    });
}

QStringList texts(const std::vector<std::string> &items, std::size_t count)
{
    QStringList out;
    for (std::size_t i = 0; i < std::min(count, items.size()); ++i)
        out << QString::fromLatin1(items[i].c_str());
    return out;
}

QStringList optionTexts(const QVexmarMenuItem *row, int from = 0)
{
    QStringList out;
    for (int i = from; row && i < row->options().size(); ++i)
        out << row->options().at(i).text;
    return out;
}

struct Bench
{
    Bench()
    {
        rig.device.loadSetup(Setup);
        g_accessLevel = 2;
        check(rig.startSetUp());
        // The rig's pages are looked at, never painted.
        rig.window->setUpdatesEnabled(false);
        rig.window->show();
        rig.page()->exitPage = QVexmar::HomePage;
    }

    // Back on the home page with nothing open, and what the pages let go of deleted.
    void home()
    {
        rig.closePopups();
        rig.window->pageActivated(QVexmar::HomePage);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        rig.takeFrames();
    }

    SettingsRig rig;
    // The record stores the last input filled, emptied before the next.
    std::set<std::pair<std::string, std::string>> filled;
};

// An interface page, opened from the Network page as the user opens it.
void openNetworkLink(SettingsRig &rig, int pageId)
{
    check(rig.openPageId(QVexmar::SettingsNetwork));
    QVexmarMenuItem *link = rig.row(pageId);
    check(link != nullptr);
    rig.touch(link);
    check(rig.current()->pageId == pageId);
}

void readTimezones(Bench &bench, const Lists &lists, int)
{
    SimDevice &device = bench.rig.device;
    const std::vector<std::string> &sentRegions = lists.of('Z');
    const std::vector<std::string> &sentCities = lists.of('C');
    device.setList("general", "timezone_region_list", sentRegions);
    device.setList("general", "timezone_city_list", sentCities);
    TTimezoneList zones;
    const QStringList regions = zones.loadRegions();
    check(std::size_t(regions.size()) <= std::min(lists.size('Z') + 1, std::size_t(MaxTimezones)));
    if (plain(sentRegions)) {
        check(regions == texts(sentRegions, MaxTimezones));
        check(zones.leftOut() == std::max(0, int(sentRegions.size()) - MaxTimezones));
    }
    // Past the one region that is its own city.
    const QString region
        = regions.isEmpty() || regions.first() == QLatin1String("UTC") ? QStringLiteral("Europe") : regions.first();
    const QStringList cities = zones.loadCities(region);
    check(std::size_t(cities.size()) <= std::min(lists.size('C') + 1, std::size_t(MaxTimezones)));
    if (plain(sentCities)) {
        check(cities == texts(sentCities, MaxTimezones));
        check(zones.leftOut() == std::max(0, int(sentCities.size()) - MaxTimezones));
    }
}

void readWifiNetworks(Bench &bench, const Lists &lists, int)
{
    SettingsRig &rig = bench.rig;
    const std::vector<std::string> &sent = lists.of('W');
    rig.device.setList("network:wifi.0", "ssid", sent);
    openNetworkLink(rig, 20);
    const QVexmarMenuItem *list = rig.row(61);
    check(list && list->options().size() <= MaxNetworks);
    if (plain(sent))
        check(optionTexts(list) == texts(sent, MaxNetworks));
}

void readOperators(Bench &bench, const Lists &lists, int)
{
    SettingsRig &rig = bench.rig;
    const std::vector<std::string> &sent = lists.of('O');
    rig.device.setList("network:mobile.1", "plmn", sent);
    openNetworkLink(rig, 17);
    check(rig.row(44) != nullptr);
    rig.touch(44);
    // The confirmation, then the scan.
    check(rig.answer(true));
    const QVexmarMenuItem *row = rig.row(44);
    check(row->options().size() <= MaxOperators + 1);
    if (!row->options().isEmpty()) {
        check(row->options().first().value == 0);
        if (plain(sent))
            check(optionTexts(row, 1) == texts(sent, MaxOperators));
    }
    // The choice is cancelled: nothing changes.
    rig.answer(false);
}

void fillRecords(Bench &bench, const Lists &lists)
{
    SimDevice &device = bench.rig.device;
    for (const auto &[store, key] : bench.filled)
        device.unsetParam(store, key);
    bench.filled.clear();
    std::size_t records = 0;
    for (const std::string &item : lists.of('B')) {
        if (records == MaxFilledRecords)
            break;
        const std::string id = item.substr(0, item.find('/'));
        const bool number = !id.empty() && id.size() <= 9
            && std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; });
        if (!number)
            continue;
        ++records;
        const std::string store = std::string("book:") + BookTypes[0] + ":" + std::to_string(std::stol(id));
        for (const std::string &field : lists.of('F')) {
            const std::size_t equals = field.find('=');
            if (equals == std::string::npos || equals == 0)
                continue;
            device.setParam(store, field.substr(0, equals), field.substr(equals + 1));
            bench.filled.emplace(store, field.substr(0, equals));
        }
    }
}

void readBook(Bench &bench, const Lists &lists, int options)
{
    SettingsRig &rig = bench.rig;
    const int kind = (options >> 5) & 3;
    const int listId = BookLists[kind];
    const std::vector<std::string> &sent = lists.of('B');
    rig.device.setList("general", BookTypes[kind], sent);
    fillRecords(bench, lists);
    check(rig.openPageId(QVexmar::SettingsBook));
    rig.touch(listId);
    check(rig.current()->pageId == listId);
    int records = 0;
    QVexmarMenuItem *first = nullptr;
    for (QVexmarMenuItem *item : rig.current()->items()) {
        if (item->id >= QVexmarSettingsPage::firstListRow) {
            ++records;
            first = first ? first : item;
        }
    }
    check(records <= MaxListedRecords);
    // A call profile opens on its page, read or not.
    if (listId == BookLists[0] && first && !first->isLocked()) {
        rig.touch(first);
        check(rig.current()->pageId == 175 && rig.row(176) != nullptr);
    }
}

void readCodingLists(Bench &bench, const Lists &lists, int)
{
    SettingsRig &rig = bench.rig;
    const std::pair<char, const char *> named[] = {{'A', "alg"}, {'M', "mode"}, {'R', "samplerate"}, {'T', "bitrate"}};
    for (const auto &[kind, name] : named)
        rig.device.setList("audio", name, lists.of(kind));
    check(rig.openPageId(QVexmar::SettingsCoding));
    QVexmarMenuItem *codec = rig.row(99);
    check(codec != nullptr);
    rig.touch(codec);
    for (int id = 102; id <= 105; ++id) {
        const QVexmarMenuItem *row = rig.row(id);
        check(!row || row->options().size() <= MaxChoices);
    }
}

// Line 1's statistics page while its call reports: each item the fields of one report, transmit and receive in
// turn. The page keeps its seven rows, each at most two lines per stream.
void readStatistics(Bench &bench, const Lists &lists, int)
{
    SettingsRig &rig = bench.rig;
    check(rig.openPageId(QVexmar::SettingsStatus));
    rig.touch(243);
    QVexmarMenuItems *connections = rig.current();
    check(connections && connections->pageId == 243);
    rig.touch(connections->findItemInGroup(253, 244));
    check(rig.current()->pageId == 254);
    const QByteArray call = "id:9;network:eth.0;";
    QByteArrayList events {"EVENT;event_type:1000-call active;" + call};
    const std::vector<std::string> &reports = lists.of('X');
    for (std::size_t i = 0; i < std::min<std::size_t>(reports.size(), MaxReports); ++i)
        events << "EVENT;event_type:" + QByteArray(i % 2 ? "rx" : "tx") + "-quality-report;" + call
                + QByteArray::fromStdString(reports[i]) + ";";
    events << "EVENT;event_type:1900-call released;" + call;
    check(rig.deliver(events));
    const QList<QVexmarMenuItem *> rows = rig.current()->items();
    check(rig.current()->pageId == 254 && rows.size() == 7);
    for (const QVexmarMenuItem *row : rows)
        check(row->valueLabel && row->valueLabel->text().count(QLatin1Char('\n')) <= 3);
}

// The name of a row "<digits>/<digits>/<name>" whose name is plain words without '/'; empty for any other row.
std::string streamName(const std::string &row)
{
    const std::size_t first = row.find('/');
    const std::size_t second = first == std::string::npos ? first : row.find('/', first + 1);
    const auto digits = [](const std::string &text) {
        return !text.empty() && text.size() <= 9
            && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (second == std::string::npos || !digits(row.substr(0, first))
        || !digits(row.substr(first + 1, second - first - 1)))
        return std::string();
    const std::string name = row.substr(second + 1);
    return name.find('/') == std::string::npos && plain({name}) ? name : std::string();
}

void checkReceiverRows(SettingsRig &rig)
{
    const QVexmarMenuItem *streams = rig.row(142);
    const QVexmarMenuItem *channels = rig.row(143);
    check(streams && channels && streams->options().size() <= MaxStreams);
    check(channels->options().size() <= MaxStreamChannels);
}

// Receiver 1 of the AoIP interface with the network's streams listed; then the last stream listed chosen, which
// reads the list again for its channels.
void readStreams(Bench &bench, const Lists &lists, int)
{
    SettingsRig &rig = bench.rig;
    const std::vector<std::string> &sent = lists.of('S');
    rig.device.setList("audio", "rav_stream_in", sent);
    check(rig.openPageId(QVexmar::SettingsAudio));
    for (const int id : {119, 133, 134}) {
        check(rig.row(id) != nullptr);
        rig.touch(id);
    }
    check(rig.current()->pageId == 134);
    checkReceiverRows(rig);
    const QVexmarMenuItem *streams = rig.row(142);
    std::vector<std::string> names;
    for (const std::string &row : sent)
        names.push_back(streamName(row));
    if (std::none_of(names.begin(), names.end(), [](const std::string &name) { return name.empty(); }))
        check(optionTexts(streams) == texts(names, MaxStreams));
    if (!streams->options().isEmpty() && !streams->isLocked()) {
        rig.touch(142);
        rig.answer(true, streams->options().last().value);
        checkReceiverRows(rig);
    }
}

// The readers, each with the option bit that runs it; the stream rows' reader runs when the input has one.
const std::pair<int, void (*)(Bench &, const Lists &, int)> Readers[] = {{1, readTimezones}, {2, readWifiNetworks},
    {4, readOperators}, {8, readBook}, {16, readCodingLists}, {128, readStatistics}};

// The rig, made once; the font and platform caches it fills stay to the end.
Bench &bench()
{
    fuzzlists::application("fuzz_settingslists");
    static Bench *const made = new Bench;
    return *made;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    bench();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Bench &b = bench();
    if (size < 1)
        return 0;
    const Lists lists = fuzzlists::readLists(
        std::string(reinterpret_cast<const char *>(data) + 1, size - 1), Kinds, MaxListBytes, MaxRepeat, true);
    const int options = data[0];
    for (const auto &[bit, read] : Readers) {
        if (options & bit) {
            read(b, lists, options);
            b.home();
        }
    }
    if (!lists.of('S').empty()) {
        readStreams(b, lists, options);
        b.home();
    }
    return 0;
}
