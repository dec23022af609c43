#pragma once

#include "widgets/ButtonListener.h"
#include "widgets/Widget.h"

#include <memory>
#include <string>
#include <vector>

namespace Zorva {
class Graphics;
class HyperlinkWidget;
class ZorvaAppBase;
} // namespace Zorva

class LogoImage;
class LogoScreen;
class TitleScreenOwner;

/// The loading screen: optional logo screens, then the product logo with the loading
/// progress bar, then the "Click To Continue" link once loading has completed.
class TitleScreen : public Zorva::Widget, public Zorva::ButtonListener
{
public:
    static constexpr int kLinkId = 1;

    TitleScreen(Zorva::ZorvaAppBase& app, TitleScreenOwner& owner);
    ~TitleScreen() override;

    /// Makes the link (hidden and disabled until loading completes).
    void CreateLink();
    /// Reads the logo description; a missing file shows the loading phase at once.
    void LoadLogos(const std::string& path);
    /// Loading has completed: the link becomes visible and enabled.
    void LoadingCompleted();

    void AttachToManager(Zorva::WidgetManager* newManager) override;
    void DetachFromManager(Zorva::WidgetManager* oldManager) override;
    void Tick() override;
    void Paint(Zorva::Graphics& graphics) override;
    void OnButtonActivated(int id) override;

    Zorva::HyperlinkWidget* Link() const { return link.get(); }
    bool ShowingLogos() const { return showingLogos; }
    bool InLoadingPhase() const { return loadingPhase; }
    /// Logo screens still to show, the current one first.
    const std::vector<std::unique_ptr<LogoScreen>>& LogoScreens() const { return logoScreens; }
    const std::vector<std::unique_ptr<LogoImage>>& LoadingImages() const { return loadingImages; }

    /// The horizontal centre of the 800-pixel screen everything is laid out around.
    static constexpr int kCentreX = 400;
    static constexpr int kLogoTop = 330;
    static constexpr int kBarTop = 450;
    static constexpr int kTextTop = 500;

private:
    Zorva::ZorvaAppBase& app;
    TitleScreenOwner& owner;
    std::unique_ptr<Zorva::HyperlinkWidget> link;
    bool showingLogos = false;
    bool loadingPhase = false;
    /// Set once the game's resources are in; the link stays shown from then on.
    bool loadingCompleted = false;
    std::vector<std::unique_ptr<LogoScreen>> logoScreens;
    std::vector<std::unique_ptr<LogoImage>> loadingImages;

    /// The columns of the progress bar the loading progress fills.
    int FilledBarWidth() const;
    void PaintLoadingPhase(Zorva::Graphics& graphics);

    /// What the loading phase showed when it was last asked to redraw.
    int paintedBarWidth = -1;
    bool paintedLinkShown = false;
};
