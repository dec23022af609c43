#include "game/screens/TestStateWriter.h"

#include "game/BoardModel.h"
#include "system/AtomicFile.h"

namespace {

/// The rectangle in which a pointer press picks the stone up.
std::string StoneLine(const char* kind, const DominoFish& stone)
{
    return std::string(kind) + " " + std::to_string(stone.drawLeft + 8) + " " +
           std::to_string(stone.drawTop - 6) + " " + std::to_string(stone.width - 1) + " " +
           std::to_string(stone.height - 1) + " " + std::to_string(stone.LeftValue()) + " " +
           std::to_string(stone.RightValue()) + "\n";
}

/// The editor's state and every stone by layer, each with the rectangle in which the pointer
/// hovers it (only stones of the current layer can be hovered).
std::string EditorLines(const PlayField& field)
{
    std::string text = "editor layer " + std::to_string(field.editorLayer) + " shift " +
                       std::to_string(field.shiftX) + " " + std::to_string(field.shiftY) +
                       " cursor " + std::to_string(field.editorCursorX) + " " +
                       std::to_string(field.editorCursorY) + " grid " +
                       (field.editorGridVisible ? "1" : "0") + "\n";
    for (std::size_t l = 0; l < field.layers.size(); ++l) {
        for (const auto& stone : field.layers[l]) {
            text += "estone " + std::to_string(l) + " " + std::to_string(stone->drawLeft + 8) +
                    " " + std::to_string(stone->drawTop - 6) + " " +
                    std::to_string(stone->width - 1) + " " + std::to_string(stone->height - 1) +
                    " " + std::to_string(stone->lockNumber) + " " +
                    std::to_string(stone->keyNumber) + "\n";
        }
    }
    return text;
}

std::string BoardLines(const BoardModel& model)
{
    const PlayField& field = model.field;
    std::string text = "mode " + std::to_string(static_cast<int>(field.mode)) + " level " +
                       std::to_string(model.levelNumber) + " score " + std::to_string(field.score) +
                       " moves " + std::to_string(field.movesAvailable) + "\n";
    const StoneDeck& deck = model.deck;
    text += "deck " + std::to_string(deck.x + 1) + " " + std::to_string(deck.y - 20) + " 100 77 " +
            std::to_string(deck.StoneCount()) + "\n";
    const DominoFish* first = model.line.First();
    const DominoFish* last = model.line.Last();
    text += "line " + std::to_string(model.line.LeftEndValue()) + " " +
            std::to_string(model.line.RightEndValue()) + " " +
            std::to_string(first ? first->x : 0) + " " + std::to_string(first ? first->y : 0) +
            " " + std::to_string(last ? last->x : 0) + " " + std::to_string(last ? last->y : 0) +
            "\n";
    if (field.mode == GameMode::Editor) {
        return text + EditorLines(field);
    }
    for (const StoneList& layer : field.layers) {
        for (const auto& stone : layer) {
            if (stone->faceUp && stone->visible && !stone->IsMoving() && !stone->dragging) {
                text += StoneLine("stone", *stone);
            }
        }
    }
    if (field.mode == GameMode::TwoSide) {
        for (const StoneList& pile : deck.piles) {
            if (!pile.empty()) {
                text += StoneLine("pile", *pile.back());
            }
        }
    }
    return text;
}

} // namespace

std::string TestStateWriter::Compose(const Screen& screen, const BoardModel* model)
{
    std::string text = "screen " + screen.name + "\nplayer " +
                       (screen.player.empty() ? std::string("-") : screen.player) + "\ndialogs";
    for (const int id : screen.dialogIds) {
        text += " " + std::to_string(id);
    }
    text += "\nrest " + std::string(screen.atRest ? "1" : "0") + "\n";
    for (const std::string& control : screen.controls) {
        text += control + "\n";
    }
    if (model) {
        text += BoardLines(*model);
    }
    return text;
}

bool TestStateWriter::Update(const std::string& text)
{
    if (hasWritten && text == written) {
        return true;
    }
    if (!Zorva::WriteFileAtomically(path, text)) {
        return false;
    }
    written = text;
    hasWritten = true;
    return true;
}
