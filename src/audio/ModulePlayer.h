#pragma once

#include "audio/SongPlayer.h"

#include <cstddef>
#include <cstdint>
#include <memory>

struct openmpt_module;

namespace Zorva {

/// A tracker module (MO3, XM, IT, S3M, MOD and the other formats of libopenmpt) rendered at
/// the output rate.
class ModulePlayer : public SongPlayer
{
public:
    /// The length of the resampling filter songs are rendered with.
    static constexpr int kInterpolationTaps = 4;

    /// Null when the bytes are no module libopenmpt reads.
    static std::unique_ptr<ModulePlayer> Open(const uint8_t* bytes, std::size_t size,
                                              int outputRate);
    ~ModulePlayer() override;
    ModulePlayer(const ModulePlayer&) = delete;
    ModulePlayer& operator=(const ModulePlayer&) = delete;

    int Render(float* stereo, int frameCount) override;
    void SetLooping(bool looping) override;
    void Seek(int order) override;
    bool IsModule() const override { return true; }

private:
    struct ModuleDeleter
    {
        void operator()(openmpt_module* module) const;
    };
    ModulePlayer(std::unique_ptr<openmpt_module, ModuleDeleter> module, int outputRate);

    std::unique_ptr<openmpt_module, ModuleDeleter> module;
    int outputRate;
};

} // namespace Zorva
