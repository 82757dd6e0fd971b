#include "toolkit/system/timer.h"

#include <gtest/gtest.h>

#include <time.h>

#include <cstdio>
#include <vector>

#include "toolkit/system/hook.h"
#include "toolkit/system/millisecs.h"
#include "toolkit/system/system_driver.h"

namespace kestrel {
namespace {

class Timers : public ::testing::Test {
protected:
    void SetUp() override { InitTimers(); }
    void TearDown() override {
        for (auto& t : made) t->Stop();
        PollSystem();
        EXPECT_EQ(RunningTimers(), 0);
    }
    TTimerPtr Make(float hertz, TEventPtr event = nullptr) {
        auto t = CreateTimer(hertz, std::move(event));
        if (t) made.push_back(t);
        return t;
    }
    std::vector<TTimerPtr> made;
};

TEST_F(Timers, PeriodIsTruncatedWholeMilliseconds) {
    EXPECT_EQ(TimerPeriodMs(60), 16);
    EXPECT_EQ(TimerPeriodMs(3), 333);
    EXPECT_EQ(TimerPeriodMs(1000), 1);
    EXPECT_EQ(TimerPeriodMs(2000), 0);  // below the service's 1 ms
    EXPECT_EQ(TimerPeriodMs(0), 0);
    EXPECT_EQ(TimerPeriodMs(-5), 0);
    EXPECT_EQ(CreateTimer(0), nullptr);
    EXPECT_EQ(CreateTimer(5000), nullptr);
}

TEST_F(Timers, TicksAdvanceOnlyWhileTheMainThreadPumps) {
    auto t = Make(100);  // 10 ms
    ASSERT_NE(t, nullptr);
    Delay(120);
    EXPECT_EQ(TimerTicks(t), 0);  // posted, not yet delivered
    PollSystem();
    const int delivered = TimerTicks(t);
    EXPECT_GE(delivered, 8);
    EXPECT_LE(delivered, 14);

    StopTimer(t);
    Delay(50);
    PollSystem();
    EXPECT_EQ(TimerTicks(t), delivered);  // keeps its count; later ticks are discarded
    EXPECT_EQ(WaitTimer(t), 0);           // stopped: returns at once
}

TEST_F(Timers, WaitReportsEveryPeriodMissedSinceTheLastWait) {
    auto t = Make(60);  // 16 ms
    ASSERT_NE(t, nullptr);
    Delay(200);  // about 12 periods without pumping
    const int missed = WaitTimer(t);
    EXPECT_GE(missed, 11);
    EXPECT_LE(missed, 16);
    const int next = WaitTimer(t);
    EXPECT_GE(next, 1);
    EXPECT_LE(next, 3);
    EXPECT_EQ(TimerTicks(t), missed + next);
}

TEST_F(Timers, SixteenRunAtOnceAndTheSeventeenthIsRefused) {
    std::vector<TTimerPtr> timers;
    for (int i = 0; i < kMaxTimers; ++i) {
        auto t = Make(1);
        ASSERT_NE(t, nullptr) << i;
        timers.push_back(t);
    }
    EXPECT_EQ(RunningTimers(), 16);
    EXPECT_EQ(CreateTimer(1), nullptr);
    StopTimer(timers[3]);
    EXPECT_EQ(RunningTimers(), 15);
    EXPECT_NE(Make(1), nullptr);
    EXPECT_EQ(CreateTimer(1), nullptr);
}

TEST_F(Timers, ARunningTimerLivesWithoutOtherReferences) {
    std::weak_ptr<TTimer> weak;
    {
        auto t = CreateTimer(200);
        ASSERT_NE(t, nullptr);
        weak = t;
    }
    Delay(30);
    PollSystem();
    auto t = weak.lock();
    ASSERT_NE(t, nullptr);
    EXPECT_GT(t->Ticks(), 0);
    t->Stop();
    t.reset();
    EXPECT_TRUE(weak.expired());  // the table let go of it
}

std::vector<TEventPtr> g_events;

ObjectPtr Collect(int, const ObjectPtr& data, const ObjectPtr&) {
    if (auto e = std::dynamic_pointer_cast<TEvent>(data))
        if (e->id == EventId::TimerTick || e->id == 0x1234) g_events.push_back(e);
    return data;
}

TEST_F(Timers, EveryTickEmitsTheTimersEventOrAFreshTimerTick) {
    AddHook(EmitEventHook(), Collect);
    g_events.clear();

    auto own = TEvent::Create(0x1234);
    auto withEvent = Make(100, own);
    while (withEvent->Ticks() < 3) WaitTimer(withEvent);
    StopTimer(withEvent);
    PollSystem();
    ASSERT_EQ(static_cast<int>(g_events.size()), withEvent->Ticks());
    for (auto& e : g_events) EXPECT_EQ(e, own);  // the same object every tick

    g_events.clear();
    auto plain = Make(100);
    while (plain->Ticks() < 2) WaitTimer(plain);
    StopTimer(plain);
    RemoveHook(EmitEventHook(), Collect);
    ASSERT_EQ(static_cast<int>(g_events.size()), plain->Ticks());
    for (int i = 0; i < static_cast<int>(g_events.size()); ++i) {
        EXPECT_EQ(g_events[i]->id, EventId::TimerTick);
        EXPECT_EQ(g_events[i]->source, plain);
        EXPECT_EQ(g_events[i]->data, i + 1);
    }
}

// The wrapping difference of two clock readings.
std::int32_t Since(std::int32_t before) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(MilliSecs()) -
                                     static_cast<std::uint32_t>(before));
}

