#include "game/screens/NormalDialogButton.h"

#include "game/ResourceHandles.h"
#include "graphics/Image.h"

NormalDialogButton::NormalDialogButton(int newId, const std::string& newLabel,
                                       Zorva::ButtonListener* newListener)
    : DialogButton(IMAGE_BUTTON_NORMAL, newId, newListener)
{
    label = newLabel;
    if (FONT_DEFAULT) {
        SetFont(FONT_DEFAULT);
    }
    SetColorAt(0, Zorva::Color::kBlack);
    SetColorAt(1, Zorva::Color::kWhite);
    handCursor = true;
}

void NormalDialogButton::PlaceAt(int newX, int newY)
{
    const int faceHeight = IMAGE_BUTTON_NORMAL ? IMAGE_BUTTON_NORMAL->GetHeight() : 0;
    Place(newX, newY, kWidth, faceHeight);
}
