#include <zemautils/timebase.h>

#include <gtest/gtest.h>

#include <atomic>
#include <ostream>
#include <vector>

#include "timebase_internal.h"

namespace {

// A raw millisecond counter the test moves by hand; sleeping advances it.
std::atomic<std::uint32_t> g_raw{0};
std::vector<std::uint64_t> g_sleeps;

std::uint32_t FakeRaw() { return g_raw.load(); }
void FakeSleep(std::uint64_t milliseconds) {
    g_sleeps.push_back(milliseconds);
    g_raw += static_cast<std::uint32_t>(milliseconds);
}

class FakeTimebase : public ::testing::Test {
protected:
    void Start(std::uint32_t raw) {
        g_raw = raw;
        g_sleeps.clear();
        zema::SetRawMillisecondSource(&FakeRaw);
        zema::SetMillisecondSleeper(&FakeSleep);
    }
    void TearDown() override {
        zema::SetRawMillisecondSource(nullptr);
        zema::SetMillisecondSleeper(nullptr);
    }
};

TEST_F(FakeTimebase, CountBridgesWrapOfRawCounter) {
    Start(0xFFFFFF00u);
    const std::uint64_t start = TimeGetTicks();
    EXPECT_EQ(start, 0xFFFFFF00u);
    std::uint64_t previous = start;
    for (int step = 1; step <= 8; ++step) {
        g_raw += 0x40u;  // wraps past 2^32 at the fourth step
        const std::uint64_t now = TimeGetTicks();
        EXPECT_EQ(now, start + 0x40u * static_cast<std::uint64_t>(step));
        EXPECT_GE(now, previous);
        previous = now;
    }
    EXPECT_GT(previous, 0xFFFFFFFFull);
    EXPECT_EQ(MillisecondCount(), previous);
}

TEST_F(FakeTimebase, RawCounterGoingBackwardsLeavesCountUnchanged) {
    Start(5000);
    const std::uint64_t start = TimeGetTicks();
    g_raw = 4000;
    EXPECT_EQ(TimeGetTicks(), start);
    g_raw = 4100;  // measured from the last raw reading, not from the highest
    EXPECT_EQ(TimeGetTicks(), start + 100);
}

TEST_F(FakeTimebase, SleepZeroReturnsAtOnce) {
    Start(1000);
    EXPECT_EQ(TimerSleep(0), 1000u);
    EXPECT_TRUE(g_sleeps.empty());
}

TEST_F(FakeTimebase, SleepWaitsOutTheDuration) {
    Start(1000);
    EXPECT_EQ(TimerSleep(250), 1250u);
    EXPECT_EQ(g_sleeps, std::vector<std::uint64_t>{250});
}

struct PollCase {
    const char* name;
    std::uint64_t bodyMilliseconds;
    std::uint64_t expectedSleep;  // 0: no sleep
    bool scheduleMovesToNow;
    friend std::ostream& operator<<(std::ostream& out, const PollCase& c) { return out << c.name; }
};

class PollAuto : public FakeTimebase, public ::testing::WithParamInterface<PollCase> {};

TEST_P(PollAuto, KeepsThePeriod) {
    const PollCase& c = GetParam();
    Start(10000);
    std::uint64_t schedule = 0;
    TimerSleepPollAuto(&schedule, 100);
    EXPECT_EQ(schedule, 10000u);
    EXPECT_TRUE(g_sleeps.empty());
    for (int pass = 1; pass <= 3; ++pass) {
        const std::uint64_t before = schedule;
        g_sleeps.clear();
        g_raw += static_cast<std::uint32_t>(c.bodyMilliseconds);
        const std::uint64_t now = TimeGetTicks();
        TimerSleepPollAuto(&schedule, 100);
        if (c.scheduleMovesToNow) {
            EXPECT_TRUE(g_sleeps.empty());
            EXPECT_EQ(schedule, now);
        } else {
            EXPECT_EQ(g_sleeps, std::vector<std::uint64_t>{c.expectedSleep});
            EXPECT_EQ(schedule, before + 100);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Bodies, PollAuto,
                         ::testing::Values(PollCase{"Short", 30, 70, false}, PollCase{"Late", 150, 0, true},
                                           PollCase{"ExactlyOnePeriod", 100, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RealTimebase, NeverGoesBackwardsAndSleepsAtLeastTheDuration) {
    std::uint64_t previous = TimeGetTicks();
    for (int i = 0; i < 1000; ++i) {
        const std::uint64_t now = TimeGetTicks();
        ASSERT_GE(now, previous);
        previous = now;
    }
    const std::uint64_t start = TimeGetTicks();
    EXPECT_GE(TimerSleep(20), start + 20);
}

}  // namespace
