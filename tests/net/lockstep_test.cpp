#include "game/net/lockstep.h"

#include <gtest/gtest.h>

#include <cmath>
#include <deque>
#include <random>

namespace virexo::net {
namespace {

// Two engines joined by an in-order link that delivers each message a
// number of ticks after it was sent.
struct FakeLink {
    struct InFlight {
        int due;
        Input input;
    };
    std::deque<InFlight> toGuest, toHost;
};

std::uint8_t KeysOf(int player, std::uint32_t f) {
    return static_cast<std::uint8_t>((f * 7 + static_cast<std::uint32_t>(player) * 3) & keys::kAll);
}

TEST(NetLockstep, BothSidesRunTheSameKeysInTheSameOrderOverASlowLink) {
    for (int latency : {0, 1, 3, 9}) {
        Lockstep host(Role::kHost, 3), guest(Role::kGuest, 3);
        FakeLink link;
        std::vector<FrameInputs> ranHost, ranGuest;
        std::mt19937 rng(static_cast<unsigned>(latency));
        const std::uint32_t frames = 600;
        for (int tick = 0; tick < 20000 && (ranHost.size() < frames || ranGuest.size() < frames); ++tick) {
            for (auto* q : {&link.toGuest, &link.toHost}) {
                while (!q->empty() && q->front().due <= tick) {
                    (q == &link.toGuest ? guest : host).OnRemoteInput(q->front().input);
                    q->pop_front();
                }
            }
            // Each side gets a tick now and then, at its own pace.
            for (int side = 0; side < 2; ++side) {
                if (rng() % 3 == 0) continue;
                Lockstep& me = side == 0 ? host : guest;
                auto& ran = side == 0 ? ranHost : ranGuest;
                if (ran.size() >= frames) continue;
                if (me.NeedsLocal()) {
                    const std::uint32_t next = me.nextLocalFrame();
                    std::uint32_t f = 0;
                    ASSERT_TRUE(me.QueueLocal(KeysOf(side, next), &f));
                    ASSERT_EQ(f, next);
                }
                // Sent every other tick, so runs of several frames travel.
                if (tick % 2 == 0)
                    while (auto out = me.TakeOutgoing())
                        (side == 0 ? link.toGuest : link.toHost).push_back({tick + latency, *out});
                if (auto in = me.Advance(tick)) ran.push_back(*in);
            }
        }
        ASSERT_EQ(ranHost.size(), frames) << "latency " << latency;
        ASSERT_EQ(ranGuest.size(), frames);
        for (std::uint32_t f = 0; f < frames; ++f) {
            EXPECT_EQ(ranHost[f].frame, f);
            EXPECT_EQ(ranGuest[f].frame, f);
            const std::uint8_t want0 = f < 3 ? 0 : KeysOf(0, f), want1 = f < 3 ? 0 : KeysOf(1, f);
            ASSERT_EQ(ranHost[f].player[0], want0) << f;
            ASSERT_EQ(ranHost[f].player[1], want1) << f;
            ASSERT_EQ(ranGuest[f].player, ranHost[f].player) << f;
        }
        EXPECT_EQ(host.drops().Total(), 0u);
        EXPECT_EQ(guest.drops().Total(), 0u);
    }
}

TEST(NetLockstep, LocalKeysGoToFramePlusDelayAndNeverRunAhead) {
    Lockstep l(Role::kGuest, 4);
    EXPECT_TRUE(l.Ready());  // frames 0..3 need no keys
    std::uint32_t f = 99;
    ASSERT_TRUE(l.QueueLocal(keys::kUp, &f));
    EXPECT_EQ(f, 4u);
    EXPECT_FALSE(l.NeedsLocal());
    EXPECT_FALSE(l.QueueLocal(keys::kUp));
    auto out = l.TakeOutgoing();
    ASSERT_TRUE(out);
    EXPECT_EQ(out->first, 4u);
    EXPECT_EQ(out->keys, std::vector<std::uint8_t>{keys::kUp});
    EXPECT_FALSE(l.TakeOutgoing());
    for (int i = 0; i < 4; ++i) {
        auto in = l.Advance(0);
        ASSERT_TRUE(in);
        EXPECT_EQ(in->player, (std::array<std::uint8_t, 2>{0, 0}));
        ASSERT_TRUE(l.QueueLocal(static_cast<std::uint8_t>(i)));
    }
    // Frame 4 needs the host's keys now.
    EXPECT_FALSE(l.Ready());
    EXPECT_FALSE(l.Advance(0));
    EXPECT_EQ(l.OnRemoteInput(Input{4, {keys::kLeft}}), 1u);
    auto in = l.Advance(0);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->player[0], keys::kLeft);  // the host is the first player
    EXPECT_EQ(in->player[1], keys::kUp);
    // A long catch-up queues at most d frames ahead; the run is split at 64.
    Lockstep big(Role::kHost, 8);
    int queued = 0;
    while (big.QueueLocal(0)) ++queued;
    EXPECT_EQ(queued, 1);
    EXPECT_THROW(Lockstep(Role::kHost, 1), std::invalid_argument);
    EXPECT_THROW(Lockstep(Role::kHost, 9), std::invalid_argument);
}

TEST(NetLockstep, ReplaysGapsAndFloodsAreDroppedAndCounted) {
    Lockstep l(Role::kHost, 2);
    EXPECT_EQ(l.OnRemoteInput(Input{2, {1, 2, 3}}), 3u);  // frames 2, 3, 4
    // The same run again, and one overlapping it: only frame 5 is new.
    EXPECT_EQ(l.OnRemoteInput(Input{2, {1, 2, 3}}), 0u);
    EXPECT_EQ(l.OnRemoteInput(Input{4, {9, 5}}), 1u);
    EXPECT_EQ(l.drops().duplicates, 4u);
    // A replayed frame keeps the first keys: frame 4 was 3, not 9.
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(l.QueueLocal(0));
        ASSERT_TRUE(l.Advance(0));
    }
    EXPECT_EQ(l.frame(), 5u);
    // Frames already run (and frame 0, never sent) are replays.
    EXPECT_EQ(l.OnRemoteInput(Input{0, {1}}), 0u);
    EXPECT_EQ(l.drops().duplicates, 5u);
    // A gap: frame 7 before 6.
    EXPECT_EQ(l.OnRemoteInput(Input{7, {1, 1}}), 0u);
    EXPECT_EQ(l.drops().gaps, 2u);
    // A flood: frames far past the window, and a run that crosses its end.
    EXPECT_EQ(l.OnRemoteInput(Input{4000000000u, {1}}), 0u);
    EXPECT_EQ(l.drops().flood, 1u);
    Input crossing{6, std::vector<std::uint8_t>(64, 0)};
    std::size_t taken = l.OnRemoteInput(crossing);
    EXPECT_EQ(taken, 64u);
    crossing.first = 70;
    taken = l.OnRemoteInput(crossing);
    EXPECT_EQ(6 + 64 + taken, l.frame() + Lockstep::kWindow);  // up to the window's end, no further
    EXPECT_EQ(l.drops().flood, 1u + (64 - taken));
    // Frame numbers near the top of the range do not wrap into the window.
    EXPECT_EQ(l.OnRemoteInput(Input{0xFFFFFFFFu, std::vector<std::uint8_t>(64, 0)}), 0u);
}

