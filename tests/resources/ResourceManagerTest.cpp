#include "resources/ResourceManager.h"

#include "app/ZorvaAppBase.h"
#include "graphics/ImageFont.h"
#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"
#include "resources/ResourceManagerException.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace Zorva;

namespace {

/// A folder of this process holding the test's images, font and manifests.
class ResourceManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path() /
                 ("zorva_resources_" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder / "images");
        app = std::make_unique<ZorvaAppBase>(std::make_unique<FakeClock>());
    }
    void TearDown() override
    {
        app.reset();
        std::filesystem::remove_all(folder);
    }

    std::string Path(const std::string& name) const { return (folder / name).string(); }

    /// A PNG whose pixel i is `first` + i (so pixels are told apart).
    void WritePng(const std::string& name, int width, int height, uint32_t first)
    {
        auto picture = ImageLib::Image::Create(width, height);
        ASSERT_NE(picture, nullptr);
        for (int i = 0; i < width * height; ++i) {
            picture->bits[i] = first + static_cast<uint32_t>(i);
        }
        ASSERT_TRUE(ImageLib::SavePNG(Path(name), *picture));
    }

    void WriteText(const std::string& name, const std::string& text)
    {
        std::ofstream(Path(name), std::ios::binary) << text;
    }

    /// A manifest file around the given groups, with every path inside the test folder.
    std::string WriteManifest(const std::string& groups)
    {
        WriteText("resources.xml", "<?xml version=\"1.0\"?>\n<ResourceManifest>\n" + groups +
                                       "</ResourceManifest>\n");
        return Path("resources.xml");
    }

    std::string Defaults(const std::string& sub = "images", const std::string& prefix = "")
    {
        return "<SetDefaults path=\"" + Path(sub) + "\" idprefix=\"" + prefix + "\"/>\n";
    }

    const ImageRes& ImageEntry(const ResourceManager& manager, const std::string& id)
    {
        return static_cast<const ImageRes&>(*manager.Images().at(id));
    }

    std::filesystem::path folder;
    std::unique_ptr<ZorvaAppBase> app;
};

/// The error of a manifest held in memory.
std::string ErrorOf(const std::string& text)
{
    ResourceManager manager(nullptr);
    EXPECT_FALSE(manager.ParseManifestText(text)) << text;
    return manager.GetErrorText();
}

} // namespace

TEST_F(ResourceManagerTest, Parse_DefaultPathsPrefixesIdsAndProgramEntries)
{
    ResourceManager manager(app.get());
    ASSERT_TRUE(manager.ParseManifestText(
        "<ResourceManifest>\n"
        "<Resources id=\"Init\">\n"
        "  <SetDefaults path=\"images\" idprefix=\"IMAGE_\"/>\n"
        "  <Image path=\"x.png\"/>\n"
        "  <Image path=\"sub/y.png\" id=\"Y\"></Image>\n"
        "  <SetDefaults path=\"images/\" idprefix=\"IMAGE_/\"/>\n"
        "  <Image path=\"z.jpg\"/>\n"
        "  <Image path=\"!program\" id=\"SCREEN\"/>\n"
        "</Resources>\n"
        "<Resources id=\"Game\">\n"
        "  <Sound path=\"click\" volume=\"0.5\" pan=\"-300\"/>\n"
        "  <Font path=\"fonts/main.txt\" id=\"F\" image=\"fonts/main.png\" tags=\"a, b\"/>\n"
        "</Resources>\n"
        "</ResourceManifest>\n"))
        << manager.GetErrorText();
    EXPECT_EQ(ImageEntry(manager, "IMAGE_x").path, "images/x.png");
    EXPECT_EQ(ImageEntry(manager, "IMAGE_Y").path, "images/sub/y.png");
    // A trailing slash on either default changes nothing.
    EXPECT_EQ(ImageEntry(manager, "IMAGE_z").path, "images/z.jpg");
    EXPECT_TRUE(ImageEntry(manager, "IMAGE_SCREEN").fromProgram);
    EXPECT_EQ(ImageEntry(manager, "IMAGE_SCREEN").path, "!program");
    // Defaults stay in force in the next group.
    const auto& sound = static_cast<const SoundRes&>(*manager.Sounds().at("IMAGE_click"));
    EXPECT_EQ(sound.path, "images/click");
    EXPECT_EQ(sound.group, "Game");
    EXPECT_DOUBLE_EQ(sound.volume, 0.5);
    EXPECT_EQ(sound.pan, -300);
    const auto& font = static_cast<const FontRes&>(*manager.Fonts().at("IMAGE_F"));
    EXPECT_EQ(font.imagePath, "fonts/main.png");
    EXPECT_EQ(font.tags, "a, b");
    EXPECT_EQ(manager.CountResources("Init"), 3);
    EXPECT_EQ(manager.CountResources("Game"), 2);
    EXPECT_EQ(manager.CountResources(""), 5);
}

