#pragma once

#include "widgets/DialogButton.h"

#include <string>

/// The button of the game's own dialogs: the IM_B_DIALOG faces (normal, over, down) at the
/// face's width and its height less 2, FONT_DEFAULT, a black label that turns white under
/// the pointer, and the hand cursor. Faces and font are taken when it is made.
class GameDialogButton : public Zorva::DialogButton
{
public:
    GameDialogButton(int id, const std::string& label, Zorva::ButtonListener* listener);
};
