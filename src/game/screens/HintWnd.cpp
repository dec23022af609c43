#include "game/screens/HintWnd.h"

#include "app/AppAudio.h"
#include "game/ResourceHandles.h"
#include "graphics/DrawMode.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/ButtonWidget.h"
#include "widgets/WidgetManager.h"

namespace {

constexpr int kGlowStep = 4;
constexpr int kGlowLow = 100;
constexpr int kGlowHigh = 250;
/// Below this brightness the arrow is drawn glowing.
constexpr int kGlowThreshold = 176;
const Zorva::Color kArrowGlow(255, 255, 255, 150);
const Zorva::Color kTextColor(255, 255, 255);

} // namespace

HintWnd::HintWnd(Zorva::AppAudio& newAudio) : audio(newAudio)
{
    closeButton = std::make_unique<Zorva::ButtonWidget>(kCloseButtonId, this);
    closeButton->label = "Close";
    closeButton->handCursor = true;
    closeButton->SetColorAt(1, Zorva::Color(255, 255, 255));
    AddWidget(closeButton.get());
}

HintWnd::~HintWnd()
{
    Hide();
    RemoveAllWidgets(false, false);
}

void HintWnd::Show(Zorva::WidgetManager& widgets, int pointX, int pointY,
                   const std::string& newText)
{
    // The art and font are taken at each showing: the window outlives the resource groups.
    const int hintWidth = IMAGE_W_HINT ? IMAGE_W_HINT->GetWidth() : 0;
    const int hintHeight = IMAGE_W_HINT ? IMAGE_W_HINT->GetHeight() : 0;
    closeButton->buttonImage = IMAGE_BUTTON_NORMAL;
    closeButton->overImage = IMAGE_BUTTON_OVER;
    closeButton->downImage = IMAGE_BUTTON_DOWN;
    if (!closeButton->font && FONT_DEFAULT) {
        closeButton->SetFont(FONT_DEFAULT);
    }
    closeButton->Place(120, 110, IMAGE_BUTTON_NORMAL ? IMAGE_BUTTON_NORMAL->GetWidth() : 0,
                       IMAGE_BUTTON_NORMAL ? IMAGE_BUTTON_NORMAL->GetHeight() - 4 : 0);

    if (!IsShown()) {
        widgets.AddWidget(this);
    }
    Place(pointX, pointY - hintHeight - 30, hintWidth + 29, hintHeight + 30);
    textRect = Zorva::Rect(59, 30, hintWidth - 60, 100);
    arrowX = 0;
    arrowY = hintHeight - 20;
    text = newText;
    Invalidate();
}

void HintWnd::Hide()
{
    if (WidgetContainer* shownIn = GetParent()) {
        shownIn->RemoveWidget(this);
    }
}

void HintWnd::Tick()
{
    Widget::Tick();
    const bool glowing = glow < kGlowThreshold;
    if (glowUp) {
        glow += kGlowStep;
        if (glow >= kGlowHigh) {
            glowUp = false;
        }
    } else {
        glow -= kGlowStep;
        if (glow <= kGlowLow) {
            glowUp = true;
        }
    }
    if (glowing != (glow < kGlowThreshold)) {
        Invalidate();
    }
}

void HintWnd::Paint(Zorva::Graphics& graphics)
{
    graphics.DrawImage(IMAGE_W_HINT, 29, 0);
    if (glow < kGlowThreshold) {
        graphics.SaveState();
        graphics.SetDrawMode(Zorva::kDrawModeAdditive);
        graphics.SetColor(kArrowGlow);
        graphics.SetModulateImages(true);
        graphics.DrawImage(IMAGE_ARROW, arrowX, arrowY);
        graphics.RestoreState();
    } else {
        graphics.DrawImage(IMAGE_ARROW, arrowX, arrowY);
    }
    graphics.SetFont(FONT_DEFAULT);
    WriteWrappedText(graphics, textRect, text, kTextColor);
}

void HintWnd::OnButtonActivated(int id)
{
    if (id != kCloseButtonId) {
        return;
    }
    audio.PlaySoundOnce(SOUND_CLICK);
    Hide();
}