TEST_F(ResourceManagerTest, Parse_AnimationDescriptions)
{
    ResourceManager manager(nullptr);
    ASSERT_TRUE(manager.ParseManifestText(
        "<ResourceManifest><Resources id=\"G\">"
        "<Image path=\"p\" cols=\"4\" anim=\"PingPong\" framedelay=\"7\"/>"
        "<Image path=\"d\" rows=\"3\" anim=\"loop\" framedelay=\"2\" perframedelay=\"5,0\""
        " begindelay=\"9\" enddelay=\"11\"/>"
        "<Image path=\"m\" cols=\"8\" anim=\"once\" framemap=\"3,1\" framedelay=\"0\"/>"
        "<Image path=\"n\" cols=\"8\" anim=\"NONE\"/>"
        "</Resources></ResourceManifest>"))
        << manager.GetErrorText();
    const AnimInfo& pingPong = *ImageEntry(manager, "p").anim;
    EXPECT_EQ(pingPong.type, AnimInfo::kPingPong);
    EXPECT_EQ(pingPong.frameMap, (std::vector<int32_t>{0, 1, 2, 3, 2, 1}));
    EXPECT_EQ(pingPong.totalTime, 6 * 7);
    const AnimInfo& delays = *ImageEntry(manager, "d").anim;
    EXPECT_EQ(delays.perFrameDelays, (std::vector<int32_t>{9, 2, 11}));
    EXPECT_EQ(delays.totalTime, 22);
    const AnimInfo& mapped = *ImageEntry(manager, "m").anim;
    EXPECT_EQ(mapped.frameMap, (std::vector<int32_t>{3, 1}));
    EXPECT_EQ(mapped.frameDelay, 1);
    EXPECT_EQ(mapped.totalTime, 2);
    EXPECT_FALSE(ImageEntry(manager, "n").anim.has_value());
    EXPECT_EQ(ErrorOf("<ResourceManifest><Resources id=\"G\"><Image path=\"p\" anim=\"spin\"/>"
                      "</Resources></ResourceManifest>"),
              "Invalid animation type. on Line 1");
}

TEST_F(ResourceManagerTest, Parse_EveryErrorKeepsTheFirstMessageAndItsPlace)
{
    EXPECT_EQ(ErrorOf("<Manifest/>"), "Expecting ResourceManifest tag on Line 1");
    EXPECT_EQ(ErrorOf(""), "Expecting ResourceManifest tag on Line 1");
    EXPECT_EQ(ErrorOf("<ResourceManifest>\n<Group id=\"a\"/></ResourceManifest>"),
              "Invalid Section 'Group' on Line 2");
    EXPECT_EQ(ErrorOf("<ResourceManifest>stray</ResourceManifest>"),
              "Element Not Expected 'stray' on Line 1");
    EXPECT_EQ(ErrorOf("<ResourceManifest><Resources></Resources></ResourceManifest>"),
              "No id specified. on Line 1");
    EXPECT_EQ(ErrorOf("<ResourceManifest><Resources id=\"\"/></ResourceManifest>"),
              "No id specified. on Line 1");
    EXPECT_EQ(ErrorOf("<ResourceManifest><Resources id=\"a\"><Image path=\"x\"><Sound "
                      "path=\"y\"/></Image></Resources></ResourceManifest>"),
              "Unexpected element found. on Line 1");
    EXPECT_EQ(ErrorOf("<ResourceManifest><Resources id=\"a\"><Sound id=\"s\"/>"
                      "</Resources></ResourceManifest>"),
              "No path specified. on Line 1");
    EXPECT_EQ(ErrorOf("<ResourceManifest><Resources id=\"a\"><Music path=\"m\"/>"
                      "</Resources></ResourceManifest>"),
              "Invalid Section 'Music' on Line 1");
    EXPECT_EQ(ErrorOf("<ResourceManifest><Resources id=\"a\">text</Resources></ResourceManifest>"),
              "Element Not Expected 'text' on Line 1");
    // The XML reader's own error is passed on with the place.
    EXPECT_NE(ErrorOf("<ResourceManifest><Resources id=\"a\"></Wrong></ResourceManifest>")
                  .find(" on Line 1"),
              std::string::npos);

    // A second image of the same id fails where the second one stands, naming the file.
    const std::string file = WriteManifest("<Resources id=\"a\">\n<Image path=\"x.png\"/>\n"
                                           "<Image path=\"other/x.gif\"/>\n</Resources>\n");
    ResourceManager manager(nullptr);
    EXPECT_FALSE(manager.ParseManifest(file));
    EXPECT_EQ(manager.GetErrorText(), "Resource already defined. on Line 5 in File '" + file + "'");
    ResourceManager missing(nullptr);
    EXPECT_FALSE(missing.ParseManifest(Path("none.xml")));
    EXPECT_EQ(missing.GetErrorText().rfind("Resource file not found: " + Path("none.xml"), 0), 0u);
    // Same ids of different kinds do not clash.
    ResourceManager kinds(nullptr);
    EXPECT_TRUE(kinds.ParseManifestText("<ResourceManifest><Resources id=\"a\"><Image "
                                        "path=\"x\"/><Sound path=\"x\"/><Font path=\"x\"/>"
                                        "</Resources></ResourceManifest>"));
}

