#include "widgets/WidgetManager.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "widgets/InputCodes.h"
#include "widgets/Widget.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using Zorva::Color;
using Zorva::Graphics;
using Zorva::kClickLeft;
using Zorva::kClickMiddle;
using Zorva::kClickRight;
using Zorva::MemoryImage;
using Zorva::Widget;
using Zorva::WidgetManager;

namespace {

/// Records the hooks it receives and paints itself in one colour.
class Probe : public Widget
{
public:
    Probe(std::vector<std::string>* newLog, std::string newName, int px, int py, int w, int h)
        : log(newLog), name(std::move(newName))
    {
        x = px;
        y = py;
        width = w;
        height = h;
    }

    bool AcceptsFocus() override { return focusable; }
    bool IsHitAt(int px, int) override { return !leftHalfHollow || px >= width / 2; }
    void Tick() override
    {
        Widget::Tick();
        Note("tick");
        if (onTick) {
            onTick();
        }
    }
    void Paint(Graphics& g) override
    {
        ++paints;
        g.SetColor(paintColor);
        g.FillRect(0, 0, width, height);
        if (overlayPriority >= 0 && manager != nullptr) {
            manager->AddOverlay(this, overlayPriority);
        }
    }
    void PaintOverlay(Graphics& g) override
    {
        g.SetColor(overlayColor);
        g.FillRect(overlayRect);
    }
    void OnPointerEnter() override { Note("enter"); }
    void OnPointerLeave() override { Note("leave"); }
    void OnPointerDrag(int px, int py) override
    {
        Note("drag " + std::to_string(px) + "," + std::to_string(py));
    }
    void OnButtonDown(int px, int py, int button, int clicks) override
    {
        Note("down " + std::to_string(button) + "x" + std::to_string(clicks) + " at " +
             std::to_string(px) + "," + std::to_string(py));
    }
    void OnButtonUp(int, int, int button, int) override { Note("up " + std::to_string(button)); }
    void OnFocusIn() override
    {
        Widget::OnFocusIn();
        Note("focus in");
    }
    void OnFocusOut() override
    {
        Widget::OnFocusOut();
        Note("focus out");
    }
    void OnKeyDown(int key) override
    {
        Note("key " + std::to_string(key));
        Widget::OnKeyDown(key);
    }
    void OnKeyUp(int key) override { Note("keyup " + std::to_string(key)); }
    void OnChar(char c) override { Note(std::string("char ") + c); }
    void OnWheel(int delta) override { Note("wheel " + std::to_string(delta)); }

    std::vector<std::string>* log;
    std::string name;
    bool focusable = false;
    bool leftHalfHollow = false;
    int paints = 0;
    Color paintColor = Color::kWhite;
    int overlayPriority = -1;
    Color overlayColor = Color::kBlack;
    Zorva::Rect overlayRect;
    std::function<void()> onTick;

private:
    void Note(const std::string& what) { log->push_back(name + " " + what); }
};

struct Fixture
{
    Fixture()
    {
        manager.Resize(8, 8);
        screen.Create(8, 8);
        screen.Clear();
        manager.SetScreenImage(&screen);
    }
    /// The log since the last call.
    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(log);
        return taken;
    }
    using Log = std::vector<std::string>;

    std::vector<std::string> log;
    WidgetManager manager;
    MemoryImage screen;
};

} // namespace

