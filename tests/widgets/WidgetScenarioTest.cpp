// A screen of stock widgets and a modal dialog in an application on the fake clock, driven by
// a script of input events that the application's message stage takes one per loop cycle,
// as the window layer delivers them. More widgets join the scene and the script alike.

#include "TextWidgetTestSupport.h"
#include "WidgetTestSupport.h"
#include "app/PlatformClock.h"
#include "app/ZorvaAppBase.h"
#include "widgets/Checkbox.h"
#include "widgets/DialogButton.h"
#include "widgets/EditListener.h"
#include "widgets/EditWidget.h"
#include "widgets/HyperlinkWidget.h"
#include "widgets/ListListener.h"
#include "widgets/ListWidget.h"
#include "widgets/Slider.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

using namespace WidgetTest;

namespace {

/// Input for the widget manager's entry points, queued as the window layer would.
class InputScript
{
public:
    using Event = std::function<void(WidgetManager&)>;

    void Move(int x, int y)
    {
        events.push_back([=](WidgetManager& m) { m.PointerMove(x, y); });
    }
    void Click(int x, int y) { Drag(x, y, x, y); }
    /// The second press of a double click follows a first click at the same place.
    void DoubleClick(int x, int y)
    {
        Click(x, y);
        Drag(x, y, x, y, kClickLeftDouble);
    }
    /// Each button message comes after a move to where it happens.
    void Drag(int fromX, int fromY, int toX, int toY, int pressCode = kClickLeft)
    {
        Move(fromX, fromY);
        events.push_back([=](WidgetManager& m) { m.PointerDown(fromX, fromY, pressCode); });
        Move(toX, toY);
        events.push_back([=](WidgetManager& m) { m.PointerUp(toX, toY, kClickLeft); });
    }
    void Key(int key)
    {
        events.push_back([=](WidgetManager& m) { m.KeyDown(key); });
        events.push_back([=](WidgetManager& m) { m.KeyUp(key); });
    }
    void Type(char c)
    {
        events.push_back([=](WidgetManager& m) { m.KeyChar(c); });
    }

    std::deque<Event> events;
};

class ScenarioApp : public ZorvaAppBase
{
public:
    explicit ScenarioApp(ListenerLog& newLog)
        : ZorvaAppBase(std::make_unique<FakeClock>()), log(newLog)
    {
        width = 800;
        height = 600;
        GetWidgetManager()->OnAppFocusIn();
    }
    bool ProcessDeferredMessage() override
    {
        if (script.events.empty()) {
            return false;
        }
        const InputScript::Event event = script.events.front();
        script.events.pop_front();
        event(*GetWidgetManager());
        return true;
    }
    using ZorvaAppBase::OnButtonPressed;
    void OnButtonPressed(int id) override { log.Note("app pressed", id); }
    void OnButtonActivated(int id) override { log.Note("app activated", id); }
    void RunScript()
    {
        while (!script.events.empty()) {
            RunUntilUpdate();
        }
    }
    MemoryImage& Draw()
    {
        GetWidgetManager()->DrawScreen();
        return *GetScreenImage();
    }

    ListenerLog& log;
    InputScript script;
};

/// Notes what the text widgets report, in the scenario's log.
class TextListener : public EditListener, public ListListener
{
public:
    explicit TextListener(ListenerLog& target) : log(target) {}
    void OnEditEnter(int id, const std::string& text) override
    {
        log.lines.push_back("enter " + std::to_string(id) + " " + text);
    }
    void OnListClicked(int id, int index, int clickCount) override
    {
        log.Note("list clicked " + std::to_string(id), index, clickCount);
    }
    ListenerLog& log;
};

} // namespace

