#include "game/Board.h"

#include "game/ResourceHandles.h"
#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/DefaultFont.h"

#include <string>

namespace {

constexpr int kTextY = 17;
constexpr int kTextPointSize = 10;

} // namespace

Board::Board(PlayFieldHost& host) : model(host), previews(model, 40, 440)
{
    flagsAdd |= Zorva::kWidgetMarkDirty;
    clips = false;
}

Board::~Board() = default;

void Board::Tick()
{
    Widget::Tick();
    model.Tick();
}

DominoFish* Board::HeldFieldStone() const
{
    DominoFish* hovered = model.field.hoveredStone;
    return hovered && hovered->dragging ? hovered : nullptr;
}

void Board::Paint(Zorva::Graphics& graphics)
{
    DominoFish* held = HeldFieldStone();
    if (model.field.mode == GameMode::Editor) {
        PaintEditor(graphics);
    } else {
        PaintField(graphics, held);
    }
    PaintTexts(graphics);

    const bool twoSide = model.field.mode == GameMode::TwoSide;
    if (IMAGE_PLAYLINE) {
        if (twoSide) {
            graphics.DrawImage(IMAGE_PLAYLINE, 400 - IMAGE_PLAYLINE->GetWidth() / 2, 540);
        } else {
            const int half = IMAGE_PLAYLINE->GetWidth() / 2;
            graphics.DrawImage(IMAGE_PLAYLINE, 400, 540,
                               Zorva::Rect(half, 0, IMAGE_PLAYLINE->GetWidth() - half,
                                           IMAGE_PLAYLINE->GetHeight()));
        }
    }
    graphics.DrawImage(IMAGE_PANEL_LINE_LAG, 348, 516);

    // Over the right end the held stone lies under the line's frame; elsewhere above it.
    if (model.line.dropSide == 1) {
        PaintHeld(graphics, held);
        PaintLineSide(graphics);
    } else {
        PaintLineSide(graphics);
        PaintHeld(graphics, held);
    }

    if (model.field.mode == GameMode::Editor) {
        return;
    }
    for (const StoneList& layer : model.field.layers) {
        for (const auto& stone : layer) {
            if (stone.get() != held && stone->IsMoving()) {
                stone->Draw(graphics, 0);
            }
        }
    }
}

void Board::PaintField(Zorva::Graphics& graphics, const DominoFish* held)
{
    for (const StoneList& layer : model.field.layers) {
        for (const auto& stone : layer) {
            if (stone.get() != held) {
                stone->Draw(graphics, 1);
            }
        }
    }
    for (const StoneList& layer : model.field.layers) {
        for (const auto& stone : layer) {
            if (stone.get() != held) {
                stone->DrawSparkles(graphics);
            }
        }
    }
}

void Board::PaintTexts(Zorva::Graphics& graphics)
{
    if (!textFont) {
        textFont = Zorva::MakeDefaultFont(kTextPointSize);
    }
    graphics.SaveState();
    graphics.SetFont(textFont.get());
    graphics.SetColor(Zorva::Color(0, 0, 0, 255));
    graphics.DrawText("Moves: " + std::to_string(model.field.movesAvailable), 720, kTextY);
    graphics.DrawText("Scores: " + std::to_string(model.field.score), 10, kTextY);
    const std::string level = "LEVEL " + std::to_string(model.levelNumber);
    graphics.DrawText(level, 400 - textFont->TextWidth(level) / 2, kTextY);
    graphics.RestoreState();
}

void Board::PaintHeld(Zorva::Graphics& graphics, DominoFish* held)
{
    if (held) {
        held->Draw(graphics, 0);
        held->DrawSparkles(graphics);
    }
    DominoFish* pileStone = model.deck.heldStone;
    if (pileStone && pileStone->dragging) {
        pileStone->Draw(graphics, 0);
    }
}

void Board::PaintLineSide(Zorva::Graphics& graphics)
{
    model.line.Draw(graphics, model.field.mode);
    model.deck.Draw(graphics);
    model.comboMeter.Draw(graphics);
    for (const auto& label : model.field.floatingLabels) {
        label->Draw(graphics);
    }
}

void Board::PaintBackground(Zorva::Graphics& graphics)
{
    if (backgroundOutOfDate) {
        background.Rebuild(model.field, levelBackground);
        backgroundOutOfDate = false;
    }
    graphics.DrawImage(background.GetImage(), 0, 0);
}

void Board::SetLevelBackground(Zorva::Image* image)
{
    levelBackground = image;
    backgroundOutOfDate = true;
}

void Board::RebuildBackground()
{
    backgroundOutOfDate = true;
}
