#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace Zorva {

class Font;
class MemoryImage;

/// Counts the frames presented in each whole second and draws a short text in the screen
/// image's bottom right corner.
class FpsOverlay
{
public:
    FpsOverlay();
    ~FpsOverlay();
    FpsOverlay(const FpsOverlay&) = delete;
    FpsOverlay& operator=(const FpsOverlay&) = delete;

    void CountFrame(int64_t presentTime);
    /// Frames presented in the last whole second.
    int FramesLastSecond() const { return framesLastSecond; }
    /// White on a black box; the font is made on first use.
    void Draw(MemoryImage& screen, const std::string& text);

private:
    int framesThisSecond = 0;
    int framesLastSecond = 0;
    int64_t secondStart = 0;
    std::unique_ptr<Font> font;
};

} // namespace Zorva
