#pragma once

namespace Zorva {

class Dialog;

/// What a dialog needs from the application that shows it to wait for its result.
class DialogHost
{
public:
    virtual ~DialogHost() = default;

    /// Runs the application's loop until one update ran; false when the loop must end
    /// (the application is shutting down).
    virtual bool RunModalStep() = 0;
    /// Closes `dialog` if it is the one shown under its id; false otherwise.
    virtual bool CloseDialog(Dialog* dialog) = 0;
};

} // namespace Zorva
