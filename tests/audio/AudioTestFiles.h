#pragma once

#include "audio/SoundBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Zorva::Testing {

using Bytes = std::vector<uint8_t>;

/// A 16-bit sound whose every sample is `value`.
SoundBuffer ConstantSound(int16_t value, int frames, int channels = 1, int rate = 44100);
/// A 16-bit mono sound of the given samples.
SoundBuffer SoundOf(const std::vector<int16_t>& samples, int rate = 44100);

/// A RIFF chunk: id, little-endian size, body and the pad byte of an odd size.
Bytes Chunk(const char* id, const Bytes& body);
/// A 16-byte "fmt " body.
Bytes FormatBody(int formatTag, int channels, int rate, int bits);
/// "RIFF", size, "WAVE" and the chunks.
Bytes Riff(const std::vector<Bytes>& chunks);
/// A plain PCM WAV file of the sound.
Bytes WavOf(const SoundBuffer& sound);

/// A Sun ".au" file.
Bytes AuFile(uint32_t encoding, uint32_t rate, uint32_t channels, const Bytes& data,
             uint32_t offset = 24);

/// An Ogg Vorbis file of a quiet sine wave (libvorbisenc).
Bytes OggSine(int channels, int rate, int frames);

/// A four-channel ProTracker module of one pattern that sounds a looped square wave. With
/// `oneRow` the song breaks off after its first row (about 20 ms).
Bytes TinyMod(bool oneRow);

void WriteBytes(const std::string& path, const Bytes& bytes);
Bytes ReadBytes(const std::string& path);

/// A fresh folder that is the working directory while the object lives, then removed.
class ScopedTempFolder
{
public:
    ScopedTempFolder();
    ~ScopedTempFolder();
    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;
    const std::string& Path() const { return path; }

private:
    std::string path;
    std::string previous;
};

/// The sample at `frame` of interleaved stereo output, channel 0 left, 1 right.
inline int16_t At(const std::vector<int16_t>& stereo, int frame, int channel)
{
    return stereo.at(static_cast<std::size_t>(2 * frame + channel));
}

} // namespace Zorva::Testing
