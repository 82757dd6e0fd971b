#include "game/net/round_trip.h"

#include <gtest/gtest.h>

#include <queue>
#include <random>
#include <tuple>

namespace virexo::net {
namespace {

// Two sides exchanging stamps over a link of a given one-way time, each on
// a clock of its own (offset apart), each holding what it heard for a while
// before answering (a slow frame loop): the measure is the link's, not the
// holds', and not the clocks' offset.
TEST(NetRoundTrip, MeasuresTheLinkWithoutTheHoldsOrTheClocks) {
    RoundTrip a, b;
    const std::uint32_t offsetB = 0x9000'0000u;  // b's clock, far from a's (and wrapping)
    std::mt19937 rng(3);
    std::uniform_int_distribution<std::uint32_t> hold(0, 40000), jitter(0, 4000);
    std::uint32_t t = 0xFFFF'0000u;  // a's clock, about to wrap
    EXPECT_EQ(a.RttMs(), 0.0);
    EXPECT_FALSE(a.Outgoing(t).echoed);
    for (int i = 0; i < 200; ++i) {
        const Stamp fromA = a.Outgoing(t);
        t += 30000 + jitter(rng);  // 30 ms and a little on the way
        b.Incoming(fromA, t + offsetB);
        t += hold(rng);  // b's frame loop takes its time
        const Stamp fromB = b.Outgoing(t + offsetB);
        t += 30000 + jitter(rng);
        a.Incoming(fromB, t);
        t += hold(rng);
    }
    ASSERT_TRUE(a.ready());
    ASSERT_TRUE(b.ready());
    EXPECT_NEAR(a.RttMs(), 64.0, 2.5);
    EXPECT_NEAR(b.RttMs(), 64.0, 2.5);
    EXPECT_GT(a.JitterMs(), 0.2);
    EXPECT_LT(a.JitterMs(), 2.5);
}

// Both sides send 60 datagrams a second over a link of 80 ± 20 ms each way
// that reorders them, as the test relay does: the measure is the median
// round trip, not one of the datagrams that overtook the others.
TEST(NetRoundTrip, AReorderingLinkIsMeasuredWithoutFavouringTheQuickDatagrams) {
    RoundTrip side[2];
    std::mt19937 rng(5);
    std::uniform_int_distribution<std::uint32_t> delay(60000, 100000);
    using Arrival = std::tuple<std::uint32_t, int, Stamp>;  // when, to which side, what
    const auto later = [](const Arrival& a, const Arrival& b) { return std::get<0>(a) > std::get<0>(b); };
    std::priority_queue<Arrival, std::vector<Arrival>, decltype(later)> wire(later);
    for (std::uint32_t t = 0; t < 20000000; t += 16667) {
        while (!wire.empty() && std::get<0>(wire.top()) <= t) {
            const auto [when, to, stamp] = wire.top();
            wire.pop();
            side[to].Incoming(stamp, when);
        }
        for (int from = 0; from < 2; ++from) wire.emplace(t + delay(rng), 1 - from, side[from].Outgoing(t));
    }
    for (const RoundTrip& r : side) {
        ASSERT_TRUE(r.ready());
        EXPECT_NEAR(r.RttMs(), 160.0, 4.0);  // the median of the two delays added
    }
}

TEST(NetRoundTrip, EveryStampIsEchoedOnceOldestFirstAndForgedOnesGiveNoSample) {
    RoundTrip a;
    a.Incoming(Stamp{5000, false, 0, 0}, 100000);
    a.Incoming(Stamp{4000, false, 0, 0}, 101000);  // sent earlier, overtaken on the way
    Stamp out = a.Outgoing(103000);
    EXPECT_TRUE(out.echoed);
    EXPECT_EQ(out.echoUs, 5000u);
    EXPECT_EQ(out.heldUs, 3000u);
    out = a.Outgoing(104000);
    EXPECT_EQ(out.echoUs, 4000u);
    EXPECT_EQ(out.heldUs, 3000u);
    EXPECT_FALSE(a.Outgoing(105000).echoed);  // nothing heard since
    // A peer far faster than this side: the oldest go unechoed, the rest wait.
    for (std::uint32_t i = 0; i < 40; ++i) a.Incoming(Stamp{10000 + i, false, 0, 0}, 110000 + i);
    out = a.Outgoing(120000);
    EXPECT_EQ(out.echoUs, 10000u + 40 - 16);
    EXPECT_EQ(out.heldUs, 120000u - (110000 + 40 - 16));
    EXPECT_EQ(a.samples(), 0u);

    // An echo of something sent 20 ms ago, held 4 ms: 16 ms.
    a.Incoming(Stamp{6000, true, 200000, 4000}, 220000);
    EXPECT_EQ(a.samples(), 1u);
    EXPECT_DOUBLE_EQ(a.RttMs(), 16.0);
    // A hold longer than the whole trip, or a trip of minutes: no sample.
    a.Incoming(Stamp{7000, true, 200000, 30000}, 221000);
    a.Incoming(Stamp{8000, true, 0, 0}, 4000000000u);
    EXPECT_EQ(a.samples(), 1u);

    // The estimate follows the link: after a change, the newest samples rule.
    for (int i = 0; i < 200; ++i) a.Incoming(Stamp{9000u + i, true, 1000000, 0}, 1000000 + 90000);
    EXPECT_DOUBLE_EQ(a.RttMs(), 90.0);
    EXPECT_DOUBLE_EQ(a.JitterMs(), 0.0);
}

}  // namespace
}  // namespace virexo::net