TEST(WidgetManagerTest, Modal_DefaultMasksCutOffWidgetsBelowUntilPopped)
{
    Fixture f;
    Probe below(&f.log, "below", 0, 0, 4, 8);
    Probe dialog(&f.log, "dialog", 4, 0, 4, 8);
    below.focusable = true;
    f.manager.AddWidget(&below);
    f.manager.AddWidget(&dialog);
    f.manager.OnAppFocusIn();
    f.manager.PointerDown(1, 1, kClickLeft);
    ASSERT_EQ(f.manager.downWidget, &below);
    ASSERT_EQ(f.manager.focusWidget, &below);
    f.Take();

    // Pushing releases the held button, the hover and the focus of the widget below at once.
    f.manager.PushModal(&dialog);
    EXPECT_EQ(f.Take(), (Fixture::Log{"below leave", "below up 0", "below focus out"}));
    EXPECT_EQ(f.manager.downWidget, nullptr);
    EXPECT_FALSE(below.isDown);
    EXPECT_EQ(f.manager.focusWidget, nullptr);

    f.manager.PointerUp(1, 1, kClickLeft);
    f.manager.PointerMove(2, 2);
    f.manager.PointerDown(2, 2, kClickLeft);
    f.manager.PointerUp(2, 2, kClickLeft);
    f.manager.SetFocus(&below);
    EXPECT_EQ(f.Take(), Fixture::Log{});
    EXPECT_EQ(f.manager.focusWidget, nullptr);

    // The layer itself still gets the pointer; widgets below still tick.
    f.manager.PointerMove(5, 2);
    EXPECT_EQ(f.Take(), Fixture::Log{"dialog enter"});
    f.manager.UpdateFrame();
    EXPECT_EQ(f.Take(), (Fixture::Log{"below tick", "dialog tick"}));

    f.manager.PopModal(&dialog);
    EXPECT_EQ(f.manager.baseModalWidget, nullptr);
    EXPECT_EQ(f.manager.focusWidget, &below);
    EXPECT_TRUE(below.hasFocus);
    f.Take();
    f.manager.PointerMove(1, 1);
    f.manager.PointerDown(1, 1, kClickRight);
    EXPECT_EQ(f.Take(), (Fixture::Log{"dialog leave", "below enter", "below down 1x1 at 1,1"}));
}

TEST(WidgetManagerTest, Modal_PoppingOverARemovedLayerUnwindsIt)
{
    Fixture f;
    Probe bottom(&f.log, "bottom", 0, 0, 8, 8);
    Probe first(&f.log, "first", 0, 0, 2, 2);
    Probe second(&f.log, "second", 6, 6, 2, 2);
    f.manager.AddWidget(&bottom);
    f.manager.AddWidget(&first);
    f.manager.AddWidget(&second);
    f.manager.PushModal(&first);
    f.manager.PushModal(&second);
    ASSERT_EQ(f.manager.modalStack.size(), 2u);

    f.manager.RemoveWidget(&first);
    EXPECT_EQ(f.manager.modalStack[1].previousModal, nullptr);
    // Popping the wrong layer does nothing.
    f.manager.PopModal(&first);
    EXPECT_EQ(f.manager.modalStack.size(), 2u);

    f.manager.PopModal(&second);
    EXPECT_TRUE(f.manager.modalStack.empty());
    EXPECT_EQ(f.manager.baseModalWidget, nullptr);
    EXPECT_EQ(f.manager.belowModalRemove, 0);
    f.Take();
    f.manager.PointerMove(3, 3);
    EXPECT_EQ(f.Take(), Fixture::Log{"bottom enter"});

    // A layer removed while it is the top one stops blocking at once and pops cleanly.
    f.manager.PushModal(&second);
    f.manager.RemoveWidget(&second);
    f.manager.PointerMove(4, 4);
    EXPECT_EQ(f.manager.overWidget, &bottom);
    f.manager.PopModal(&second);
    EXPECT_TRUE(f.manager.modalStack.empty());
}

