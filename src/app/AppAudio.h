#pragma once

#include "audio/MusicInterface.h"
#include "audio/SoundManager.h"

#include <memory>

namespace Zorva {

class Mixer;

/// The application's sound side: the sound manager and the music interface, the two
/// volumes, and the nested mutes (the player's own and the automatic ones the focus rule
/// adds). Muted while any mute is in force; the volumes stay as set and come back with the
/// last mute removed.
class AppAudio
{
public:
    /// Starts with the silent sound manager and music interface.
    AppAudio();
    virtual ~AppAudio();
    AppAudio(const AppAudio&) = delete;
    AppAudio& operator=(const AppAudio&) = delete;

    virtual void PlaySoundOnce(int id, int pan);
    virtual void PlaySoundOnce(int id);
    virtual void SilenceAllSounds();
    virtual double GetMusicVolume() const { return musicVolume; }
    virtual double GetSfxVolume() const { return sfxVolume; }
    virtual bool MuteActive() const { return muteCount > 0; }
    /// Stores the sound-effect volume and sets the sound manager's master volume.
    virtual void SetMasterVolume(double volume);
    /// Store the volume; the output gets it, or 0 while muted.
    virtual void SetMusicVolume(double volume);
    virtual void SetSfxVolume(double volume);
    /// One more mute; `automatic` marks one the focus rule added.
    virtual void AddMute(bool automatic);
    /// One mute fewer (never below none).
    virtual void RemoveAddMute(bool automatic);
    int GetMuteCount() const { return muteCount; }
    int GetAutoMuteCount() const { return autoMuteCount; }

    SoundManager* GetSoundManager() const { return soundOutput.get(); }
    MusicInterface* GetMusicInterface() const { return musicOutput.get(); }
    void SetSoundManager(std::unique_ptr<SoundManager> manager);
    void SetMusicInterface(std::unique_ptr<MusicInterface> music);

    /// No sound device: the silent players stay.
    bool noSound = false;
    /// Selects the second music player.
    bool useAltMusicPlayer = false;
    /// Losing the focus mutes automatically.
    bool muteWhenInactive = true;

protected:
    /// Stores the volume as read from the settings, without applying it.
    void RestoreMusicVolume(double volume) { musicVolume = volume; }
    void RestoreSfxVolume(double volume) { sfxVolume = volume; }
    /// The player's mutes as read from the settings; automatic ones in force stay counted.
    void RestoreUserMutes(int userMutes) { muteCount = userMutes + autoMuteCount; }

    /// The sound device's mixer, shared by the sound manager and the music player; null
    /// while silent. A MakeSoundManager that opens a device sets it.
    std::shared_ptr<Mixer> audioMixer;

private:
    void ApplyVolumes();

    double musicVolume = 0.85;
    double sfxVolume = 0.85;
    int muteCount = 0;
    int autoMuteCount = 0;
    std::unique_ptr<SoundManager> soundOutput;
    std::unique_ptr<MusicInterface> musicOutput;
};

} // namespace Zorva
