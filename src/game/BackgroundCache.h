#pragma once

#include <memory>

namespace Zorva {
class Graphics;
class Image;
class MemoryImage;
} // namespace Zorva

class PlayField;

/// The static part of the game screen, drawn once and copied in one blit per frame: the
/// level background, a border under every resting field stone, the preview frame and the
/// panels.
class BackgroundCache
{
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    BackgroundCache();
    ~BackgroundCache();
    BackgroundCache(const BackgroundCache&) = delete;
    BackgroundCache& operator=(const BackgroundCache&) = delete;

    /// Draws the cache anew from the field and the level background (may be null: black).
    void Rebuild(const PlayField& field, Zorva::Image* levelBackground);
    /// The cached picture; made (black) on first use.
    Zorva::Image* GetImage();

private:
    void Create();

    std::unique_ptr<Zorva::MemoryImage> image;
    std::unique_ptr<Zorva::Graphics> graphics;
};
