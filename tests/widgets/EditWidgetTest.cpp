#include "widgets/EditWidget.h"

#include "TextWidgetTestSupport.h"
#include "graphics/MemoryImage.h"
#include "graphics/SysFont.h"
#include "widgets/EditListener.h"
#include "widgets/InputCodes.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using TextWidgetTest::BlockFont;
using TextWidgetTest::PixelAt;
using TextWidgetTest::RecordingHost;
using Zorva::Color;
using Zorva::CursorKind;
using Zorva::EditWidget;
using Zorva::kClickLeft;
using Zorva::kClickLeftDouble;
using Zorva::kVirtualKey0;
using Zorva::kVirtualKey9;
using Zorva::kVirtualKeyA;
using Zorva::kVirtualKeyBackspace;
using Zorva::kVirtualKeyControl;
using Zorva::kVirtualKeyDelete;
using Zorva::kVirtualKeyEnd;
using Zorva::kVirtualKeyEnter;
using Zorva::kVirtualKeyHome;
using Zorva::kVirtualKeyLeft;
using Zorva::kVirtualKeyRight;
using Zorva::kVirtualKeySemicolon;
using Zorva::kVirtualKeyShift;
using Zorva::kVirtualKeyY;
using Zorva::kVirtualKeyZ;

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kBlue = 0xFF0000FFu;

class RecordingListener : public Zorva::EditListener
{
public:
    void OnEditEnter(int, const std::string& text) override
    {
        entered.push_back(text);
        if (onEnter) {
            onEnter();
        }
    }
    bool AllowKey(int, int keyCode) override
    {
        offeredKeys.push_back(keyCode);
        return keyCode != refusedKey;
    }
    bool AllowChar(int, char character) override
    {
        return refusedChars.find(character) == std::string::npos;
    }
    bool AllowText(int, const std::string& text) override
    {
        return refusedText.empty() || text.find(refusedText) == std::string::npos;
    }

    std::vector<std::string> entered;
    std::vector<int> offeredKeys;
    int refusedKey = -1;
    std::string refusedChars;
    std::string refusedText;
    std::function<void()> onEnter;
};

/// A 100 by 20 field at (10, 5) with the focus, typed into through the widget manager.
struct Fixture
{
    Fixture() : edit(7, &listener)
    {
        manager.Resize(120, 30);
        screen.Create(120, 30);
        screen.Clear();
        manager.SetScreenImage(&screen);
        edit.SetFont(&font);
        edit.Place(10, 5, 100, 20);
        manager.AddWidget(&edit);
        manager.OnAppFocusIn();
        manager.SetFocus(&edit);
    }

    void Type(const std::string& characters)
    {
        for (const char c : characters) {
            manager.KeyChar(c);
        }
    }
    void Key(int keyCode)
    {
        manager.KeyDown(keyCode);
        manager.KeyUp(keyCode);
    }
    void KeyWith(int modifier, int keyCode)
    {
        manager.KeyDown(modifier);
        Key(keyCode);
        manager.KeyUp(modifier);
    }
    /// Ctrl with a letter: the key, then its control character.
    void Ctrl(char letter)
    {
        manager.KeyDown(kVirtualKeyControl);
        manager.KeyDown(letter);
        manager.KeyChar(static_cast<char>(letter - 'A' + 1));
        manager.KeyUp(letter);
        manager.KeyUp(kVirtualKeyControl);
    }
    /// A press and release at x inside the field, each after a move as the window layer
    /// sends them.
    void Click(int localX, int clickCode = kClickLeft)
    {
        manager.PointerMove(10 + localX, 15);
        manager.PointerDown(10 + localX, 15, clickCode);
        manager.PointerMove(10 + localX, 15);
        manager.PointerUp(10 + localX, 15, kClickLeft);
    }

    RecordingHost host;
    Zorva::WidgetManager manager{&host};
    Zorva::MemoryImage screen;
    BlockFont font;
    RecordingListener listener;
    EditWidget edit;
};

} // namespace

