#include "widgets/ButtonWidget.h"
#include "WidgetTestSupport.h"
#include "graphics/SysFont.h"
#include "widgets/DialogButton.h"
#include "widgets/HyperlinkWidget.h"

#include <gtest/gtest.h>

using namespace WidgetTest;

TEST(ButtonWidgetTest, Events_ClickOnlyOverTheButtonWithFocusHeldAndFades)
{
    Screen screen(100, 100);
    ListenerLog log;
    auto over = StripedImage(40, 20, {kGreen});
    ButtonWidget button(7, &log);
    button.Place(0, 0, 40, 20);
    button.overImage = over.get();
    button.fadeOutSpeed = 0.1;
    screen.manager.AddWidget(&button);

    screen.Click(10, 10);
    screen.Press(10, 10, -1);
    screen.Release(70, 70, -1);
    // Released outside with no move in between.
    screen.Press(10, 10);
    screen.manager.PointerUp(70, 70, kClickLeft);
    screen.manager.OnAppFocusOut();
    screen.Click(10, 10);
    EXPECT_EQ(log.Take(), (Log{"hover 7", "pressed 7 1", "activated 7", "pressed 7 -1", "unhover 7",
                               "hover 7", "pressed 7 1", "unhover 7", "hover 7", "pressed 7 1"}));

    // The blend falls from 1 to 0 in ten updates after the pointer left.
    screen.manager.PointerMove(80, 80);
    EXPECT_EQ(button.overAlpha, 1.0);
    for (int update = 1; update <= 9; ++update) {
        screen.manager.UpdateFrame();
    }
    EXPECT_GT(button.overAlpha, 0.0);
    screen.manager.UpdateFrame();
    EXPECT_EQ(button.overAlpha, 0.0);
    screen.manager.DrawScreen();
    EXPECT_FALSE(screen.manager.UpdateFrame());

    button.fadeInSpeed = 0.3;
    screen.Press(10, 10);
    screen.manager.UpdateFrame();
    EXPECT_DOUBLE_EQ(button.overAlpha, 0.3);
    screen.manager.UpdateFrame();
    screen.manager.PointerMove(80, 80);
    screen.manager.UpdateFrame();
    EXPECT_EQ(log.Take(),
              (Log{"unhover 7", "hover 7", "pressed 7 1", "held 7", "held 7", "unhover 7"}));
}

TEST(ButtonWidgetTest, StockLook_FramesLabelPlacementAndColours)
{
    Screen screen(40, 30);
    ButtonWidget button(1, nullptr);
    button.Place(0, 0, 40, 20);
    button.label = "AB";
    BlockFont font;
    button.SetFont(&font);
    button.SetColorAt(0, kRed);
    button.SetColorAt(1, kBlue);
    screen.manager.AddWidget(&button);

    // Frame corners and inner shade, then the label 12 wide from x 14 with its baseline at
    // (8 + 20 - 1 - 1) / 2 = 13.
    EXPECT_EQ(
        Pixels(screen.Repaint(), {{0, 18}, {39, 0}, {1, 18}, {14, 5}, {25, 12}, {13, 5}, {14, 13}}),
        "255,255,255 0,0,0 132,132,132 255,0,0 255,0,0 212,212,212 212,212,212");
    screen.manager.PointerMove(2, 2);
    EXPECT_EQ(Pixels(screen.Repaint(), {{14, 5}}), "0,0,255");
    screen.manager.PointerDown(2, 2, kClickLeft);
    EXPECT_EQ(Pixels(screen.Repaint(), {{0, 0}, {39, 19}, {37, 1}, {15, 6}, {14, 5}}),
              "0,0,0 255,255,255 132,132,132 0,0,0 212,212,212");
    screen.Release(30, 25);

    button.inverted = true;
    button.labelAlign = ButtonWidget::kAlignRight;
    EXPECT_EQ(Pixels(screen.Repaint(), {{0, 0}, {29, 6}, {28, 6}}), "0,0,0 0,0,0 212,212,212");
    button.inverted = false;
    button.labelAlign = ButtonWidget::kAlignLeft;
    button.noFrame = true;
    EXPECT_EQ(Pixels(screen.Repaint(), {{5, 15}, {0, 5}}), "clear 255,0,0");
    button.noDraw = true;
    EXPECT_EQ(Pixels(screen.Repaint(), {{0, 5}}), "clear");

    ButtonWidget plain(2, nullptr);
    plain.label = "OK";
    screen.manager.AddWidget(&plain);
    screen.Repaint();
    auto* stock = dynamic_cast<SysFont*>(plain.font.get());
    ASSERT_NE(stock, nullptr);
    EXPECT_EQ(stock->GetPointSize(), 10);
}

