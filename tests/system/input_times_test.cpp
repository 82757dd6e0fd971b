// Event times from the window system and the gate that hands each game
// update its input: the clock mapping (agreeing clocks, another base, the
// 32-bit wrap), the horizon, and one new press per key per update.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "toolkit/system/input_times.h"

namespace kestrel {
namespace {

using K = QueuedInput::Kind;
constexpr std::int64_t kMs = 1000;

TEST(ServerTime, MapsOntoTheSteadyClockOnlyWhereTheClocksAgree) {
    // Steady 5 000 123 456 µs: the monotonic clock reads 5 000 123 ms.
    const std::int64_t now = 5000123456;
    // Same base: 30 ms ago is 30 ms before now, in whole milliseconds.
    EXPECT_EQ(ServerTimeToSteady(5000093u, now), 5000093000);
    EXPECT_EQ(ServerTimeToSteady(5000123u, now), 5000123000);
    // A stamp a few ms ahead of the steady clock (read a moment later) is now.
    EXPECT_EQ(ServerTimeToSteady(5000125u, now), now);
    // Another base: a server far away, or a clock of its own, with times far
    // in the past or in the future of this machine's clock.
    EXPECT_EQ(ServerTimeToSteady(123u, now), std::nullopt);
    EXPECT_EQ(ServerTimeToSteady(5000123u + 60000u, now), std::nullopt);
    EXPECT_EQ(ServerTimeToSteady(5000123u - 11000u, now), std::nullopt);
    // Within the oldest age an event may be queued for.
    EXPECT_EQ(ServerTimeToSteady(5000123u - 9000u, now), 5000123000 - 9000 * kMs);

    // The server's 32-bit millisecond clock wrapped after 49.7 days while the
    // steady clock counts on: an event 10 ms before the wrap, read 5 ms after.
    const std::int64_t afterWrap = (std::int64_t{1} << 32) * kMs + 5 * kMs;
    EXPECT_EQ(ServerTimeToSteady(0xFFFFFFF6u, afterWrap), afterWrap - 15 * kMs);
    // SDL's own ticks, stamped 20 ms before a reading of 1000 ms, and across
    // their wrap; a stamp of 0 carries no time.
    EXPECT_EQ(StampToSteady(980u, 1000u, 7000000), 7000000 - 20 * kMs);
    EXPECT_EQ(StampToSteady(0xFFFFFFF0u, 4u, 7000000), 7000000 - 20 * kMs);
    EXPECT_EQ(StampToSteady(0u, 1000u, 7000000), 7000000);
}

QueuedInput Press(int key, std::int64_t at) { return {at, K::Press, key}; }
QueuedInput Release(int key, std::int64_t at) { return {at, K::Release, key}; }
QueuedInput Repeat(int key, std::int64_t at) { return {at, K::Repeat, key}; }
QueuedInput Other(std::int64_t at) { return {at, K::Other, 0}; }

// Runs the gate as the pump does: the held events are offered again at the
// next call, in order; returns what each call delivered.
struct GateRun {
    InputGate gate;
    std::vector<QueuedInput> queue;

