#include "widgets/ListWidget.h"

#include "TextWidgetTestSupport.h"
#include "graphics/MemoryImage.h"
#include "widgets/InputCodes.h"
#include "widgets/ListListener.h"
#include "widgets/ListScrollbar.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using TextWidgetTest::BlockFont;
using TextWidgetTest::PixelAt;
using TextWidgetTest::RecordingHost;
using Zorva::Color;
using Zorva::CursorKind;
using Zorva::kClickLeft;
using Zorva::kClickLeftDouble;
using Zorva::ListWidget;

namespace {

class RecordingListener : public Zorva::ListListener
{
public:
    void OnListClicked(int id, int index, int clickCount) override
    {
        events.push_back("click " + std::to_string(id) + " " + std::to_string(index) + " " +
                         std::to_string(clickCount));
    }
    void OnListHiliteChanged(int id, int oldIndex, int newIndex) override
    {
        events.push_back("hilite " + std::to_string(id) + " " + std::to_string(oldIndex) + " " +
                         std::to_string(newIndex));
    }
    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(events);
        return taken;
    }

    std::vector<std::string> events;
};

/// Keeps its value within 0..max - page and reports every move, as a scroll bar does.
class FakeScrollbar : public Zorva::ListScrollbar
{
public:
    explicit FakeScrollbar(Zorva::ScrollListener* newTarget) : target(newTarget) {}

    void SetMaxValue(double value) override
    {
        maxValue = value;
        SetValue(current);
    }
    void SetPageSize(double value) override
    {
        pageSize = value;
        SetValue(current);
    }
    void SetValue(double value) override
    {
        current = std::clamp(value, 0.0, std::max(0.0, maxValue - pageSize));
        target->OnScrolled(7, current);
    }
    double GetValue() const override { return current; }

    Zorva::ScrollListener* target;
    double maxValue = 0;
    double pageSize = 0;
    double current = 0;
};

/// Two linked columns side by side, 50 by 40 each, with 12-pixel lines: two lines a page.
struct Fixture
{
    Fixture() : left(1, &listener), right(2, &listener)
    {
        manager.Resize(100, 60);
        screen.Create(100, 60);
        screen.Clear();
        manager.SetScreenImage(&screen);
        for (ListWidget* list : {&left, &right}) {
            list->SetFont(&font);
            manager.AddWidget(list);
        }
        left.Place(0, 0, 50, 40);
        right.Place(50, 0, 50, 40);
        left.LinkChild(&right);
    }
    void Fill(const std::vector<std::string>& leftLines, const std::vector<std::string>& rightLines)
    {
        for (const std::string& line : leftLines) {
            left.AddLine(line, false);
        }
        for (const std::string& line : rightLines) {
            right.AddLine(line, false);
        }
    }

    RecordingHost host;
    Zorva::WidgetManager manager{&host};
    Zorva::MemoryImage screen;
    BlockFont font;
    RecordingListener listener;
    ListWidget left;
    ListWidget right;
};

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kHiliteGreen = 0xFF00C000u;
constexpr uint32_t kSelectNavy = 0xFF000080u;

} // namespace

TEST(ListWidgetTest, Linked_HiliteSelectAndClickAcrossColumns)
{
    Fixture f;
    f.Fill({"a", "b", "c"}, {"1", "2", "3"});
    f.manager.PointerMove(10, 4 + 12 + 3);
    EXPECT_EQ(f.left.hiliteIndex, 1);
    EXPECT_EQ(f.right.hiliteIndex, 1);
    EXPECT_EQ(f.listener.Take(), (std::vector<std::string>{"hilite 1 -1 1", "hilite 2 -1 1"}));
    EXPECT_EQ(f.host.LastCursor(), CursorKind::Hand);

    // Below the last line shown nothing is hilited.
    f.manager.PointerMove(10, 37);
    EXPECT_EQ(f.right.hiliteIndex, -1);
    EXPECT_EQ(f.host.LastCursor(), CursorKind::Arrow);

    f.manager.PointerMove(60, 5);
    f.manager.PointerDown(60, 5, kClickLeftDouble);
    f.manager.PointerUp(60, 5, kClickLeft);
    EXPECT_EQ(f.left.hiliteIndex, 0);
    f.listener.Take();
    f.manager.PointerMove(60, 55);
    EXPECT_EQ(f.left.hiliteIndex, -1);
    EXPECT_EQ(f.right.hiliteIndex, -1);
    f.right.SetSelect(2);
    EXPECT_EQ(f.left.selectIndex, 2);
    f.right.SetSelect(9);
    EXPECT_EQ(f.left.selectIndex, -1);

    Fixture g;
    g.Fill({"a"}, {"1"});
    g.manager.PointerMove(60, 5);
    g.manager.PointerDown(60, 5, kClickLeftDouble);
    EXPECT_EQ(g.listener.Take().back(), "click 2 0 2");
    // A shorter column has no line to hilite.
    g.manager.PointerUp(60, 5, kClickLeft);
    g.left.AddLine("b", false);
    g.manager.PointerMove(10, 4 + 12 + 3);
    EXPECT_EQ(g.left.hiliteIndex, 1);
    EXPECT_EQ(g.right.hiliteIndex, -1);

    // No loops of columns; a destroyed column leaves no pointer behind.
    EXPECT_FALSE(g.right.LinkChild(&g.left));
    {
        ListWidget third(3, nullptr);
        ASSERT_TRUE(g.right.LinkChild(&third));
        EXPECT_EQ(g.left.LinkedGroup().size(), 3u);
    }
    EXPECT_EQ(g.right.childList, nullptr);
    EXPECT_EQ(g.left.LinkedGroup().size(), 2u);
}

