#include "app/platform/KeyTranslation.h"

#include <gtest/gtest.h>

#include <utility>

using namespace Zorva;

TEST(KeyTranslationTest, SdlKeysBecomeWindowsVirtualKeys)
{
    const std::pair<SDL_Keycode, int> table[] = {
        {SDLK_ESCAPE, 27},   {SDLK_RETURN, 13},
        {SDLK_KP_ENTER, 13}, {SDLK_TAB, 9},
        {SDLK_BACKSPACE, 8}, {SDLK_LSHIFT, 16},
        {SDLK_RSHIFT, 16},   {SDLK_LCTRL, 17},
        {SDLK_RCTRL, 17},    {SDLK_LALT, 18},
        {SDLK_RALT, 18},     {SDLK_PAGEUP, 33},
        {SDLK_PAGEDOWN, 34}, {SDLK_END, 35},
        {SDLK_HOME, 36},     {SDLK_LEFT, 37},
        {SDLK_UP, 38},       {SDLK_RIGHT, 39},
        {SDLK_DOWN, 40},     {SDLK_INSERT, 45},
        {SDLK_DELETE, 46},   {SDLK_0, 48},
        {SDLK_9, 57},        {SDLK_a, 65},
        {SDLK_d, 68},        {SDLK_z, 90},
        {SDLK_KP_0, 96},     {SDLK_KP_1, 97},
        {SDLK_KP_9, 105},    {SDLK_F1, 112},
        {SDLK_F4, 115},      {SDLK_F10, 121},
        {SDLK_F12, 123},     {SDLK_NUMLOCKCLEAR, 144},
        {SDLK_SPACE, 32},    {SDLK_KP_PLUS, 107},
        {SDLK_MINUS, 189},   {SDLK_PERIOD, 190},
    };
    for (const auto& [key, expected] : table) {
        EXPECT_EQ(VirtualKeyFromSdl(key), expected) << key;
    }
    // Keys the program has no code for are dropped rather than guessed.
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_AUDIOPLAY), 0);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_UNKNOWN), 0);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_z + 1), 0);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_a - 1), 192);
}
