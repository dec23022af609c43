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
    /// The Reshuffle button's action (also used by the game-over dialog); plays the click.
    void PressReshuffle();
    /// A stone held at the pointer goes home as after a failed drop, and the release of the
    /// press that picked it up is not passed on. Called before the game is covered by a
    /// dialog in the middle of a drag.
    void CancelDrag();

    bool AcceptsFocus() override { return true; }
    void OnKeyDown(int key) override;
    /// In the editor, the characters that edit the hovered stone.
    void OnChar(char character) override;
    void OnPointerMove(int px, int py) override;
    void OnPointerDown(int px, int py, int clickCode) override;
    void OnPointerDrag(int px, int py) override;
    using Zorva::Widget::OnPointerUp;
    void OnPointerUp(int px, int py, int clickCode) override;

    /// Appends the developer dump to the log at `path`, which starts with a title line when
    /// it is new. The file is replaced as a whole, so it is never left half-written.
    static bool AppendDeveloperDump(const std::string& path);

    Board& board;
    BoardPanelHost& panelHost;
    PlayFieldHost& fieldHost;
    std::unique_ptr<Zorva::ButtonWidget> menuButton;
    std::unique_ptr<Zorva::ButtonWidget> undoButton;
    std::unique_ptr<Zorva::ButtonWidget> hintButton;
    std::unique_ptr<Zorva::ButtonWidget> reshuffleButton;
    /// Where the developer dump "temp.log" is written; the user folder by default.
    std::string logFolder;

private:
    std::unique_ptr<Zorva::ButtonWidget> MakeTextButton(int buttonId, const std::string& label,
                                                        int buttonX, int buttonY);
    /// The developer keys; only while they are on and no level is being set up.
    void OnDebugKey(int key);
    /// The editor's keys, before the other developer keys; false for a key it leaves to them.
    bool OnEditorKey(int key);

    /// The press under way had its drag cancelled: its release goes nowhere.
    bool releaseCancelled = false;
};
