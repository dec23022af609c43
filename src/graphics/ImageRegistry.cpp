#include "graphics/ImageRegistry.h"

#include <atomic>

namespace Zorva {

namespace {

std::atomic<ImageRegistry*> installedRegistry{nullptr};

} // namespace

void SetImageRegistry(ImageRegistry* registry)
{
    installedRegistry.store(registry);
}

ImageRegistry* CurrentImageRegistry()
{
    return installedRegistry.load();
}

} // namespace Zorva
