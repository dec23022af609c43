#pragma once

#include <cstdint>
#include <memory>

namespace Zorva {

class Font;
class MemoryImage;

/// The frame-rate overlay: counts the frames presented in each whole second and, while
/// shown, draws the rate or the pointer position in the screen image's bottom right corner.
class FpsOverlay
{
public:
    FpsOverlay();
    ~FpsOverlay();
    FpsOverlay(const FpsOverlay&) = delete;
    FpsOverlay& operator=(const FpsOverlay&) = delete;

    bool IsShown() const { return shown; }
    void SetShown(bool on) { shown = on; }
    /// 0: frames per second; 1: the pointer position.
    int GetMode() const { return mode; }
    void SetMode(int newMode) { mode = newMode; }

    void CountFrame(int64_t presentTime);
    /// Frames presented in the last whole second.
    int FramesLastSecond() const { return framesLastSecond; }
    /// White on a black box; the font is made on first use.
    void Draw(MemoryImage& screen, int pointerX, int pointerY);

private:
    bool shown = false;
    int mode = 0;
    int framesThisSecond = 0;
    int framesLastSecond = 0;
    int64_t secondStart = 0;
    std::unique_ptr<Font> font;
};

} // namespace Zorva
