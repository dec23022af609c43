#pragma once

namespace Zorva {

/// The sound of one song at the output rate: a module or a stream. Used under the mixer's
/// lock only.
class SongPlayer
{
public:
    virtual ~SongPlayer() = default;
    /// Writes up to `frameCount` interleaved stereo frames (full scale ±1); fewer at the end
    /// of a song that does not loop.
    virtual int Render(float* stereo, int frameCount) = 0;
    virtual void SetLooping(bool looping) = 0;
    /// A module goes to an order position, a stream to a byte position of its 16-bit data.
    virtual void Seek(int offset) = 0;
    /// Modules take an amplification; streams play as they are.
    virtual bool IsModule() const = 0;
};

} // namespace Zorva
