// The folder page's lists filled from the simulated device: the records list read, half of it taken into the play
// list in the play list's order, as a show of the page does it (the two list requests and the editor mode
// included). Arg 0: the records the device lists (1000 is the page's cap, 16000 lists past it); arg 1: the
// entries of its play list.

#include "bench/widgetbench.h"
#include "device/accessors.h"
#include "device/tcomdevice.h"
#include "pages/vexmarfolderpage.h"
#include "rpc/ccom.h"
#include "tests/peers/simdevice.h"

#include <QElapsedTimer>
#include <QListWidget>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

// The play list takes every second recording, from the last back, so that no entry finds its item where the
// previous one was.
void BM_FolderFillRecords(benchmark::State &state)
{
    const int records = int(state.range(0));
    const int entries = int(state.range(1));
    getCom()->initialize("ui", "quorvane_ui");
    SimDevice device;
    device.loadSetup("db:ui:quorvane_ui media_dest=usb\ndb:ui:quorvane_ui project=show\n"
                     "db:ui:quorvane_ui is_editor_mode=off\nmedia get_freespace_usb=1850\n"
                     "general project_list=[show]\nmedia:usb:show take0=100");
    std::vector<std::string> lines;
    std::vector<std::string> playList;
    for (int i = 0; i < records; ++i)
        lines.push_back("take" + std::to_string(i) + "|" + std::to_string(100 + i % 900) + "|Take|wav|00:01:05|D|T|2");
    for (int i = 0; i < entries; ++i)
        playList.push_back("take" + std::to_string(records - 1 - 2 * (i % (records / 2))));
    device.setList("media:usb:show", "records_list", lines);
    device.setList("media:usb:show", "records_plist", playList);
    if (!device.listen() || !getCom()->connectToDevice(device.host(), device.port(), 0)
        || !waitFor([&device] { return getCom()->state() == RpcConnection::ConnectedState && device.clientCount(); })) {
        state.SkipWithError("no session with the simulated device");
        return;
    }
    {
        QVexmarFolderPage page;
        page.setAttribute(Qt::WA_DontShowOnScreen);
        page.resize(1280, 676);
        page.show();
        for (auto _ : state) {
            page.fillRecords();
            benchmark::DoNotOptimize(page.listWidget_Right->count());
        }
        const int shown = page.listWidget_Left->count() + page.listWidget_Right->count();
        if (shown != std::min(records, QVexmarFolderPage::MaxRecords))
            state.SkipWithError(("the lists hold " + std::to_string(shown) + " records").c_str());
        state.counters["rows"] = shown;
    }
    getCom()->disconnectFromDevice();
    waitFor([] { return getCom()->state() == RpcConnection::UnconnectedState; });
    getDevice()->reset(true);
}

} // namespace

BENCHMARK(BM_FolderFillRecords)->Args({1000, 0})->Args({1000, 500})->Args({16000, 8000})->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
