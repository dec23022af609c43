#include "StereoWavFile.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>

namespace {

void PutLittleEndian(std::string& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

} // namespace

std::string EncodeStereoWav(const RenderedSong& song)
{
    const auto dataBytes = static_cast<uint32_t>(song.stereo.size() * 2);
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    PutLittleEndian(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLittleEndian(out, 16, 4);
    PutLittleEndian(out, 1, 2); // PCM
    PutLittleEndian(out, 2, 2);
    PutLittleEndian(out, static_cast<uint32_t>(song.rate), 4);
    PutLittleEndian(out, static_cast<uint32_t>(song.rate) * 4, 4);
    PutLittleEndian(out, 4, 2);
    PutLittleEndian(out, 16, 2);
    out += "data";
    PutLittleEndian(out, dataBytes, 4);
    for (const float value : song.stereo) {
        const long sample = std::lround(std::clamp(value, -1.0f, 1.0f) * 32767.0f);
        PutLittleEndian(out, static_cast<uint32_t>(static_cast<int16_t>(sample)) & 0xFFFF, 2);
    }
    return out;
}

bool WriteStereoWav(const RenderedSong& song, const std::string& path)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::string bytes = EncodeStereoWav(song);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}
