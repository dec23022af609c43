#include "audio/AuReader.h"
#include "audio/OggPageScan.h"
#include "audio/OggReader.h"
#include "audio/WavReader.h"
#include "audio/WavWriter.h"

#include "AudioTestFiles.h"

#include <gtest/gtest.h>

#include <string>

using namespace Zorva;
using namespace Zorva::Testing;

namespace {

std::optional<SoundBuffer> Wav(const Bytes& bytes)
{
    return ReadWav(bytes.data(), bytes.size(), nullptr);
}

Bytes Le16(uint16_t value)
{
    return {static_cast<uint8_t>(value & 0xFF), static_cast<uint8_t>(value >> 8)};
}

} // namespace

TEST(SampleReaderTest, Wav_ChunksDefaultsAndPadding)
{
    // Without a "fmt " chunk the data is 1 channel, 22050 Hz, 16 bits.
    const auto defaults = Wav(Riff({Chunk("data", {1, 2, 3, 4})}));
    ASSERT_TRUE(defaults);
    EXPECT_EQ(defaults->channels, 1);
    EXPECT_EQ(defaults->sampleRate, 22050);
    EXPECT_EQ(defaults->bitsPerSample, 16);
    EXPECT_EQ(defaults->data, (Bytes{1, 2, 3, 4}));

    // An odd-sized chunk before the format is skipped with its pad byte; a format after the
    // data does not change it.
    const auto stereo = Wav(
        Riff({Chunk("LIST", {7, 7, 7}), Chunk("fmt ", FormatBody(1, 2, 8000, 8)),
              Chunk("data", {128, 255, 0, 128, 9}), Chunk("fmt ", FormatBody(1, 1, 44100, 16))}));
    ASSERT_TRUE(stereo);
    EXPECT_EQ(stereo->channels, 2);
    EXPECT_EQ(stereo->sampleRate, 8000);
    EXPECT_EQ(stereo->bitsPerSample, 8);
    EXPECT_EQ(stereo->data.size(), 5u);
    EXPECT_EQ(stereo->FrameCount(), 2);

    // A round trip through the cache writer keeps format and samples.
    const SoundBuffer sound = ConstantSound(-1234, 3, 2, 32000);
    const std::string encoded = EncodeCachedWav(sound, SoundSource{"sounds/odd.ogg", 42});
    const auto read = ReadWav(reinterpret_cast<const uint8_t*>(encoded.data()), encoded.size(),
                              [](const std::string&, int64_t) { return true; });
    ASSERT_TRUE(read);
    EXPECT_EQ(read->channels, 2);
    EXPECT_EQ(read->sampleRate, 32000);
    EXPECT_EQ(read->data, sound.data);
    // The RIFF size covers the whole file.
    EXPECT_EQ(static_cast<uint8_t>(encoded[4]) | (static_cast<uint8_t>(encoded[5]) << 8),
              static_cast<int>(encoded.size()) - 8);
}

