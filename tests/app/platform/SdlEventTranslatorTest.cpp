#include "app/platform/SdlEventTranslator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace Zorva;
using Kind = WindowMessageKind;

namespace {

constexpr uint32_t kWindow = 7;

SdlEventContext DoubledWindow()
{
    SdlEventContext context;
    context.windowId = kWindow;
    context.scaler.Configure(800, 600, 1600, 1200);
    return context;
}

std::vector<WindowMessage> Translate(const SDL_Event& event,
                                     const SdlEventContext& context = DoubledWindow())
{
    std::vector<WindowMessage> out;
    TranslateSdlEvent(event, context, out);
    return out;
}

SDL_Event Key(uint32_t type, SDL_Keycode sym, uint16_t mod, bool repeat = false)
{
    SDL_Event event{};
    event.key.type = type;
    event.key.windowID = kWindow;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    event.key.repeat = repeat ? 1 : 0;
    return event;
}

SDL_Event Button(uint32_t type, uint8_t button, uint8_t clicks, int x, int y)
{
    SDL_Event event{};
    event.button.type = type;
    event.button.windowID = kWindow;
    event.button.button = button;
    event.button.clicks = clicks;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event Window(uint8_t what, int data1 = 0, int data2 = 0)
{
    SDL_Event event{};
    event.window.type = SDL_WINDOWEVENT;
    event.window.windowID = kWindow;
    event.window.event = what;
    event.window.data1 = data1;
    event.window.data2 = data2;
    return event;
}

std::string Describe(const std::vector<WindowMessage>& messages)
{
    std::string text;
    for (const WindowMessage& message : messages) {
        text += std::to_string(static_cast<int>(message.kind)) + ":" + std::to_string(message.key) +
                " ";
    }
    return text;
}

} // namespace

TEST(SdlEventTranslatorTest, KeysSystemKeysAndTheCharactersThatGoWithThem)
{
    auto out = Translate(Key(SDL_KEYDOWN, SDLK_a, KMOD_NONE));
    ASSERT_EQ(out.size(), 1u) << Describe(out);
    EXPECT_EQ(out[0].kind, Kind::KeyDown);
    EXPECT_EQ(out[0].key, 65);

    // Control keys and Ctrl+letter come with their character; text input does not send them.
    out = Translate(Key(SDL_KEYDOWN, SDLK_BACKSPACE, KMOD_NONE, true));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_TRUE(out[0].repeat);
    EXPECT_EQ(out[1].kind, Kind::Char);
    EXPECT_EQ(out[1].key, 8);
    out = Translate(Key(SDL_KEYDOWN, SDLK_c, KMOD_LCTRL));
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[1].key, 3);
    EXPECT_EQ(Translate(Key(SDL_KEYDOWN, SDLK_ESCAPE, KMOD_NONE))[1].key, 27);

    // Alt combinations, Alt itself and F10 are system keys, without a character.
    out = Translate(Key(SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].kind, Kind::SystemKeyDown);
    EXPECT_EQ(out[0].key, 13);
    EXPECT_EQ(Translate(Key(SDL_KEYDOWN, SDLK_LALT, KMOD_NONE))[0].kind, Kind::SystemKeyDown);
    EXPECT_EQ(Translate(Key(SDL_KEYUP, SDLK_LALT, KMOD_NONE))[0].kind, Kind::SystemKeyUp);
    EXPECT_EQ(Translate(Key(SDL_KEYDOWN, SDLK_F10, KMOD_NONE))[0].kind, Kind::SystemKeyDown);
    // With Ctrl held, Alt combinations are ordinary keys (Ctrl+Alt+D must reach the app).
    out = Translate(Key(SDL_KEYDOWN, SDLK_d, KMOD_LCTRL | KMOD_LALT));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].kind, Kind::KeyDown);
    EXPECT_EQ(out[0].key, 68);

    // Unknown keys and other windows' keys are dropped.
    EXPECT_TRUE(Translate(Key(SDL_KEYDOWN, SDLK_AUDIOPLAY, KMOD_NONE)).empty());
    SDL_Event elsewhere = Key(SDL_KEYDOWN, SDLK_a, KMOD_NONE);
    elsewhere.key.windowID = kWindow + 1;
    EXPECT_TRUE(Translate(elsewhere).empty());
}