TEST(WidgetManagerTest, Buttons_LeftThenRightStayOnTheFirstDownWidget)
{
    Fixture f;
    Probe left(&f.log, "left", 0, 0, 4, 8);
    Probe right(&f.log, "right", 4, 0, 4, 8);
    f.manager.AddWidget(&left);
    f.manager.AddWidget(&right);

    f.manager.PointerDown(1, 1, kClickLeft);
    f.manager.PointerMove(6, 2);
    f.manager.PointerDown(6, 2, kClickRight);
    EXPECT_EQ(f.Take(), (Fixture::Log{"left enter", "left down 0x1 at 1,1", "left drag 6,2",
                                      "left leave", "left down 1x1 at 6,2"}));
    EXPECT_EQ(f.manager.heldButtons, 3);
    EXPECT_EQ(f.manager.actualButtons, 3);
    EXPECT_EQ(f.manager.lastClickCode, kClickRight);

    f.manager.PointerUp(6, 2, kClickLeft);
    EXPECT_EQ(f.manager.downWidget, &left);
    EXPECT_TRUE(left.isDown);
    EXPECT_EQ(f.manager.heldButtons, 2);
    f.manager.PointerUp(6, 2, kClickRight);
    EXPECT_EQ(f.manager.downWidget, nullptr);
    EXPECT_FALSE(left.isDown);
    EXPECT_EQ(f.manager.heldButtons, 0);
    EXPECT_EQ(f.Take(), (Fixture::Log{"left up 0", "left up 1", "right enter"}));

    // Removing the down widget releases its buttons so no later input reaches it.
    f.manager.PointerDown(6, 2, kClickMiddle);
    f.manager.RemoveWidget(&right);
    EXPECT_EQ(f.Take(), (Fixture::Log{"right down 2x1 at 2,2", "right leave", "right up 2"}));
    EXPECT_EQ(f.manager.downWidget, nullptr);
    EXPECT_EQ(f.manager.overWidget, nullptr);
    f.manager.PointerUp(6, 2, kClickMiddle);
    EXPECT_EQ(f.Take(), Fixture::Log{});
}

TEST(WidgetManagerTest, HitTest_IsHitAtFalseAndMasksLetThePointerThrough)
{
    Fixture f;
    Probe back(&f.log, "back", 0, 0, 8, 8);
    Probe front(&f.log, "front", 0, 0, 8, 8);
    Probe inner(&f.log, "inner", 6, 6, 2, 2);
    front.leftHalfHollow = true;
    f.manager.AddWidget(&back);
    f.manager.AddWidget(&front);

    int rx = 0;
    int ry = 0;
    EXPECT_EQ(f.manager.GetWidgetAt(1, 3, &rx, &ry), &back);
    EXPECT_EQ(f.manager.GetWidgetAt(5, 3, &rx, &ry), &front);
    EXPECT_EQ(rx, 5);
    f.manager.PointerMove(1, 3);
    f.manager.PointerMove(5, 3);
    EXPECT_EQ(f.Take(), (Fixture::Log{"back enter", "back leave", "front enter"}));

    // A child is found before its parent, with coordinates relative to itself.
    back.AddWidget(&inner);
    f.manager.RemoveWidget(&front);
    EXPECT_EQ(f.manager.GetWidgetAt(7, 6, &rx, &ry), &inner);
    EXPECT_EQ(rx, 1);
    EXPECT_EQ(ry, 0);
    // Insets shrink the hit area; a widget without pointer passes it on; disabled blocks.
    inner.insets.left = 1;
    EXPECT_EQ(f.manager.GetWidgetAt(6, 6), &back);
    back.flagsRemove = Zorva::kWidgetAllowPointer;
    EXPECT_EQ(f.manager.GetWidgetAt(7, 7), nullptr);
    back.flagsRemove = 0;
    inner.SetInactive(true);
    EXPECT_EQ(f.manager.GetWidgetAt(7, 7), nullptr);
    back.RemoveWidget(&inner);
}

