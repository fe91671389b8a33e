// The mixer input page inside the screen window after a login, against the simulated device run in this process:
// undocked; docked with the AES67 module and routes on every output; the same scrolled to the AES67 columns.

#include "tools/gallery/gallery.h"

#include "pages/vexmarmixerinputpage.h"
#include "tools/gallery/mixersession.h"
#include "widgets/vexmarinterfaces.h"
#include "widgets/vexmarmatrix.h"

#include <QScrollBar>

namespace {

// MIC 1 and MIC 2 on Stream 1, AES3 on Stream 2 and the call, USB on the call, Stream 1 Rx on Stream 2, the
// Player on Stream 1 and AES67 TB2 and TB7 on Stream 2.
const char routes[] = R"(
audio matrix_in1=0060,Mic 1
audio matrix_in2=00A0,Mic 2
audio matrix_in5=0560,AES3 L
audio matrix_in6=0620,AES3 R
audio matrix_in8=0120,
audio matrix_in13=0220,
audio matrix_in15=0420,
audio matrix_in16=0420,
audio matrix_in17=0060,
audio matrix_in18=00A0,
audio matrix_in21=0120,
audio matrix_in22=0220,
)";

// A programme on both streams and the call.
void feedLevels(QVexmarMixerInputPage *page)
{
    int levels[IVexmarAudioLevels::levelCount];
    std::fill(std::begin(levels), std::end(levels), int(IVexmarAudioLevels::noLevel));
    const std::pair<int, int> live[] = {{24, 6}, {25, 9}, {26, 18}, {27, 22}, {28, 14}};
    for (const auto &[index, level] : live)
        levels[index] = level;
    page->setAudioLevels(levels, IVexmarAudioLevels::levelCount, true);
}

QList<GalleryShot> renderMixerInput()
{
    QList<GalleryShot> shots;
    {
        MixerSession session;
        if (!session.open("general docking_detected=no", QVexmar::MixerInputPage))
            return shots;
        feedLevels(session.window->findChild<QVexmarMixerInputPage *>());
        shots.append({QStringLiteral("undocked-after-login"), grabWidget(session.window.get())});
    }
    {
        MixerSession session;
        if (!session.open(routes, QVexmar::MixerInputPage))
            return shots;
        auto *page = session.window->findChild<QVexmarMixerInputPage *>();
        feedLevels(page);
        shots.append({QStringLiteral("docked-aes67-routes"), grabWidget(session.window.get())});
        QScrollBar *bar = page->scrollArea->scrollBar();
        bar->setValue(bar->maximum());
        shots.append({QStringLiteral("scrolled-aes67"), grabWidget(session.window.get())});
    }
    return shots;
}

const GalleryPage page("mixerinput", renderMixerInput);

} // namespace
