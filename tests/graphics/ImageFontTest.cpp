#include "graphics/ImageFont.h"

#include "graphics/FontData.h"
#include "graphics/FontServices.h"
#include "graphics/Graphics.h"
#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace Zorva {
namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kGreen = 0xFF00FF00u;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;

std::shared_ptr<MemoryImage> SolidImage(int width, int height, uint32_t argb)
{
    auto image = std::make_shared<MemoryImage>();
    std::vector<uint32_t> pixels(static_cast<std::size_t>(width * height), argb);
    image->SetPixels(pixels.data(), width, height, true);
    return image;
}

/// What the blitter makes of an opaque white pixel modulated by `color`.
uint32_t Modulated(const Color& color)
{
    MemoryImage reference;
    std::vector<uint32_t> pixel{kGreen};
    reference.SetPixels(pixel.data(), 1, 1, false);
    Graphics context(&reference);
    context.SetModulateImages(true);
    context.SetColor(color);
    auto white = SolidImage(1, 1, kWhite);
    context.DrawImage(white.get(), 0, 0);
    return reference.PixelAt(0, 0);
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
}

/// Captures error reports and serves images from memory, keyed by the path asked for.
class ImageFontTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previousHandler =
            SetFontErrorHandler([this](const std::string& message) { reports.push_back(message); });
        previousLoader = SetSharedImageLoader([this](const std::string& path) {
            SharedImage result;
            const auto found = images.find(path);
            if (found != images.end()) {
                result.image = found->second;
            }
            return result;
        });
        images["fonts/glyphs"] = SolidImage(16, 8, kWhite);
    }

    void TearDown() override
    {
        SetFontErrorHandler(previousHandler);
        SetSharedImageLoader(previousLoader);
    }

    std::shared_ptr<FontData> Load(const std::string& text)
    {
        auto data = std::make_shared<FontData>();
        data->LoadText(text, "fonts/test.txt");
        return data;
    }

    /// The error of a descriptor that must fail.
    std::string FailureOf(const std::string& text)
    {
        auto data = Load(text);
        EXPECT_FALSE(data->initialized) << text;
        return data->error;
    }

    std::vector<std::string> reports;
    std::map<std::string, std::shared_ptr<MemoryImage>> images;
    FontErrorHandler previousHandler;
    SharedImageLoader previousLoader;
};

TEST_F(ImageFontTest, Commands_EachErrorMessageIsReachable)
{
    const std::string layer = "CreateLayer A; LayerSetImage A 'glyphs2';";
    images["fonts/glyphs2"] = SolidImage(4, 4, kWhite);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"LayerSetAscent Nope 3", "Undefined Layer"},
        {"CreateLayer A; CreateLayerFrom B Nope", "Undefined Layer"},
        {"CreateLayer A; CreateLayer a", "Layer Already Exists"},
        {"CreateLayer A; CreateLayer B; CreateLayerFrom b A", "Layer Already Exists"},
        {"SetCharMap ('a', 'b') ('c')", "List Size Mismatch"},
        {"CreateLayer A; LayerSetCharWidths A ('a', 'b') (1)", "List Size Mismatch"},
        {"CreateLayer A; LayerSetImage A 'missing.png'", "Failed to Load Image"},
        {"CreateLayer A; LayerSetImageMap A ('a') ((0, 0, 1, 1))", "Layer image not set"},
        {layer + "LayerSetImageMap A ('a') ((0, 0, 5, 1))", "Image rectangle out of bounds"},
        {layer + "LayerSetImageMap A ('a') ((0, 0, 1))", "Invalid Paramater Type"},
        {"CreateLayer A; LayerSetDrawMode A 2", "Invalid Paramater Type"},
        {"CreateLayer A; LayerSetKerningPairs A ('abc') (1)", "Invalid Paramater Type"},
        {"CreateLayer A; LayerSetColorMult A (1, 1, 1)", "Invalid Paramater Type"},
        {"CreateLayer A; LayerSetCharWidths A ('ab') (1)", "Invalid Paramater Type"},
        {"CreateLayer A; LayerSetCharWidths A 'a' (1)", "Invalid Paramater Type"},
        {"CreateLayer (A)", "Invalid Paramater Type"},
        {"SetDefaultPointSize 1 2", "Invalid Number of Parameters"},
        {"CreateLayer A; LayerSetAscent A", "Invalid Number of Parameters"},
        {"Frobnicate 1", "Unknown Command"},
        {"CreateLayer A; LayerFrobnicate A 1", "Unknown Command"},
        {"SetDefaultPointSize Big", "Unable to Dereference \"BIG\""},
        {"SetDefaultPointSize 100000", "Value Out of Range"},
        {"CreateLayer A; LayerSetKerningPairs A ('ab') (200)", "Value Out of Range"},
        {"CreateLayer A; LayerSetColorAdd A (2, 0, 0, 1)", "Value Out of Range"},
        {"CreateLayer A; LayerPointRange A -2 5", "Value Out of Range"},
        {"CreateHorzSpanRectList R (16380, 0, 1, 1) (2, 3)", "Image rectangle out of bounds"},
    };
    for (const auto& [text, message] : cases) {
        EXPECT_EQ(FailureOf(text), message) << text;
    }

    std::string many;
    for (int i = 0; i <= FontData::kMaxLayers; ++i) {
        many += "CreateLayer L" + std::to_string(i) + ";";
    }
    EXPECT_EQ(FailureOf(many), "Too Many Layers");

    reports.clear();
    auto data = Load("CreateLayer Main;\n  LayerSetAscent Nope 3;\nCreateLayer Later");
    EXPECT_FALSE(data->initialized);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0], "Font Descriptor Error in fonts/test.txt\r\n"
                          "Undefined Layer on Line 2:\r\n\r\nLayerSetAscent Nope 3");
    EXPECT_EQ(data->FindLayer("LATER"), nullptr);
}

