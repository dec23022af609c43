// The committed level sets: every file loads, writes back unchanged, stays on the field and
// can be finished (no lock bars its own key).

#include "game/LevelFile.h"
#include "game/PlayField.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

struct LevelSet
{
    const char* folder;
    int count;
};

constexpr LevelSet kSets[] = {{"Levels1", 60}, {"Levels2", 50}};

// Where stones may be drawn: right of the Two-Side piles, left of the combo meter, between
// the top bar and the bottom panel.
constexpr int kFieldLeft = 110;
constexpr int kFieldRight = 745;
constexpr int kFieldTop = 30;
constexpr int kFieldBottom = 520;
constexpr int kLayerStep = 7;

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::filesystem::path LevelPath(const LevelSet& set, int number)
{
    return std::filesystem::path(QUARROW_LEVELS_DIR) / set.folder /
           ("Level" + std::to_string(number) + ".xml");
}

struct LoadedLevel
{
    int number = 0;
    LevelData data;
};

std::vector<LoadedLevel> LoadSet(const LevelSet& set)
{
    std::vector<LoadedLevel> levels;
    for (int number = 1; number <= set.count; ++number) {
        std::string error;
        auto level = LevelFile::ReadFile(LevelPath(set, number).string(), -1, &error);
        EXPECT_TRUE(level.has_value()) << set.folder << " level " << number << ": " << error;
        if (level) {
            levels.push_back({number, std::move(*level)});
        }
    }
    return levels;
}

int CountIf(const LevelData& level, bool (*test)(const LevelStone&))
{
    int count = 0;
    for (const auto& layer : level.layers) {
        for (const LevelStone& stone : layer) {
            count += test(stone) ? 1 : 0;
        }
    }
    return count;
}

} // namespace

TEST(LevelSetTest, EveryFileLoadsAndWritesBackUnchanged)
{
    for (const LevelSet& set : kSets) {
        for (const LoadedLevel& level : LoadSet(set)) {
            const std::string text = ReadAll(LevelPath(set, level.number));
            std::string error;
            const auto written = LevelFile::Format(level.data, &error);
            ASSERT_TRUE(written.has_value()) << set.folder << " " << level.number << ": " << error;
            EXPECT_EQ(*written, text) << set.folder << " level " << level.number
                                      << " is not in the form the editor writes";
            // The build copies the sets into the data folder.
            const auto built = std::filesystem::path(QUARROW_BUILT_DATA_DIR) / set.folder /
                               ("Level" + std::to_string(level.number) + ".xml");
            EXPECT_EQ(ReadAll(built), text) << built;
        }
        // The set ends where the game thinks it does.
        EXPECT_FALSE(std::filesystem::exists(LevelPath(set, set.count + 1))) << set.folder;
    }
}

TEST(LevelSetTest, AttributesAndStonesStayWithinTheGame)
{
    const std::filesystem::path images = std::filesystem::path(QUARROW_BUILT_DATA_DIR) / "images";
    for (const LevelSet& set : kSets) {
        for (const LoadedLevel& loaded : LoadSet(set)) {
            const LevelData& level = loaded.data;
            SCOPED_TRACE(std::string(set.folder) + " level " + std::to_string(loaded.number));
            ASSERT_GE(level.pictures.size(), 2u);
            const std::set<int> distinct(level.pictures.begin(), level.pictures.end());
            EXPECT_EQ(distinct.size(), level.pictures.size());
            EXPECT_GE(*distinct.begin(), 0);
            EXPECT_LE(*distinct.rbegin(), 25);
            EXPECT_TRUE(std::set<std::string>({"1", "2", "4", "5"}).count(level.music))
                << "music " << level.music << " is not a level song";
            const int cards = LevelFile::ParseInt(level.cardsInDeck);
            EXPECT_GE(cards, 1);
            EXPECT_LE(cards, 40);
            ASSERT_FALSE(level.background.empty());
            // Once the scenes are in the data folder, every level must name one of them.
            if (std::filesystem::exists(images)) {
                EXPECT_TRUE(std::filesystem::exists(images / level.background)) << level.background;
            }
            EXPECT_LE(level.layers.size(), 6u);
            EXPECT_GE(level.StoneCount(), 10);
            EXPECT_LE(level.StoneCount(), 150);
            for (std::size_t layer = 0; layer < level.layers.size(); ++layer) {
                const int offset = kLayerStep * static_cast<int>(layer);
                for (const LevelStone& stone : level.layers[layer]) {
                    EXPECT_EQ(stone.orientation, 3);
                    EXPECT_GE(stone.x - 40 + offset, kFieldLeft) << stone.x << "," << stone.y;
                    EXPECT_LE(stone.x + 40 + offset, kFieldRight) << stone.x << "," << stone.y;
                    EXPECT_GE(stone.y - 25 - offset, kFieldTop) << stone.x << "," << stone.y;
                    EXPECT_LE(stone.y + 25 - offset, kFieldBottom) << stone.x << "," << stone.y;
                }
            }
        }
    }
}