TEST(WidgetManagerTest, Tick_RemovalInTickSkipsNoSiblingAndTicksOncePerUpdate)
{
    Fixture f;
    Probe first(&f.log, "first", 0, 0, 1, 1);
    Probe leaver(&f.log, "leaver", 0, 0, 1, 1);
    Probe next(&f.log, "next", 0, 0, 1, 1);
    f.manager.AddWidget(&first);
    f.manager.AddWidget(&leaver);
    f.manager.AddWidget(&next);
    leaver.onTick = [&] { f.manager.RemoveWidget(&leaver); };

    f.manager.UpdateFrame();
    EXPECT_EQ(f.Take(), (Fixture::Log{"first tick", "leaver tick", "next tick"}));
    EXPECT_EQ(f.manager.childCount, 2);

    // Reaching the tree twice in one update ticks nothing again.
    Zorva::FlagsMod state;
    f.manager.InitFlags(state);
    f.manager.TickTree(state);
    EXPECT_EQ(f.Take(), Fixture::Log{});

    // A widget that moves itself to the top is not ticked twice; one removing the next
    // sibling stops that sibling's tick without disturbing the rest.
    first.onTick = [&] { f.manager.PlaceAbove(&first, nullptr); };
    f.manager.UpdateFrame();
    EXPECT_EQ(f.Take(), (Fixture::Log{"first tick", "next tick"}));
    first.onTick = nullptr;
    next.onTick = [&] { f.manager.RemoveWidget(&first); };
    f.manager.UpdateFrame();
    EXPECT_EQ(f.Take(), Fixture::Log{"next tick"});
    EXPECT_EQ(next.tickCount, 3);
}

TEST(WidgetManagerTest, Focus_MovesAndReceivesKeysCharactersAndWheel)
{
    Fixture f;
    Probe a(&f.log, "a", 0, 0, 4, 4);
    Probe b(&f.log, "b", 4, 0, 4, 4);
    Probe tab(&f.log, "tab", 0, 4, 4, 4);
    a.tabNext = &b;
    b.tabPrevious = &a;
    f.manager.AddWidget(&a);
    f.manager.AddWidget(&b);
    f.manager.AddWidget(&tab);
    f.manager.tabWidget = &tab;

    f.manager.SetFocus(&a);
    EXPECT_FALSE(a.hasFocus); // the application does not have the focus yet
    f.manager.OnAppFocusIn();
    EXPECT_TRUE(a.hasFocus);
    f.manager.KeyDown(Zorva::kVirtualKeyTab);
    EXPECT_EQ(f.manager.focusWidget, &b);
    EXPECT_FALSE(a.hasFocus);
    f.manager.KeyDown(Zorva::kVirtualKeyShift);
    f.manager.KeyDown(Zorva::kVirtualKeyTab);
    EXPECT_EQ(f.manager.focusWidget, &a);
    f.manager.KeyUp(Zorva::kVirtualKeyShift);
    f.Take();

    f.manager.KeyChar('q');
    f.manager.Wheel(-3);
    f.manager.KeyDown(Zorva::kVirtualKeyControl);
    f.manager.KeyChar('\t');
    f.manager.KeyUp(Zorva::kVirtualKeyTab);
    f.manager.KeyUp(Zorva::kVirtualKeyControl);
    EXPECT_EQ(f.Take(),
              (Fixture::Log{"a char q", "a wheel -3", "a key 17", "tab char \t", "a keyup 17"}));

    // Losing the application focus lifts held keys; removal drops the focus.
    f.manager.KeyDown(Zorva::kVirtualKeyA);
    f.manager.OnAppFocusOut();
    EXPECT_EQ(f.Take(), (Fixture::Log{"a key 65", "a keyup 65", "a focus out"}));
    f.manager.OnAppFocusIn();
    f.manager.RemoveWidget(&a);
    EXPECT_EQ(f.Take(), (Fixture::Log{"a focus in", "a focus out"}));
    EXPECT_EQ(f.manager.focusWidget, nullptr);
    f.manager.SetFocus(&a); // no longer in the tree
    EXPECT_EQ(f.manager.focusWidget, nullptr);
}