TEST_F(ImageFontTest, ImageMap_RectTouchingEdgeAcceptedOnePixelBeyondRefused)
{
    const std::string base = "CreateLayer A; LayerSetImage A 'glyphs'; LayerSetImageMap A ('a') ";
    auto edge = Load(base + "((8, 0, 8, 8))");
    ASSERT_TRUE(edge->initialized) << edge->error;
    EXPECT_EQ(edge->FindLayer("a")->charData['a'].imageRect, Rect(8, 0, 8, 8));
    EXPECT_EQ(edge->FindLayer("a")->height, 8);

    EXPECT_TRUE(Load(base + "((0, 0, 16, 8))")->initialized);
    EXPECT_EQ(FailureOf(base + "((9, 0, 8, 8))"), "Image rectangle out of bounds");
    EXPECT_EQ(FailureOf(base + "((0, 1, 16, 8))"), "Image rectangle out of bounds");
    EXPECT_EQ(FailureOf(base + "((-1, 0, 2, 2))"), "Image rectangle out of bounds");
    EXPECT_EQ(FailureOf(base + "((4, 0, -2, 2))"), "Image rectangle out of bounds");

    auto spans = Load("CreateHorzSpanRectList Cells (2, 1, 0, 5) (3, 4, 2);"
                      "CreateLayer A; LayerSetImage A 'glyphs';"
                      "LayerSetCharOffsets A ('y') ((0, 2));"
                      "LayerSetImageMap A ('x', 'y', 'z') Cells");
    ASSERT_TRUE(spans->initialized) << spans->error;
    const FontLayer& layer = *spans->FindLayer("A");
    EXPECT_EQ(layer.charData['x'].imageRect, Rect(2, 1, 3, 5));
    EXPECT_EQ(layer.charData['y'].imageRect, Rect(5, 1, 4, 5));
    EXPECT_EQ(layer.charData['z'].imageRect, Rect(9, 1, 2, 5));
    EXPECT_EQ(layer.height, 7);
}

