#pragma once

#include "app/DisplayOutput.h"
#include "app/ScreenScaler.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

struct SDL_Renderer;
struct SDL_Texture;

namespace Zorva {

class DDImage;
class SdlWindowSystem;

/// The display back-end on SDL2: a renderer on the main window (accelerated when 3D is on,
/// else SDL's software renderer) and a streaming texture of the screen image's size. A
/// present uploads only the pixels that changed since the last one and shows the picture
/// scaled to the window, aspect kept, with black bars.
///
/// Threads: presenting and initialisation hold the display lock; images may be made and
/// destroyed on any thread.
class DDInterface : public DisplayOutput
{
public:
    static constexpr int kResultOk = 0;
    static constexpr int kResultCreateFailed = 2;
    static constexpr int kResultSurfaceFailed = 3;
    static constexpr int kResultExclusiveFailed = 4;
    static constexpr int kResultInvalidColorDepth = 6;
    static constexpr int kResult3DFailed = 7;

    DDInterface(SdlWindowSystem& windows, int screenWidth, int screenHeight);
    ~DDInterface() override;
    DDInterface(const DDInterface&) = delete;
    DDInterface& operator=(const DDInterface&) = delete;

    /// (Re)makes the renderer and texture for the main window; a result code, with the
    /// failing step in ErrorText.
    int Init(bool windowed);
    /// Shows the screen image; false when the display was lost.
    bool Redraw(MemoryImage& screen);
    /// Releases the renderer and texture.
    void Cleanup();

    // DisplayOutput
    bool Present(MemoryImage& screen, const Rect& rect) override;
    int Initialize(bool windowed, bool accelerated) override;
    /// True when SDL offers a render driver that is accelerated.
    bool CanAccelerate() const override;
    int RefreshRate() const override;
    std::string ErrorText() const override { return errorText; }
    void Release() override { Cleanup(); }
    std::unique_ptr<MemoryImage> CreateScreenImage(int width, int height) override;

    /// A new image bound to this back-end.
    std::unique_ptr<DDImage> CreateImage();
    /// The screen image made by CreateScreenImage, while it lives.
    DDImage* GetScreenImage() const { return screenImage; }
    bool Is3DAccelerated() const;
    /// Where the last present put the screen image in the window.
    Rect LastDestination() const { return scaler.Destination(); }
    /// Frames shown and pixels uploaded since construction.
    int FramesPresented() const { return framesPresented; }
    int64_t PixelsUploaded() const { return pixelsUploaded; }
    std::size_t ImageCount() const;

    /// The 3D switch: an accelerated renderer is asked for when set.
    bool is3D = false;

private:
    friend class DDImage;
    struct RendererDeleter
    {
        void operator()(SDL_Renderer* renderer) const;
    };
    struct TextureDeleter
    {
        void operator()(SDL_Texture* texture) const;
    };

    void AddImage(DDImage* image);
    void RemoveImage(DDImage* image);
    void CleanupLocked();
    int CreateTextureLocked();
    /// Uploads the pixels that differ from what the texture holds; false on failure.
    bool UploadChangesLocked(const uint32_t* pixels);

    SdlWindowSystem& windows;
    int width;
    int height;
    bool windowed = true;
    std::string errorText;
    std::unique_ptr<SDL_Renderer, RendererDeleter> renderer;
    std::unique_ptr<SDL_Texture, TextureDeleter> texture;
    /// What the texture shows; compared with each new frame.
    std::vector<uint32_t> shownPixels;
    bool textureStale = true;
    ScreenScaler scaler;
    int framesPresented = 0;
    int64_t pixelsUploaded = 0;
    std::mutex displayLock;
    mutable std::mutex imagesLock;
    std::set<DDImage*> images;
    DDImage* screenImage = nullptr;
};

} // namespace Zorva