TEST(WidgetManagerTest, DrawScreen_RepaintsDirtyWidgetsAndWhatTheyCover)
{
    Fixture f;
    Probe left(&f.log, "left", 0, 0, 4, 8);
    Probe right(&f.log, "right", 4, 0, 4, 8);
    Probe overlap(&f.log, "overlap", 2, 2, 4, 2);
    left.paintColor = Color(255, 0, 0);
    right.paintColor = Color(0, 0, 255);
    overlap.paintColor = Color(0, 255, 0);
    f.manager.AddWidget(&left);
    f.manager.AddWidget(&right);
    EXPECT_TRUE(f.manager.DrawScreen());
    EXPECT_EQ(f.screen.PixelAt(0, 0), 0xFFFF0000u);
    EXPECT_EQ(f.screen.PixelAt(7, 7), 0xFF0000FFu);
    EXPECT_FALSE(f.manager.DrawScreen());
    EXPECT_EQ(left.paints, 1);

    f.screen.Clear();
    left.Invalidate();
    EXPECT_TRUE(f.manager.DrawScreen());
    EXPECT_EQ(f.screen.PixelAt(3, 7), 0xFFFF0000u);
    EXPECT_EQ(f.screen.PixelAt(4, 7), 0u); // the clean neighbour was not repainted
    EXPECT_EQ(right.paints, 1);

    // A widget on top is repainted after the one below it that it overlaps; hiding it
    // repaints what it covered.
    f.manager.AddWidget(&overlap);
    f.manager.DrawScreen();
    f.screen.Clear();
    left.Invalidate();
    f.manager.DrawScreen();
    EXPECT_EQ(f.screen.PixelAt(2, 2), 0xFF00FF00u);
    EXPECT_EQ(f.screen.PixelAt(0, 2), 0xFFFF0000u);
    overlap.SetShown(false);
    f.manager.DrawScreen();
    EXPECT_EQ(f.screen.PixelAt(2, 2), 0xFFFF0000u);
    EXPECT_EQ(f.screen.PixelAt(5, 2), 0xFF0000FFu);

    // Children paint clipped to their parent, on top of it.
    Probe child(&f.log, "child", 3, 1, 4, 1);
    child.paintColor = Color(0, 255, 0);
    left.AddWidget(&child);
    f.manager.DrawScreen();
    EXPECT_EQ(f.screen.PixelAt(3, 1), 0xFF00FF00u);
    EXPECT_EQ(f.screen.PixelAt(4, 1), 0xFF0000FFu);
    left.RemoveWidget(&child);
}

TEST(WidgetManagerTest, DrawScreen_BackdropWalkStopsAtAnOpaqueCover)
{
    Fixture f;
    Probe bottom(&f.log, "bottom", 0, 0, 8, 8);
    Probe middle(&f.log, "middle", 0, 0, 6, 6);
    Probe glass(&f.log, "glass", 1, 1, 2, 2);
    Probe aside(&f.log, "aside", 6, 6, 2, 2);
    glass.hasTransparency = true;
    for (Probe* w : {&bottom, &middle, &glass, &aside}) {
        f.manager.AddWidget(w);
    }
    f.manager.DrawScreen();
    ASSERT_EQ(bottom.paints, 1);

    glass.Invalidate();
    f.manager.DrawScreen();
    EXPECT_EQ(bottom.paints, 1);
    EXPECT_EQ(middle.paints, 2);
    EXPECT_EQ(glass.paints, 2);
    EXPECT_EQ(aside.paints, 1);

    // A partly transparent cover does not hide what lies below it.
    middle.hasAlpha = true;
    glass.Invalidate();
    f.manager.DrawScreen();
    EXPECT_EQ(bottom.paints, 2);
    EXPECT_EQ(middle.paints, 3);
    EXPECT_EQ(glass.paints, 3);
    // Repainting the bottom repaints everything above that it would paint over.
    EXPECT_EQ(aside.paints, 2);
}

