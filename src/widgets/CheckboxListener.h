#pragma once

namespace Zorva {

/// Told when a check box changes, by the box's id.
class CheckboxListener
{
public:
    virtual ~CheckboxListener() = default;
    virtual void OnCheckboxChanged(int /*id*/, bool /*checked*/) {}
};

} // namespace Zorva
