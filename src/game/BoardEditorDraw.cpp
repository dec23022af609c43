// The board's picture of the level editor: the layers up to the current one, the grid
// cursor, the grid and the editor's readouts.

#include "game/Board.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "widgets/DefaultFont.h"

#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kTextPointSize = 10;
constexpr int kGridStepX = 20;
constexpr int kGridStepY = 25;
constexpr int kGridWidth = 840;
constexpr int kGridHeight = 500;

} // namespace

void Board::PaintEditor(Zorva::Graphics& graphics)
{
    const PlayField& field = model.field;
    const int current = field.editorLayer;
    const int offset = DominoFish::kLayerStep * current;
    for (int l = 0; l < current && l < static_cast<int>(field.layers.size()); ++l) {
        for (const auto& stone : field.layers[l]) {
            stone->Draw(graphics, 1);
        }
    }

    graphics.SaveState();
    graphics.SetColor(Zorva::Color(0, 0, 0, 128));
    graphics.FillRect(field.shiftX + field.editorCursorX + offset - 40,
                      field.shiftY + field.editorCursorY - offset - 18, 80, 50);
    // Light dots stand out on the dark skies and seas the levels are set on.
    graphics.SetColor(Zorva::Color(255, 255, 255, 192));
    if (field.editorGridVisible) {
        for (int gx = 0; gx <= kGridWidth; gx += kGridStepX) {
            for (int gy = 0; gy <= kGridHeight; gy += kGridStepY) {
                graphics.FillRect(gx + offset, gy - offset, 1, 1);
            }
        }
    }
    graphics.RestoreState();

    if (current >= 0 && current < static_cast<int>(field.layers.size())) {
        for (const auto& stone : field.layers[current]) {
            stone->Draw(graphics, 1);
        }
    }
    PaintEditorTexts(graphics);
}

void Board::PaintEditorTexts(Zorva::Graphics& graphics)
{
    if (!editorFont) {
        editorFont = Zorva::MakeDefaultFont(kTextPointSize);
    }
    const PlayField& field = model.field;
    std::vector<std::tuple<std::string, int, int>> texts{
        {"Current Layer: " + std::to_string(field.editorLayer), 0, 30},
        {"ShiftX: " + std::to_string(field.shiftX), 0, 60},
        {"ShiftY: " + std::to_string(field.shiftY), 100, 60},
    };
    if (const DominoFish* selected = field.editorSelection) {
        texts.emplace_back("Fish x: " + std::to_string(selected->x), 0, 90);
        texts.emplace_back("y: " + std::to_string(selected->y), 100, 90);
    }
    graphics.SaveState();
    graphics.SetFont(editorFont.get());
    // A dark shadow keeps the yellow readable over the light top bar and bright skies.
    graphics.SetColor(Zorva::Color(0, 0, 0, 255));
    for (const auto& [text, textX, textY] : texts) {
        graphics.DrawText(text, textX + 1, textY + 1);
    }
    graphics.SetColor(Zorva::Color(255, 255, 0, 255));
    for (const auto& [text, textX, textY] : texts) {
        graphics.DrawText(text, textX, textY);
    }
    graphics.RestoreState();
}