TEST_F(ImageFontTest, ActiveLayers_PointRangesAndTagsSelectLayers)
{
    auto data = Load("SetDefaultPointSize 11;"
                     "CreateLayer Small; LayerPointRange Small 10 12; LayerSetAscent Small 3;"
                     "CreateLayer Big; LayerPointRange Big 13 -1; LayerSetAscent Big 7;"
                     "CreateLayer Bold; LayerRequireTags Bold ('bold'); LayerSetAscent Bold 9;"
                     "CreateLayer Plain; LayerExcludeTags Plain (\"Bold\")");
    ASSERT_TRUE(data->initialized) << data->error;
    ImageFont font(data);
    auto active = [&]() {
        std::string names;
        for (const ActiveFontLayer& layer : font.GetActiveLayers()) {
            for (const auto& [name, candidate] : data->fontLayerMap) {
                names += candidate == layer.baseFontLayer ? name + " " : "";
            }
        }
        return names;
    };
    EXPECT_EQ(font.GetPointSize(), 11);
    EXPECT_EQ(active(), "SMALL PLAIN ");
    EXPECT_EQ(font.GetAscent(), 3);

    font.SetPointSize(14);
    EXPECT_EQ(font.GetAscent(), 7);
    EXPECT_EQ(active(), "BIG PLAIN ");

    EXPECT_TRUE(font.AddTag("BoLd"));
    EXPECT_FALSE(font.AddTag("bold"));
    EXPECT_TRUE(font.HasTag("BOLD"));
    EXPECT_EQ(font.GetAscent(), 9);
    EXPECT_EQ(active(), "BIG BOLD ");

    EXPECT_TRUE(font.RemoveTag("bOLD"));
    EXPECT_FALSE(font.RemoveTag("bold"));
    font.SetPointSize(12);
    EXPECT_EQ(font.GetAscent(), 3);
    EXPECT_EQ(active(), "SMALL PLAIN ");
}

TEST_F(ImageFontTest, Measure_KerningAndSpacingNotAddedAfterLastCharacter)
{
    auto data =
        Load("CreateLayer L; LayerSetImage L 'glyphs';"
             "LayerSetImageMap L ('A', 'V') ((0, 0, 4, 8), (4, 0, 4, 8));"
             "LayerSetCharWidths L ('A', 'V') (5, 6); LayerSetSpacing L 1; LayerSetAscent L 8;"
             "LayerSetKerningPairs L ('AV', 'VA') (-2, 3);"
             "SetCharMap ('a') ('A')");
    ASSERT_TRUE(data->initialized) << data->error;
    ImageFont font(data);
    EXPECT_EQ(font.TextWidth("A"), 5);
    EXPECT_EQ(font.TextWidth("AV"), 10);
    EXPECT_EQ(font.TextWidth("AVA"), 19);
    EXPECT_EQ(font.TextWidth("aV"), 10);
    EXPECT_EQ(font.CharWidth('V'), 6);
    EXPECT_EQ(font.CharWidthAfter('V', 'A'), 5);
    EXPECT_EQ(font.TextWidth(""), 0);

    MemoryImage destination;
    destination.Create(32, 8);
    Graphics context(&destination);
    std::vector<Rect> rects;
    int width = -1;
    font.DrawTextWithRects(&context, 0, 8, "AVA", Color::kWhite, context.GetClipRect(), &rects,
                           &width);
    EXPECT_EQ(width, 19);
    EXPECT_EQ(rects, (std::vector<Rect>{Rect(0, 0, 4, 8), Rect(4, 0, 4, 8), Rect(14, 0, 4, 8)}));

    font.SetScale(2.0);
    EXPECT_EQ(font.TextWidth("AV"), 20);
    ASSERT_EQ(font.GetActiveLayers().size(), 1u);
    const ActiveFontLayer& scaled = font.GetActiveLayers().front();
    EXPECT_NE(scaled.image, data->FindLayer("L")->image);
    EXPECT_EQ(scaled.image->GetWidth(), 16);
    EXPECT_EQ(scaled.image->GetHeight(), 16);
    EXPECT_EQ(scaled.scaledCharImageRects['V'], Rect(8, 0, 8, 16));
}

TEST_F(ImageFontTest, Scale_LayerPointSizeScalesGlyphsAndWhitenForcesWhite)
{
    images["fonts/red"] = SolidImage(8, 4, kRed);
    auto data = Load("SetDefaultPointSize 10; CreateLayer L; LayerSetImage L 'red';"
                     "LayerSetPointSize L 10; LayerSetAscent L 4;"
                     "LayerSetImageMap L ('A', 'V') ((0, 0, 4, 4), (4, 0, 4, 4));"
                     "LayerSetCharWidths L ('A', 'V') (5, 6); LayerSetSpacing L -1");
    ASSERT_TRUE(data->initialized) << data->error;
    ImageFont font(data);
    EXPECT_EQ(font.GetActiveLayers().front().image, data->FindLayer("L")->image);
    EXPECT_EQ(font.TextWidth("AV"), 10);

    font.SetPointSize(15);
    EXPECT_EQ(font.TextWidth("AV"), 7 + 9 - 1);
    EXPECT_EQ(font.GetAscent(), 6);
    EXPECT_EQ(font.GetHeight(), 6);
    const ActiveFontLayer& scaled = font.GetActiveLayers().front();
    EXPECT_EQ(scaled.scaledCharImageRects['A'], Rect(0, 0, 6, 6));
    EXPECT_EQ(scaled.image->PixelAt(2, 2), kRed);

    font.forceScaledImagesWhite = true;
    font.SetPointSize(20);
    const ActiveFontLayer& white = font.GetActiveLayers().front();
    EXPECT_EQ(white.scaledCharImageRects['V'], Rect(8, 0, 8, 8));
    EXPECT_EQ(white.image->PixelAt(12, 4), kWhite);
}

