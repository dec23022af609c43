#pragma once

#include <cstddef>
#include <mutex>
#include <set>

namespace Zorva {

class MemoryImage;

/// Every live image of the application, for display resets. Images register and leave from
/// any thread (they are also made on the loading thread), so the set has its own lock; the
/// images are not owned.
class LiveImageSet
{
public:
    void Add(MemoryImage* image);
    void Remove(MemoryImage* image);
    std::size_t Count() const;
    /// Each image drops its display texture.
    void DropTextures();
    /// The owner goes: every image forgets its registry and the set is emptied.
    void DetachAll();

private:
    mutable std::mutex mutex;
    std::set<MemoryImage*> images;
};

} // namespace Zorva
