#include "game/BoardInterface.h"

#include "game/Board.h"
#include "game/BoardPanelHost.h"
#include "game/PlayFieldHost.h"
#include "game/ResourceHandles.h"
#include "graphics/Image.h"
#include "system/AppFiles.h"
#include "system/AtomicFile.h"
#include "widgets/ButtonWidget.h"
#include "widgets/DefaultFont.h"

#include <fstream>
#include <iterator>

namespace {

constexpr int kLabelFontSize = 10;
const Zorva::Color kLabelColor(0, 0, 0);
const Zorva::Color kHoveredLabelColor(255, 255, 255);

int ImageWidth(const Zorva::Image* image)
{
    return image ? image->GetWidth() : 0;
}

int ImageHeight(const Zorva::Image* image)
{
    return image ? image->GetHeight() : 0;
}

/// The field knows the left and right buttons only; a double click counts as a click, and
/// the middle button is not one of the game's controls.
int FieldClickCode(int clickCode)
{
    switch (Zorva::MouseButtonOfClick(clickCode)) {
    case Zorva::kMouseButtonLeft:
        return Zorva::kClickLeft;
    case Zorva::kMouseButtonRight:
        return Zorva::kClickRight;
    default:
        return 0;
    }
}

} // namespace

BoardInterface::BoardInterface(Board& newBoard, BoardPanelHost& newPanelHost,
                               PlayFieldHost& newFieldHost)
    : board(newBoard), panelHost(newPanelHost), fieldHost(newFieldHost),
      logFolder(Zorva::UserFolder())
{
    flagsAdd |= Zorva::kWidgetMarkDirty;
    Place(0, 0, 800, 600);

    menuButton = std::make_unique<Zorva::ButtonWidget>(kMenuButtonId, this);
    menuButton->buttonImage = IMAGE_BUTTON_MENU;
    menuButton->overImage = IMAGE_BUTTON_MENU_OVER;
    menuButton->downImage = IMAGE_BUTTON_MENU_DOWN;
    menuButton->Place(693, 540, ImageWidth(IMAGE_BUTTON_MENU), ImageHeight(IMAGE_BUTTON_MENU));

    undoButton = MakeTextButton(kUndoButtonId, "Undo", 578, 538);
    undoButton->disabledImage = IMAGE_BUTTON_DISABLE;
    undoButton->SetInactive(true);
    hintButton = MakeTextButton(kHintButtonId, "Hint", 578, 568);
    reshuffleButton = MakeTextButton(kReshuffleButtonId, "Reshuffle", 128, 568);
    reshuffleButton->disabledImage = IMAGE_BUTTON_DISABLE;

    // Children are painted after the panel, so the buttons stand on its background.
    for (Zorva::ButtonWidget* button :
         {menuButton.get(), undoButton.get(), hintButton.get(), reshuffleButton.get()}) {
        AddWidget(button);
    }
}

BoardInterface::~BoardInterface()
{
    RemoveAllWidgets(false, false);
}

std::unique_ptr<Zorva::ButtonWidget>
BoardInterface::MakeTextButton(int buttonId, const std::string& label, int buttonX, int buttonY)
{
    auto button = std::make_unique<Zorva::ButtonWidget>(buttonId, this);
    button->label = label;
    button->buttonImage = IMAGE_BUTTON_NORMAL;
    button->overImage = IMAGE_BUTTON_OVER;
    button->downImage = IMAGE_BUTTON_DOWN;
    button->SetFont(Zorva::MakeDefaultFont(kLabelFontSize).get());
    button->SetColorAt(0, kLabelColor);
    button->SetColorAt(1, kHoveredLabelColor);
    button->Place(buttonX, buttonY, ImageWidth(IMAGE_BUTTON_NORMAL),
                  ImageHeight(IMAGE_BUTTON_NORMAL) - 2);
    return button;
}

void BoardInterface::Paint(Zorva::Graphics& graphics)
{
    board.PaintBackground(graphics);
}

void BoardInterface::OnButtonActivated(int id)
{
    // The board's own button operations play the click themselves.
    switch (id) {
    case kMenuButtonId:
        fieldHost.PlaySound(SOUND_CLICK);
        panelHost.OpenInGameMenu();
        break;
    case kUndoButtonId:
        undoButton->SetInactive(true);
        board.model.PressUndo();
        break;
    case kHintButtonId:
        board.model.PressHint();
        break;
    case kReshuffleButtonId:
        PressReshuffle();
        break;
    default:
        break;
    }
}

