#include "app/platform/DDInterface.h"
#include "app/platform/DDImage.h"
#include "app/platform/SdlWindowSystem.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <memory>

using namespace Zorva;

namespace {

class DDInterfaceTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        windows = std::make_unique<SdlWindowSystem>();
        MainWindowSpec spec;
        spec.caption = "test";
        spec.clientRect = Rect(0, 0, 800, 600);
        spec.screenWidth = 800;
        spec.screenHeight = 600;
        ASSERT_TRUE(windows->CreateMainWindow(spec)) << windows->ErrorText();
        display = std::make_unique<DDInterface>(*windows, 800, 600);
    }
    void TearDown() override
    {
        display.reset();
        windows.reset();
    }
    void Pump()
    {
        windows->PumpMessages([](const WindowMessage&) {});
    }

    std::unique_ptr<SdlWindowSystem> windows;
    std::unique_ptr<DDInterface> display;
};

} // namespace

TEST_F(DDInterfaceTest, InitResultCodes)
{
    // The dummy driver has no accelerated renderer: the 3D failure code and its text.
    EXPECT_EQ(display->Initialize(true, true), 7);
    EXPECT_EQ(display->ErrorText().rfind("3D init error: ", 0), 0u) << display->ErrorText();
    // Full screen asked of a window that is not full screen.
    EXPECT_EQ(display->Initialize(false, false), 4);
    EXPECT_EQ(display->Initialize(true, false), 0);
    EXPECT_FALSE(display->Is3DAccelerated());
    EXPECT_GT(display->RefreshRate(), 0);
    // Without a window nothing can be made.
    display->Release();
    windows->DestroyMainWindow();
    EXPECT_EQ(display->Init(true), 2);
    std::unique_ptr<MemoryImage> screen = display->CreateScreenImage(800, 600);
    EXPECT_FALSE(display->Redraw(*screen));
}

TEST_F(DDInterfaceTest, RedrawUploadsOnlyWhatChangedAndScalesToTheWindow)
{
    std::unique_ptr<MemoryImage> screen = display->CreateScreenImage(800, 600);
    ASSERT_EQ(display->GetScreenImage(), screen.get());
    ASSERT_EQ(display->Init(true), 0);
    ASSERT_TRUE(display->Redraw(*screen));
    EXPECT_EQ(display->FramesPresented(), 1);
    EXPECT_EQ(display->PixelsUploaded(), 800 * 600);
    EXPECT_EQ(display->LastDestination(), Rect(0, 0, 800, 600));

    // Nothing changed: no upload, no frame.
    ASSERT_TRUE(display->Redraw(*screen));
    EXPECT_EQ(display->FramesPresented(), 1);
    screen->FillRect(Rect(100, 50, 10, 5), Color(255, 0, 0), 0);
    ASSERT_TRUE(display->Redraw(*screen));
    EXPECT_EQ(display->FramesPresented(), 2);
    EXPECT_EQ(display->PixelsUploaded(), 800 * 600 + 50);

    // A resized window gets the whole picture again, letterboxed, without an upload.
    SDL_SetWindowSize(windows->Window(), 1000, 500);
    Pump();
    ASSERT_TRUE(display->Redraw(*screen));
    EXPECT_EQ(display->FramesPresented(), 3);
    EXPECT_EQ(display->PixelsUploaded(), 800 * 600 + 50);
    EXPECT_EQ(display->LastDestination(), Rect(166, 0, 667, 500));

    // A lost device fails the present; a new Init brings the display back.
    SDL_Event reset{};
    reset.type = SDL_RENDER_DEVICE_RESET;
    SDL_PushEvent(&reset);
    Pump();
    EXPECT_FALSE(display->Redraw(*screen));
    EXPECT_FALSE(display->Redraw(*screen));
    ASSERT_EQ(display->Init(true), 0);
    EXPECT_TRUE(display->Redraw(*screen));
    EXPECT_EQ(display->PixelsUploaded(), 2 * 800 * 600 + 50);
}

TEST_F(DDInterfaceTest, ImagesKnowTheirBackEndUntilItGoes)
{
    std::unique_ptr<DDImage> image = display->CreateImage();
    image->Create(4, 4);
    auto copy = std::make_unique<DDImage>(*image);
    EXPECT_EQ(copy->GetDDInterface(), display.get());
    EXPECT_EQ(display->ImageCount(), 2u);
    copy.reset();
    EXPECT_EQ(display->ImageCount(), 1u);
    {
        std::unique_ptr<MemoryImage> screen = display->CreateScreenImage(8, 8);
        EXPECT_NE(display->GetScreenImage(), nullptr);
    }
    EXPECT_EQ(display->GetScreenImage(), nullptr);
    display.reset();
    EXPECT_EQ(image->GetDDInterface(), nullptr);
}