    std::vector<QueuedInput> Pump(std::optional<std::int64_t> horizon, std::int64_t now) {
        const std::vector<bool> d = gate.Release(queue, horizon, now);
        std::vector<QueuedInput> out, kept;
        for (std::size_t i = 0; i < queue.size(); ++i) (d[i] ? out : kept).push_back(queue[i]);
        queue = kept;
        return out;
    }
};

std::vector<int> Keys(const std::vector<QueuedInput>& events) {
    std::vector<int> keys;
    for (const auto& e : events) keys.push_back(e.kind == K::Release ? -e.key : e.key);
    return keys;
}

TEST(InputGate, TwoTapsOfOneKeyInOneUpdateReachTwoUpdatesAndOtherKeysAreNotHeld) {
    GateRun run;
    // All stamped alike (times unknown): key 1 tapped twice, key 2 once
    // between and once after the second tap.
    run.queue = {Press(1, 0), Release(1, 0), Press(2, 0), Press(1, 0), Release(2, 0),
                 Release(1, 0), Press(2, 0), Other(0)};
    run.gate.BeginUpdate(100 * kMs);
    // The second press of key 1 waits with key 1's release behind it; key 2
    // pressed once here passes, its second press waits too. The other
    // event is not held back.
    EXPECT_EQ(Keys(run.Pump(std::nullopt, 100 * kMs)), (std::vector<int>{1, -1, 2, -2, 0}));
    // Pumping again within the same update delivers nothing new.
    EXPECT_TRUE(run.Pump(std::nullopt, 101 * kMs).empty());
    run.gate.BeginUpdate(117 * kMs);
    EXPECT_EQ(Keys(run.Pump(std::nullopt, 117 * kMs)), (std::vector<int>{1, -1, 2}));
    EXPECT_TRUE(run.queue.empty());
}

TEST(InputGate, HeldKeysRepeatsAndReleasesAfterTheLastUpdate) {
    GateRun run;
    // A held key's auto-repeats are no new presses: all of them pass.
    run.gate.BeginUpdate(0);
    run.queue = {Press(5, 0), Repeat(5, 0), Repeat(5, 0), Repeat(5, 0)};
    EXPECT_EQ(run.Pump(std::nullopt, 0).size(), 4u);
    // The release comes after the frame's last update (while it draws): it
    // is delivered at once, and the next update takes a new press.
    run.queue = {Release(5, 5 * kMs)};
    EXPECT_EQ(Keys(run.Pump(std::nullopt, 5 * kMs)), (std::vector<int>{-5}));
    run.gate.BeginUpdate(16 * kMs);
    run.queue = {Press(5, 16 * kMs)};
    EXPECT_EQ(Keys(run.Pump(std::nullopt, 16 * kMs)), (std::vector<int>{5}));
    // A press delivered between updates counts for the next one.
    run.queue = {Release(5, 20 * kMs), Press(5, 21 * kMs)};
    EXPECT_EQ(Keys(run.Pump(std::nullopt, 22 * kMs)), (std::vector<int>{-5}));
    run.gate.BeginUpdate(33 * kMs);
    EXPECT_EQ(Keys(run.Pump(std::nullopt, 33 * kMs)), (std::vector<int>{5}));
}

TEST(InputGate, TheHorizonKeepsTheOrderOfAllEvents) {
    GateRun run;
    run.queue = {Press(1, 3 * kMs), Release(1, 6 * kMs), Other(20 * kMs), Press(2, 20 * kMs),
                 Press(1, 34 * kMs), Release(1, 36 * kMs)};
    // The update at 16.7 ms sees the first tap only; nothing after the
    // event at 20 ms passes it, whichever key.
    run.gate.BeginUpdate(50 * kMs);
    EXPECT_EQ(Keys(run.Pump(16667, 50 * kMs)), (std::vector<int>{1, -1}));
    run.gate.BeginUpdate(50 * kMs);
    EXPECT_EQ(Keys(run.Pump(33333, 50 * kMs)), (std::vector<int>{0, 2}));
    run.gate.BeginUpdate(50 * kMs);
    EXPECT_EQ(Keys(run.Pump(std::nullopt, 50 * kMs)), (std::vector<int>{1, -1}));
}

TEST(InputGate, AProgramWithoutAFrameLoopGetsEveryEvent) {
    GateRun run;
    run.queue = {Press(1, 0), Release(1, 0), Press(1, 0), Release(1, 0)};
    EXPECT_EQ(run.Pump(std::nullopt, 0).size(), 4u);
    // A frame loop that stopped marking updates (a blocking wait for a key
    // after it) holds nothing once half a second has passed.
    run.gate.BeginUpdate(0);
    run.queue = {Press(1, 0), Release(1, 0), Press(1, 0)};
    EXPECT_EQ(run.Pump(std::nullopt, 1000).size(), 2u);
    EXPECT_EQ(run.Pump(std::nullopt, InputGate::kLoopIdleUs + 1000).size(), 1u);
    run.gate.Reset();
    run.queue = {Press(1, 0), Release(1, 0), Press(1, 0)};
    EXPECT_EQ(run.Pump(std::nullopt, 0).size(), 3u);
}

TEST(EventTimes, StampedEventsKeepTheirTimesInOrderAndOthersTakeTheirPlace) {
    // A motion event read first (pump time 100), key events with the window
    // system's times 3..36, a text event after the first press, and a key
    // whose time went back (another device's clock).
    std::vector<QueuedInput> e = {Other(100), Press(1, 3), Other(100), Release(1, 6),
                                  Press(1, 33), Release(1, 30), Other(100)};
    const std::vector<bool> stamped = {false, true, false, true, true, true, false};
    OrderEventTimes(e, stamped, std::nullopt);
    std::vector<std::int64_t> at;
    for (const auto& x : e) at.push_back(x.atUs);
    EXPECT_EQ(at, (std::vector<std::int64_t>{3, 3, 3, 6, 33, 33, 33}));
    // After events already queued at 50, nothing is placed before them.
    std::vector<QueuedInput> f = {Other(100), Press(2, 40)};
    OrderEventTimes(f, {false, true}, 50);
    EXPECT_EQ(f[0].atUs, 50);
    EXPECT_EQ(f[1].atUs, 50);
}

}  // namespace
}  // namespace kestrel
