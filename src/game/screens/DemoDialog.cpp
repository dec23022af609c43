#include "game/screens/DemoDialog.h"

#include "app/ZorvaAppBase.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/screens/OptionsHost.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/Checkbox.h"
#include "widgets/Slider.h"

#include <string>

namespace {

constexpr int kLeft = 130;
constexpr int kTop = 90;
constexpr int kWidth = 540;
constexpr int kHeight = 415;

constexpr int kSliderTop = 130;
/// Gaps from the sliders' bottom edge down to the two rows of check boxes.
constexpr int kFirstBoxRowGap = 30;
constexpr int kSecondBoxRowGap = 90;
/// Slider labels stand this far above the slider; box labels at the box's top minus its
/// height plus this.
constexpr int kSliderLabelRise = 10;
constexpr int kBoxLabelDrop = 20;

const char* const kNotSupportedText =
    "Hardware acceleration can not be enabled on this computer. \nYour\t\t\t\t\t\t\tvideo card "
    "does not meet the minimum requirements for this game.";
const char* const kWarningText =
    "Your video card may not fully support this feature.\n\t\t\t\t\tIf you experience slower "
    "performance, please disable Hardware Acceleration.";
const char* const kNoWindowedModeText =
    "Windowed mode is only available if your desktop is running in\n\t\t\teither 16 bit or 32 "
    "bit color mode, which it is not.";

int WidthOf(const Zorva::Image* image)
{
    return image != nullptr ? image->GetWidth() : 0;
}

int HeightOf(const Zorva::Image* image)
{
    return image != nullptr ? image->GetHeight() : 0;
}

} // namespace

DemoDialog::DemoDialog(Zorva::ZorvaAppBase& newApp, OptionsHost& newHost)
    : Dialog(IMAGE_DIALOG_BOX, IMAGE_BUTTON_NORMAL, kDialogId, true, "Options", "", "CLOSE",
             kButtonsFooter),
      app(newApp), optionsHost(newHost)
{
    contentInsets = Zorva::Insets{80, 50, 80, 50};
    spaceAfterHeader = 30;
    SetHeaderFont(FONT_DEFAULT);
    SetLinesFont(FONT_DEFAULT);
    SetButtonFont(FONT_DEFAULT);
    SetColorAt(kColorHeader, Zorva::Color::kBlack);
    SetColorAt(kColorLines, Zorva::Color::kBlack);

    musicSlider = std::make_unique<Zorva::Slider>(IMAGE_SLIDER_TRACK, IMAGE_SLIDER_THUMB,
                                                  kMusicSliderId, this);
    musicSlider->SetValue(app.GetMusicVolume());
    soundSlider = std::make_unique<Zorva::Slider>(IMAGE_SLIDER_TRACK, IMAGE_SLIDER_THUMB,
                                                  kSoundSliderId, this);
    soundSlider->SetValue(app.GetSfxVolume());

    accelerationBox = MakeBox(kAccelerationBoxId);
    accelerationBox->SetChecked(app.Is3D(), false);
    fullScreenBox = MakeBox(kFullScreenBoxId);
    fullScreenBox->SetChecked(!app.GetWindowState().windowed, false);
    previewBox = MakeBox(kPreviewBoxId);
    const Player* player = optionsHost.CurrentPlayer();
    previewBox->SetChecked(player != nullptr && player->showPreview, false);

    for (Zorva::Widget* control : {static_cast<Zorva::Widget*>(musicSlider.get()),
                                   static_cast<Zorva::Widget*>(soundSlider.get()),
                                   static_cast<Zorva::Widget*>(accelerationBox.get()),
                                   static_cast<Zorva::Widget*>(fullScreenBox.get()),
                                   static_cast<Zorva::Widget*>(previewBox.get())}) {
        AddWidget(control);
    }
    Place(kLeft, kTop, kWidth, kHeight);
}

DemoDialog::~DemoDialog()
{
    RemoveAllWidgets(false, false);
}

std::unique_ptr<Zorva::Checkbox> DemoDialog::MakeBox(int boxId)
{
    // The box's two faces lie side by side in one image: off on the left, on on the right.
    auto box = std::make_unique<Zorva::Checkbox>(IMAGE_CHECKBOX, nullptr, boxId, this);
    const int faceWidth = WidthOf(IMAGE_CHECKBOX) / 2;
    const int faceHeight = HeightOf(IMAGE_CHECKBOX);
    box->uncheckedRect = Zorva::Rect(0, 0, faceWidth, faceHeight);
    box->checkedRect = Zorva::Rect(faceWidth, 0, faceWidth, faceHeight);
    box->Place(0, 0, faceWidth, faceHeight);
    return box;
}

void DemoDialog::Place(int newX, int newY, int newWidth, int newHeight)
{
    Dialog::Place(newX, newY, newWidth, newHeight);
    LayoutControls();
}