TEST(NetLockstep, StallTimeCountsFromTheFirstWaitAndTheNoticeComesAfterHalfASecond) {
    Lockstep l(Role::kHost, 2);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(l.QueueLocal(0));
        ASSERT_TRUE(l.Advance(1000));
    }
    EXPECT_EQ(l.StalledUs(5000), 0);
    ASSERT_TRUE(l.QueueLocal(0));
    EXPECT_FALSE(l.Advance(10000));  // frame 2 waits from here
    EXPECT_FALSE(l.Advance(200000));  // still waiting: the start stays
    EXPECT_EQ(l.StalledUs(300000), 290000);
    EXPECT_FALSE(l.ShowWaiting(509999));
    EXPECT_TRUE(l.ShowWaiting(510000));
    l.OnRemoteInput(Input{2, {0}});
    ASSERT_TRUE(l.Advance(600000));
    EXPECT_EQ(l.StalledUs(700000), 0);
    EXPECT_FALSE(l.ShowWaiting(2000000));
}

TEST(NetLockstep, ChecksumsAreComparedPerFrameAndTheFirstMismatchIsKept) {
    Lockstep l(Role::kGuest, 2);
    EXPECT_TRUE(Lockstep::IsChecksumFrame(29));
    EXPECT_FALSE(Lockstep::IsChecksumFrame(30));
    EXPECT_FALSE(Lockstep::IsChecksumFrame(0));
    // Either side may come first.
    l.RecordLocalChecksum(29, 111);
    l.OnRemoteChecksum(29, 111);
    l.OnRemoteChecksum(59, 222);
    l.RecordLocalChecksum(59, 222);
    EXPECT_EQ(l.checksumsMatched(), 2u);
    EXPECT_FALSE(l.mismatch());
    // Dropped: no checksum frame, a repeat of a settled one, one far ahead.
    l.OnRemoteChecksum(30, 1);
    l.OnRemoteChecksum(29, 5);
    l.OnRemoteChecksum(29 + 30 * 100, 5);
    EXPECT_EQ(l.drops().checksums, 3u);
    EXPECT_FALSE(l.mismatch());
    // A remote sum held waiting cannot be replaced by a second one.
    l.OnRemoteChecksum(89, 7);
    l.OnRemoteChecksum(89, 8);
    EXPECT_EQ(l.drops().checksums, 4u);
    l.RecordLocalChecksum(89, 8);
    ASSERT_TRUE(l.mismatch());
    EXPECT_EQ(l.mismatch()->frame, 89u);
    EXPECT_EQ(l.mismatch()->local, 8u);
    EXPECT_EQ(l.mismatch()->remote, 7u);
    l.RecordLocalChecksum(119, 1);
    l.OnRemoteChecksum(119, 2);
    EXPECT_EQ(l.mismatch()->frame, 89u);  // the first one stays
}