TEST(SdlEventTranslatorTest, TextInputBecomesEightBitCharacters)
{
    SDL_Event text{};
    text.text.type = SDL_TEXTINPUT;
    text.text.windowID = kWindow;
    std::strcpy(text.text.text, "a\xc3\xa9\xe2\x82\xac"
                                "b");
    const auto out = Translate(text);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].key, 'a');
    EXPECT_EQ(out[1].key, 0xE9);
    EXPECT_EQ(out[2].key, 'b');
    // While left Alt is held the letter was a system key; its text is not typed.
    SdlEventContext altHeld = DoubledWindow();
    altHeld.modifiers = KMOD_LALT;
    EXPECT_TRUE(Translate(text, altHeld).empty());
    // A text buffer without its terminator is read no further than its size.
    std::memset(text.text.text, 'x', sizeof text.text.text);
    EXPECT_EQ(Translate(text).size(), sizeof text.text.text);
}

TEST(SdlEventTranslatorTest, PointerEventsAreMappedAndPaired)
{
    SDL_Event motion{};
    motion.motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = kWindow;
    motion.motion.x = 801;
    motion.motion.y = 401;
    auto out = Translate(motion);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].kind, Kind::MouseMove);
    EXPECT_EQ(out[0].x, 400);
    EXPECT_EQ(out[0].y, 200);

    struct Case
    {
        uint32_t type;
        uint8_t button;
        uint8_t clicks;
        Kind expected;
    };
    const Case cases[] = {
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, Kind::LeftDown},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 2, Kind::LeftDouble},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, Kind::LeftDown},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 4, Kind::LeftDouble},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 2, Kind::LeftUp},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 2, Kind::RightDouble},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 1, Kind::RightUp},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 2, Kind::MiddleDown},
        {SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 1, Kind::MiddleUp},
    };
    for (const Case& c : cases) {
        out = Translate(Button(c.type, c.button, c.clicks, 20, 40));
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(out[0].kind, c.expected) << int{c.button} << " " << int{c.clicks};
        EXPECT_EQ(out[0].x, 10);
        EXPECT_EQ(out[0].y, 20);
    }
    EXPECT_TRUE(Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1, 0, 0)).empty());

    SDL_Event wheel{};
    wheel.wheel.type = SDL_MOUSEWHEEL;
    wheel.wheel.windowID = kWindow;
    wheel.wheel.y = -2;
    wheel.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
    wheel.wheel.mouseX = 100;
    wheel.wheel.mouseY = 50;
    out = Translate(wheel);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].wheelDelta, 240);
    EXPECT_EQ(out[0].x, 50);
    EXPECT_EQ(out[0].y, 25);
    wheel.wheel.y = 0;
    EXPECT_TRUE(Translate(wheel).empty());
}

TEST(SdlEventTranslatorTest, WindowEventsBecomeActivateMoveSizePaintAndClose)
{
    EXPECT_TRUE(Translate(Window(SDL_WINDOWEVENT_FOCUS_GAINED))[0].active);
    EXPECT_FALSE(Translate(Window(SDL_WINDOWEVENT_FOCUS_LOST))[0].active);
    auto out = Translate(Window(SDL_WINDOWEVENT_MOVED, 120, 80));
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].kind, Kind::Move);
    EXPECT_EQ(out[0].x, 120);
    EXPECT_TRUE(out[0].shownNormally);
    SdlEventContext maximised = DoubledWindow();
    maximised.windowFlags = SDL_WINDOW_MAXIMIZED;
    EXPECT_FALSE(Translate(Window(SDL_WINDOWEVENT_MOVED, 0, 0), maximised)[0].shownNormally);
    EXPECT_EQ(Translate(Window(SDL_WINDOWEVENT_MINIMIZED))[0].sizeState,
              WindowSizeState::Minimized);
    EXPECT_EQ(Translate(Window(SDL_WINDOWEVENT_RESTORED))[0].sizeState, WindowSizeState::Restored);
    EXPECT_EQ(Translate(Window(SDL_WINDOWEVENT_SIZE_CHANGED, 10, 10), maximised)[0].sizeState,
              WindowSizeState::Maximized);
    EXPECT_EQ(Translate(Window(SDL_WINDOWEVENT_EXPOSED))[0].kind, Kind::Paint);
    EXPECT_EQ(Translate(Window(SDL_WINDOWEVENT_CLOSE))[0].kind, Kind::Close);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_EQ(Translate(quit)[0].kind, Kind::Close);
    SDL_Event other = Window(SDL_WINDOWEVENT_CLOSE);
    other.window.windowID = kWindow + 1;
    EXPECT_TRUE(Translate(other).empty());
}
