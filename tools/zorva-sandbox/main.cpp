// A gallery of the toolkit in a real window: buttons, a check box, a slider, an edit field, a
// list, a modal dialog, an image drawn rotated and stretched, text in a system font and in an
// image font, a click sound and a looping tune. It is how we look at the toolkit on screen.
//
//   zorva-sandbox [--fullscreen] [--seconds=N] [--scripted]
//
// --scripted feeds a fixed sequence of clicks and keys through the window procedure (opening
// and answering the dialog, the check box, typing into the field, a list line, Escape) and
// prints what the widgets reported: the smoke test of the whole shell.
//
// Escape or closing the window ends it; Alt+Enter switches between window and full screen.

#include "app/ScreenSize.h"
#include "app/ZorvaAppBase.h"
#include "app/platform/SdlPlatform.h"
#include "audio/WavWriter.h"
#include "graphics/FontData.h"
#include "graphics/Graphics.h"
#include "graphics/ImageFont.h"
#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"
#include "graphics/SysFont.h"
#include "system/AppFiles.h"
#include "widgets/ButtonWidget.h"
#include "widgets/Checkbox.h"
#include "widgets/CheckboxListener.h"
#include "widgets/Dialog.h"
#include "widgets/DialogButton.h"
#include "widgets/EditListener.h"
#include "widgets/EditWidget.h"
#include "widgets/InputCodes.h"
#include "widgets/ListListener.h"
#include "widgets/ListWidget.h"
#include "widgets/Slider.h"
#include "widgets/SliderListener.h"
#include "widgets/WidgetManager.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace Zorva;

namespace {

constexpr int kUpdatesPerSecond = 100;
constexpr int kClickSound = 0;
constexpr int kTuneSong = 0;
constexpr int kDialogId = 10;
constexpr double kPi = 3.14159265358979;
constexpr const char* kImageFontLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789";

/// A mono 16-bit sound of `seconds` whose sample at time t is `wave(t)` in -1..1.
template <typename Wave>
std::string MakeWav(double seconds, Wave wave)
{
    SoundBuffer sound;
    sound.sampleRate = 22050;
    const int frames = static_cast<int>(seconds * sound.sampleRate);
    for (int i = 0; i < frames; ++i) {
        const auto value = static_cast<int16_t>(
            std::lround(std::clamp(wave(i / double(sound.sampleRate)), -1.0, 1.0) * 20000));
        sound.data.push_back(static_cast<uint8_t>(value & 0xFF));
        sound.data.push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
    }
    return EncodeCachedWav(sound, {"zorva-sandbox", 0});
}

bool WriteText(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    return static_cast<bool>(file);
}

/// A click, and a four-bar arpeggio that loops without a seam.
void WriteSounds(const std::filesystem::path& folder)
{
    WriteText(folder / "click.wav", MakeWav(0.06, [](double t) {
                  return std::sin(2 * kPi * 1800 * t) * std::exp(-t * 70);
              }));
    const double notes[] = {261.6, 329.6, 392.0, 523.3, 392.0, 329.6, 293.7, 349.2,
                            440.0, 587.3, 440.0, 349.2, 246.9, 293.7, 392.0, 493.9};
    WriteText(folder / "tune.wav", MakeWav(4.0, [&](double t) {
                  const int step = static_cast<int>(t / 0.25) % 16;
                  const double inStep = std::fmod(t, 0.25);
                  return 0.4 * std::sin(2 * kPi * notes[step] * t) * std::exp(-inStep * 9);
              }));
}

/// An image font cut from letters drawn with the system font: glyph strip and descriptor.
std::unique_ptr<ImageFont> MakeImageFont(const std::filesystem::path& folder)
{
    SysFont face("SansSerif", 18, SysFontStyle::Bold);
    const std::string letters = kImageFontLetters;
    const int cell = 24;
    MemoryImage strip;
    strip.Create(cell * static_cast<int>(letters.size()), cell);
    Graphics graphics(&strip);
    graphics.SetFont(&face);
    std::string rects;
    std::string chars;
    std::string widths;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const int x = static_cast<int>(i) * cell;
        graphics.SetColor(Color(255, 200, 60));
        graphics.DrawText(std::string(1, letters[i]), x + 2, 19);
        const std::string quoted =
            letters[i] == ' ' ? "' '" : "'" + std::string(1, letters[i]) + "'";
        chars += (i ? ", " : "") + quoted;
        rects += (i ? ", " : "") + std::string("(") + std::to_string(x) + ", 0, " +
                 std::to_string(cell) + ", " + std::to_string(cell) + ")";
        widths += (i ? ", " : "") + std::to_string(face.CharWidth(letters[i]) + 2);
    }
    auto pixels = ImageLib::Image::Create(strip.GetWidth(), strip.GetHeight());
    std::copy(strip.GetPixels(), strip.GetPixels() + strip.GetWidth() * strip.GetHeight(),
              pixels->bits.get());
    ImageLib::SavePNG((folder / "glyphs.png").string(), *pixels);
    const std::string descriptor =
        "CreateLayer L; LayerSetImage L 'glyphs.png'; LayerSetAscent L 19;"
        "LayerSetImageMap L (" +
        chars + ") (" + rects +
        ");"
        "LayerSetCharWidths L (" +
        chars + ") (" + widths + ");";
    const std::filesystem::path file = folder / "sandbox-font.txt";
    WriteText(file, descriptor);
    return std::make_unique<ImageFont>(file.string());
}

