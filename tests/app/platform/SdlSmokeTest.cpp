#include "app/ZorvaAppBase.h"
#include "app/platform/DDImage.h"
#include "app/platform/DDInterface.h"
#include "app/platform/SdlMessageBox.h"
#include "app/platform/SdlPlatform.h"
#include "app/platform/SdlWindowSystem.h"
#include "graphics/Graphics.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace Zorva;

namespace {

/// Paints itself and writes down the input it gets.
class Target : public Widget
{
public:
    bool AcceptsFocus() override { return true; }
    void Paint(Graphics& graphics) override
    {
        graphics.SetColor(Color(0, 128, 255));
        graphics.FillRect(Rect(0, 0, width, height));
    }
    void OnPointerDown(int px, int py, int code) override { Note("down", px, py, code); }
    void OnPointerUp(int px, int py, int code) override { Note("up", px, py, code); }
    void OnKeyDown(int key) override { log.push_back("key " + std::to_string(key)); }
    void OnChar(char c) override { log.push_back("char " + std::to_string(c)); }
    void OnWheel(int delta) override { log.push_back("wheel " + std::to_string(delta)); }
    void Note(const char* what, int px, int py, int code)
    {
        log.push_back(std::string(what) + " " + std::to_string(px) + "," + std::to_string(py) +
                      " " + std::to_string(code));
    }
    std::vector<std::string> log;
};

/// Runs the real loop on SDL's dummy driver and feeds it SDL events at chosen updates.
class SmokeApp : public ZorvaAppBase
{
public:
    SmokeApp()
    {
        width = 800;
        height = 600;
        singleInstance = false;
        loadingThreadEnabled = false;
    }
    bool OverrideWorkingDir(const std::string&) override { return true; }
    void AdvanceOneUpdate() override
    {
        ZorvaAppBase::AdvanceOneUpdate();
        Script(GetUpdateCount());
    }

    uint32_t WindowId() const
    {
        return static_cast<SdlWindowSystem*>(GetWindowSystem())->WindowId();
    }
    void Push(SDL_Event event) { SDL_PushEvent(&event); }
    void PushButton(uint32_t type, int x, int y)
    {
        SDL_Event event{};
        event.button.type = type;
        event.button.windowID = WindowId();
        event.button.button = SDL_BUTTON_LEFT;
        event.button.clicks = 1;
        event.button.x = x;
        event.button.y = y;
        Push(event);
    }
    void PushKey(uint32_t type, SDL_Keycode sym)
    {
        SDL_Event event{};
        event.key.type = type;
        event.key.windowID = WindowId();
        event.key.keysym.sym = sym;
        Push(event);
    }

    void Script(int update)
    {
        switch (update) {
        case 10:
            PushButton(SDL_MOUSEBUTTONDOWN, 110, 120);
            PushButton(SDL_MOUSEBUTTONUP, 110, 120);
            break;
        case 20: {
            PushKey(SDL_KEYDOWN, SDLK_q);
            SDL_Event text{};
            text.text.type = SDL_TEXTINPUT;
            text.text.windowID = WindowId();
            std::strcpy(text.text.text, "q");
            Push(text);
            PushKey(SDL_KEYUP, SDLK_q);
            break;
        }
        case 30: {
            SDL_Event wheel{};
            wheel.wheel.type = SDL_MOUSEWHEEL;
            wheel.wheel.windowID = WindowId();
            wheel.wheel.y = 1;
            wheel.wheel.mouseX = 110;
            wheel.wheel.mouseY = 120;
            Push(wheel);
            break;
        }
        case 40:
            // Twice the size: the same screen spot is now twice as far in.
            SDL_SetWindowSize(static_cast<SdlWindowSystem*>(GetWindowSystem())->Window(), 1600,
                              1200);
            break;
        case 50:
            PushButton(SDL_MOUSEBUTTONDOWN, 220, 240);
            PushButton(SDL_MOUSEBUTTONUP, 220, 240);
            break;
        case 200: {
            SDL_Event close{};
            close.window.type = SDL_WINDOWEVENT;
            close.window.windowID = WindowId();
            close.window.event = SDL_WINDOWEVENT_CLOSE;
            Push(close);
            break;
        }
        default:
            break;
        }
    }
};

} // namespace

