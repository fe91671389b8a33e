// The mixer input page's refresh on a change set of the device: an INFO that changes every "matrix_in" word, sent
// by the simulated device, routed through the screen window's queue to the matrix settings and from their signals
// to the page's crosspoints, then the page rendered into an image. Beside it, in the same run, the page rendered
// alone: what a change set costs on top of drawing what it changed.

#include "bench/mixerbench.h"
#include "bench/widgetbench.h"
#include "rpc/rpcvocabulary.h"

#include <array>
#include <cstdio>

namespace {

using Words = std::array<quint16, TMatrixSettings::EntryCount>;

// Two sets of words at 0 dB, each switching every node of outputs 0 to 4 the other way.
Words words(bool second)
{
    Words set {};
    for (int in = 0; in < TMatrixSettings::EntryCount; ++in) {
        const quint16 nodes = quint16((in * 7 + 1) % 32);
        set[size_t(in)] = quint16(0x20 | ((second ? nodes ^ 0x1F : nodes) << 6));
    }
    return set;
}

kra::CMsg changeSet(const Words &set)
{
    kra::CMsg info(kra::CMsg::Info);
    info.setParam(kra::KEY_INFO_TYPE, kra::EVT_AUDIO_CHANGESET);
    info.setParam(kra::KEY_INFO_SOURCE, kra::SRC_AIC);
    for (int in = 0; in < TMatrixSettings::EntryCount; ++in) {
        char word[8];
        std::snprintf(word, sizeof word, "%04X,", unsigned(set[size_t(in)]));
        info.setParam("matrix_in" + std::to_string(in + 1), word);
    }
    return info;
}

bool holds(const Words &set)
{
    for (int in = 0; in < TMatrixSettings::EntryCount; ++in) {
        if (getMatrixSettings()->inputEntry(QVexmar::Inputs(in)).config != set[size_t(in)])
            return false;
    }
    return true;
}

void BM_MixerInputPageChangeSet(benchmark::State &state)
{
    MixerScreen screen(QVexmar::MixerInputPage);
    const Words sets[] = {words(false), words(true)};
    const kra::CMsg messages[] = {changeSet(sets[0]), changeSet(sets[1])};
    runChangeSets(state, screen, messages, [&sets](int turn) { return holds(sets[turn]); });
}

void BM_MixerInputPageRender(benchmark::State &state)
{
    MixerScreen screen(QVexmar::MixerInputPage);
    runRender(state, screen);
}

} // namespace

BENCHMARK(BM_MixerInputPageChangeSet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixerInputPageRender)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
