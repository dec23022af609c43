#pragma once

#include "widgets/Widget.h"

#include <memory>
#include <string>
#include <vector>

namespace Zorva {

class EditListener;
class Font;
class Graphics;

/// A single-line text field: typing, selection with Shift and the pointer, the clipboard,
/// one level of undo, length and width limits and an optional password character. Every
/// change is offered to the listener, which may refuse it.
///
/// The listener is not owned and must outlive the field. It must not delete the field from
/// inside a notification (use the application's deferred deletion).
class EditWidget : public Widget
{
public:
    /// The control characters of Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+Z.
    static constexpr char kCopyChar = 3;
    static constexpr char kPasteChar = 22;
    static constexpr char kCutChar = 24;
    static constexpr char kUndoChar = 26;
    /// Whatever `maxChars` says, the text never grows beyond this, so positions stay small.
    static constexpr int kMaxTextLength = 1 << 20;

    /// A font the text must also fit in: within `maxWidth` pixels, or `maxPixels` when
    /// `maxWidth` is 0 or less.
    struct WidthFont
    {
        std::unique_ptr<Font> font;
        int maxWidth = 0;
    };

    EditWidget(int id, EditListener* listener);
    ~EditWidget() override;

    /// With a background that is not opaque, what lies below is repainted as well.
    void Invalidate() override;
    void Tick() override;
    void Paint(Graphics& graphics) override;
    bool AcceptsFocus() override { return true; }
    void OnFocusIn() override;
    void OnFocusOut() override;
    void OnKeyDown(int key) override;
    void OnChar(char character) override;
    void OnPointerEnter() override;
    void OnPointerLeave() override;
    void OnPointerDown(int px, int py, int clickCode) override;
    void OnPointerDrag(int px, int py) override;
    using Widget::OnPointerUp;
    void OnPointerUp(int px, int py) override;

    /// One key (`character` 0) or one character (`keyCode` 0).
    virtual void ProcessKey(int keyCode, char character);
    /// Shows the text in a copy of `newFont` (null: the default font). With `widthFont`, the
    /// width limit measures in a copy of that font alone.
    virtual void SetFont(const Font* newFont, const Font* widthFont = nullptr);
    /// Replaces the text, selecting all of it with the cursor at the end. The undo state
    /// becomes the new text, so undo never brings back a text the program replaced.
    virtual void SetText(const std::string& newText, bool scrollToStart);
    /// Letters (Latin-1 letters too), digits and "_".
    virtual bool IsWordChar(char character);
    /// The character boundary nearest to (px, py), from `leftPos` on.
    virtual int CharIndexAt(int px, int py);
    /// Scrolls by 10 characters (`bigJump`) or 1 until the cursor is inside the field.
    virtual void EnsureCursorVisible(bool bigJump);

    /// One more font the width limit measures in.
    void AddWidthFont(const Font* widthFont, int maxWidth);
    /// The font the text is shown in; the default "SansSerif" 10 is made when first needed.
    Font* GetFont();
    bool HasSelection() const { return hiliteStart >= 0 && hiliteStart != cursorPos; }

    int id = 0;
    EditListener* listener = nullptr;
    std::string text;
    /// `text`, or one `passwordChar` for each of its characters.
    std::string displayText;
    char passwordChar = 0;
    std::unique_ptr<Font> font;
    std::vector<WidthFont> widthFonts;
    int cursorPos = 0;
    /// The other end of the selection; -1 or `cursorPos` is none.
    int hiliteStart = -1;
    /// The first character shown.
    int leftPos = 0;
    /// -1 is no limit.
    int maxChars = -1;
    /// 0 or less is no limit.
    int maxPixels = -1;
    int blinkDelay = 40;
    int blinkCount = 0;
    bool cursorShown = false;
    std::string undoText;
    int undoCursor = 0;
    int undoHilite = 0;
    /// Where the last single-character edit left the cursor, for grouping undo.
    int lastModPos = 0;

private:
    /// The kind of the last single-character edit; typing (or deleting) on from where it
    /// stopped keeps one undo state for the whole run.
    enum class EditRun
    {
        None,
        Insert,
        Delete,
    };

    /// What a key or character did.
    enum class Outcome
    {
        Nothing,
        Moved,
        Edited,
        Undone,
    };

    /// Everything a refused change puts back.
    struct Snapshot
    {
        std::string text;
        int cursorPos = 0;
        int hiliteStart = -1;
        int leftPos = 0;
        std::string undoText;
        int undoCursor = 0;
        int undoHilite = 0;
        int lastModPos = 0;
        EditRun lastRun = EditRun::None;
    };

    Snapshot TakeSnapshot() const;
    void Restore(const Snapshot& snapshot);
    /// Brings `displayText` up to date and every position inside the text.
    void Normalize();
    int TextLength() const { return static_cast<int>(text.size()); }
    bool KeyHeld(int key) const;
    int SelectionStart() const;
    int SelectionEnd() const;

    Outcome ProcessCharacter(char character);
    Outcome ProcessKeyCode(int keyCode);
    /// Cut, width limit, cursor kept visible, then the listener's verdict on the new text.
    void FinishChange(const Snapshot& before, Outcome outcome);

    void MoveCursor(int position);
    void SaveUndo();
    void ReplaceSelection(const std::string& replacement);
    Outcome TypeCharacter(char character);
    Outcome DeleteBackward();
    Outcome DeleteForward();
    Outcome CopySelection();
    Outcome CutSelection();
    Outcome Paste();
    Outcome SwapUndo();
    void ApplyWidthLimit();
    void CutToWidth(Font& measure, int limit);
    int WordStartBefore(int position);
    int NextWordStart(int position);
    /// The number of characters of `displayText` from `start` that fit in `maxWidth`.
    int FittingChars(int start, int maxWidth);
    int DisplayWidth(int from, int to);

    EditRun lastRun = EditRun::None;
    /// Where a pointer selection began.
    int dragAnchor = 0;
    /// The character boundary under the pointer at the press or the last drag that moved
    /// the selection.
    int dragPosition = 0;
};

} // namespace Zorva
