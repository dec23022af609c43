#include "app/platform/KeyTranslation.h"

#include "widgets/InputCodes.h"

namespace Zorva {

namespace {

struct KeyPair
{
    SDL_Keycode key;
    int virtualKey;
};

/// Keys outside the letter, digit and function-key runs.
constexpr KeyPair kSingleKeys[] = {
    {SDLK_BACKSPACE, kVirtualKeyBackspace},
    {SDLK_TAB, kVirtualKeyTab},
    {SDLK_CLEAR, kVirtualKeyClear},
    {SDLK_RETURN, kVirtualKeyEnter},
    {SDLK_RETURN2, kVirtualKeyEnter},
    {SDLK_KP_ENTER, kVirtualKeyEnter},
    {SDLK_LSHIFT, kVirtualKeyShift},
    {SDLK_RSHIFT, kVirtualKeyShift},
    {SDLK_LCTRL, kVirtualKeyControl},
    {SDLK_RCTRL, kVirtualKeyControl},
    {SDLK_LALT, kVirtualKeyAlt},
    {SDLK_RALT, kVirtualKeyAlt},
    {SDLK_PAUSE, kVirtualKeyPause},
    {SDLK_CAPSLOCK, kVirtualKeyCapsLock},
    {SDLK_ESCAPE, kVirtualKeyEscape},
    {SDLK_SPACE, kVirtualKeySpace},
    {SDLK_PAGEUP, kVirtualKeyPageUp},
    {SDLK_PAGEDOWN, kVirtualKeyPageDown},
    {SDLK_END, kVirtualKeyEnd},
    {SDLK_HOME, kVirtualKeyHome},
    {SDLK_LEFT, kVirtualKeyLeft},
    {SDLK_UP, kVirtualKeyUp},
    {SDLK_RIGHT, kVirtualKeyRight},
    {SDLK_DOWN, kVirtualKeyDown},
    {SDLK_PRINTSCREEN, kVirtualKeyPrintScreen},
    {SDLK_INSERT, kVirtualKeyInsert},
    {SDLK_DELETE, kVirtualKeyDelete},
    {SDLK_LGUI, kVirtualKeyLeftWindows},
    {SDLK_RGUI, kVirtualKeyRightWindows},
    {SDLK_APPLICATION, kVirtualKeyApplications},
    {SDLK_KP_0, kVirtualKeyNumpad0},
    {SDLK_KP_1, kVirtualKeyNumpad0 + 1},
    {SDLK_KP_2, kVirtualKeyNumpad0 + 2},
    {SDLK_KP_3, kVirtualKeyNumpad0 + 3},
    {SDLK_KP_4, kVirtualKeyNumpad0 + 4},
    {SDLK_KP_5, kVirtualKeyNumpad0 + 5},
    {SDLK_KP_6, kVirtualKeyNumpad0 + 6},
    {SDLK_KP_7, kVirtualKeyNumpad0 + 7},
    {SDLK_KP_8, kVirtualKeyNumpad0 + 8},
    {SDLK_KP_9, kVirtualKeyNumpad0 + 9},
    {SDLK_KP_MULTIPLY, kVirtualKeyNumpadMultiply},
    {SDLK_KP_PLUS, kVirtualKeyNumpadAdd},
    {SDLK_KP_MINUS, kVirtualKeyNumpadSubtract},
    {SDLK_KP_PERIOD, kVirtualKeyNumpadDecimal},
    {SDLK_KP_DIVIDE, kVirtualKeyNumpadDivide},
    {SDLK_NUMLOCKCLEAR, kVirtualKeyNumLock},
    {SDLK_SCROLLLOCK, kVirtualKeyScrollLock},
    {SDLK_SEMICOLON, kVirtualKeySemicolon},
    {SDLK_EQUALS, kVirtualKeyEquals},
    {SDLK_COMMA, kVirtualKeyComma},
    {SDLK_MINUS, kVirtualKeyMinus},
    {SDLK_PERIOD, kVirtualKeyPeriod},
    {SDLK_SLASH, kVirtualKeySlash},
    {SDLK_BACKQUOTE, kVirtualKeyBackquote},
    {SDLK_LEFTBRACKET, kVirtualKeyLeftBracket},
    {SDLK_BACKSLASH, kVirtualKeyBackslash},
    {SDLK_RIGHTBRACKET, kVirtualKeyRightBracket},
    {SDLK_QUOTE, kVirtualKeyQuote},
};

int SingleKey(SDL_Keycode key)
{
    for (const KeyPair& pair : kSingleKeys) {
        if (pair.key == key) {
            return pair.virtualKey;
        }
    }
    return 0;
}

} // namespace

int VirtualKeyFromSdl(SDL_Keycode key)
{
    // Letters and digits follow the keyboard layout, as the Windows codes do.
    if (key >= SDLK_a && key <= SDLK_z) {
        return kVirtualKeyA + (key - SDLK_a);
    }
    if (key >= SDLK_0 && key <= SDLK_9) {
        return kVirtualKey0 + (key - SDLK_0);
    }
    if (key >= SDLK_F1 && key <= SDLK_F12) {
        return kVirtualKeyF1 + (key - SDLK_F1);
    }
    if (key >= SDLK_F13 && key <= SDLK_F24) {
        return kVirtualKeyF13 + (key - SDLK_F13);
    }
    return SingleKey(key);
}

} // namespace Zorva