TEST(WidgetManagerTest, DrawScreen_OverlaysPaintInPriorityOrder)
{
    Fixture f;
    Probe low(&f.log, "low", 0, 0, 8, 8);
    Probe high(&f.log, "high", 4, 0, 4, 8);
    low.paintColor = Color(255, 0, 0);
    high.paintColor = Color(0, 0, 255);
    high.priority = 10;
    // Below `high`: covered by it where they overlap.
    low.overlayPriority = 5;
    low.overlayColor = Color(0, 255, 0);
    low.overlayRect = Zorva::Rect(2, 0, 4, 1);
    f.manager.AddWidget(&low);
    f.manager.AddWidget(&high);
    f.manager.DrawScreen();
    EXPECT_EQ(f.screen.PixelAt(2, 0), 0xFF00FF00u);
    EXPECT_EQ(f.screen.PixelAt(5, 0), 0xFF0000FFu);

    // Above every widget: painted last.
    low.overlayPriority = 20;
    f.manager.DrawScreen(); // nothing dirty, nothing painted
    low.Invalidate();
    high.Invalidate();
    f.manager.DrawScreen();
    EXPECT_EQ(f.screen.PixelAt(5, 0), 0xFF00FF00u);
    EXPECT_TRUE(f.manager.overlays.empty());
}

TEST(WidgetManagerTest, Lifetime_DestroyedWidgetsLeaveNoReferenceBehind)
{
    Fixture f;
    Probe parent(&f.log, "parent", 0, 0, 8, 8);
    f.manager.AddWidget(&parent);
    f.manager.OnAppFocusIn();
    {
        Probe child(&f.log, "child", 0, 0, 4, 4);
        child.focusable = true;
        parent.AddWidget(&child);
        f.manager.PushModal(&child);
        f.manager.PointerDown(1, 1, kClickLeft);
        ASSERT_EQ(f.manager.downWidget, &child);
        ASSERT_EQ(f.manager.focusWidget, &child);
        // Removing the parent disowns the whole subtree.
        f.manager.RemoveWidget(&parent);
        EXPECT_EQ(f.manager.downWidget, nullptr);
        EXPECT_EQ(f.manager.overWidget, nullptr);
        EXPECT_EQ(f.manager.focusWidget, nullptr);
        EXPECT_EQ(f.manager.baseModalWidget, nullptr);
        EXPECT_EQ(child.manager, nullptr);
        f.manager.AddWidget(&parent);
        EXPECT_EQ(child.manager, &f.manager);
        f.manager.SetFocus(&child);
    }
    // The child left its parent and the manager when it was destroyed.
    EXPECT_TRUE(parent.children.empty());
    EXPECT_EQ(f.manager.focusWidget, nullptr);
    f.manager.PointerMove(1, 1);
    EXPECT_EQ(f.manager.overWidget, &parent);
}

TEST(WidgetManagerTest, Digits_CountAndStripDrawing)
{
    Widget w;
    EXPECT_EQ(w.DigitCount(0), 1);
    EXPECT_EQ(w.DigitCount(9), 1);
    EXPECT_EQ(w.DigitCount(10), 2);
    EXPECT_EQ(w.DigitCount(-12345), 5);
    EXPECT_EQ(w.DigitCount(-2147483647 - 1), 10);

    uint32_t cells[10];
    for (uint32_t i = 0; i < 10; ++i) {
        cells[i] = 0xFF000000u | (i + 1);
    }
    MemoryImage strip;
    strip.SetPixels(cells, 10, 1, true);
    MemoryImage dest;
    dest.Create(8, 1);
    dest.Clear();
    Graphics g(&dest);
    w.DrawNumberFromStrip(g, 305, 1, 0, &strip, 1);
    EXPECT_EQ(dest.PixelAt(0, 0), 0u);
    EXPECT_EQ(dest.PixelAt(1, 0), 0xFF000004u);
    EXPECT_EQ(dest.PixelAt(2, 0), 0u);
    EXPECT_EQ(dest.PixelAt(3, 0), 0xFF000001u);
    EXPECT_EQ(dest.PixelAt(5, 0), 0xFF000006u);
    EXPECT_EQ(dest.PixelAt(6, 0), 0u);

    const int rgb[2][3] = {{1, 2, 3}, {4, 5, 6}};
    w.SetColorTable(rgb, 2);
    EXPECT_EQ(w.ColorAt(1), Color(4, 5, 6, 255));
    EXPECT_EQ(w.ColorAt(2), Color(0, 0, 0, 0));
    EXPECT_EQ(w.ColorAt(-1, Color::kWhite), Color::kWhite);
}
