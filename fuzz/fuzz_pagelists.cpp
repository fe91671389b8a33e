// Property: whatever element rows, records and play-list entries the device lists, read by the editor and folder
// pages from the simulated device: each page keeps at most its cap of them; every track kept lies within the
// longest track, and the project's length is the exact sum of the tracks' lengths, never negative; the project
// view holds no more than its width of envelope at any zoom and cursor; the folder page lists exactly the
// well-formed records up to its cap, each play-list item one of them, and stores no play list it had to cut; its
// play list's duration is never negative. Nothing freezes: a hand-over removes at most its cap of separators, one
// request each, and libFuzzer's -timeout bounds the rest.
//
// Input: one byte of options (bits 0-3 the project view's zoom, bit 4 a recording handed over first), then lines
// "<kind> <row>": T a track, M a mark, S a separator, R a records line, P a play-list entry. "<kind>*<n> <row>"
// repeats the row n times (n at most 1200), each '#' in it replaced by the repetition's number. Rows keep the
// printable ASCII characters only; a list stops growing at 256 kB.

#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "fuzz/fuzzlists.h"
#include "pages/drawbargraph.h"
#include "pages/recordermodel.h"
#include "pages/trackgraphmodel.h"
#include "pages/vexmareditorpage.h"
#include "pages/vexmarfolderpage.h"
#include "rpc/ccom.h"
#include "rpc/rpcvocabulary.h"
#include "tests/peers/simdevice.h"
#include "widgets/vexmarmessage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using fuzzlists::check;
using fuzzlists::Lists;

// Past every cap of the pages, and small enough for a run to try many inputs a second.
constexpr std::size_t MaxListBytes = 256 * 1024;
constexpr long MaxRepeat = 1200;
const std::string ProjectStore = "project:usb:show:kra.prjt";
const std::string MediaStore = "media:usb:show";

bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

void closeMessages(QWidget *page)
{
    for (QVexmarMessage *message : page->findChildren<QVexmarMessage *>()) {
        if (message->isVisible())
            message->close();
    }
}

bool anyMessage(QWidget *page)
{
    const QList<QVexmarMessage *> messages = page->findChildren<QVexmarMessage *>();
    return std::any_of(messages.begin(), messages.end(), [](QVexmarMessage *m) { return m->isVisible(); });
}

int requestsWith(const SimDevice &device, const std::string &action)
{
    int found = 0;
    for (const RpcMessage &request : device.requests())
        found += *request.body().param(kra::KEY_ACTION, true) == action ? 1 : 0;
    return found;
}

struct Bench
{
    Bench()
    {
        getCom()->initialize("ui", "quorvane_ui");
        device.loadSetup("db:ui:quorvane_ui media_dest=usb\ndb:ui:quorvane_ui project=show\n"
                         "db:ui:quorvane_ui filename=take\ndb:ui:quorvane_ui autorecord=off\n"
                         "db:ui:quorvane_ui media_src=stream1\ndb:ui:quorvane_ui format=wav\n"
                         "db:ui:quorvane_ui is_ftp=off\ndb:ui:quorvane_ui is_editor_mode=off\n"
                         "general project_list=[show]\nmedia:usb:show a.wav=100\nmedia:usb:show kra.prjt=0\n"
                         "wave:usb:show a.wav=6000/2/3\n");
        device.setWaveMapFolder(maps.path());
        check(maps.isValid() && device.listen() && getCom()->connectToDevice(device.host(), device.port(), 0));
        check(waitFor([this] { return getCom()->state() == RpcConnection::ConnectedState && device.clientCount(); }));
        editor.setWaveMapRoot(maps.path());
        editor.updatePlaybackPath();
        // The recording handed over once: its wave map is there for the tracks to show, the project chosen.
        device.setParam("db:ui:quorvane_ui", "editor_next_wav", "a.wav");
        editor.refresh(true);
        check(editor.projectFile() == "kra.prjt");
        folder.recorder()->loadRecorderSettings();
        closeMessages(&editor);
    }

    QTemporaryDir maps;
    SimDevice device;
    QVexmarEditorPage editor;
    QVexmarFolderPage folder;
};