TEST_F(ResourceManagerTest, Load_ImagesWithPurgeCellsPaletteAndProgramEntries)
{
    WritePng("images/plain.png", 4, 2, 0xFF000000u);
    WritePng("images/strip.png", 8, 2, 0xFF100000u);
    ResourceManager manager(app.get());
    ASSERT_TRUE(manager.ParseManifest(WriteManifest(
        "<Resources id=\"G\">" + Defaults() +
        "<Image path=\"plain.png\" id=\"KEEP\" nopal=\"\" nobits3d=\"\"/>"
        "<Image path=\"plain.png\" id=\"PURGE2D\" variant=\"b\" nopal=\"\" nobits2d=\"\"/>"
        "<Image path=\"plain.png\" id=\"PURGE\" variant=\"c\" nopal=\"\" nobits=\"\"/>"
        "<Image path=\"strip.png\" id=\"STRIP\" cols=\"4\" anim=\"loop\" framedelay=\"3\""
        " a8r8g8b8=\"1\"/>"
        "<Image path=\"!program\" id=\"SCREEN\"/>"
        "</Resources>")))
        << manager.GetErrorText();
    ASSERT_TRUE(manager.LoadResources("G")) << manager.GetErrorText();
    EXPECT_TRUE(manager.IsGroupLoaded("G"));
    EXPECT_FALSE(manager.GetImage("KEEP")->purgeBits);
    EXPECT_FALSE(manager.GetImage("KEEP")->mBits.empty());
    EXPECT_TRUE(manager.GetImage("PURGE2D")->purgeBits);
    EXPECT_TRUE(manager.GetImage("PURGE2D")->mBits.empty());
    EXPECT_TRUE(manager.GetImage("PURGE")->purgeBits);
    // Purged images still draw from what they keep.
    EXPECT_EQ(manager.GetImage("PURGE")->PixelAt(3, 1), 0xFF000007u);
    const auto strip = manager.GetImage("STRIP");
    EXPECT_EQ(strip->numCols, 4);
    EXPECT_EQ(strip->GetCellWidth(), 2);
    ASSERT_NE(strip->animInfo, nullptr);
    EXPECT_EQ(strip->animInfo->totalTime, 12);
    EXPECT_TRUE(strip->IsPalettised());
    EXPECT_NE(strip->drawHints & MemoryImage::kHintA8R8G8B8, 0u);
    EXPECT_EQ(manager.GetImage("SCREEN"), nullptr);

    // With acceleration the 3D purge applies instead of the 2D one.
    app->is3D = true;
    ResourceManager accelerated(app.get());
    ASSERT_TRUE(accelerated.ParseManifest(WriteManifest(
        "<Resources id=\"G\">" + Defaults() +
        "<Image path=\"plain.png\" id=\"A\" variant=\"3d1\" nopal=\"\" nobits2d=\"\"/>"
        "<Image path=\"plain.png\" id=\"B\" variant=\"3d2\" nopal=\"\" nobits3d=\"\"/>"
        "</Resources>")));
    ASSERT_TRUE(accelerated.LoadResources("G"));
    EXPECT_FALSE(accelerated.GetImage("A")->purgeBits);
    EXPECT_TRUE(accelerated.GetImage("B")->purgeBits);
}

