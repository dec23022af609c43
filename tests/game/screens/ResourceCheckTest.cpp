#include "game/screens/ResourceCheck.h"

#include "app/ZorvaAppBase.h"
#include "game/ResourceHandles.h"
#include "game/screens/ResourceBinding.h"
#include "graphics/ImageLib.h"
#include "resources/ResourceManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Entry
{
    std::string id;
    std::string kind;
    std::string group;
};

std::vector<Entry> GameIdentifiers()
{
    std::vector<Entry> list;
#define QUARROW_ENTRY_FONT(name) list.push_back({#name, "Font", group});
#define QUARROW_ENTRY_IMAGE(name) list.push_back({#name, "Image", group});
#define QUARROW_ENTRY_SOUND(name) list.push_back({#name, "Sound", group});
    std::string group = "Init";
    QUARROW_INIT_FONTS(QUARROW_ENTRY_FONT)
    group = "TitleScreen";
    QUARROW_TITLE_SCREEN_IMAGES(QUARROW_ENTRY_IMAGE)
    QUARROW_TITLE_SCREEN_SOUNDS(QUARROW_ENTRY_SOUND)
    group = "Game";
    QUARROW_GAME_IMAGES(QUARROW_ENTRY_IMAGE)
    QUARROW_GAME_SOUNDS(QUARROW_ENTRY_SOUND)
#undef QUARROW_ENTRY_FONT
#undef QUARROW_ENTRY_IMAGE
#undef QUARROW_ENTRY_SOUND
    return list;
}

/// A data folder with a file for every identifier and a manifest naming them; `edit` may
/// change the list before the manifest is written.
class ResourceCheckTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = std::filesystem::temp_directory_path() /
               ("quarrow_check_" + std::to_string(::getpid()));
        std::filesystem::remove_all(root);
        for (const char* sub : {"properties", "images", "sounds", "fonts"}) {
            std::filesystem::create_directories(root / sub);
        }
        auto pixel = Zorva::ImageLib::Image::Create(2, 2);
        ASSERT_TRUE(Zorva::ImageLib::SavePNG((root / "images" / "tile.png").string(), *pixel));
        auto glyphs = Zorva::ImageLib::Image::Create(4, 4);
        std::fill(glyphs->bits.get(), glyphs->bits.get() + 16, 0xFFFFFFFFu);
        ASSERT_TRUE(Zorva::ImageLib::SavePNG((root / "fonts" / "glyphs.png").string(), *glyphs));
        std::ofstream(root / "fonts" / "main.txt")
            << "CreateLayer L; LayerSetImage L 'glyphs.png'; LayerSetAscent L 4;"
               "LayerSetImageMap L ('A') ((0, 0, 4, 4)); LayerSetCharWidths L ('A') (4);";
        std::ofstream(root / "sounds" / "beep.wav") << "RIFF";
        entries = GameIdentifiers();
        previous = std::filesystem::current_path();
        std::filesystem::current_path(root);
    }
    void TearDown() override
    {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(root);
        ResetResourceHandles();
    }

    std::string WriteManifest() const
    {
        std::string text = "<ResourceManifest>\n";
        for (const char* group : {"Init", "TitleScreen", "Game"}) {
            text += "<Resources id=\"" + std::string(group) + "\">\n";
            for (const Entry& entry : entries) {
                if (entry.group != group) {
                    continue;
                }
                const std::string path = entry.kind == "Image"   ? "images/tile.png"
                                         : entry.kind == "Sound" ? "sounds/beep"
                                                                 : "fonts/main.txt";
                text += "  <" + entry.kind + " id=\"" + entry.id + "\" path=\"" + path + "\"/>\n";
            }
            text += "</Resources>\n";
        }
        text += "</ResourceManifest>\n";
        const std::filesystem::path file = root / "properties" / "resources.xml";
        std::ofstream(file) << text;
        return file.string();
    }

    void Remove(const std::string& id)
    {
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [&](const Entry& entry) { return entry.id == id; }),
                      entries.end());
    }

    Entry& Find(const std::string& id)
    {
        return *std::find_if(entries.begin(), entries.end(),
                             [&](const Entry& entry) { return entry.id == id; });
    }

    std::filesystem::path root;
    std::filesystem::path previous;
    std::vector<Entry> entries;
    Zorva::ZorvaAppBase app{std::make_unique<Zorva::FakeClock>()};
};

} // namespace