TEST(Delay, NegativeAndZeroReturnAtOnce) {
    const auto before = MilliSecs();
    Delay(-5);
    Delay(0);
    EXPECT_LE(Since(before), 2);
    Delay(20);
    EXPECT_GE(Since(before), 20);
}

TEST(MilliSecsClock, CountsFromSystemStartNotFromProgramStart) {
    timespec mono{};
    clock_gettime(CLOCK_MONOTONIC, &mono);
    const std::uint32_t got = static_cast<std::uint32_t>(MilliSecs());
    const auto expected = static_cast<std::uint64_t>(mono.tv_sec) * 1000u +
                          static_cast<std::uint64_t>(mono.tv_nsec) / 1000000u;
    EXPECT_LE(got - static_cast<std::uint32_t>(expected), 5u);
    // The kernel's own uptime, read after the counter (/proc/uptime has
    // hundredths of a second and counts suspended time too, so the counter
    // is never ahead of it).
    double uptime = 0;
    FILE* f = std::fopen("/proc/uptime", "r");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fscanf(f, "%lf", &uptime), 1);
    std::fclose(f);
    if (uptime < 4.0e6) {  // before the counter first wraps
        // A program that started a moment ago on a machine up for longer
        // than two seconds reads more than one.
        if (uptime > 2) {
            EXPECT_GT(got, 1000u);
        }
        EXPECT_LE(static_cast<double>(got), uptime * 1000 + 20);
    }
}

TEST(MilliSecsClock, WrapsAsA32BitInt) {
    EXPECT_EQ(WrapMilliSecs(0), 0);
    EXPECT_EQ(WrapMilliSecs(1234), 1234);
    EXPECT_EQ(WrapMilliSecs(0x7FFFFFFFull), 0x7FFFFFFF);
    EXPECT_EQ(WrapMilliSecs(0x80000000ull), INT32_MIN);
    EXPECT_EQ(WrapMilliSecs(0xFFFFFFFFull), -1);
    EXPECT_EQ(WrapMilliSecs(0x100000000ull + 5), 5);
    EXPECT_EQ(WrapMilliSecs(3 * 0x100000000ull + 77), 77);
}

}  // namespace
}  // namespace kestrel