TEST(EditWidgetTest, Undo_OneStatePerTypingOrDeletingRunAndUndoSwaps)
{
    Fixture f;
    f.Type("abc");
    f.Ctrl('Z');
    EXPECT_EQ(f.edit.text, "");
    EXPECT_EQ(f.edit.cursorPos, 0);
    f.Ctrl('Z');
    EXPECT_EQ(f.edit.text, "abc");
    EXPECT_EQ(f.edit.cursorPos, 3);

    // Moving the cursor ends the run, even when typing goes on where it was.
    f.Key(kVirtualKeyLeft);
    f.Type("X");
    f.Ctrl('Z');
    EXPECT_EQ(f.edit.text, "abc");

    f.edit.SetText("hello", false);
    f.Key(kVirtualKeyEnd);
    f.Key(kVirtualKeyBackspace);
    f.Key(kVirtualKeyBackspace);
    f.Key(kVirtualKeyBackspace);
    EXPECT_EQ(f.edit.text, "he");
    f.Ctrl('Z');
    EXPECT_EQ(f.edit.text, "hello");

    // A deletion after typing is a run of its own.
    f.Key(kVirtualKeyEnd);
    f.Type("!");
    f.Key(kVirtualKeyBackspace);
    f.Ctrl('Z');
    EXPECT_EQ(f.edit.text, "hello!");

    // Undo after SetText never brings back the text the program replaced.
    f.edit.SetText("New Player", false);
    f.Ctrl('Z');
    EXPECT_EQ(f.edit.text, "New Player");
}

TEST(EditWidgetTest, Limits_MaxCharsCutsPasteAndWidthLimitFollowsEveryWidthFont)
{
    Fixture f;
    f.edit.maxChars = 5;
    f.host.clipboard = "0123456789";
    f.Ctrl('V');
    EXPECT_EQ(f.edit.text, "01234");
    EXPECT_EQ(f.edit.cursorPos, 5);
    // Typing into the full field changes nothing, so the paste stays the thing to undo.
    f.Type("9");
    f.Ctrl('Z');
    EXPECT_EQ(f.edit.text, "");
    f.Ctrl('Z');
    EXPECT_EQ(f.edit.text, "01234");
    f.Key(kVirtualKeyHome);
    f.Type("X");
    EXPECT_EQ(f.edit.text, "X0123");

    Fixture g;
    g.edit.maxPixels = 30;
    g.Type("abcdefg");
    EXPECT_EQ(g.edit.text, "abcde");
    // With width fonts the shown font no longer counts; each entry has its own limit.
    const BlockFont wide(10);
    g.edit.AddWidthFont(&wide, 0);
    g.Type("x");
    EXPECT_EQ(g.edit.text, "abc");
    const BlockFont narrow(8);
    g.edit.AddWidthFont(&narrow, 16);
    g.Key(kVirtualKeyHome);
    g.Type("y");
    EXPECT_EQ(g.edit.text, "ya");
    EXPECT_EQ(g.edit.cursorPos, 1);
}

TEST(EditWidgetTest, Limits_HugePasteStaysFastAndKeepsTheCursorInView)
{
    Fixture f;
    f.host.clipboard = std::string(300000, 'a');
    f.edit.maxPixels = 60;
    f.Ctrl('V');
    EXPECT_EQ(f.edit.text, std::string(10, 'a'));

    Fixture g;
    g.host.clipboard = std::string(300000, 'a');
    g.Ctrl('V');
    ASSERT_EQ(g.edit.text.size(), 300000u);
    EXPECT_EQ(g.edit.cursorPos, 300000);
    const int shownWidth = (g.edit.cursorPos - g.edit.leftPos) * 6;
    EXPECT_LT(shownWidth, 100 - 8);
    EXPECT_TRUE(g.manager.DrawScreen());
}

TEST(EditWidgetTest, Password_ShownCopiedAndCutAsPasswordCharacters)
{
    Fixture f;
    f.edit.passwordChar = '*';
    f.edit.SetText("pass word", true);
    f.Ctrl('C');
    EXPECT_EQ(f.host.clipboard, "*********");
    EXPECT_EQ(f.edit.displayText, "*********");

    // Word jumps see only the password characters: no word break is revealed.
    f.Key(kVirtualKeyEnd);
    f.KeyWith(kVirtualKeyControl, kVirtualKeyLeft);
    EXPECT_EQ(f.edit.cursorPos, 0);

    f.host.clipboard.clear();
    f.KeyWith(kVirtualKeyShift, kVirtualKeyEnd);
    f.Ctrl('X');
    EXPECT_EQ(f.host.clipboard, "*********");
    EXPECT_EQ(f.edit.text, "");
}

