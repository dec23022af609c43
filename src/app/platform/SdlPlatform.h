#pragma once

namespace Zorva {

class ZorvaAppBase;

/// Puts the application on SDL2: the real main window and its input, the display back-end
/// drawing into it, and message boxes. Call before Init, once the screen size is set.
void InstallSdlPlatform(ZorvaAppBase& app);

} // namespace Zorva
