#pragma once

#include "widgets/Dialog.h"

#include <memory>
#include <vector>

namespace Zorva {
class ZorvaAppBase;
}

class GameDialogButton;
class MenuHost;

/// The in-game menu (id 1005): back to the main menu (saving the game), how to play,
/// options, restart and continue; Escape continues. It places itself at (275, 160), 250 by
/// 280.
class MenuWnd : public Zorva::Dialog
{
public:
    static constexpr int kDialogId = 1005;
    static constexpr int kMainMenuButtonId = 0;
    static constexpr int kHowToPlayButtonId = 1;
    static constexpr int kOptionsButtonId = 2;
    static constexpr int kRestartButtonId = 3;
    static constexpr int kContinueButtonId = 4;

    MenuWnd(Zorva::ZorvaAppBase& app, MenuHost& host);
    ~MenuWnd() override;

    void OnKeyDown(int key) override;
    void OnButtonActivated(int buttonId) override;

    std::vector<std::unique_ptr<GameDialogButton>> buttons;

private:
    Zorva::ZorvaAppBase& app;
    MenuHost& host;
};