TEST_F(ResourceCheckTest, CompleteManifestPassesAndBindsAllGroups)
{
    ASSERT_EQ(entries.size(), 133u);
    ResourceCheck check(app);
    EXPECT_TRUE(check.Run(WriteManifest()));
    EXPECT_TRUE(check.Problems().empty()) << check.Problems().front();
    EXPECT_EQ(check.LoadedCount(), 133);
}

TEST_F(ResourceCheckTest, EveryProblemIsNamed)
{
    Remove("IMAGE_LOGO_BIG");
    Find("SOUND_CLICK").kind = "Image";
    Find("IMAGE_PANEL").group = "TitleScreen";
    entries.push_back({"IMAGE_EXTRA", "Image", "Game"});
    const std::string manifest = WriteManifest();
    // A file that is not there is reported too, and loading goes on after it.
    std::string text;
    {
        std::ifstream in(manifest);
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    const std::string from = "id=\"IMAGE_EXTRA\" path=\"images/tile.png\"";
    text.replace(text.find(from), from.size(), "id=\"IMAGE_EXTRA\" path=\"images/none.png\"");
    std::ofstream(manifest) << text;

    ResourceCheck check(app);
    EXPECT_FALSE(check.Run(manifest));
    const std::vector<std::string>& problems = check.Problems();
    const auto has = [&](const std::string& problem) {
        return std::find(problems.begin(), problems.end(), problem) != problems.end();
    };
    EXPECT_TRUE(has("Failed to load image: images/none.png (IMAGE_EXTRA, group 'Game')"));
    EXPECT_TRUE(has("Missing image identifier IMAGE_LOGO_BIG (group 'TitleScreen')"));
    EXPECT_TRUE(
        has("Missing sound identifier SOUND_CLICK (group 'Game'), defined as an image instead"));
    EXPECT_TRUE(has("IMAGE_PANEL is in group 'TitleScreen' but the game loads it with group "
                    "'Game'"));
    EXPECT_TRUE(has("Binding group 'TitleScreen' failed: Image resource not found: "
                    "IMAGE_LOGO_BIG"));
    EXPECT_TRUE(has("Binding group 'Game' failed: Sound resource not found: SOUND_CLICK"));
    EXPECT_EQ(problems.size(), 6u);
    EXPECT_EQ(check.LoadedCount(), 132);

    ResourceCheck missing(app);
    EXPECT_FALSE(missing.Run((root / "nothing.xml").string()));
    ASSERT_EQ(missing.Problems().size(), 1u);
    EXPECT_EQ(missing.Problems()[0].rfind("Resource file not found: ", 0), 0u);
}

TEST_F(ResourceCheckTest, BindingStopsAtTheFirstMissingIdentifierKeepingEarlierHandles)
{
    Remove("IMAGE_LOGO_BIG");
    Zorva::ResourceManager manager(&app);
    ASSERT_TRUE(manager.ParseManifest(WriteManifest()));
    ASSERT_TRUE(manager.LoadResources("Init"));
    ASSERT_TRUE(manager.LoadResources("TitleScreen"));
    EXPECT_TRUE(BindInitGroup(manager));
    EXPECT_NE(FONT_DEFAULT, nullptr);
    EXPECT_FALSE(BindTitleScreenGroup(manager));
    EXPECT_NE(IMAGE_LOADER_BAR, nullptr);
    EXPECT_NE(IMAGE_LOADER_QUARROW, nullptr);
    EXPECT_EQ(IMAGE_LOGO_BIG, nullptr);
    EXPECT_EQ(SOUND_CONTINUE, -1);
    // The game group is not loaded yet, so its binding fails at its first image.
    EXPECT_FALSE(BindGameGroup(manager));
    EXPECT_EQ(IMAGE_ARROW, nullptr);
}
