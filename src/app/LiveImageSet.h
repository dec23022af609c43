#pragma once

#include "graphics/ImageRegistry.h"

#include <cstddef>
#include <mutex>
#include <set>

namespace Zorva {

class MemoryImage;

/// Every live image of the application, for display resets: the application's image
/// registry. Images register and leave from any thread (they are also made on the loading
/// thread), so the set has its own lock; the images are not owned.
class LiveImageSet : public ImageRegistry
{
public:
    /// Becomes the process-wide registry; Uninstall puts the one before back.
    void Install();
    /// The owner goes: every image forgets its registry, the set is emptied and the
    /// previous registry comes back.
    void Uninstall();

    void AddImage(MemoryImage* image) override;
    void RemoveImage(MemoryImage* image) override;
    /// Drawing is in software; there is no 3D texture to release yet.
    void DropImageTexture(MemoryImage*) override {}
    std::size_t Count() const;
    /// Each image drops its display texture.
    void DropTextures();

private:
    ImageRegistry* previousRegistry = nullptr;
    mutable std::mutex mutex;
    std::set<MemoryImage*> images;
};

} // namespace Zorva
