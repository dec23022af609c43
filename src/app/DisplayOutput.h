#pragma once

#include "graphics/Rect.h"

namespace Zorva {

class MemoryImage;

/// Shows the screen image. The SDL back-end comes with the display layer; headless runs use
/// the null one, which accepts every frame.
class DisplayOutput
{
public:
    virtual ~DisplayOutput() = default;
    /// False when the display was lost and the frame was not shown.
    virtual bool Present(MemoryImage& screen, const Rect& rect) = 0;
};

class NullDisplayOutput : public DisplayOutput
{
public:
    bool Present(MemoryImage&, const Rect&) override { return true; }
};

} // namespace Zorva
