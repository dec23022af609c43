#include "game/screens/TitleScreen.h"

#include "app/ZorvaAppBase.h"
#include "game/ResourceHandles.h"
#include "game/screens/LogoImage.h"
#include "game/screens/LogoScreen.h"
#include "game/screens/TitleScreenOwner.h"
#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "resources/XMLNode.h"
#include "resources/XMLParser.h"
#include "widgets/HyperlinkWidget.h"
#include "widgets/WidgetManager.h"

#include <algorithm>

namespace {

const char* const kLinkLabel = "Click To Continue";
const char* const kLoadingText = "Loading...";

/// "r,g,b": each part an integer of the logo file; missing parts stay 0 and every channel
/// is held to 0..255.
void ReadBackColor(const std::string& text, LogoScreen& screen)
{
    int channels[3] = {0, 0, 0};
    std::size_t start = 0;
    for (int& channel : channels) {
        if (start > text.size()) {
            break;
        }
        const std::size_t comma = text.find(',', start);
        const std::size_t end = comma == std::string::npos ? text.size() : comma;
        channel = std::clamp(LogoImage::ParseInteger(text.substr(start, end - start)), 0, 255);
        start = end + 1;
    }
    screen.red = channels[0];
    screen.green = channels[1];
    screen.blue = channels[2];
}

std::string Attribute(const Zorva::XMLNode& node, const char* name)
{
    const auto found = node.attributes.find(name);
    return found != node.attributes.end() ? found->second : std::string();
}

} // namespace

TitleScreen::TitleScreen(Zorva::ZorvaAppBase& newApp, TitleScreenOwner& newOwner)
    : app(newApp), owner(newOwner)
{}

TitleScreen::~TitleScreen() = default;

void TitleScreen::CreateLink()
{
    link = std::make_unique<Zorva::HyperlinkWidget>(kLinkId, this);
    link->SetFont(FONT_DEFAULT);
    link->label = kLinkLabel;
    link->color = Zorva::Color(255, 255, 255);
    link->overColor = Zorva::Color(71, 210, 29);
    link->underlineSize = 1;
    showingLogos = true;
}

void TitleScreen::LoadLogos(const std::string& path)
{
    Zorva::XMLParser parser;
    if (!parser.OpenFile(path)) {
        showingLogos = false;
        loadingPhase = true;
        Invalidate();
        return;
    }
    Zorva::XMLNode node;
    // A document that breaks off keeps what was read before the fault.
    while (parser.NextNode(node)) {
        if (node.type != Zorva::XMLNodeType::StartTag) {
            continue;
        }
        if (node.section == "LogoAppearence/BeforeStartLoading" && node.value == "ShowLogo") {
            auto screen = std::make_unique<LogoScreen>();
            screen->remainingTicks = LogoImage::ParseInteger(Attribute(node, "time"));
            ReadBackColor(Attribute(node, "backcolor"), *screen);
            logoScreens.push_back(std::move(screen));
        } else if (node.section == "LogoAppearence/BeforeStartLoading/ShowLogo" &&
                   node.value == "Image") {
            if (!logoScreens.empty()) {
                auto image = std::make_unique<LogoImage>();
                image->ReadAttributes(app, node.attributes);
                logoScreens.back()->images.push_back(std::move(image));
            }
        } else if (node.section == "LogoAppearence/OnTitleLoading" && node.value == "Image") {
            auto image = std::make_unique<LogoImage>();
            image->ReadAttributes(app, node.attributes);
            loadingImages.push_back(std::move(image));
        }
    }
    Invalidate();
}

void TitleScreen::LoadingCompleted()
{
    loadingCompleted = true;
    if (link) {
        link->SetShown(true);
        link->SetInactive(false);
    }
}

void TitleScreen::AttachToManager(Zorva::WidgetManager* newManager)
{
    Widget::AttachToManager(newManager);
    if (!link || newManager == nullptr) {
        return;
    }
    if (!loadingCompleted) {
        link->visible = false;
        link->disabled = true;
    }
    const int textWidth = FONT_DEFAULT != nullptr ? FONT_DEFAULT->TextWidth(kLinkLabel) : 0;
    const int fontHeight = FONT_DEFAULT != nullptr ? FONT_DEFAULT->GetHeight() : 0;
    link->Place(kCentreX - textWidth / 2, kTextTop, textWidth, fontHeight + 4);
    link->handCursor = true;
    newManager->AddWidget(link.get());
}

