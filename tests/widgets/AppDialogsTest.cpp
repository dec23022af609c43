#include "WidgetTestSupport.h"
#include "app/PlatformClock.h"
#include "app/ZorvaAppBase.h"
#include "widgets/DialogButton.h"

#include <gtest/gtest.h>

#include <functional>

using namespace WidgetTest;

namespace {

/// An application on the fake clock that logs its button events and modal hooks.
class DialogApp : public ZorvaAppBase
{
public:
    DialogApp() : ZorvaAppBase(std::make_unique<FakeClock>())
    {
        GetWidgetManager()->OnAppFocusIn();
    }
    using ZorvaAppBase::OnButtonPressed;
    void OnButtonPressed(int id) override { log.Note("pressed", id); }
    void OnButtonActivated(int id) override { log.Note("activated", id); }
    void OnModalBegin() override { log.Note("modal begin", 0); }
    void OnModalEnd() override { log.Note("modal end", 0); }
    ListenerLog log;
};

/// Tells when it is deleted and which container it was still in then.
class TrackedDialog : public Dialog
{
public:
    TrackedDialog(int newId, bool modal, bool* newDeleted,
                  WidgetContainer** newParentThen = nullptr)
        : Dialog(nullptr, nullptr, newId, modal, "Header", "Lines", "", kButtonsYesNo),
          deleted(newDeleted), parentThen(newParentThen)
    {}
    ~TrackedDialog() override
    {
        *deleted = true;
        if (parentThen != nullptr) {
            *parentThen = parent;
        }
    }
    bool* deleted;
    WidgetContainer** parentThen;
};

/// Runs a callback on each of its ticks; it ticks below a modal dialog too.
class TickDriver : public Widget
{
public:
    void Tick() override { onTick(++tickCount); }
    std::function<void(int)> onTick;
};

} // namespace

TEST(AppDialogsTest, AttachAndClose_SizeReplaceModalLayerRoutingAndZeroWithoutAButton)
{
    DialogApp app;
    WidgetManager& manager = *app.GetWidgetManager();
    bool firstDeleted = false;
    Dialog* first = app.AttachDialog(5, std::make_unique<TrackedDialog>(5, true, &firstDeleted));
    // Half of the 640 by 480 application, centred across and a fifth down.
    EXPECT_EQ(first->GetBounds(), Rect(160, 96, 320, first->PreferredHeight(320)));
    EXPECT_EQ(manager.children.back(), first->GetNoButton());
    const Widget& yes = *first->GetYesButton();
    Click(manager, yes.x + 1, yes.y + 1);
    EXPECT_EQ(first->result, Dialog::kYesButtonId);

    auto sized = std::make_unique<Dialog>(nullptr, nullptr, 5, true, "", "", "", 0);
    sized->Place(10, 20, 100, 50);
    Dialog* second = app.AttachDialog(std::move(sized));
    EXPECT_EQ(second->GetBounds(), Rect(10, 20, 100, 50));
    EXPECT_EQ(app.FindDialog(5), second);
    EXPECT_EQ(app.CountDialogs(), 1);
    EXPECT_EQ(manager.baseModalWidget, second);
    EXPECT_EQ(manager.modalStack.size(), 1u);
    EXPECT_EQ(app.log.Take(), (Log{"modal begin 0", "pressed 2005", "activated 2005", "modal end 0",
                                   "modal begin 0"}));

    // The replaced one left at once, cannot close its successor, and is deleted by the loop.
    EXPECT_EQ(first->GetYesButton()->GetManager(), nullptr);
    EXPECT_FALSE(app.CloseDialog(first));
    EXPECT_FALSE(firstDeleted);
    app.ProcessDeferredDeletes();
    EXPECT_TRUE(firstDeleted);

    second->result = -1;
    EXPECT_TRUE(app.CloseDialog(second));
    EXPECT_EQ(second->result, 0);
    EXPECT_FALSE(app.CloseDialog(5));
    EXPECT_EQ(app.log.Take(), Log{"modal end 0"});
    EXPECT_EQ(manager.baseModalWidget, nullptr);
    EXPECT_TRUE(manager.children.empty());
    EXPECT_EQ(app.ShowNewDialog(6, false, "", "", "", 0)->dialogListener,
              static_cast<DialogListener*>(&app));
    EXPECT_TRUE(app.CloseDialog(6));
    EXPECT_EQ(second->result, 0);
}

TEST(AppDialogsTest, WaitForResult_EndsOnShutdownAndWhenClosedInsideTheLoop)
{
    bool deleted = false;
    const auto waitUntil = [&deleted](bool closeInside) {
        DialogApp app;
        TickDriver driver;
        app.GetWidgetManager()->AddWidget(&driver);
        Dialog* dialog = app.AttachDialog(9, std::make_unique<TrackedDialog>(9, true, &deleted));
        driver.onTick = [&](int tick) {
            if (tick == 2 && closeInside) {
                app.CloseDialog(9);
            } else if (tick == 2) {
                app.Shutdown();
            }
        };
        const int result = dialog->WaitForResult(closeInside);
        app.GetWidgetManager()->RemoveWidget(&driver);
        return std::pair{result, driver.tickCount};
    };
    EXPECT_EQ(waitUntil(false), (std::pair{Dialog::kNoResult, 2}));
    // Deleted under the wait, the dialog still reads 0.
    deleted = false;
    EXPECT_EQ(waitUntil(true), (std::pair{0, 2}));

    Dialog loose(nullptr, nullptr, 1, true, "", "", "", Dialog::kButtonsYesNo);
    EXPECT_EQ(loose.WaitForResult(true), Dialog::kNoResult);
}

TEST(AppDialogsTest, Destruction_RemovesAndDeletesTheRemainingDialogs)
{
    bool deleted[3] = {};
    WidgetContainer* parents[2] = {};
    {
        DialogApp app;
        app.AttachDialog(1, std::make_unique<TrackedDialog>(1, false, &deleted[0], &parents[0]));
        app.AttachDialog(2, std::make_unique<TrackedDialog>(2, true, &deleted[1], &parents[1]));
        app.AttachDialog(3, std::make_unique<TrackedDialog>(3, true, &deleted[2]));
        app.CloseDialog(3);
        parents[0] = parents[1] = app.GetWidgetManager();
    }
    EXPECT_TRUE(deleted[0] && deleted[1] && deleted[2]);
    EXPECT_EQ(parents[0], nullptr);
    EXPECT_EQ(parents[1], nullptr);
}
