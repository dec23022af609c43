#pragma once

// The process-wide handles of the game's resource identifiers. Images and the font are owned
// by the resource manager and stay null until their group is bound; sounds are sound ids, -1
// until bound. Each list keeps the order in which its group is bound.

namespace Zorva {
class Image;
class Font;
} // namespace Zorva

// Group "Init".
#define QUARROW_INIT_FONTS(X) X(FONT_DEFAULT)

// Group "TitleScreen".
#define QUARROW_TITLE_SCREEN_IMAGES(X)                                                             \
    X(IMAGE_LOADER_BAR)                                                                            \
    X(IMAGE_LOADER_QUARROW)                                                                        \
    X(IMAGE_LOGO_BIG)
#define QUARROW_TITLE_SCREEN_SOUNDS(X) X(SOUND_CONTINUE)

// Group "Game": images in byte-wise order of their identifiers, then sounds.
#define QUARROW_GAME_IMAGES(X)                                                                     \
    X(IMAGE_ARROW)                                                                                 \
    X(IMAGE_BIG_BUTTON)                                                                            \
    X(IMAGE_BIG_BUTTON_DISABLE)                                                                    \
    X(IMAGE_BIG_BUTTON_DOWN)                                                                       \
    X(IMAGE_BIG_BUTTON_OVER)                                                                       \
    X(IMAGE_BUTTON_DISABLE)                                                                        \
    X(IMAGE_BUTTON_DOWN)                                                                           \
    X(IMAGE_BUTTON_MENU)                                                                           \
    X(IMAGE_BUTTON_MENU_DOWN)                                                                      \
    X(IMAGE_BUTTON_MENU_OVER)                                                                      \
    X(IMAGE_BUTTON_NORMAL)                                                                         \
    X(IMAGE_BUTTON_OVER)                                                                           \
    X(IMAGE_CHARIOT)                                                                               \
    X(IMAGE_CHECKBOX)                                                                              \
    X(IMAGE_COMBO_METER)                                                                           \
    X(IMAGE_COMBO_METER_LABELS)                                                                    \
    X(IMAGE_COMBO_METER_ON)                                                                        \
    X(IMAGE_COMPLETE_WND)                                                                          \
    X(IMAGE_CROP_DECK)                                                                             \
    X(IMAGE_DECK_PLACE)                                                                            \
    X(IMAGE_DIALOG_BOX)                                                                            \
    X(IMAGE_FISH_BACK)                                                                             \
    X(IMAGE_FISH_BACK2)                                                                            \
    X(IMAGE_FISH_BACK3)                                                                            \
    X(IMAGE_FISH_BORDER)                                                                           \
    X(IMAGE_FISH_JOKER)                                                                            \
    X(IMAGE_FISH_JOKER_BACK)                                                                       \
    X(IMAGE_FISH_JOKER_ROTATE)                                                                     \
    X(IMAGE_FISH_L)                                                                                \
    X(IMAGE_FISH_L2)                                                                               \
    X(IMAGE_FISH_L3)                                                                               \
    X(IMAGE_FISH_LOCK0)                                                                            \
    X(IMAGE_FISH_LOCK1)                                                                            \
    X(IMAGE_FISH_LOCK2)                                                                            \
    X(IMAGE_FISH_OVER)                                                                             \
    X(IMAGE_FISH_OVER2)                                                                            \
    X(IMAGE_FISH_OVER3)                                                                            \
    X(IMAGE_FISH_ROTATE)                                                                           \
    X(IMAGE_FISH_ROTATE2)                                                                          \
    X(IMAGE_FISH_ROTATE3)                                                                          \
    X(IMAGE_HOW_TO_PLAY1)                                                                          \
    X(IMAGE_HOW_TO_PLAY2)                                                                          \
    X(IMAGE_KEY_ANIM)                                                                              \
    X(IMAGE_LOGO_SMALL)                                                                            \
    X(IMAGE_MAP_POINT)                                                                             \
    X(IMAGE_MAP_POINT_COMPLETE)                                                                    \
    X(IMAGE_MAP_POINT_SELECT)                                                                      \
    X(IMAGE_NO_CROPS)                                                                              \
    X(IMAGE_PANEL)                                                                                 \
    X(IMAGE_PANEL_LINE)                                                                            \
    X(IMAGE_PANEL_LINE_LAG)                                                                        \
    X(IMAGE_PANEL_LINE_OSS)                                                                        \
    X(IMAGE_PANEL_UP)                                                                              \
    X(IMAGE_PLAYLINE)                                                                              \
    X(IMAGE_PREVIEW)                                                                               \
    X(IMAGE_PYRAMID_ANIM)                                                                          \
    X(IMAGE_ROCK_PLACE)                                                                            \
    X(IMAGE_SCROLL)                                                                                \
    X(IMAGE_SCROLL_OVER)                                                                           \
    X(IMAGE_SCROLL_SELECT)                                                                         \
    X(IMAGE_SHIP)                                                                                  \
    X(IMAGE_SLIDER_THUMB)                                                                          \
    X(IMAGE_SLIDER_TRACK)                                                                          \
    X(IMAGE_SPHERE_ANIM)                                                                           \
    X(IMAGE_TITLE)                                                                                 \
    X(IMAGE_TYP0)                                                                                  \
    X(IMAGE_TYP1)                                                                                  \
    X(IMAGE_TYP10)                                                                                 \
    X(IMAGE_TYP11)                                                                                 \
    X(IMAGE_TYP12)                                                                                 \
    X(IMAGE_TYP13)                                                                                 \
    X(IMAGE_TYP14)                                                                                 \
    X(IMAGE_TYP15)                                                                                 \
    X(IMAGE_TYP16)                                                                                 \
    X(IMAGE_TYP17)                                                                                 \
    X(IMAGE_TYP18)                                                                                 \
    X(IMAGE_TYP19)                                                                                 \
    X(IMAGE_TYP2)                                                                                  \
    X(IMAGE_TYP20)                                                                                 \
    X(IMAGE_TYP21)                                                                                 \
    X(IMAGE_TYP22)                                                                                 \
    X(IMAGE_TYP23)                                                                                 \
    X(IMAGE_TYP24)                                                                                 \
    X(IMAGE_TYP25)                                                                                 \
    X(IMAGE_TYP3)                                                                                  \
    X(IMAGE_TYP4)                                                                                  \
    X(IMAGE_TYP5)                                                                                  \
    X(IMAGE_TYP6)                                                                                  \
    X(IMAGE_TYP7)                                                                                  \
    X(IMAGE_TYP8)                                                                                  \
    X(IMAGE_TYP9)                                                                                  \
    X(IMAGE_W_HINT)                                                                                \
    X(IMAGE_W_MAP)                                                                                 \
    X(IMAGE_W_MENU)                                                                                \
    X(IMAGE_W_SMALL)                                                                               \
    X(IMAGE_x2)                                                                                    \
    X(IMAGE_x3)                                                                                    \
    X(IMAGE_x4)                                                                                    \
    X(IM_BONUS_100)                                                                                \
    X(IM_BONUS_200)                                                                                \
    X(IM_BONUS_CROP)                                                                               \
    X(IM_BONUS_JOKER)                                                                              \
    X(IM_BONUS_PLACE)                                                                              \
    X(IM_BONUS_RESHUFFLE)                                                                          \
    X(IM_BONUS_STAR)                                                                               \
    X(IM_BONUS_STONE)                                                                              \
    X(IM_B_CHANGE_PLAYER)                                                                          \
    X(IM_B_DIALOG)                                                                                 \
    X(IM_B_DIALOG_DISABLE)                                                                         \
    X(IM_B_DIALOG_DOWN)                                                                            \
    X(IM_B_DIALOG_OVER)                                                                            \
    X(IM_B_MENU)                                                                                   \
    X(IM_B_OVER_CHANGE_PLAYER)                                                                     \
    X(IM_B_OVER_MENU)
