#pragma once

namespace Zorva {

/// One playing copy of a loaded sound with its own volume, pan and pitch. Owned by its sound
/// manager's instance slots; a caller keeps the pointer only until it releases it.
class SoundInstance
{
public:
    virtual ~SoundInstance() = default;
    /// Stops it and marks it released, so that its slot can be reused.
    virtual void Release() = 0;
    virtual void SetBaseVolume(double volume) = 0;
    /// In hundredths of a decibel, negative to the left.
    virtual void SetBasePan(int pan) = 0;
    /// Plays `semitones` away from the sample's own rate, within 100 .. 100000 Hz.
    virtual void AdjustPitch(double semitones) = 0;
    /// 0..1.
    virtual void SetVolume(double volume) = 0;
    virtual void SetPan(int pan) = 0;
    /// Plays from the start; with `autoRelease` the instance releases itself once played out.
    virtual bool Play(bool looping, bool autoRelease) = 0;
    /// Stops, rewinds and forgets the auto-release wish.
    virtual void Stop() = 0;
    virtual bool IsPlaying() = 0;
    virtual bool IsReleased() = 0;
    virtual double GetVolume() = 0;
};

} // namespace Zorva
