#include "widgets/EditWidget.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/SysFont.h"
#include "widgets/EditListener.h"
#include "widgets/WidgetManager.h"

#include <algorithm>

namespace Zorva {

namespace {

/// The text starts this far inside the field, and the clip keeps this margin on each side.
constexpr int kTextInset = 4;
/// The cursor counts as visible while it is less than this far from the right edge.
constexpr int kRightMargin = 8;
/// Where CharIndexAt takes the text to start.
constexpr int kHitOffset = 5;

/// Control characters of Latin-1 (C0, DEL and C1) are never part of the text.
bool IsPrintable(char character)
{
    const auto code = static_cast<unsigned char>(character);
    return code >= 32 && code != 127 && (code < 128 || code >= 160);
}

} // namespace

EditWidget::EditWidget(int newId, EditListener* newListener) : id(newId), listener(newListener)
{
    colors = {Color(255, 255, 255), Color(0, 0, 0), Color(0, 0, 0), Color(0, 0, 0),
              Color(255, 255, 255)};
}

EditWidget::~EditWidget() = default;

void EditWidget::Invalidate()
{
    if (ColorAt(0).alpha < 255) {
        InvalidateWithBackdrop();
    } else {
        Widget::Invalidate();
    }
}

Font* EditWidget::GetFont()
{
    if (!font) {
        font = std::make_unique<SysFont>("SansSerif", 10);
    }
    return font.get();
}

void EditWidget::SetFont(const Font* newFont, const Font* widthFont)
{
    font = newFont != nullptr ? newFont->Duplicate() : nullptr;
    if (widthFont != nullptr) {
        widthFonts.clear();
        widthFonts.push_back(WidthFont{widthFont->Duplicate(), 0});
    }
    Invalidate();
}

void EditWidget::AddWidthFont(const Font* widthFont, int maxWidth)
{
    if (widthFont != nullptr) {
        widthFonts.push_back(WidthFont{widthFont->Duplicate(), maxWidth});
    }
}

void EditWidget::SetText(const std::string& newText, bool scrollToStart)
{
    text = newText.substr(0, kMaxTextLength);
    cursorPos = TextLength();
    hiliteStart = 0;
    undoText = text;
    undoCursor = cursorPos;
    undoHilite = hiliteStart;
    lastRun = EditRun::None;
    Normalize();
    if (scrollToStart) {
        leftPos = 0;
    } else {
        EnsureCursorVisible(true);
    }
    Invalidate();
}

// ---- state ----

EditWidget::Snapshot EditWidget::TakeSnapshot() const
{
    return Snapshot{text,       cursorPos,  hiliteStart, leftPos, undoText,
                    undoCursor, undoHilite, lastModPos,  lastRun};
}

void EditWidget::Restore(const Snapshot& snapshot)
{
    text = snapshot.text;
    cursorPos = snapshot.cursorPos;
    hiliteStart = snapshot.hiliteStart;
    leftPos = snapshot.leftPos;
    undoText = snapshot.undoText;
    undoCursor = snapshot.undoCursor;
    undoHilite = snapshot.undoHilite;
    lastModPos = snapshot.lastModPos;
    lastRun = snapshot.lastRun;
    Normalize();
}

void EditWidget::Normalize()
{
    if (text.size() > static_cast<size_t>(kMaxTextLength)) {
        text.resize(static_cast<size_t>(kMaxTextLength));
    }
    if (passwordChar != 0) {
        displayText.assign(text.size(), passwordChar);
    } else {
        displayText = text;
    }
    const int length = TextLength();
    cursorPos = std::clamp(cursorPos, 0, length);
    leftPos = std::clamp(leftPos, 0, length);
    hiliteStart = hiliteStart < 0 ? -1 : std::min(hiliteStart, length);
}

bool EditWidget::KeyHeld(int key) const
{
    return manager != nullptr && key >= 0 && key < static_cast<int>(manager->keysDown.size()) &&
           manager->keysDown[static_cast<size_t>(key)];
}

int EditWidget::SelectionStart() const
{
    return HasSelection() ? std::min(hiliteStart, cursorPos) : cursorPos;
}

int EditWidget::SelectionEnd() const
{
    return HasSelection() ? std::max(hiliteStart, cursorPos) : cursorPos;
}

// ---- keys ----

void EditWidget::OnKeyDown(int key)
{
    // Letter keys A to Y arrive again as characters; Z is offered as a key as well.
    const bool offered = key < kVirtualKeyA || key >= kVirtualKeyZ;
    if (offered && (listener == nullptr || listener->AllowKey(id, key))) {
        ProcessKey(key, 0);
    }
    Widget::OnKeyDown(key);
}

void EditWidget::OnChar(char character)
{
    ProcessKey(0, character);
}

void EditWidget::ProcessKey(int keyCode, char character)
{
    Normalize();
    if (character == 0 && keyCode == kVirtualKeyEnter) {
        if (listener != nullptr) {
            const std::string entered = text;
            // The listener may take the field out of the tree; nothing is touched after.
            listener->OnEditEnter(id, entered);
        }
        return;
    }
    const Snapshot before = TakeSnapshot();
    const Outcome outcome = character != 0 ? ProcessCharacter(character) : ProcessKeyCode(keyCode);
    if (outcome != Outcome::Nothing) {
        FinishChange(before, outcome);
    }
}

EditWidget::Outcome EditWidget::ProcessCharacter(char character)
{
    switch (character) {
    case kCopyChar:
        return CopySelection();
    case kCutChar:
        return CutSelection();
    case kPasteChar:
        return Paste();
    case kUndoChar:
        return SwapUndo();
    default:
        break;
    }
    if (!IsPrintable(character)) {
        return Outcome::Nothing;
    }
    if (listener != nullptr && !listener->AllowChar(id, character)) {
        return Outcome::Nothing;
    }
    return TypeCharacter(character);
}

EditWidget::Outcome EditWidget::ProcessKeyCode(int keyCode)
{
    const bool control = KeyHeld(kVirtualKeyControl);
    switch (keyCode) {
    case kVirtualKeyBackspace:
        return DeleteBackward();
    case kVirtualKeyDelete:
        return DeleteForward();
    case kVirtualKeyHome:
        MoveCursor(0);
        return Outcome::Moved;
    case kVirtualKeyEnd:
        MoveCursor(TextLength());
        return Outcome::Moved;
    case kVirtualKeyLeft:
        MoveCursor(control ? WordStartBefore(cursorPos) : std::max(0, cursorPos - 1));
        return Outcome::Moved;
    case kVirtualKeyRight:
        MoveCursor(control ? NextWordStart(cursorPos) : std::min(TextLength(), cursorPos + 1));
        return Outcome::Moved;
    default:
        return Outcome::Nothing;
    }
}

void EditWidget::FinishChange(const Snapshot& before, Outcome outcome)
{
    if (maxChars >= 0 && TextLength() > maxChars) {
        text.resize(static_cast<size_t>(maxChars));
    }
    ApplyWidthLimit();
    Normalize();
    EnsureCursorVisible(true);
    if (hiliteStart == cursorPos) {
        hiliteStart = -1;
    }
    if (text == before.text) {
        if (outcome == Outcome::Edited) {
            // An edit the limits took back again is no edit: the undo state stays.
            undoText = before.undoText;
            undoCursor = before.undoCursor;
            undoHilite = before.undoHilite;
            lastModPos = before.lastModPos;
            lastRun = before.lastRun;
        }
    } else if (listener != nullptr && !listener->AllowText(id, text)) {
        Restore(before);
    }
    cursorShown = hasFocus;
    blinkCount = 0;
    Invalidate();
}

void EditWidget::MoveCursor(int position)
{
    if (KeyHeld(kVirtualKeyShift)) {
        if (!HasSelection()) {
            hiliteStart = cursorPos;
        }
    } else {
        hiliteStart = -1;
    }
    cursorPos = position;
    lastRun = EditRun::None;
}

void EditWidget::SaveUndo()
{
    undoText = text;
    undoCursor = cursorPos;
    undoHilite = hiliteStart;
}

void EditWidget::ReplaceSelection(const std::string& replacement)
{
    if (HasSelection()) {
        const int start = SelectionStart();
        text.erase(static_cast<size_t>(start), static_cast<size_t>(SelectionEnd() - start));
        cursorPos = start;
    }
    text.insert(static_cast<size_t>(cursorPos), replacement);
    cursorPos += static_cast<int>(replacement.size());
    hiliteStart = -1;
}

EditWidget::Outcome EditWidget::TypeCharacter(char character)
{
    if (!HasSelection() && TextLength() >= kMaxTextLength) {
        return Outcome::Nothing;
    }
    const bool continuesRun =
        !HasSelection() && lastRun == EditRun::Insert && cursorPos == lastModPos;
    if (!continuesRun) {
        SaveUndo();
    }
    ReplaceSelection(std::string(1, character));
    lastRun = EditRun::Insert;
    lastModPos = cursorPos;
    return Outcome::Edited;
}

EditWidget::Outcome EditWidget::DeleteBackward()
{
    if (HasSelection()) {
        SaveUndo();
        ReplaceSelection(std::string());
        lastRun = EditRun::None;
        return Outcome::Edited;
    }
    if (cursorPos == 0) {
        return Outcome::Nothing;
    }
    if (lastRun != EditRun::Delete || cursorPos != lastModPos) {
        SaveUndo();
    }
    text.erase(static_cast<size_t>(cursorPos - 1), 1);
    --cursorPos;
    hiliteStart = -1;
    lastRun = EditRun::Delete;
    lastModPos = cursorPos;
    return Outcome::Edited;
}

EditWidget::Outcome EditWidget::DeleteForward()
{
    if (HasSelection()) {
        SaveUndo();
        ReplaceSelection(std::string());
        lastRun = EditRun::None;
        return Outcome::Edited;
    }
    if (cursorPos >= TextLength()) {
        return Outcome::Nothing;
    }
    if (lastRun != EditRun::Delete || cursorPos != lastModPos) {
        SaveUndo();
    }
    text.erase(static_cast<size_t>(cursorPos), 1);
    hiliteStart = -1;
    lastRun = EditRun::Delete;
    lastModPos = cursorPos;
    return Outcome::Edited;
}

EditWidget::Outcome EditWidget::CopySelection()
{
    if (!HasSelection()) {
        return Outcome::Nothing;
    }
    // The shown characters, so a password field never gives its text away.
    const int start = SelectionStart();
    if (manager != nullptr) {
        manager->SetClipboard(displayText.substr(static_cast<size_t>(start),
                                                 static_cast<size_t>(SelectionEnd() - start)));
    }
    return Outcome::Nothing;
}

EditWidget::Outcome EditWidget::CutSelection()
{
    if (!HasSelection()) {
        return Outcome::Nothing;
    }
    CopySelection();
    SaveUndo();
    ReplaceSelection(std::string());
    lastRun = EditRun::None;
    return Outcome::Edited;
}

EditWidget::Outcome EditWidget::Paste()
{
    if (manager == nullptr) {
        return Outcome::Nothing;
    }
    std::string pasted;
    for (const char character : manager->GetClipboard()) {
        // Line breaks and other control characters have no place in a one-line field.
        if (!IsPrintable(character)) {
            continue;
        }
        // A pasted text passes the same filter as typing, or it does not enter at all.
        if (listener != nullptr && !listener->AllowChar(id, character)) {
            return Outcome::Nothing;
        }
        pasted += character;
    }
    const int kept = TextLength() - (SelectionEnd() - SelectionStart());
    pasted.resize(std::min(pasted.size(), static_cast<size_t>(kMaxTextLength - kept)));
    if (pasted.empty()) {
        return Outcome::Nothing;
    }
    SaveUndo();
    ReplaceSelection(pasted);
    lastRun = EditRun::None;
    return Outcome::Edited;
}

EditWidget::Outcome EditWidget::SwapUndo()
{
    std::swap(text, undoText);
    std::swap(cursorPos, undoCursor);
    std::swap(hiliteStart, undoHilite);
    lastRun = EditRun::None;
    return Outcome::Undone;
}

// ---- width limit ----

void EditWidget::ApplyWidthLimit()
{
    if (widthFonts.empty()) {
        if (maxPixels > 0) {
            CutToWidth(*GetFont(), maxPixels);
        }
        return;
    }
    for (const WidthFont& entry : widthFonts) {
        const int limit = entry.maxWidth > 0 ? entry.maxWidth : maxPixels;
        if (limit > 0 && entry.font) {
            CutToWidth(*entry.font, limit);
        }
    }
}

void EditWidget::CutToWidth(Font& measure, int limit)
{
    if (measure.TextWidth(text) <= limit) {
        return;
    }
    // The longest start that fits; widths grow with length, so a binary search finds the
    // same text as dropping one character at a time, without measuring it again and again.
    size_t fits = 0;
    size_t tooLong = text.size();
    while (tooLong - fits > 1) {
        const size_t middle = fits + (tooLong - fits) / 2;
        if (measure.TextWidth(text.substr(0, middle)) <= limit) {
            fits = middle;
        } else {
            tooLong = middle;
        }
    }
    text.resize(fits);
}

// ---- words ----

bool EditWidget::IsWordChar(char character)
{
    const auto code = static_cast<unsigned char>(character);
    if ((code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
        (code >= '0' && code <= '9') || code == '_') {
        return true;
    }
    // Latin-1 letters, without the multiplication and division signs.
    return code >= 0xC0 && code != 0xD7 && code != 0xF7;
}

int EditWidget::WordStartBefore(int position)
{
    // Words are found in the shown text: a password field reveals no word breaks.
    while (position > 0 && !IsWordChar(displayText[static_cast<size_t>(position - 1)])) {
        --position;
    }
    while (position > 0 && IsWordChar(displayText[static_cast<size_t>(position - 1)])) {
        --position;
    }
    return position;
}

int EditWidget::NextWordStart(int position)
{
    const int length = static_cast<int>(displayText.size());
    while (position < length && IsWordChar(displayText[static_cast<size_t>(position)])) {
        ++position;
    }
    while (position < length && !IsWordChar(displayText[static_cast<size_t>(position)])) {
        ++position;
    }
    return position;
}

// ---- measuring ----

int EditWidget::DisplayWidth(int from, int to)
{
    if (to <= from) {
        return 0;
    }
    return GetFont()->TextWidth(
        displayText.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
}

int EditWidget::FittingChars(int start, int maxWidth)
{
    // Fonts measure a text as each character after its predecessor, so the width can be
    // summed up as far as it is needed instead of measuring the whole rest of the text.
    Font& measure = *GetFont();
    const int length = static_cast<int>(displayText.size());
    int total = 0;
    char previous = 0;
    int count = 0;
    for (int i = start; i < length; ++i) {
        const char character = displayText[static_cast<size_t>(i)];
        total += measure.CharWidthAfter(character, previous);
        if (total > maxWidth) {
            break;
        }
        previous = character;
        ++count;
    }
    return count;
}

int EditWidget::CharIndexAt(int px, int)
{
    Normalize();
    Font& measure = *GetFont();
    const int length = static_cast<int>(displayText.size());
    int result = leftPos;
    int before = 0;
    char previous = 0;
    for (int i = leftPos; i < length; ++i) {
        const char character = displayText[static_cast<size_t>(i)];
        const int after = before + measure.CharWidthAfter(character, previous);
        if (px < (before + after) / 2 + kHitOffset) {
            break;
        }
        result = i + 1;
        before = after;
        previous = character;
    }
    return result;
}

void EditWidget::EnsureCursorVisible(bool bigJump)
{
    Normalize();
    const int step = bigJump ? 10 : 1;
    const int startLeft = leftPos;
    while (cursorPos < leftPos) {
        leftPos = std::max(0, leftPos - step);
    }
    // Never past the last character, nor past the cursor, which must stay in view.
    const int rightmost = std::max(0, std::min(cursorPos, TextLength() - 1));
    const int limit = width - kRightMargin;
    if (leftPos < rightmost && DisplayWidth(leftPos, cursorPos) >= limit) {
        // The nearest start from which the cursor is in view, found by measuring back from
        // the cursor, then reached in whole steps as the step-by-step scroll would.
        Font& measure = *GetFont();
        int nearest = cursorPos;
        // The width of the characters from `nearest` to the cursor, grown one at a time:
        // the character that was first now follows the one put before it.
        int shown = 0;
        while (nearest > 0) {
            const char added = displayText[static_cast<size_t>(nearest - 1)];
            int wider = measure.CharWidthAfter(added, 0);
            if (nearest < cursorPos) {
                const char first = displayText[static_cast<size_t>(nearest)];
                wider +=
                    shown - measure.CharWidthAfter(first, 0) + measure.CharWidthAfter(first, added);
            }
            if (wider >= limit) {
                break;
            }
            shown = wider;
            --nearest;
        }
        const int steps = (nearest - leftPos + step - 1) / step;
        leftPos = std::min(rightmost, leftPos + steps * step);
    }
    if (leftPos != startLeft) {
        Invalidate();
    }
}

// ---- pointer and focus ----

void EditWidget::OnPointerEnter()
{
    if (manager != nullptr) {
        manager->SetCursor(CursorKind::TextBeam);
    }
}

void EditWidget::OnPointerLeave()
{
    if (manager != nullptr) {
        manager->SetCursor(CursorKind::Arrow);
    }
}

void EditWidget::OnPointerDown(int px, int py, int clickCode)
{
    Normalize();
    cursorPos = CharIndexAt(px, py);
    hiliteStart = -1;
    lastRun = EditRun::None;
    dragAnchor = cursorPos;
    dragPosition = cursorPos;
    if (clickCode == kClickLeftDouble) {
        int start = cursorPos;
        while (start > 0 && IsWordChar(displayText[static_cast<size_t>(start - 1)])) {
            --start;
        }
        int end = cursorPos;
        while (end < TextLength() && IsWordChar(displayText[static_cast<size_t>(end)])) {
            ++end;
        }
        if (start < end) {
            hiliteStart = start;
            cursorPos = end;
            dragAnchor = start;
        }
    }
    EnsureCursorVisible(false);
    cursorShown = hasFocus;
    blinkCount = 0;
    Invalidate();
}

void EditWidget::OnPointerDrag(int px, int py)
{
    Normalize();
    // Every button message comes after a move to where it happens, and a move that stays on
    // the same character must not undo a selection, such as the word of a double click.
    const int position = CharIndexAt(px, py);
    if (position == dragPosition) {
        return;
    }
    dragPosition = position;
    hiliteStart = std::min(dragAnchor, TextLength());
    cursorPos = position;
    EnsureCursorVisible(false);
    Invalidate();
}

void EditWidget::OnPointerUp(int, int)
{
    if (hiliteStart == cursorPos) {
        hiliteStart = -1;
        Invalidate();
    }
}

void EditWidget::OnFocusIn()
{
    Widget::OnFocusIn();
    cursorShown = true;
    blinkCount = 0;
    Invalidate();
}

void EditWidget::OnFocusOut()
{
    Widget::OnFocusOut();
    cursorShown = false;
    Invalidate();
}

void EditWidget::Tick()
{
    Widget::Tick();
    if (!hasFocus) {
        return;
    }
    if (++blinkCount > blinkDelay) {
        cursorShown = !cursorShown;
        blinkCount = 0;
        Invalidate();
    }
}

// ---- painting ----

void EditWidget::Paint(Graphics& graphics)
{
    Normalize();
    Font* shownFont = GetFont();
    graphics.SetColor(ColorAt(0));
    graphics.FillRect(0, 0, width, height);

    graphics.SaveState();
    graphics.NarrowClip(kTextInset, 0, width - 2 * kTextInset, height);
    graphics.SetFont(shownFont);
    const int textTop = (height - shownFont->GetHeight()) / 2;
    const int baseline = textTop + shownFont->GetAscent();
    // One character more than fits, for the one cut by the right edge.
    const int visibleEnd =
        std::min(TextLength(), leftPos + FittingChars(leftPos, width - 2 * kTextInset) + 1);

    graphics.SetColor(ColorAt(2));
    graphics.DrawText(
        displayText.substr(static_cast<size_t>(leftPos), static_cast<size_t>(visibleEnd - leftPos)),
        kTextInset, baseline);

    if (HasSelection()) {
        const int start = std::clamp(SelectionStart(), leftPos, visibleEnd);
        const int end = std::clamp(SelectionEnd(), leftPos, visibleEnd);
        if (start < end) {
            const int bandLeft = kTextInset + DisplayWidth(leftPos, start);
            const int bandRight = kTextInset + DisplayWidth(leftPos, end);
            graphics.SetColor(ColorAt(3));
            graphics.FillRect(bandLeft, textTop, bandRight - bandLeft, shownFont->GetHeight());
            graphics.SetColor(ColorAt(4));
            graphics.DrawText(
                displayText.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)),
                bandLeft, baseline);
        }
    }

    if (hasFocus && cursorShown && cursorPos >= leftPos && cursorPos <= visibleEnd) {
        const int cursorX = kTextInset + DisplayWidth(leftPos, cursorPos);
        graphics.SetColor(ColorAt(2));
        graphics.FillRect(cursorX, textTop, 1, shownFont->GetHeight());
    }
    graphics.RestoreState();

    graphics.SetColor(ColorAt(1));
    graphics.DrawRect(0, 0, width - 1, height - 1);
}

} // namespace Zorva
