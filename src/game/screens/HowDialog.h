#pragma once

#include "game/GameMode.h"
#include "widgets/CheckboxListener.h"
#include "widgets/Dialog.h"

#include <memory>

namespace Zorva {
class Checkbox;
class Image;
class ZorvaAppBase;
} // namespace Zorva

class GameDialogButton;
class PlayFieldHost;

/// The how-to-play dialog (id 1007): the page of the mode over the whole screen, a "Don't
/// show this again" check box that writes the player's choice, and "Close".
class HowDialog : public Zorva::Dialog, public Zorva::CheckboxListener
{
public:
    static constexpr int kDialogId = 1007;
    static constexpr int kCheckboxId = 0;
    static constexpr int kCloseButtonId = 4;

    HowDialog(Zorva::ZorvaAppBase& app, PlayFieldHost& host, GameMode mode);
    ~HowDialog() override;

    void Paint(Zorva::Graphics& graphics) override;
    void OnButtonActivated(int buttonId) override;
    void OnCheckboxChanged(int id, bool checked) override;

    /// The page shown over the dialog (not owned; may be null).
    Zorva::Image* pageImage = nullptr;
    std::unique_ptr<Zorva::Checkbox> checkbox;
    std::unique_ptr<GameDialogButton> closeButton;

private:
    Zorva::ZorvaAppBase& app;
    PlayFieldHost& fieldHost;
};
