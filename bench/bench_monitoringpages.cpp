// The refresh of headphone page "1" and of the monitoring mix on a change set of the device: an INFO that changes
// every "matrix_hp" word (the headphones with their own mixes) or every "matrix_ba" word (the shared call
// signals), sent by the simulated device, routed through the screen window's queue to the matrix settings and from
// their signals to the page's strips or knobs and crosspoints, then the page rendered into an image. Beside each,
// in the same run, the page rendered alone: what a change set costs on top of drawing what it changed.

#include "bench/mixerbench.h"
#include "bench/widgetbench.h"
#include "rpc/rpcvocabulary.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int pairs = 3;
constexpr int headphoneBytes = 30;
constexpr QVexmar::Outputs pairOutputs[pairs] = {QVexmar::Outputs(6), QVexmar::Outputs(8), QVexmar::Outputs(10)};

std::string hex(unsigned value, int digits)
{
    char text[16];
    std::snprintf(text, sizeof text, "%0*X", digits, value);
    return text;
}

// Each of two sets changes every byte of every mix: another gain and other ears.
std::vector<std::string> mixes(bool second)
{
    std::vector<std::string> words;
    for (int pair = 0; pair < pairs; ++pair) {
        std::string text;
        for (int in = 0; in < headphoneBytes; ++in) {
            const unsigned gain = 1 + unsigned(in * 7 + pair) % 48;
            const unsigned ears = unsigned(in + pair) % 4;
            text += hex((second ? gain + 1 : gain) | ((second ? 3 - ears : ears) << 6), 2);
        }
        words.push_back(text);
    }
    return words;
}

// Each of two sets moves every balance and turns every selection the other way.
std::vector<std::string> balances(bool second)
{
    std::vector<std::string> words;
    for (int pair = 0; pair < pairs; ++pair) {
        const unsigned selection = 0x5A5u >> pair;
        words.push_back(hex(((second ? ~selection : selection) & 0xFFFu) << 4 | (second ? 3u + pair : 8u - pair), 4));
    }
    return words;
}

kra::CMsg changeSet(const char *stem, const std::vector<std::string> &words)
{
    kra::CMsg info(kra::CMsg::Info);
    info.setParam(kra::KEY_INFO_TYPE, kra::EVT_AUDIO_CHANGESET);
    info.setParam(kra::KEY_INFO_SOURCE, kra::SRC_AIC);
    for (int pair = 0; pair < pairs; ++pair)
        info.setParam(stem + std::to_string(pair + 1), words[size_t(pair)]);
    return info;
}

bool holdsMixes(const std::vector<std::string> &words)
{
    for (int pair = 0; pair < pairs; ++pair) {
        const TMatrixSettings::HeadphoneMix mix = getMatrixSettings()->headphoneMix(pairOutputs[pair]);
        for (int in = 0; in < headphoneBytes; ++in) {
            if (hex(mix.bytes[size_t(in)], 2) != words[size_t(pair)].substr(size_t(2 * in), 2))
                return false;
        }
    }
    return true;
}

bool holdsBalances(const std::vector<std::string> &words)
{
    for (int pair = 0; pair < pairs; ++pair) {
        if (hex(getMatrixSettings()->outputBalance(pairOutputs[pair]), 4) != words[size_t(pair)])
            return false;
    }
    return true;
}

const QByteArray ownMixes = "audio matrix_opt=00000001";

void BM_HeadphonePageChangeSet(benchmark::State &state)
{
    MixerScreen screen(QVexmar::Monitoring2Headphone1Page, ownMixes);
    const std::vector<std::string> sets[] = {mixes(false), mixes(true)};
    const kra::CMsg messages[] = {changeSet("matrix_hp", sets[0]), changeSet("matrix_hp", sets[1])};
    runChangeSets(state, screen, messages, [&sets](int turn) { return holdsMixes(sets[turn]); });
}

void BM_HeadphonePageRender(benchmark::State &state)
{
    MixerScreen screen(QVexmar::Monitoring2Headphone1Page, ownMixes);
    runRender(state, screen);
}

void BM_MonitoringMixPageChangeSet(benchmark::State &state)
{
    MixerScreen screen(QVexmar::Monitoring1Page);
    const std::vector<std::string> sets[] = {balances(false), balances(true)};
    const kra::CMsg messages[] = {changeSet("matrix_ba", sets[0]), changeSet("matrix_ba", sets[1])};
    runChangeSets(state, screen, messages, [&sets](int turn) { return holdsBalances(sets[turn]); });
}

void BM_MonitoringMixPageRender(benchmark::State &state)
{
    MixerScreen screen(QVexmar::Monitoring1Page);
    runRender(state, screen);
}

} // namespace

BENCHMARK(BM_HeadphonePageChangeSet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HeadphonePageRender)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MonitoringMixPageChangeSet)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MonitoringMixPageRender)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return runWidgetBenchmarks(argc, argv);
}
