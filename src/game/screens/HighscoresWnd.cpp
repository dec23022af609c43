#include "game/screens/HighscoresWnd.h"

#include "app/ZorvaAppBase.h"
#include "game/ResourceHandles.h"
#include "game/screens/GameDialogButton.h"
#include "game/screens/MenuHost.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"

#include <string>

namespace {

constexpr int kTitleBaseline = 90;
constexpr int kFirstRowBaseline = 130;
constexpr int kRowSpacing = 20;
constexpr int kRowCount = 10;
const Zorva::Color kHighlightColor(0, 255, 0);

} // namespace

HighscoresWnd::HighscoresWnd(Zorva::ZorvaAppBase& newApp, MenuHost& newHost, int row)
    : Dialog(IMAGE_DIALOG_BOX, IM_B_DIALOG, kDialogId, true, "HIGHSCORES", "", "", kButtonsNone),
      app(newApp), host(newHost), highlightRow(row)
{
    SetColorAt(kColorHeader, Zorva::Color::kBlack);
    SetColorAt(kColorLines, Zorva::Color::kBlack);
    SetHeaderFont(FONT_DEFAULT);
    SetLinesFont(FONT_DEFAULT);
    // Centred on (400, 300) though 200 pixels wider than its background.
    const int boxWidth = IMAGE_DIALOG_BOX ? IMAGE_DIALOG_BOX->GetWidth() : 0;
    const int boxHeight = IMAGE_DIALOG_BOX ? IMAGE_DIALOG_BOX->GetHeight() : 0;
    Place(300 - boxWidth / 2, 300 - boxHeight / 2, boxWidth + 200, boxHeight);

    okButton = std::make_unique<GameDialogButton>(kOkButtonId, "Ok", this);
    okButton->MoveTo(295, 350);
    AddWidget(okButton.get());
}

HighscoresWnd::~HighscoresWnd()
{
    RemoveAllWidgets(false, false);
}

void HighscoresWnd::Paint(Zorva::Graphics& graphics)
{
    Dialog::Paint(graphics);
    graphics.SaveState();
    graphics.SetFont(FONT_DEFAULT);
    graphics.SetColor(Zorva::Color::kBlack);
    // Zero-wide fields centred on the columns' middles.
    graphics.DrawTextLine("One-Side Solitaire", 190, kTitleBaseline, 0, 0);
    graphics.DrawTextLine("Two-Side Solitaire", 550, kTitleBaseline, 0, 0);
    // Names are the players' own text: a caret in one is drawn, never read as a colour.
    graphics.SetColorCodes(false);
    PaintTable(graphics, host.Highscores(GameMode::OneSide), GameMode::OneSide, 50, 80, 280);
    PaintTable(graphics, host.Highscores(GameMode::TwoSide), GameMode::TwoSide, 410, 440, 650);
    graphics.RestoreState();
}

void HighscoresWnd::PaintTable(Zorva::Graphics& graphics, const HighscoreTable& table,
                               GameMode mode, int rankX, int nameX, int scoreX) const
{
    const bool markedTable = host.Mode() == mode;
    for (int row = 0; row < kRowCount; ++row) {
        const int baseline = kFirstRowBaseline + kRowSpacing * row;
        const bool marked = markedTable && row == highlightRow;
        graphics.SetColor(marked ? kHighlightColor : Zorva::Color::kWhite);
        graphics.DrawTextLine(std::to_string(row + 1) + ".", rankX, baseline, 0, -1);
        // A table short of ten rows still shows every rank.
        if (row < static_cast<int>(table.size())) {
            const HighscoreEntry& entry = table[static_cast<std::size_t>(row)];
            graphics.DrawTextLine(entry.name, nameX, baseline, 0, -1);
            graphics.DrawTextLine(std::to_string(entry.score), scoreX, baseline, 0, -1);
        }
    }
}

void HighscoresWnd::OnButtonActivated(int buttonId)
{
    if (buttonId != kOkButtonId) {
        Dialog::OnButtonActivated(buttonId);
        return;
    }
    app.PlaySoundOnce(SOUND_CLICK);
    app.CloseDialog(this);
}
