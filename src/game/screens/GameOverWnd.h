#pragma once

#include "widgets/Dialog.h"

namespace Zorva {
class ZorvaAppBase;
}

class BoardInterface;

/// The game-over dialog (id 1006): "Replay" starts the level again, "Use Reshuffle" runs the
/// panel's reshuffle (disabled when none is left).
class GameOverWnd : public Zorva::Dialog
{
public:
    static constexpr int kDialogId = 1006;
    static constexpr int kReplayButtonId = 0;
    static constexpr int kUseReshuffleButtonId = 1;

    GameOverWnd(Zorva::ZorvaAppBase& app, BoardInterface& panel);
    ~GameOverWnd() override;

    void OnButtonActivated(int buttonId) override;

private:
    Zorva::ZorvaAppBase& app;
    BoardInterface& panel;
};
