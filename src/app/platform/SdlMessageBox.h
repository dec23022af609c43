#pragma once

#include "app/MessageBoxService.h"

namespace Zorva {

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
