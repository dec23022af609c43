#pragma once

namespace Zorva {

/// What the application needs from the sound manager. The real mixer comes with the audio
/// layer; until then the silent one accepts everything.
class SoundOutput
{
public:
    virtual ~SoundOutput() = default;
    virtual void SetVolume(double volume) = 0;
    virtual void SetMasterVolume(double volume) = 0;
    virtual void PlaySoundOnce(int id, int pan) = 0;
    virtual void SilenceAllSounds() = 0;
    /// Frees the sounds queued for release.
    virtual void ReleaseQueuedSounds() = 0;
};

/// What the application needs from the music interface.
class MusicOutput
{
public:
    virtual ~MusicOutput() = default;
    virtual void SetVolume(double volume) = 0;
    /// The per-update call (fades, streaming).
    virtual void Update() = 0;
    virtual void StopAllMusic() = 0;
};

class SilentSoundOutput : public SoundOutput
{
public:
    void SetVolume(double) override {}
    void SetMasterVolume(double) override {}
    void PlaySoundOnce(int, int) override {}
    void SilenceAllSounds() override {}
    void ReleaseQueuedSounds() override {}
};

class SilentMusicOutput : public MusicOutput
{
public:
    void SetVolume(double) override {}
    void Update() override {}
    void StopAllMusic() override {}
};

} // namespace Zorva
