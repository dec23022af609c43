#include "widgets/ListWidget.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/SysFont.h"
#include "widgets/ListListener.h"
#include "widgets/ListScrollbar.h"
#include "widgets/WidgetManager.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Zorva {

namespace {

/// The lines sit this far inside the list.
constexpr int kInset = 4;
/// Between the keys of two columns; below every printable character, so a text sorts
/// before a longer one it begins.
constexpr char kColumnKeySeparator = '\x01';

int JustificationCode(ListJustify justify)
{
    // The drawing context's codes: 0 centres, 1 aligns right, anything else left.
    switch (justify) {
    case ListJustify::Center:
        return 0;
    case ListJustify::Right:
        return 1;
    case ListJustify::Left:
        break;
    }
    return -1;
}

/// The members of a chain of columns from `start` down, each once.
std::vector<ListWidget*> ChainFrom(ListWidget* start)
{
    std::vector<ListWidget*> chain;
    for (ListWidget* at = start; at != nullptr; at = at->childList) {
        if (std::find(chain.begin(), chain.end(), at) != chain.end()) {
            break;
        }
        chain.push_back(at);
    }
    return chain;
}

} // namespace

ListWidget::ListWidget(int newId, ListListener* newListener) : id(newId), listener(newListener)
{
    colors = {Color(255, 255, 255), Color(255, 255, 255), Color(0, 0, 0),
              Color(0, 192, 0),     Color(0, 0, 128),     Color(255, 255, 255)};
}

ListWidget::~ListWidget()
{
    if (parentList != nullptr && parentList->childList == this) {
        parentList->childList = nullptr;
    }
    if (childList != nullptr && childList->parentList == this) {
        childList->parentList = nullptr;
    }
}

// ---- fonts and sizes ----

Font* ListWidget::GetFont()
{
    if (!font) {
        font = std::make_unique<SysFont>("SansSerif", 10);
        itemHeight = font->GetHeight();
    }
    return font.get();
}

void ListWidget::SetFont(const Font* newFont)
{
    font = newFont != nullptr ? newFont->Duplicate() : nullptr;
    itemHeight = GetFont()->GetHeight();
    UpdatePageSize();
    Invalidate();
}

int ListWidget::LineHeight()
{
    GetFont();
    // A font that failed to load measures 0; a line is never less than a pixel high.
    return std::max(1, itemHeight);
}

void ListWidget::Place(int newX, int newY, int newWidth, int newHeight)
{
    Widget::Place(newX, newY, newWidth, newHeight);
    UpdatePageSize();
}

void ListWidget::UpdatePageSize()
{
    const int lineHeight = LineHeight();
    pageSize = lineHeight + 2 * kInset < height ? (height - 2 * kInset) / lineHeight : 1;
    if (scrollbar != nullptr) {
        scrollbar->SetPageSize(pageSize);
    }
}

void ListWidget::SetScrollbar(ListScrollbar* bar)
{
    scrollbar = bar;
    if (scrollbar != nullptr) {
        scrollbar->SetMaxValue(LineCount());
        scrollbar->SetPageSize(pageSize);
        scrollbar->SetValue(SafePosition());
    }
}

void ListWidget::TellLineCount()
{
    if (scrollbar != nullptr) {
        scrollbar->SetMaxValue(LineCount());
    }
}

int ListWidget::OptimalWidth()
{
    Font& measure = *GetFont();
    int widest = 0;
    for (const std::string& line : lines) {
        widest = std::max(widest, measure.TextWidth(line));
    }
    return widest + 2 * kInset;
}

int ListWidget::OptimalHeight()
{
    return LineCount() * LineHeight() + 2 * kInset;
}

double ListWidget::SafePosition() const
{
    if (!std::isfinite(position)) {
        return 0;
    }
    return std::clamp(position, 0.0, static_cast<double>(lines.size()));
}

// ---- linked columns ----

bool ListWidget::LinkChild(ListWidget* child)
{
    if (child == nullptr) {
        if (childList != nullptr && childList->parentList == this) {
            childList->parentList = nullptr;
        }
        childList = nullptr;
        return true;
    }
    const std::vector<ListWidget*> group = LinkedGroup();
    if (std::find(group.begin(), group.end(), child) != group.end() ||
        child->parentList != nullptr) {
        return false;
    }
    if (childList != nullptr) {
        childList->parentList = nullptr;
    }
    childList = child;
    child->parentList = this;
    return true;
}

std::vector<ListWidget*> ListWidget::LinkedGroup()
{
    std::vector<ListWidget*> upward{this};
    ListWidget* first = this;
    while (first->parentList != nullptr &&
           std::find(upward.begin(), upward.end(), first->parentList) == upward.end()) {
        first = first->parentList;
        upward.push_back(first);
    }
    std::vector<ListWidget*> group = ChainFrom(first);
    if (std::find(group.begin(), group.end(), this) == group.end()) {
        // Links set by hand that do not form one chain: this list still counts itself.
        group.push_back(this);
    }
    return group;
}

