#include "app/platform/SdlEventTranslator.h"

#include "app/platform/KeyTranslation.h"
#include "system/Latin1Text.h"
#include "widgets/InputCodes.h"

#include <cstring>
#include <string_view>

namespace Zorva {

namespace {

using Kind = WindowMessageKind;

constexpr int kFirstControlLetter = 1;

bool IsAltKey(SDL_Keycode key)
{
    return key == SDLK_LALT || key == SDLK_RALT;
}

/// Alt combinations and F10 belong to the window system on Windows; the program sees them
/// as system keys. With Ctrl held, Alt combinations are ordinary keys.
bool IsSystemKey(const SDL_KeyboardEvent& key, int virtualKey)
{
    const uint16_t mod = key.keysym.mod;
    if ((mod & KMOD_CTRL) != 0) {
        return false;
    }
    return (mod & KMOD_ALT) != 0 || IsAltKey(key.keysym.sym) || virtualKey == kVirtualKeyF10;
}

/// The character Windows sends along with a key press that text input leaves out.
int CharacterForKey(const SDL_KeyboardEvent& key, int virtualKey)
{
    switch (virtualKey) {
    case kVirtualKeyBackspace:
    case kVirtualKeyTab:
    case kVirtualKeyEnter:
    case kVirtualKeyEscape:
        return virtualKey;
    default:
        break;
    }
    const uint16_t mod = key.keysym.mod;
    const SDL_Keycode sym = key.keysym.sym;
    if ((mod & KMOD_CTRL) != 0 && (mod & KMOD_ALT) == 0 && sym >= SDLK_a && sym <= SDLK_z) {
        return kFirstControlLetter + (sym - SDLK_a);
    }
    return 0;
}

void TranslateKey(const SDL_KeyboardEvent& key, std::vector<WindowMessage>& out)
{
    const int virtualKey = VirtualKeyFromSdl(key.keysym.sym);
    if (virtualKey == 0) {
        return;
    }
    const bool system = IsSystemKey(key, virtualKey);
    if (key.type == SDL_KEYUP) {
        out.push_back(WindowMessage::Key(system ? Kind::SystemKeyUp : Kind::KeyUp, virtualKey));
        return;
    }
    WindowMessage down =
        WindowMessage::Key(system ? Kind::SystemKeyDown : Kind::KeyDown, virtualKey);
    down.repeat = key.repeat != 0;
    out.push_back(down);
    if (system) {
        return;
    }
    if (const int character = CharacterForKey(key, virtualKey); character != 0) {
        out.push_back(WindowMessage::Key(Kind::Char, character));
    }
}

void TranslateText(const SDL_TextInputEvent& text, const SdlEventContext& context,
                   std::vector<WindowMessage>& out)
{
    // Left Alt with a letter is a system key; its text would type the letter as well.
    if ((context.modifiers & KMOD_LALT) != 0 && (context.modifiers & KMOD_CTRL) == 0) {
        return;
    }
    const std::string latin1 =
        Latin1FromUtf8(std::string_view(text.text, ::strnlen(text.text, sizeof text.text)));
    for (const char character : latin1) {
        out.push_back(WindowMessage::Key(Kind::Char, static_cast<unsigned char>(character)));
    }
}

WindowMessage PointerAt(Kind kind, int windowX, int windowY, const SdlEventContext& context)
{
    int x = 0;
    int y = 0;
    context.scaler.WindowToScreen(windowX, windowY, x, y);
    return WindowMessage::Pointer(kind, x, y);
}

void TranslateButton(const SDL_MouseButtonEvent& button, const SdlEventContext& context,
                     std::vector<WindowMessage>& out)
{
    const bool down = button.type == SDL_MOUSEBUTTONDOWN;
    // Windows pairs clicks: the second is a double click, a third a plain press again.
    const bool second = down && button.clicks >= 2 && button.clicks % 2 == 0;
    Kind kind = Kind::MouseMove;
    switch (button.button) {
    case SDL_BUTTON_LEFT:
        kind = !down ? Kind::LeftUp : second ? Kind::LeftDouble : Kind::LeftDown;
        break;
    case SDL_BUTTON_RIGHT:
        kind = !down ? Kind::RightUp : second ? Kind::RightDouble : Kind::RightDown;
        break;
    case SDL_BUTTON_MIDDLE:
        kind = down ? Kind::MiddleDown : Kind::MiddleUp;
        break;
    default:
        return;
    }
    out.push_back(PointerAt(kind, button.x, button.y, context));
}

void TranslateWheel(const SDL_MouseWheelEvent& wheel, const SdlEventContext& context,
                    std::vector<WindowMessage>& out)
{
    int notches = wheel.y;
    if (wheel.direction == SDL_MOUSEWHEEL_FLIPPED) {
        notches = -notches;
    }
    if (notches == 0) {
        return;
    }
    WindowMessage message = PointerAt(Kind::Wheel, wheel.mouseX, wheel.mouseY, context);
    message.wheelDelta = notches * kWheelNotch;
    out.push_back(message);
}

WindowSizeState SizeStateOf(uint32_t flags)
{
    if ((flags & SDL_WINDOW_MINIMIZED) != 0) {
        return WindowSizeState::Minimized;
    }
    if ((flags & SDL_WINDOW_MAXIMIZED) != 0) {
        return WindowSizeState::Maximized;
    }
    return WindowSizeState::Restored;
}

void TranslateWindowEvent(const SDL_WindowEvent& window, const SdlEventContext& context,
                          std::vector<WindowMessage>& out)
{
    switch (window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        out.push_back(WindowMessage::Activation(true));
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        out.push_back(WindowMessage::Activation(false));
        break;
    case SDL_WINDOWEVENT_MOVED: {
        WindowMessage move = WindowMessage::Pointer(Kind::Move, window.data1, window.data2);
        const uint32_t notNormal =
            SDL_WINDOW_MINIMIZED | SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN;
        move.shownNormally = (context.windowFlags & notNormal) == 0;
        out.push_back(move);
        break;
    }
    case SDL_WINDOWEVENT_MINIMIZED:
        out.push_back(WindowMessage::Sized(WindowSizeState::Minimized));
        break;
    case SDL_WINDOWEVENT_MAXIMIZED:
        out.push_back(WindowMessage::Sized(WindowSizeState::Maximized));
        break;
    case SDL_WINDOWEVENT_RESTORED:
        out.push_back(WindowMessage::Sized(WindowSizeState::Restored));
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
        WindowMessage sized = WindowMessage::Sized(SizeStateOf(context.windowFlags));
        sized.clientWidth = window.data1;
        sized.clientHeight = window.data2;
        out.push_back(sized);
        break;
    }
    case SDL_WINDOWEVENT_EXPOSED:
        out.push_back(WindowMessage::Of(Kind::Paint));
        break;
    case SDL_WINDOWEVENT_CLOSE:
        out.push_back(WindowMessage::Of(Kind::Close));
        break;
    default:
        break;
    }
}

} // namespace

void TranslateSdlEvent(const SDL_Event& event, const SdlEventContext& context,
                       std::vector<WindowMessage>& out)
{
    switch (event.type) {
    case SDL_QUIT:
        out.push_back(WindowMessage::Of(Kind::Close));
        return;
    case SDL_WINDOWEVENT:
        if (event.window.windowID == context.windowId) {
            TranslateWindowEvent(event.window, context, out);
        }
        return;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (event.key.windowID == context.windowId) {
            TranslateKey(event.key, out);
        }
        return;
    case SDL_TEXTINPUT:
        if (event.text.windowID == context.windowId) {
            TranslateText(event.text, context, out);
        }
        return;
    case SDL_MOUSEMOTION:
        if (event.motion.windowID == context.windowId) {
            out.push_back(PointerAt(Kind::MouseMove, event.motion.x, event.motion.y, context));
        }
        return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (event.button.windowID == context.windowId) {
            TranslateButton(event.button, context, out);
        }
        return;
    case SDL_MOUSEWHEEL:
        if (event.wheel.windowID == context.windowId) {
            TranslateWheel(event.wheel, context, out);
        }
        return;
    default:
        return;
    }
}

} // namespace Zorva
