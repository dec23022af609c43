#include "SongMeasures.h"
#include "StereoWavFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

constexpr int kRate = 44100;

/// `seconds` of a sine at `hz` and `amplitude`, the same on both channels, with its notes
/// said to start at the first and the last frame.
RenderedSong Tone(double seconds, double hz, double amplitude)
{
    RenderedSong song;
    song.rate = kRate;
    const auto frames = static_cast<std::size_t>(seconds * kRate);
    song.stereo.resize(2 * frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double value = amplitude * std::sin(2.0 * std::numbers::pi * hz * i / kRate);
        song.stereo[2 * i] = song.stereo[2 * i + 1] = static_cast<float>(value);
    }
    song.lastNoteFrame = frames - 1;
    return song;
}

void Silence(RenderedSong& song, double fromSeconds, double seconds)
{
    const auto from = static_cast<std::size_t>(fromSeconds * kRate);
    const auto count = static_cast<std::size_t>(seconds * kRate);
    std::fill(song.stereo.begin() + 2 * from, song.stereo.begin() + 2 * (from + count), 0.0f);
}

TEST(SongGapTest, SilenceLongerThanAWindowBetweenNotesIsAGap)
{
    RenderedSong song = Tone(1.0, 440, 0.5);
    Silence(song, 0.400, 0.025);
    const std::vector<SongGap> gaps = FindGaps(song, GapRule{});
    ASSERT_EQ(gaps.size(), 1u);
    // Windows of 10 ms fit the 25 ms hole only from its start to 10 ms before its end.
    EXPECT_NEAR(gaps[0].startSeconds, 0.400, 0.001);
    EXPECT_NEAR(gaps[0].seconds, 0.025, 0.001);
    EXPECT_LT(QuietestWindowDb(song, GapRule{}), -100.0);
}

TEST(SongGapTest, ShortDipsQuietPassagesAndSilenceOutsideTheNotesPass)
{
    RenderedSong song = Tone(1.0, 440, 0.5);
    Silence(song, 0.300, 0.004); // shorter than a window
    Silence(song, 0.0, 0.100);   // before the first note
    Silence(song, 0.900, 0.100); // after the last note
    song.firstNoteFrame = static_cast<std::size_t>(0.100 * kRate);
    song.lastNoteFrame = static_cast<std::size_t>(0.880 * kRate);
    EXPECT_TRUE(FindGaps(song, GapRule{}).empty());

    // A sine at amplitude a has an RMS of a / sqrt 2: -47 dBFS passes, -53 dBFS fails.
    const double quietPass = std::sqrt(2.0) * std::pow(10.0, -47.0 / 20.0);
    const double quietFail = std::sqrt(2.0) * std::pow(10.0, -53.0 / 20.0);
    EXPECT_TRUE(FindGaps(Tone(0.5, 440, quietPass), GapRule{}).empty());
    EXPECT_NEAR(QuietestWindowDb(Tone(0.5, 440, quietPass), GapRule{}), -47.0, 0.2);
    const std::vector<SongGap> all = FindGaps(Tone(0.5, 440, quietFail), GapRule{});
    ASSERT_EQ(all.size(), 1u);
    EXPECT_NEAR(all[0].seconds, 0.5, 0.002);
}

TEST(SongBrightnessTest, ShareAboveTheSplitFollowsTheSpectrum)
{
    EXPECT_LT(HighFrequencyShare(Tone(1.0, 1000, 0.5), 0, kHighFrequencyHz), 0.01);
    EXPECT_GT(HighFrequencyShare(Tone(1.0, 10000, 0.5), 0, kHighFrequencyHz), 0.95);
    RenderedSong mix = Tone(1.0, 1000, 0.3);
    const RenderedSong high = Tone(1.0, 10000, 0.3);
    for (std::size_t i = 0; i < mix.stereo.size(); ++i) {
        mix.stereo[i] += high.stereo[i];
    }
    EXPECT_NEAR(HighFrequencyShare(mix, 0, kHighFrequencyHz), 0.5, 0.03);

    const SongMeasures measures = MeasureSong(mix, GapRule{});
    // Two sines at 0.3 each: RMS 0.3, peak up to 0.6.
    EXPECT_NEAR(measures.loudnessDb, 20.0 * std::log10(0.3), 0.2);
    EXPECT_LE(measures.peakDb, 20.0 * std::log10(0.6) + 0.01);
    EXPECT_TRUE(measures.gaps.empty());
}

TEST(StereoWavFileTest, HeaderDescribesSixteenBitStereoAndSamplesClip)
{
    RenderedSong song;
    song.rate = kRate;
    song.stereo = {0.0f, 1.0f, -1.0f, 2.0f};
    const std::string wav = EncodeStereoWav(song);
    ASSERT_EQ(wav.size(), 44u + 8u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(wav.substr(36, 4), "data");
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint32_t dataBytes = 0;
    std::memcpy(&channels, wav.data() + 22, 2);
    std::memcpy(&rate, wav.data() + 24, 4);
    std::memcpy(&dataBytes, wav.data() + 40, 4);
    EXPECT_EQ(channels, 2);
    EXPECT_EQ(rate, 44100u);
    EXPECT_EQ(dataBytes, 8u);
    int16_t samples[4];
    std::memcpy(samples, wav.data() + 44, 8);
    EXPECT_EQ(samples[1], 32767);
    EXPECT_EQ(samples[2], -32767);
    EXPECT_EQ(samples[3], 32767); // clipped
}

} // namespace
