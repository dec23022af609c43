#pragma once

#include <functional>
#include <memory>
#include <string>

namespace Zorva {

class MemoryImage;

/// Hooks through which fonts reach the application: error pop-ups and the shared image
/// cache. Until the application installs its own, errors go to standard error and images
/// are loaded afresh from their files.

using FontErrorHandler = std::function<void(const std::string& message)>;

/// Shows a font error to the user through the installed handler.
void ReportFontError(const std::string& message);
/// Installs a handler (an empty one restores the standard-error default); returns the one
/// it replaces.
FontErrorHandler SetFontErrorHandler(FontErrorHandler handler);

/// An image shared between its users; `newlyLoaded` tells that this request read it.
struct SharedImage
{
    std::shared_ptr<MemoryImage> image;
    bool newlyLoaded = false;
};

using SharedImageLoader = std::function<SharedImage(const std::string& path)>;

/// The image at `path` (null image when it cannot be loaded).
SharedImage GetSharedImage(const std::string& path);
/// Installs a loader (an empty one restores the plain file loader); returns the one it
/// replaces.
SharedImageLoader SetSharedImageLoader(SharedImageLoader loader);

} // namespace Zorva
