#include "app/platform/DDInterface.h"

#include "app/ChangedRegion.h"
#include "app/platform/DDImage.h"
#include "app/platform/SdlWindowSystem.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace Zorva {

namespace {

constexpr int kDefaultRefreshRate = 60;

std::string SdlError(const char* step)
{
    return std::string(step) + ": " + SDL_GetError();
}

bool IsUsableDepth(int bitsPerPixel)
{
    return bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
}

} // namespace

void DDInterface::RendererDeleter::operator()(SDL_Renderer* doomed) const
{
    SDL_DestroyRenderer(doomed);
}

void DDInterface::TextureDeleter::operator()(SDL_Texture* doomed) const
{
    SDL_DestroyTexture(doomed);
}

DDInterface::DDInterface(SdlWindowSystem& windowSystem, int screenWidth, int screenHeight)
    : windows(windowSystem), width(screenWidth), height(screenHeight)
{}

DDInterface::~DDInterface()
{
    Cleanup();
    const std::lock_guard guard(imagesLock);
    for (DDImage* image : images) {
        image->ddInterface = nullptr;
    }
    images.clear();
}

int DDInterface::Initialize(bool wantWindowed, bool accelerated)
{
    is3D = accelerated;
    return Init(wantWindowed);
}

int DDInterface::Init(bool wantWindowed)
{
    const std::lock_guard guard(displayLock);
    CleanupLocked();
    windowed = wantWindowed;
    SDL_Window* window = windows.Window();
    if (window == nullptr) {
        errorText = "No main window";
        return kResultCreateFailed;
    }
    SDL_DisplayMode desktop;
    const int display = std::max(SDL_GetWindowDisplayIndex(window), 0);
    if (SDL_GetDesktopDisplayMode(display, &desktop) == 0 &&
        !IsUsableDepth(static_cast<int>(SDL_BITSPERPIXEL(desktop.format)))) {
        errorText = "Desktop color depth";
        return kResultInvalidColorDepth;
    }
    if (!windowed && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) == 0) {
        errorText = "SetFullscreen";
        return kResultExclusiveFailed;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    if (is3D) {
        renderer.reset(SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED));
        if (!renderer) {
            errorText = std::string("3D init error: ") + SDL_GetError();
            return kResult3DFailed;
        }
    } else {
        renderer.reset(SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE));
        if (!renderer) {
            errorText = SdlError("CreateRenderer");
            return kResultCreateFailed;
        }
    }
    const int result = CreateTextureLocked();
    if (result != kResultOk) {
        CleanupLocked();
        return result;
    }
    // A reset reported before this renderer existed does not concern it.
    windows.TakeDisplayReset();
    errorText.clear();
    return kResultOk;
}

int DDInterface::CreateTextureLocked()
{
    texture.reset(SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_ARGB8888,
                                    SDL_TEXTUREACCESS_STREAMING, width, height));
    if (!texture) {
        errorText = SdlError("CreateTexture DrawSurface");
        return kResultSurfaceFailed;
    }
    // The screen image's alpha means nothing on screen.
    SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_NONE);
    shownPixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    textureStale = true;
    return kResultOk;
}

void DDInterface::Cleanup()
{
    const std::lock_guard guard(displayLock);
    CleanupLocked();
}

void DDInterface::CleanupLocked()
{
    texture.reset();
    renderer.reset();
}

bool DDInterface::Present(MemoryImage& screen, const Rect&)
{
    return Redraw(screen);
}

