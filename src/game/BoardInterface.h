#pragma once

#include "widgets/ButtonListener.h"
#include "widgets/Widget.h"

#include <memory>
#include <string>

namespace Zorva {
class ButtonWidget;
class Graphics;
} // namespace Zorva

class Board;
class BoardPanelHost;
class PlayFieldHost;

/// The panel under the board: the four in-game buttons (menu, Undo, Hint, Reshuffle), the
/// background cache, and all pointer input of the game screen, which it hands to the board.
class BoardInterface : public Zorva::Widget, public Zorva::ButtonListener
{
public:
    static constexpr int kMenuButtonId = 0;
    static constexpr int kUndoButtonId = 1;
    static constexpr int kHintButtonId = 2;
    static constexpr int kReshuffleButtonId = 3;

    BoardInterface(Board& board, BoardPanelHost& panelHost, PlayFieldHost& fieldHost);
    ~BoardInterface() override;

    void Paint(Zorva::Graphics& graphics) override;
    void OnButtonActivated(int id) override;

    void SetUndoEnabled(bool enabled);
    void SetReshuffleButton(const std::string& label, bool enabled);
    /// The Reshuffle button's action (also used by the game-over dialog).
    void PressReshuffle();

    Board& board;
    BoardPanelHost& panelHost;
    PlayFieldHost& fieldHost;
    std::unique_ptr<Zorva::ButtonWidget> menuButton;
    std::unique_ptr<Zorva::ButtonWidget> undoButton;
    std::unique_ptr<Zorva::ButtonWidget> hintButton;
    std::unique_ptr<Zorva::ButtonWidget> reshuffleButton;
};
