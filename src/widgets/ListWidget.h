#pragma once

#include "widgets/ScrollListener.h"
#include "widgets/Widget.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Zorva {

class Font;
class Graphics;
class ListListener;
class ListScrollbar;

/// Where a list line sits in the list's width.
enum class ListJustify
{
    Left,
    Center,
    Right,
};

/// A scrolling list of text lines that hilites the line under the pointer and reports
/// clicks. Lists can be linked into columns (`parentList`, `childList`) that scroll, hilite,
/// select and sort together. It follows its scroll bar as the bar's ScrollListener.
///
/// The listener, the scroll bar and linked lists are not owned. A list unlinks itself from
/// its neighbours when destroyed; the scroll bar must be detached (SetScrollbar(nullptr))
/// before it goes.
class ListWidget : public Widget, public ScrollListener
{
public:
    /// The scroll bar moves this many lines per wheel step.
    static constexpr int kWheelLines = 5;

    ListWidget(int id, ListListener* listener);
    ~ListWidget() override;

    using Widget::Place;
    /// Also fits the page size to the new height.
    void Place(int newX, int newY, int newWidth, int newHeight) override;
    void Paint(Graphics& graphics) override;
    void OnPointerMove(int px, int py) override;
    void OnPointerLeave() override;
    void OnPointerDown(int px, int py, int clickCode) override;
    void OnWheel(int delta) override;
    void OnScrolled(int scrollId, double newPosition) override;

    /// The line left-padded with "0" to `sortPadLength`, with the keys of the linked columns
    /// after it (or before it with `sortByChildFirst`).
    virtual std::string GetSortKey(int index);
    /// Sorts the lines of every linked column together, by sort key.
    virtual void Sort(bool ascending);
    /// Empty when out of range.
    virtual std::string GetLine(int index) const;
    /// Appends, or with `sorted` inserts after the lines whose padded text is not greater.
    /// Returns the new line's index.
    virtual int AddLine(const std::string& lineText, bool sorted);
    virtual void SetLine(int index, const std::string& lineText);
    virtual int LineCount() const;
    /// The first line equal to `lineText`, or -1.
    virtual int FindLine(const std::string& lineText) const;
    /// Colours the line equal to `lineText`, and the same line of every linked column.
    virtual void SetLineColor(const std::string& lineText, const Color& color);
    virtual void RemoveLine(int index);
    virtual void RemoveAll();
    /// Wide enough for the widest line.
    virtual int OptimalWidth();
    /// High enough for every line.
    virtual int OptimalHeight();
    /// Selects line `index` (-1: none) in every linked column.
    virtual void SetSelect(int index);

    /// Shows the lines in a copy of `newFont` (null: the default font).
    void SetFont(const Font* newFont);
    /// The font of the lines; the default "SansSerif" 10 is made when first needed.
    Font* GetFont();
    /// The bar is told the line count, the page size and the position at once.
    void SetScrollbar(ListScrollbar* bar);
    /// Makes `child` the next column. Refused when it would close a loop of columns.
    bool LinkChild(ListWidget* child);
    /// The linked columns from the first down the child chain, each once.
    std::vector<ListWidget*> LinkedGroup();

    int id = 0;
    std::vector<std::string> lines;
    /// A line's own colour; none: colour 2.
    std::vector<std::optional<Color>> lineColors;
    std::unique_ptr<Font> font;
    /// The height of one line; the font's height when the font is set.
    int itemHeight = 0;
    /// The first visible line (fractions scroll by pixels).
    double position = 0;
    int pageSize = 0;
    int selectIndex = -1;
    int hiliteIndex = -1;
    ListJustify justify = ListJustify::Left;
    ListListener* listener = nullptr;
    ListScrollbar* scrollbar = nullptr;
    ListWidget* parentList = nullptr;
    ListWidget* childList = nullptr;
    int sortPadLength = 0;
    bool sortByChildFirst = false;
    bool drawOutline = true;
    /// Shows the hand cursor while a line is hilited.
    bool handOverLines = true;

    /// Where line `index` is drawn, relative to the list; an empty rect when it lies outside
    /// the lines in view.
    Rect VisibleLineRect(int index);

private:
    int LineHeight();
    int LineAt(int py);
    /// `position` as a line number inside the list (0 for a value that is not a number).
    double SafePosition() const;
    void SetGroupHilite(int index);
    void UpdatePageSize();
    void TellLineCount();
    /// Keeps the select and hilite indices on their lines after line `index` was inserted
    /// (`shift` 1) or removed (`shift` -1).
    void ShiftIndices(int index, int shift);
    std::string PaddedText(int index) const;
};

} // namespace Zorva
