// The mixer output pages' refresh on a change set of the device: an INFO that changes every "matrix_ou" word, sent
// by the simulated device, routed through the screen window's queue to the matrix settings and from their signals
// to the page's crosspoints, then the page rendered into an image. Beside it, in the same run, the page rendered
// alone: what a change set costs on top of drawing what it changed.

#include "bench/mixerbench.h"
#include "bench/widgetbench.h"
#include "rpc/rpcvocabulary.h"

#include <array>
#include <cstdio>

namespace {

constexpr int firstOutput = 12; // "matrix_ou13"
constexpr int outputCount = 12; // to "matrix_ou24"
constexpr quint32 allInputs = 0x1FFFFFFF; // inputs 0 to 28

using Words = std::array<quint32, outputCount>;

// Two sets of words, each switching every node of outputs 12 to 23 the other way.
Words words(bool second)
{
    Words set {};
    for (int k = 0; k < outputCount; ++k) {
        const quint32 nodes = (quint32(k + 1) * 0x9E3779B1u) & allInputs;
        set[size_t(k)] = second ? nodes ^ allInputs : nodes;
    }
    return set;
}

kra::CMsg changeSet(const Words &set)
{
    kra::CMsg info(kra::CMsg::Info);
    info.setParam(kra::KEY_INFO_TYPE, kra::EVT_AUDIO_CHANGESET);
    info.setParam(kra::KEY_INFO_SOURCE, kra::SRC_AIC);
    for (int k = 0; k < outputCount; ++k) {
        char word[12];
        std::snprintf(word, sizeof word, "%08X", unsigned(set[size_t(k)]));
        info.setParam(KEY_MATRIX_OU + std::to_string(firstOutput + k + 1), word);
    }
    return info;
}

bool holds(const Words &set)
{
    for (int k = 0; k < outputCount; ++k) {
        if (getMatrixSettings()->outputMask(QVexmar::Outputs(firstOutput + k)) != set[size_t(k)])
            return false;
    }
    return true;
}

void changeSetThenRender(benchmark::State &state, QVexmar::Page shown)
{
    MixerScreen screen(shown);
    const Words sets[] = {words(false), words(true)};
    const kra::CMsg messages[] = {changeSet(sets[0]), changeSet(sets[1])};
    runChangeSets(state, screen, messages, [&sets](int turn) { return holds(sets[turn]); });
}

void renderAlone(benchmark::State &state, QVexmar::Page shown)
{
    MixerScreen screen(shown);
    runRender(state, screen);
}

void BM_MixerOutput1PageChangeSet(benchmark::State &state)
{
    changeSetThenRender(state, QVexmar::MixerOutput1Page);
}

void BM_MixerOutput1PageRender(benchmark::State &state)
{
    renderAlone(state, QVexmar::MixerOutput1Page);
}

void BM_MixerOutput2PageChangeSet(benchmark::State &state)
{
    changeSetThenRender(state, QVexmar::MixerOutput2Page);
}

void BM_MixerOutput2PageRender(benchmark::State &state)
{
    renderAlone(state, QVexmar::MixerOutput2Page);
}

} // namespace

BENCHMARK(BM_MixerOutput1PageChangeSet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixerOutput1PageRender)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixerOutput2PageChangeSet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MixerOutput2PageRender)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
