#pragma once

#include "graphics/Rect.h"
#include "widgets/Dialog.h"

#include <memory>

namespace Zorva {
class ZorvaAppBase;
}

class BoardInterface;
class GameDialogButton;

/// The game-over dialog (id 1006): "Replay" starts the level again, "Use Reshuffle" runs the
/// panel's reshuffle (disabled when none is left). It places itself: the size of
/// IMAGE_W_SMALL centred on the screen's middle (400, 300).
class GameOverWnd : public Zorva::Dialog
{
public:
    static constexpr int kDialogId = 1006;
    static constexpr int kReplayButtonId = 0;
    static constexpr int kUseReshuffleButtonId = 1;

    GameOverWnd(Zorva::ZorvaAppBase& app, BoardInterface& panel);
    ~GameOverWnd() override;

    /// Where the dialog stands: IMAGE_W_SMALL's size centred on (400, 300).
    static Zorva::Rect DefaultBounds();

    void OnButtonActivated(int buttonId) override;

    std::unique_ptr<GameDialogButton> replayButton;
    std::unique_ptr<GameDialogButton> useReshuffleButton;

private:
    Zorva::ZorvaAppBase& app;
    BoardInterface& panel;
};
