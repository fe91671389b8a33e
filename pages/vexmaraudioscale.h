#pragma once

// What the audio and mixer pages share about their gain knobs and padlocks: which knob position shows a value of
// the model, the two scales of an analog input, and what a padlock's checked state means.

#include <functional>

class QVexmarAudioPadlock;

namespace AudioGains {

// The position of minimum, minimum + step, ... maximum whose value is nearest to `value`; of two equally near the
// one whose value lies nearer 0 dB. Anything below (a muted -160 dB) or above the range takes its end.
int nearestPosition(double value, int minimum, int maximum, int step, const std::function<int(int)> &valueAt);
// A knob of whole dB, one position per dB.
int gainPosition(double dB, int minimum, int maximum);

// An analog input's knob: the input's own range at one dB a step, continued downwards by ten steps of 4 dB that
// the matrix input gain attenuates. Mic (PAD off): -10..42, gain 0..42 and "-4".."-40". Line (PAD on): -36..16,
// level -26..16 and "-30".."-66".
struct AnalogScale
{
    static AnalogScale of(bool line);

    int minimum;
    int maximum;
    int bottom; // the lowest position the input reaches alone

    // The device value of a position: its number, or the number of its text.
    int deviceValue(int position) const;
    // The matrix input gain of a position: 0 dB down to the bottom, then what lies below it.
    int attenuation(int position) const;
    // The position that shows a device value.
    int position(int deviceValue) const;
};

// The padlocks show the open shackle while checked: checked is unlocked.
bool isLocked(const QVexmarAudioPadlock *padlock);
void setLocked(QVexmarAudioPadlock *padlock, bool locked);

} // namespace AudioGains
