#include "app/platform/SdlPlatform.h"

#include "app/ZorvaAppBase.h"
#include "app/platform/DDInterface.h"
#include "app/platform/SdlMessageBox.h"
#include "app/platform/SdlWindowSystem.h"

#include <SDL.h>

namespace Zorva {

void InstallSdlPlatform(ZorvaAppBase& app)
{
    // A click that activates the window is also a click in the game.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    auto windows = std::make_unique<SdlWindowSystem>();
    SdlWindowSystem& windowsRef = *windows;
    // The old display may still hold on to the old window.
    app.SetDisplayOutput(nullptr);
    app.SetWindowSystem(std::move(windows));
    app.SetDisplayOutput(std::make_unique<DDInterface>(windowsRef, app.width, app.height));
    app.SetMessageBoxService(std::make_unique<SdlMessageBox>());
}

} // namespace Zorva
