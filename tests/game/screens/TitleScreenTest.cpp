#include "game/screens/TitleScreen.h"

#include "../../widgets/WidgetTestSupport.h"
#include "app/PlatformClock.h"
#include "app/ZorvaAppBase.h"
#include "game/ResourceHandles.h"
#include "game/screens/LogoImage.h"
#include "game/screens/LogoScreen.h"
#include "game/screens/ResourceBinding.h"
#include "game/screens/TitleScreenOwner.h"
#include "graphics/ImageLib.h"
#include "widgets/HyperlinkWidget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace WidgetTest;

namespace {

/// A headless application whose loading progress the test sets.
class LoadingApp : public ZorvaAppBase
{
public:
    LoadingApp() : ZorvaAppBase(std::make_unique<FakeClock>())
    {
        GetWidgetManager()->Resize(800, 600);
        GetWidgetManager()->OnAppFocusIn();
    }
    double GetLoadingProgress() const override { return progress; }
    double progress = 0;
};

class CountingOwner : public TitleScreenOwner
{
public:
    void TitleScreenFinished() override { ++finished; }
    int finished = 0;
};

/// Binds small stand-ins for the loading screen's font, logo and bar; unbinds them after.
class TitleScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        logo = StripedImage(20, 10, {kRed});
        bar = StripedImage(10, 4, {kGreen, kBlue});
        FONT_DEFAULT = &font;
        IMAGE_LOADER_QUARROW = logo.get();
        IMAGE_LOADER_BAR = bar.get();
        dir = std::filesystem::temp_directory_path() /
              ("title-screen-test-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        canvas.Create(800, 600);
    }
    void TearDown() override
    {
        ResetTitleScreenGroup();
        ResetInitGroup();
        std::filesystem::remove_all(dir);
    }

    std::string WriteFile(const std::string& name, const std::string& text)
    {
        const std::string path = (dir / name).string();
        std::ofstream(path) << text;
        return path;
    }

    std::unique_ptr<TitleScreen> MakeScreen()
    {
        auto screen = std::make_unique<TitleScreen>(app, owner);
        screen->Place(0, 0, 800, 600);
        screen->CreateLink();
        app.GetWidgetManager()->AddWidget(screen.get());
        return screen;
    }

    MemoryImage& PaintScreen(TitleScreen& screen)
    {
        canvas.Clear();
        Graphics graphics(&canvas);
        screen.Paint(graphics);
        return canvas;
    }

    LoadingApp app;
    CountingOwner owner;
    BlockFont font{6, 8, 2};
    std::unique_ptr<MemoryImage> logo;
    std::unique_ptr<MemoryImage> bar;
    std::filesystem::path dir;
    MemoryImage canvas;
};

} // namespace

TEST(LogoImageTest, ParseInteger_DecimalHexSignAndMalformed)
{
    EXPECT_EQ(LogoImage::ParseInteger("120"), 120);
    EXPECT_EQ(LogoImage::ParseInteger("-15"), -15);
    EXPECT_EQ(LogoImage::ParseInteger("0x1F"), 31);
    EXPECT_EQ(LogoImage::ParseInteger("0XfF"), 255);
    EXPECT_EQ(LogoImage::ParseInteger(""), 0);
    EXPECT_EQ(LogoImage::ParseInteger("12a"), 0);
    EXPECT_EQ(LogoImage::ParseInteger("0x"), 0);
    EXPECT_EQ(LogoImage::ParseInteger("-"), 0);
    EXPECT_EQ(LogoImage::ParseInteger(" 5"), 0);
    EXPECT_EQ(LogoImage::ParseInteger("99999999999999999999"), 2147483647);
    EXPECT_EQ(LogoImage::ParseInteger("-99999999999999999999"), -2147483647 - 1);
}

