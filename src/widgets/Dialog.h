#pragma once

#include "widgets/ButtonListener.h"
#include "widgets/Insets.h"
#include "widgets/Widget.h"

#include <climits>
#include <memory>
#include <string>

namespace Zorva {

class DialogButton;
class DialogHost;
class DialogListener;
class Font;
class Image;

/// A framed box with a header, word-wrapped lines, a footer and up to two buttons of its
/// own, optionally modal and draggable. Its buttons are siblings placed directly above it:
/// they follow it into and out of the widget tree. The application shows and closes
/// dialogs (and owns the ones it shows); a click on one of the buttons becomes the result.
class Dialog : public Widget, public ButtonListener
{
public:
    /// `result` before a button closed the dialog.
    static constexpr int kNoResult = INT_MAX;
    static constexpr int kYesButtonId = 1000;
    static constexpr int kNoButtonId = 1001;

    /// Button modes.
    static constexpr int kButtonsNone = 0;
    static constexpr int kButtonsYesNo = 1;
    static constexpr int kButtonsOkCancel = 2;
    /// One button labelled with the footer, which is then not drawn on its own.
    static constexpr int kButtonsFooter = 3;

    /// Colour table indices.
    static constexpr int kColorHeader = 0;
    static constexpr int kColorLines = 1;
    static constexpr int kColorFooter = 2;
    static constexpr int kColorButtonText = 3;
    static constexpr int kColorButtonTextHovered = 4;
    static constexpr int kColorBackground = 5;
    static constexpr int kColorOutline = 6;
    static constexpr int kColorCount = 7;

    /// The images may be null (the stock look) and are not owned.
    Dialog(Image* componentImage, Image* buttonComponentImage, int id, bool isModal,
           const std::string& header, const std::string& lines, const std::string& footer,
           int buttonMode);
    ~Dialog() override;

    /// The table every new dialog starts from. Once a dialog was made without a button
    /// image, its button text colours (3 and 4) are black for every later dialog too.
    static Color DefaultColorAt(int index);

    /// Colours 3 and 4 are also the buttons' label colours 0 and 1.
    void SetColorAt(int index, const Color& color) override;
    using Widget::Place;
    void Place(int newX, int newY, int newWidth, int newHeight) override;
    void AttachToManager(WidgetManager* newManager) override;
    void DetachFromManager(WidgetManager* oldManager) override;
    void OnZOrderChanged() override;
    void Paint(Graphics& graphics) override;
    void OnPointerDown(int px, int py, int clickCode) override;
    void OnPointerDrag(int px, int py) override;
    using Widget::OnPointerUp;
    void OnPointerUp(int px, int py, int clickCode) override;

    using ButtonListener::OnButtonPressed;
    void OnButtonPressed(int buttonId) override;
    void OnButtonActivated(int buttonId) override;

    /// The height that shows everything at `forWidth`.
    virtual int PreferredHeight(int forWidth);
    /// Runs the application's loop until a button gave a result, the dialog left the
    /// widget tree or the application shuts down; then closes it when `close` is set.
    /// Returns the result (0 when the dialog was closed without a button).
    virtual int WaitForResult(bool close);

    /// Both buttons get a copy of `newFont`.
    void SetButtonFont(const Font* newFont);
    /// Copies are kept; null goes back to the stock font.
    void SetHeaderFont(const Font* newFont);
    void SetLinesFont(const Font* newFont);

    DialogButton* GetYesButton() const { return yesButton.get(); }
    DialogButton* GetNoButton() const { return noButton.get(); }

    Image* componentImage;
    int id;
    bool isModal;
    int result = kNoResult;
    std::string header;
    std::string lines;
    std::string footer;
    int buttonMode;
    /// The buttons' height: the button image's, else 24.
    int buttonHeight;
    Insets contentInsets;
    Insets backgroundInsets{24, 24, 24, 24};
    int spaceAfterHeader = 10;
    int lineSpacingOffset = 0;
    /// 0 centred, 1 right, otherwise left.
    int textAlign = 0;
    int buttonSidePadding = 0;
    int buttonSpacing = 8;
    /// Made when first needed: "SansSerif" 14 and 12.
    std::unique_ptr<Font> headerFont;
    std::unique_ptr<Font> linesFont;
    /// Told about the buttons; the application when it shows the dialog without one.
    DialogListener* dialogListener = nullptr;
    /// The application that shows the dialog; set when it is shown.
    DialogHost* host = nullptr;
    bool dragging = false;
    int dragX = 0;
    int dragY = 0;

protected:
    Font* HeaderFont();
    Font* LinesFont();
    /// Width of the lines' field.
    int LinesWidth() const;
    int LinesSpacing();
    /// Puts the buttons at the bottom inside the insets.
    void LayoutButtons();
    /// Keeps the buttons directly above the dialog in its container.
    void KeepButtonsAbove();

    std::unique_ptr<DialogButton> yesButton;
    std::unique_ptr<DialogButton> noButton;

private:
    /// Outlives the dialog for a WaitForResult in progress, which the dialog may be deleted
    /// under.
    struct Lifetime
    {
        bool destroyed = false;
        int result = kNoResult;
    };

    void PaintStockLook(Graphics& graphics);
    DialogHost* FindHost() const;

    std::shared_ptr<Lifetime> lifetime = std::make_shared<Lifetime>();
};

} // namespace Zorva
