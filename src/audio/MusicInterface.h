#pragma once

#include <string>

namespace Zorva {

/// Background music by song id: tracker modules or streamed audio, with per-song volume
/// fades run by Update once per update tick. This base class is also the silent player:
/// every operation does nothing, LoadMusic and IsPlaying answer false.
class MusicInterface
{
public:
    virtual ~MusicInterface() = default;
    virtual bool LoadMusic(int songId, const std::string& fileName);
    /// Plays at the song's volume cap. `offset`: the order position of a module or the byte
    /// position of a stream; -1 plays on from where the song is.
    virtual void PlayMusic(int songId, int offset, bool noLoop);
    virtual void StopMusic(int songId);
    virtual void PauseMusic(int songId);
    virtual void ResumeMusic(int songId);
    virtual void StopAllMusic();
    virtual void UnloadMusic(int songId);
    virtual void UnloadAllMusic();
    virtual void PauseAllMusic();
    virtual void ResumeAllMusic();
    /// Plays from the current volume, rising by `step` per update up to the cap.
    virtual void FadeIn(int songId, int offset, double step, bool noLoop);
    /// Falls by `step` per update; at 0 the song stops when `stopWhenDone`.
    virtual void FadeOut(int songId, bool stopWhenDone, double step);
    virtual void FadeOutAll(bool stopWhenDone, double step);
    virtual void SetSongVolume(int songId, double volume);
    virtual void SetSongMaxVolume(int songId, double volume);
    virtual bool IsPlaying(int songId);
    /// The level of all music, 0..1.
    virtual void SetVolume(double volume);
    /// A module's amplification, 0..1 (0.5 plays it as written).
    virtual void SetMusicAmplify(int songId, double amplification);
    /// Runs the fades; once per update tick.
    virtual void Update();
};

} // namespace Zorva
