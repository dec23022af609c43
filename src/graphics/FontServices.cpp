#include "graphics/FontServices.h"

#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"

#include <iostream>
#include <mutex>
#include <utility>

namespace Zorva {

namespace {

std::mutex& ServicesLock()
{
    static std::mutex lock;
    return lock;
}

FontErrorHandler& ErrorHandler()
{
    static FontErrorHandler handler;
    return handler;
}

SharedImageLoader& ImageLoader()
{
    static SharedImageLoader loader;
    return loader;
}

SharedImage LoadImageFromFile(const std::string& path)
{
    SharedImage result;
    const auto loaded = ImageLib::LoadImageFile(path, true);
    if (loaded == nullptr || loaded->bits == nullptr || loaded->width <= 0 || loaded->height <= 0) {
        return result;
    }
    auto image = std::make_shared<MemoryImage>();
    image->SetPixels(loaded->bits.get(), loaded->width, loaded->height, true);
    if (image->GetWidth() != loaded->width || image->GetHeight() != loaded->height) {
        return result;
    }
    result.image = std::move(image);
    result.newlyLoaded = true;
    return result;
}

} // namespace

void ReportFontError(const std::string& message)
{
    FontErrorHandler handler;
    {
        std::lock_guard guard(ServicesLock());
        handler = ErrorHandler();
    }
    // Called outside the lock so that a handler may install another.
    if (handler) {
        handler(message);
    } else {
        std::cerr << message << '\n';
    }
}

FontErrorHandler SetFontErrorHandler(FontErrorHandler handler)
{
    std::lock_guard guard(ServicesLock());
    return std::exchange(ErrorHandler(), std::move(handler));
}

SharedImage GetSharedImage(const std::string& path)
{
    SharedImageLoader loader;
    {
        std::lock_guard guard(ServicesLock());
        loader = ImageLoader();
    }
    return loader ? loader(path) : LoadImageFromFile(path);
}

SharedImageLoader SetSharedImageLoader(SharedImageLoader loader)
{
    std::lock_guard guard(ServicesLock());
    return std::exchange(ImageLoader(), std::move(loader));
}

} // namespace Zorva
