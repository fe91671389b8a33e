#pragma once

// What the mixer page tests share: the device's facts and change sets as the simulated device takes them, a login
// onto a page, the matrix writes among the frames, the checked crosspoints and the look of a crosspoint that takes
// no check.

#include "controllers/taudiosettings.h"
#include "controllers/tmatrixsettings.h"
#include "tests/screentesting.h"
#include "widgets/vexmarmatrix.h"

#include <QByteArrayList>
#include <QImage>

#include <algorithm>

namespace mixertesting {

using namespace screentesting;

inline const QByteArray changeset = "INFO;info_type:audio_changeset;info_source:aic;";
// The headphones on their own mixes.
inline const QByteArray ownMixes = "audio matrix_opt=00000001";

// The device's facts: docking station, AES67 module, recorder.
inline QByteArray facts(bool docked, bool aes67, bool recorder)
{
    return QByteArray("general docking_detected=") + (docked ? "yes" : "no") + "\ngeneral device_opts=[ip_dcodec"
        + (aes67 ? ",ravenna" : "") + (recorder ? ",record_1" : "") + "]";
}

// The matrix writes among the frames: "<key>=<value>" of each PARAM that asks nothing.
inline QByteArrayList matrixWrites(const QByteArrayList &frames)
{
    QByteArrayList found;
    for (const QByteArray &frame : frames) {
        if (!frame.startsWith("PARAM|") || frame.contains("|GET "))
            continue;
        for (const QByteArray &part : frame.split('|')) {
            if (part.startsWith("matrix_"))
                found << part;
        }
    }
    return found;
}

// The checked ones of the crosspoints, "<input>/<output>", in the order of their index.
inline QByteArrayList checkedNodes(QList<QVexmarMatrixNode *> nodes)
{
    std::sort(nodes.begin(), nodes.end(), [](auto *a, auto *b) { return a->index < b->index; });
    QByteArrayList checked;
    for (QVexmarMatrixNode *node : nodes) {
        if (node->isChecked())
            checked << QByteArray::number(node->input) + "/" + QByteArray::number(node->output);
    }
    return checked;
}

// Drawn as a plain junction of its wires, whatever its node.
inline bool looksLikeJunction(QVexmarMatrixNode *node)
{
    QVexmarMatrixNode twin(false, node->parentWidget());
    twin.setGeometry(node->geometry());
    twin.setLineSides(node->lineSides());
    return node->grab().toImage() == twin.grab().toImage();
}

struct MixerRig : ScreenRig
{
    // Logged in as the screen window does it, with this set-up over the codec's, then on the page.
    bool login(const QByteArray &setup, QVexmar::Page page)
    {
        if (!startWith(setup))
            return false;
        window->applyAccessLevel();
        return open(page);
    }

    // Connected with this set-up over the codec's, not yet logged in.
    bool startWith(const QByteArray &setup)
    {
        device.loadSetup(setup);
        return start();
    }

    // The login's reports in the other order: the matrix, with `audio` also the audio settings, read before the
    // device model. The pages are reset first, as a login does it.
    static bool readMatrixFirst(bool audio = false)
    {
        return getMatrixSettings()->attach(true) && (!audio || getAudioSettings()->attach(true))
            && getDevice()->initialize();
    }

    // On the page, the log empty.
    bool open(QVexmar::Page page)
    {
        window->pageActivated(page);
        takeFrames();
        return window->currentPage() == page;
    }
};

} // namespace mixertesting
