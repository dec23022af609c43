#pragma once

#include "game/GameMode.h"
#include "widgets/CheckboxListener.h"
#include "widgets/Dialog.h"

namespace Zorva {
class ZorvaAppBase;
}

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

    void OnButtonActivated(int buttonId) override;
    void OnCheckboxChanged(int id, bool checked) override;

private:
    Zorva::ZorvaAppBase& app;
    PlayFieldHost& host;
};
