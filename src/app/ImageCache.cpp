#include "app/ImageCache.h"

#include "graphics/MemoryImage.h"

namespace Zorva {

SharedImage ImageCache::Get(const std::string& path, const std::string& variant, const Loader& load)
{
    const std::lock_guard lock(mutex);
    Key key{path, variant};
    const auto found = images.find(key);
    if (found != images.end()) {
        return SharedImage{found->second, false};
    }
    std::shared_ptr<MemoryImage> image = load(path);
    if (!image) {
        return SharedImage{};
    }
    images.emplace(std::move(key), image);
    return SharedImage{image, true};
}

} // namespace Zorva
