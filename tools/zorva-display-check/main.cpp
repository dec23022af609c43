// Opens the main window on the real display with a test pattern and echoes every input to
// the debug output: a quick look at the window, scaling, cursors and input on screen.
//
//   zorva-display-check [--fullscreen] [--seconds=N] [--quiet]
//
// Escape or closing the window ends it; Alt+Enter switches between window and full screen.

#include "app/ScreenSize.h"
#include "app/ZorvaAppBase.h"
#include "app/platform/SdlPlatform.h"
#include "graphics/Graphics.h"
#include "graphics/SysFont.h"
#include "widgets/InputCodes.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

using namespace Zorva;

namespace {

constexpr int kUpdatesPerSecond = 100;

/// The whole screen: colour bars, a grey ramp, a grid, a cross where the pointer is and the
/// last input as text. It repaints only when input changed something.
class TestPattern : public Widget
{
public:
    explicit TestPattern(ZorvaAppBase& owner) : app(owner), font("SansSerif", 14) {}

    bool AcceptsFocus() override { return true; }

    void Paint(Graphics& graphics) override
    {
        PaintBars(graphics);
        PaintGrid(graphics);
        graphics.SetColor(Color(255, 255, 0));
        graphics.DrawLine(pointerX - 12, pointerY, pointerX + 12, pointerY);
        graphics.DrawLine(pointerX, pointerY - 12, pointerX, pointerY + 12);
        graphics.SetFont(&font);
        graphics.SetColor(Color(255, 255, 255));
        graphics.DrawText("Zorva display check - Escape ends, Alt+Enter switches mode", 20, 330);
        graphics.DrawText("H: hand cursor, W: wait cursor, other keys: arrow", 20, 356);
        graphics.DrawText("Last input: " + lastInput, 20, 390);
        if (pressed) {
            graphics.SetColor(Color(255, 64, 64));
            graphics.FillRect(pointerX - 6, pointerY - 6, 13, 13);
        }
    }

    void OnPointerMove(int px, int py) override { Track("move", px, py); }
    void OnPointerDrag(int px, int py) override { Track("drag", px, py); }
    void OnButtonDown(int px, int py, int button, int clicks) override
    {
        pressed = true;
        Echo("down button " + std::to_string(button) + " clicks " + std::to_string(clicks) +
             " at " + std::to_string(px) + "," + std::to_string(py));
    }
    void OnButtonUp(int px, int py, int button, int) override
    {
        pressed = false;
        Echo("up button " + std::to_string(button) + " at " + std::to_string(px) + "," +
             std::to_string(py));
    }
    void OnWheel(int delta) override { Echo("wheel " + std::to_string(delta)); }
    void OnKeyDown(int key) override
    {
        Echo("key down " + std::to_string(key));
        if (key == kVirtualKeyEscape) {
            app.Shutdown();
        } else if (key == kVirtualKeyH) {
            app.SetCursor(CursorKind::Hand);
        } else if (key == kVirtualKeyW) {
            app.SetCursor(CursorKind::Wait);
        } else {
            app.SetCursor(CursorKind::Arrow);
        }
    }
    void OnKeyUp(int key) override { Echo("key up " + std::to_string(key)); }
    void OnChar(char character) override
    {
        Echo("char " + std::to_string(static_cast<unsigned char>(character)));
    }

    bool quiet = false;

private:
    void PaintBars(Graphics& graphics)
    {
        static const Color kBars[] = {Color(255, 255, 255), Color(255, 255, 0), Color(0, 255, 255),
                                      Color(0, 255, 0),     Color(255, 0, 255), Color(255, 0, 0),
                                      Color(0, 0, 255),     Color(0, 0, 0)};
        const int barWidth = width / 8;
        for (int i = 0; i < 8; ++i) {
            graphics.SetColor(kBars[i]);
            graphics.FillRect(i * barWidth, 0, barWidth, 200);
        }
        for (int column = 0; column < width; ++column) {
            const int level = column * 255 / (width - 1);
            graphics.SetColor(Color(level, level, level));
            graphics.FillRect(column, 200, 1, 60);
        }
        graphics.SetColor(Color(16, 16, 48));
        graphics.FillRect(0, 260, width, height - 260);
    }

    void PaintGrid(Graphics& graphics)
    {
        graphics.SetColor(Color(80, 80, 140));
        for (int column = 0; column < width; column += 50) {
            graphics.DrawLine(column, 420, column, height - 1);
        }
        for (int row = 420; row < height; row += 50) {
            graphics.DrawLine(0, row, width - 1, row);
        }
        // The outermost pixels show whether the scaling cuts anything off.
        graphics.SetColor(Color(255, 128, 0));
        graphics.DrawRect(0, 0, width - 1, height - 1);
    }

    void Track(const char* what, int px, int py)
    {
        pointerX = px;
        pointerY = py;
        Echo(std::string(what) + " " + std::to_string(px) + "," + std::to_string(py));
    }

    void Echo(const std::string& text)
    {
        lastInput = text;
        if (!quiet) {
            app.OutputDebug(text + "\n");
        }
        Invalidate();
    }

    ZorvaAppBase& app;
    SysFont font;
    int pointerX = 400;
    int pointerY = 300;
    bool pressed = false;
    std::string lastInput = "(none)";
};

class DisplayCheckApp : public ZorvaAppBase
{
public:
    DisplayCheckApp()
    {
        width = kDefaultScreenWidth;
        height = kDefaultScreenHeight;
        singleInstance = false;
        loadingThreadEnabled = false;
        windowCaption = "Zorva display check";
        debugOutputEnabled = true;
    }
    bool OverrideWorkingDir(const std::string&) override { return true; }
    void AdvanceOneUpdate() override
    {
        ZorvaAppBase::AdvanceOneUpdate();
        if (updateLimit > 0 && GetUpdateCount() >= updateLimit) {
            Shutdown();
        }
    }

    int updateLimit = 0;
};

} // namespace

int main(int argc, char** argv)
{
    DisplayCheckApp app;
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (std::strcmp(argument, "--fullscreen") == 0) {
            app.windowedRequested = false;
        } else if (std::strncmp(argument, "--seconds=", 10) == 0) {
            app.updateLimit = std::atoi(argument + 10) * kUpdatesPerSecond;
        } else if (std::strcmp(argument, "--quiet") == 0) {
            quiet = true;
        } else {
            std::fprintf(stderr, "usage: %s [--fullscreen] [--seconds=N] [--quiet]\n", argv[0]);
            return 2;
        }
    }
    InstallSdlPlatform(app);
    auto pattern = std::make_unique<TestPattern>(app);
    pattern->quiet = quiet;
    pattern->Place(0, 0, kDefaultScreenWidth, kDefaultScreenHeight);
    WidgetManager* manager = app.GetWidgetManager();
    manager->AddWidget(pattern.get());
    manager->SetFocus(pattern.get());
    app.Init();
    app.Start();
    manager->RemoveWidget(pattern.get());
    return app.GetExitCode() < 0 ? 0 : app.GetExitCode();
}