TEST_F(ResourceManagerTest, Load_AlphaImagesAndGridsCheckTheirSizes)
{
    WritePng("images/body.png", 4, 2, 0xFF203040u);
    WritePng("images/alpha.png", 4, 2, 0xFF000010u);
    WritePng("images/cell.png", 2, 2, 0xFF000080u);
    WritePng("images/small.png", 3, 2, 0xFF000000u);
    ResourceManager manager(app.get());
    ASSERT_TRUE(manager.ParseManifest(WriteManifest(
        "<Resources id=\"A\">" + Defaults() +
        "<Image path=\"body.png\" id=\"WHOLE\" alphaimage=\"alpha.png\" nopal=\"\"/>"
        "<Image path=\"body.png\" id=\"GRID\" variant=\"g\" cols=\"2\" alphagrid=\"cell.png\""
        " nopal=\"\"/>"
        "</Resources><Resources id=\"B\">" +
        Defaults() +
        "<Image path=\"body.png\" id=\"BAD\" variant=\"bad\" alphaimage=\"small.png\"/>"
        "</Resources><Resources id=\"C\">" +
        Defaults() +
        "<Image path=\"body.png\" id=\"BADGRID\" variant=\"bg\" alphagrid=\"small.png\"/>"
        "<Image path=\"missing.png\"/>"
        "</Resources>")));
    ASSERT_TRUE(manager.LoadResources("A")) << manager.GetErrorText();
    const auto whole = manager.GetImage("WHOLE");
    EXPECT_EQ(whole->PixelAt(0, 0), 0x10203040u);
    EXPECT_EQ(whole->PixelAt(3, 1), 0x17203047u);
    const auto grid = manager.GetImage("GRID");
    // Each cell takes the grid's alpha at its own position.
    EXPECT_EQ(grid->PixelAt(0, 0) >> 24, 0x80u);
    EXPECT_EQ(grid->PixelAt(2, 0) >> 24, 0x80u);
    EXPECT_EQ(grid->PixelAt(3, 1) >> 24, 0x83u);

    EXPECT_FALSE(manager.LoadResources("B"));
    EXPECT_EQ(manager.GetErrorText(), "AlphaImage size mismatch between " +
                                          Path("images/body.png") + " and " +
                                          Path("images/small.png"));
    EXPECT_FALSE(manager.IsGroupLoaded("B"));
    EXPECT_FALSE(manager.LoadResources("C"));
    EXPECT_EQ(manager.GetErrorText(), "GridAlphaImage size mismatch between " +
                                          Path("images/body.png") + " and " +
                                          Path("images/small.png"));
}

TEST_F(ResourceManagerTest, Load_SoundIdsFollowLoadOrderAcrossGroupsAndReleaseAgain)
{
    ResourceManager manager(app.get());
    ASSERT_TRUE(manager.ParseManifestText("<ResourceManifest>"
                                          "<Resources id=\"One\"><Sound path=\"b\"/>"
                                          "<Sound path=\"a\"/></Resources>"
                                          "<Resources id=\"Two\"><Sound path=\"c\"/></Resources>"
                                          "</ResourceManifest>"));
    ASSERT_TRUE(manager.LoadResources("Two"));
    ASSERT_TRUE(manager.LoadResources("One"));
    EXPECT_EQ(manager.GetSound("c"), 0);
    EXPECT_EQ(manager.GetSound("a"), 1);
    EXPECT_EQ(manager.GetSound("b"), 2);
    EXPECT_EQ(manager.GetSoundOrThrow("a"), 1);
    manager.DeleteResources("One");
    EXPECT_FALSE(manager.IsGroupLoaded("One"));
    EXPECT_EQ(manager.GetSound("a"), -1);
    EXPECT_EQ(manager.GetSound("c"), 0);
    // Everything at once; reloaded sounds take new ids.
    ASSERT_TRUE(manager.LoadResources(""));
    EXPECT_EQ(manager.GetSound("a"), 3);
    EXPECT_EQ(manager.GetSound("b"), 4);
    EXPECT_TRUE(manager.IsGroupLoaded(""));

    try {
        manager.GetSoundOrThrow("zzz");
        ADD_FAILURE() << "no exception";
    } catch (const ResourceManagerException& error) {
        EXPECT_STREQ(error.what(), "Sound resource not found: zzz");
    }
    EXPECT_THROW(manager.GetImageOrThrow("a"), ResourceManagerException);
    EXPECT_THROW(manager.GetFontOrThrow("a"), ResourceManagerException);
}

