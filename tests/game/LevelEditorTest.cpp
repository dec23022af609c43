#include "GameTestSupport.h"

#include <optional>

namespace {

class LevelEditorTest : public GameTest
{
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        Field().mode = GameMode::Editor;
        Field().EnterEditor();
    }

    /// Places a stone with a left click on empty grid at the pointer (x, y).
    DominoFish& ClickToPlace(int x, int y)
    {
        board.MouseMove(x, y);
        board.MouseDown(x, y, Zorva::kClickLeft);
        board.MouseUp(x, y, Zorva::kClickLeft);
        const DominoFish* placed = Field().hoveredStone;
        EXPECT_EQ(placed, nullptr) << "a click on empty grid must not hover";
        for (const auto& stone : Field().layers[Field().editorLayer]) {
            if (stone->x == Field().shiftX + Field().editorCursorX &&
                stone->y == Field().shiftY + Field().editorCursorY) {
                return *stone;
            }
        }
        ADD_FAILURE() << "no stone at the cursor";
        return *Field().layers[0].front();
    }

    void Hover(const DominoFish& stone)
    {
        const auto [x, y] = PointOn(stone);
        board.MouseMove(x, y);
    }

    std::vector<std::pair<int, int>> Centres(int layer)
    {
        std::vector<std::pair<int, int>> centres;
        for (const auto& stone : Field().layers[layer]) {
            centres.emplace_back(stone->x, stone->y);
        }
        return centres;
    }
};

} // namespace

TEST_F(LevelEditorTest, Place_AtTheGridCursorInDrawingOrder)
{
    Field().editorStyle = 2;
    const DominoFish& first = ClickToPlace(213, 137);
    EXPECT_EQ(first.x, 200);
    EXPECT_EQ(first.y, 125);
    EXPECT_TRUE(first.faceUp);
    EXPECT_EQ(first.orientation, DominoFish::kLyingALeft);
    EXPECT_EQ(first.style, 2);
    EXPECT_EQ(Field().stoneCount, 1);

    // Rows from the top, each row from right to left.
    for (const auto& [cx, cy] : {std::pair{300, 125}, {200, 100}, {100, 125}, {200, 150}}) {
        Field().editorCursorX = cx;
        Field().editorCursorY = cy;
        Field().EditorKeyDown(Zorva::kVirtualKeyInsert);
    }
    EXPECT_EQ(Centres(0), (std::vector<std::pair<int, int>>{
                              {200, 100}, {300, 125}, {200, 125}, {100, 125}, {200, 150}}));

    // On a higher layer the cursor follows the drawing offset and shift.
    Field().EditorKeyDown(Zorva::kVirtualKeyPageUp);
    Field().EditorShift(3, -2);
    board.MouseMove(100 + 7 + 3, 50 - 7 - 2);
    EXPECT_EQ(Field().editorCursorX, 100);
    EXPECT_EQ(Field().editorCursorY, 50);
}

TEST_F(LevelEditorTest, Drag_SnapsToTheGridAndReinsertsInDrawingOrder)
{
    ClickToPlace(400, 200);
    DominoFish& moved = ClickToPlace(300, 100);
    ASSERT_EQ(Field().layers[0].front().get(), &moved);

    const auto [x, y] = PointOn(moved);
    board.MouseMove(x, y);
    board.MouseDown(x, y, Zorva::kClickRight);
    EXPECT_EQ(Field().editorSelection, &moved);
    board.MouseDrag(517, 311);
    EXPECT_EQ(moved.x, 500);
    EXPECT_EQ(moved.y, 300);
    board.MouseUp(517, 311, Zorva::kClickRight);
    EXPECT_EQ(Field().layers[0].back().get(), &moved);
    EXPECT_EQ(Field().editorSelectionIndex, 1);

    // Without a held selection a drag moves nothing.
    board.MouseDrag(100, 100);
    EXPECT_EQ(moved.x, 500);
}

