#pragma once

// What the screen tests share: a headless application of the game's screen size that keeps
// the sounds it was asked to play, and blank images standing in for the game's art.

#include "app/PlatformClock.h"
#include "app/ZorvaAppBase.h"
#include "graphics/MemoryImage.h"
#include "widgets/WidgetManager.h"

#include <memory>
#include <vector>

class SoundRecordingApp : public Zorva::ZorvaAppBase
{
public:
    SoundRecordingApp() : ZorvaAppBase(std::make_unique<Zorva::FakeClock>())
    {
        width = 800;
        height = 600;
        GetWidgetManager()->Resize(800, 600);
        GetWidgetManager()->OnAppFocusIn();
    }
    using ZorvaAppBase::PlaySoundOnce;
    void PlaySoundOnce(int soundId) override { sounds.push_back(soundId); }

    std::vector<int> sounds;
};

inline std::unique_ptr<Zorva::MemoryImage> BlankImage(int w, int h)
{
    auto image = std::make_unique<Zorva::MemoryImage>();
    image->Create(w, h);
    return image;
}
