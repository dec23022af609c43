#pragma once

#include "widgets/Dialog.h"

#include <memory>

namespace Zorva {
class ZorvaAppBase;
}

class GameDialogButton;
class MenuHost;

/// The continue-game dialog (id 1008): "Continue" goes on with the saved or reached game of
/// the field's mode, "New Game" starts the mode anew. It places itself: IMAGE_W_SMALL's size
/// centred on (400, 300).
class ContinueGameWnd : public Zorva::Dialog
{
public:
    static constexpr int kDialogId = 1008;
    static constexpr int kContinueButtonId = 0;
    static constexpr int kNewGameButtonId = 1;

    ContinueGameWnd(Zorva::ZorvaAppBase& app, MenuHost& host);
    ~ContinueGameWnd() override;

    void OnButtonActivated(int buttonId) override;

    std::unique_ptr<GameDialogButton> continueButton;
    std::unique_ptr<GameDialogButton> newGameButton;

private:
    Zorva::ZorvaAppBase& app;
    MenuHost& host;
};
