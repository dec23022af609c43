#pragma once

/// A stone of the play field as the board sees it: something that animates once per tick.
/// Drawing joins this interface with the board.
class BaseFish
{
public:
    virtual ~BaseFish() = default;

    /// One tick of movement and animation.
    virtual void Update() = 0;
};
