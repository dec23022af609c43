#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

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
    /// What the overlay shows; while a demo plays back, its time follows as "%02d:%02d:%02d".
    std::string Text(int pointerX, int pointerY, std::optional<int64_t> demoMs) const;
    /// White on a black box; the font is made on first use.
    void Draw(MemoryImage& screen, int pointerX, int pointerY,
              std::optional<int64_t> demoMs = std::nullopt);

private:
    bool shown = false;
    int mode = 0;
    int framesThisSecond = 0;
    int framesLastSecond = 0;
    int64_t secondStart = 0;
    std::unique_ptr<Font> font;
};

} // namespace Zorva