TEST(NetLockstep, DelayFollowsTheRoundTrip) {
    EXPECT_EQ(ChooseDelay(0.2, 0.0), 2);     // loopback
    EXPECT_EQ(ChooseDelay(50.0, 0.0), 3);    // 25 ms one way: two frames, plus one
    EXPECT_EQ(ChooseDelay(160.0, 20.0), 7);  // 100 ms one way: six frames, plus one
    EXPECT_EQ(ChooseDelay(400.0, 0.0), 8);
    EXPECT_EQ(ChooseDelay(1e9, 1e9), 8);
    EXPECT_EQ(ChooseDelay(-5.0, -1.0), 2);
    EXPECT_EQ(ChooseDelay(std::nan(""), std::nan("")), 2);
    int last = 0;
    for (double rtt = 0; rtt < 300; rtt += 1) {
        const int d = ChooseDelay(rtt, 5);
        EXPECT_GE(d, last);
        last = d;
    }
}

}  // namespace
}  // namespace virexo::net

namespace virexo::net {
namespace {

Input KeyRun(std::uint32_t first, std::vector<std::uint8_t> k) { return Input{first, std::move(k)}; }

// Rollback through a fake link: the other player's keys come late. Equal to
// the prediction (no press) they change nothing; different, the engine names
// the first frame to run again and gives its real keys; past the window it
// waits as the lockstep does.
TEST(NetRollback, LateKeysEqualToThePredictionChangeNothingDifferentOnesRollBackAndPastTheWindowItWaits) {
    Lockstep l(Role::kHost, 0, kPredictWindow);
    EXPECT_EQ(l.delay(), 0);
    // Twelve frames run on predictions, the thirteenth waits.
    for (std::uint32_t f = 0; f < kPredictWindow; ++f) {
        ASSERT_TRUE(l.QueueLocal(keys::kLeft));
        auto in = l.Advance(f * 16667);
        ASSERT_TRUE(in) << f;
        EXPECT_EQ(in->frame, f);
        EXPECT_EQ(in->player[0], keys::kLeft);
        EXPECT_EQ(in->player[1], 0) << "predicted: no new press";
    }
    ASSERT_TRUE(l.QueueLocal(0));
    EXPECT_FALSE(l.Advance(200000));
    EXPECT_FALSE(l.Advance(800000));
    EXPECT_TRUE(l.ShowWaiting(800000)) << "past the window it waits, with the notice after half a second";

    // The real keys of frames 0..3 were no press: nothing to run again, and
    // the window moves on.
    EXPECT_EQ(l.OnRemoteInput(KeyRun(0, {0, 0, 0, 0})), 4u);
    EXPECT_FALSE(l.TakeRollback());
    EXPECT_EQ(l.confirmed(), 4u);
    ASSERT_TRUE(l.Advance(810000));
    EXPECT_EQ(l.frame(), 13u);

    // Frames 4..6 come with a press at 5 and 6: the rollback starts at 5,
    // and a re-run gets the real keys; frames not heard of stay predicted.
    EXPECT_EQ(l.OnRemoteInput(KeyRun(4, {0, keys::kUp, keys::kRight})), 3u);
    auto from = l.TakeRollback();
    ASSERT_TRUE(from);
    EXPECT_EQ(*from, 5u);
    EXPECT_FALSE(l.TakeRollback()) << "told once";
    EXPECT_EQ(l.InputsFor(5).player[1], keys::kUp);
    EXPECT_EQ(l.InputsFor(6).player[1], keys::kRight);
    EXPECT_EQ(l.InputsFor(7).player[1], 0);
    EXPECT_EQ(l.InputsFor(5).player[0], keys::kLeft) << "the own keys stay";

    // Keys for a frame not run yet are simply used when it runs.
    EXPECT_EQ(l.OnRemoteInput(KeyRun(7, {0, 0, 0, 0, 0, 0, 0, keys::kDown})), 8u);  // 7..14
    EXPECT_FALSE(l.TakeRollback());
    ASSERT_TRUE(l.QueueLocal(0));
    auto in = l.Advance(820000);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->frame, 13u);
    ASSERT_TRUE(l.QueueLocal(0));
    in = l.Advance(820000);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->player[1], keys::kDown);