TEST(SdlSmokeTest, RealLoopOnTheDummyDriverTakesInjectedInputAndClosesCleanly)
{
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    SmokeApp app;
    InstallSdlPlatform(app);
    auto* display = dynamic_cast<DDInterface*>(app.GetDisplayOutput());
    ASSERT_NE(display, nullptr);
    Target target;
    target.Place(100, 100, 50, 50);
    app.GetWidgetManager()->AddWidget(&target);
    app.Init();
    ASSERT_TRUE(app.IsInitialized());
    EXPECT_EQ(static_cast<MemoryImage*>(display->GetScreenImage()), app.GetScreenImage());
    app.Start();

    EXPECT_TRUE(app.IsShuttingDown());
    EXPECT_EQ(app.GetExitCode(), -1);
    EXPECT_GE(app.GetUpdateCount(), 200);
    EXPECT_LT(app.GetUpdateCount(), 260);
    EXPECT_EQ(target.log,
              (std::vector<std::string>{"down 10,20 1", "up 10,20 1", "key 81", "char 113",
                                        "wheel 1", "down 10,20 1", "up 10,20 1"}));
    // The picture reached the window, and the idle stretches presented nothing new.
    EXPECT_GE(display->FramesPresented(), 1);
    EXPECT_LT(display->FramesPresented(), 20);
    EXPECT_EQ(display->LastDestination(), Rect(0, 0, 1600, 1200));
    EXPECT_EQ(app.GetScreenImage()->GetPixels()[120 * 800 + 110], 0xFF0080FFu);
    EXPECT_GT(app.GetLoopStatistics().sleepCount, 100);
    app.GetWidgetManager()->RemoveWidget(&target);
}

TEST(SdlMessageBoxTest, WithoutADisplayTheTextGoesToStandardErrorWithASafeAnswer)
{
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    SdlMessageBox box;
    testing::internal::CaptureStderr();
    EXPECT_EQ(box.Show("Keep it?", "Question", kMessageBoxYesNo), kMessageBoxNo);
    EXPECT_EQ(box.Show("Broken.", "FATAL ERROR", kMessageBoxIconError), kMessageBoxAnswerOk);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("Question: Keep it?"), std::string::npos);
    EXPECT_NE(said.find("FATAL ERROR: Broken."), std::string::npos);
}

TEST(SdlMessageBoxTest, BoxOnlyWithADisplayServerAndAWindowingDriver)
{
    EXPECT_TRUE(MessageBoxHasDisplay(nullptr, nullptr, ":0", nullptr));
    EXPECT_TRUE(MessageBoxHasDisplay(nullptr, nullptr, nullptr, "wayland-0"));
    EXPECT_TRUE(MessageBoxHasDisplay(nullptr, "x11", ":85", nullptr));
    EXPECT_TRUE(MessageBoxHasDisplay("x11", nullptr, nullptr, nullptr));
    // No display named, or a headless driver asked for or running: standard error.
    EXPECT_FALSE(MessageBoxHasDisplay(nullptr, nullptr, nullptr, nullptr));
    EXPECT_FALSE(MessageBoxHasDisplay(nullptr, nullptr, "", ""));
    EXPECT_FALSE(MessageBoxHasDisplay(nullptr, "dummy", ":0", nullptr));
    EXPECT_FALSE(MessageBoxHasDisplay(nullptr, "offscreen", ":0", nullptr));
    EXPECT_FALSE(MessageBoxHasDisplay("dummy", nullptr, ":0", nullptr));
}
