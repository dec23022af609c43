#include "widgets/Dialog.h"
#include "WidgetTestSupport.h"
#include "widgets/DialogButton.h"

#include <gtest/gtest.h>

#include <list>

using namespace WidgetTest;

TEST(DialogTest, SizeAndLayout_PreferredHeightAndButtonsByMode)
{
    BlockFont headerFont;
    headerFont.ascentPadding = 1;
    headerFont.lineSpacingOffset = 2;
    BlockFont linesFont;
    auto buttonImage = StripedImage(9, 30, {kRed});
    const auto heightOf = [&](const std::string& header, const std::string& lines,
                              const std::string& footer, int mode, Image* image = nullptr) {
        Dialog dialog(nullptr, image, 1, false, header, lines, footer, mode);
        dialog.SetHeaderFont(&headerFont);
        dialog.SetLinesFont(&linesFont);
        return dialog.PreferredHeight(200);
    };
    EXPECT_EQ(heightOf("", "", "", 0), 48);
    EXPECT_EQ(heightOf("H", "", "", 0), 48 + 12 - 1);
    EXPECT_EQ(heightOf("H", "LL", "F", 0), 59 + 10 + 10 + 8 + 12);
    EXPECT_EQ(heightOf("", "", "F", 0), 48 + 12);
    EXPECT_EQ(heightOf("H", "LL", "F", 1), 99 + 8 + 24 + 8);
    // In mode 3 the footer is the button's label, not a line of its own.
    EXPECT_EQ(heightOf("H", "LL", "F", 3), 79 + 8 + 24 + 8);
    EXPECT_EQ(heightOf("", "", "", 2, buttonImage.get()), 48 + 30 + 8);
    // 30 characters in a field of 200 - 48 - 12 - 4 pixels take two lines of 10 + 3.
    Dialog wrapped(nullptr, nullptr, 1, false, "", std::string(30, 'A'), "", 0);
    wrapped.SetLinesFont(&linesFont);
    wrapped.contentInsets = {5, 6, 7, 8};
    wrapped.lineSpacingOffset = 3;
    EXPECT_EQ(wrapped.PreferredHeight(200), 48 + 14 + 23);

    Dialog two(nullptr, nullptr, 1, false, "", "", "", Dialog::kButtonsOkCancel);
    two.contentInsets = {10, 5, 10, 6};
    two.buttonSidePadding = 5;
    two.Place(100, 50, 300, 200);
    EXPECT_EQ(two.GetYesButton()->GetBounds(), Rect(139, 196, 107, 24));
    EXPECT_EQ(two.GetNoButton()->GetBounds(), Rect(254, 196, 107, 24));
    EXPECT_EQ(two.GetYesButton()->label + two.GetNoButton()->label, "OKCANCEL");
    Dialog one(nullptr, buttonImage.get(), 1, false, "", "", "Close", Dialog::kButtonsFooter);
    one.Place(100, 50, 300, 200);
    EXPECT_EQ(one.GetNoButton(), nullptr);
    EXPECT_EQ(one.GetYesButton()->label, "Close");
    EXPECT_EQ(one.GetYesButton()->GetBounds(), Rect(124, 196, 252, 30));
    Dialog yesNo(nullptr, nullptr, 1, false, "", "", "", Dialog::kButtonsYesNo);
    EXPECT_EQ(yesNo.GetYesButton()->label + yesNo.GetNoButton()->label, "YESNO");
}