TEST_F(TitleScreenTest, LogoFile_ScreensImagesColoursAndTimes)
{
    // A 4 x 2 picture: centred on (400, 300) it covers 398..401 x 299..300.
    const std::string picture = (dir / "pic.png").string();
    auto blue = ImageLib::Image::Create(4, 2);
    std::fill(blue->bits.get(), blue->bits.get() + 8, kBlue.PackARGB());
    ASSERT_TRUE(ImageLib::SavePNG(picture, *blue));
    const std::string logos =
        WriteFile("logos.xml", "<LogoAppearence><BeforeStartLoading>"
                               "<ShowLogo time=\"0\" backcolor=\"0x10,0,0\"/>"
                               "<ShowLogo time=\"2\" backcolor=\"255,128,0\">"
                               "<Image name=\"" +
                                   picture +
                                   "\" left=\"400\" top=\"300\" center=\"1\"/>"
                                   "<Image name=\"" +
                                   picture +
                                   "\" left=\"0x64\" top=\"10\" center=\"true\"/>"
                                   "<Image name=\"" +
                                   (dir / "missing.png").string() +
                                   "\" left=\"5\" top=\"5\"/>"
                                   "</ShowLogo>"
                                   "<Image name=\"" +
                                   picture +
                                   "\" left=\"1\" top=\"1\"/>"
                                   "</BeforeStartLoading>"
                                   "<OnTitleLoading><Image name=\"" +
                                   picture +
                                   "\" left=\"-2\" top=\"0x20\"/>"
                                   "</OnTitleLoading></LogoAppearence>");
    auto screen = MakeScreen();
    screen->LoadLogos(logos);
    ASSERT_EQ(screen->LogoScreens().size(), 2u);
    EXPECT_EQ(screen->LogoScreens()[0]->red, 16);
    const LogoScreen& second = *screen->LogoScreens()[1];
    EXPECT_EQ(second.remainingTicks, 2);
    ASSERT_EQ(second.images.size(), 3u);
    EXPECT_TRUE(second.images[0]->centered);
    EXPECT_FALSE(second.images[1]->centered);
    EXPECT_EQ(second.images[1]->left, 100);
    EXPECT_EQ(second.images[2]->image, nullptr);
    ASSERT_EQ(screen->LoadingImages().size(), 1u);
    EXPECT_EQ(screen->LoadingImages()[0]->left, -2);
    EXPECT_EQ(screen->LoadingImages()[0]->top, 32);

    // The screen of time 0 goes on the first update; the orange one lasts two.
    screen->Tick();
    ASSERT_EQ(screen->LogoScreens().size(), 1u);
    EXPECT_TRUE(screen->ShowingLogos());
    EXPECT_EQ(Pixels(PaintScreen(*screen),
                     {{0, 0}, {397, 299}, {398, 299}, {401, 300}, {402, 300}, {100, 10}, {5, 5}}),
              "255,128,0 255,128,0 0,0,255 0,0,255 255,128,0 0,0,255 255,128,0");
    screen->Tick();
    EXPECT_TRUE(screen->ShowingLogos());
    screen->Tick();
    EXPECT_TRUE(screen->LogoScreens().empty());
    screen->Tick();
    EXPECT_FALSE(screen->ShowingLogos());
    EXPECT_TRUE(screen->InLoadingPhase());
    // The loading-phase picture, at its top-left corner.
    EXPECT_EQ(Pixels(PaintScreen(*screen), {{0, 32}, {1, 33}, {2, 32}}), "0,0,255 0,0,255 0,0,0");
}

TEST_F(TitleScreenTest, LoadingPhase_ProgressBarColumnsLogoAndText)
{
    auto screen = MakeScreen();
    screen->LoadLogos((dir / "absent.xml").string());
    // Without a logo file the loading phase shows before any update.
    EXPECT_TRUE(screen->InLoadingPhase());
    EXPECT_FALSE(screen->ShowingLogos());
    // The 20-wide bar is centred: columns 390..409 at y 450; green then blue halves.
    app.progress = 0;
    MemoryImage& empty = PaintScreen(*screen);
    EXPECT_EQ(Pixels(empty, {{390, 450}, {399, 450}, {400, 450}}), "0,0,0 0,0,0 0,0,0");
    EXPECT_EQ(Pixels(empty, {{390, 330}, {409, 339}, {389, 330}, {410, 330}}),
              "255,0,0 255,0,0 0,0,0 0,0,0");
    // "Loading..." is 10 blocks of 6: x 370..429, the 8 rows above the baseline at 500.
    EXPECT_EQ(Pixels(empty, {{370, 492}, {429, 499}, {369, 495}, {430, 495}, {400, 500}}),
              "255,255,255 255,255,255 0,0,0 0,0,0 0,0,0");
    app.progress = 0.5;
    EXPECT_EQ(Pixels(PaintScreen(*screen), {{390, 450}, {399, 453}, {400, 450}, {409, 450}}),
              "0,255,0 0,255,0 0,0,0 0,0,0");
    app.progress = 0.54;
    EXPECT_EQ(Pixels(PaintScreen(*screen), {{399, 450}, {400, 450}}), "0,255,0 0,0,0");
    app.progress = 1;
    EXPECT_EQ(Pixels(PaintScreen(*screen), {{390, 450}, {400, 450}, {409, 453}, {410, 450}}),
              "0,255,0 0,0,255 0,0,255 0,0,0");

    // Every update of the loading phase asks for a redraw, so a new progress shows.
    screen->dirty = false;
    app.GetWidgetManager()->UpdateFrame();
    EXPECT_TRUE(screen->dirty);

    screen->LoadingCompleted();
    EXPECT_EQ(Pixels(PaintScreen(*screen), {{370, 492}}), "0,0,0");
}

