#include "GameTestSupport.h"

#include <filesystem>

namespace {

std::vector<LevelStone> Stones(const std::string& text, int stoneLimit = -1)
{
    std::string error;
    const auto level = LevelFile::ReadText(text, stoneLimit, &error);
    EXPECT_TRUE(level.has_value()) << error;
    std::vector<LevelStone> stones;
    if (level) {
        for (const auto& layer : level->layers) {
            stones.insert(stones.end(), layer.begin(), layer.end());
        }
    }
    return stones;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

TEST(LevelFileTest, Rows_DecodeRightToLeftWithShiftsAndMarkers)
{
    // The formula holds: the '[' in columns 4 and 0 give centres 220 and 140.
    const auto pair = Stones(LevelText("0,1", {{"[==][==]"}}, "ShiftX=\"100\" ShiftY=\"50\""));
    ASSERT_EQ(pair.size(), 2u);
    EXPECT_EQ(pair[0].x, 220);
    EXPECT_EQ(pair[0].y, 75);
    EXPECT_EQ(pair[1].x, 140);
    EXPECT_EQ(pair[1].y, 75);
    EXPECT_EQ(pair[0].orientation, 3);

    // [] at column 3 of row 2 is upright at (80 + ShiftX, 150 + ShiftY).
    const auto upright =
        Stones(LevelText("0,1", {{".,", ".,", "...[]"}}, "ShiftX=\"7\" ShiftY=\"-3\""));
    ASSERT_EQ(upright.size(), 1u);
    EXPECT_EQ(upright[0].orientation, 0);
    EXPECT_EQ(upright[0].x, 87);
    EXPECT_EQ(upright[0].y, 147);

    const auto marked = Stones(LevelText("0,1", {{"[L1][K0][JJ][L7][Kx][L"}}));
    ASSERT_EQ(marked.size(), 6u);
    // Created right to left: the cut-off [L, then [Kx, [L7, [JJ, [K0, [L1.
    EXPECT_EQ(marked[0].lockNumber, -1);
    EXPECT_EQ(marked[1].keyNumber, -1);
    EXPECT_EQ(marked[2].lockNumber, -1); // a digit other than 0..2 makes a plain stone
    EXPECT_TRUE(marked[3].joker);
    EXPECT_EQ(marked[4].keyNumber, 0);
    EXPECT_EQ(marked[5].lockNumber, 1);
}

TEST(LevelFileTest, StoneLimit_KeepsTheFirstStonesRead)
{
    const auto limited = Stones(LevelText("0,1", {{"[==][==][==]", "[==][==]"}}), 3);
    ASSERT_EQ(limited.size(), 3u);
    EXPECT_EQ(limited[0].x, 20 * 8 + 40);
    EXPECT_EQ(limited[2].x, 40);
    EXPECT_EQ(limited[2].y, 25);
}

TEST(LevelFileTest, Attributes_PicturesNumbersAndLimits)
{
    std::string error;
    auto level = LevelFile::ReadText(LevelText("5", {}), -1, &error);
    ASSERT_TRUE(level);
    EXPECT_EQ(level->pictures, std::vector<int>{5});
    level = LevelFile::ReadText(LevelText("1,2,3", {}), -1, &error);
    EXPECT_EQ(level->pictures, (std::vector<int>{1, 2, 3}));
    // Values outside 0..25 are skipped, at most 30 are kept.
    level = LevelFile::ReadText(LevelText("3,26,-1,100,4", {}), -1, &error);
    EXPECT_EQ(level->pictures, (std::vector<int>{3, 4}));
    std::string many;
    for (int i = 0; i < 40; ++i) {
        many += (i ? "," : "") + std::to_string(i % 26);
    }
    level = LevelFile::ReadText(LevelText(many, {}), -1, &error);
    EXPECT_EQ(level->pictures.size(), 30u);

    EXPECT_EQ(LevelFile::ParseInt(" -42x"), -42);
    EXPECT_EQ(LevelFile::ParseInt("abc"), 0);
    EXPECT_EQ(LevelFile::ParseInt("99999999999"), INT_MAX);
    level = LevelFile::ReadText(LevelText("1", {}, "ShiftX=\"99999999\""), -1, &error);
    EXPECT_EQ(level->shiftX, LevelFile::kMaxShift);
}

TEST(LevelFileTest, MalformedFiles_FailAndLeaveTheFieldAsItWas)
{
    std::string error;
    EXPECT_FALSE(LevelFile::ReadText("<Level><Layers><Layer></Level>", -1, &error));
    EXPECT_NE(error.find("Doesn't Match"), std::string::npos);
    EXPECT_FALSE(LevelFile::ReadText("<Other/>", -1, &error));
    std::string crowded = "<Level><Layers><Layer><l>";
    for (int i = 0; i <= LevelFile::kMaxStones; ++i) {
        crowded += "[==]";
    }
    EXPECT_FALSE(LevelFile::ReadText(crowded + "</l></Layer></Layers></Level>", -1, &error));

    HeadlessHost host;
    BoardModel board(host);
    const std::string good = ::testing::TempDir() + "quarrow_good.xml";
    const std::string bad = ::testing::TempDir() + "quarrow_bad.xml";
    std::ofstream(good) << LevelText("0,1", {{"[==]"}}, "Background=\"sea.jpg\" Music=\"4\"");
    std::ofstream(bad) << "<Level Typs=\"7\"><Layers><Layer><l>[==][==]</l>";
    ASSERT_TRUE(board.LoadLevel(good, 0, -1, true));
    EXPECT_FALSE(board.LoadLevel(bad, 0, -1, true));
    EXPECT_FALSE(board.LoadLevel(::testing::TempDir() + "quarrow_absent.xml", 0, -1, true));
    EXPECT_EQ(board.field.stoneCount, 1);
    EXPECT_EQ(board.field.pictureList, (std::vector<int>{0, 1}));
    EXPECT_EQ(host.background, "images/sea.jpg");
    EXPECT_EQ(host.songs, std::vector<int>{4});

    // Empty Background and Music keep what the field had; an empty picture list means 0, 1.
    std::ofstream(good) << LevelText("", {{"[==][==]"}}, "Background=\"\" Music=\"\"");
    ASSERT_TRUE(board.LoadLevel(good, 0, -1, true));
    EXPECT_EQ(board.field.backgroundName, "sea.jpg");
    EXPECT_EQ(board.field.musicTrack, 4);
    EXPECT_EQ(board.field.pictureList, (std::vector<int>{0, 1}));
    EXPECT_EQ(board.field.stoneCount, 2);
}

TEST(LevelFileTest, Writer_RoundTripsAndRefusesStonesOutsideTheGrid)
{
    const std::string text = LevelText(
        "0,3,7", {{".,[==]..[L2]", ".,", "[JJ]"}, {".,.,[K2]"}},
        "ShiftX=\"10\" ShiftY=\"20\" Background=\"a&amp;b.jpg\" Music=\"5\" CardsInDeck=\"9\"");
    std::string error;
    const auto level = LevelFile::ReadText(text, -1, &error);
    ASSERT_TRUE(level);
    const auto written = LevelFile::Format(*level, &error);
    ASSERT_TRUE(written) << error;
    EXPECT_EQ(written->rfind("<?xml version=\"1.0\"?>\n<Level Typs=\"0,3,7\" ShiftX=\"10\" "
                             "ShiftY=\"20\" Background=\"a&amp;b.jpg\" Music=\"5\" "
                             "CardsInDeck=\"9\">\n\t<Layers>\n\t\t<Layer>\n\t\t\t<l>",
                             0),
              0u);
    const auto again = LevelFile::ReadText(*written, -1, &error);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->background, "a&b.jpg");
    ASSERT_EQ(again->layers.size(), 2u);
    ASSERT_EQ(again->layers[0].size(), level->layers[0].size());
    for (std::size_t i = 0; i < level->layers[0].size(); ++i) {
        EXPECT_EQ(again->layers[0][i].x, level->layers[0][i].x);
        EXPECT_EQ(again->layers[0][i].y, level->layers[0][i].y);
        EXPECT_EQ(again->layers[0][i].lockNumber, level->layers[0][i].lockNumber);
        EXPECT_EQ(again->layers[0][i].joker, level->layers[0][i].joker);
    }
    EXPECT_EQ(again->layers[1][0].keyNumber, 2);

    // A stone beyond the grid fails the write, names the stone and keeps the old file.
    const std::string path = ::testing::TempDir() + "quarrow_written.xml";
    ASSERT_TRUE(LevelFile::WriteFile(path, *level, &error));
    LevelData outside = *level;
    outside.layers[0].push_back(LevelStone{10 + 40 + 20 * 41, 45, 3});
    EXPECT_FALSE(LevelFile::WriteFile(path, outside, &error));
    EXPECT_NE(error.find("(870, 45) in layer 0"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(path), *written);

    LevelData overlapping = *level;
    overlapping.layers[1].push_back(LevelStone{10 + 40 + 20 * 3, 45, 3});
    EXPECT_FALSE(LevelFile::Format(overlapping, &error));
    EXPECT_NE(error.find("overlaps"), std::string::npos);
}
