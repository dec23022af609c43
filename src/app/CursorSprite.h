#pragma once

#include "app/HandCursors.h"
#include "graphics/Rect.h"

#include <cstdint>
#include <vector>

namespace Zorva {

class MemoryImage;

/// The arrow pointer drawn into the screen image for one frame, where the window system's
/// own cursor cannot show the place wanted (a demo plays back the recorded pointer). Drawing
/// keeps the pixels it covers, so that Restore leaves the screen image exactly as it was.
class CursorSprite
{
public:
    CursorSprite();

    /// Blends the arrow with its tip at (x, y), clipped to the image, and keeps what it covers;
    /// a sprite still drawn is taken away first.
    void DrawAt(MemoryImage& screen, int x, int y);
    /// Puts back the pixels the last DrawAt covered; nothing when none are kept.
    void Restore(MemoryImage& screen);

    const CursorPixels& Pixels() const { return arrow; }

private:
    CursorPixels arrow;
    /// The part of the image covered, empty when nothing is kept.
    Rect savedArea;
    std::vector<uint32_t> savedPixels;
};

/// The classic arrow, 11 by 19, white with a black outline and a faint shadow down and right
/// (12 by 20 in all), the tip at (0, 0).
CursorPixels ArrowCursorPixels();

} // namespace Zorva
