#pragma once

namespace Zorva {

/// Silence, in hundredths of a decibel.
inline constexpr int kSilentHundredths = -10000;
inline constexpr int kMinFrequency = 100;
inline constexpr int kMaxFrequency = 100000;

/// The device volume of a linear level 0..1, in hundredths of a decibel: 0 at full level,
/// kSilentHundredths for silence and for every level that would fall below -2000.
int VolumeToHundredths(double level);

/// The linear gain the mixer applies for a volume in hundredths of a decibel (0 for silence).
double HundredthsToGain(int hundredths);

/// Left and right gains of a pan in hundredths of a decibel: a negative pan attenuates the
/// right channel, a positive one the left.
struct PanGains
{
    double left = 1.0;
    double right = 1.0;
};
PanGains PanToGains(long long pan);

/// The frequency `semitones` away from `baseFrequency`, kept within kMinFrequency ..
/// kMaxFrequency.
int PitchedFrequency(int baseFrequency, double semitones);

} // namespace Zorva