TEST(DialogTest, Painting_StockFrameShadowTextAndComponentBox)
{
    Screen screen(120, 140);
    FilledWidget backdrop(Rect(0, 0, 120, 140), Color(255, 255, 255));
    BlockFont font;
    Dialog dialog(nullptr, nullptr, 1, false, "HH", "LL", "FF", Dialog::kButtonsNone);
    dialog.SetHeaderFont(&font);
    dialog.SetLinesFont(&font);
    dialog.textAlign = -1;
    dialog.SetColorAt(Dialog::kColorHeader, kGreen);
    dialog.SetColorAt(Dialog::kColorFooter, kBlue);
    dialog.SetColorAt(Dialog::kColorOutline, kRed);
    dialog.Place(0, 0, 100, 120);
    screen.manager.AddWidget(&backdrop);
    screen.manager.AddWidget(&dialog);

    // Outline, background, half-black shadows right (from y 24) and bottom (from x 24).
    EXPECT_EQ(Pixels(screen.Repaint(), {{12, 12}, {87, 107}, {11, 50}, {13, 13}, {86, 106}}),
              "255,0,0 255,0,0 255,255,255 80,80,80 80,80,80");
    EXPECT_EQ(Pixels(screen.image, {{94, 50}, {50, 114}, {94, 20}, {20, 114}}),
              "127,127,127 127,127,127 255,255,255 255,255,255");
    // Header centred below the insets, lines from x 26 after 10 more, footer 8 below them.
    EXPECT_EQ(Pixels(screen.image, {{44, 24}, {55, 31}, {43, 24}, {44, 32}}),
              "0,255,0 0,255,0 80,80,80 80,80,80");
    EXPECT_EQ(Pixels(screen.image, {{26, 44}, {37, 51}, {25, 44}}), "255,255,0 255,255,0 80,80,80");
    EXPECT_EQ(Pixels(screen.image, {{44, 62}, {55, 69}, {44, 61}}), "0,0,255 0,0,255 80,80,80");
    dialog.buttonMode = Dialog::kButtonsFooter;
    EXPECT_EQ(Pixels(screen.Repaint(), {{44, 62}, {55, 69}}), "80,80,80 80,80,80");

    auto box = StripedImage(9, 9, {kBlue});
    dialog.componentImage = box.get();
    dialog.header = dialog.lines = "";
    dialog.contentInsets = {10, 10, 10, 10};
    EXPECT_EQ(Pixels(screen.Repaint(), {{10, 10}, {89, 109}, {9, 10}, {90, 109}}),
              "0,0,255 0,0,255 255,255,255 255,255,255");
}

TEST(DialogTest, Dragging_FollowsThePointerWithinEightPixelsOfTheScreen)
{
    Screen screen(400, 300);
    Dialog dialog(nullptr, nullptr, 1, false, "", "", "", Dialog::kButtonsOkCancel);
    dialog.Place(100, 100, 200, 100);
    screen.manager.AddWidget(&dialog);
    // Neither a right press nor a press on one of its buttons drags it.
    screen.Click(150, 150, kClickRight);
    screen.Press(130, 160);
    EXPECT_FALSE(dialog.dragging);
    screen.Release(130, 160);

    screen.Press(150, 150);
    EXPECT_EQ(screen.host.cursor, CursorKind::DraggingHand);
    std::vector<std::pair<int, int>> places;
    // Held back at 400 - 200 + 8, the grab point slides to 8 pixels inside the right edge,
    // so coming back the dialog moves at once.
    for (const auto& [x, y] : {std::pair{160, 170},
                               {1000, 170},
                               {1100, 170},
                               {300, 170},
                               {-1000, 1000},
                               {-1000, -1000}}) {
        screen.manager.PointerMove(x, y);
        places.emplace_back(dialog.x, dialog.y);
    }
    EXPECT_EQ(places, (std::vector<std::pair<int, int>>{
                          {110, 120}, {208, 120}, {208, 120}, {109, 120}, {-8, 208}, {-8, -8}}));
    EXPECT_EQ(dialog.GetNoButton()->GetBounds(), Rect(-8 + 24 + 72 + 8, -8 + 52, 72, 24));
    screen.manager.PointerUp(-1000, -1000, kClickLeft);
    EXPECT_FALSE(dialog.dragging);
    EXPECT_EQ(screen.host.cursor, CursorKind::Arrow);
}

