// The viewer's controls while a demo plays back: typed characters change the speed, pause,
// step, jump and silence the replay.

#include "app/ZorvaAppBase.h"

#include "app/DemoPlayer.h"

namespace Zorva {

namespace {

/// The speed factor of one "+" or "-".
constexpr double kDemoSpeedStep = 1.5;

/// How far before the end the digits 4 to 9 jump, in seconds.
constexpr int kJumpSecondsBeforeEnd[] = {120, 90, 60, 30, 10, 5};

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

void ZorvaAppBase::OpenDemoJumpDialog() {}

void ZorvaAppBase::OpenDemoMarkerList() {}

} // namespace Zorva
