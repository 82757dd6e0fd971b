#include "game/net/round_trip.h"

#include <gtest/gtest.h>

#include <random>

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

TEST(NetRoundTrip, OnlyTheNewestStampIsEchoedAndForgedOnesGiveNoSample) {
    RoundTrip a;
    a.Incoming(Stamp{5000, false, 0, 0}, 100000);
    a.Incoming(Stamp{4000, false, 0, 0}, 101000);  // older, overtaken: not echoed
    Stamp out = a.Outgoing(103000);
    EXPECT_TRUE(out.echoed);
    EXPECT_EQ(out.echoUs, 5000u);
    EXPECT_EQ(out.heldUs, 3000u);
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