/// A colour wheel with a white border, to see rotation and stretching at work.
std::unique_ptr<MemoryImage> MakeTestImage()
{
    auto image = std::make_unique<MemoryImage>();
    image->Create(64, 64);
    uint32_t* pixels = image->GetPixels();
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const bool border = x < 3 || y < 3 || x > 60 || y > 60;
            const auto r = static_cast<uint32_t>(x * 4);
            const auto g = static_cast<uint32_t>(y * 4);
            const uint32_t b = ((x / 8 + y / 8) % 2) ? 220 : 90;
            pixels[y * 64 + x] = border ? 0xFFFFFFFFu : (0xFF000000u | r << 16 | g << 8 | b);
        }
    }
    image->PixelsChanged();
    return image;
}

/// The backdrop: a title, the image drawn as it is, rotated (turning over time) and
/// stretched, and a line in each font.
class Backdrop : public Widget
{
public:
    Backdrop(MemoryImage* picture, Font* imageFont)
        : image(picture), fancy(imageFont), title("SansSerif", 20, SysFontStyle::Bold),
          body("SansSerif", 11)
    {}

    void Tick() override
    {
        Widget::Tick();
        // Turning only while asked to, so an idle gallery draws nothing.
        if (spinning) {
            angle += 0.01;
            Invalidate();
        }
    }

    void Paint(Graphics& graphics) override
    {
        graphics.SetColor(Color(24, 40, 72));
        graphics.FillRect(0, 0, width, height);
        graphics.SetFont(&title);
        graphics.SetColor(Color(255, 255, 255));
        graphics.DrawText("Zorva widget gallery", 20, 40);
        graphics.SetFont(&body);
        graphics.DrawText("Escape ends, Alt+Enter switches full screen. Buttons click; "
                          "the tune loops.",
                          20, 64);
        graphics.DrawImage(image, 480, 110);
        graphics.DrawImageRotated(image, 580, 110, angle);
        graphics.DrawImage(image, Rect(480, 200, 220, 90), Rect(0, 0, 64, 64));
        graphics.SetFont(fancy);
        graphics.DrawText("IMAGE FONT 0123", 480, 330);
        graphics.SetFont(&body);
        graphics.SetColor(Color(200, 220, 255));
        graphics.DrawText("System font: the quick brown fox", 480, 360);
        graphics.DrawText("The check box turns the image.", 60, 176);
    }

    MemoryImage* image;
    Font* fancy;
    SysFont title;
    SysFont body;
    double angle = 0.4;
    bool spinning = false;
};

