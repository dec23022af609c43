#pragma once

#include "game/BackgroundCache.h"
#include "game/BoardModel.h"
#include "game/LevelPreviewStore.h"
#include "widgets/Widget.h"

#include <memory>

namespace Zorva {
class Font;
class Graphics;
class Image;
} // namespace Zorva

class PlayFieldHost;

/// The widget of the game screen: it runs the board model once per tick and draws the
/// field, the play line, the deck and piles, the combo meter and the floating labels. It
/// takes no pointer input (the panel under it gets all of it) and does not clip, so it
/// draws over the whole screen although it has no size.
class Board : public Zorva::Widget
{
public:
    explicit Board(PlayFieldHost& host);
    ~Board() override;

    void Tick() override;
    void Paint(Zorva::Graphics& graphics) override;
    bool IsHitAt(int, int) override { return false; }

    /// Draws the background cache at (0, 0), rebuilding it first when it is out of date;
    /// the panel's paint.
    void PaintBackground(Zorva::Graphics& graphics);
    /// The background image of the level being played (not owned; may be null).
    void SetLevelBackground(Zorva::Image* image);
    /// The background cache is drawn anew before it is next shown.
    void RebuildBackground();

    /// The field stone the player holds, or null.
    DominoFish* HeldFieldStone() const;

    BoardModel model;
    /// Thumbnails and map points for the level map; renders into `model`'s field.
    LevelPreviewStore previews;

private:
    void PaintField(Zorva::Graphics& graphics, const DominoFish* held);
    void PaintTexts(Zorva::Graphics& graphics);
    void PaintHeld(Zorva::Graphics& graphics, DominoFish* held);
    void PaintLineSide(Zorva::Graphics& graphics);
    /// The field as the level editor shows it, in place of the playing field.
    void PaintEditor(Zorva::Graphics& graphics);
    void PaintEditorTexts(Zorva::Graphics& graphics);

    BackgroundCache background;
    Zorva::Image* levelBackground = nullptr;
    bool backgroundOutOfDate = true;
    std::unique_ptr<Zorva::Font> textFont;
    std::unique_ptr<Zorva::Font> editorFont;
};
