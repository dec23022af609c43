// The options dialog in a headless application: what it starts from, where its controls
// stand, and what each control changes at once or on "CLOSE".

#include "../../widgets/WidgetTestSupport.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/screens/DemoDialog.h"
#include "game/screens/OptionsHost.h"
#include "graphics/Graphics.h"
#include "widgets/Checkbox.h"
#include "widgets/DialogButton.h"
#include "widgets/Slider.h"

#include "ScreenTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace WidgetTest;

namespace {

/// Records the screen mode switches instead of making a window.
class ScreenModeApp : public SoundRecordingApp
{
public:
    using ZorvaAppBase::ChangeScreenMode;
    void ChangeScreenMode(bool wantWindowed, bool accelerated, bool) override
    {
        switches.push_back({wantWindowed, accelerated});
    }
    void SetWindowed(bool windowed) { EditWindowState().windowed = windowed; }

    std::vector<std::pair<bool, bool>> switches;
};

class FakeOptionsHost : public OptionsHost
{
public:
    Player* CurrentPlayer() override { return &player; }
    void RebuildBackgroundCache() override { ++rebuilds; }
    bool WindowedModeAvailable() override { return windowedAvailable; }
    Acceleration AccelerationVerdict() override
    {
        ++verdictsAsked;
        return verdict;
    }
    void OptionsClosed() override { ++closes; }

    Player player;
    bool windowedAvailable = true;
    Acceleration verdict = Acceleration::Recommended;
    int rebuilds = 0;
    int verdictsAsked = 0;
    int closes = 0;
};

} // namespace

class OptionsDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetResourceHandles();
        SOUND_CLICK = 12;
        FONT_DEFAULT = &font;
        IMAGE_DIALOG_BOX = dialogBox.get();
        IMAGE_BUTTON_NORMAL = button.get();
        IMAGE_SLIDER_TRACK = track.get();
        IMAGE_SLIDER_THUMB = thumb.get();
        IMAGE_CHECKBOX = checkbox.get();
    }
    void TearDown() override { ResetResourceHandles(); }

    DemoDialog& Show()
    {
        return *static_cast<DemoDialog*>(app.AttachDialog(std::make_unique<DemoDialog>(app, host)));
    }

    Rect ScreenBounds(const Widget& widget)
    {
        int absX = 0;
        int absY = 0;
        app.GetWidgetManager()->GetAbsolutePosition(&widget, &absX, &absY);
        return Rect(absX, absY, widget.width, widget.height);
    }

    void ClickOn(const Widget& widget)
    {
        const Rect bounds = ScreenBounds(widget);
        Click(*app.GetWidgetManager(), bounds.x + 2, bounds.y + 2);
    }

    /// The header of the message dialog shown, or "" when none is.
    std::string Message()
    {
        const Dialog* message = app.FindDialog(DemoDialog::kMessageDialogId);
        return message != nullptr ? message->header : "";
    }

    BlockFont font{6, 8, 2};
    std::unique_ptr<MemoryImage> dialogBox = BlankImage(540, 415);
    std::unique_ptr<MemoryImage> button = BlankImage(104, 30);
    std::unique_ptr<MemoryImage> track = BlankImage(156, 14);
    std::unique_ptr<MemoryImage> thumb = BlankImage(22, 26);
    std::unique_ptr<MemoryImage> checkbox = BlankImage(52, 26);
    ScreenModeApp app;
    FakeOptionsHost host;
};

