#pragma once

#include "audio/SoundBuffer.h"

#include <optional>
#include <string>

namespace Zorva {

/// Finds and decodes the sample a sound name stands for: the decoded copy in the cache
/// folder, else name + ".wav", else name + ".ogg" or ".au", whose decoded form is then
/// written to the cache. A cache whose source file changed is stale and rebuilt; a cache that
/// cannot be written is simply not kept.
class SoundFileLoader
{
public:
    /// An empty `cacheFolder` turns the cache off.
    explicit SoundFileLoader(std::string cacheFolder);

    std::optional<SoundBuffer> Load(const std::string& name) const;

    /// Where the decoded copy of `name` lives; empty for names that are not relative or that
    /// would leave the cache folder.
    std::string CachePathFor(const std::string& name) const;

private:
    std::optional<SoundBuffer> ReadCached(const std::string& cachePath) const;
    void WriteCache(const std::string& cachePath, const SoundBuffer& sound,
                    const std::string& sourcePath) const;

    std::string cacheFolder;
};

/// Reads one sample file by its extension (".wav", ".ogg", ".au").
std::optional<SoundBuffer> ReadSoundFile(const std::string& path);

} // namespace Zorva
