#pragma once

#include "widgets/DialogButton.h"

#include <string>

/// The button of the name-entry and change-player dialogs: drawn from IMAGE_BUTTON_NORMAL,
/// 100 wide and as high as that face, FONT_DEFAULT, a black label that turns white under the
/// pointer (as on the game's message boxes), and the hand cursor. Its place is the dialog's.
class NormalDialogButton : public Zorva::DialogButton
{
public:
    static constexpr int kWidth = 100;

    NormalDialogButton(int id, const std::string& label, Zorva::ButtonListener* listener);

    /// Places the button with its top-left corner at (newX, newY) at its fixed size.
    void PlaceAt(int newX, int newY);
};
