// The viewer's controls while a demo plays back: typed characters change the speed, pause,
// step, jump and silence the replay.

#include "app/ZorvaAppBase.h"

#include "app/DemoJumpDialog.h"
#include "app/DemoMarkerDialog.h"
#include "app/DemoPlayer.h"
#include "widgets/EditWidget.h"
#include "widgets/WidgetManager.h"

#include <optional>
#include <string>
#include <vector>

namespace Zorva {

namespace {

/// The speed factor of one "+" or "-".
constexpr double kDemoSpeedStep = 1.5;

/// How far before the end the digits 4 to 9 jump, in seconds.
constexpr int kJumpSecondsBeforeEnd[] = {120, 90, 60, 30, 10, 5};

/// The jump dialog's last text, kept between runs.
constexpr const char* kDemoJumpTimeSetting = "DemoJumpTime";

} // namespace

void ZorvaAppBase::OnPlaybackControl(char control)
{
    if (!demoPlayer || shutdown) {
        return;
    }
    DemoPlayer& player = *demoPlayer;
    switch (control) {
    case '+':
        updateSpeed *= kDemoSpeedStep;
        break;
    case '-':
        updateSpeed /= kDemoSpeedStep;
        break;
    case '=':
        updateSpeed = 1.0;
        break;
    case '0':
        player.jumpTarget = player.Length();
        break;
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
    case '9':
        player.jumpTarget = player.JumpTargetForSecondsBeforeEnd(
            kJumpSecondsBeforeEnd[control - '4'], updateInterval);
        break;
    case 'J':
    case 'j':
        OpenDemoJumpDialog();
        break;
    case 'L':
    case 'l':
        OpenDemoMarkerList();
        break;
    case 'M':
    case 'm':
        if (const std::optional<int> marker = player.NextMarkerUpdate(updateCount)) {
            player.jumpTarget = *marker;
        }
        break;
    case 'N':
    case 'n':
        player.jumpTarget = updateCount + 1;
        player.singleStep = true;
        break;
    case 'P':
    case 'p':
        player.paused = !player.paused;
        timing.Resample(clock->NowMs());
        break;
    case 'S':
    case 's':
        ToggleDemoSound();
        break;
    default:
        break;
    }
}

void ZorvaAppBase::ToggleDemoSound()
{
    if (GetMusicVolume() > 0 || GetSfxVolume() > 0) {
        if (GetMusicVolume() > 0) {
            savedMusicVolume = GetMusicVolume();
            SetMusicVolume(0);
        }
        if (GetSfxVolume() > 0) {
            savedSfxVolume = GetSfxVolume();
            SetSfxVolume(0);
        }
        return;
    }
    RestoreVolumesAfterPlayback();
}

void ZorvaAppBase::RestoreVolumesAfterPlayback()
{
    if (!demoPlayer) {
        return;
    }
    if (savedMusicVolume > 0) {
        SetMusicVolume(savedMusicVolume);
        savedMusicVolume = 0;
    }
    if (savedSfxVolume > 0) {
        SetSfxVolume(savedSfxVolume);
        savedSfxVolume = 0;
    }
}

void ZorvaAppBase::OpenDemoJumpDialog()
{
    if (!BeginDemoDialog()) {
        return;
    }
    // The viewer's own setting: straight from the store, never from the recording.
    std::vector<uint8_t> stored;
    if (!SettingsAccess::ReadSettingValue(kDemoJumpTimeSetting, SettingType::String, stored)) {
        stored.clear();
    }
    auto dialog = std::make_unique<DemoJumpDialog>(
        std::string(stored.begin(), stored.end()), [this](const std::optional<std::string>& text) {
            if (text && demoPlayer) {
                SettingsAccess::WriteSettingValue(kDemoJumpTimeSetting, SettingType::String,
                                                  {text->begin(), text->end()});
                if (const std::optional<int> target =
                        demoPlayer->JumpTargetForTimeText(*text, updateInterval)) {
                    demoPlayer->jumpTarget = *target;
                }
            }
            EndDemoDialog(DemoJumpDialog::kDialogId);
        });
    DemoJumpDialog* shown = dialog.get();
    AttachDialog(std::move(dialog));
    widgetManager->SetFocus(&shown->Field());
}

void ZorvaAppBase::OpenDemoMarkerList()
{
    if (!BeginDemoDialog()) {
        return;
    }
    const std::vector<DemoPlayer::MarkerLine> ahead =
        demoPlayer->MarkersAhead(updateCount, updateInterval);
    std::vector<std::string> lines;
    for (const DemoPlayer::MarkerLine& marker : ahead) {
        lines.push_back(marker.line);
    }
    auto dialog =
        std::make_unique<DemoMarkerDialog>(lines, [this, ahead](std::optional<int> chosen) {
            if (chosen && demoPlayer) {
                demoPlayer->jumpTarget = ahead[static_cast<std::size_t>(*chosen)].update;
            }
            EndDemoDialog(DemoMarkerDialog::kDialogId);
        });
    DemoMarkerDialog* shown = dialog.get();
    AttachDialog(std::move(dialog));
    widgetManager->SetFocus(shown);
}

bool ZorvaAppBase::BeginDemoDialog()
{
    if (!demoPlayer || demoDialogOpen || shutdown) {
        return false;
    }
    demoDialogOpen = true;
    pausedBeforeDemoDialog = demoPlayer->paused;
    demoPlayer->paused = true;
    keysBeforeDemoDialog = widgetManager->keysDown;
    lastInputBeforeDemoDialog = widgetManager->lastInputUpdate;
    return true;
}

void ZorvaAppBase::EndDemoDialog(int dialogId)
{
    CloseDialog(dialogId);
    if (!demoDialogOpen) {
        return;
    }
    demoDialogOpen = false;
    widgetManager->keysDown = keysBeforeDemoDialog;
    widgetManager->lastInputUpdate = lastInputBeforeDemoDialog;
    demoPlayer->paused = pausedBeforeDemoDialog;
    // The time the dialog was open is not caught up.
    timing.Resample(clock->NowMs());
    widgetManager->MarkAllDirty();
}

} // namespace Zorva