// ---- lines ----

std::string ListWidget::GetLine(int index) const
{
    if (index < 0 || index >= LineCount()) {
        return std::string();
    }
    return lines[static_cast<size_t>(index)];
}

int ListWidget::LineCount() const
{
    return static_cast<int>(lines.size());
}

int ListWidget::FindLine(const std::string& lineText) const
{
    const auto found = std::find(lines.begin(), lines.end(), lineText);
    return found == lines.end() ? -1 : static_cast<int>(found - lines.begin());
}

std::string ListWidget::PaddedText(int index) const
{
    std::string padded = GetLine(index);
    if (static_cast<int>(padded.size()) < sortPadLength) {
        padded.insert(0, static_cast<size_t>(sortPadLength) - padded.size(), '0');
    }
    return padded;
}

int ListWidget::AddLine(const std::string& lineText, bool sorted)
{
    int index = LineCount();
    if (sorted) {
        std::string key = lineText;
        if (static_cast<int>(key.size()) < sortPadLength) {
            key.insert(0, static_cast<size_t>(sortPadLength) - key.size(), '0');
        }
        index = 0;
        while (index < LineCount() && !(key < PaddedText(index))) {
            ++index;
        }
    }
    lines.insert(lines.begin() + index, lineText);
    lineColors.resize(lines.size() - 1);
    lineColors.insert(lineColors.begin() + index, std::nullopt);
    ShiftIndices(index, 1);
    TellLineCount();
    Invalidate();
    return index;
}

void ListWidget::SetLine(int index, const std::string& lineText)
{
    if (index < 0 || index >= LineCount()) {
        return;
    }
    lines[static_cast<size_t>(index)] = lineText;
    Invalidate();
}

void ListWidget::SetLineColor(const std::string& lineText, const Color& color)
{
    const int index = FindLine(lineText);
    if (index < 0) {
        return;
    }
    for (ListWidget* column : LinkedGroup()) {
        if (index < column->LineCount()) {
            column->lineColors.resize(column->lines.size());
            column->lineColors[static_cast<size_t>(index)] = color;
            column->Invalidate();
        }
    }
}

void ListWidget::RemoveLine(int index)
{
    if (index < 0 || index >= LineCount()) {
        return;
    }
    lines.erase(lines.begin() + index);
    if (static_cast<size_t>(index) < lineColors.size()) {
        lineColors.erase(lineColors.begin() + index);
    }
    ShiftIndices(index, -1);
    TellLineCount();
    Invalidate();
}

void ListWidget::RemoveAll()
{
    lines.clear();
    lineColors.clear();
    selectIndex = -1;
    hiliteIndex = -1;
    position = 0;
    if (scrollbar != nullptr) {
        scrollbar->SetMaxValue(0);
        scrollbar->SetValue(0);
    }
    Invalidate();
}

void ListWidget::ShiftIndices(int index, int shift)
{
    for (int* tracked : {&selectIndex, &hiliteIndex}) {
        if (*tracked < 0) {
            continue;
        }
        if (shift < 0 && *tracked == index) {
            *tracked = -1;
        } else if (*tracked >= index) {
            *tracked += shift;
        }
    }
}

void ListWidget::SetSelect(int index)
{
    for (ListWidget* column : LinkedGroup()) {
        column->selectIndex = index >= 0 && index < column->LineCount() ? index : -1;
        column->Invalidate();
    }
}

// ---- sorting ----

std::string ListWidget::GetSortKey(int index)
{
    const std::vector<ListWidget*> chain = ChainFrom(this);
    // Built from the last column back, so each column's key holds those after it.
    std::string key = chain.back()->PaddedText(index);
    for (auto it = std::next(chain.rbegin()); it != chain.rend(); ++it) {
        const std::string own = (*it)->PaddedText(index);
        key = (*it)->sortByChildFirst ? key + kColumnKeySeparator + own
                                      : own + kColumnKeySeparator + key;
    }
    return key;
}

void ListWidget::Sort(bool ascending)
{
    const int count = LineCount();
    std::vector<std::string> keys;
    keys.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        keys.push_back(GetSortKey(i));
    }
    std::vector<size_t> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return ascending ? keys[a] < keys[b] : keys[b] < keys[a];
    });

    // The selected line keeps its selection wherever it moves.
    const int oldSelect = selectIndex;
    int newSelect = -1;
    for (size_t i = 0; i < order.size(); ++i) {
        if (static_cast<int>(order[i]) == oldSelect) {
            newSelect = static_cast<int>(i);
        }
    }
    // Columns of another length cannot follow the rows; they stay as they are.
    for (ListWidget* column : LinkedGroup()) {
        if (column->LineCount() != count) {
            continue;
        }
        column->lineColors.resize(column->lines.size());
        std::vector<std::string> sortedLines;
        std::vector<std::optional<Color>> sortedColors;
        sortedLines.reserve(order.size());
        sortedColors.reserve(order.size());
        for (const size_t from : order) {
            sortedLines.push_back(std::move(column->lines[from]));
            sortedColors.push_back(column->lineColors[from]);
        }
        column->lines = std::move(sortedLines);
        column->lineColors = std::move(sortedColors);
        if (column->selectIndex == oldSelect) {
            column->selectIndex = newSelect;
        }
        column->Invalidate();
    }
}

