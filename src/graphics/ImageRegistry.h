#pragma once

namespace Zorva {

class MemoryImage;

/// The application's set of live images (memory statistics, the image dump, 3D data release).
/// Every MemoryImage registers on construction and unregisters on destruction with the
/// registry installed then; until the application installs one, nothing is recorded.
class ImageRegistry
{
public:
    virtual ~ImageRegistry() = default;
    virtual void AddImage(MemoryImage* image) = 0;
    virtual void RemoveImage(MemoryImage* image) = 0;
    /// Releases the 3D data of an image (DropTexture).
    virtual void DropImageTexture(MemoryImage* image) = 0;
};

/// Installs the process-wide registry (null removes it). Images made earlier stay with the
/// registry they were made under.
void SetImageRegistry(ImageRegistry* registry);
ImageRegistry* CurrentImageRegistry();

} // namespace Zorva
