#pragma once

#include "game/BoardModel.h"
#include "game/HeadlessHost.h"
#include "game/LevelFile.h"
#include "game/ResourceHandles.h"
#include "system/MTRand.h"
#include "widgets/InputCodes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

/// A board with a headless host whose nested loop ticks the board, distinct sound ids, and
/// helpers to lay out stones and play line ends by hand.
class GameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetResourceHandles();
        SOUND_PUT = 1;
        SOUND_PUT_X2 = 2;
        SOUND_PUT_X3 = 3;
        SOUND_PUT_X4 = 4;
        SOUND_BONUS = 5;
        SOUND_USE_KEY = 6;
        SOUND_LEVEL_COMPLETE = 7;
        SOUND_LEVEL_FAILED = 8;
        SOUND_FLIP = 9;
        SOUND_LEVEL_START = 10;
        SOUND_BONUS_APPEAR = 11;
        SOUND_CLICK = 12;
        Zorva::Rand().SRand(4357);
        host.player.name = "Ann";
        host.onUpdate = [this] { board.Tick(); };
    }

    void TearDown() override
    {
        ResetResourceHandles();
        for (const std::string& path : writtenFiles) {
            std::remove(path.c_str());
        }
    }

    PlayField& Field() { return board.field; }

    /// A face-up-able stone placed straight into a layer (layers are created as needed).
    DominoFish& AddStone(int layer, int x, int y, int pictureA, int pictureB,
                         int orientation = DominoFish::kLyingALeft)
    {
        while (static_cast<int>(Field().layers.size()) <= layer) {
            Field().layers.emplace_back();
        }
        auto stone = std::make_unique<DominoFish>(&Field(), x, y, orientation, layer, 0);
        stone->pictureA = pictureA;
        stone->pictureB = pictureB;
        DominoFish& added = *stone;
        Field().layers[layer].push_back(std::move(stone));
        ++Field().stoneCount;
        return added;
    }

    /// Replaces the play line with two lying stones showing these end values.
    void SetLine(int leftValue, int rightValue, int firstX = PlayLine::kFirstX,
                 int lastX = PlayLine::kLastX)
    {
        board.line.Reset();
        for (const auto& [value, x] :
             {std::pair{leftValue, firstX}, std::pair{rightValue, lastX}}) {
            auto stone = std::make_unique<DominoFish>(&Field(), x, PlayLine::kCentreY,
                                                      DominoFish::kLyingALeft, 0, 0);
            stone->faceUp = true;
            stone->pictureA = value;
            stone->pictureB = value;
            if (value == DominoFish::kJokerValue) {
                stone->MakeJoker();
            }
            board.line.Append(std::move(stone));
        }
    }

    /// The point at the middle of a stone's hit box.
    static std::pair<int, int> PointOn(const DominoFish& stone)
    {
        return {stone.drawLeft + 7 + stone.width / 2, stone.drawTop - 7 + stone.height / 2};
    }

    /// Hovers and clicks a stone with the pointer, as the panel would pass it on.
    void Click(const DominoFish& stone, int button = Zorva::kClickLeft)
    {
        const auto [x, y] = PointOn(stone);
        board.MouseMove(x, y);
        board.MouseDown(x, y, button);
        board.MouseUp(x, y, button);
    }

    /// Picks a stone up, drags it to (x, y) and lets go there.
    void DragAndDrop(const DominoFish& stone, int x, int y)
    {
        const auto [fromX, fromY] = PointOn(stone);
        board.MouseMove(fromX, fromY);
        board.MouseDown(fromX, fromY, Zorva::kClickLeft);
        board.MouseDrag(x, y);
        board.MouseUp(x, y, Zorva::kClickLeft);
    }

    void Tick(int count)
    {
        for (int i = 0; i < count; ++i) {
            host.Step();
        }
    }

    /// Writes a level text to a temporary file of this process and returns its path (CTest runs
    /// the tests as separate processes side by side).
    std::string WriteLevelFile(const std::string& text, const std::string& name = "level.xml")
    {
        const std::string path =
            ::testing::TempDir() + "quarrow_" + std::to_string(::getpid()) + "_" + name;
        std::ofstream(path) << text;
        writtenFiles.push_back(path);
        return path;
    }

    std::vector<std::string> writtenFiles;

    HeadlessHost host;
    BoardModel board{host};
};

/// A level text with the given pictures and layers of row strings.
inline std::string LevelText(const std::string& typs,
                             const std::vector<std::vector<std::string>>& layers,
                             const std::string& extraAttributes = "")
{
    std::string text = "<?xml version=\"1.0\"?>\n<Level Typs=\"" + typs + "\" " + extraAttributes +
                       ">\n<Layers>\n";
    for (const auto& rows : layers) {
        text += "<Layer>\n";
        for (const std::string& row : rows) {
            text += "<l>" + row + "</l>\n";
        }
        text += "</Layer>\n";
    }
    return text + "</Layers>\n</Level>\n";
}
