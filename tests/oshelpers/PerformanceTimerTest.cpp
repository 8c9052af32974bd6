#include <gtest/gtest.h>
#include <windows.h>

#include "core/OsVersion.h"
#include "core/PerformanceTimer.h"

TEST(OsVersion, ModernNtCountsAsCapable) {
    unsigned v = GetWindowsVersionClass();
    // Wine reports an NT system; later NT versions come back as 0xFFFFFFFF, which callers
    // compare unsigned against 4.
    EXPECT_TRUE(v == 5u || v == 0xFFFFFFFFu) << v;
    EXPECT_GE(v, 4u);
}

// A tick of the coarser of the two clocks.
const double kClockSlack = 0.02;

DWORD Ticks() { return ::GetTickCount(); }

class PerformanceTimerTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { PerformanceTimerUseMillisecondClock(GetParam()); }
    void TearDown() override { PerformanceTimerUseMillisecondClock(false); }
};

TEST_P(PerformanceTimerTest, MeasuresRunningAndPausedTime) {
    EXPECT_EQ(0.0, PerformanceTimer(TIMER_RESET));
    EXPECT_EQ(0.0, PerformanceTimer(TIMER_START));
    Sleep(30);
    double app = PerformanceTimer(TIMER_APP_TIME);
    EXPECT_GE(app, 0.025);
    EXPECT_LT(app, 60.0);

    // Elapsed readings: the second is no more than the time the test itself saw pass around
    // both (however busy the machine), give or take a tick of the coarse clock.
    const DWORD before = Ticks();
    PerformanceTimer(TIMER_ELAPSED);
    const double elapsed = PerformanceTimer(TIMER_ELAPSED);
    EXPECT_LE(elapsed, (Ticks() - before) / 1000.0 + kClockSlack);

    // While stopped, time stands still; an advance moves it on by a tenth of a second.
    PerformanceTimer(TIMER_STOP);
    double frozen = PerformanceTimer(TIMER_APP_TIME);
    Sleep(30);
    EXPECT_DOUBLE_EQ(frozen, PerformanceTimer(TIMER_APP_TIME));
    PerformanceTimer(TIMER_ADVANCE);
    EXPECT_NEAR(frozen + 0.1, PerformanceTimer(TIMER_APP_TIME), 1e-6);

    // Resuming drops the paused interval (but not the advance) from the application time.
    const DWORD restart = Ticks();
    PerformanceTimer(TIMER_START);
    double resumed = PerformanceTimer(TIMER_APP_TIME);
    EXPECT_GT(resumed, frozen + 0.099);
    EXPECT_LE(resumed, frozen + 0.1 + (Ticks() - restart) / 1000.0 + kClockSlack);
    EXPECT_GT(PerformanceTimer(TIMER_ABSOLUTE), 0.0);
    EXPECT_EQ(-1.0, PerformanceTimer(42));
}

INSTANTIATE_TEST_SUITE_P(Clocks, PerformanceTimerTest, ::testing::Values(false, true));