void BoardInterface::SetUndoEnabled(bool enabled)
{
    undoButton->SetInactive(!enabled);
}

void BoardInterface::SetReshuffleButton(const std::string& label, bool enabled)
{
    reshuffleButton->label = label;
    reshuffleButton->SetInactive(!enabled);
    reshuffleButton->Invalidate();
}

void BoardInterface::PressReshuffle()
{
    board.model.PressReshuffle();
}

void BoardInterface::CancelDrag()
{
    if (isDown) {
        releaseCancelled = true;
    }
    board.model.CancelDrag();
    Invalidate();
}

void BoardInterface::OnPointerMove(int px, int py)
{
    if (board.model.MouseMove(x + px, y + py)) {
        Invalidate();
    }
}

void BoardInterface::OnPointerDown(int px, int py, int clickCode)
{
    Widget::OnPointerDown(px, py, clickCode);
    releaseCancelled = false;
    if (const int code = FieldClickCode(clickCode)) {
        board.model.MouseDown(x + px, y + py, code);
        Invalidate();
    }
}

void BoardInterface::OnPointerDrag(int px, int py)
{
    if (board.model.MouseDrag(x + px, y + py)) {
        Invalidate();
    }
}

void BoardInterface::OnPointerUp(int px, int py, int clickCode)
{
    Widget::OnPointerUp(px, py, clickCode);
    if (releaseCancelled) {
        releaseCancelled = isDown;
        return;
    }
    if (const int code = FieldClickCode(clickCode)) {
        board.model.MouseUp(x + px, y + py, code);
        Invalidate();
    }
}

void BoardInterface::OnKeyDown(int key)
{
    if (key == Zorva::kVirtualKeyEscape) {
        panelHost.OpenInGameMenu();
        return;
    }
    if (panelHost.DebugKeysEnabled() && !board.model.field.loading) {
        if (board.model.field.mode == GameMode::Editor && OnEditorKey(key)) {
            Invalidate();
            return;
        }
        OnDebugKey(key);
    }
    Widget::OnKeyDown(key);
}

void BoardInterface::OnChar(char character)
{
    if (panelHost.DebugKeysEnabled() && board.model.field.mode == GameMode::Editor) {
        board.model.field.EditorKeyChar(character);
        Invalidate();
    }
}

bool BoardInterface::OnEditorKey(int key)
{
    if (key == Zorva::kVirtualKeyF2) {
        panelHost.AskToSaveLevel();
        return true;
    }
    return board.model.field.EditorKeyDown(key);
}

void BoardInterface::OnDebugKey(int key)
{
    PlayField& field = board.model.field;
    switch (key) {
    case Zorva::kVirtualKeyF1:
        if (field.mode != GameMode::Editor) {
            board.model.PutBonusOnTopStone();
        }
        break;
    case Zorva::kVirtualKeyF3:
        board.model.ToggleEditor();
        Invalidate();
        break;
    case Zorva::kVirtualKeyF4:
        panelHost.ShowLevelMap();
        break;
    case Zorva::kVirtualKeyF5:
        if (field.mode == GameMode::Editor) {
            board.model.EditNextLevel();
            break;
        }
        // After the set's last level the map ends the set.
        if (!board.model.SkipLevelAsWon()) {
            panelHost.ShowLevelMap();
        }
        break;
    case Zorva::kVirtualKeyF7:
        board.model.deck.CountDeckSideMoves();
        field.CheckEndOfLevel();
        break;
    case Zorva::kVirtualKeyNumLock:
        if (Zorva::EnsureFolder(logFolder)) {
            AppendDeveloperDump(logFolder + "/temp.log");
        }
        break;
    default:
        break;
    }
}

bool BoardInterface::AppendDeveloperDump(const std::string& path)
{
    std::string contents = "Temp file \n";
    if (std::ifstream existing{path, std::ios::binary}) {
        contents.assign(std::istreambuf_iterator<char>(existing), std::istreambuf_iterator<char>());
    }
    const std::string token = "qW#e7Kp2";
    contents += token;
    for (std::size_t i = 0; i < 7; ++i) {
        contents += std::to_string(static_cast<unsigned char>(token[i])) + " \n";
    }
    return Zorva::WriteFileAtomically(path, contents);
}
