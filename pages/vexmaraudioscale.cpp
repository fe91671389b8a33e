#include "pages/vexmaraudioscale.h"

#include "widgets/vexmaraudioknob.h"

#include <cmath>

namespace AudioGains {

namespace {

constexpr int textSteps = 10;
constexpr int textStepDb = 4;

} // namespace

int nearestPosition(double value, int minimum, int maximum, int step, const std::function<int(int)> &valueAt)
{
    int best = minimum;
    double bestDistance = std::fabs(valueAt(minimum) - value);
    for (int position = minimum + step; position <= maximum; position += step) {
        const int candidate = valueAt(position);
        const double distance = std::fabs(candidate - value);
        if (distance < bestDistance || (distance == bestDistance && std::abs(candidate) < std::abs(valueAt(best)))) {
            best = position;
            bestDistance = distance;
        }
    }
    return best;
}

int gainPosition(double dB, int minimum, int maximum)
{
    if (dB <= minimum)
        return minimum;
    if (dB >= maximum)
        return maximum;
    // Halfway goes toward 0 dB.
    const double away = std::floor(std::fabs(dB));
    const int magnitude = int(std::fabs(dB) - away > 0.5 ? away + 1 : away);
    return dB < 0 ? -magnitude : magnitude;
}

AnalogScale AnalogScale::of(bool line)
{
    const int bottom = line ? -26 : 0;
    return {bottom - textSteps, line ? 16 : 42, bottom};
}

int AnalogScale::deviceValue(int position) const
{
    return position >= bottom ? position : bottom + textStepDb * (position - bottom);
}

int AnalogScale::attenuation(int position) const
{
    return position >= bottom ? 0 : deviceValue(position) - bottom;
}

int AnalogScale::position(int value) const
{
    if (value >= bottom)
        return value > maximum ? maximum : value;
    return nearestPosition(value, minimum, bottom, 1, [this](int p) { return deviceValue(p); });
}

bool isLocked(const QVexmarAudioPadlock *padlock)
{
    return !padlock->isChecked();
}

void setLocked(QVexmarAudioPadlock *padlock, bool locked)
{
    padlock->setChecked(!locked);
}

} // namespace AudioGains