class SandboxApp : public ZorvaAppBase,
                   public CheckboxListener,
                   public SliderListener,
                   public EditListener,
                   public ListListener
{
public:
    SandboxApp()
    {
        width = kDefaultScreenWidth;
        height = kDefaultScreenHeight;
        singleInstance = false;
        loadingThreadEnabled = false;
        windowCaption = "Zorva widget gallery";
    }
    bool OverrideWorkingDir(const std::string&) override { return true; }
    void AdvanceOneUpdate() override
    {
        ZorvaAppBase::AdvanceOneUpdate();
        if (scripted) {
            PlayScript();
        }
        // Escape ends the gallery wherever the focus is.
        if (GetWidgetManager()->keysDown[kVirtualKeyEscape] ||
            (updateLimit > 0 && GetUpdateCount() >= updateLimit)) {
            Shutdown();
        }
    }
    /// Every 10 updates the next input of the script reaches the window procedure.
    void PlayScript()
    {
        struct Step
        {
            WindowMessageKind kind;
            int x;
            int y;
        };
        static const std::vector<Step> steps = {
            {WindowMessageKind::MouseMove, 100, 116},
            {WindowMessageKind::LeftDown, 100, 116},
            {WindowMessageKind::LeftUp, 100, 116},
            {WindowMessageKind::MouseMove, 500, 300},
            {WindowMessageKind::LeftDown, 0, 0},
            {WindowMessageKind::LeftUp, 0, 0},
            {WindowMessageKind::MouseMove, 30, 170},
            {WindowMessageKind::LeftDown, 30, 170},
            {WindowMessageKind::LeftUp, 30, 170},
            {WindowMessageKind::LeftDown, 100, 273},
            {WindowMessageKind::LeftUp, 100, 273},
            {WindowMessageKind::Char, 'O', 0},
            {WindowMessageKind::Char, 'w', 0},
            {WindowMessageKind::Char, 'l', 0},
            {WindowMessageKind::KeyDown, kVirtualKeyEnter, 0},
            {WindowMessageKind::KeyUp, kVirtualKeyEnter, 0},
            {WindowMessageKind::MouseMove, 60, 340},
            {WindowMessageKind::LeftDown, 60, 340},
            {WindowMessageKind::LeftUp, 60, 340},
            {WindowMessageKind::KeyDown, kVirtualKeyEscape, 0},
        };
        if (GetUpdateCount() % 10 != 0 || scriptStep >= steps.size()) {
            return;
        }
        Step step = steps[scriptStep++];
        if (step.kind == WindowMessageKind::LeftDown && step.x == 0) {
            // The dialog's No button, wherever the dialog was placed.
            if (Dialog* dialog = FindDialog(kDialogId)) {
                const Widget* no = dialog->GetNoButton();
                step.x = no->x + no->width / 2;
                step.y = no->y + no->height / 2;
                HandleWindowMessage(
                    WindowMessage::Pointer(WindowMessageKind::MouseMove, step.x, step.y));
            }
        } else if (step.kind == WindowMessageKind::LeftUp && step.x == 0) {
            step = {step.kind, lastX, lastY};
        }
        lastX = step.x;
        lastY = step.y;
        if (step.kind == WindowMessageKind::Char) {
            WindowMessage message = WindowMessage::Key(WindowMessageKind::Char, step.x);
            HandleWindowMessage(message);
        } else if (step.kind == WindowMessageKind::KeyDown ||
                   step.kind == WindowMessageKind::KeyUp) {
            HandleWindowMessage(WindowMessage::Key(step.kind, step.x));
        } else {
            HandleWindowMessage(WindowMessage::Pointer(step.kind, step.x, step.y));
        }
    }
    void Report(const std::string& text)
    {
        status = text;
        OutputDebug(text + "\n");
        if (scripted) {
            std::printf("%s\n", text.c_str());
            std::fflush(stdout);
        }
    }
    void OnButtonPressed(int) override { PlaySoundOnce(kClickSound); }
    void OnButtonActivated(int id) override
    {
        if (id == 1) {
            ShowNewDialog(kDialogId, true, "A modal dialog",
                          "Everything below waits until it is answered. Drag it by its frame.", "",
                          Dialog::kButtonsYesNo);
        } else if (id == 2) {
            Report("The second button was clicked");
        } else if (id == kDialogId + 2000 || id == kDialogId + 3000) {
            Report(id == kDialogId + 2000 ? "Dialog answered Yes" : "Dialog answered No");
            CloseDialog(kDialogId);
        }
    }
    void OnCheckboxChanged(int, bool checked) override
    {
        PlaySoundOnce(kClickSound);
        Report(checked ? "Check box on" : "Check box off");
        if (backdrop != nullptr) {
            backdrop->spinning = checked;
        }
    }
    void OnSliderChanged(int, double value) override { SetMusicVolume(value); }
    void OnEditEnter(int, const std::string& text) override { Report("Entered: " + text); }
    void OnListClicked(int, int index, int) override
    {
        PlaySoundOnce(kClickSound);
        Report("List line " + std::to_string(index));
    }
    int updateLimit = 0;
    bool scripted = false;
    std::size_t scriptStep = 0;
    int lastX = 0;
    int lastY = 0;
    std::string status;
    Backdrop* backdrop = nullptr;
};

} // namespace

