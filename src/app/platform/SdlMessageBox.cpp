#include "app/platform/SdlMessageBox.h"

#include "system/Latin1Text.h"

#include <SDL.h>

#include <cstring>

namespace Zorva {

namespace {

bool IsHeadlessDriver(const char* driver)
{
    return std::strcmp(driver, "dummy") == 0 || std::strcmp(driver, "offscreen") == 0;
}

bool IsSet(const char* text)
{
    return text != nullptr && text[0] != '\0';
}

bool HasDisplay()
{
    return MessageBoxHasDisplay(SDL_GetCurrentVideoDriver(), SDL_getenv("SDL_VIDEODRIVER"),
                                SDL_getenv("DISPLAY"), SDL_getenv("WAYLAND_DISPLAY"));
}

} // namespace

bool MessageBoxHasDisplay(const char* currentDriver, const char* requestedDriver,
                          const char* x11Display, const char* waylandDisplay)
{
    if (currentDriver != nullptr) {
        return !IsHeadlessDriver(currentDriver);
    }
    if (IsSet(requestedDriver) && IsHeadlessDriver(requestedDriver)) {
        return false;
    }
    return IsSet(x11Display) || IsSet(waylandDisplay);
}

int SdlMessageBox::Show(const std::string& text, const std::string& title, int flags)
{
    if (!HasDisplay()) {
        return fallback.Show(text, title, flags);
    }
    const std::string utf8Text = Utf8FromLatin1(text);
    const std::string utf8Title = Utf8FromLatin1(title);
    const bool question = (flags & kMessageBoxYesNo) != 0;
    const SDL_MessageBoxButtonData okButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
         kMessageBoxAnswerOk, "OK"},
    };
    const SDL_MessageBoxButtonData questionButtons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kMessageBoxYes, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kMessageBoxNo, "No"},
    };
    SDL_MessageBoxData box{};
    box.flags =
        (flags & kMessageBoxIconError) != 0 ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    box.title = utf8Title.c_str();
    box.message = utf8Text.c_str();
    box.numbuttons = question ? 2 : 1;
    box.buttons = question ? questionButtons : okButtons;
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        return fallback.Show(text, title, flags);
    }
    // Closing the box without a button reads as its escape answer.
    if (pressed < 0) {
        return question ? kMessageBoxNo : kMessageBoxAnswerOk;
    }
    return pressed;
}

} // namespace Zorva
