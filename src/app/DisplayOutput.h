#pragma once

#include "graphics/MemoryImage.h"
#include "graphics/Rect.h"

#include <iterator>
#include <memory>
#include <string>

namespace Zorva {

/// Shows the screen image. The SDL back-end comes with the display layer; headless runs use
/// the null one, which accepts every frame.
class DisplayOutput
{
public:
    virtual ~DisplayOutput() = default;
    /// False when the display was lost and the frame was not shown.
    virtual bool Present(MemoryImage& screen, const Rect& rect) = 0;
    /// (Re)creates the display for the window mode; 0 on success, else the failure code
    /// (6: unusable colour depth, 7: the accelerated renderer failed, others fatal).
    virtual int Initialize(bool windowed, bool accelerated) = 0;
    /// Whether an accelerated display can be made on this machine at all.
    virtual bool CanAccelerate() const { return false; }
    /// The display's refresh rate in hertz (used by the vertical-sync wait).
    virtual int RefreshRate() const { return 60; }
    /// The step that made the last Initialize fail, for the error message.
    virtual std::string ErrorText() const { return {}; }
    /// Lets go of everything tied to the main window, before the window goes.
    virtual void Release() {}
    /// A screen image bound to this display, for the application to own; null when a plain
    /// memory image will do.
    virtual std::unique_ptr<MemoryImage> CreateScreenImage(int, int) { return nullptr; }
};

/// The name of a display initialisation result, as error messages and logs show it.
inline std::string DisplayResultName(int result)
{
    static constexpr const char* kNames[] = {
        "RESULT_OK",
        "RESULT_FAIL",
        "RESULT_DD_CREATE_FAIL",
        "RESULT_SURFACE_FAIL",
        "RESULT_EXCLUSIVE_FAIL",
        "RESULT_DISPCHANGE_FAIL",
        "RESULT_INVALID_COLORDEPTH",
    };
    if (result < 0 || result >= static_cast<int>(std::size(kNames))) {
        return "RESULT_UNKNOWN";
    }
    return kNames[result];
}

class NullDisplayOutput : public DisplayOutput
{
public:
    bool Present(MemoryImage&, const Rect&) override { return true; }
    int Initialize(bool, bool) override { return 0; }
};

} // namespace Zorva