TEST(EditWidgetTest, Keys_LettersAToYGoOnlyTheCharacterWayOthersAskAllowKey)
{
    Fixture f;
    for (int key = kVirtualKeyA; key <= kVirtualKeyY; ++key) {
        f.manager.KeyDown(key);
    }
    EXPECT_TRUE(f.listener.offeredKeys.empty());
    for (const int key :
         {kVirtualKeyZ, kVirtualKey0, kVirtualKey9, kVirtualKeySemicolon, kVirtualKeyDelete}) {
        f.manager.KeyDown(key);
    }
    EXPECT_EQ(f.listener.offeredKeys, (std::vector<int>{kVirtualKeyZ, kVirtualKey0, kVirtualKey9,
                                                        kVirtualKeySemicolon, kVirtualKeyDelete}));

    f.edit.SetText("abc", false);
    f.Key(kVirtualKeyHome);
    f.listener.refusedKey = kVirtualKeyDelete;
    f.Key(kVirtualKeyDelete);
    EXPECT_EQ(f.edit.text, "abc");
    f.listener.refusedKey = -1;
    f.Key(kVirtualKeyDelete);
    EXPECT_EQ(f.edit.text, "bc");

    // Control characters typed on their own are not text.
    f.Type("\b\t\r\x1b");
    EXPECT_EQ(f.edit.text, "bc");
    // Enter reports the text; the listener may take the field out of the tree meanwhile.
    f.listener.onEnter = [&f] { f.manager.RemoveWidget(&f.edit); };
    f.Key(kVirtualKeyEnter);
    EXPECT_EQ(f.listener.entered, std::vector<std::string>{"bc"});
    EXPECT_EQ(f.edit.manager, nullptr);
}

TEST(EditWidgetTest, Filter_RefusedCharacterRefusesPasteAndRefusedTextRestoresAll)
{
    Fixture f;
    f.listener.refusedChars = "./";
    f.Type("a.b");
    EXPECT_EQ(f.edit.text, "ab");
    f.host.clipboard = "x/y";
    f.Ctrl('V');
    EXPECT_EQ(f.edit.text, "ab");
    f.host.clipboard = "..";
    f.Ctrl('V');
    EXPECT_EQ(f.edit.text, "ab");
    // Line breaks of a copied line are dropped.
    f.host.clipboard = "xy\r\n";
    f.Ctrl('V');
    EXPECT_EQ(f.edit.text, "abxy");
    EXPECT_EQ(f.edit.cursorPos, 4);

    Fixture g;
    g.listener.refusedText = "bad";
    g.Type("ba");
    g.Type("d");
    EXPECT_EQ(g.edit.text, "ba");
    EXPECT_EQ(g.edit.cursorPos, 2);
    // The refused change left the undo state as it was.
    g.Ctrl('Z');
    EXPECT_EQ(g.edit.text, "");
}

TEST(EditWidgetTest, Pointer_PlacesSelectsWordsDragsAndSetsTheTextBeam)
{
    Fixture f;
    f.edit.SetText("hello world", true);
    f.manager.PointerMove(20, 15);
    EXPECT_EQ(f.host.LastCursor(), CursorKind::TextBeam);

    f.Click(2);
    EXPECT_EQ(f.edit.cursorPos, 0);
    EXPECT_FALSE(f.edit.HasSelection());
    // The boundary after character i lies at 5 + 6i; the nearest one is taken.
    f.Click(19);
    EXPECT_EQ(f.edit.cursorPos, 2);
    f.Click(20);
    EXPECT_EQ(f.edit.cursorPos, 3);

    f.Click(5 + 6 * 8, kClickLeftDouble);
    EXPECT_EQ(f.edit.hiliteStart, 6);
    EXPECT_EQ(f.edit.cursorPos, 11);

    f.manager.PointerDown(15, 15, kClickLeft);
    f.manager.PointerMove(40, 15);
    f.manager.PointerMove(300, 15);
    f.manager.PointerUp(300, 15, kClickLeft);
    EXPECT_EQ(f.edit.hiliteStart, 0);
    EXPECT_EQ(f.edit.cursorPos, 11);
    f.Click(20);
    EXPECT_FALSE(f.edit.HasSelection());

    f.manager.PointerMove(115, 28);
    EXPECT_EQ(f.host.LastCursor(), CursorKind::Arrow);

    // A click left of the text lands on the first character shown.
    f.edit.SetText(std::string(40, 'w'), false);
    ASSERT_GT(f.edit.leftPos, 0);
    f.Click(3);
    EXPECT_EQ(f.edit.cursorPos, f.edit.leftPos);
}

