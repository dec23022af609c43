// Checks the data folder the build makes: the manifest the game loads, every picture at the
// size the art's layout table gives, the loading screen's pictures and the font.

#include "app/ZorvaAppBase.h"
#include "game/screens/ResourceCheck.h"
#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"
#include "resources/ImageRes.h"
#include "resources/ResourceManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct LayoutRow
{
    std::string file;
    int width = 0;
    int height = 0;
    int cols = 1;
    int rows = 1;
};

/// The cells of a Markdown table row, trimmed; empty for any other line.
std::vector<std::string> TableCells(const std::string& line)
{
    std::vector<std::string> cells;
    if (line.empty() || line[0] != '|') {
        return cells;
    }
    std::stringstream stream(line.substr(1));
    std::string cell;
    while (std::getline(stream, cell, '|')) {
        const auto first = cell.find_first_not_of(' ');
        const auto last = cell.find_last_not_of(' ');
        cells.push_back(first == std::string::npos ? "" : cell.substr(first, last - first + 1));
    }
    return cells;
}

/// "W x H" as two numbers; false for anything else.
bool ReadSize(const std::string& text, int& width, int& height)
{
    char x = 0;
    std::stringstream stream(text);
    return static_cast<bool>(stream >> width >> x >> height) && x == 'x' && stream.peek() == EOF;
}

/// The picture table of LAYOUT.md: identifier (or file name for pictures the manifest does
/// not name) to its row.
std::map<std::string, LayoutRow> ReadLayoutTable()
{
    std::ifstream in(QUARROW_LAYOUT_FILE);
    std::map<std::string, LayoutRow> table;
    std::string line;
    while (std::getline(in, line)) {
        const std::vector<std::string> cells = TableCells(line);
        LayoutRow entry;
        if (cells.size() < 4 || cells[1].rfind("images/", 0) != 0 ||
            !ReadSize(cells[2], entry.width, entry.height)) {
            continue;
        }
        entry.file = cells[1];
        if (cells[3] != "1" && !ReadSize(cells[3], entry.cols, entry.rows)) {
            continue;
        }
        const std::string& id = cells[0];
        const bool named = id.size() > 2 && id.front() == '`' && id.back() == '`';
        table[named ? id.substr(1, id.size() - 2) : entry.file] = entry;
    }
    return table;
}

/// Runs a test in the data folder, as the game does.
class GameDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous = std::filesystem::current_path();
        std::filesystem::current_path(QUARROW_DATA_DIR);
        app.noSound = true;
    }
    void TearDown() override { std::filesystem::current_path(previous); }

    std::filesystem::path previous;
    Zorva::ZorvaAppBase app{std::make_unique<Zorva::FakeClock>()};
};

} // namespace

TEST_F(GameDataTest, Manifest_EveryIdentifierLoadsAndBinds)
{
    ResourceCheck check(app);
    check.Run("properties/resources.xml");
    for (const std::string& problem : check.Problems()) {
        ADD_FAILURE() << problem;
    }
    // 117 images, 15 sounds and the font.
    EXPECT_EQ(check.LoadedCount(), 133);
}

