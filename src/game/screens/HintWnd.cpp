#include "game/screens/HintWnd.h"

#include "widgets/WidgetManager.h"

HintWnd::HintWnd(Zorva::AppAudio& newAudio) : audio(newAudio) {}

HintWnd::~HintWnd() = default;

void HintWnd::Show(Zorva::WidgetManager& widgets, int pointX, int pointY,
                   const std::string& newText)
{
    if (!IsShown()) {
        widgets.AddWidget(this);
    }
    Place(pointX, pointY - 130, 229, 130);
    text = newText;
}

void HintWnd::Hide()
{
    if (Zorva::WidgetManager* shownIn = GetManager()) {
        shownIn->RemoveWidget(this);
    }
}

void HintWnd::Tick()
{
    Widget::Tick();
}

void HintWnd::Paint(Zorva::Graphics&) {}

void HintWnd::OnButtonActivated(int)
{
    Hide();
}