TEST(WidgetScenarioTest, EditAndListJoinTheScreenAndGoQuietUnderAModalDialog)
{
    ListenerLog log;
    TextListener textLog(log);
    ScenarioApp app(log);
    WidgetManager& manager = *app.GetWidgetManager();
    FilledWidget background(Rect(0, 0, 800, 600), Color(0, 0, 64));
    EditWidget edit(6, &textLog);
    ListWidget list(7, &textLog);
    for (const char* line : {"Anna", "Boris", "Chloe"}) {
        list.AddLine(line, false);
    }
    background.Place(Rect(0, 0, 800, 600));
    edit.Place(Rect(20, 200, 200, 24));
    list.Place(Rect(300, 200, 150, 100));
    for (Widget* widget : std::initializer_list<Widget*>{&background, &edit, &list}) {
        manager.AddWidget(widget);
    }

    app.Draw(); // the widgets make their fonts, and with them the list's line height
    ASSERT_GT(list.itemHeight, 0);
    // Click into the field, type a name with a typo, mend it, confirm with Enter.
    app.script.Click(30, 210);
    for (char c : std::string("Dorz")) {
        app.script.Type(c);
    }
    app.script.Key(kVirtualKeyBackspace);
    app.script.Type('a');
    app.script.Key(kVirtualKeyEnter);
    // Pick the second name of the list.
    const int lineY = 200 + 4 + list.itemHeight + list.itemHeight / 2;
    app.script.Click(320, lineY);
    app.RunScript();
    EXPECT_EQ(edit.text, "Dora");
    EXPECT_EQ(manager.focusWidget, &edit);
    EXPECT_EQ(log.Take(), (Log{"enter 6 Dora", "list clicked 7 1 1"}));
    app.Draw();
    // The field keeps its white background, outlined in black.
    EXPECT_EQ(Pixels(*app.GetScreenImage(), {{20, 200}, {200, 215}}), "0,0,0 255,255,255");

    // Under a modal dialog the field takes no characters and the list no clicks.
    app.ShowNewDialog(60, true, "Name", "", "OK", Dialog::kButtonsFooter);
    app.script.Type('x');
    app.script.Click(320, lineY);
    app.RunScript();
    EXPECT_EQ(edit.text, "Dora");
    EXPECT_TRUE(log.Take().empty());
    app.CloseDialog(60);
    app.RunUntilUpdate();
    for (Widget* widget : std::initializer_list<Widget*>{&background, &edit, &list}) {
        manager.RemoveWidget(widget);
    }
}

TEST(WidgetScenarioTest, EditFieldSelectsByPointerOnlyWhereTheDragReachesAnotherCharacter)
{
    ListenerLog log;
    TextListener textLog(log);
    ScenarioApp app(log);
    TextWidgetTest::BlockFont font;
    EditWidget edit(6, &textLog);
    edit.SetFont(&font);
    edit.Place(Rect(20, 200, 200, 24));
    app.GetWidgetManager()->AddWidget(&edit);
    edit.SetText("hello world", true);
    const auto selected = [&edit] {
        const int start = std::min(edit.hiliteStart, edit.cursorPos);
        return edit.HasSelection() ? edit.text.substr(start, edit.cursorPos - start) : "";
    };
    // Characters are 6 pixels wide; a pointer at x + 6i + 8 lies nearest to boundary i + 1.
    const auto at = [](int boundary) { return 20 + 6 * boundary + 3; };

    // The moves before the second release and during the press stay on one character.
    app.script.DoubleClick(at(8), 212);
    app.RunScript();
    EXPECT_EQ(selected(), "world");
    app.script.Drag(at(8), 212, at(8) + 2, 212, kClickLeftDouble);
    app.RunScript();
    EXPECT_EQ(selected(), "world");

    // A drag that reaches other characters selects from where it began.
    app.script.Drag(at(1), 212, at(4), 212);
    app.RunScript();
    EXPECT_EQ(selected(), "ell");
    app.script.Click(at(2), 212);
    app.RunScript();
    EXPECT_EQ(selected(), "");
    EXPECT_EQ(edit.cursorPos, 2);
    app.GetWidgetManager()->RemoveWidget(&edit);
}

