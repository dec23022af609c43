#pragma once

#include "game/screens/DialogWithEdit.h"

#include <string>

/// The editor's "Save Level" dialog: a name-entry dialog for a file name of at most 32
/// characters that stays inside the user folder (no slashes, no "..", no control characters).
class SaveLevelDialog : public DialogWithEdit
{
public:
    static constexpr int kMaxNameLength = 32;
    static constexpr int kFieldY = 55;

    SaveLevelDialog(Zorva::ZorvaAppBase& owner, MenuHost& names);

    /// Asks for the file name at the editor's place; kConfirmed leaves it as the host's
    /// entered name.
    static int Ask(Zorva::ZorvaAppBase& owner, MenuHost& names);
    /// Whether `name` may be written as a file of the user folder.
    static bool IsValidFileName(const std::string& name);

    void Place(int newX, int newY, int newWidth, int newHeight) override;
    using Widget::Place;
    bool AllowChar(int id, char character) override;
    bool AllowText(int id, const std::string& text) override;
};