TEST_F(OptionsDialogTest, Opening_StatesFromAppAndPlayer_ControlsInsideFrameApart)
{
    app.SetMusicVolume(0.25);
    app.SetSfxVolume(0.75);
    app.is3D = true;
    app.SetWindowed(false);
    host.player.showPreview = false;
    DemoDialog& dialog = Show();

    EXPECT_EQ(dialog.GetBounds(), Rect(130, 90, 540, 415));
    EXPECT_TRUE(dialog.isModal);
    EXPECT_EQ(dialog.header, "Options");
    EXPECT_DOUBLE_EQ(dialog.musicSlider->GetValue(), 0.25);
    EXPECT_DOUBLE_EQ(dialog.soundSlider->GetValue(), 0.75);
    EXPECT_TRUE(dialog.accelerationBox->IsChecked());
    EXPECT_TRUE(dialog.fullScreenBox->IsChecked());
    EXPECT_FALSE(dialog.previewBox->IsChecked());

    // The tracks in one row, the boxes under their slider's left edge, each box one face.
    const Rect music = ScreenBounds(*dialog.musicSlider);
    const Rect sound = ScreenBounds(*dialog.soundSlider);
    const Rect accel = ScreenBounds(*dialog.accelerationBox);
    const Rect full = ScreenBounds(*dialog.fullScreenBox);
    const Rect preview = ScreenBounds(*dialog.previewBox);
    EXPECT_EQ(music.y, 90 + 130);
    EXPECT_EQ(sound.y, music.y);
    EXPECT_EQ(music.width, 156);
    EXPECT_EQ(music.height, 26);
    EXPECT_EQ(130 + 540 - sound.x - sound.width, music.x - 130) << "not mirrored";
    EXPECT_EQ(accel, Rect(music.x, music.y + 26 + 30, 26, 26));
    EXPECT_EQ(preview, Rect(music.x, music.y + 26 + 90, 26, 26));
    EXPECT_EQ(full, Rect(sound.x, accel.y, 26, 26));
    EXPECT_EQ(dialog.accelerationBox->checkedRect, Rect(26, 0, 26, 26));

    // The window's art is framed 10 pixels wide inside the 80/50 insets.
    const Rect inside(130 + 90, 90 + 60, 360, 295);
    const std::vector<Rect> controls = {music, sound,   accel,
                                        full,  preview, ScreenBounds(*dialog.GetYesButton())};
    for (std::size_t i = 0; i < controls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(controls[i].Intersection(inside), controls[i]);
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            EXPECT_TRUE(controls[i].Intersection(controls[j]).IsEmpty()) << j;
        }
    }
    app.CloseDialog(&dialog);
}

TEST_F(OptionsDialogTest, Paint_WhiteLabelsAboveSlidersAndBoxes)
{
    DemoDialog& dialog = Show();
    MemoryImage canvas;
    canvas.Create(540, 415);
    Graphics graphics(&canvas);
    dialog.Paint(graphics);

    const auto isWhite = [&](int px, int py) {
        return (canvas.PixelAt(px, py) & 0xFFFFFF) == 0xFFFFFF;
    };
    // Block glyphs fill the 8 rows above the baseline.
    const Slider& sound = *dialog.soundSlider;
    EXPECT_TRUE(isWhite(dialog.musicSlider->x + 1, dialog.musicSlider->y - 11));
    EXPECT_TRUE(isWhite(sound.x + 1, sound.y - 11));
    for (const Checkbox* box :
         {dialog.accelerationBox.get(), dialog.fullScreenBox.get(), dialog.previewBox.get()}) {
        EXPECT_TRUE(isWhite(box->x + 1, box->y - box->height + 20 - 1));
        EXPECT_FALSE(isWhite(box->x + 1, box->y + 1));
    }
    app.CloseDialog(&dialog);
}

TEST_F(OptionsDialogTest, Sliders_VolumesAtOnce_ClickOnlyWhenTheThumbIsLetGo)
{
    app.SetMusicVolume(0);
    app.SetSfxVolume(0);
    DemoDialog& dialog = Show();
    WidgetManager& manager = *app.GetWidgetManager();

    // Dragging the sound thumb half way: the volume follows, silently, until it is let go.
    const Rect sound = ScreenBounds(*dialog.soundSlider);
    Press(manager, sound.x + 5, sound.y + 5);
    manager.PointerMove(sound.x + 5 + 67, sound.y + 5);
    EXPECT_DOUBLE_EQ(app.GetSfxVolume(), 0.5);
    EXPECT_TRUE(app.sounds.empty());
    Release(manager, sound.x + 5 + 67, sound.y + 5);
    EXPECT_EQ(app.sounds, std::vector<int>{SOUND_CLICK});

    // The music volume follows its thumb and never clicks.
    app.sounds.clear();
    const Rect music = ScreenBounds(*dialog.musicSlider);
    Press(manager, music.x + 5, music.y + 5);
    manager.PointerMove(music.x + 5 + 134, music.y + 5);
    EXPECT_DOUBLE_EQ(app.GetMusicVolume(), 1.0);
    Release(manager, music.x + 5 + 134, music.y + 5);
    EXPECT_DOUBLE_EQ(app.GetSfxVolume(), 0.5);
    EXPECT_TRUE(app.sounds.empty());
    app.CloseDialog(&dialog);
}