TEST_F(LevelEditorTest, Delete_ForgetsEveryReferenceToTheStone)
{
    DominoFish& kept = ClickToPlace(200, 100);
    DominoFish& clicked = ClickToPlace(400, 100);
    Hover(clicked);
    board.MouseDown(PointOn(clicked).first, PointOn(clicked).second, Zorva::kClickRight);
    board.MouseUp(PointOn(clicked).first, PointOn(clicked).second, Zorva::kClickRight);
    Field().undo.stone = &clicked;
    ASSERT_EQ(Field().hoveredStone, &clicked);

    board.MouseDown(PointOn(clicked).first, PointOn(clicked).second, Zorva::kClickLeft);
    EXPECT_EQ(Field().StoneCountInLayers(), 1);
    EXPECT_EQ(Field().stoneCount, 1);
    EXPECT_EQ(Field().hoveredStone, nullptr);
    EXPECT_EQ(Field().editorSelection, nullptr);
    EXPECT_EQ(Field().editorSelectionIndex, -1);
    EXPECT_EQ(Field().undo.stone, nullptr);
    // Moving on must not touch the freed stone.
    board.MouseDrag(300, 300);
    board.MouseUp(300, 300, Zorva::kClickRight);

    // The Delete key takes the selection, and only that.
    Field().EditorKeyDown(Zorva::kVirtualKeyDelete);
    EXPECT_EQ(Field().StoneCountInLayers(), 1);
    Hover(kept);
    board.MouseDown(PointOn(kept).first, PointOn(kept).second, Zorva::kClickRight);
    Field().EditorKeyDown(Zorva::kVirtualKeyDelete);
    EXPECT_EQ(Field().StoneCountInLayers(), 0);
    EXPECT_EQ(Field().hoveredStone, nullptr);
    EXPECT_EQ(Field().editorSelection, nullptr);
}

TEST_F(LevelEditorTest, Characters_ToggleLocksKeysAndStyleOfTheHoveredStone)
{
    DominoFish& stone = ClickToPlace(300, 200);
    Field().EditorKeyChar('q');
    EXPECT_EQ(stone.lockNumber, -1) << "nothing hovered";

    Hover(stone);
    Field().EditorKeyChar('e');
    EXPECT_EQ(stone.lockNumber, 2);
    Field().EditorKeyChar('q');
    EXPECT_EQ(stone.lockNumber, -1);
    Field().EditorKeyChar('q');
    EXPECT_EQ(stone.lockNumber, 0);
    // A stone carries one mark: a key replaces the lock.
    Field().EditorKeyChar('s');
    EXPECT_EQ(stone.keyNumber, 1);
    EXPECT_EQ(stone.lockNumber, -1);
    Field().EditorKeyChar('d');
    EXPECT_EQ(stone.keyNumber, -1);

    Field().EditorKeyChar('4');
    EXPECT_EQ(Field().editorStyle, 3);
    Field().EditorKeyChar('x');
    EXPECT_EQ(Field().editorStyle, 3);
}

TEST_F(LevelEditorTest, Layers_UpAddsOneAtTheTopDownStopsAtZero)
{
    DominoFish& lower = ClickToPlace(300, 200);
    Field().EditorKeyDown(Zorva::kVirtualKeyPageDown);
    EXPECT_EQ(Field().editorLayer, 0);
    Field().EditorKeyDown(Zorva::kVirtualKeyPageUp);
    EXPECT_EQ(Field().editorLayer, 1);
    ASSERT_EQ(Field().layers.size(), 2u);

    // Only stones of the current layer are hovered or deleted.
    Hover(lower);
    EXPECT_EQ(Field().hoveredStone, nullptr);
    board.MouseDown(PointOn(lower).first, PointOn(lower).second, Zorva::kClickLeft);
    EXPECT_EQ(Field().layers[0].size(), 1u);
    ASSERT_EQ(Field().layers[1].size(), 1u);
    EXPECT_EQ(Field().layers[1].front()->layer, 1);

    Field().EditorKeyDown(Zorva::kVirtualKeyPageDown);
    Field().EditorKeyDown(Zorva::kVirtualKeyPageUp);
    EXPECT_EQ(Field().layers.size(), 2u) << "an existing layer is reused";

    // No more layers or stones than a level file may hold.
    for (int i = 0; i < LevelFile::kMaxLayers + 5; ++i) {
        Field().EditorKeyDown(Zorva::kVirtualKeyPageUp);
    }
    EXPECT_EQ(Field().layers.size(), static_cast<std::size_t>(LevelFile::kMaxLayers));
    while (Field().EditorAddStone()) {
    }
    EXPECT_EQ(Field().StoneCountInLayers(), LevelFile::kMaxStones);
}

