#pragma once

namespace Zorva {

/// Told when a dialog's own buttons (ids 1000 and 1001) are pressed and clicked.
class DialogListener
{
public:
    virtual ~DialogListener() = default;
    virtual void OnDialogButtonPressed(int /*dialogId*/, int /*buttonId*/) {}
    virtual void OnDialogButtonActivated(int /*dialogId*/, int /*buttonId*/) {}
};

} // namespace Zorva