TEST(EditWidgetTest, Keys_WordJumpsAndShiftSelection)
{
    Fixture f;
    f.edit.SetText("foo, bar_baz 42", true);
    f.Key(kVirtualKeyHome);
    std::vector<int> stops;
    for (int i = 0; i < 3; ++i) {
        f.KeyWith(kVirtualKeyControl, kVirtualKeyRight);
        stops.push_back(f.edit.cursorPos);
    }
    for (int i = 0; i < 3; ++i) {
        f.KeyWith(kVirtualKeyControl, kVirtualKeyLeft);
        stops.push_back(f.edit.cursorPos);
    }
    EXPECT_EQ(stops, (std::vector<int>{5, 13, 15, 13, 5, 0}));

    f.Key(kVirtualKeyEnd);
    f.manager.KeyDown(kVirtualKeyShift);
    f.KeyWith(kVirtualKeyControl, kVirtualKeyLeft);
    f.Key(kVirtualKeyLeft);
    f.manager.KeyUp(kVirtualKeyShift);
    EXPECT_EQ(f.edit.hiliteStart, 15);
    EXPECT_EQ(f.edit.cursorPos, 12);
    // Typing replaces the selection and leaves none, even with Shift held for a capital.
    f.manager.KeyDown(kVirtualKeyShift);
    f.Type("X");
    f.manager.KeyUp(kVirtualKeyShift);
    EXPECT_EQ(f.edit.text, "foo, bar_bazX");
    EXPECT_FALSE(f.edit.HasSelection());
    f.KeyWith(kVirtualKeyShift, kVirtualKeyHome);
    f.Key(kVirtualKeyRight);
    EXPECT_FALSE(f.edit.HasSelection());
    EXPECT_EQ(f.edit.cursorPos, 1);
}

TEST(EditWidgetTest, Scrolling_JumpsTenCharactersAndNeverLosesTheCursor)
{
    Fixture f;
    f.Type(std::string(15, 'x'));
    EXPECT_EQ(f.edit.leftPos, 0);
    f.Type(std::string(5, 'x'));
    EXPECT_EQ(f.edit.leftPos, 10);
    f.Key(kVirtualKeyHome);
    EXPECT_EQ(f.edit.leftPos, 0);
    f.Key(kVirtualKeyEnd);
    EXPECT_EQ(f.edit.leftPos, 10);

    // A field narrower than its margins still ends with the cursor in view.
    f.edit.Place(10, 5, 6, 20);
    f.edit.SetText("", true);
    for (int i = 1; i <= 12; ++i) {
        f.Type("y");
        EXPECT_LE(f.edit.leftPos, f.edit.cursorPos);
        EXPECT_GE(f.edit.leftPos, f.edit.cursorPos - 1);
    }
    // A jump of ten never passes a cursor inside the text.
    f.edit.Place(10, 5, 20, 20);
    f.edit.SetText("abcdefghij", true);
    f.Key(kVirtualKeyHome);
    f.Key(kVirtualKeyRight);
    f.Key(kVirtualKeyRight);
    EXPECT_EQ(f.edit.cursorPos, 2);
    EXPECT_EQ(f.edit.leftPos, 2);
}