    // A re-run that found the game paused after frame 9 takes the engine back
    // to frame 10; the own keys queued for later frames stay.
    l.Rewind(10);
    EXPECT_EQ(l.frame(), 10u);
    EXPECT_EQ(l.InputsFor(10).player[0], keys::kLeft);
    EXPECT_EQ(l.drops().Total(), 0u);
}

TEST(NetRollback, TheDelayIsZeroToTwoAndTheWindowKeepsTheFloodBound) {
    EXPECT_EQ(ChooseRollbackDelay(0.2, 0.5), 0);    // loopback
    EXPECT_EQ(ChooseRollbackDelay(200.0, 10.0), 0);  // 80 ms each way: within the window
    EXPECT_EQ(ChooseRollbackDelay(340.0, 30.0), 2);  // 150 ms and more each way
    EXPECT_EQ(ChooseRollbackDelay(1e9, 1e9), 2);
    EXPECT_EQ(ChooseRollbackDelay(std::nan(""), -1), 0);
    EXPECT_THROW(Lockstep(Role::kHost, 3, kPredictWindow), std::invalid_argument);
    EXPECT_THROW(Lockstep(Role::kHost, 0, 0), std::invalid_argument);
    EXPECT_THROW(Lockstep(Role::kHost, 0, Lockstep::kWindow), std::invalid_argument);
    Lockstep l(Role::kGuest, 2, kPredictWindow);
    // A run far ahead is a flood, as in the lockstep; keys the engine never
    // predicted (ahead of its frame) roll nothing back.
    EXPECT_EQ(l.OnRemoteInput(KeyRun(Lockstep::kWindow + 5, {1})), 0u);
    EXPECT_EQ(l.drops().flood, 1u);
    // Frames 0 and 1 run with no keys on either side (the delay); then the
    // other's keys for 2 come before it runs: used, nothing rolled back.
    EXPECT_EQ(l.OnRemoteInput(KeyRun(2, {keys::kUp})), 1u);
    EXPECT_FALSE(l.TakeRollback());
    ASSERT_TRUE(l.Advance(0));
    ASSERT_TRUE(l.Advance(0));
    ASSERT_TRUE(l.QueueLocal(keys::kDown));
    auto in = l.Advance(0);
    ASSERT_TRUE(in);
    EXPECT_EQ(in->frame, 2u);
    EXPECT_EQ(in->player[0], keys::kUp);
    EXPECT_EQ(in->player[1], keys::kDown);
}

}  // namespace
}  // namespace virexo::net

