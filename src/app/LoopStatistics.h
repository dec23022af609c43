#pragma once

namespace Zorva {

/// What the main loop counted during the run, written to the debug output at its end.
struct LoopStatistics
{
    /// Frames presented ("Draw Count").
    int drawCount = 0;
    /// Sleeps taken by the loop ("Sleep Count").
    int sleepCount = 0;
    /// Calls of PresentFrame that reached the display.
    int presentCount = 0;
    /// Milliseconds spent drawing ("Draw Time") and presenting ("Screen Blt").
    int drawTimeTotal = 0;
    int presentTimeTotal = 0;
};

} // namespace Zorva
