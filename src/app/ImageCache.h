#pragma once

#include "graphics/FontServices.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace Zorva {

class MemoryImage;

/// One shared image per (path, variant), loaded on first request. The loading thread and the
/// main thread both ask for images, so every request runs under the cache's lock, the load
/// included: two threads asking for the same picture read it once.
class ImageCache
{
public:
    using Loader = std::function<std::unique_ptr<MemoryImage>(const std::string& path)>;

    /// The cached image, or the one `load` makes for `path` (kept only when there is one);
    /// `newlyLoaded` tells that this call loaded it.
    SharedImage Get(const std::string& path, const std::string& variant, const Loader& load);

private:
    struct Key
    {
        std::string path;
        std::string variant;
        bool operator<(const Key& other) const
        {
            return path != other.path ? path < other.path : variant < other.variant;
        }
    };

    std::mutex mutex;
    std::map<Key, std::shared_ptr<MemoryImage>> images;
};

} // namespace Zorva
