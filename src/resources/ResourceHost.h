#pragma once

#include "graphics/FontServices.h"

#include <memory>
#include <string>

namespace Zorva {

class MemoryImage;

/// What the resource manager needs from the application: shared and display images, and a
/// place for its sounds. The manager works without one (images then load straight from
/// their files and sounds go nowhere).
class ResourceHost
{
public:
    virtual ~ResourceHost() = default;

    /// Whether drawing is hardware accelerated; decides how images are prepared.
    virtual bool Is3D() const = 0;
    /// One shared image per (path, variant); `newlyLoaded` tells that this call read it.
    virtual SharedImage GetSharedImage(const std::string& path,
                                       const std::string& variant = {}) = 0;
    /// Loads an image file into a new display image; null when it cannot be read.
    virtual std::unique_ptr<MemoryImage> LoadImageToSurface(const std::string& file,
                                                            bool lookForAlphaImage) = 0;
    /// Loads a manifest sound into `id` with its base volume (below 0: unset) and pan.
    virtual bool LoadSoundResource(int id, const std::string& path, double volume, int pan) = 0;
};

} // namespace Zorva