TEST(SampleReaderTest, Wav_RefusesNonPcmTruncatedAndUnplayableFiles)
{
    const Bytes data = Chunk("data", {0, 0, 0, 0});
    EXPECT_FALSE(Wav(Riff({Chunk("fmt ", FormatBody(3, 1, 44100, 32)), data})));
    EXPECT_FALSE(Wav(Riff({Chunk("fmt ", FormatBody(0x55, 1, 44100, 16)), data})));
    EXPECT_FALSE(Wav(Riff({Chunk("fmt ", FormatBody(1, 6, 44100, 16)), data})));
    EXPECT_FALSE(Wav(Riff({Chunk("fmt ", FormatBody(1, 1, 44100, 24)), data})));
    EXPECT_FALSE(Wav(Riff({Chunk("fmt ", FormatBody(1, 1, 0, 16)), data})));
    EXPECT_FALSE(Wav(Riff({Chunk("fmt ", Bytes{1, 0, 1, 0}), data})));
    EXPECT_FALSE(Wav(Riff({Chunk("fmt ", FormatBody(1, 1, 44100, 16))})));
    EXPECT_FALSE(Wav(Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '}));
    EXPECT_FALSE(Wav(Bytes{}));

    // A data chunk that claims more bytes than the file holds is not read.
    Bytes truncated = Riff({Chunk("data", Bytes(100, 0))});
    truncated.resize(truncated.size() - 10);
    EXPECT_FALSE(Wav(truncated));
    // A data chunk whose size field claims 4 GiB.
    Bytes huge = Riff({Chunk("data", Bytes(8, 0))});
    huge[16] = huge[17] = huge[18] = huge[19] = 0xFF;
    EXPECT_FALSE(Wav(huge));
}

TEST(SampleReaderTest, Wav_DependencyChunkMakesAChangedSourceStale)
{
    // Name length 9, the name, the time 77.
    const std::string layout =
        std::string("\x09\x00", 2) + "a/b.ogg!!" + "M" + std::string(7, '\0');
    const Bytes dep(layout.begin(), layout.end());
    const Bytes file = Riff({Chunk("dep ", dep), Chunk("data", {0, 0})});
    std::string seenName;
    int64_t seenTime = -1;
    const auto fresh = ReadWav(file.data(), file.size(), [&](const std::string& n, int64_t t) {
        seenName = n;
        seenTime = t;
        return true;
    });
    EXPECT_TRUE(fresh);
    EXPECT_EQ(seenName, "a/b.ogg!!");
    EXPECT_EQ(seenTime, 'M');
    EXPECT_FALSE(
        ReadWav(file.data(), file.size(), [](const std::string&, int64_t) { return false; }));

    // A name longer than the chunk is malformed.
    const Bytes overlong = Riff({Chunk("dep ", Le16(200)), Chunk("data", {0, 0})});
    EXPECT_FALSE(ReadWav(overlong.data(), overlong.size(), nullptr));
}

TEST(SampleReaderTest, MuLaw_ExpansionTable)
{
    // Each segment's ends, positive codes (top bit set) and their negative twins.
    const std::pair<uint8_t, int> table[] = {
        {0xFF, 0},    {0xF0, 120},   {0xEF, 128},   {0xE0, 368},   {0xDF, 384},   {0xD0, 864},
        {0xCF, 896},  {0xC0, 1856},  {0xBF, 1920},  {0xB0, 3840},  {0xAF, 3968},  {0xA0, 7808},
        {0x9F, 8064}, {0x90, 15744}, {0x8F, 16256}, {0x81, 30592}, {0x80, 31616},
    };
    for (const auto& [code, value] : table) {
        EXPECT_EQ(MuLawToLinear(code), value) << "code " << int(code);
        EXPECT_EQ(MuLawToLinear(static_cast<uint8_t>(code & 0x7F)), -value) << "code " << int(code);
    }
    // Louder codes never expand to quieter samples.
    for (int code = 0x81; code <= 0xFF; ++code) {
        EXPECT_LE(MuLawToLinear(static_cast<uint8_t>(code)),
                  MuLawToLinear(static_cast<uint8_t>(code - 1)))
            << "code " << code;
    }
}

TEST(SampleReaderTest, Au_EncodingsAndBounds)
{
    const auto muLaw = ReadAu(AuFile(1, 8000, 1, {0x80, 0xFF, 0x00}).data(), 27);
    ASSERT_TRUE(muLaw);
    EXPECT_EQ(muLaw->bitsPerSample, 16);
    EXPECT_EQ(muLaw->sampleRate, 8000);
    const Bytes expected = {0x80, 0x7B, 0x00, 0x00, 0x80, 0x84};
    EXPECT_EQ(muLaw->data, expected);

    // Signed 8-bit linear becomes the unsigned form of 8-bit buffers; data after a longer
    // header is found at its offset.
    const Bytes linearFile = AuFile(2, 11025, 2, {0x00, 0x7F, 0x80, 0xFF}, 32);
    const auto linear = ReadAu(linearFile.data(), linearFile.size());
    ASSERT_TRUE(linear);
    EXPECT_EQ(linear->bitsPerSample, 8);
    EXPECT_EQ(linear->channels, 2);
    EXPECT_EQ(linear->data, (Bytes{0x80, 0xFF, 0x00, 0x7F}));

    // "Unknown size" reads to the end of the file.
    Bytes unknown = AuFile(2, 8000, 1, {1, 2, 3});
    unknown[8] = unknown[9] = unknown[10] = unknown[11] = 0xFF;
    const auto rest = ReadAu(unknown.data(), unknown.size());
    ASSERT_TRUE(rest);
    EXPECT_EQ(rest->data.size(), 3u);

    const auto fails = [](const Bytes& file) { return !ReadAu(file.data(), file.size()); };
    EXPECT_TRUE(fails(AuFile(3, 8000, 1, {0, 0})));
    EXPECT_TRUE(fails(AuFile(1, 8000, 0, {0, 0})));
    EXPECT_TRUE(fails(AuFile(1, 8000, 3, {0, 0, 0})));
    EXPECT_TRUE(fails(AuFile(1, 50, 1, {0, 0})));
    Bytes shortData = AuFile(1, 8000, 1, {1, 2, 3, 4});
    shortData.pop_back();
    EXPECT_TRUE(fails(shortData));
    Bytes farOffset = AuFile(1, 8000, 1, {1, 2});
    farOffset[7] = 200;
    EXPECT_TRUE(fails(farOffset));
    EXPECT_TRUE(fails(Bytes{'.', 's', 'n', 'd', 0, 0, 0, 24}));
}

TEST(SampleReaderTest, Ogg_DecodesChannelsRateAndWholeLength)
{
    const Bytes stereo = OggSine(2, 22050, 5000);
    const auto decoded = ReadOgg(stereo.data(), stereo.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->channels, 2);
    EXPECT_EQ(decoded->sampleRate, 22050);
    EXPECT_EQ(decoded->bitsPerSample, 16);
    EXPECT_EQ(decoded->data.size(), 5000u * 4u);
    // The quiet sine comes back as a sine, not as silence or noise.
    int16_t peak = 0;
    for (std::size_t i = 0; i + 1 < decoded->data.size(); i += 2) {
        const auto sample = static_cast<int16_t>(decoded->data[i] | (decoded->data[i + 1] << 8));
        peak = std::max<int16_t>(peak, sample);
    }
    EXPECT_GT(peak, 6000);
    EXPECT_LT(peak, 10000);

    const Bytes mono = OggSine(1, 44100, 300);
    const auto short1 = ReadOgg(mono.data(), mono.size());
    ASSERT_TRUE(short1);
    EXPECT_EQ(short1->channels, 1);
    EXPECT_EQ(short1->data.size(), 600u);

    // Cut inside the headers.
    Bytes cut = stereo;
    cut.resize(200);
    EXPECT_FALSE(ReadOgg(cut.data(), cut.size()));
    const Bytes garbage(500, 0x4F);
    EXPECT_FALSE(ReadOgg(garbage.data(), garbage.size()));
    EXPECT_FALSE(ReadOgg(nullptr, 0));
}

TEST(SampleReaderTest, Ogg_OnlyOneLogicalStreamIsRead)
{
    const Bytes first = OggSine(1, 22050, 3000);
    const Bytes second = OggSine(1, 22050, 2000);
    EXPECT_TRUE(IsSingleOggStream(first.data(), first.size()));

    // Bytes between pages and a damaged page are skipped, as a reader skips them.
    Bytes padded(37, 0x55);
    padded.insert(padded.end(), first.begin(), first.end());
    Bytes damaged(second.begin(), second.begin() + 58);
    damaged[40] ^= 0xFF;
    padded.insert(padded.end(), damaged.begin(), damaged.end());
    EXPECT_TRUE(IsSingleOggStream(padded.data(), padded.size()));
    EXPECT_TRUE(ReadOgg(padded.data(), padded.size()));

    // A second stream after the first (chained) is refused, whole or interleaved.
    Bytes chained = first;
    chained.insert(chained.end(), second.begin(), second.end());
    EXPECT_FALSE(IsSingleOggStream(chained.data(), chained.size()));
    EXPECT_FALSE(ReadOgg(chained.data(), chained.size()));
    Bytes interleaved(first.begin(), first.begin() + 58);
    interleaved.insert(interleaved.end(), second.begin(), second.begin() + 58);
    interleaved.insert(interleaved.end(), first.begin() + 58, first.end());
    EXPECT_FALSE(IsSingleOggStream(interleaved.data(), interleaved.size()));
}