TEST_F(LevelEditorTest, Shifts_MoveEveryStoneAndCentreResets)
{
    DominoFish& stone = ClickToPlace(300, 200);
    Field().EditorKeyDown(Zorva::kVirtualKeyNumpad0 + 6);
    Field().EditorKeyDown(Zorva::kVirtualKeyNumpad0 + 6);
    Field().EditorKeyDown(Zorva::kVirtualKeyNumpad0 + 8);
    EXPECT_EQ(Field().shiftX, 2);
    EXPECT_EQ(Field().shiftY, -1);
    EXPECT_EQ(stone.x, 302);
    EXPECT_EQ(stone.y, 199);
    EXPECT_EQ(stone.drawLeft, 262);
    Field().EditorKeyDown(Zorva::kVirtualKeyNumpad0 + 4);
    Field().EditorKeyDown(Zorva::kVirtualKeyNumpad0 + 2);
    Field().EditorKeyDown(Zorva::kVirtualKeyNumpad0 + 2);
    Field().EditorKeyDown(Zorva::kVirtualKeyNumpad0 + 5);
    EXPECT_EQ(Field().shiftX, 0);
    EXPECT_EQ(Field().shiftY, 0);
    EXPECT_EQ(stone.x, 300);
    EXPECT_EQ(stone.y, 200);
}

TEST_F(LevelEditorTest, Save_WritesALevelThatReadsBackTheSame)
{
    Field().EditorShift(5, 10);
    DominoFish& locked = ClickToPlace(300, 200);
    ClickToPlace(120, 60);
    Field().EditorKeyDown(Zorva::kVirtualKeyPageUp);
    DominoFish& keyed = ClickToPlace(250, 160);
    Field().EditorKeyDown(Zorva::kVirtualKeyPageUp);
    Field().EditorKeyDown(Zorva::kVirtualKeyPageDown);
    Field().EditorKeyDown(Zorva::kVirtualKeyPageDown);
    Hover(locked);
    Field().EditorKeyChar('w');
    Field().EditorKeyDown(Zorva::kVirtualKeyPageUp);
    Hover(keyed);
    Field().EditorKeyChar('d');

    const std::string path = WriteLevelFile("", "edited.xml");
    std::string error;
    ASSERT_TRUE(Field().WriteLevel(path, &error)) << error;
    const std::optional<LevelData> level = LevelFile::ReadFile(path, -1, &error);
    ASSERT_TRUE(level) << error;
    EXPECT_EQ(level->shiftX, 5);
    EXPECT_EQ(level->shiftY, 10);
    ASSERT_EQ(level->layers.size(), 3u) << "the empty top layer is kept";
    EXPECT_TRUE(level->layers[2].empty());
    for (std::size_t l = 0; l < 2; ++l) {
        ASSERT_EQ(level->layers[l].size(), Field().layers[l].size());
        for (std::size_t i = 0; i < level->layers[l].size(); ++i) {
            const LevelStone& read = level->layers[l][i];
            const DominoFish& edited = *Field().layers[l][i];
            EXPECT_EQ(read.x, edited.x);
            EXPECT_EQ(read.y, edited.y);
            EXPECT_EQ(read.lockNumber, edited.lockNumber);
            EXPECT_EQ(read.keyNumber, edited.keyNumber);
        }
    }
    EXPECT_EQ(level->layers[0][1].lockNumber, 1);
    EXPECT_EQ(level->layers[1][0].keyNumber, 2);
}

using EditorToggleTest = GameTest;

TEST_F(EditorToggleTest, EditsTheDealtLayoutAndRestartsTheLevelOnLeaving)
{
    const std::string path =
        WriteLevelFile(LevelText("0,1,2", {{"[==]..[==]", ".,"}, {".,..[==]"}}));
    ASSERT_TRUE(board.StartLevel(path, 1));
    ASSERT_EQ(Field().StoneCountInLayers(), 3);

    board.ToggleEditor();
    EXPECT_EQ(Field().mode, GameMode::Editor);
    for (const StoneList& layer : Field().layers) {
        for (const auto& stone : layer) {
            EXPECT_TRUE(stone->faceUp);
            EXPECT_FALSE(stone->IsMoving());
        }
    }
    Field().editorCursorX = 600;
    Field().editorCursorY = 300;
    Field().EditorAddStone();
    EXPECT_EQ(Field().StoneCountInLayers(), 4);

    board.ToggleEditor();
    EXPECT_EQ(Field().mode, GameMode::OneSide);
    EXPECT_EQ(Field().StoneCountInLayers(), 3);
    EXPECT_EQ(Field().levelFile, path);
}
