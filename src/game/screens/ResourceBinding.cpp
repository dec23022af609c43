#include "game/screens/ResourceBinding.h"

#include "game/ResourceHandles.h"
#include "graphics/ImageFont.h"
#include "graphics/MemoryImage.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceManagerException.h"

using Zorva::ResourceManager;
using Zorva::ResourceManagerException;

#define QUARROW_BIND_FONT(name) name = manager.GetFontOrThrow(#name);
#define QUARROW_BIND_IMAGE(name) name = manager.GetImageOrThrow(#name).get();
#define QUARROW_BIND_SOUND(name) name = manager.GetSoundOrThrow(#name);

bool BindInitGroup(ResourceManager& manager)
{
    try {
        QUARROW_INIT_FONTS(QUARROW_BIND_FONT)
    } catch (const ResourceManagerException&) {
        return false;
    }
    return true;
}

bool BindTitleScreenGroup(ResourceManager& manager)
{
    try {
        QUARROW_TITLE_SCREEN_IMAGES(QUARROW_BIND_IMAGE)
        QUARROW_TITLE_SCREEN_SOUNDS(QUARROW_BIND_SOUND)
    } catch (const ResourceManagerException&) {
        return false;
    }
    return true;
}

bool BindGameGroup(ResourceManager& manager)
{
    try {
        QUARROW_GAME_IMAGES(QUARROW_BIND_IMAGE)
        QUARROW_GAME_SOUNDS(QUARROW_BIND_SOUND)
    } catch (const ResourceManagerException&) {
        return false;
    }
    return true;
}

#define QUARROW_RESET_FONT(name) name = nullptr;
#define QUARROW_RESET_IMAGE(name) name = nullptr;
#define QUARROW_RESET_SOUND(name) name = -1;

void ResetInitGroup()
{
    QUARROW_INIT_FONTS(QUARROW_RESET_FONT)
}

void ResetTitleScreenGroup()
{
    QUARROW_TITLE_SCREEN_IMAGES(QUARROW_RESET_IMAGE)
    QUARROW_TITLE_SCREEN_SOUNDS(QUARROW_RESET_SOUND)
}

void ResetGameGroup()
{
    QUARROW_GAME_IMAGES(QUARROW_RESET_IMAGE)
    QUARROW_GAME_SOUNDS(QUARROW_RESET_SOUND)
}
