#include "audio/WavWriter.h"

namespace Zorva {

namespace {

void PutLe(std::string& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

void PutChunkHeader(std::string& out, const char* id, std::size_t size)
{
    out.append(id, 4);
    PutLe(out, size, 4);
}

} // namespace

std::string EncodeCachedWav(const SoundBuffer& sound, const SoundSource& source)
{
    const std::size_t depSize = source.name.size() + 10;
    const std::size_t depPadding = depSize & 1;
    const std::size_t dataPadding = sound.data.size() & 1;
    // The RIFF size covers every chunk, so other tools read the file whole.
    const std::size_t riffSize =
        4 + (8 + 16) + (8 + depSize + depPadding) + (8 + sound.data.size() + dataPadding);
    std::string out;
    out.reserve(riffSize + 8);
    PutChunkHeader(out, "RIFF", riffSize);
    out.append("WAVE", 4);

    PutChunkHeader(out, "fmt ", 16);
    PutLe(out, 1, 2);
    PutLe(out, static_cast<uint64_t>(sound.channels), 2);
    PutLe(out, static_cast<uint64_t>(sound.sampleRate), 4);
    PutLe(out, static_cast<uint64_t>(sound.ByteRate()), 4);
    PutLe(out, static_cast<uint64_t>(sound.BlockAlign()), 2);
    PutLe(out, static_cast<uint64_t>(sound.bitsPerSample), 2);

    PutChunkHeader(out, "dep ", depSize);
    PutLe(out, source.name.size(), 2);
    out.append(source.name);
    PutLe(out, static_cast<uint64_t>(source.fileTime), 8);
    out.append(depPadding, '\0');

    PutChunkHeader(out, "data", sound.data.size());
    out.append(reinterpret_cast<const char*>(sound.data.data()), sound.data.size());
    out.append(dataPadding, '\0');
    return out;
}

} // namespace Zorva
