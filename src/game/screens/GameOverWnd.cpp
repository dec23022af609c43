#include "game/screens/GameOverWnd.h"

#include "app/ZorvaAppBase.h"
#include "game/Board.h"
#include "game/BoardInterface.h"
#include "game/ResourceHandles.h"
#include "game/screens/GameDialogButton.h"
#include "graphics/Image.h"
#include "widgets/WidgetManager.h"

GameOverWnd::GameOverWnd(Zorva::ZorvaAppBase& newApp, BoardInterface& newPanel)
    : Dialog(IMAGE_W_SMALL, IM_B_DIALOG, kDialogId, true, "Game Over!", "You have not more moves!",
             "", kButtonsNone),
      app(newApp), panel(newPanel)
{
    SetColorAt(kColorHeader, Zorva::Color::kBlack);
    SetColorAt(kColorLines, Zorva::Color::kBlack);
    SetHeaderFont(FONT_DEFAULT);
    SetLinesFont(FONT_DEFAULT);
    Place(DefaultBounds());

    replayButton = std::make_unique<GameDialogButton>(kReplayButtonId, "Replay", this);
    replayButton->MoveTo(195, 105);
    useReshuffleButton =
        std::make_unique<GameDialogButton>(kUseReshuffleButtonId, "Use Reshuffle", this);
    useReshuffleButton->disabledImage = IM_B_DIALOG_DISABLE;
    useReshuffleButton->MoveTo(30, 105);
    useReshuffleButton->SetInactive(panel.board.model.field.reshufflesLeft <= 0);
    AddWidget(replayButton.get());
    AddWidget(useReshuffleButton.get());
}

GameOverWnd::~GameOverWnd()
{
    RemoveAllWidgets(false, false);
}

Zorva::Rect GameOverWnd::DefaultBounds()
{
    const int boxWidth = IMAGE_W_SMALL ? IMAGE_W_SMALL->GetWidth() : 0;
    const int boxHeight = IMAGE_W_SMALL ? IMAGE_W_SMALL->GetHeight() : 0;
    return Zorva::Rect(400 - boxWidth / 2, 300 - boxHeight / 2, boxWidth, boxHeight);
}

void GameOverWnd::OnButtonActivated(int buttonId)
{
    if (buttonId != kReplayButtonId && buttonId != kUseReshuffleButtonId) {
        Dialog::OnButtonActivated(buttonId);
        return;
    }
    // Closing only queues the deletion, so this object lives to the end of the handler.
    if (buttonId == kReplayButtonId) {
        app.PlaySoundOnce(SOUND_CLICK);
    }
    app.CloseDialog(this);
    app.GetWidgetManager()->SetFocus(&panel);
    if (buttonId == kReplayButtonId) {
        panel.board.model.RestartLevel();
    } else {
        // The panel's reshuffle plays the click.
        panel.PressReshuffle();
    }
}
