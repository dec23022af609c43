#include "audio/DSoundInstance.h"

#include "audio/DSoundManager.h"
#include "audio/Mixer.h"
#include "audio/VolumeMapping.h"

namespace Zorva {

DSoundInstance::DSoundInstance(DSoundManager* owner, std::shared_ptr<Mixer> outputMixer,
                               std::shared_ptr<const SoundBuffer> sample)
    : manager(owner), mixer(std::move(outputMixer)), sourceBuffer(std::move(sample))
{
    if (!mixer || !sourceBuffer) {
        mixer.reset();
        sourceBuffer.reset();
        return;
    }
    baseFrequency = frequency = sourceBuffer->sampleRate;
    voice.sample = sourceBuffer.get();
    voice.step = static_cast<double>(frequency) / mixer->OutputRate();
    {
        MixerLock lock(*mixer);
        mixer->AddVoice(&voice);
    }
    ApplyGains();
}

DSoundInstance::~DSoundInstance()
{
    if (mixer) {
        MixerLock lock(*mixer);
        mixer->RemoveVoice(&voice);
    }
}

void DSoundInstance::Release()
{
    Stop();
    released = true;
}

void DSoundInstance::SetBaseVolume(double level)
{
    baseVolume = level;
    ApplyGains();
}

void DSoundInstance::SetBasePan(int value)
{
    basePan = value;
    ApplyGains();
}

void DSoundInstance::AdjustPitch(double semitones)
{
    frequency = PitchedFrequency(baseFrequency, semitones);
    ApplyFrequency();
}

void DSoundInstance::SetVolume(double level)
{
    volume = level;
    ApplyGains();
}

void DSoundInstance::SetPan(int value)
{
    pan = value;
    ApplyGains();
}

bool DSoundInstance::Play(bool looping, bool releaseWhenDone)
{
    Stop();
    hasPlayed = true;
    autoRelease = releaseWhenDone;
    if (mixer) {
        MixerLock lock(*mixer);
        voice.looping = looping;
        voice.playing = true;
    }
    return true;
}

void DSoundInstance::Stop()
{
    if (mixer) {
        MixerLock lock(*mixer);
        voice.playing = false;
        voice.position = 0;
    }
    autoRelease = false;
}

bool DSoundInstance::IsPlaying()
{
    if (!hasPlayed || !mixer) {
        return false;
    }
    MixerLock lock(*mixer);
    return voice.playing;
}

bool DSoundInstance::IsReleased()
{
    if (!released && autoRelease && hasPlayed && !IsPlaying()) {
        Release();
    }
    return released;
}

void DSoundInstance::ApplyGains()
{
    if (!mixer) {
        return;
    }
    const double level = volume * baseVolume * (manager ? manager->GetVolume() : 1.0);
    const double gain = HundredthsToGain(VolumeToHundredths(level));
    const PanGains sides = PanToGains(static_cast<long long>(basePan) + pan);
    MixerLock lock(*mixer);
    voice.gainLeft = static_cast<float>(gain * sides.left);
    voice.gainRight = static_cast<float>(gain * sides.right);
}

void DSoundInstance::ApplyFrequency()
{
    if (!mixer) {
        return;
    }
    MixerLock lock(*mixer);
    voice.step = static_cast<double>(frequency) / mixer->OutputRate();
}

} // namespace Zorva
