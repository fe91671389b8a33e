// The monitoring mix and the headphone pages inside the screen window after a login, against the simulated device
// run in this process: the mix undocked, the mix docked with selections on all three headphones and the padlock of
// "2 / B" open, headphone "1" with its own mix and levels, headphone "A" docked.

#include "tools/gallery/gallery.h"

#include "pages/vexmarmonitoringpages.h"
#include "tools/gallery/mixersession.h"
#include "widgets/vexmarinterfaces.h"

namespace {

// Headphone "1": Stream 1 to both ears, towards the sent signal; "2 / B": the voice call to both ears, towards the
// received one; "A": Stream 2 to the left ear. The padlock of "2 / B" open.
const char mixes[] = R"(
general docking_detected=yes
audio matrix_ba1=0C34
audio matrix_ba2=C309
audio matrix_ba3=00C6
audio input_options=00000025
)";

// Own mixes. Headphone "1": MIC 1 at 0 dB to both ears, MIC 2 at -6 dB left, the Player at +4 dB, Stream 1 Tx at
// -7 dB, Voice Rx at -16 dB right, the rest off. Headphone "A": AES3 L at 0 dB left, AES67 TB1 at -3 dB both,
// USB at -10 dB.
const char ownMixes[] = R"(
audio matrix_opt=00000001
audio matrix_hp1=E05A000000000000000000000000000064A4009000000000599900000000
audio matrix_hp3=000000006000DD0000000000000056960000000000000000000000000000
)";

void feedLevels(IVexmarAudioLevels *page)
{
    int levels[IVexmarAudioLevels::levelCount];
    std::fill(std::begin(levels), std::end(levels), int(IVexmarAudioLevels::noLevel));
    const std::pair<int, int> live[] = {
        {0, 12}, {1, 20}, {4, 9}, {6, 24}, {14, 18}, {15, 21}, {16, 6}, {17, 8}, {19, 30}, {24, 8}, {25, 10}, {28, 16}};
    for (const auto &[index, level] : live)
        levels[index] = level;
    page->setAudioLevels(levels, IVexmarAudioLevels::levelCount, true);
}

QList<GalleryShot> renderMonitoring()
{
    QList<GalleryShot> shots;
    const struct
    {
        const char *name;
        QByteArray setup;
        QVexmar::Page page;
    } views[] = {
        {"mix-undocked", QByteArray("general docking_detected=no"), QVexmar::Monitoring1Page},
        {"mix-docked", QByteArray(mixes), QVexmar::Monitoring1Page},
        {"headphone1-own-mix", QByteArray(ownMixes), QVexmar::Monitoring2Headphone1Page},
        {"headphoneA-docked", QByteArray(ownMixes), QVexmar::Monitoring2Headphone3Page},
    };
    for (const auto &view : views) {
        MixerSession session;
        if (!session.open(view.setup, view.page))
            return shots;
        if (view.page != QVexmar::Monitoring1Page) {
            for (QVexmarMixerMonitoring2Page *headphone : session.window->findChildren<QVexmarMixerMonitoring2Page *>())
                feedLevels(headphone);
        }
        shots.append({QLatin1String(view.name), grabWidget(session.window.get())});
    }
    return shots;
}

const GalleryPage page("monitoring", renderMonitoring);

} // namespace