TEST_F(ResourceManagerTest, Load_FontsFromDescriptorsImagesAndReferences)
{
    std::filesystem::create_directories(folder / "fonts");
    WritePng("fonts/glyphs.png", 8, 4, 0xFFFFFFFFu);
    WriteText("fonts/main.txt", "CreateLayer L; LayerSetImage L 'glyphs.png'; LayerSetAscent L 4;"
                                "LayerSetImageMap L ('A', 'B') ((0, 0, 4, 4), (4, 0, 4, 4));"
                                "LayerSetCharWidths L ('A', 'B') (4, 5);");
    ResourceManager manager(app.get());
    ASSERT_TRUE(manager.ParseManifest(
        WriteManifest("<Resources id=\"F\">" + Defaults("fonts") +
                      "<Font path=\"main.txt\" id=\"MAIN\" tags=\"bold, shadow\tbig\"/>"
                      "<Font path=\"!ref:MAIN\" id=\"SECOND\" tags=\"small\"/>"
                      "<Font path=\"!ref:MAIN\" id=\"EARLY\"/>"
                      "</Resources><Resources id=\"Bad\">" +
                      Defaults("fonts") +
                      "<Font path=\"!ref:NOPE\" id=\"X\"/>"
                      "</Resources><Resources id=\"Cycle\">" +
                      Defaults("fonts") +
                      "<Font path=\"!ref:C2\" id=\"C1\"/><Font path=\"!ref:C1\" id=\"C2\"/>"
                      "</Resources><Resources id=\"Broken\">" +
                      Defaults("fonts") +
                      "<Font path=\"missing.txt\" id=\"Y\"/>"
                      "</Resources>")));
    ASSERT_TRUE(manager.LoadResources("F")) << manager.GetErrorText();
    ImageFont* main = manager.GetFontOrThrow("MAIN");
    EXPECT_EQ(main->TextWidth("AB"), 9);
    EXPECT_TRUE(main->HasTag("bold"));
    EXPECT_TRUE(main->HasTag("shadow"));
    EXPECT_TRUE(main->HasTag("big"));
    ImageFont* second = manager.GetFont("SECOND");
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, main);
    EXPECT_EQ(second->GetFontData(), main->GetFontData());
    EXPECT_TRUE(second->HasTag("small"));
    EXPECT_FALSE(main->HasTag("small"));
    // A reference sorting before the font it copies still finds it.
    ASSERT_NE(manager.GetFont("EARLY"), nullptr);
    EXPECT_EQ(manager.GetFont("EARLY")->GetFontData(), main->GetFontData());

    EXPECT_FALSE(manager.LoadResources("Bad"));
    EXPECT_EQ(manager.GetErrorText(), "Ref font not found: NOPE");
    EXPECT_FALSE(manager.LoadResources("Cycle"));
    EXPECT_EQ(manager.GetErrorText().rfind("Ref font not found: C", 0), 0u);
    EXPECT_FALSE(manager.LoadResources("Broken"));
    EXPECT_EQ(manager.GetErrorText(), "Failed to load font: " + Path("fonts/missing.txt"));
}

TEST_F(ResourceManagerTest, Load_IncrementalLoadingStopsAtTheFirstFailure)
{
    WritePng("images/a.png", 2, 2, 0xFF000000u);
    WritePng("images/c.png", 2, 2, 0xFF000000u);
    ResourceManager manager(app.get());
    ASSERT_TRUE(manager.ParseManifest(
        WriteManifest("<Resources id=\"G\">" + Defaults() +
                      "<Image path=\"a.png\"/><Image path=\"b.png\"/><Image path=\"c.png\"/>"
                      "<Sound path=\"s\"/></Resources>")));
    manager.StartLoading("G");
    EXPECT_TRUE(manager.LoadNextResource());
    EXPECT_FALSE(manager.LoadNextResource());
    EXPECT_EQ(manager.GetErrorText(), "Failed to load image: " + Path("images/b.png"));
    // Nothing after the failure was loaded.
    EXPECT_FALSE(manager.LoadNextResource());
    EXPECT_NE(manager.GetImage("a"), nullptr);
    EXPECT_EQ(manager.GetImage("c"), nullptr);
    EXPECT_EQ(manager.GetSound("s"), -1);
}
