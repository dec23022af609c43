#pragma once

#include "widgets/CheckboxListener.h"
#include "widgets/Dialog.h"
#include "widgets/SliderListener.h"

#include <memory>

namespace Zorva {
class Checkbox;
class Slider;
class ZorvaAppBase;
} // namespace Zorva

class OptionsHost;

/// The options dialog (id 8): music and sound volumes, "3D Mode", "Full Screen" and the
/// player's preview window. Volumes and the preview change at once; the screen mode changes
/// on "CLOSE". It places itself at (130, 90), 540 by 415.
class DemoDialog : public Zorva::Dialog,
                   public Zorva::SliderListener,
                   public Zorva::CheckboxListener
{
public:
    static constexpr int kDialogId = 8;
    static constexpr int kMusicSliderId = 0;
    static constexpr int kSoundSliderId = 1;
    static constexpr int kFullScreenBoxId = 4;
    static constexpr int kAccelerationBoxId = 5;
    static constexpr int kPreviewBoxId = 6;
    /// The id of the message dialogs the choices answer with.
    static constexpr int kMessageDialogId = 7;

    DemoDialog(Zorva::ZorvaAppBase& app, OptionsHost& host);
    ~DemoDialog() override;

    using Dialog::Place;
    /// Lays the controls out again for the new size.
    void Place(int newX, int newY, int newWidth, int newHeight) override;
    /// The dialog, then the controls' labels.
    void Paint(Zorva::Graphics& graphics) override;
    /// "CLOSE" applies the screen mode, closes the dialog and hands the focus back.
    void OnButtonActivated(int buttonId) override;
    void OnSliderChanged(int sliderId, double value) override;
    void OnCheckboxChanged(int boxId, bool checked) override;

    std::unique_ptr<Zorva::Slider> musicSlider;
    std::unique_ptr<Zorva::Slider> soundSlider;
    std::unique_ptr<Zorva::Checkbox> accelerationBox;
    std::unique_ptr<Zorva::Checkbox> fullScreenBox;
    std::unique_ptr<Zorva::Checkbox> previewBox;

private:
    std::unique_ptr<Zorva::Checkbox> MakeBox(int boxId);
    void LayoutControls();
    void OnAccelerationTurnedOn();
    void OnFullScreenTurnedOff();
    void OnPreviewChanged(bool shown);
    void ShowMessage(const std::string& title, const std::string& text);
    void ApplyScreenModeAndClose();

    Zorva::ZorvaAppBase& app;
    OptionsHost& optionsHost;
};
