#pragma once

#include "audio/MixerSource.h"
#include "audio/MusicInterface.h"
#include "audio/SongPlayer.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Zorva {

class Mixer;

/// The music player: tracker modules through libopenmpt, "wav" and "ogg" files as streams,
/// all rendered into the mixer's output beside the sound effects. A song file that is
/// missing is looked for under the same stem with ".xm", ".it", ".s3m", ".mod" or ".ogg".
///
/// Calls may come from the main and the loading thread. Files are read and decoded outside
/// the mixer's lock; what the audio thread reads changes under it.
class OpenMptMusicInterface : public MusicInterface, private MixerSource
{
public:
    explicit OpenMptMusicInterface(std::shared_ptr<Mixer> mixer);
    ~OpenMptMusicInterface() override;
    OpenMptMusicInterface(const OpenMptMusicInterface&) = delete;
    OpenMptMusicInterface& operator=(const OpenMptMusicInterface&) = delete;

    bool LoadMusic(int songId, const std::string& fileName) override;
    void PlayMusic(int songId, int offset, bool noLoop) override;
    void StopMusic(int songId) override;
    void PauseMusic(int songId) override;
    void ResumeMusic(int songId) override;
    void StopAllMusic() override;
    void UnloadMusic(int songId) override;
    void UnloadAllMusic() override;
    void PauseAllMusic() override;
    void ResumeAllMusic() override;
    void FadeIn(int songId, int offset, double step, bool noLoop) override;
    void FadeOut(int songId, bool stopWhenDone, double step) override;
    void FadeOutAll(bool stopWhenDone, double step) override;
    void SetSongVolume(int songId, double volume) override;
    void SetSongMaxVolume(int songId, double volume) override;
    bool IsPlaying(int songId) override;
    void SetVolume(double volume) override;
    void SetMusicAmplify(int songId, double amplification) override;
    void Update() override;

    /// The song's volume as set and faded, 0..1; -1 for an id that is not loaded.
    double GetSongVolume(int songId);

private:
    struct Song
    {
        std::unique_ptr<SongPlayer> player;
        double volume = 0;
        /// Per update; 0 when no fade runs.
        double step = 0;
        double cap = 1.0;
        /// The last no-loop or stop-when-done wish.
        bool stopFlag = false;
        // Read by the audio thread, changed under the mixer's lock.
        bool active = false;
        bool paused = false;
        float channelGain = 0;
        float amplification = 1.0f;
    };

    void Mix(float* stereo, int frameCount) override;
    Song* Find(int songId);
    /// Hands the song's volume to what the audio thread plays.
    void ApplyVolume(Song& song);
    void StartPlaying(Song& song, int offset, bool noLoop);
    void StopChannel(Song& song);
    void StopSong(Song& song);
    void SetPaused(Song& song, bool paused);

    std::shared_ptr<Mixer> mixer;
    /// Serialises callers; the audio thread never takes it.
    std::mutex songsMutex;
    /// Inserted into and erased from under the mixer's lock as well.
    std::map<int, std::unique_ptr<Song>> songs;
    float musicGain = 1.0f;
    std::array<float, 2 * MixerSource::kMaxFrames> songFrames{};
};

/// The file to load for a song name: the name itself, or when it is missing the first of
/// its stem + ".xm", ".it", ".s3m", ".mod", ".ogg" that exists; empty when none does.
std::string ResolveSongFile(const std::string& fileName);

/// The player for a song file: a stream for "wav" and "ogg", a module otherwise; null when
/// the bytes are none of these.
std::unique_ptr<SongPlayer> OpenSongPlayer(const std::string& extension, std::vector<uint8_t> bytes,
                                           int outputRate);

} // namespace Zorva