// ---- pointer, wheel and scrolling ----

int ListWidget::LineAt(int py)
{
    if (py < kInset || py >= height - kInset) {
        return -1;
    }
    const double line =
        std::floor(static_cast<double>(py - kInset) / LineHeight() + SafePosition());
    if (line < 0 || line >= LineCount()) {
        return -1;
    }
    return static_cast<int>(line);
}

void ListWidget::SetGroupHilite(int index)
{
    for (ListWidget* column : LinkedGroup()) {
        // A shorter column has no such line to hilite, and must never report one.
        const int line = index < column->LineCount() ? index : -1;
        const int old = column->hiliteIndex;
        if (old == line) {
            continue;
        }
        column->hiliteIndex = line;
        column->Invalidate();
        if (column->listener != nullptr) {
            column->listener->OnListHiliteChanged(column->id, old, line);
        }
    }
}

void ListWidget::OnPointerMove(int, int py)
{
    const int line = LineAt(py);
    if (line != hiliteIndex) {
        SetGroupHilite(line);
    }
    if (manager != nullptr) {
        manager->SetCursor(hiliteIndex >= 0 && handOverLines ? CursorKind::Hand
                                                             : CursorKind::Arrow);
    }
}

void ListWidget::OnPointerLeave()
{
    SetGroupHilite(-1);
    if (manager != nullptr) {
        manager->SetCursor(CursorKind::Arrow);
    }
}

void ListWidget::OnPointerDown(int, int, int clickCode)
{
    if (hiliteIndex >= 0 && listener != nullptr) {
        // The listener may close the list; nothing is touched after.
        listener->OnListClicked(id, hiliteIndex, clickCode);
    }
}

void ListWidget::OnWheel(int delta)
{
    if (scrollbar != nullptr) {
        scrollbar->SetValue(scrollbar->GetValue() - static_cast<double>(kWheelLines) * delta);
    }
}

void ListWidget::OnScrolled(int, double newPosition)
{
    for (ListWidget* column : ChainFrom(this)) {
        column->position = newPosition;
        column->Invalidate();
    }
}

Rect ListWidget::VisibleLineRect(int index)
{
    const double first = SafePosition();
    if (index < static_cast<int>(first) || index >= LineCount()) {
        return Rect();
    }
    const int lineHeight = LineHeight();
    const int top = kInset + static_cast<int>(std::floor((index - first) * lineHeight));
    if (top < kInset || top >= height - kInset) {
        return Rect();
    }
    return Rect(kInset, top, width - 2 * kInset, std::min(lineHeight, height - kInset - top));
}

// ---- painting ----

void ListWidget::Paint(Graphics& graphics)
{
    Font* shownFont = GetFont();
    const int lineHeight = LineHeight();
    graphics.SetColor(ColorAt(0));
    graphics.FillRect(0, 0, width, height);

    graphics.SaveState();
    graphics.NarrowClip(kInset, kInset, width - 2 * kInset, height - 2 * kInset);
    graphics.SetFont(shownFont);
    // Lines are the players' own text: a caret is a caret, not a colour code.
    graphics.SetColorCodes(false);
    const double first = SafePosition();
    const int justification = JustificationCode(justify);
    for (int i = static_cast<int>(first); i < LineCount(); ++i) {
        const int top = kInset + static_cast<int>(std::floor((i - first) * lineHeight));
        if (top >= height - kInset) {
            break;
        }
        Color textColor = ColorAt(2);
        if (i == selectIndex) {
            graphics.SetColor(ColorAt(4));
            graphics.FillRect(kInset, top, width - 2 * kInset, lineHeight);
            textColor = ColorAt(5);
        } else if (i == hiliteIndex) {
            textColor = ColorAt(3);
        } else if (static_cast<size_t>(i) < lineColors.size() &&
                   lineColors[static_cast<size_t>(i)].has_value()) {
            textColor = *lineColors[static_cast<size_t>(i)];
        }
        graphics.SetColor(textColor);
        graphics.DrawTextLine(lines[static_cast<size_t>(i)], kInset, top + shownFont->GetAscent(),
                              width - 2 * kInset, justification);
    }
    graphics.RestoreState();

    if (drawOutline) {
        graphics.SetColor(ColorAt(1));
        graphics.DrawRect(0, 0, width - 1, height - 1);
    }
}

} // namespace Zorva
