#pragma once

#include "resources/BaseRes.h"

namespace Zorva {

/// A sound of the manifest: the sound manager's id once loaded, and its base volume and pan.
class SoundRes : public BaseRes
{
public:
    void ReleaseLoaded() override { soundId = -1; }

    int soundId = -1;
    /// Below 0: not set.
    double volume = -1.0;
    int pan = 0;
};

} // namespace Zorva