TEST(ListWidgetTest, Sort_PaddedKeysChildFirstAndRowsStayTogether)
{
    Fixture f;
    f.Fill({"Cy", "Al", "Bo"}, {"9", "100", "10"});
    f.left.sortByChildFirst = true;
    f.left.SetSelect(1);
    f.left.Sort(true);
    EXPECT_EQ(f.left.lines, (std::vector<std::string>{"Bo", "Al", "Cy"}));
    EXPECT_EQ(f.right.lines, (std::vector<std::string>{"10", "100", "9"}));

    f.right.sortPadLength = 3;
    f.left.Sort(true);
    EXPECT_EQ(f.left.lines, (std::vector<std::string>{"Cy", "Bo", "Al"}));
    EXPECT_EQ(f.right.lines, (std::vector<std::string>{"9", "10", "100"}));
    EXPECT_EQ(f.left.GetSortKey(0), std::string("009\x01"
                                                "Cy"));
    // The selection follows its row.
    EXPECT_EQ(f.left.selectIndex, 2);
    EXPECT_EQ(f.right.selectIndex, 2);

    f.left.Sort(false);
    EXPECT_EQ(f.left.lines, (std::vector<std::string>{"Al", "Bo", "Cy"}));

    // A name sorts before a longer one it begins, whatever the next column holds.
    Fixture g;
    g.Fill({"Alan", "Al"}, {"Bo", "zed"});
    g.left.Sort(true);
    EXPECT_EQ(g.left.lines, (std::vector<std::string>{"Al", "Alan"}));
    EXPECT_EQ(g.right.lines, (std::vector<std::string>{"zed", "Bo"}));
}

TEST(ListWidgetTest, Lines_AddFindColourRemoveKeepSelectionAndTellTheBar)
{
    Fixture f;
    FakeScrollbar bar(&f.left);
    f.left.SetScrollbar(&bar);
    f.left.AddLine("b", false);
    f.left.AddLine("d", false);
    f.left.SetSelect(1);
    EXPECT_EQ(f.left.AddLine("c", true), 1);
    EXPECT_EQ(f.left.AddLine("a", true), 0);
    EXPECT_EQ(f.left.AddLine("e", true), 4);
    EXPECT_EQ(f.left.AddLine("0", false), 5);
    EXPECT_EQ(f.left.selectIndex, 3);
    EXPECT_EQ(f.left.GetLine(3), "d");
    EXPECT_EQ(bar.maxValue, 6);
    EXPECT_EQ(f.left.FindLine("c"), 2);
    EXPECT_EQ(f.left.FindLine("zz"), -1);
    EXPECT_EQ(f.left.GetLine(99), "");

    f.right.AddLine("x", false);
    f.right.AddLine("y", false);
    f.right.AddLine("z", false);
    f.left.SetLineColor("c", Color(255, 0, 0));
    ASSERT_EQ(f.right.lineColors.size(), 3u);
    EXPECT_EQ(f.right.lineColors[2], Color(255, 0, 0));
    EXPECT_EQ(f.left.lineColors[2], Color(255, 0, 0));

    f.left.RemoveLine(0);
    EXPECT_EQ(f.left.selectIndex, 2);
    f.left.RemoveLine(2);
    EXPECT_EQ(f.left.selectIndex, -1);
    f.left.RemoveLine(-1);
    f.left.SetLine(40, "q");
    EXPECT_EQ(f.left.lines, (std::vector<std::string>{"b", "c", "e", "0"}));
    EXPECT_EQ(bar.maxValue, 4);
    EXPECT_EQ(f.left.OptimalWidth(), 6 + 8);
    EXPECT_EQ(f.left.OptimalHeight(), 4 * 12 + 8);

    f.left.RemoveAll();
    EXPECT_EQ(f.left.LineCount(), 0);
    EXPECT_EQ(bar.maxValue, 0);
    EXPECT_EQ(f.left.position, 0);
    f.left.SetScrollbar(nullptr);
}

