#include "game/screens/HighscoresFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

std::vector<int32_t> Scores(const HighscoreTable& table)
{
    std::vector<int32_t> scores;
    for (const HighscoreEntry& entry : table) {
        scores.push_back(entry.score);
    }
    return scores;
}

TEST(HighscoresFileTest, Insert_OrderTiesAndTheLastRow)
{
    HighscoreTable table = HighscoresFile::DefaultTable();
    EXPECT_FALSE(HighscoresFile::Insert(table, "Low", 999));
    EXPECT_EQ(table, HighscoresFile::DefaultTable());

    // Equal to the last row: it enters and pushes that row out.
    EXPECT_EQ(HighscoresFile::Insert(table, "Last", 1000), std::optional<std::size_t>(9));
    EXPECT_EQ(table[9].name, "Last");
    EXPECT_EQ(table.size(), HighscoresFile::kRows);
    // A newer equal score goes above the older one.
    EXPECT_EQ(HighscoresFile::Insert(table, "Tie", 5000), std::optional<std::size_t>(5));
    EXPECT_EQ(table[6].name, "Hermes");
    // Equal to the top score: the top.
    EXPECT_EQ(HighscoresFile::Insert(table, "Top", 100000), std::optional<std::size_t>(0));
    EXPECT_EQ(HighscoresFile::Insert(table, "Best", 200000), std::optional<std::size_t>(0));
    EXPECT_EQ(Scores(table), (std::vector<int32_t>{200000, 100000, 100000, 50000, 25000, 20000,
                                                   10000, 5000, 5000, 4000}));
}

TEST(HighscoresFileTest, Decode_CutRowsDroppedAndFilledFromDefaults)
{
    HighscoreTable oneSide = HighscoresFile::DefaultTable();
    HighscoreTable twoSide = HighscoresFile::DefaultTable();
    oneSide[0] = {"Nike", 123456};
    twoSide[1] = {"Hera", 77777};
    const std::string bytes = HighscoresFile::Encode(oneSide, twoSide);

    HighscoreTable readOne;
    HighscoreTable readTwo;
    HighscoresFile::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), readOne,
                           readTwo);
    EXPECT_EQ(readOne, oneSide);
    EXPECT_EQ(readTwo, twoSide);

    // Only the first row complete: it stays, the rest are the defaults.
    const std::size_t firstRow = 2 + 4 + 2 + 8 + 8;
    HighscoresFile::Decode(reinterpret_cast<const uint8_t*>(bytes.data()), firstRow + 3, readOne,
                           readTwo);
    ASSERT_EQ(readOne.size(), HighscoresFile::kRows);
    EXPECT_EQ(readOne[0], (HighscoreEntry{"Nike", 123456}));
    EXPECT_EQ(readTwo[1], HighscoresFile::DefaultTable()[1]);
}

TEST(HighscoresFileTest, Files_MissingKeepsTablesWriteReadsBack)
{
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("quarrow-highscores-" + std::to_string(getpid())))
                                 .string();
    std::filesystem::remove(path);
    HighscoreTable oneSide = HighscoresFile::DefaultTable();
    HighscoreTable twoSide = HighscoresFile::DefaultTable();
    EXPECT_FALSE(HighscoresFile::Read(path, oneSide, twoSide));
    EXPECT_EQ(oneSide, HighscoresFile::DefaultTable());

    HighscoresFile::Insert(twoSide, "Atlas", 60000);
    ASSERT_TRUE(HighscoresFile::Write(path, oneSide, twoSide));
    HighscoreTable readOne;
    HighscoreTable readTwo;
    ASSERT_TRUE(HighscoresFile::Read(path, readOne, readTwo));
    EXPECT_EQ(readOne, oneSide);
    EXPECT_EQ(readTwo, twoSide);
    std::filesystem::remove(path);
}

} // namespace
