#include "audio/VolumeMapping.h"

#include <algorithm>
#include <cmath>

namespace Zorva {

namespace {

constexpr double kVolumeScale = 2333.0;
constexpr double kQuietestAudible = -2000.0;
constexpr double kSemitoneRatio = 1.0594630943592953;

} // namespace

int VolumeToHundredths(double level)
{
    // Also catches NaN, which would make the conversion below undefined.
    if (!(level > 0)) {
        return kSilentHundredths;
    }
    const double hundredths = (std::log10(9.0 * level + 1.0) - 1.0) * kVolumeScale;
    if (hundredths < kQuietestAudible) {
        return kSilentHundredths;
    }
    // The device never amplifies.
    if (!(hundredths < 0)) {
        return 0;
    }
    return static_cast<int>(hundredths);
}

double HundredthsToGain(int hundredths)
{
    if (hundredths <= kSilentHundredths) {
        return 0.0;
    }
    return std::pow(10.0, std::min(hundredths, 0) / 2000.0);
}

PanGains PanToGains(long long pan)
{
    const int clamped =
        static_cast<int>(std::clamp<long long>(pan, kSilentHundredths, -kSilentHundredths));
    PanGains gains;
    if (clamped < 0) {
        gains.right = HundredthsToGain(clamped);
    } else if (clamped > 0) {
        gains.left = HundredthsToGain(-clamped);
    }
    return gains;
}

int PitchedFrequency(int baseFrequency, double semitones)
{
    const double frequency = baseFrequency * std::pow(kSemitoneRatio, semitones);
    if (std::isnan(frequency) || frequency < kMinFrequency) {
        return kMinFrequency;
    }
    if (frequency > kMaxFrequency) {
        return kMaxFrequency;
    }
    return static_cast<int>(std::lround(frequency));
}

} // namespace Zorva
