#include "audio/OggReader.h"

#include "audio/VorbisDecoder.h"

#include <vector>

namespace Zorva {

std::optional<SoundBuffer> ReadOgg(const uint8_t* bytes, std::size_t size)
{
    if (bytes == nullptr || size == 0) {
        return std::nullopt;
    }
    auto decoder = VorbisDecoder::Open(std::vector<uint8_t>(bytes, bytes + size));
    if (!decoder) {
        return std::nullopt;
    }
    SoundBuffer sound;
    sound.channels = decoder->Channels();
    sound.sampleRate = decoder->SampleRate();
    sound.bitsPerSample = 16;
    if (!IsPlayableFormat(sound.channels, sound.sampleRate, sound.bitsPerSample)) {
        return std::nullopt;
    }
    const int64_t frames = decoder->TotalFrames();
    const int frameBytes = sound.BlockAlign();
    if (frames <= 0 || frames > static_cast<int64_t>(kMaxSoundBytes / frameBytes)) {
        return std::nullopt;
    }
    std::vector<int16_t> samples(static_cast<std::size_t>(frames) *
                                 static_cast<std::size_t>(sound.channels));
    int64_t filled = 0;
    while (filled < frames) {
        const long got = decoder->ReadFrames(samples.data() + filled * sound.channels,
                                             static_cast<long>(frames - filled));
        if (got <= 0) {
            break;
        }
        filled += got;
    }
    if (filled != frames) {
        return std::nullopt;
    }
    sound.data.resize(samples.size() * 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const auto sample = static_cast<uint16_t>(samples[i]);
        sound.data[2 * i] = static_cast<uint8_t>(sample & 0xFF);
        sound.data[2 * i + 1] = static_cast<uint8_t>(sample >> 8);
    }
    return sound;
}

} // namespace Zorva
