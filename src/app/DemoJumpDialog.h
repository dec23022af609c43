#pragma once

#include "widgets/Dialog.h"
#include "widgets/EditListener.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace Zorva {

class EditWidget;

/// "Jump To Time": the playback viewer types how long before the end of the demo to go to.
/// One edit field, OK and "Cancel"; Enter in the field is OK, Escape is "Cancel". The
/// outcome goes to the callback only, never to the application's button events.
class DemoJumpDialog : public Dialog, public EditListener
{
public:
    static constexpr int kDialogId = 9001;
    static constexpr int kEditId = 0;

    /// Told once: the field's text on OK, nothing on "Cancel".
    using Finished = std::function<void(const std::optional<std::string>& text)>;

    DemoJumpDialog(const std::string& initialText, Finished onFinished);
    ~DemoJumpDialog() override;

    EditWidget& Field() { return *edit; }

    using Widget::Place;
    void Place(int newX, int newY, int newWidth, int newHeight) override;
    int PreferredHeight(int forWidth) override;
    void OnButtonPressed(int buttonId) override;
    void OnButtonActivated(int buttonId) override;
    void OnEditEnter(int id, const std::string& text) override;
    bool AllowKey(int id, int keyCode) override;

private:
    int FieldHeight();
    void Finish(const std::optional<std::string>& text);

    std::unique_ptr<EditWidget> edit;
    Finished finished;
    bool done = false;
};

} // namespace Zorva
