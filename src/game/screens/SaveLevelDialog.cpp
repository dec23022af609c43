#include "game/screens/SaveLevelDialog.h"

#include "graphics/Font.h"
#include "widgets/EditWidget.h"

#include <algorithm>

namespace {

const Zorva::Rect kBounds(250, 50, 384, 150);

bool IsRefusedChar(char character)
{
    const auto code = static_cast<unsigned char>(character);
    return code < 32 || code == 127 || character == '/' || character == '\\';
}

} // namespace

SaveLevelDialog::SaveLevelDialog(Zorva::ZorvaAppBase& owner, MenuHost& names)
    : DialogWithEdit(owner, names, "Save Level", "Name", "level.xml")
{
    edit->maxChars = kMaxNameLength;
    // The header moves up to leave room for the field above the buttons.
    contentInsets.top = 10;
}

int SaveLevelDialog::Ask(Zorva::ZorvaAppBase& owner, MenuHost& names)
{
    return AskWith(owner, std::make_unique<SaveLevelDialog>(owner, names), kBounds);
}

bool SaveLevelDialog::IsValidFileName(const std::string& name)
{
    return !name.empty() && name.size() <= static_cast<std::size_t>(kMaxNameLength) &&
           name.find("..") == std::string::npos &&
           std::none_of(name.begin(), name.end(), IsRefusedChar);
}

void SaveLevelDialog::Place(int newX, int newY, int newWidth, int newHeight)
{
    DialogWithEdit::Place(newX, newY, newWidth, newHeight);
    // The frame is low: the field goes up beside its label so the buttons stay clear.
    const int labelWidth = 50;
    const int left = backgroundInsets.left + contentInsets.left;
    edit->Place(left + labelWidth, kFieldY, edit->width - labelWidth, edit->height);
    labelX = left;
    labelY = kFieldY + edit->height - 8;
}

bool SaveLevelDialog::AllowChar(int, char character)
{
    return !IsRefusedChar(character);
}

bool SaveLevelDialog::AllowText(int, const std::string& text)
{
    // A text on its way to a valid name may be empty, but never holds ".." or a slash.
    return text.empty() || IsValidFileName(text);
}