TEST(ListWidgetTest, Scrolling_WheelMovesTheBarAndReportsMoveBothColumns)
{
    Fixture f;
    std::vector<std::string> names;
    std::vector<std::string> numbers;
    for (int i = 0; i < 10; ++i) {
        names.push_back(std::string(1, static_cast<char>('a' + i)));
        numbers.push_back(std::to_string(i));
    }
    f.Fill(names, numbers);
    FakeScrollbar bar(&f.left);
    f.left.SetScrollbar(&bar);
    EXPECT_EQ(bar.maxValue, 10);
    EXPECT_EQ(bar.pageSize, 2);

    f.manager.SetFocus(&f.left);
    f.manager.Wheel(-1);
    EXPECT_EQ(bar.current, 5);
    EXPECT_EQ(f.left.position, 5);
    EXPECT_EQ(f.right.position, 5);
    f.manager.Wheel(1);
    EXPECT_EQ(f.right.position, 0);
    f.manager.Wheel(-3);
    EXPECT_EQ(f.left.position, 8);

    // Line 8 is now at the top, and it is the one under the pointer.
    f.left.SetLineColor("i", Color(255, 0, 0));
    f.manager.DrawScreen();
    EXPECT_EQ(PixelAt(f.screen, 6, 10), kRed);
    f.manager.PointerMove(10, 5);
    EXPECT_EQ(f.left.hiliteIndex, 8);

    // The page follows the height; a font of no height divides nothing by zero.
    f.left.Place(0, 0, 50, 15);
    EXPECT_EQ(bar.pageSize, 1);
    f.left.Place(0, 0, 50, 64);
    EXPECT_EQ(f.left.pageSize, 4);
    const BlockFont flat(6, 0, 0);
    f.left.SetFont(&flat);
    EXPECT_EQ(f.left.pageSize, 56);
    f.left.SetScrollbar(nullptr);
}

TEST(ListWidgetTest, Paint_BandsColoursJustifyOutlineAndClip)
{
    Fixture f;
    f.manager.RemoveWidget(&f.right);
    f.Fill({"a", "b", "c", "wwwwwwwwwwww"}, {});
    f.left.SetColorAt(1, Color(0, 0, 0));
    f.left.SetSelect(0);
    f.left.hiliteIndex = 1;
    f.left.SetLineColor("c", Color(255, 0, 0));
    ASSERT_TRUE(f.manager.DrawScreen());
    // Line i spans rows 4 + 12i .. 15 + 12i; its glyph block rows 6 + 12i .. 13 + 12i.
    EXPECT_EQ(PixelAt(f.screen, 0, 0), kBlack);
    EXPECT_EQ(PixelAt(f.screen, 49, 39), kBlack);
    EXPECT_EQ(PixelAt(f.screen, 20, 5), kSelectNavy);
    EXPECT_EQ(PixelAt(f.screen, 6, 10), kWhite);
    EXPECT_EQ(PixelAt(f.screen, 6, 20), kHiliteGreen);
    EXPECT_EQ(PixelAt(f.screen, 20, 20), kWhite);
    EXPECT_EQ(PixelAt(f.screen, 6, 31), kRed);
    // The clip stops line 2 at row 35, and line 3 is not drawn at all.
    EXPECT_EQ(PixelAt(f.screen, 6, 36), kWhite);
    EXPECT_EQ(PixelAt(f.screen, 6, 38), kWhite);
    EXPECT_EQ(PixelAt(f.screen, 2, 20), kWhite);

    f.left.justify = Zorva::ListJustify::Right;
    f.left.Invalidate();
    ASSERT_TRUE(f.manager.DrawScreen());
    EXPECT_EQ(PixelAt(f.screen, 6, 20), kWhite);
    EXPECT_EQ(PixelAt(f.screen, 42, 20), kHiliteGreen);
}
