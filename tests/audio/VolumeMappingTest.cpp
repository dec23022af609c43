#include "audio/VolumeMapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Zorva;

TEST(VolumeMappingTest, Volume_LevelsToHundredthsOfADecibelAndGain)
{
    EXPECT_EQ(VolumeToHundredths(0.0), -10000);
    EXPECT_EQ(VolumeToHundredths(1.0), 0);
    EXPECT_EQ(VolumeToHundredths(0.5), -605);
    // Just above and just below the quietest audible -2000.
    EXPECT_EQ(VolumeToHundredths(0.05), -1956);
    EXPECT_EQ(VolumeToHundredths(0.04), -10000);
    // The device never amplifies, and nonsense levels are silence.
    EXPECT_EQ(VolumeToHundredths(2.5), 0);
    EXPECT_EQ(VolumeToHundredths(-1.0), -10000);
    EXPECT_EQ(VolumeToHundredths(std::numeric_limits<double>::quiet_NaN()), -10000);
    EXPECT_EQ(VolumeToHundredths(std::numeric_limits<double>::infinity()), 0);

    EXPECT_DOUBLE_EQ(HundredthsToGain(0), 1.0);
    EXPECT_NEAR(HundredthsToGain(-2000), 0.1, 1e-12);
    EXPECT_NEAR(HundredthsToGain(-605), std::pow(10.0, -0.3025), 1e-12);
    EXPECT_EQ(HundredthsToGain(-10000), 0.0);
}

TEST(VolumeMappingTest, Pan_AttenuatesTheFarSide)
{
    const PanGains left = PanToGains(-1000);
    EXPECT_DOUBLE_EQ(left.left, 1.0);
    EXPECT_NEAR(left.right, std::pow(10.0, -0.5), 1e-12);
    const PanGains right = PanToGains(2000);
    EXPECT_NEAR(right.left, 0.1, 1e-12);
    EXPECT_DOUBLE_EQ(right.right, 1.0);
    const PanGains centre = PanToGains(0);
    EXPECT_DOUBLE_EQ(centre.left, 1.0);
    EXPECT_DOUBLE_EQ(centre.right, 1.0);
    // A sum of base pan and pan far past the range silences one side only.
    const PanGains hard = PanToGains(-30000000000LL);
    EXPECT_EQ(hard.right, 0.0);
    EXPECT_DOUBLE_EQ(hard.left, 1.0);
}

TEST(VolumeMappingTest, Pitch_SemitonesWithinTheDeviceBounds)
{
    EXPECT_EQ(PitchedFrequency(44100, 12), 88200);
    EXPECT_EQ(PitchedFrequency(22050, 12), 44100);
    EXPECT_EQ(PitchedFrequency(44100, -12), 22050);
    EXPECT_EQ(PitchedFrequency(44100, 0), 44100);
    EXPECT_EQ(PitchedFrequency(44100, 24), 100000);
    EXPECT_EQ(PitchedFrequency(44100, -120), 100);
    EXPECT_EQ(PitchedFrequency(44100, std::numeric_limits<double>::quiet_NaN()), 100);
}