#define QUARROW_GAME_SOUNDS(X)                                                                     \
    X(SOUND_BONUS)                                                                                 \
    X(SOUND_BONUS_APPEAR)                                                                          \
    X(SOUND_CLICK)                                                                                 \
    X(SOUND_FLIP)                                                                                  \
    X(SOUND_LEVEL_COMPLETE)                                                                        \
    X(SOUND_LEVEL_FAILED)                                                                          \
    X(SOUND_LEVEL_START)                                                                           \
    X(SOUND_PUT)                                                                                   \
    X(SOUND_PUT_X2)                                                                                \
    X(SOUND_PUT_X3)                                                                                \
    X(SOUND_PUT_X4)                                                                                \
    X(SOUND_SCROLL)                                                                                \
    X(SOUND_STAGE)                                                                                 \
    X(SOUND_USE_KEY)

#define QUARROW_DECLARE_FONT(name) extern Zorva::Font* name;
#define QUARROW_DECLARE_IMAGE(name) extern Zorva::Image* name;
#define QUARROW_DECLARE_SOUND(name) extern int name;
QUARROW_INIT_FONTS(QUARROW_DECLARE_FONT)
QUARROW_TITLE_SCREEN_IMAGES(QUARROW_DECLARE_IMAGE)
QUARROW_TITLE_SCREEN_SOUNDS(QUARROW_DECLARE_SOUND)
QUARROW_GAME_IMAGES(QUARROW_DECLARE_IMAGE)
QUARROW_GAME_SOUNDS(QUARROW_DECLARE_SOUND)
#undef QUARROW_DECLARE_FONT
#undef QUARROW_DECLARE_IMAGE
#undef QUARROW_DECLARE_SOUND

/// How many picture values exist (IMAGE_TYP0 .. IMAGE_TYP25).
inline constexpr int kPictureCount = 26;

/// The picture image of a value 0..25; null for any other value.
Zorva::Image* PictureImage(int value);

/// The identifier of a bound image handle ("IM_B_CHANGE_PLAYER"); empty for any other image.
const char* ImageHandleName(const Zorva::Image* image);

/// Puts every handle back to its unbound state (null images and font, sound ids -1).
void ResetResourceHandles();