TEST_F(ImageFontTest, Draw_HigherOrderOverLowerEqualOrdersKeepLayerOrder)
{
    const std::string layers = "CreateLayer Top; LayerSetImage Top 'glyphs'; LayerSetAscent Top 4;"
                               "LayerSetImageMap Top ('A') ((0, 0, 4, 4));"
                               "LayerSetCharWidths Top ('A') (4);"
                               "LayerSetColorMult Top (1, 0, 0, 1);"
                               "CreateLayerFrom Under Top; LayerSetColorMult Under (0, 0, 1, 1);";
    auto drawPixel = [&](const std::string& extra) {
        auto data = Load(layers + extra);
        EXPECT_TRUE(data->initialized) << data->error;
        ImageFont font(data);
        MemoryImage destination;
        destination.Create(4, 4);
        Graphics context(&destination);
        font.DrawText(&context, 0, 4, "A", Color::kWhite, context.GetClipRect());
        return destination.PixelAt(1, 1);
    };
    const uint32_t red = Modulated(Color(255, 0, 0, 255));
    const uint32_t blue = Modulated(Color(0, 0, 255, 255));
    ASSERT_NE(red, blue);
    EXPECT_EQ(drawPixel(""), blue);
    EXPECT_EQ(drawPixel("LayerSetBaseOrder Top 1"), red);
    EXPECT_EQ(drawPixel("LayerSetCharOrders Top ('A') (3); LayerSetBaseOrder Under 2"), red);
    EXPECT_EQ(drawPixel("LayerSetCharOrders Top ('A') (-300); LayerSetBaseOrder Under -129"), blue);
}

TEST_F(ImageFontTest, Draw_LightnessRangeKeepsTheRingOffDarkTextButMeasuresAlike)
{
    // A ring two pixels right of the fill, drawn only for light text.
    const std::string layers =
        "CreateLayer Ring; LayerSetImage Ring 'glyphs'; LayerSetAscent Ring 4;"
        "LayerSetImageMap Ring ('A') ((0, 0, 4, 4));"
        "LayerSetCharWidths Ring ('A') (4); LayerSetOffset Ring (2, 0);"
        "LayerSetColorMult Ring (0, 0, 0, 1);"
        "LayerSetColorAdd Ring (0, 0, 1, 0);"
        "LayerTextLightnessRange Ring 0.5 1;"
        "CreateLayerFrom Main Ring; LayerSetOffset Main (0, 0);"
        "LayerTextLightnessRange Main 0 1;"
        "LayerSetColorMult Main (1, 1, 1, 1); LayerSetColorAdd Main (0, 0, 0, 0);";
    auto data = Load(layers);
    ASSERT_TRUE(data->initialized) << data->error;
    ImageFont font(data);
    auto draw = [&](const Color& color, int& width) {
        MemoryImage destination;
        std::vector<uint32_t> pixels(8 * 4, kGreen);
        destination.SetPixels(pixels.data(), 8, 4, false);
        Graphics context(&destination);
        font.DrawTextWithRects(&context, 0, 4, "A", color, context.GetClipRect(), nullptr, &width);
        return std::pair{destination.PixelAt(1, 1), destination.PixelAt(5, 1)};
    };
    int lightWidth = 0;
    int darkWidth = 0;
    const auto [lightFill, lightRing] = draw(Color(250, 240, 200, 255), lightWidth);
    const auto [darkFill, darkRing] = draw(Color(40, 30, 20, 255), darkWidth);
    EXPECT_EQ(lightRing, Modulated(Color(0, 0, 255, 255)));
    EXPECT_EQ(darkRing, kGreen);
    EXPECT_EQ(darkFill, Modulated(Color(40, 30, 20, 255)));
    EXPECT_EQ(lightWidth, darkWidth);
    EXPECT_EQ(lightWidth, font.TextWidth("A"));

    EXPECT_EQ(FailureOf(layers + "LayerTextLightnessRange Ring 0.8 0.2"), "Value Out of Range");
    EXPECT_EQ(FailureOf(layers + "LayerTextLightnessRange Ring 0 1.5"), "Value Out of Range");
    EXPECT_EQ(FailureOf(layers + "LayerTextLightnessRange Ring 0.5"),
              "Invalid Number of Parameters");
}

