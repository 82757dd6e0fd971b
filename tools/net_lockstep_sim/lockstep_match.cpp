#include "tools/net_lockstep_sim/lockstep_match.h"

#include <chrono>
#include <thread>
#include <variant>

#include "game/net/state_checksum.h"

namespace virexo::nettest {

namespace {

using Clock = std::chrono::steady_clock;

std::int64_t NowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count();
}

}  // namespace

MatchResult PlayMatch(net::EnetSession& session, const MatchOptions& options, const MatchCallbacks& game) {
    MatchResult result;
    auto fail = [&](const std::string& why) {
        result.ok = false;
        result.message = why;
        result.stats = session.stats();
        return result;
    };

    // Connection, round trip, Start.
    const std::int64_t setupEnd = NowUs() + static_cast<std::int64_t>(options.setupSeconds * 1e6);
    std::optional<net::Start> start;
    while (!start) {
        if (NowUs() > setupEnd) return fail("no game started in time");
        session.Service(5);
        // Up to the Start only: the peer's first keys may follow it in the
        // same batch, and the frame loop reads those.
        while (!start) {
            auto e = session.Next();
            if (!e) break;
            if (e->kind != net::NetEvent::Kind::kConnected && e->kind != net::NetEvent::Kind::kMessage)
                return fail(e->text);
            if (e->kind == net::NetEvent::Kind::kMessage)
                if (const auto* s = std::get_if<net::Start>(&e->message)) start = *s;
        }
        if (session.role() == net::Role::kHost && session.connected() && session.rttReady() && !start) {
            net::Start s;
            s.seed = options.seed;
            s.delay = static_cast<std::uint8_t>(net::ChooseDelay(session.RttMs(), session.JitterMs()));
            session.Send(s);
            start = s;
        }
    }
    result.rttMs = session.RttMs();
    result.jitterMs = session.JitterMs();
    result.delay = start->delay;
    game.begin(start->seed);

    net::Lockstep lock(session.role(), start->delay);
    std::string remoteDump;
    bool remoteDesync = false;
    const std::int64_t t0 = NowUs();
    std::int64_t lastNoticeFrame = -1;
    // After the last frame the peer may still need our last keys: keep
    // servicing until its checksum of the last checksum frame is compared
    // (bounded), so both sides have run every frame before either leaves.
    const std::uint64_t sumsExpected = options.frames / net::Lockstep::kChecksumPeriod;
    std::int64_t doneAt = -1;

    for (;;) {
        const std::int64_t now = NowUs();
        session.Service(0);
        std::string gone;
        while (auto e = session.Next()) {
            if (e->kind != net::NetEvent::Kind::kMessage) {
                gone = e->text;
                continue;
            }
            if (const auto* in = std::get_if<net::Input>(&e->message)) {
                lock.OnRemoteInput(*in);
            } else if (const auto* c = std::get_if<net::Checksum>(&e->message)) {
                lock.OnRemoteChecksum(c->frame, c->sum);
            } else if (const auto* d = std::get_if<net::Desync>(&e->message)) {
                remoteDump = d->dump;
                remoteDesync = true;
            }
        }
        if (lock.mismatch() || remoteDesync) {
            const auto m = lock.mismatch().value_or(net::ChecksumMismatch{});
            session.Send(net::Desync{m.frame, m.local, game.dump().substr(0, net::kMaxDumpText)});
            session.Service(0);
            // The peer's dump comes in its own Desync; wait a little for it
            // (long enough for a peer slowed by a busy machine).
            for (int i = 0; i < 500 && remoteDump.empty(); ++i) {
                session.Service(10);
                while (auto e = session.Next())
                    if (const auto* d = std::get_if<net::Desync>(&e->message)) remoteDump = d->dump;
            }
            result.desyncReport = net::WriteDesyncReport(m.frame, m.local, game.dump(), m.remote, remoteDump);
            result.frames = lock.frame();
            result.drops = lock.drops();
            // Our state must reach the other side before the connection goes.
            if (!session.closed()) session.Leave(2000);
            return fail("The games went out of step");
        }
        const bool finished = lock.frame() >= options.frames && lock.checksumsMatched() >= sumsExpected;
        if (!gone.empty() && !finished) {
            result.frames = lock.frame();
            return fail(gone);
        }
        if (lock.frame() >= options.frames) {
            if (doneAt < 0) doneAt = now;
            if (finished) break;
            // As long as a frame may wait for the other side's keys.
            if (now - doneAt > static_cast<std::int64_t>(options.stallLimitSeconds * 1e6))
                return fail("the other player did not finish");
            session.Service(2);
            continue;
        }
        // Paced: the frame due now, as the game's fixed 1/60 s steps.
        const bool due = options.fps <= 0 ||
                         static_cast<double>(now - t0) * options.fps / 1e6 >= static_cast<double>(lock.frame());
        if (due && lock.NeedsLocal()) lock.QueueLocal(game.localKeys(lock.frame() + lock.delay()));
        while (auto out = lock.TakeOutgoing()) session.Send(*out);
        if (!due) {
            session.Service(1);
            continue;
        }
        if (auto inputs = lock.Advance(now)) {
            game.advance(*inputs);
            if (net::Lockstep::IsChecksumFrame(inputs->frame)) {
                const std::uint64_t sum = game.checksum();
                lock.RecordLocalChecksum(inputs->frame, sum);
                session.Send(net::Checksum{inputs->frame, sum});
            }
            continue;
        }
        const std::int64_t stalled = lock.StalledUs(now);
        result.longestStallMs = std::max(result.longestStallMs, static_cast<double>(stalled) / 1000.0);
        if (lock.ShowWaiting(now) && lastNoticeFrame != lock.frame()) {
            lastNoticeFrame = lock.frame();
            ++result.stallNotices;
        }
        if (stalled > static_cast<std::int64_t>(options.stallLimitSeconds * 1e6)) {
            result.frames = lock.frame();
            return fail("the other player's keys stopped coming");
        }
        session.Service(1);  // wait for the peer without spinning
    }
    result.seconds = static_cast<double>(NowUs() - t0) / 1e6;
    result.frames = lock.frame();
    result.finalChecksum = game.checksum();
    result.checksumsMatched = lock.checksumsMatched();
    result.drops = lock.drops();
    result.ok = true;
    // Our last checksum and the Leave must reach the other side (resent if
    // lost on the way) before the socket closes.
    if (!session.closed()) session.Leave(3000);
    result.stats = session.stats();
    return result;
}

}  // namespace virexo::nettest
