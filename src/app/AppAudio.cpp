#include "app/AppAudio.h"

#include "audio/DSoundManager.h"
#include "audio/Mixer.h"

namespace Zorva {

AppAudio::AppAudio()
    : soundOutput(std::make_unique<DSoundManager>()),
      musicOutput(std::make_unique<MusicInterface>())
{}

AppAudio::~AppAudio() = default;

void AppAudio::PlaySoundOnce(int id, int pan)
{
    if (SoundInstance* instance = soundOutput->NewInstance(id)) {
        instance->SetPan(pan);
        instance->Play(false, true);
    }
}

void AppAudio::PlaySoundOnce(int id)
{
    if (SoundInstance* instance = soundOutput->NewInstance(id)) {
        instance->Play(false, true);
    }
}

void AppAudio::SilenceAllSounds()
{
    soundOutput->StopAll();
}

void AppAudio::SetMasterVolume(double volume)
{
    sfxVolume = volume;
    soundOutput->SetMasterVolume(volume);
}

void AppAudio::SetMusicVolume(double volume)
{
    musicVolume = volume;
    musicOutput->SetVolume(MuteActive() ? 0.0 : volume);
}

void AppAudio::SetSfxVolume(double volume)
{
    sfxVolume = volume;
    soundOutput->SetVolume(MuteActive() ? 0.0 : volume);
}

void AppAudio::ApplyVolumes()
{
    SetMusicVolume(musicVolume);
    SetSfxVolume(sfxVolume);
}

void AppAudio::AddMute(bool automatic)
{
    ++muteCount;
    if (automatic) {
        ++autoMuteCount;
    }
    ApplyVolumes();
}

void AppAudio::RemoveAddMute(bool automatic)
{
    if (muteCount > 0) {
        --muteCount;
        if (automatic && autoMuteCount > 0) {
            --autoMuteCount;
        }
    }
    ApplyVolumes();
}

void AppAudio::SetSoundManager(std::unique_ptr<SoundManager> manager)
{
    soundOutput = std::move(manager);
}

void AppAudio::SetMusicInterface(std::unique_ptr<MusicInterface> music)
{
    musicOutput = std::move(music);
}

} // namespace Zorva