TEST(ButtonWidgetTest, StateImages_ChosenByStateAndBlendedWhileFading)
{
    Screen screen(20, 20);
    auto strip = StripedImage(10, 10, {kRed, kGreen, kBlue, Color(100, 100, 100)});
    auto downImage = StripedImage(10, 10, {kBlue});
    ButtonWidget button(1, nullptr);
    button.Place(0, 0, 10, 10);
    button.buttonImage = strip.get();
    button.normalRect = Rect(0, 0, 10, 10);
    button.overRect = Rect(10, 0, 10, 10);
    button.disabledRect = Rect(30, 0, 10, 10);
    button.downImage = downImage.get();
    screen.manager.AddWidget(&button);

    EXPECT_EQ(Pixels(screen.Repaint(), {{0, 0}}), "255,0,0");
    screen.manager.PointerMove(3, 3);
    EXPECT_EQ(Pixels(screen.Repaint(), {{0, 0}}), "0,255,0");
    screen.manager.PointerDown(3, 3, kClickLeft);
    EXPECT_EQ(Pixels(screen.Repaint(), {{0, 0}, {1, 1}}), "clear 0,0,255");
    button.downImage = nullptr;
    EXPECT_EQ(Pixels(screen.Repaint(), {{1, 1}}), "0,255,0");
    screen.Release(15, 15);

    button.overAlpha = 0.5;
    const uint32_t blended = screen.Repaint().PixelAt(5, 5);
    EXPECT_NEAR(static_cast<int>((blended >> 16) & 0xFF), 128, 2);
    EXPECT_NEAR(static_cast<int>((blended >> 8) & 0xFF), 127, 2);
    button.SetInactive(true);
    EXPECT_EQ(Pixels(screen.Repaint(), {{0, 0}}), "100,100,100");
}

TEST(DialogButtonTest, ComponentBox_StatePartsPressOffsetAndBoldStockFont)
{
    Screen screen(30, 20);
    auto parts = StripedImage(9, 9, {kRed, kGreen, kBlue});
    DialogButton button(parts.get(), 1000, nullptr);
    button.Place(0, 0, 20, 12);
    button.normalRect = Rect(0, 0, 9, 9);
    button.overRect = Rect(9, 0, 9, 9);
    button.downRect = Rect(18, 0, 9, 9);
    button.label = "X";
    BlockFont font(4, 4, 1);
    button.SetFont(&font);
    screen.manager.AddWidget(&button);

    // The part stretched over the button; the white label at x (20 - 4) / 2 with its
    // baseline at (4 + 12 - 0 - 1 - 1) / 2 = 7.
    EXPECT_EQ(Pixels(screen.Repaint(), {{19, 11}, {8, 3}, {11, 6}, {12, 6}}),
              "255,0,0 255,255,255 255,255,255 255,0,0");
    screen.manager.PointerMove(5, 5);
    EXPECT_EQ(screen.host.cursor, CursorKind::Hand);
    EXPECT_EQ(Pixels(screen.Repaint(), {{0, 0}}), "0,255,0");
    screen.manager.PointerDown(5, 5, kClickLeft);
    EXPECT_EQ(Pixels(screen.Repaint(), {{0, 0}, {19, 11}, {9, 4}, {20, 12}}),
              "clear 0,0,255 255,255,255 clear");
    screen.Release(25, 15);

    DialogButton stock(nullptr, 1001, nullptr);
    stock.label = "NO";
    stock.Place(0, 0, 30, 20);
    screen.manager.AddWidget(&stock);
    EXPECT_EQ(Pixels(screen.Repaint(), {{29, 19}}), "0,0,0");
    auto* stockFont = dynamic_cast<SysFont*>(stock.font.get());
    ASSERT_NE(stockFont, nullptr);
    EXPECT_EQ(stockFont->GetPointSize(), 12);
    EXPECT_TRUE(HasStyle(stockFont->GetStyle(), SysFontStyle::Bold));
}

TEST(HyperlinkWidgetTest, UnderlinedLabelInItsColourAndOverColour)
{
    Screen screen(50, 30);
    HyperlinkWidget link(9, nullptr);
    link.Place(0, 0, 40, 20);
    link.label = "ABC";
    BlockFont font;
    link.SetFont(&font);
    link.color = kRed;
    link.overColor = kBlue;
    link.underlineSize = 2;
    screen.manager.AddWidget(&link);

    // 18 wide from x 11, baseline (8 + 20) / 2 - 1 = 13, underline rows 16 and 17.
    EXPECT_EQ(Pixels(screen.Repaint(), {{11, 5}, {11, 15}, {11, 16}, {28, 17}, {29, 16}, {11, 18}}),
              "255,0,0 clear 255,0,0 255,0,0 clear clear");
    screen.manager.PointerMove(20, 10);
    EXPECT_EQ(screen.host.cursor, CursorKind::Hand);
    EXPECT_EQ(Pixels(screen.Repaint(), {{11, 16}}), "0,0,255");
}