TEST_F(TitleScreenTest, Link_HiddenUntilLoadedThenClickEndsTheScreen)
{
    TitleScreen* screen = MakeScreen().release();
    screen->LoadLogos((dir / "absent.xml").string());
    HyperlinkWidget* link = screen->Link();
    ASSERT_NE(link, nullptr);
    WidgetManager& manager = *app.GetWidgetManager();
    EXPECT_EQ(link->label, "Click To Continue");
    EXPECT_EQ(link->GetParent(), &manager);
    // 17 characters of 6 pixels, the font's 10 rows and 4 more.
    EXPECT_EQ(link->GetBounds(), Rect(400 - 51, 500, 102, 14));
    EXPECT_TRUE(link->handCursor);
    EXPECT_FALSE(link->visible);
    EXPECT_TRUE(link->disabled);

    // Hidden and disabled, the link takes no click.
    Click(manager, 400, 505);
    EXPECT_EQ(owner.finished, 0);
    EXPECT_EQ(screen->GetParent(), &manager);

    screen->LoadingCompleted();
    EXPECT_TRUE(link->visible);
    EXPECT_FALSE(link->disabled);
    Click(manager, 400, 505);
    EXPECT_EQ(owner.finished, 1);
    EXPECT_EQ(screen->GetParent(), nullptr);
    EXPECT_EQ(link->GetParent(), nullptr);
    EXPECT_FALSE(manager.HasChild(screen));
    EXPECT_FALSE(manager.HasChild(link));
    EXPECT_EQ(screen->Link(), nullptr);
    // Both are freed by the application's deferred deletion, when it is destroyed here.
}

TEST_F(TitleScreenTest, Detach_TakesTheLinkAlongAndLoadingCompletedBeforeAttachKeepsItShown)
{
    auto screen = std::make_unique<TitleScreen>(app, owner);
    screen->CreateLink();
    screen->LoadingCompleted();
    WidgetManager& manager = *app.GetWidgetManager();
    manager.AddWidget(screen.get());
    EXPECT_TRUE(screen->Link()->visible);
    manager.RemoveWidget(screen.get());
    EXPECT_FALSE(manager.HasChild(screen->Link()));
}

TEST(ResourceBindingTest, ResetGroups_PutTheirHandlesBackToUnbound)
{
    MemoryImage image;
    IMAGE_LOADER_BAR = &image;
    IMAGE_LOGO_BIG = &image;
    SOUND_CONTINUE = 3;
    IMAGE_ARROW = &image;
    SOUND_USE_KEY = 4;
    ResetTitleScreenGroup();
    EXPECT_EQ(IMAGE_LOADER_BAR, nullptr);
    EXPECT_EQ(IMAGE_LOGO_BIG, nullptr);
    EXPECT_EQ(SOUND_CONTINUE, -1);
    EXPECT_EQ(IMAGE_ARROW, &image);
    EXPECT_EQ(SOUND_USE_KEY, 4);
    ResetGameGroup();
    EXPECT_EQ(IMAGE_ARROW, nullptr);
    EXPECT_EQ(SOUND_USE_KEY, -1);
}