TEST(WidgetScenarioTest, StockWidgetsThenAModalDialogDrivenThroughTheLoop)
{
    ListenerLog log;
    ScenarioApp app(log);
    WidgetManager& manager = *app.GetWidgetManager();
    FilledWidget background(Rect(0, 0, 800, 600), Color(0, 0, 64));
    ButtonWidget button(1, &log);
    auto buttonBox = StripedImage(9, 9, {Color(0, 160, 0)});
    DialogButton boxedButton(buttonBox.get(), 2, &log);
    HyperlinkWidget link(3, &log);
    Checkbox checkbox(nullptr, nullptr, 4, &log);
    auto thumb = StripedImage(10, 16, {Color(255, 255, 255)});
    Slider slider(nullptr, thumb.get(), 5, &log);
    button.label = "Play";
    boxedButton.label = "Options";
    link.label = "Web";
    const std::vector<std::pair<Widget*, Rect>> scene{
        {&background, Rect(0, 0, 800, 600)},   {&button, Rect(20, 20, 100, 30)},
        {&boxedButton, Rect(20, 60, 100, 30)}, {&link, Rect(20, 100, 100, 20)},
        {&checkbox, Rect(20, 130, 16, 16)},    {&slider, Rect(20, 160, 110, 16)}};
    for (const auto& [widget, bounds] : scene) {
        widget->Place(bounds);
        manager.AddWidget(widget);
    }
    checkbox.tabNext = &slider;

    app.script.Click(70, 35);
    app.script.Click(70, 75);
    app.script.Click(70, 110);
    app.script.Click(28, 138);
    app.script.Drag(25, 168, 300, 168);
    app.RunScript();
    EXPECT_EQ(log.Take(),
              (Log{"hover 1", "pressed 1 1", "activated 1", "unhover 1", "hover 2", "pressed 2 1",
                   "activated 2", "unhover 2", "hover 3", "pressed 3 1", "activated 3", "unhover 3",
                   "checkbox 4 1", "slider 5 100", "slider 5 100"}));
    EXPECT_EQ(
        Pixels(app.Draw(), {{25, 23}, {22, 62}, {28, 138}, {125, 168}, {25, 168}, {300, 300}}),
        "212,212,212 0,160,0 255,255,0 255,255,255 132,132,132 0,0,64");

    manager.SetFocus(&checkbox);
    app.script.Key(kVirtualKeyTab);
    app.RunScript();
    EXPECT_EQ(manager.focusWidget, &slider);

    // The modal dialog takes the focus and the pointer from everything below it: clicks and
    // keys meant for them go nowhere. It is dragged by its frame, then answered with its
    // second button where the drag put it.
    Dialog* dialog = app.ShowNewDialog(50, true, "Quit?", "Do you really want to quit?", "",
                                       Dialog::kButtonsYesNo);
    EXPECT_EQ(manager.focusWidget, nullptr);
    const Rect at = dialog->GetBounds();
    EXPECT_EQ(at.x, 200);
    EXPECT_EQ(Pixels(app.Draw(), {{at.x + 12, at.y + 12}, {at.x + 14, at.y + 14}}),
              "255,255,255 80,80,80");
    app.script.Click(70, 35);
    app.script.Click(28, 138);
    app.script.Key(kVirtualKeyTab);
    app.script.Type('x');
    app.script.Drag(at.x + 30, at.y + 30, at.x + 70, at.y + 50);
    const Widget& no = *dialog->GetNoButton();
    app.script.Click(no.x + 40 + no.width / 2, no.y + 20 + no.height / 2);
    EXPECT_EQ(dialog->WaitForResult(true), Dialog::kNoButtonId);
    EXPECT_EQ(log.Take(), (Log{"app pressed 3050", "app activated 3050"}));
    EXPECT_TRUE(checkbox.IsChecked());

    // Closed, it gives the focus back and the screen below shows again.
    EXPECT_EQ(app.FindDialog(50), nullptr);
    EXPECT_EQ(manager.focusWidget, &slider);
    app.RunUntilUpdate();
    EXPECT_EQ(Pixels(app.Draw(), {{at.x + 14, at.y + 14}, {at.x + 54, at.y + 34}}),
              "0,0,64 0,0,64");
}
