#include "widgets/Dialog.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "widgets/DefaultFont.h"
#include "widgets/DialogButton.h"
#include "widgets/DialogHost.h"
#include "widgets/DialogListener.h"
#include "widgets/WidgetManager.h"

#include <algorithm>

namespace Zorva {

namespace {

constexpr int kHeaderFontSize = 14;
constexpr int kLinesFontSize = 12;
constexpr int kStockButtonHeight = 24;
/// Gaps between the blocks of text and the buttons.
constexpr int kBlockGap = 8;
/// How far a dragged dialog may leave the screen, and how far inside it the grab stays.
constexpr int kDragMargin = 8;
/// Widths of the stock frame and of its shadow.
constexpr int kFrameInset = 12;
constexpr int kShadowSize = 12;
const Color kShadowColor(0, 0, 0, 128);

/// Shared by every dialog; see Dialog::DefaultColorAt.
int sharedDefaultColors[Dialog::kColorCount][3] = {
    {255, 255, 255}, {255, 255, 0}, {255, 255, 255}, {255, 255, 255},
    {255, 255, 255}, {80, 80, 80},  {255, 255, 255},
};

} // namespace

Dialog::Dialog(Image* newComponentImage, Image* buttonComponentImage, int newId, bool newIsModal,
               const std::string& newHeader, const std::string& newLines,
               const std::string& newFooter, int newButtonMode)
    : componentImage(newComponentImage), id(newId), isModal(newIsModal), header(newHeader),
      lines(newLines), footer(newFooter), buttonMode(newButtonMode),
      buttonHeight(buttonComponentImage != nullptr ? buttonComponentImage->GetHeight()
                                                   : kStockButtonHeight)
{
    hasTransparency = true;
    hasAlpha = true;
    priority = 1;

    const auto makeButton = [&](int buttonId, const std::string& text) {
        auto button = std::make_unique<DialogButton>(buttonComponentImage, buttonId, this);
        button->label = text;
        return button;
    };
    switch (newButtonMode) {
    case kButtonsYesNo:
        yesButton = makeButton(kYesButtonId, "YES");
        noButton = makeButton(kNoButtonId, "NO");
        break;
    case kButtonsOkCancel:
        yesButton = makeButton(kYesButtonId, "OK");
        noButton = makeButton(kNoButtonId, "CANCEL");
        break;
    case kButtonsFooter:
        yesButton = makeButton(kYesButtonId, newFooter);
        break;
    default:
        break;
    }

    if (buttonComponentImage == nullptr) {
        // Stock buttons are light grey: their labels need dark text.
        for (const int index : {kColorButtonText, kColorButtonTextHovered}) {
            std::fill(std::begin(sharedDefaultColors[index]), std::end(sharedDefaultColors[index]),
                      0);
        }
    }
    SetColorTable(sharedDefaultColors, kColorCount);
}

Dialog::~Dialog()
{
    lifetime->destroyed = true;
    lifetime->result = result;
    // Leaving the tree here, while still a Dialog, takes the buttons along.
    if (parent != nullptr) {
        parent->RemoveWidget(this);
    }
}

Color Dialog::DefaultColorAt(int index)
{
    if (index < 0 || index >= kColorCount) {
        return Color(0, 0, 0, 0);
    }
    const int* entry = sharedDefaultColors[index];
    return Color(entry[0], entry[1], entry[2]);
}

void Dialog::SetColorAt(int index, const Color& color)
{
    Widget::SetColorAt(index, color);
    const int buttonIndex = index == kColorButtonText          ? 0
                            : index == kColorButtonTextHovered ? 1
                                                               : -1;
    if (buttonIndex < 0) {
        return;
    }
    for (DialogButton* button : {yesButton.get(), noButton.get()}) {
        if (button != nullptr) {
            button->SetColorAt(buttonIndex, color);
        }
    }
}

void Dialog::SetButtonFont(const Font* newFont)
{
    for (DialogButton* button : {yesButton.get(), noButton.get()}) {
        if (button != nullptr) {
            button->SetFont(newFont);
        }
    }
}

void Dialog::SetHeaderFont(const Font* newFont)
{
    headerFont = newFont != nullptr ? newFont->Duplicate() : nullptr;
    Invalidate();
}

void Dialog::SetLinesFont(const Font* newFont)
{
    linesFont = newFont != nullptr ? newFont->Duplicate() : nullptr;
    Invalidate();
}

Font* Dialog::HeaderFont()
{
    if (!headerFont) {
        headerFont = MakeDefaultFont(kHeaderFontSize);
    }
    return headerFont.get();
}

Font* Dialog::LinesFont()
{
    if (!linesFont) {
        linesFont = MakeDefaultFont(kLinesFontSize);
    }
    return linesFont.get();
}

int Dialog::LinesWidth() const
{
    return width - backgroundInsets.left - backgroundInsets.right - contentInsets.left -
           contentInsets.right - 4;
}

int Dialog::LinesSpacing()
{
    return LinesFont()->GetLineSpacing() + lineSpacingOffset;
}

int Dialog::PreferredHeight(int forWidth)
{
    int total =
        backgroundInsets.bottom + backgroundInsets.top + contentInsets.top + contentInsets.bottom;
    bool somethingAbove = false;
    if (!header.empty()) {
        Font* font = HeaderFont();
        total += font->GetLineSpacing() - font->GetAscentPadding();
        somethingAbove = true;
    }
    if (!lines.empty()) {
        if (!header.empty()) {
            total += spaceAfterHeader;
        }
        const int fieldWidth = forWidth - backgroundInsets.left - backgroundInsets.right -
                               contentInsets.left - contentInsets.right - 4;
        Graphics measuring;
        measuring.SetFont(LinesFont());
        total +=
            measuring.DrawWrappedText(Rect(0, 0, fieldWidth, 0), lines, LinesSpacing(), textAlign);
        somethingAbove = true;
    }
    if (!footer.empty() && buttonMode != kButtonsFooter) {
        if (somethingAbove) {
            total += kBlockGap;
        }
        total += HeaderFont()->GetLineSpacing();
        somethingAbove = true;
    }
    if (yesButton) {
        if (somethingAbove) {
            total += kBlockGap;
        }
        total += buttonHeight + kBlockGap;
    }
    return total;
}

void Dialog::Place(int newX, int newY, int newWidth, int newHeight)
{
    Widget::Place(newX, newY, newWidth, newHeight);
    LayoutButtons();
}

void Dialog::LayoutButtons()
{
    if (!yesButton) {
        return;
    }
    const int left = backgroundInsets.left + contentInsets.left;
    const int right = backgroundInsets.right + contentInsets.right;
    const int bottom = backgroundInsets.bottom + contentInsets.bottom;
    const int buttonsX = x + left + buttonSidePadding;
    const int buttonsY = y + height - bottom - buttonHeight;
    const int innerWidth = width - left - right - 2 * buttonSidePadding;
    if (noButton) {
        const int each = std::max((innerWidth - buttonSpacing) / 2, 0);
        yesButton->Place(buttonsX, buttonsY, each, buttonHeight);
        noButton->Place(buttonsX + each + buttonSpacing, buttonsY, each, buttonHeight);
    } else {
        yesButton->Place(buttonsX, buttonsY, std::max(innerWidth, 0), buttonHeight);
    }
}

void Dialog::AttachToManager(WidgetManager* newManager)
{
    Widget::AttachToManager(newManager);
    if (parent == nullptr) {
        return;
    }
    for (DialogButton* button : {yesButton.get(), noButton.get()}) {
        if (button != nullptr) {
            parent->AddWidget(button);
        }
    }
    KeepButtonsAbove();
}

void Dialog::DetachFromManager(WidgetManager* oldManager)
{
    Widget::DetachFromManager(oldManager);
    for (DialogButton* button : {yesButton.get(), noButton.get()}) {
        if (button != nullptr && button->parent != nullptr) {
            button->parent->RemoveWidget(button);
        }
    }
}

void Dialog::OnZOrderChanged()
{
    KeepButtonsAbove();
}

void Dialog::KeepButtonsAbove()
{
    if (parent == nullptr) {
        return;
    }
    Widget* below = this;
    for (DialogButton* button : {yesButton.get(), noButton.get()}) {
        if (button != nullptr && button->parent == parent) {
            parent->PlaceAbove(button, below);
            below = button;
        }
    }
}

void Dialog::Paint(Graphics& graphics)
{
    if (componentImage != nullptr) {
        graphics.DrawImageNineSlice(componentImage,
                                    Rect(contentInsets.left, contentInsets.top,
                                         width - contentInsets.left - contentInsets.right,
                                         height - contentInsets.top - contentInsets.bottom));
    } else {
        PaintStockLook(graphics);
    }

    int currentY = backgroundInsets.top + contentInsets.top;
    bool somethingAbove = false;
    if (!header.empty()) {
        Font* font = HeaderFont();
        currentY += font->GetAscent() - font->GetAscentPadding();
        graphics.SetFont(font);
        graphics.SetColor(ColorAt(kColorHeader));
        DrawCenteredText(graphics, currentY, header);
        currentY += font->GetDescent();
        somethingAbove = true;
    }
    if (!lines.empty()) {
        if (!header.empty()) {
            currentY += spaceAfterHeader;
        }
        graphics.SetFont(LinesFont());
        graphics.SetColor(ColorAt(kColorLines));
        const Rect field(backgroundInsets.left + contentInsets.left + 2, currentY, LinesWidth(), 0);
        currentY += WriteWrappedText(graphics, field, lines, LinesSpacing(), textAlign);
        somethingAbove = true;
    }
    if (!footer.empty() && buttonMode != kButtonsFooter) {
        if (somethingAbove) {
            currentY += kBlockGap;
        }
        Font* font = HeaderFont();
        graphics.SetFont(font);
        graphics.SetColor(ColorAt(kColorFooter));
        DrawCenteredText(graphics, currentY + font->GetAscent() - font->GetAscentPadding(), footer);
    }
}

void Dialog::PaintStockLook(Graphics& graphics)
{
    graphics.SetColor(ColorAt(kColorOutline));
    graphics.DrawRect(kFrameInset, kFrameInset, width - 2 * kFrameInset - 1,
                      height - 2 * kFrameInset - 1);
    graphics.SetColor(ColorAt(kColorBackground));
    graphics.FillRect(kFrameInset + 1, kFrameInset + 1, width - 2 * kFrameInset - 2,
                      height - 2 * kFrameInset - 2);
    graphics.SetColor(kShadowColor);
    graphics.FillRect(width - kShadowSize, 2 * kFrameInset, kShadowSize, height - 3 * kFrameInset);
    graphics.FillRect(2 * kFrameInset, height - kShadowSize, width - 2 * kFrameInset, kShadowSize);
}

void Dialog::OnPointerDown(int px, int py, int clickCode)
{
    Widget::OnPointerDown(px, py, clickCode);
    // The buttons lie above the dialog, so a press that reaches it missed them.
    if (clickCode != kClickLeft) {
        return;
    }
    dragging = true;
    dragX = px;
    dragY = py;
    if (manager != nullptr) {
        manager->SetCursor(CursorKind::DraggingHand);
    }
}

void Dialog::OnPointerDrag(int px, int py)
{
    if (!dragging || manager == nullptr) {
        return;
    }
    const int newX =
        std::max(std::min(x + px - dragX, manager->width - width + kDragMargin), -kDragMargin);
    const int newY =
        std::max(std::min(y + py - dragY, manager->height - height + kDragMargin), -kDragMargin);
    // Where the dialog was held back, the grab point slides, but stays well inside it.
    dragX = std::max(std::min(x + px - newX, width - kDragMargin - 1), kDragMargin);
    dragY = std::max(std::min(y + py - newY, height - kDragMargin - 1), kDragMargin);
    MoveTo(newX, newY);
}

void Dialog::OnPointerUp(int px, int py, int clickCode)
{
    Widget::OnPointerUp(px, py, clickCode);
    if (!dragging) {
        return;
    }
    dragging = false;
    if (manager != nullptr) {
        manager->SetCursor(CursorKind::Arrow);
    }
}

void Dialog::OnButtonPressed(int buttonId)
{
    const bool own =
        (buttonId == kYesButtonId && yesButton) || (buttonId == kNoButtonId && noButton);
    if (own && dialogListener != nullptr) {
        dialogListener->OnDialogButtonPressed(id, buttonId);
    }
}

void Dialog::OnButtonActivated(int buttonId)
{
    const bool own =
        (buttonId == kYesButtonId && yesButton) || (buttonId == kNoButtonId && noButton);
    if (!own) {
        return;
    }
    result = buttonId;
    if (dialogListener != nullptr) {
        dialogListener->OnDialogButtonActivated(id, buttonId);
    }
}

DialogHost* Dialog::FindHost() const
{
    if (host != nullptr) {
        return host;
    }
    return manager != nullptr ? dynamic_cast<DialogHost*>(manager->app) : nullptr;
}

int Dialog::WaitForResult(bool close)
{
    // The dialog may be closed and deleted inside the loop.
    const std::shared_ptr<const Lifetime> life = lifetime;
    DialogHost* const loopHost = FindHost();
    while (!life->destroyed && result == kNoResult && manager != nullptr && loopHost != nullptr &&
           loopHost->RunModalStep()) {
    }
    if (!life->destroyed && close && loopHost != nullptr) {
        loopHost->CloseDialog(this);
    }
    return life->destroyed ? life->result : result;
}

} // namespace Zorva
