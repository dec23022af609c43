#include "game/screens/GameDialogButton.h"

#include "game/ResourceHandles.h"
#include "graphics/Image.h"

GameDialogButton::GameDialogButton(int newId, const std::string& newLabel,
                                   Zorva::ButtonListener* newListener)
    : DialogButton(nullptr, newId, newListener)
{
    label = newLabel;
    buttonImage = IM_B_DIALOG;
    overImage = IM_B_DIALOG_OVER;
    downImage = IM_B_DIALOG_DOWN;
    if (FONT_DEFAULT) {
        SetFont(FONT_DEFAULT);
    }
    SetColorAt(0, Zorva::Color::kBlack);
    SetColorAt(1, Zorva::Color::kWhite);
    handCursor = true;
    if (IM_B_DIALOG) {
        width = IM_B_DIALOG->GetWidth();
        height = IM_B_DIALOG->GetHeight() - 2;
    }
}
