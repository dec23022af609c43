#pragma once

// What the screen tests share: a headless application of the game's screen size that keeps
// the sounds it was asked to play, a message box that keeps its texts, and blank images
// standing in for the game's art.

#include "app/MessageBoxService.h"
#include "app/PlatformClock.h"
#include "app/ZorvaAppBase.h"
#include "graphics/MemoryImage.h"
#include "widgets/WidgetManager.h"

#include <memory>
#include <string>
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

/// Keeps the text of every message box instead of showing it, and answers the first button.
class RecordingMessageBox : public Zorva::MessageBoxService
{
public:
    explicit RecordingMessageBox(std::vector<std::string>& shownTexts) : texts(shownTexts) {}
    int Show(const std::string& text, const std::string&, int) override
    {
        texts.push_back(text);
        return 1;
    }
    std::vector<std::string>& texts;
};

inline std::unique_ptr<Zorva::MemoryImage> BlankImage(int w, int h)
{
    auto image = std::make_unique<Zorva::MemoryImage>();
    image->Create(w, h);
    return image;
}