namespace virexo::net {
namespace {

// Keys through a fake link that loses a third of the datagrams, delays them
// 0-6 ticks (so they come out of order) and duplicates some: both engines
// end with every key of the other, with nothing dropped as hostile, and a
// forged acknowledgement is refused.
TEST(NetRollback, RedundantKeysSurviveALossyReorderingLink) {
    Lockstep a(Role::kHost, 1, kPredictWindow), b(Role::kGuest, 1, kPredictWindow);
    struct Flying {
        int due;
        Keys keys;
    };
    std::vector<Flying> toA, toB;
    std::mt19937 rng(4);
    const std::uint32_t frames = 500;
    auto keyOf = [](int side, std::uint32_t f) { return static_cast<std::uint8_t>((f * 3 + side * 7) & keys::kAll); };
    int tick = 0;
    for (; tick < 5000 && (a.confirmed() < frames || b.confirmed() < frames); ++tick) {
        for (int side = 0; side < 2; ++side) {
            Lockstep& l = side == 0 ? a : b;
            auto& in = side == 0 ? toA : toB;
            for (auto it = in.begin(); it != in.end();) {
                if (it->due <= tick) {
                    l.OnRemoteKeys(it->keys);
                    it = in.erase(it);
                } else {
                    ++it;
                }
            }
            l.TakeRollback();
            if (l.NeedsLocal()) l.QueueLocal(keyOf(side, l.nextLocalFrame()));
            l.Advance(tick);
            auto& out = side == 0 ? toB : toA;
            if (rng() % 3 == 0) continue;  // lost
            const Keys k = l.TakeKeys();
            out.push_back({tick + static_cast<int>(rng() % 7), k});
            if (rng() % 10 == 0) out.push_back({tick + static_cast<int>(rng() % 7), k});  // duplicated
        }
    }
    ASSERT_GE(a.confirmed(), frames);
    ASSERT_GE(b.confirmed(), frames);
    for (std::uint32_t f = 1; f < frames; ++f) {
        ASSERT_EQ(a.InputsFor(f).player[1], keyOf(1, f)) << f;
        ASSERT_EQ(b.InputsFor(f).player[0], keyOf(0, f)) << f;
    }
    EXPECT_EQ(a.drops().Total() + b.drops().Total(), 0u);
    EXPECT_GT(a.redundantKeys(), 0u);
    // An acknowledgement of keys never sent.
    Keys forged = a.TakeKeys();
    forged.ack = b.nextLocalFrame() + 50;
    forged.keys.clear();
    b.OnRemoteKeys(forged);
    EXPECT_EQ(b.drops().acks, 1u);
}

}  // namespace
}  // namespace virexo::net