bool DDInterface::Redraw(MemoryImage& screen)
{
    const std::lock_guard guard(displayLock);
    if (!renderer) {
        return false;
    }
    if (windows.TakeDisplayReset()) {
        CleanupLocked();
        return false;
    }
    if (screen.GetWidth() != width || screen.GetHeight() != height) {
        width = screen.GetWidth();
        height = screen.GetHeight();
        if (CreateTextureLocked() != kResultOk) {
            CleanupLocked();
            return false;
        }
    }
    if (width <= 0 || height <= 0) {
        return true;
    }
    const bool wholeWindowDue = windows.TakeFullRedrawRequest();
    const bool changed =
        textureStale || wholeWindowDue ||
        !FindChangedRect(shownPixels.data(), screen.GetPixels(), width, height).IsEmpty();
    if (!changed) {
        // Nothing new: the window still shows this very picture.
        return true;
    }
    if (!UploadChangesLocked(screen.GetPixels())) {
        CleanupLocked();
        return false;
    }
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer.get(), &outputWidth, &outputHeight);
    scaler.Configure(width, height, outputWidth, outputHeight);
    const Rect destination = scaler.Destination();
    const SDL_Rect target{destination.x, destination.y, destination.width, destination.height};
    SDL_SetTextureScaleMode(texture.get(),
                            scaler.IsWholeMultiple() ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
    SDL_SetRenderDrawColor(renderer.get(), 0, 0, 0, 255);
    if (SDL_RenderClear(renderer.get()) != 0 ||
        SDL_RenderCopy(renderer.get(), texture.get(), nullptr, &target) != 0) {
        CleanupLocked();
        return false;
    }
    SDL_RenderPresent(renderer.get());
    ++framesPresented;
    return true;
}

bool DDInterface::UploadChangesLocked(const uint32_t* pixels)
{
    const Rect changed = textureStale ? Rect(0, 0, width, height)
                                      : FindChangedRect(shownPixels.data(), pixels, width, height);
    textureStale = false;
    if (changed.IsEmpty()) {
        return true;
    }
    const auto stride = static_cast<std::size_t>(width);
    const std::size_t first =
        static_cast<std::size_t>(changed.y) * stride + static_cast<std::size_t>(changed.x);
    const SDL_Rect area{changed.x, changed.y, changed.width, changed.height};
    if (SDL_UpdateTexture(texture.get(), &area, pixels + first,
                          static_cast<int>(stride * sizeof(uint32_t))) != 0) {
        textureStale = true;
        return false;
    }
    for (int row = 0; row < changed.height; ++row) {
        const std::size_t at = first + static_cast<std::size_t>(row) * stride;
        std::memcpy(shownPixels.data() + at, pixels + at,
                    static_cast<std::size_t>(changed.width) * sizeof(uint32_t));
    }
    pixelsUploaded += int64_t{changed.width} * changed.height;
    return true;
}

int DDInterface::RefreshRate() const
{
    SDL_Window* window = windows.Window();
    SDL_DisplayMode mode;
    if (window != nullptr && SDL_GetWindowDisplayMode(window, &mode) == 0 &&
        mode.refresh_rate > 0) {
        return mode.refresh_rate;
    }
    return kDefaultRefreshRate;
}

bool DDInterface::CanAccelerate() const
{
    const int count = SDL_GetNumRenderDrivers();
    for (int index = 0; index < count; ++index) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(index, &info) == 0 &&
            (info.flags & SDL_RENDERER_ACCELERATED) != 0) {
            return true;
        }
    }
    return false;
}

bool DDInterface::Is3DAccelerated() const
{
    SDL_RendererInfo info;
    return is3D && renderer && SDL_GetRendererInfo(renderer.get(), &info) == 0 &&
           (info.flags & SDL_RENDERER_ACCELERATED) != 0;
}

std::unique_ptr<MemoryImage> DDInterface::CreateScreenImage(int screenWidth, int screenHeight)
{
    auto image = CreateImage();
    image->Create(screenWidth, screenHeight);
    {
        const std::lock_guard guard(displayLock);
        width = screenWidth;
        height = screenHeight;
        textureStale = true;
    }
    screenImage = image.get();
    return image;
}

std::unique_ptr<DDImage> DDInterface::CreateImage()
{
    return std::make_unique<DDImage>(this);
}

std::size_t DDInterface::ImageCount() const
{
    const std::lock_guard guard(imagesLock);
    return images.size();
}

void DDInterface::AddImage(DDImage* image)
{
    const std::lock_guard guard(imagesLock);
    images.insert(image);
}

void DDInterface::RemoveImage(DDImage* image)
{
    const std::lock_guard guard(imagesLock);
    images.erase(image);
    if (screenImage == image) {
        screenImage = nullptr;
    }
}

} // namespace Zorva
