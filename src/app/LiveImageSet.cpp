#include "app/LiveImageSet.h"

#include "graphics/MemoryImage.h"

namespace Zorva {

void LiveImageSet::Install()
{
    previousRegistry = CurrentImageRegistry();
    SetImageRegistry(this);
}

void LiveImageSet::AddImage(MemoryImage* image)
{
    const std::lock_guard lock(mutex);
    images.insert(image);
}

void LiveImageSet::RemoveImage(MemoryImage* image)
{
    const std::lock_guard lock(mutex);
    images.erase(image);
}

std::size_t LiveImageSet::Count() const
{
    const std::lock_guard lock(mutex);
    return images.size();
}

void LiveImageSet::DropTextures()
{
    const std::lock_guard lock(mutex);
    for (MemoryImage* image : images) {
        image->DropTexture();
    }
}

void LiveImageSet::Uninstall()
{
    {
        const std::lock_guard lock(mutex);
        for (MemoryImage* image : images) {
            image->registry = nullptr;
        }
        images.clear();
    }
    SetImageRegistry(previousRegistry);
}

} // namespace Zorva