TEST(LevelSetTest, EveryLockHasOneKeyThatLiesOpenFromTheStart)
{
    for (const LevelSet& set : kSets) {
        for (const LoadedLevel& loaded : LoadSet(set)) {
            const LevelData& level = loaded.data;
            SCOPED_TRACE(std::string(set.folder) + " level " + std::to_string(loaded.number));
            std::set<int> locks;
            std::vector<int> keys(3, 0);
            for (std::size_t layer = 0; layer < level.layers.size(); ++layer) {
                for (const LevelStone& stone : level.layers[layer]) {
                    if (stone.lockNumber >= 0) {
                        locks.insert(stone.lockNumber);
                    }
                    if (stone.keyNumber < 0) {
                        continue;
                    }
                    ++keys[static_cast<std::size_t>(stone.keyNumber)];
                    // A key under other stones could sit below the very lock it opens.
                    for (std::size_t upper = layer + 1; upper < level.layers.size(); ++upper) {
                        for (const LevelStone& above : level.layers[upper]) {
                            EXPECT_FALSE(PlayField::Covers(above.x, above.y, stone.x, stone.y))
                                << "key " << stone.keyNumber << " at " << stone.x << "," << stone.y
                                << " starts covered";
                        }
                    }
                    EXPECT_EQ(stone.lockNumber, -1);
                    EXPECT_FALSE(stone.joker);
                }
            }
            for (int kind = 0; kind < 3; ++kind) {
                EXPECT_EQ(keys[static_cast<std::size_t>(kind)], locks.count(kind) ? 1 : 0)
                    << "key " << kind;
            }
        }
    }
}

TEST(LevelSetTest, EachSetStartsGentlyAndEndsHarder)
{
    for (const LevelSet& set : kSets) {
        const std::vector<LoadedLevel> levels = LoadSet(set);
        ASSERT_EQ(static_cast<int>(levels.size()), set.count);
        const auto pageAverage = [&](int page, auto measure) {
            double sum = 0;
            for (int i = 5 * page; i < 5 * page + 5; ++i) {
                sum += measure(levels[static_cast<std::size_t>(i)].data);
            }
            return sum / 5;
        };
        const auto stones = [](const LevelData& level) { return double(level.StoneCount()); };
        const auto pictures = [](const LevelData& level) { return double(level.pictures.size()); };
        const auto cards = [](const LevelData& level) {
            return double(LevelFile::ParseInt(level.cardsInDeck));
        };
        const int lastPage = set.count / 5 - 1;
        SCOPED_TRACE(set.folder);
        EXPECT_LT(pageAverage(0, stones), pageAverage(lastPage, stones));
        EXPECT_LT(pageAverage(0, pictures), pageAverage(lastPage, pictures));
        EXPECT_GT(pageAverage(0, cards), pageAverage(lastPage, cards));
        // The first page: one or two layers, no locks, no jokers.
        for (int i = 0; i < 5; ++i) {
            const LevelData& level = levels[static_cast<std::size_t>(i)].data;
            EXPECT_LE(level.layers.size(), 2u) << "level " << i + 1;
            EXPECT_EQ(CountIf(level, [](const LevelStone& s) { return s.lockNumber >= 0; }), 0);
            EXPECT_EQ(CountIf(level, [](const LevelStone& s) { return s.joker; }), 0);
        }
        // Locks arrive by a quarter of the way in and stay in the last page.
        const auto locked = [](const LevelData& level) {
            return CountIf(level, [](const LevelStone& s) { return s.lockNumber >= 0; });
        };
        int firstLocked = 0;
        while (firstLocked < set.count &&
               locked(levels[static_cast<std::size_t>(firstLocked)].data) == 0) {
            ++firstLocked;
        }
        EXPECT_LE(firstLocked, set.count / 4);
        for (int i = 5 * lastPage; i < set.count; ++i) {
            EXPECT_GT(locked(levels[static_cast<std::size_t>(i)].data), 0) << "level " << i + 1;
        }
    }
}