namespace virexo::net {
namespace {

// The window and the delay follow the round trip during a game, each side
// on its own: the window narrows at once; a longer delay gives frames of no
// keys, a shorter one skips a queue; no key is merged or lost, and the other
// side sees one unbroken run of keys.
TEST(NetRollback, TheWindowAndTheDelayFollowTheLinkWithoutLosingAKey) {
    EXPECT_EQ(ChooseRollbackWindow(0.1, 0.05, 0), 2);    // loopback: at most 2 updates deep
    EXPECT_EQ(ChooseRollbackWindow(10.0, 2.0, 0), 2);    // a local network
    EXPECT_EQ(ChooseRollbackWindow(160.0, 14.0, 0), 10); // 80 ± 20 ms each way, and the sides' balance
    EXPECT_EQ(ChooseRollbackWindow(300.0, 21.0, 1), kPredictWindow);
    EXPECT_EQ(ChooseRollbackWindow(1e9, 1e9, 2), kPredictWindow);
    EXPECT_EQ(ChooseRollbackWindow(std::nan(""), -1, 0), 2);

    Lockstep l(Role::kHost, 0, kPredictWindow);
    l.SetWindow(2);
    EXPECT_EQ(l.window(), 2u);
    std::vector<std::uint8_t> sent;
    int ran = 0;
    auto update = [&](std::uint8_t bits) {
        if (l.NeedsLocal()) l.QueueLocal(bits);
        if (l.Advance(0)) ++ran;
    };
    update(keys::kLeft);
    update(keys::kRight);
    update(keys::kUp);  // a third predicted frame is past the window of 2
    EXPECT_EQ(ran, 2);
    EXPECT_EQ(l.OnRemoteKeys(Keys{0, {0, 0, 0, 0}, 0, 0, 0}), 4u);
    // Up to 2: the two frames between the delays carry no keys.
    l.SetDelay(2);
    EXPECT_EQ(l.delay(), 2);
    update(keys::kDown);
    // Back to 0 in two steps, each in an update whose keys were all up.
    l.SetDelay(1);
    update(0);
    l.SetDelay(0);
    update(0);
    update(keys::kLeft);
    update(keys::kRight);
    const Keys k = l.TakeKeys();
    EXPECT_EQ(k.first, 0u);
    EXPECT_EQ(k.delay, 0);
    sent = k.keys;
    // Frame 2 has the Up that waited; delay 2 at frame 2 puts the Down on 4
    // with nothing on 3; the two steps back queue nothing; Left and Right
    // follow at once.
    EXPECT_EQ(sent, (std::vector<std::uint8_t>{keys::kLeft, keys::kRight, keys::kUp, 0, keys::kDown, keys::kLeft,
                                                keys::kRight}));
    EXPECT_THROW(Encode(Keys{0, {}, 0, 0, 3}), std::invalid_argument);
    // A lockstep game keeps its delay and has no window to change.
    Lockstep plain(Role::kHost, 3);
    plain.SetDelay(0);
    plain.SetWindow(5);
    EXPECT_EQ(plain.delay(), 3);
    EXPECT_EQ(plain.window(), 0u);
}

// Three taps while the game waits past the window keep three updates of
// their own, run as it catches up, instead of merging into one.
TEST(NetRollback, TapsDuringAWaitKeepTheirOwnUpdates) {
    Lockstep l(Role::kGuest, 0, kPredictWindow);
    for (std::uint32_t f = 0; f < kPredictWindow; ++f) {
        ASSERT_TRUE(l.QueueLocal(0));
        ASSERT_TRUE(l.Advance(0));
    }
    ASSERT_TRUE(l.QueueLocal(0));
    ASSERT_FALSE(l.Advance(0));  // waiting at frame 12
    EXPECT_FALSE(l.NeedsLocal());
    for (int tap = 0; tap < 3; ++tap) EXPECT_TRUE(l.QueueLocalWhileWaiting(keys::kRight, 30));
    EXPECT_EQ(l.nextLocalFrame(), 16u);
    // Bounded: a long wait cannot queue without end.
    int more = 0;
    while (l.QueueLocalWhileWaiting(keys::kUp, 30)) ++more;
    EXPECT_EQ(more, 27);
    // The other player's keys come: frames 13, 14 and 15 each carry one tap.
    EXPECT_EQ(l.OnRemoteKeys(Keys{0, std::vector<std::uint8_t>(20, 0), 0, 0}), 20u);
    std::vector<std::uint8_t> mine;
    for (int i = 0; i < 4; ++i) {
        auto in = l.Advance(0);
        ASSERT_TRUE(in);
        mine.push_back(in->player[1]);
    }
    EXPECT_EQ(mine, (std::vector<std::uint8_t>{0, keys::kRight, keys::kRight, keys::kRight}));
}

}  // namespace
}  // namespace virexo::net