TEST_F(GameDataTest, Pictures_MatchTheLayoutTableAndTheGameCoordinates)
{
    const std::map<std::string, LayoutRow> table = ReadLayoutTable();
    ASSERT_GE(table.size(), 117u + 8u) << "LAYOUT.md's table was not found or not read";
    Zorva::ResourceManager manager(&app);
    ASSERT_TRUE(manager.ParseManifest("properties/resources.xml")) << manager.GetErrorText();
    std::map<std::string, Zorva::MemoryImage*> images;
    for (const auto& [id, res] : manager.Images()) {
        auto& image = static_cast<Zorva::ImageRes&>(*res);
        ASSERT_TRUE(manager.LoadImageRes(image)) << manager.GetErrorText();
        images[id] = image.image.get();
        const auto row = table.find(id);
        ASSERT_NE(row, table.end()) << id << " is not in LAYOUT.md";
        EXPECT_EQ(image.path, row->second.file) << id;
        EXPECT_EQ(image.image->GetWidth(), row->second.width) << id;
        EXPECT_EQ(image.image->GetHeight(), row->second.height) << id;
        EXPECT_EQ(image.image->numCols, row->second.cols) << id;
        EXPECT_EQ(image.image->numRows, row->second.rows) << id;
    }
    for (const auto& [key, row] : table) {
        if (key.rfind("images/", 0) == 0) {
            auto file = Zorva::ImageLib::LoadImageFile(row.file, false);
            ASSERT_TRUE(file != nullptr) << row.file;
            EXPECT_EQ(file->width, row.width) << row.file;
            EXPECT_EQ(file->height, row.height) << row.file;
        } else {
            EXPECT_EQ(images.count(key), 1u) << key << " is in LAYOUT.md but not in the manifest";
        }
    }

    // Sizes the game's drawing positions depend on, whatever the table says.
    auto size = [&](const char* id) {
        const Zorva::MemoryImage* image = images.at(id);
        return std::pair{image->GetWidth(), image->GetHeight()};
    };
    for (const char* stone :
         {"IMAGE_FISH_L", "IMAGE_FISH_L2", "IMAGE_FISH_L3", "IMAGE_FISH_OVER", "IMAGE_FISH_OVER2",
          "IMAGE_FISH_OVER3", "IMAGE_FISH_BACK", "IMAGE_FISH_BACK2", "IMAGE_FISH_BACK3",
          "IMAGE_FISH_JOKER", "IMAGE_FISH_JOKER_BACK"}) {
        EXPECT_EQ(size(stone), std::pair(87, 57)) << stone;
    }
    EXPECT_EQ(size("IMAGE_FISH_BORDER"), std::pair(87 + 8, 57 + 8));
    for (const char* flip : {"IMAGE_FISH_ROTATE", "IMAGE_FISH_ROTATE2", "IMAGE_FISH_ROTATE3",
                             "IMAGE_FISH_JOKER_ROTATE"}) {
        EXPECT_EQ(images.at(flip)->GetCellCount(), 13) << flip;
        EXPECT_EQ(images.at(flip)->GetCellWidth(), 87 + 6) << flip;
        EXPECT_GE(images.at(flip)->GetCellHeight(), 57 + 17) << flip;
    }
    for (int i = 0; i < 26; ++i) {
        const std::string id = "IMAGE_TYP" + std::to_string(i);
        EXPECT_EQ(size(id.c_str()), std::pair(40, 50)) << id;
    }
    for (const char* screen :
         {"IMAGE_TITLE", "IMAGE_W_MAP", "IMAGE_HOW_TO_PLAY1", "IMAGE_HOW_TO_PLAY2"}) {
        EXPECT_EQ(size(screen), std::pair(800, 600)) << screen;
    }
    EXPECT_EQ(size("IMAGE_PANEL"), std::pair(800, 80));
    EXPECT_EQ(size("IMAGE_PANEL_UP").first, 800);
    EXPECT_EQ(size("IMAGE_W_MENU"), std::pair(250, 280));
    EXPECT_EQ(size("IMAGE_SCROLL").first, 143);
    EXPECT_LE(440 - 8 + size("IMAGE_SCROLL").second, 548) << "scrolls reach the map's buttons";
    EXPECT_EQ(images.at("IMAGE_CHECKBOX")->GetWidth() % 2, 0);
    EXPECT_EQ(images.at("IMAGE_SLIDER_TRACK")->GetWidth() % 3, 0);
    EXPECT_EQ(size("IMAGE_COMBO_METER_ON").first, size("IMAGE_COMBO_METER").first - 2);
    EXPECT_EQ(size("IMAGE_COMBO_METER_ON").second, size("IMAGE_COMBO_METER").second - 2);
    EXPECT_LE(270 + size("IMAGE_COMBO_METER").second, 520) << "the meter runs into the panel";
    EXPECT_LE(size("IMAGE_BUTTON_NORMAL").second - 2, 30) << "Undo and Hint are 30 apart";
    EXPECT_LE(578 + size("IMAGE_BUTTON_NORMAL").first, 693) << "Undo runs into the menu button";
    EXPECT_LE(693 + size("IMAGE_BUTTON_MENU").first, 800);
    EXPECT_LE(540 + size("IMAGE_BUTTON_MENU").second, 600);
    EXPECT_EQ(size("IM_B_DIALOG").first, 140);
    EXPECT_LE(size("IM_B_DIALOG").second - 2, 40) << "menu buttons are 40 apart";
    EXPECT_EQ(size("IMAGE_BIG_BUTTON").first, 2 * (400 - 313));
    EXPECT_LE(490 + size("IMAGE_W_HINT").first + 29, 800) << "a hint at x 490 leaves the screen";
    EXPECT_LE(size("IMAGE_ARROW").second, 50);
    for (const char* id :
         {"IMAGE_PYRAMID_ANIM", "IMAGE_KEY_ANIM", "IMAGE_SPHERE_ANIM", "IM_BONUS_STAR"}) {
        EXPECT_GT(images.at(id)->GetCellCount(), 1) << id;
    }
}

TEST_F(GameDataTest, LogoFile_NamesPicturesThatLoad)
{
    std::ifstream in("properties/logos.xml");
    ASSERT_TRUE(in.good());
    std::stringstream text;
    text << in.rdbuf();
    const std::string content = text.str();
    int count = 0;
    const std::string key = "name=\"";
    for (auto at = content.find(key); at != std::string::npos; at = content.find(key, at + 1)) {
        const auto begin = at + key.size();
        const std::string file = content.substr(begin, content.find('"', begin) - begin);
        ++count;
        EXPECT_TRUE(Zorva::ImageLib::LoadImageFile(file, false) != nullptr) << file;
    }
    EXPECT_GE(count, 3);
    EXPECT_NE(content.find("LogoAppearence"), std::string::npos);
    EXPECT_NE(content.find("<ShowLogo time="), std::string::npos);
}
