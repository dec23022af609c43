#include "audio/DSoundManager.h"

#include "audio/Mixer.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace Zorva {

namespace {

constexpr int64_t kSweepIntervalMs = 1000;
constexpr int kMaxOutputLevel = 65535;

int64_t NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

DSoundManager::DSoundManager(std::shared_ptr<Mixer> outputMixer, std::string cacheFolder)
    : mixer(std::move(outputMixer)), loader(std::move(cacheFolder)), lastSweepTime(NowMs())
{}

DSoundManager::~DSoundManager()
{
    DeleteInstances();
    ReleaseAllSounds();
}

int DSoundManager::LoadSound(const std::string& fileName)
{
    int id = -1;
    {
        std::lock_guard lock(tableMutex);
        for (int i = 0; i < kMaxSounds; ++i) {
            if (!sounds[i].fileName.empty() && sounds[i].fileName == fileName) {
                return i;
            }
        }
        for (int i = kMaxSounds - 1; i >= 0; --i) {
            if (sounds[i].fileName.empty() && !sounds[i].buffer) {
                id = i;
                break;
            }
        }
        if (id < 0) {
            return -1;
        }
        if (mixer) {
            // Claimed before decoding, so that a load on another thread picks another id.
            sounds[id].fileName = fileName;
        }
    }
    if (!mixer) {
        return id;
    }
    return LoadNamedSound(id, fileName) ? id : -1;
}

bool DSoundManager::LoadSound(int id, const std::string& fileName)
{
    if (!IsValidId(id)) {
        return false;
    }
    ReleaseSound(id);
    if (!mixer) {
        return true;
    }
    {
        std::lock_guard lock(tableMutex);
        sounds[id].fileName = fileName;
    }
    return LoadNamedSound(id, fileName);
}

bool DSoundManager::LoadNamedSound(int id, const std::string& fileName)
{
    std::optional<SoundBuffer> loaded = fileName.empty() ? std::nullopt : loader.Load(fileName);
    std::lock_guard lock(tableMutex);
    Sound& sound = sounds[id];
    if (!loaded) {
        // A name whose load failed must not make LoadSound(name) hand out an empty id.
        sound.fileName.clear();
        return false;
    }
    sound.dataSize = loaded->data.size();
    sound.buffer = std::make_shared<const SoundBuffer>(std::move(*loaded));
    return true;
}

void DSoundManager::ReleaseSound(int id)
{
    if (!IsValidId(id)) {
        return;
    }
    std::shared_ptr<const SoundBuffer> dropped;
    std::lock_guard lock(tableMutex);
    // Playing instances keep their own reference to the sample.
    dropped = std::move(sounds[id].buffer);
    sounds[id].fileName.clear();
    sounds[id].dataSize = 0;
}

void DSoundManager::SetVolume(double volume)
{
    std::lock_guard lock(tableMutex);
    masterVolume = volume;
    for (auto& instance : instances) {
        if (instance) {
            instance->ApplyGains();
        }
    }
}

bool DSoundManager::SetBaseVolume(int id, double volume)
{
    if (!IsValidId(id)) {
        return false;
    }
    std::lock_guard lock(tableMutex);
    sounds[id].baseVolume = volume;
    return true;
}

bool DSoundManager::SetBasePan(int id, int pan)
{
    if (!IsValidId(id)) {
        return false;
    }
    std::lock_guard lock(tableMutex);
    sounds[id].basePan = pan;
    return true;
}

SoundInstance* DSoundManager::NewInstance(int id)
{
    if (!IsValidId(id)) {
        return nullptr;
    }
    std::lock_guard lock(tableMutex);
    const int64_t now = NowMs();
    if (now - lastSweepTime >= kSweepIntervalMs) {
        lastSweepTime = now;
        SweepReleasedInstances();
    }
    std::unique_ptr<DSoundInstance>* slot = nullptr;
    for (auto& candidate : instances) {
        if (!candidate) {
            slot = &candidate;
            break;
        }
        if (candidate->IsReleased()) {
            candidate.reset();
            slot = &candidate;
            break;
        }
    }
    if (slot == nullptr) {
        return nullptr;
    }
    const Sound& sound = sounds[id];
    if (mixer && !sound.buffer) {
        return nullptr;
    }
    *slot = std::make_unique<DSoundInstance>(this, mixer, mixer ? sound.buffer : nullptr);
    (*slot)->SetBasePan(sound.basePan);
    (*slot)->SetBaseVolume(sound.baseVolume);
    return slot->get();
}

void DSoundManager::SweepReleasedInstances()
{
    for (auto& instance : instances) {
        if (instance && instance->IsReleased()) {
            instance.reset();
        }
    }
}

void DSoundManager::ReleaseAllSounds()
{
    for (int id = 0; id < kMaxSounds; ++id) {
        ReleaseSound(id);
    }
}

void DSoundManager::DeleteInstances()
{
    std::lock_guard lock(tableMutex);
    for (auto& instance : instances) {
        instance.reset();
    }
}

double DSoundManager::GetMasterVolume()
{
    return static_cast<double>(outputLevel) / kMaxOutputLevel;
}

void DSoundManager::SetMasterVolume(double volume)
{
    const double clamped = std::isnan(volume) ? 0.0 : std::clamp(volume, 0.0, 1.0);
    outputLevel = static_cast<int>(clamped * kMaxOutputLevel);
    if (mixer) {
        MixerLock lock(*mixer);
        mixer->SetOutputGain(static_cast<float>(outputLevel) / kMaxOutputLevel);
    }
}

void DSoundManager::StopAll()
{
    std::lock_guard lock(tableMutex);
    for (auto& instance : instances) {
        if (instance) {
            const bool autoRelease = instance->AutoReleases();
            instance->Stop();
            instance->SetAutoRelease(autoRelease);
        }
    }
}

std::string DSoundManager::GetFileName(int id)
{
    if (!IsValidId(id)) {
        return {};
    }
    std::lock_guard lock(tableMutex);
    return sounds[id].fileName;
}

std::size_t DSoundManager::GetDataSize(int id)
{
    if (!IsValidId(id)) {
        return 0;
    }
    std::lock_guard lock(tableMutex);
    return sounds[id].dataSize;
}

} // namespace Zorva
