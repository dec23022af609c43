#pragma once

#include "audio/DSoundInstance.h"
#include "audio/SoundFileLoader.h"
#include "audio/SoundManager.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace Zorva {

class Mixer;

/// The sound manager on the mixer. Without a mixer (no sound device) every operation
/// succeeds and nothing sounds.
///
/// Sounds may be loaded on the loading thread while the main thread plays others: the sound
/// table and the instance slots are guarded by a lock of their own that the audio thread
/// never takes, and decoding happens outside it.
class DSoundManager : public SoundManager
{
public:
    /// `cacheFolder` holds the decoded copies of compressed sounds (empty: no cache).
    explicit DSoundManager(std::shared_ptr<Mixer> mixer = nullptr, std::string cacheFolder = {});
    ~DSoundManager() override;
    DSoundManager(const DSoundManager&) = delete;
    DSoundManager& operator=(const DSoundManager&) = delete;

    bool HasDevice() override { return mixer != nullptr; }
    int LoadSound(const std::string& fileName) override;
    bool LoadSound(int id, const std::string& fileName) override;
    void ReleaseSound(int id) override;
    void SetVolume(double volume) override;
    bool SetBaseVolume(int id, double volume) override;
    bool SetBasePan(int id, int pan) override;
    SoundInstance* NewInstance(int id) override;
    void ReleaseAllSounds() override;
    void DeleteInstances() override;
    double GetMasterVolume() override;
    void SetMasterVolume(double volume) override;
    void Flush() override {}
    void AttachWindow(void*, bool) override {}
    void StopAll() override;

    /// The level set with SetVolume.
    double GetVolume() const { return masterVolume; }
    /// The file name an id holds (empty when free).
    std::string GetFileName(int id);
    /// Bytes of sample data an id holds.
    std::size_t GetDataSize(int id);

private:
    struct Sound
    {
        std::shared_ptr<const SoundBuffer> buffer;
        std::string fileName;
        std::size_t dataSize = 0;
        double baseVolume = 1.0;
        int basePan = 0;
    };

    static bool IsValidId(int id) { return id >= 0 && id < kMaxSounds; }
    /// Loads into an id whose name is already stored.
    bool LoadNamedSound(int id, const std::string& fileName);
    void SweepReleasedInstances();

    std::shared_ptr<Mixer> mixer;
    SoundFileLoader loader;
    std::mutex tableMutex;
    std::array<Sound, kMaxSounds> sounds;
    std::array<std::unique_ptr<DSoundInstance>, kMaxInstances> instances;
    double masterVolume = 1.0;
    /// The program's output gain, 0..65535.
    int outputLevel = 65535;
    int64_t lastSweepTime = 0;
};

} // namespace Zorva
