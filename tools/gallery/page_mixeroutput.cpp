// The mixer output pages inside the screen window after a login, against the simulated device run in this
// process: "LINE/USB" undocked; docked with the AES67 module and routes, at the top and scrolled to the USB rows;
// "AES67" with routes.

#include "tools/gallery/gallery.h"

#include "pages/vexmarmixeroutputpages.h"
#include "tools/gallery/mixersession.h"
#include "widgets/vexmarmatrix.h"

#include <QScrollBar>

namespace {

// LINE 1: MIC 1, AES3 L, Stream 1 Rx L; LINE 2: MIC 2, AES3 R, Stream 1 Rx R; USB L: MIC A, Voice Rx, Player L
// and (as the device has it) USB L itself; USB R: MIC B, Voice Rx, Player R, USB R. AES67 1 to 6: MIC 1 to AES3 R one
// each; AES67 7 and 8: MIC 1 and 2 with Stream 1 Tx.
const char routes[] = R"(
audio matrix_ou13=00100011
audio matrix_ou14=00200022
audio matrix_ou15=00000001
audio matrix_ou16=00000002
audio matrix_ou17=00000004
audio matrix_ou18=00000008
audio matrix_ou19=00000010
audio matrix_ou20=00000020
audio matrix_ou21=01000001
audio matrix_ou22=02000002
audio matrix_ou23=00094004
audio matrix_ou24=000A8008
)";

QList<GalleryShot> renderMixerOutput()
{
    QList<GalleryShot> shots;
    {
        MixerSession session;
        if (!session.open("general docking_detected=no", QVexmar::MixerOutput1Page))
            return shots;
        shots.append({QStringLiteral("lineusb-undocked-after-login"), grabWidget(session.window.get())});
    }
    {
        MixerSession session;
        if (!session.open(routes, QVexmar::MixerOutput1Page))
            return shots;
        shots.append({QStringLiteral("lineusb-docked-aes67-routes"), grabWidget(session.window.get())});
        // The rows of the Player, USB and the first AES67 inputs.
        auto *page = session.window->findChild<QVexmarMixerOutput1Page *>();
        page->scrollArea->scrollBar()->setValue(15 * 74);
        shots.append({QStringLiteral("lineusb-scrolled-usb"), grabWidget(session.window.get())});
    }
    {
        MixerSession session;
        if (!session.open(routes, QVexmar::MixerOutput2Page))
            return shots;
        shots.append({QStringLiteral("aes67-routes"), grabWidget(session.window.get())});
    }
    return shots;
}

const GalleryPage page("mixeroutput", renderMixerOutput);

} // namespace