void TitleScreen::DetachFromManager(Zorva::WidgetManager* oldManager)
{
    if (link && oldManager != nullptr && oldManager->HasChild(link.get())) {
        oldManager->RemoveWidget(link.get());
    }
    Widget::DetachFromManager(oldManager);
}

void TitleScreen::Tick()
{
    Widget::Tick();
    // The loading thread only counts its tasks; the redraw that shows the progress is
    // asked for here, on the main thread, whenever what the loading phase shows changed.
    if (logoScreens.empty()) {
        const bool linkShown = link && link->visible;
        const int filled = FilledBarWidth();
        if (!loadingPhase || filled != paintedBarWidth || linkShown != paintedLinkShown) {
            paintedBarWidth = filled;
            paintedLinkShown = linkShown;
            Invalidate();
        }
        showingLogos = false;
        loadingPhase = true;
        return;
    }
    LogoScreen& current = *logoScreens.front();
    --current.remainingTicks;
    if (current.remainingTicks > 0) {
        return;
    }
    logoScreens.erase(logoScreens.begin());
    Invalidate();
}

void TitleScreen::Paint(Zorva::Graphics& graphics)
{
    if (showingLogos && !logoScreens.empty()) {
        const LogoScreen& current = *logoScreens.front();
        graphics.SetColor(Zorva::Color(current.red, current.green, current.blue));
        graphics.FillRect(0, 0, width, height);
        for (const auto& image : current.images) {
            image->Draw(graphics);
        }
    } else if (loadingPhase) {
        PaintLoadingPhase(graphics);
    } else if (!showingLogos) {
        graphics.SetColor(Zorva::Color(0, 0, 0));
        graphics.FillRect(0, 0, width, height);
    }
}

int TitleScreen::FilledBarWidth() const
{
    if (IMAGE_LOADER_BAR == nullptr) {
        return 0;
    }
    const double progress = std::clamp(app.GetLoadingProgress(), 0.0, 1.0);
    return static_cast<int>(IMAGE_LOADER_BAR->GetWidth() * progress);
}

void TitleScreen::PaintLoadingPhase(Zorva::Graphics& graphics)
{
    graphics.SetColor(Zorva::Color(0, 0, 0));
    graphics.FillRect(0, 0, width, height);
    if (IMAGE_LOADER_QUARROW != nullptr) {
        graphics.DrawImage(IMAGE_LOADER_QUARROW, kCentreX - IMAGE_LOADER_QUARROW->GetWidth() / 2,
                           kLogoTop);
    }
    if (IMAGE_LOADER_BAR != nullptr) {
        const int barWidth = IMAGE_LOADER_BAR->GetWidth();
        const int filled = FilledBarWidth();
        if (filled > 0) {
            graphics.DrawImage(IMAGE_LOADER_BAR, kCentreX - barWidth / 2, kBarTop,
                               Zorva::Rect(0, 0, filled, IMAGE_LOADER_BAR->GetHeight()));
        }
    }
    if ((!link || !link->visible) && FONT_DEFAULT != nullptr) {
        graphics.SetFont(FONT_DEFAULT);
        graphics.SetColor(Zorva::Color(255, 255, 255));
        graphics.DrawText(kLoadingText, kCentreX - FONT_DEFAULT->TextWidth(kLoadingText) / 2,
                          kTextTop);
    }
    for (const auto& image : loadingImages) {
        image->Draw(graphics);
    }
}

void TitleScreen::OnButtonActivated(int buttonId)
{
    if (buttonId != kLinkId) {
        return;
    }
    // Both leave the manager now and are freed after this event has unwound; the link is
    // handed over to the deferred deletion, so the screen no longer owns it.
    Zorva::HyperlinkWidget* finishedLink = link.release();
    if (manager != nullptr) {
        Zorva::WidgetManager* current = manager;
        current->RemoveWidget(this);
        if (finishedLink != nullptr && current->HasChild(finishedLink)) {
            current->RemoveWidget(finishedLink);
        }
    }
    if (finishedLink != nullptr) {
        app.DeferWidgetDelete(finishedLink);
    }
    app.DeferWidgetDelete(this);
    owner.TitleScreenFinished();
}