void checkEditor(Bench &bench, const Lists &lists, int zoom, bool handOver)
{
    QVexmarEditorPage &editor = bench.editor;
    SimDevice &device = bench.device;
    for (const auto &[kind, name] : {std::pair<char, const char *> {'T', "project_element_tracks"},
             {'M', "project_element_marks"}, {'S', "project_separators"}}) {
        const auto found = lists.rows.find(kind);
        device.setList(ProjectStore, name, found == lists.rows.end() ? std::vector<std::string>() : found->second);
    }
    device.clearRequests();
    if (handOver) {
        device.setParam("db:ui:quorvane_ui", "editor_next_wav", "a.wav");
        editor.refresh(true);
        check(requestsWith(device, "project_action_remove") <= QVexmarEditorPage::MaxHandOverRemovals);
    } else {
        editor.reloadElements(true, QVexmarEditorPage::AllElements);
    }
    closeMessages(&editor);

    const DrawBarGraph &graph = *editor.graphProject;
    check(graph.trackCount() <= TrackGraphModel::MaxElements);
    check(graph.markCount() <= TrackGraphModel::MaxElements);
    check(editor.graphSource->markCount() <= TrackGraphModel::MaxElements);
    qint64 length = 0;
    for (int i = 0; i < graph.trackCount(); ++i) {
        const TrackRecord &track = *graph.model().record(TrackGraphModel::TrackList, i);
        check(track.start >= 0 && track.start <= TrackGraphModel::MaxTrackSamples);
        check(track.end >= 0 && track.end <= TrackGraphModel::MaxTrackSamples);
        const qint64 ms = track.end > track.start ? (track.end - track.start) / TrackGraphModel::SamplesPerMs : 0;
        check(graph.trackDurationMs(i) == ms);
        length += ms;
        check(graph.trackEndMs(i) == length);
    }
    check(graph.durationMs() == length && length >= 0);
    check(!editor.lbl_ProjectLength->text().startsWith(QLatin1Char('-')));
    for (const qint64 stop : graph.collectStops())
        check(stop >= 0 && stop <= TrackGraphModel::MaxProjectMs);

    DrawBarGraph &view = *editor.graphProject;
    view.setZoom(zoom);
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (const qint64 cursor : {qint64(0), length / 2, length}) {
        view.setCursorPosition(cursor);
        view.render(&image);
        const TrackRecord *display = view.model().record(TrackGraphModel::DisplayList, 0);
        check(!display || (display->upperValues.size() <= 1000 && display->lowerValues.size() <= 1000));
    }
}

void checkFolder(Bench &bench, const Lists &lists)
{
    QVexmarFolderPage &folder = bench.folder;
    SimDevice &device = bench.device;
    const auto records = lists.rows.find('R');
    const auto entries = lists.rows.find('P');
    const std::vector<std::string> none;
    const std::vector<std::string> &lines = records == lists.rows.end() ? none : records->second;
    const std::vector<std::string> &playList = entries == lists.rows.end() ? none : entries->second;
    device.setList(MediaStore, "records_list", lines);
    device.setList(MediaStore, "records_plist", playList);
    device.clearRequests();
    folder.fillRecords();

    const int wellFormed = int(std::count_if(lines.begin(), lines.end(),
        [](const std::string &line) { return std::count(line.begin(), line.end(), '|') == 7; }));
    const int left = folder.listWidget_Left->count();
    const int right = folder.listWidget_Right->count();
    check(left + right == std::min(wellFormed, QVexmarFolderPage::MaxRecords));
    for (int row = 0; row < right; ++row)
        check(folder.recordOfItem(folder.listWidget_Right->item(row)) != nullptr);
    const bool cut = wellFormed > QVexmarFolderPage::MaxRecords || int(playList.size()) > QVexmarFolderPage::MaxRecords;
    check(!cut || (requestsWith(device, "save_playlist") == 0 && anyMessage(&folder)));
    check(!folder.lbl_Duration->text().contains(QLatin1Char('-')));
    closeMessages(&folder);
}

// The device and the pages, made once; the font and platform caches they fill stay to the end.
Bench &bench()
{
    fuzzlists::application("fuzz_pagelists");
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
        std::string(reinterpret_cast<const char *>(data) + 1, size - 1), "TMSRP", MaxListBytes, MaxRepeat);
    checkEditor(b, lists, data[0] & 15, (data[0] & 16) != 0);
    checkFolder(b, lists);
    // The messages closed are deleted later; here is later.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
