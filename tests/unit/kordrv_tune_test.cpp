// Tune page: slider rounding, log fill level, log button, reset wait and result.
#include "kordrv/core/kordrv_ids.h"
#include "kordrv/core/kordrv_tune.h"

#include "kordrv_test_util.h"

#include "shared/drv_block_ops.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace kordrv;
using kordrv_test::GuardedBuffer;

namespace
{

TEST(KorDrvTune, SliderReleaseStoresTheNearestStep)
{
    const struct {
        int thumb;
        std::uint32_t stored;
    } cases[] = {
        {149, 100},           {150, 200},         {1000, 1000}, {0, 0},     {49, 0},  {50, 100},
        {949, 900},           {950, 1000},        {999, 1000},  {551, 600}, {-20, 0}, {1200, 1000},
        {-2147483647 - 1, 0}, {2147483647, 1000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundRefreshPeriod(c.thumb), c.stored) << "thumb " << c.thumb;
        // What is stored is a period the refresh loop accepts as it stands, 0 aside.
        const std::uint32_t stored = RoundRefreshPeriod(c.thumb);
        EXPECT_EQ(stored % 100, 0u);
        if (stored != 0) {
            EXPECT_EQ(EffectiveRefreshPeriod(stored), stored);
        }
    }
}

TEST(KorDrvTune, SliderShowsThePeriodWithinItsRange)
{
    EXPECT_EQ(SliderPositionForPeriod(0), 0);
    EXPECT_EQ(SliderPositionForPeriod(300), 300);
    EXPECT_EQ(SliderPositionForPeriod(1000), 1000);
    EXPECT_EQ(SliderPositionForPeriod(1001), 1000);
    EXPECT_EQ(SliderPositionForPeriod(0xFFFFFFFFu), 1000); // never a negative position
}

TEST(KorDrvTune, LogFillLevel)
{
    const struct {
        const char* what;
        std::uint32_t position;
        std::uint32_t limit;
        unsigned percent;
    } cases[] = {
        {"a few bytes of a large limit show 1", 5, 100000, 1},
        {"empty", 0, 100000, 0},
        {"half", 500, 1000, 50},
        {"truncated", 999, 1000, 99},
        {"full", 1000, 1000, 100},
        {"past the limit", 2000, 1000, 100},
        {"position x 100 beyond 32 bits", 50000000, 100000000, 50},
        {"both at the top", 0xFFFFFFFFu, 0xFFFFFFFFu, 100},
        {"limit 0, empty", 0, 0, 0},
        {"limit 0, some lines", 5000, 0, 1},
        {"limit 0, position field full", 0xFFFFFFFFu, 0, 100},
        {"limit 1", 1, 1, 100},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LogProgressPercent(c.position, c.limit), c.percent) << c.what;
}

TEST(KorDrvTune, LogButton)
{
    const struct {
        const char* what;
        bool switchOn;
        LogOpenResult open;
        bool newSwitch;
        bool resetPosition;
        unsigned caption;
        bool showError;
    } cases[] = {
        {"on: stops, whatever the open gave", true, LogOpenResult::OtherFailure, false, true,
         IDS_START_LOG, false},
        {"on: stops", true, LogOpenResult::Opened, false, true, IDS_START_LOG, false},
        {"off, writable file", false, LogOpenResult::Opened, true, false, IDS_STOP_LOG, false},
        {"off, file in use elsewhere", false, LogOpenResult::AccessDenied, true, false,
         IDS_STOP_LOG, false},
        {"off, cannot create", false, LogOpenResult::OtherFailure, false, false, IDS_START_LOG,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const LogButtonOutcome o = PressLogButton(c.switchOn, c.open);
        EXPECT_EQ(o.logSwitch, c.newSwitch);
        EXPECT_EQ(o.resetPosition, c.resetPosition);
        EXPECT_EQ(o.captionId, c.caption);
        EXPECT_EQ(o.showOpenError, c.showError);
    }
}

TEST(KorDrvTune, LogButtonPressedTwiceWithAWritableFile)
{
    bool logSwitch = false;
    std::uint32_t position = 1234;
    LogButtonOutcome o = PressLogButton(logSwitch, LogOpenResult::Opened);
    logSwitch = o.logSwitch;
    EXPECT_EQ(o.captionId, IDS_STOP_LOG);
    EXPECT_FALSE(o.resetPosition);

    o = PressLogButton(logSwitch, LogOpenResult::Opened);
    if (o.resetPosition)
        position = 0;
    EXPECT_EQ(o.captionId, IDS_START_LOG);
    EXPECT_FALSE(o.logSwitch);
    EXPECT_EQ(position, 0u);
}

TEST(KorDrvTune, LogButtonCaptionWhenThePageOpens)
{
    EXPECT_EQ(LogButtonCaptionId(true), static_cast<unsigned>(IDS_STOP_LOG));
    EXPECT_EQ(LogButtonCaptionId(false), static_cast<unsigned>(IDS_START_LOG));
}

// The reset wait as the page runs it, against a service whose answer appears at a given time.
struct ResetRun {
    int polls;
    std::uint32_t elapsedMs;
    std::int32_t shown;
};

ResetRun RunResetWait(const std::function<std::int32_t(std::uint32_t)>& resultAt)
{
    ResetRun run{0, kResetFirstWaitMs, 0};
    std::uint32_t waited = 0;
    for (;;) {
        const std::int32_t read = resultAt(run.elapsedMs);
        ++run.polls;
        run.elapsedMs += kResetPollMs;
        waited += kResetPollMs;
        if (ResetWaitDone(read, waited))
            break;
        if (run.polls > 100000)
            break; // a wait that never ends fails below
    }
    run.shown = resultAt(run.elapsedMs);
    return run;
}

TEST(KorDrvTune, ResetWaitEndsOnTheFirstAnswer)
{
    // Three connections closed within the first 500 ms: shown right after the first poll.
    const ResetRun quick = RunResetWait([](std::uint32_t t) { return t >= 200 ? 3 : -1; });
    EXPECT_EQ(quick.polls, 1);
    EXPECT_EQ(quick.shown, 3);

    const ResetRun later = RunResetWait([](std::uint32_t t) { return t >= 1250 ? 0 : -1; });
    EXPECT_EQ(later.polls, 9); // reads at 500, 600, ... 1300
    EXPECT_EQ(later.shown, 0);
}

TEST(KorDrvTune, ResetWaitGivesUpAfterTwentySeconds)
{
    const ResetRun silent = RunResetWait([](std::uint32_t) { return kDrvCommandPending; });
    EXPECT_EQ(silent.polls, 201);
    EXPECT_EQ(silent.elapsedMs, 20600u); // about 20.5 s before the box
    char buf[64];
    ASSERT_TRUE(FormatResetResult(buf, sizeof(buf), kResetResultFormat, silent.shown));
    EXPECT_STREQ(buf, "Number of active connections closed : 4294967295.");

    EXPECT_FALSE(ResetWaitDone(kDrvCommandPending, 20000));
    EXPECT_TRUE(ResetWaitDone(kDrvCommandPending, 20100));
    EXPECT_TRUE(ResetWaitDone(0, 100));
    EXPECT_TRUE(ResetWaitDone(-2, 100)); // any value but -1 ends the wait
}

TEST(KorDrvTune, ResetResultText)
{
    char buf[64];
    ASSERT_TRUE(FormatResetResult(buf, sizeof(buf), kResetResultFormat, 3));
    EXPECT_STREQ(buf, "Number of active connections closed : 3.");

    const std::string full = "Number of active connections closed : 4294967295.";
    for (std::size_t size = 0; size <= full.size() + 1; ++size) {
        GuardedBuffer g(size);
        EXPECT_EQ(FormatResetResult(g.Data(), size, kResetResultFormat, -1), size > full.size());
        EXPECT_TRUE(g.Intact());
        if (size > 0) {
            EXPECT_EQ(g.Text(), full.substr(0, size - 1));
        }
    }
}

} // namespace
