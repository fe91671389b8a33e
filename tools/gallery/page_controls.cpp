#include "tools/gallery/gallery.h"

#include "widgets/vexmarcontrols.h"
#include "widgets/vexmarlook.h"

namespace {

QVexmarSwitch *makeSwitch(bool checked, bool enabled, bool disabledLook)
{
    auto *control = new QVexmarSwitch;
    control->setFixedSize(72, 35);
    control->setCheckable(true);
    control->setChecked(checked);
    control->setEnabled(enabled);
    control->setDisabledLook(disabledLook);
    return control;
}

// The audio strip's knob: 100 x 100, 26-pixel font, gain -30..+12 dB.
QVexmarKnob *makeKnob(int type, int value)
{
    auto *knob = new QVexmarKnob(type);
    knob->setFixedSize(100, 100);
    knob->setFont(Look::pixelFont(QFont(), 26));
    knob->setMinimum(-30, QString());
    knob->setMaximum(12, QString());
    knob->setValue(value);
    return knob;
}

QVexmarWheel *makeWheel(int maximum, int value)
{
    auto *wheel = new QVexmarWheel;
    wheel->setFixedSize(60, 60);
    wheel->setMaximum(maximum);
    wheel->setValue(value);
    return wheel;
}

QList<GalleryShot> renderControls()
{
    QList<GalleryShot> shots;

    shots.append({QStringLiteral("switches"),
        grabBoard({{QStringLiteral("on"), makeSwitch(true, true, true)},
                      {QStringLiteral("off"), makeSwitch(false, true, true)},
                      {QStringLiteral("disabled on"), makeSwitch(true, false, true)},
                      {QStringLiteral("disabled off"), makeSwitch(false, false, true)},
                      {QStringLiteral("disabled on, no look"), makeSwitch(true, false, false)},
                      {QStringLiteral("disabled off, no look"), makeSwitch(false, false, false)}},
            6, pagePalette())});

    QList<GalleryCell> knobs;
    knobs.append({QStringLiteral("value 0"), makeKnob(0, 0)});
    QVexmarKnob *minimumText = makeKnob(0, -30);
    minimumText->setMinimum(-30, QStringLiteral("Off"));
    knobs.append({QStringLiteral("minimum text"), minimumText});
    QVexmarKnob *maximumText = makeKnob(0, 12);
    maximumText->setMaximum(12, QStringLiteral("Max"));
    knobs.append({QStringLiteral("maximum text"), maximumText});
    QVexmarKnob *valueText = makeKnob(0, -6);
    valueText->addValueText(-6, QStringLiteral("Mic"));
    knobs.append({QStringLiteral("value text"), valueText});
    QVexmarKnob *flat = makeKnob(0, 0);
    flat->setMinimum(5, QString());
    flat->setMaximum(5, QString());
    knobs.append({QStringLiteral("min = max"), flat});
    QVexmarKnob *disabled = makeKnob(1, -12);
    disabled->setPanning(QVexmar::PanLeftRight);
    disabled->setEnabled(false);
    knobs.append({QStringLiteral("disabled, pan L R"), disabled});
    for (const auto pan : {QVexmar::PanEqual, QVexmar::PanLeftRight, QVexmar::PanLeft, QVexmar::PanRight}) {
        QVexmarKnob *panned = makeKnob(1, 6);
        panned->setPanning(pan);
        knobs.append({QStringLiteral("pan %1").arg(int(pan)), panned});
    }
    shots.append({QStringLiteral("knobs"), grabBoard(knobs, 5, pagePalette())});

    QVexmarKnob *selected = makeKnob(1, 6);
    selected->setPanning(QVexmar::PanLeftRight);
    selected->setChecked(true);
    shots.append({QStringLiteral("knob-selected"),
        grabBoard({{QStringLiteral("selected, pan L R"), selected}}, 1, pagePalette(), selected)});

    auto *jog = new QVexmarKnobMinimal;
    jog->setFixedSize(100, 100);
    jog->setFont(Look::pixelFont(QFont(), 26));
    shots.append({QStringLiteral("knob-minimal"), grabBoard({{QStringLiteral("jog"), jog}}, 1, statusBarPalette())});

    auto *disabledWheel = makeWheel(4, 2);
    disabledWheel->setEnabled(false);
    shots.append({QStringLiteral("wheels"),
        grabBoard({{QStringLiteral("0 of 4"), makeWheel(4, 0)}, {QStringLiteral("2 of 4"), makeWheel(4, 2)},
                      {QStringLiteral("4 of 4"), makeWheel(4, 4)}, {QStringLiteral("maximum 0"), makeWheel(0, 0)},
                      {QStringLiteral("disabled"), disabledWheel}},
            5, pagePalette())});

    QVexmarWheel *turning = makeWheel(4, 1);
    turning->setChecked(true);
    shots.append({QStringLiteral("wheel-selected"),
        grabBoard({{QStringLiteral("selected"), turning}}, 1, pagePalette(), turning)});

    QList<GalleryCell> labels;
    for (const auto pan : {QVexmar::PanEqual, QVexmar::PanLeft, QVexmar::PanRight, QVexmar::PanLeftRight}) {
        auto *label = new QVexmarAudio;
        label->setFixedSize(120, 40);
        label->setFont(Look::pixelFont(QFont(), 26));
        label->setAlignment(Qt::AlignCenter);
        label->setText(QStringLiteral("In 1"));
        label->setPanning(pan);
        labels.append({QStringLiteral("pan %1").arg(int(pan)), label});
    }
    shots.append({QStringLiteral("audio-labels"), grabBoard(labels, 4, pagePalette())});
    return shots;
}

const GalleryPage page("controls", &renderControls);

} // namespace
