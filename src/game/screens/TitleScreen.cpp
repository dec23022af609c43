#include "game/screens/TitleScreen.h"

#include "app/ZorvaAppBase.h"
#include "game/screens/TitleScreenOwner.h"
#include "widgets/HyperlinkWidget.h"
#include "widgets/WidgetManager.h"

TitleScreen::TitleScreen(Zorva::ZorvaAppBase& newApp, TitleScreenOwner& newOwner)
    : app(newApp), owner(newOwner)
{}

TitleScreen::~TitleScreen() = default;

void TitleScreen::CreateLink()
{
    link = std::make_unique<Zorva::HyperlinkWidget>(kLinkId, this);
}

void TitleScreen::LoadLogos(const std::string&)
{
    loadingPhase = true;
}

void TitleScreen::LoadingCompleted() {}

void TitleScreen::AttachToManager(Zorva::WidgetManager* newManager)
{
    Widget::AttachToManager(newManager);
}

void TitleScreen::DetachFromManager(Zorva::WidgetManager* oldManager)
{
    Widget::DetachFromManager(oldManager);
}

void TitleScreen::Tick()
{
    Widget::Tick();
}

void TitleScreen::Paint(Zorva::Graphics&) {}

void TitleScreen::OnButtonActivated(int id)
{
    if (id != kLinkId) {
        return;
    }
    if (Zorva::WidgetManager* shownIn = GetManager()) {
        shownIn->RemoveWidget(this);
    }
    app.DeferWidgetDelete(this);
    owner.TitleScreenFinished();
}
