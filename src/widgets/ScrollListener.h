#pragma once

namespace Zorva {

/// Told when a scroll bar moved; `position` is the first visible line.
class ScrollListener
{
public:
    virtual ~ScrollListener() = default;
    virtual void OnScrolled(int /*id*/, double /*position*/) {}
};

} // namespace Zorva