int main(int argc, char** argv)
{
    SandboxApp app;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fullscreen") == 0) {
            app.windowedRequested = false;
        } else if (std::strcmp(argv[i], "--scripted") == 0) {
            app.scripted = true;
        } else if (std::strncmp(argv[i], "--seconds=", 10) == 0) {
            app.updateLimit = std::atoi(argv[i] + 10) * kUpdatesPerSecond;
        } else {
            std::fprintf(stderr, "usage: %s [--fullscreen] [--seconds=N] [--scripted]\n", argv[0]);
            return 2;
        }
    }
    const std::filesystem::path folder = std::filesystem::path(UserFolder()) / "sandbox";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    WriteSounds(folder);
    auto imageFont = MakeImageFont(folder);
    auto picture = MakeTestImage();

    InstallSdlPlatform(app);
    app.Init();
    if (app.IsShuttingDown()) {
        return app.GetExitCode() < 0 ? 0 : app.GetExitCode();
    }
    app.GetSoundManager()->LoadSound(kClickSound, (folder / "click").string());
    app.GetMusicInterface()->LoadMusic(kTuneSong, (folder / "tune.wav").string());
    app.GetMusicInterface()->PlayMusic(kTuneSong, 0, false);

    WidgetManager& manager = *app.GetWidgetManager();
    Backdrop backdrop(picture.get(), imageFont.get());
    backdrop.Place(0, 0, kDefaultScreenWidth, kDefaultScreenHeight);
    app.backdrop = &backdrop;
    ButtonWidget dialogButton(1, &app);
    dialogButton.label = "Open a dialog";
    DialogButton boxButton(nullptr, 2, &app);
    boxButton.label = "Dialog button";
    Checkbox checkbox(nullptr, nullptr, 3, &app);
    Slider slider(nullptr, nullptr, 4, &app);
    slider.SetValue(app.GetMusicVolume());
    EditWidget edit(5, &app);
    edit.SetText("Type here", true);
    ListWidget list(6, &app);
    for (const char* line : {"Amphora", "Anchor", "Dolphin", "Lyre", "Owl", "Trident"}) {
        list.AddLine(line, false);
    }
    dialogButton.Place(20, 100, 160, 32);
    boxButton.Place(200, 100, 160, 32);
    checkbox.Place(20, 160, 20, 20);
    slider.Place(20, 210, 340, 20);
    edit.Place(20, 260, 340, 26);
    list.Place(20, 310, 340, 150);
    for (Widget* widget : std::initializer_list<Widget*>{&backdrop, &dialogButton, &boxButton,
                                                         &checkbox, &slider, &edit, &list}) {
        manager.AddWidget(widget);
    }
    manager.SetFocus(&edit);
    app.Start();
    for (Widget* widget : std::initializer_list<Widget*>{&backdrop, &dialogButton, &boxButton,
                                                         &checkbox, &slider, &edit, &list}) {
        manager.RemoveWidget(widget);
    }
    if (app.scripted) {
        std::printf("Ran %d updates\n", app.GetUpdateCount());
    }
    return app.GetExitCode() < 0 ? 0 : app.GetExitCode();
}
