#include "app/ZorvaAppBase.h"

#include "app/platform/SdlAudioDevice.h"
#include "audio/DSoundManager.h"
#include "audio/Mixer.h"
#include "audio/OpenMptMusicInterface.h"
#include "system/AppFiles.h"

namespace Zorva {

std::unique_ptr<SoundManager> ZorvaAppBase::MakeSoundManager()
{
    if (noSound) {
        return nullptr;
    }
    audioMixer = Mixer::Create(std::make_unique<SdlAudioDevice>());
    if (!audioMixer) {
        OutputDebug("No sound device; playing without sound\r\n");
        return nullptr;
    }
    return std::make_unique<DSoundManager>(audioMixer, UserFolder() + "/cached");
}

std::unique_ptr<MusicInterface> ZorvaAppBase::MakeMusicPlayer()
{
    // Both players play through the one mixer; `useAltMusicPlayer` picks the same one.
    if (noSound || !audioMixer) {
        return nullptr;
    }
    return std::make_unique<OpenMptMusicInterface>(audioMixer);
}

bool ZorvaAppBase::LoadSoundResource(int id, const std::string& path, double volume, int pan)
{
    if (!GetSoundManager()->LoadSound(id, path)) {
        return false;
    }
    if (volume >= 0) {
        GetSoundManager()->SetBaseVolume(id, volume);
    }
    if (pan != 0) {
        GetSoundManager()->SetBasePan(id, pan);
    }
    return true;
}

} // namespace Zorva
