#pragma once

#include "audio/SoundInstance.h"

#include <string>

namespace Zorva {

/// Sound effects: up to 256 samples held in memory by id (0..255), played as up to 32
/// independent instances.
class SoundManager
{
public:
    static constexpr int kMaxSounds = 256;
    static constexpr int kMaxInstances = 32;

    /// Releases the instances and the sounds, and the device.
    virtual ~SoundManager() = default;
    virtual bool HasDevice() = 0;
    /// The id already holding this exact name, else the highest free id loaded with it;
    /// -1 when no id is free or loading fails.
    virtual int LoadSound(const std::string& fileName) = 0;
    /// Loads the sample `fileName` names (the cached copy, else the ".wav", ".ogg" or ".au"
    /// file) into `id`; false for ids outside 0..255 or when nothing loads.
    virtual bool LoadSound(int id, const std::string& fileName) = 0;
    virtual void ReleaseSound(int id) = 0;
    /// The level every instance is scaled by (0..1).
    virtual void SetVolume(double volume) = 0;
    virtual bool SetBaseVolume(int id, double volume) = 0;
    virtual bool SetBasePan(int id, int pan) = 0;
    /// A new instance of the sound, owned by the manager; null when the id has no sample or
    /// all 32 slots hold instances that are not released.
    virtual SoundInstance* NewInstance(int id) = 0;
    virtual void ReleaseAllSounds() = 0;
    virtual void DeleteInstances() = 0;
    /// The program's output gain as a fraction.
    virtual double GetMasterVolume() = 0;
    virtual void SetMasterVolume(double volume) = 0;
    virtual void Flush() = 0;
    /// The window the device belongs to; nothing on this platform.
    virtual void AttachWindow(void* window, bool windowed) = 0;
    /// Stops every instance; those meant to release themselves still do.
    virtual void StopAll() = 0;
};

} // namespace Zorva
