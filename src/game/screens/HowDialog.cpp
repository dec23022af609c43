#include "game/screens/HowDialog.h"

#include "app/ZorvaAppBase.h"
#include "game/PlayFieldHost.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/screens/GameDialogButton.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/Checkbox.h"

HowDialog::HowDialog(Zorva::ZorvaAppBase& newApp, PlayFieldHost& newHost, GameMode mode)
    : Dialog(nullptr, IMAGE_BIG_BUTTON, kDialogId, true, "", "", "", kButtonsNone),
      pageImage(mode == GameMode::OneSide ? IMAGE_HOW_TO_PLAY1 : IMAGE_HOW_TO_PLAY2), app(newApp),
      fieldHost(newHost)
{
    SetColorAt(kColorHeader, Zorva::Color::kBlack);
    SetColorAt(kColorLines, Zorva::Color::kBlack);
    Place(0, 0, 800, 600);

    // The box's two faces lie side by side in one image: off on the left, on on the right.
    checkbox = std::make_unique<Zorva::Checkbox>(IMAGE_CHECKBOX, nullptr, kCheckboxId, this);
    const int faceWidth = IMAGE_CHECKBOX ? IMAGE_CHECKBOX->GetWidth() / 2 : 0;
    const int faceHeight = IMAGE_CHECKBOX ? IMAGE_CHECKBOX->GetHeight() : 0;
    checkbox->uncheckedRect = Zorva::Rect(0, 0, faceWidth, faceHeight);
    checkbox->checkedRect = Zorva::Rect(faceWidth, 0, faceWidth, faceHeight);
    checkbox->Place(290, 500, faceWidth, faceHeight);
    checkbox->handCursor = true;
    const Player* player = fieldHost.CurrentPlayer();
    checkbox->SetChecked(player && !player->showHowToPlay, false);

    closeButton = std::make_unique<GameDialogButton>(kCloseButtonId, "Close", this);
    closeButton->MoveTo(310, 550);
    AddWidget(checkbox.get());
    AddWidget(closeButton.get());
}

HowDialog::~HowDialog()
{
    RemoveAllWidgets(false, false);
}

void HowDialog::Paint(Zorva::Graphics& graphics)
{
    Dialog::Paint(graphics);
    graphics.DrawImage(pageImage, 0, 0);
    graphics.SetFont(FONT_DEFAULT);
    graphics.SetColor(Zorva::Color::kBlack);
    graphics.DrawText("Don't show this again", checkbox->x + 30, checkbox->y + 20);
}

void HowDialog::OnButtonActivated(int buttonId)
{
    if (buttonId != kCloseButtonId) {
        Dialog::OnButtonActivated(buttonId);
        return;
    }
    app.PlaySoundOnce(SOUND_CLICK);
    app.CloseDialog(this);
}

void HowDialog::OnCheckboxChanged(int, bool checked)
{
    Player* player = fieldHost.CurrentPlayer();
    if (!player) {
        return;
    }
    player->showHowToPlay = !checked;
    fieldHost.SavePlayers();
}
