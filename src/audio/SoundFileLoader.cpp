#include "audio/SoundFileLoader.h"

#include "audio/AuReader.h"
#include "audio/AudioFiles.h"
#include "audio/OggReader.h"
#include "audio/WavReader.h"
#include "audio/WavWriter.h"
#include "system/AppFiles.h"
#include "system/AtomicFile.h"

#include <algorithm>

namespace Zorva {

namespace {

/// Compressed files larger than this are not sound effects.
constexpr std::size_t kMaxSoundFileBytes = kMaxSoundBytes;
constexpr std::size_t kMaxSourceNameLength = 255;

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

bool HasParentStep(const std::string& path)
{
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        if (path.compare(start, end - start, "..") == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

bool SourceIsCurrent(const std::string& sourceName, int64_t fileTime)
{
    const std::optional<int64_t> actual = FileModificationTime(sourceName);
    return actual.has_value() && *actual == fileTime;
}

} // namespace

SoundFileLoader::SoundFileLoader(std::string folder) : cacheFolder(std::move(folder)) {}

std::string SoundFileLoader::CachePathFor(const std::string& name) const
{
    const std::string path = WithForwardSlashes(name);
    const bool relative = path.size() > 2 && path[0] != '/' && path[1] != ':';
    if (cacheFolder.empty() || !relative || HasParentStep(path)) {
        return {};
    }
    return cacheFolder + "/" + path + ".wav";
}

std::optional<SoundBuffer> SoundFileLoader::Load(const std::string& name) const
{
    const std::string path = WithForwardSlashes(name);
    const std::string cachePath = CachePathFor(path);
    if (!cachePath.empty()) {
        if (auto cached = ReadCached(cachePath)) {
            return cached;
        }
        EnsureFolder(cachePath.substr(0, cachePath.rfind('/')));
    }
    if (auto plain = ReadSoundFile(path + ".wav")) {
        return plain;
    }
    for (const char* extension : {".ogg", ".au"}) {
        const std::string sourcePath = path + extension;
        if (auto decoded = ReadSoundFile(sourcePath)) {
            if (!cachePath.empty()) {
                WriteCache(cachePath, *decoded, sourcePath);
            }
            return decoded;
        }
    }
    return std::nullopt;
}

std::optional<SoundBuffer> SoundFileLoader::ReadCached(const std::string& cachePath) const
{
    const auto bytes = ReadFileBytes(cachePath, kMaxSoundBytes + 1024);
    if (!bytes) {
        return std::nullopt;
    }
    return ReadWav(bytes->data(), bytes->size(), &SourceIsCurrent);
}

void SoundFileLoader::WriteCache(const std::string& cachePath, const SoundBuffer& sound,
                                 const std::string& sourcePath) const
{
    // A name the "dep " chunk cannot hold would make the cache stale at every start.
    const std::optional<int64_t> fileTime = FileModificationTime(sourcePath);
    if (!fileTime || sourcePath.size() > kMaxSourceNameLength) {
        return;
    }
    WriteFileAtomically(cachePath, EncodeCachedWav(sound, SoundSource{sourcePath, *fileTime}));
}

std::optional<SoundBuffer> ReadSoundFile(const std::string& path)
{
    const auto bytes = ReadFileBytes(path, kMaxSoundFileBytes);
    if (!bytes) {
        return std::nullopt;
    }
    if (EndsWith(path, ".ogg")) {
        return ReadOgg(bytes->data(), bytes->size());
    }
    if (EndsWith(path, ".au")) {
        return ReadAu(bytes->data(), bytes->size());
    }
    return ReadWav(bytes->data(), bytes->size(), &SourceIsCurrent);
}

} // namespace Zorva
