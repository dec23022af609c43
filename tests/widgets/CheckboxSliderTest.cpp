#include "WidgetTestSupport.h"
#include "widgets/Checkbox.h"
#include "widgets/Slider.h"

#include <gtest/gtest.h>

using namespace WidgetTest;

TEST(CheckboxTest, TogglesOnEveryPressAndPaintsItsState)
{
    Screen screen(20, 20);
    ListenerLog log;
    Checkbox box(nullptr, nullptr, 4, &log);
    box.Place(0, 0, 10, 10);
    box.outlineColor = kBlue;
    screen.manager.AddWidget(&box);

    EXPECT_EQ(Pixels(screen.Repaint(), {{9, 9}, {5, 5}, {10, 10}}), "0,0,255 80,80,80 clear");
    screen.Click(3, 3);
    screen.Click(3, 3, kClickRight);
    screen.Click(3, 3);
    box.SetChecked(false, false);
    box.SetChecked(true, true);
    EXPECT_EQ(log.Take(), (Log{"checkbox 4 1", "checkbox 4 0", "checkbox 4 1", "checkbox 4 1"}));
    EXPECT_EQ(screen.host.cursor, CursorKind::Hand);
    EXPECT_EQ(Pixels(screen.Repaint(), {{1, 1}, {5, 5}, {8, 1}, {1, 8}, {5, 1}}),
              "255,255,0 255,255,0 255,255,0 255,255,0 80,80,80");

    auto faces = StripedImage(10, 10, {kRed, kGreen});
    box.uncheckedImage = faces.get();
    box.uncheckedRect = Rect(0, 0, 10, 10);
    box.checkedRect = Rect(10, 0, 10, 10);
    EXPECT_EQ(Pixels(screen.Repaint(), {{0, 0}}), "0,255,0");
    auto on = StripedImage(10, 10, {kBlue});
    box.checkedImage = on.get();
    box.checkedRect = box.uncheckedRect = Rect();
    EXPECT_EQ(Pixels(screen.Repaint(), {{0, 0}}), "0,0,255");
    box.SetChecked(false, false);
    EXPECT_EQ(Pixels(screen.Repaint(), {{9, 9}}), "255,0,0");
}

TEST(SliderTest, Drag_OnlyFromTheThumbClampedAndSilentOnceClamped)
{
    Screen screen(300, 40);
    ListenerLog log;
    auto thumb = StripedImage(10, 10, {kRed});
    Slider slider(nullptr, thumb.get(), 5, &log);
    slider.Place(0, 0, 110, 10);
    screen.manager.AddWidget(&slider);

    screen.Press(50, 5);
    EXPECT_EQ(screen.host.cursor, CursorKind::Arrow);
    screen.Release(80, 5);
    screen.manager.PointerMove(8, 5);
    EXPECT_EQ(screen.host.cursor, CursorKind::DraggingHand);
    screen.manager.PointerDown(5, 5, kClickLeft);
    for (const int x : {55, 200, 300, 55, -50, -100, 35}) {
        screen.manager.PointerMove(x, 5);
    }
    screen.manager.PointerUp(35, 5, kClickLeft);
    EXPECT_EQ(log.Take(), (Log{"slider 5 0", "slider 5 50", "slider 5 100", "slider 5 50",
                               "slider 5 0", "slider 5 30", "slider 5 30"}));
    EXPECT_EQ(screen.host.cursor, CursorKind::Arrow);
    slider.SetValue(1.5);
    EXPECT_EQ(slider.ThumbX(), 100);
}

TEST(SliderTest, Painting_CapsTiledMiddleAndThumbAtItsValue)
{
    Screen screen(60, 20);
    auto track = StripedImage(10, 4, {kRed, kGreen, kBlue});
    auto thumb = StripedImage(5, 10, {Color(255, 255, 255)});
    Slider slider(track.get(), thumb.get(), 1, nullptr);
    slider.Place(0, 0, 45, 10);
    slider.SetValue(0.5);
    screen.manager.AddWidget(&slider);

    // Track rows 3 to 6; thumb from x (45 - 5) * 0.5 = 20.
    EXPECT_EQ(Pixels(screen.Repaint(), {{0, 4},
                                        {9, 4},
                                        {10, 4},
                                        {19, 4},
                                        {22, 4},
                                        {25, 4},
                                        {34, 4},
                                        {35, 4},
                                        {44, 4},
                                        {45, 4}}),
              "255,0,0 255,0,0 0,255,0 0,255,0 255,255,255 0,255,0 0,255,0 0,0,255 0,0,255 "
              "clear");
    EXPECT_EQ(Pixels(screen.image, {{12, 2}, {12, 7}, {24, 9}}), "clear clear 255,255,255");
}
