#pragma once

#include "game/GameMode.h"
#include "game/screens/HighscoresFile.h"
#include "widgets/Dialog.h"

#include <memory>

namespace Zorva {
class ZorvaAppBase;
}

class GameDialogButton;
class MenuHost;

/// The highscores window (id 1009): both tables side by side, One-Side on the left, with the
/// new row of the field's mode in green. It places itself: centred on (400, 300), 200 pixels
/// wider than IMAGE_DIALOG_BOX.
class HighscoresWnd : public Zorva::Dialog
{
public:
    static constexpr int kDialogId = 1009;
    static constexpr int kOkButtonId = 0;

    /// `highlightRow` -1 marks no row.
    HighscoresWnd(Zorva::ZorvaAppBase& app, MenuHost& host, int highlightRow);
    ~HighscoresWnd() override;

    void SetHighlightRow(int row) { highlightRow = row; }
    int HighlightRow() const { return highlightRow; }

    void Paint(Zorva::Graphics& graphics) override;
    void OnButtonActivated(int buttonId) override;

    std::unique_ptr<GameDialogButton> okButton;

private:
    Zorva::ZorvaAppBase& app;
    MenuHost& host;
    int highlightRow = -1;

    /// One table's ten rows with the rank at `rankX`, the name at `nameX` and the score at
    /// `scoreX`; the highlighted row is green when the field plays `mode`.
    void PaintTable(Zorva::Graphics& graphics, const HighscoreTable& table, GameMode mode,
                    int rankX, int nameX, int scoreX) const;
};
