#pragma once

namespace Zorva {

/// Told what happens to a button, by the button's id. Every operation does nothing unless
/// overridden.
class ButtonListener
{
public:
    virtual ~ButtonListener() = default;

    /// `clickCode` is one of the kClick... codes of widgets/InputCodes.h.
    virtual void OnButtonPressed(int id, int /*clickCode*/) { OnButtonPressed(id); }
    virtual void OnButtonPressed(int /*id*/) {}
    /// The click: released while still over the button.
    virtual void OnButtonActivated(int /*id*/) {}
    /// Every update while the button is pressed and under the pointer.
    virtual void OnButtonHeld(int /*id*/) {}
    virtual void OnButtonHover(int /*id*/) {}
    virtual void OnButtonUnhover(int /*id*/) {}
    /// In the button's coordinates.
    virtual void OnButtonPointerMove(int /*id*/, int /*x*/, int /*y*/) {}
};

} // namespace Zorva
