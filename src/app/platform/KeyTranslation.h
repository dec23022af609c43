#pragma once

#include <SDL_keycode.h>

namespace Zorva {

/// The Windows virtual key code the program uses for an SDL key; 0 for keys it has none for.
int VirtualKeyFromSdl(SDL_Keycode key);

} // namespace Zorva
