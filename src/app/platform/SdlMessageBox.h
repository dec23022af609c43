#pragma once

#include "app/MessageBoxService.h"

namespace Zorva {

/// Whether a message box can be shown: a display server is named (X11 or Wayland) and SDL's
/// video driver, the one running or the one asked for, is not a headless one. Null
/// arguments stand for unset.
bool MessageBoxHasDisplay(const char* currentDriver, const char* requestedDriver,
                          const char* x11Display, const char* waylandDisplay);

/// Message boxes through SDL; without a display (or with the dummy video driver) the text
/// goes to standard error, as with the headless service.
class SdlMessageBox : public MessageBoxService
{
public:
    int Show(const std::string& text, const std::string& title, int flags) override;

private:
    StderrMessageBox fallback;
};

} // namespace Zorva