TEST_F(ImageFontTest, Draw_TwoLayerFontFromPngFile)
{
    SetSharedImageLoader({});
    auto glyphs = ImageLib::Image::Create(8, 4);
    ASSERT_NE(glyphs, nullptr);
    for (int i = 0; i < 8 * 4; ++i) {
        // 'A' is a solid 4 x 4 block, 'B' two solid columns; the rest is transparent.
        glyphs->bits[static_cast<std::size_t>(i)] = (i % 8) < 6 ? kWhite : 0x00000000u;
    }
    const std::string dir = ::testing::TempDir();
    ASSERT_TRUE(ImageLib::SavePNG(dir + "f1_font_glyphs.png", *glyphs));
    WriteFile(dir + "f1_font.txt", "# Shadow beneath, fill on top.\r\n"
                                   "SetDefaultPointSize 10;\r\n"
                                   "CreateLayer Shadow;\r\n"
                                   "LayerSetImage Shadow 'f1_font_glyphs.png';\r\n"
                                   "LayerSetImageMap Shadow ('A', 'B') ((0,0,4,4), (4,0,2,4));\r\n"
                                   "LayerSetCharWidths Shadow ('A', 'B') (5, 3);\r\n"
                                   "LayerSetAscent Shadow 4;\r\n"
                                   "LayerSetOffset Shadow (1, 1);\r\n"
                                   "LayerSetColorMult Shadow (0, 0, 0, 1);\r\n"
                                   "CreateLayerFrom Main Shadow;\r\n"
                                   "LayerSetOffset Main (0, 0);\r\n"
                                   "LayerSetColorMult Main (1, 1, 1, 1);\r\n");
    ImageFont font(dir + "f1_font.txt");
    ASSERT_TRUE(font.IsLoaded()) << font.GetFontData()->lastErrorReport;
    EXPECT_EQ(font.GetActiveLayers().size(), 2u);
    EXPECT_EQ(font.GetAscent(), 4);
    EXPECT_EQ(font.GetHeight(), 4);
    EXPECT_EQ(font.TextWidth("AB"), 8);

    MemoryImage destination;
    std::vector<uint32_t> background(12 * 8, kGreen);
    destination.SetPixels(background.data(), 12, 8, false);
    Graphics context(&destination);
    context.SetColor(Color(1, 2, 3, 255));
    int width = 0;
    font.DrawTextWithRects(&context, 1, 5, "AB", Color(255, 0, 0, 255), context.GetClipRect(),
                           nullptr, &width);
    EXPECT_EQ(width, 8);
    EXPECT_EQ(context.GetColor(), Color(1, 2, 3, 255));
    EXPECT_FALSE(context.GetModulateImages());

    const uint32_t red = Modulated(Color(255, 0, 0, 255));
    const uint32_t black = Modulated(Color(0, 0, 0, 255));
    EXPECT_EQ(red & 0xFF00FFFFu, 0xFF000000u);
    EXPECT_GE((red >> 16) & 0xFF, 250u);
    EXPECT_EQ(black, kBlack);

    // Fill: A at x 1..4, B at x 6..7, rows 1..4. Shadow: one pixel right and down.
    EXPECT_EQ(destination.PixelAt(1, 1), red);
    EXPECT_EQ(destination.PixelAt(4, 4), red);
    EXPECT_EQ(destination.PixelAt(7, 3), red);
    EXPECT_EQ(destination.PixelAt(5, 5), black);
    EXPECT_EQ(destination.PixelAt(2, 5), black);
    EXPECT_EQ(destination.PixelAt(8, 3), black);
    EXPECT_EQ(destination.PixelAt(5, 1), kGreen);
    EXPECT_EQ(destination.PixelAt(1, 5), kGreen);
    EXPECT_EQ(destination.PixelAt(9, 3), kGreen);
    EXPECT_EQ(destination.PixelAt(0, 0), kGreen);

    auto copy = font.Duplicate();
    EXPECT_EQ(font.GetFontData().use_count(), 2);
    static_cast<ImageFont&>(*copy).SetPointSize(30);
    EXPECT_EQ(font.GetPointSize(), 10);
    EXPECT_EQ(copy->TextWidth("AB"), 8);
}