void DemoDialog::LayoutControls()
{
    if (!previewBox) {
        return; // Still being built.
    }
    // The window's art is drawn inside the content insets and framed at its edge, so the
    // controls keep to the column of the header and "CLOSE" within it. The controls are
    // children: positions are relative to the dialog.
    const int left = backgroundInsets.left + contentInsets.left;
    const int right = width - backgroundInsets.right - contentInsets.right;
    const int trackWidth = WidthOf(IMAGE_SLIDER_TRACK);
    const int sliderHeight = HeightOf(IMAGE_SLIDER_THUMB);
    musicSlider->Place(left, kSliderTop, trackWidth, sliderHeight);
    soundSlider->Place(right - trackWidth, kSliderTop, trackWidth, sliderHeight);

    const int sliderBottom = kSliderTop + sliderHeight;
    accelerationBox->MoveTo(musicSlider->x, sliderBottom + kFirstBoxRowGap);
    fullScreenBox->MoveTo(soundSlider->x, sliderBottom + kFirstBoxRowGap);
    previewBox->MoveTo(musicSlider->x, sliderBottom + kSecondBoxRowGap);
}

void DemoDialog::Paint(Zorva::Graphics& graphics)
{
    Dialog::Paint(graphics);
    graphics.SetFont(FONT_DEFAULT);
    graphics.SetColor(Zorva::Color::kWhite);
    graphics.DrawText("Music volume:", musicSlider->x, musicSlider->y - kSliderLabelRise);
    graphics.DrawText("Sound volume:", soundSlider->x, soundSlider->y - kSliderLabelRise);
    const auto labelBox = [&](const char* label, const Zorva::Checkbox& box) {
        graphics.DrawText(label, box.x, box.y - box.height + kBoxLabelDrop);
    };
    labelBox("3D Mode:", *accelerationBox);
    labelBox("Full Screen:", *fullScreenBox);
    labelBox("Show Preview Window:", *previewBox);
}

void DemoDialog::OnSliderChanged(int sliderId, double value)
{
    if (sliderId == kMusicSliderId) {
        app.SetMusicVolume(value);
    } else if (sliderId == kSoundSliderId) {
        app.SetSfxVolume(value);
        // While the thumb is dragged the click would stutter; it sounds once it is let go.
        if (!soundSlider->dragging) {
            app.PlaySoundOnce(SOUND_CLICK);
        }
    }
}

void DemoDialog::OnCheckboxChanged(int boxId, bool checked)
{
    if (boxId == kAccelerationBoxId && checked) {
        OnAccelerationTurnedOn();
    } else if (boxId == kFullScreenBoxId && !checked) {
        OnFullScreenTurnedOff();
    } else if (boxId == kPreviewBoxId) {
        OnPreviewChanged(checked);
    }
}

void DemoDialog::OnAccelerationTurnedOn()
{
    switch (optionsHost.AccelerationVerdict()) {
    case OptionsHost::Acceleration::Unavailable:
        accelerationBox->SetChecked(false, true);
        ShowMessage("Not Supported", kNotSupportedText);
        break;
    case OptionsHost::Acceleration::NotRecommended:
        ShowMessage("Warning", kWarningText);
        break;
    case OptionsHost::Acceleration::Recommended:
        break;
    }
}

void DemoDialog::OnFullScreenTurnedOff()
{
    if (optionsHost.WindowedModeAvailable()) {
        return;
    }
    ShowMessage("No Windowed Mode", kNoWindowedModeText);
    fullScreenBox->SetChecked(true, true);
}

void DemoDialog::OnPreviewChanged(bool shown)
{
    Player* player = optionsHost.CurrentPlayer();
    if (player == nullptr) {
        return;
    }
    // Kept in the player's record, which goes to disk with the next save of the players.
    player->showPreview = shown;
    optionsHost.RebuildBackgroundCache();
}

void DemoDialog::ShowMessage(const std::string& title, const std::string& text)
{
    app.ShowNewDialog(kMessageDialogId, true, title, text, "OK", kButtonsFooter);
}

void DemoDialog::OnButtonActivated(int buttonId)
{
    if (buttonId != kYesButtonId) {
        Dialog::OnButtonActivated(buttonId);
        return;
    }
    ApplyScreenModeAndClose();
}

void DemoDialog::ApplyScreenModeAndClose()
{
    const bool windowed = !fullScreenBox->IsChecked();
    const bool accelerated = accelerationBox->IsChecked();
    if (windowed != app.GetWindowState().windowed || accelerated != app.Is3D()) {
        app.ChangeScreenMode(windowed, accelerated, false);
    }
    // Closing only queues the dialog for deletion, so its members are still there after it.
    app.CloseDialog(this);
    optionsHost.OptionsClosed();
}
