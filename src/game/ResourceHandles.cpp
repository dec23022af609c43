#include "game/ResourceHandles.h"

#define QUARROW_DEFINE_FONT(name) Zorva::Font* name = nullptr;
#define QUARROW_DEFINE_IMAGE(name) Zorva::Image* name = nullptr;
#define QUARROW_DEFINE_SOUND(name) int name = -1;
QUARROW_INIT_FONTS(QUARROW_DEFINE_FONT)
QUARROW_TITLE_SCREEN_IMAGES(QUARROW_DEFINE_IMAGE)
QUARROW_TITLE_SCREEN_SOUNDS(QUARROW_DEFINE_SOUND)
QUARROW_GAME_IMAGES(QUARROW_DEFINE_IMAGE)
QUARROW_GAME_SOUNDS(QUARROW_DEFINE_SOUND)

Zorva::Image* PictureImage(int value)
{
    static Zorva::Image** const kPictures[kPictureCount] = {
        &IMAGE_TYP0,  &IMAGE_TYP1,  &IMAGE_TYP2,  &IMAGE_TYP3,  &IMAGE_TYP4,  &IMAGE_TYP5,
        &IMAGE_TYP6,  &IMAGE_TYP7,  &IMAGE_TYP8,  &IMAGE_TYP9,  &IMAGE_TYP10, &IMAGE_TYP11,
        &IMAGE_TYP12, &IMAGE_TYP13, &IMAGE_TYP14, &IMAGE_TYP15, &IMAGE_TYP16, &IMAGE_TYP17,
        &IMAGE_TYP18, &IMAGE_TYP19, &IMAGE_TYP20, &IMAGE_TYP21, &IMAGE_TYP22, &IMAGE_TYP23,
        &IMAGE_TYP24, &IMAGE_TYP25,
    };
    if (value < 0 || value >= kPictureCount) {
        return nullptr;
    }
    return *kPictures[value];
}

const char* ImageHandleName(const Zorva::Image* image)
{
    if (!image) {
        return "";
    }
#define QUARROW_MATCH_IMAGE(name)                                                                  \
    if (image == name) {                                                                           \
        return #name;                                                                              \
    }
    QUARROW_TITLE_SCREEN_IMAGES(QUARROW_MATCH_IMAGE)
    QUARROW_GAME_IMAGES(QUARROW_MATCH_IMAGE)
#undef QUARROW_MATCH_IMAGE
    return "";
}

void ResetResourceHandles()
{
#define QUARROW_RESET_POINTER(name) name = nullptr;
#define QUARROW_RESET_SOUND(name) name = -1;
    QUARROW_INIT_FONTS(QUARROW_RESET_POINTER)
    QUARROW_TITLE_SCREEN_IMAGES(QUARROW_RESET_POINTER)
    QUARROW_TITLE_SCREEN_SOUNDS(QUARROW_RESET_SOUND)
    QUARROW_GAME_IMAGES(QUARROW_RESET_POINTER)
    QUARROW_GAME_SOUNDS(QUARROW_RESET_SOUND)
#undef QUARROW_RESET_POINTER
#undef QUARROW_RESET_SOUND
}
