#pragma once

#include "app/ScreenScaler.h"
#include "app/WindowMessage.h"

#include <SDL_events.h>

#include <cstdint>
#include <vector>

namespace Zorva {

/// What the translation needs to know about the main window when an event arrives.
struct SdlEventContext
{
    /// Events of other windows are dropped.
    uint32_t windowId = 0;
    /// SDL_GetWindowFlags of the main window.
    uint32_t windowFlags = 0;
    /// The keyboard modifiers now (SDL_GetModState), for text input.
    uint16_t modifiers = 0;
    /// Maps window pixels to screen-image pixels.
    ScreenScaler scaler;
};

/// Turns one SDL event into the main window's messages: keys into virtual key codes (with
/// the characters Windows sends for them), text into 8-bit characters, pointer positions
/// into screen-image pixels, second clicks into double clicks.
void TranslateSdlEvent(const SDL_Event& event, const SdlEventContext& context,
                       std::vector<WindowMessage>& out);

} // namespace Zorva