TEST_F(ImageFontTest, Draw_PoolOf4096GlyphsLeavesTheRestUndrawn)
{
    images["fonts/dot"] = SolidImage(1, 1, kWhite);
    ImageFont font(Load("CreateLayer L; LayerSetImage L 'dot'; LayerSetAscent L 1;"
                        "LayerSetImageMap L ('.') ((0, 0, 1, 1)); LayerSetCharWidths L ('.') (1)"));
    MemoryImage destination;
    destination.Create(4100, 1);
    Graphics context(&destination);
    int width = 0;
    font.DrawTextWithRects(&context, 0, 1, std::string(4100, '.'), Color::kWhite,
                           context.GetClipRect(), nullptr, &width);
    EXPECT_EQ(width, 4100);
    EXPECT_EQ(destination.PixelAt(4095, 0), kWhite);
    EXPECT_EQ(destination.PixelAt(4096, 0), 0u);
}

TEST_F(ImageFontTest, Unloaded_MeasuresZeroAndDrawsNothing)
{
    ImageFont font(Load("CreateLayer L; LayerSetImage L 'glyphs';"
                        "LayerSetImageMap L ('A') ((0, 0, 4, 4)); LayerSetCharWidths L ('A') (4);"
                        "LayerSetAscent L 4; Oops"));
    EXPECT_FALSE(font.IsLoaded());
    EXPECT_EQ(font.TextWidth("AAA"), 0);
    EXPECT_EQ(font.GetHeight(), 0);
    EXPECT_TRUE(font.GetActiveLayers().empty());
    MemoryImage destination;
    destination.Create(8, 8);
    Graphics context(&destination);
    int width = -1;
    font.DrawTextWithRects(&context, 0, 4, "AAA", Color::kWhite, context.GetClipRect(), nullptr,
                           &width);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(destination.PixelAt(1, 1), 0u);

    ImageFont missing(::testing::TempDir() + "f1_no_such_font.txt");
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_EQ(missing.TextWidth("abc"), 0);
}

TEST_F(ImageFontTest, GetDefine_PrintsValuesAndLists)
{
    ImageFont font(Load("Define Pair (1, 'a', (2, 3)); Define N 5; Define Copy N"));
    EXPECT_EQ(font.GetDefine("pair"), "(1, 'a', (2, 3))");
    EXPECT_EQ(font.GetDefine("COPY"), "5");
    EXPECT_EQ(font.GetDefine("missing"), "");
}

TEST_F(ImageFontTest, WidthsFile_LaysGlyphsOutAndMapsLetterCase)
{
    const std::string path = ::testing::TempDir() + "f1_widths.txt";
    WriteFile(path, "3 4\n a 4\n B 6 \n");
    ImageFont font(SolidImage(12, 5, kWhite), path);
    ASSERT_TRUE(font.IsLoaded());
    EXPECT_EQ(font.GetAscent(), 4);
    EXPECT_EQ(font.GetHeight(), 5);
    EXPECT_EQ(font.TextWidth("a"), 4);
    EXPECT_EQ(font.TextWidth("A"), 4);
    EXPECT_EQ(font.TextWidth("b B "), 6 + 3 + 6 + 3);
    const FontLayer& layer = font.GetFontData()->fontLayerList.front();
    EXPECT_EQ(layer.charData['B'].imageRect, Rect(4, 0, 6, 5));

    WriteFile(path, "3 4 a 4 b 9");
    ImageFont tooWide(SolidImage(12, 5, kWhite), path);
    EXPECT_FALSE(tooWide.IsLoaded());
    ASSERT_FALSE(reports.empty());
    EXPECT_NE(reports.back().find("Image rectangle out of bounds"), std::string::npos);
}

} // namespace
} // namespace Zorva
