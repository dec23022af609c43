#pragma once

namespace Zorva {

/// Told when a slider moves, by the slider's id; `value` lies in 0..1.
class SliderListener
{
public:
    virtual ~SliderListener() = default;
    virtual void OnSliderChanged(int /*id*/, double /*value*/) {}
};

} // namespace Zorva
