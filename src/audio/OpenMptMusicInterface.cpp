#include "audio/OpenMptMusicInterface.h"

#include "audio/AudioFiles.h"
#include "audio/Mixer.h"
#include "audio/ModulePlayer.h"
#include "audio/StreamPlayer.h"
#include "system/AppFiles.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <vector>

namespace Zorva {

namespace {

constexpr std::size_t kMaxSongFileBytes = 128u * 1024u * 1024u;
/// Fades end within this of their goal, so that rounding in the sum of the steps does not
/// cost an extra update.
constexpr double kFadeTolerance = 1e-9;

std::string LowerExtension(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return extension;
}

/// A level 0..1 as the whole percent the channel takes.
float PercentGain(double level)
{
    if (!(level > 0)) {
        return 0.0f;
    }
    const double percent = std::floor(std::min(level, 1.0) * 100.0 + kFadeTolerance);
    return static_cast<float>(percent / 100.0);
}

} // namespace

std::string ResolveSongFile(const std::string& fileName)
{
    if (FileExists(fileName)) {
        return fileName;
    }
    std::string stem = fileName;
    if (!LowerExtension(fileName).empty()) {
        stem.erase(stem.rfind('.'));
    }
    for (const char* extension : {".xm", ".it", ".s3m", ".mod", ".ogg"}) {
        if (FileExists(stem + extension)) {
            return stem + extension;
        }
    }
    return {};
}

std::unique_ptr<SongPlayer> OpenSongPlayer(const std::string& extension, std::vector<uint8_t> bytes,
                                           int outputRate)
{
    if (extension == "wav" || extension == "ogg") {
        return StreamPlayer::Open(extension, std::move(bytes), outputRate);
    }
    if (extension == "mp3") {
        return nullptr;
    }
    return ModulePlayer::Open(bytes.data(), bytes.size(), outputRate);
}

OpenMptMusicInterface::OpenMptMusicInterface(std::shared_ptr<Mixer> outputMixer)
    : mixer(std::move(outputMixer))
{
    MixerLock lock(*mixer);
    mixer->AddSource(this);
}

OpenMptMusicInterface::~OpenMptMusicInterface()
{
    {
        MixerLock lock(*mixer);
        mixer->RemoveSource(this);
    }
    songs.clear();
}

bool OpenMptMusicInterface::LoadMusic(int songId, const std::string& fileName)
{
    const std::string path = ResolveSongFile(WithForwardSlashes(fileName));
    if (path.empty()) {
        return false;
    }
    auto bytes = ReadFileBytes(path, kMaxSongFileBytes);
    if (!bytes) {
        return false;
    }
    auto player = OpenSongPlayer(LowerExtension(path), std::move(*bytes), mixer->OutputRate());
    if (!player) {
        return false;
    }
    auto song = std::make_unique<Song>();
    song->player = std::move(player);
    std::unique_ptr<Song> replaced;
    std::lock_guard guard(songsMutex);
    {
        MixerLock lock(*mixer);
        auto& entry = songs[songId];
        replaced = std::move(entry);
        entry = std::move(song);
    }
    return true;
}

OpenMptMusicInterface::Song* OpenMptMusicInterface::Find(int songId)
{
    const auto found = songs.find(songId);
    return found == songs.end() ? nullptr : found->second.get();
}

void OpenMptMusicInterface::ApplyVolume(Song& song)
{
    MixerLock lock(*mixer);
    song.channelGain = PercentGain(song.volume);
}

void OpenMptMusicInterface::StartPlaying(Song& song, int offset, bool noLoop)
{
    MixerLock lock(*mixer);
    song.player->SetLooping(!noLoop);
    if (offset >= 0) {
        song.player->Seek(offset);
    }
    song.paused = false;
    song.active = true;
}

void OpenMptMusicInterface::StopChannel(Song& song)
{
    MixerLock lock(*mixer);
    song.active = false;
}

void OpenMptMusicInterface::StopSong(Song& song)
{
    song.volume = 0;
    ApplyVolume(song);
    StopChannel(song);
}

void OpenMptMusicInterface::SetPaused(Song& song, bool paused)
{
    MixerLock lock(*mixer);
    song.paused = paused;
}

void OpenMptMusicInterface::PlayMusic(int songId, int offset, bool noLoop)
{
    std::lock_guard guard(songsMutex);
    Song* song = Find(songId);
    if (song == nullptr) {
        return;
    }
    song->volume = song->cap;
    song->step = 0;
    song->stopFlag = noLoop;
    ApplyVolume(*song);
    StopChannel(*song);
    StartPlaying(*song, offset, noLoop);
}

void OpenMptMusicInterface::FadeIn(int songId, int offset, double step, bool noLoop)
{
    std::lock_guard guard(songsMutex);
    Song* song = Find(songId);
    if (song == nullptr) {
        return;
    }
    song->step = step;
    song->stopFlag = noLoop;
    StopChannel(*song);
    ApplyVolume(*song);
    StartPlaying(*song, offset, noLoop);
}

void OpenMptMusicInterface::FadeOut(int songId, bool stopWhenDone, double step)
{
    std::lock_guard guard(songsMutex);
    Song* song = Find(songId);
    if (song != nullptr && song->volume != 0) {
        song->step = -step;
        song->stopFlag = stopWhenDone;
    }
}

void OpenMptMusicInterface::FadeOutAll(bool stopWhenDone, double step)
{
    std::lock_guard guard(songsMutex);
    for (auto& entry : songs) {
        entry.second->step = -step;
        entry.second->stopFlag = stopWhenDone;
    }
}

void OpenMptMusicInterface::Update()
{
    std::lock_guard guard(songsMutex);
    for (auto& entry : songs) {
        Song& song = *entry.second;
        if (song.step == 0) {
            continue;
        }
        song.volume += song.step;
        if (song.volume > song.cap || (song.step > 0 && song.volume > song.cap - kFadeTolerance)) {
            song.volume = song.cap;
            song.step = 0;
        } else if (song.volume < 0 || (song.step < 0 && song.volume < kFadeTolerance)) {
            song.volume = 0;
            song.step = 0;
            if (song.stopFlag) {
                StopChannel(song);
            }
        }
        ApplyVolume(song);
    }
}

void OpenMptMusicInterface::StopMusic(int songId)
{
    std::lock_guard guard(songsMutex);
    if (Song* song = Find(songId)) {
        StopSong(*song);
    }
}

void OpenMptMusicInterface::StopAllMusic()
{
    std::lock_guard guard(songsMutex);
    for (auto& entry : songs) {
        StopSong(*entry.second);
    }
}

void OpenMptMusicInterface::PauseMusic(int songId)
{
    std::lock_guard guard(songsMutex);
    if (Song* song = Find(songId)) {
        SetPaused(*song, true);
    }
}

void OpenMptMusicInterface::ResumeMusic(int songId)
{
    std::lock_guard guard(songsMutex);
    if (Song* song = Find(songId)) {
        SetPaused(*song, false);
    }
}

void OpenMptMusicInterface::PauseAllMusic()
{
    std::lock_guard guard(songsMutex);
    for (auto& entry : songs) {
        SetPaused(*entry.second, true);
    }
}

void OpenMptMusicInterface::ResumeAllMusic()
{
    std::lock_guard guard(songsMutex);
    for (auto& entry : songs) {
        SetPaused(*entry.second, false);
    }
}

void OpenMptMusicInterface::UnloadMusic(int songId)
{
    std::unique_ptr<Song> removed;
    std::lock_guard guard(songsMutex);
    const auto found = songs.find(songId);
    if (found == songs.end()) {
        return;
    }
    StopSong(*found->second);
    MixerLock lock(*mixer);
    removed = std::move(found->second);
    songs.erase(found);
}

void OpenMptMusicInterface::UnloadAllMusic()
{
    std::map<int, std::unique_ptr<Song>> removed;
    std::lock_guard guard(songsMutex);
    MixerLock lock(*mixer);
    removed.swap(songs);
}

void OpenMptMusicInterface::SetSongVolume(int songId, double volume)
{
    std::lock_guard guard(songsMutex);
    if (Song* song = Find(songId)) {
        song->volume = volume;
        ApplyVolume(*song);
    }
}

void OpenMptMusicInterface::SetSongMaxVolume(int songId, double volume)
{
    std::lock_guard guard(songsMutex);
    if (Song* song = Find(songId)) {
        song->cap = volume;
        song->volume = std::min(song->volume, song->cap);
        ApplyVolume(*song);
    }
}

bool OpenMptMusicInterface::IsPlaying(int songId)
{
    std::lock_guard guard(songsMutex);
    Song* song = Find(songId);
    if (song == nullptr) {
        return false;
    }
    MixerLock lock(*mixer);
    return song->active && !song->paused;
}

void OpenMptMusicInterface::SetVolume(double volume)
{
    const float gain = PercentGain(volume);
    MixerLock lock(*mixer);
    musicGain = gain;
}

void OpenMptMusicInterface::SetMusicAmplify(int songId, double amplification)
{
    std::lock_guard guard(songsMutex);
    Song* song = Find(songId);
    if (song == nullptr) {
        return;
    }
    // Half of the range plays the module as written; the top doubles it.
    const float gain = PercentGain(amplification) * 2.0f;
    MixerLock lock(*mixer);
    song->amplification = gain;
}

double OpenMptMusicInterface::GetSongVolume(int songId)
{
    std::lock_guard guard(songsMutex);
    Song* song = Find(songId);
    return song == nullptr ? -1.0 : song->volume;
}

void OpenMptMusicInterface::Mix(float* stereo, int frameCount)
{
    for (auto& entry : songs) {
        Song& song = *entry.second;
        if (!song.active || song.paused) {
            continue;
        }
        const int rendered = song.player->Render(songFrames.data(), frameCount);
        const float gain =
            song.channelGain * musicGain * (song.player->IsModule() ? song.amplification : 1.0f);
        if (gain > 0) {
            for (int i = 0; i < 2 * rendered; ++i) {
                stereo[i] += songFrames[static_cast<std::size_t>(i)] * gain;
            }
        }
        // Only a song that does not loop runs out.
        if (rendered < frameCount) {
            song.active = false;
        }
    }
}

} // namespace Zorva
