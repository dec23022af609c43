#include "app/LoopTiming.h"
#include "app/FpsOverlay.h"

#include <gtest/gtest.h>

using namespace Zorva;

TEST(LoopTimingTest, PendingTime_FirstSampleAddsNothingDebtIsCappedResampleSkipsTime)
{
    LoopTiming timing;
    timing.Accumulate(5000);
    EXPECT_EQ(timing.PendingTime(), 0.0);
    timing.Accumulate(5007);
    EXPECT_EQ(timing.PendingTime(), 7.0);
    EXPECT_FALSE(timing.StepDue(10.0));
    EXPECT_EQ(timing.MsUntilStep(10.0), 3);

    // A long stall leaves at most 200 ms to catch up, consumed one step at a time.
    timing.Accumulate(65000);
    EXPECT_EQ(timing.PendingTime(), LoopTiming::kMaxPendingMs);
    timing.ConsumeStep(12.5);
    EXPECT_EQ(timing.PendingTime(), 187.5);

    // Time spent away from the loop (a message box, a mode switch) is not caught up.
    timing.Resample(90000);
    timing.Accumulate(90004);
    EXPECT_EQ(timing.PendingTime(), 191.5);
}

TEST(LoopTimingTest, StepArithmetic_SpeedsRoundTheForcedDrawUpAndTheLoadingShareIsCapped)
{
    EXPECT_EQ(LoopTiming::StepMs(10, 2.0), 5.0);
    EXPECT_EQ(LoopTiming::StepMs(10, 0.5), 20.0);
    EXPECT_EQ(LoopTiming::ForcedDrawAfter(1.0), 10);
    EXPECT_EQ(LoopTiming::ForcedDrawAfter(1.25), 13);
    EXPECT_EQ(LoopTiming::ForcedDrawAfter(0.05), 1);
    EXPECT_EQ(LoopTiming::LoadingShareMs(40), 80);
    EXPECT_EQ(LoopTiming::LoadingShareMs(126), 250);
    EXPECT_EQ(LoopTiming::LoadingShareMs(0), 0);
    // Time the step slept already counts as yielded.
    EXPECT_EQ(LoopTiming::LoadingShareMs(12, 4), 20);
    EXPECT_EQ(LoopTiming::LoadingShareMs(0, 10), -10);
    EXPECT_EQ(LoopTiming::LoadingShareMs(200, 100), 250);
}

TEST(LoopTimingTest, Presents_OnlyWhenPaintedOrAfterAQuietSecondAndNotBeforeTheThrottle)
{
    LoopTiming timing;
    timing.StartDrawClock(1000);
    EXPECT_FALSE(timing.PresentDue(1999));
    EXPECT_TRUE(timing.PresentDue(2000));

    timing.NoteFramePainted();
    EXPECT_TRUE(timing.PresentDue(1001));
    // While loading: at least 15 ms of drawing plus 35 ms of gap.
    timing.NotePresented(1010, 4, true);
    EXPECT_FALSE(timing.FramePending());
    EXPECT_EQ(timing.NextDrawAllowedTime(), 1060);
    timing.NoteFramePainted();
    EXPECT_FALSE(timing.PresentDue(1059));
    EXPECT_TRUE(timing.PresentDue(1060));
    timing.NotePresented(1070, 40, true);
    EXPECT_EQ(timing.NextDrawAllowedTime(), 1145);
    // Without loading the next frame may follow at once.
    timing.NoteFramePainted();
    timing.NotePresented(1150, 40, false);
    EXPECT_EQ(timing.LastPresentTime(), 1150);
    timing.NoteFramePainted();
    EXPECT_TRUE(timing.PresentDue(1150));
}

TEST(FpsOverlayTest, ReportsTheFramesOfTheLastWholeSecond)
{
    FpsOverlay overlay;
    EXPECT_EQ(overlay.FramesLastSecond(), 0);
    overlay.CountFrame(1000);
    EXPECT_EQ(overlay.FramesLastSecond(), 1);
    for (const int64_t presentTime : {1200, 1500, 1999}) {
        overlay.CountFrame(presentTime);
    }
    EXPECT_EQ(overlay.FramesLastSecond(), 1);
    overlay.CountFrame(2000);
    EXPECT_EQ(overlay.FramesLastSecond(), 4);
    // A playing demo adds its time.
    EXPECT_EQ(overlay.Text(3, 4, std::nullopt), "FPS: 4");
    EXPECT_EQ(overlay.Text(3, 4, 3723999), "FPS: 4  01:02:03");
    overlay.SetMode(1);
    EXPECT_EQ(overlay.Text(3, 4, 0), "3,4  00:00:00");
}