TEST_F(OptionsDialogTest, Acceleration_RefusedWarnedOrTakenAsTheDisplayAllows)
{
    DemoDialog& dialog = Show();
    Checkbox& box = *dialog.accelerationBox;

    host.verdict = OptionsHost::Acceleration::Unavailable;
    ClickOn(box);
    EXPECT_FALSE(box.IsChecked());
    EXPECT_EQ(Message(), "Not Supported");
    EXPECT_EQ(app.FindDialog(DemoDialog::kMessageDialogId)->lines,
              "Hardware acceleration can not be enabled on this computer. \nYour\t\t\t\t\t\t\t"
              "video card does not meet the minimum requirements for this game.");
    app.CloseDialog(DemoDialog::kMessageDialogId);

    host.verdict = OptionsHost::Acceleration::NotRecommended;
    ClickOn(box);
    EXPECT_TRUE(box.IsChecked());
    EXPECT_EQ(Message(), "Warning");
    app.CloseDialog(DemoDialog::kMessageDialogId);

    // Turning it off asks nothing; a recommended display takes it silently.
    ClickOn(box);
    EXPECT_FALSE(box.IsChecked());
    EXPECT_EQ(host.verdictsAsked, 2);
    host.verdict = OptionsHost::Acceleration::Recommended;
    ClickOn(box);
    EXPECT_TRUE(box.IsChecked());
    EXPECT_EQ(Message(), "");
    EXPECT_EQ(host.verdictsAsked, 3);
    app.CloseDialog(&dialog);
}

TEST_F(OptionsDialogTest, FullScreen_StaysOnWithoutWindowedMode)
{
    app.SetWindowed(false);
    host.windowedAvailable = false;
    DemoDialog& dialog = Show();

    ClickOn(*dialog.fullScreenBox);
    EXPECT_TRUE(dialog.fullScreenBox->IsChecked());
    EXPECT_EQ(Message(), "No Windowed Mode");
    app.CloseDialog(DemoDialog::kMessageDialogId);

    host.windowedAvailable = true;
    ClickOn(*dialog.fullScreenBox);
    EXPECT_FALSE(dialog.fullScreenBox->IsChecked());
    EXPECT_EQ(Message(), "");
    app.CloseDialog(&dialog);
}

TEST_F(OptionsDialogTest, Preview_TogglesThePlayersChoiceAndRebuildsTheBackground)
{
    host.player.showPreview = true;
    DemoDialog& dialog = Show();
    ClickOn(*dialog.previewBox);
    EXPECT_FALSE(host.player.showPreview);
    EXPECT_EQ(host.rebuilds, 1);
    ClickOn(*dialog.previewBox);
    EXPECT_TRUE(host.player.showPreview);
    EXPECT_EQ(host.rebuilds, 2);
    app.CloseDialog(&dialog);
}

TEST_F(OptionsDialogTest, Close_SwitchesTheScreenModeOnlyWhenAChoiceDiffers)
{
    DemoDialog& unchanged = Show();
    ClickOn(*unchanged.GetYesButton());
    EXPECT_TRUE(app.switches.empty());
    EXPECT_EQ(app.FindDialog(DemoDialog::kDialogId), nullptr);
    EXPECT_EQ(host.closes, 1);
    app.ProcessDeferredDeletes();

    DemoDialog& changed = Show();
    ClickOn(*changed.fullScreenBox);
    ClickOn(*changed.accelerationBox);
    ClickOn(*changed.GetYesButton());
    EXPECT_EQ(app.switches, (std::vector<std::pair<bool, bool>>{{false, true}}));
    EXPECT_EQ(host.closes, 2);
    app.ProcessDeferredDeletes();
}