TEST(DialogTest, Buttons_FollowItIntoAndOutOfTheTreeDirectlyAboveIt)
{
    Screen screen(200, 200);
    FilledWidget below(Rect(0, 0, 10, 10), kRed);
    FilledWidget later(Rect(0, 0, 10, 10), kGreen);
    Dialog dialog(nullptr, nullptr, 1, false, "", "", "", Dialog::kButtonsYesNo);
    Widget* yes = dialog.GetYesButton();
    Widget* no = dialog.GetNoButton();
    using Order = std::list<Widget*>;

    screen.manager.AddWidget(&below);
    screen.manager.AddWidget(&dialog);
    screen.manager.AddWidget(&later);
    EXPECT_EQ(screen.manager.children, (Order{&below, &dialog, yes, no, &later}));
    screen.manager.PlaceAbove(&dialog, &later);
    EXPECT_EQ(screen.manager.children, (Order{&below, &later, &dialog, yes, no}));
    screen.manager.RemoveWidget(&dialog);
    EXPECT_EQ(screen.manager.children, (Order{&below, &later}));
    EXPECT_EQ(no->GetManager(), nullptr);

    FilledWidget panel(Rect(0, 0, 100, 100), kBlue);
    panel.AddWidget(&dialog);
    screen.manager.AddWidget(&panel);
    EXPECT_EQ(panel.children, (Order{&dialog, yes, no}));
    screen.manager.RemoveWidget(&panel);
    EXPECT_EQ(panel.children, Order{&dialog});
    panel.RemoveWidget(&dialog);

    // Deleting a dialog that is still shown takes its buttons out with it.
    auto* shown = new Dialog(nullptr, nullptr, 2, false, "", "", "", Dialog::kButtonsYesNo);
    shown->Place(20, 20, 150, 100);
    screen.manager.AddWidget(shown);
    screen.manager.PointerMove(shown->GetYesButton()->x + 1, shown->GetYesButton()->y + 1);
    ASSERT_EQ(screen.manager.overWidget, shown->GetYesButton());
    delete shown;
    EXPECT_EQ(screen.manager.children, (Order{&below, &later}));
    EXPECT_EQ(screen.manager.overWidget, nullptr);
}

TEST(DialogTest, ButtonsColoursAndFonts_ReachListenerAndButtonsAndDefaultsTurnBlack)
{
    Screen screen(400, 300);
    ListenerLog log;
    auto buttonImage = StripedImage(9, 24, {kRed});
    Dialog dialog(nullptr, buttonImage.get(), 42, false, "", "", "", Dialog::kButtonsYesNo);
    EXPECT_EQ(dialog.ColorAt(3), Dialog::DefaultColorAt(3));
    dialog.dialogListener = &log;
    dialog.Place(50, 50, 200, 100);
    screen.manager.AddWidget(&dialog);
    screen.Click(80, 110);
    EXPECT_EQ(dialog.result, 1000);
    screen.Click(160, 110);
    dialog.OnButtonActivated(5);
    EXPECT_EQ(dialog.result, 1001);
    EXPECT_EQ(log.Take(), (Log{"dialog activated 42 1000", "dialog activated 42 1001"}));

    dialog.SetColorAt(Dialog::kColorButtonText, kRed);
    dialog.SetColorAt(Dialog::kColorButtonTextHovered, kBlue);
    BlockFont font(5);
    dialog.SetButtonFont(&font);
    for (const DialogButton* button : {dialog.GetYesButton(), dialog.GetNoButton()}) {
        EXPECT_EQ(button->ColorAt(0), kRed);
        EXPECT_EQ(button->ColorAt(1), kBlue);
        ASSERT_NE(button->font, nullptr);
        EXPECT_EQ(button->font->TextWidth("AB"), 10);
    }

    // Once a dialog was made without a button image, every dialog's buttons start black.
    Dialog plain(nullptr, nullptr, 3, false, "", "", "", Dialog::kButtonsFooter);
    Dialog after(nullptr, buttonImage.get(), 4, false, "", "", "", Dialog::kButtonsFooter);
    EXPECT_EQ(after.GetYesButton()->ColorAt(0), Color::kBlack);
    EXPECT_EQ(after.ColorAt(4), Color::kBlack);
    EXPECT_EQ(after.ColorAt(1), Color(255, 255, 0));
}
