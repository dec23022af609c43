#include "game/screens/HighscoresWnd.h"

#include "game/screens/GameDialogButton.h"

HighscoresWnd::HighscoresWnd(Zorva::ZorvaAppBase& newApp, MenuHost& newHost, int row)
    : Dialog(nullptr, nullptr, kDialogId, true, "HIGHSCORES", "", "", kButtonsNone), app(newApp),
      host(newHost), highlightRow(row)
{}

HighscoresWnd::~HighscoresWnd() = default;

void HighscoresWnd::Paint(Zorva::Graphics& graphics)
{
    Dialog::Paint(graphics);
}

void HighscoresWnd::OnButtonActivated(int buttonId)
{
    Dialog::OnButtonActivated(buttonId);
}