TEST(EditWidgetTest, Paint_TextSelectionCursorOutlineAndClip)
{
    Fixture f;
    f.Type("ab");
    ASSERT_TRUE(f.manager.DrawScreen());
    // Field (10, 5); text at x 4, rows 4..15 of the field; glyph blocks on rows 6..13.
    EXPECT_EQ(PixelAt(f.screen, 10, 5), kBlack);
    EXPECT_EQ(PixelAt(f.screen, 109, 24), kBlack);
    EXPECT_EQ(PixelAt(f.screen, 11, 6), kWhite);
    EXPECT_EQ(PixelAt(f.screen, 15, 12), kBlack);
    EXPECT_EQ(PixelAt(f.screen, 19, 12), kWhite);
    // The cursor after "b", a column over the font height.
    EXPECT_EQ(PixelAt(f.screen, 26, 9), kBlack);
    EXPECT_EQ(PixelAt(f.screen, 26, 20), kBlack);
    EXPECT_EQ(PixelAt(f.screen, 27, 9), kWhite);

    f.edit.SetColorAt(3, Color(0, 0, 255));
    f.edit.SetText("abc", true);
    f.manager.SetFocus(nullptr);
    ASSERT_TRUE(f.manager.DrawScreen());
    EXPECT_EQ(PixelAt(f.screen, 14, 10), kBlue);
    EXPECT_EQ(PixelAt(f.screen, 31, 20), kBlue);
    EXPECT_EQ(PixelAt(f.screen, 15, 12), kWhite);
    EXPECT_EQ(PixelAt(f.screen, 32, 10), kWhite);

    // The sixteenth character covers x 95..98 of the field; the clip ends before 96.
    f.edit.SetText(std::string(16, 'm'), true);
    f.edit.hiliteStart = -1;
    ASSERT_TRUE(f.manager.DrawScreen());
    EXPECT_EQ(PixelAt(f.screen, 10 + 95, 12), kBlack);
    EXPECT_EQ(PixelAt(f.screen, 10 + 96, 12), kWhite);
    EXPECT_EQ(PixelAt(f.screen, 10 + 98, 12), kWhite);
    EXPECT_EQ(PixelAt(f.screen, 10 + 99, 12), kBlack);
}

TEST(EditWidgetTest, Repaint_SeeThroughBackgroundRepaintsWhatLiesBelow)
{
    Fixture f;
    Zorva::Widget below;
    below.Place(0, 0, 120, 30);
    f.manager.RemoveWidget(&f.edit);
    f.manager.AddWidget(&below);
    f.manager.AddWidget(&f.edit);
    f.manager.SetFocus(&f.edit);
    f.manager.DrawScreen();
    f.Type("a");
    EXPECT_TRUE(f.edit.dirty);
    EXPECT_FALSE(below.dirty);
    f.manager.DrawScreen();

    f.edit.SetColorAt(0, Color(255, 255, 255, 128));
    f.manager.DrawScreen();
    f.Type("b");
    EXPECT_TRUE(below.dirty);
}

TEST(EditWidgetTest, Blink_FlipsAfterTheDelayOnlyWhileFocused)
{
    Fixture f;
    EXPECT_TRUE(f.edit.cursorShown);
    for (int i = 0; i < 40; ++i) {
        f.manager.UpdateFrame();
    }
    EXPECT_TRUE(f.edit.cursorShown);
    f.manager.UpdateFrame();
    EXPECT_FALSE(f.edit.cursorShown);
    for (int i = 0; i < 41; ++i) {
        f.manager.UpdateFrame();
    }
    EXPECT_TRUE(f.edit.cursorShown);

    f.manager.SetFocus(nullptr);
    for (int i = 0; i < 100; ++i) {
        f.manager.UpdateFrame();
    }
    EXPECT_FALSE(f.edit.cursorShown);
}

TEST(EditWidgetTest, DefaultFont_SansSerifTenMadeOnFirstPaint)
{
    RecordingHost host;
    Zorva::WidgetManager manager(&host);
    Zorva::MemoryImage screen;
    screen.Create(40, 20);
    manager.Resize(40, 20);
    manager.SetScreenImage(&screen);
    EditWidget edit(1, nullptr);
    edit.Place(0, 0, 40, 20);
    manager.AddWidget(&edit);
    EXPECT_EQ(edit.font, nullptr);
    manager.DrawScreen();
    const auto* made = dynamic_cast<Zorva::SysFont*>(edit.font.get());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetFaceName(), "SansSerif");
    EXPECT_EQ(made->GetPointSize(), 10);
}
