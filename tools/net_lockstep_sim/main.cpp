// net-lockstep-sim: one side of an online match, headless, with scripted
// keys and a small deterministic game, to check that two machines stay in
// step and to measure the input delay, the bandwidth and the CPU.
//   net-lockstep-sim --host PORT   [options]   (PORT 0: any free port)
//   net-lockstep-sim --join HOST[:PORT] [options]
// options: --frames N (10000; rounded up to a multiple of 30) --fps F (0:
// unpaced) --seed S (the host's game seed) --keys K (key script seed)
// --program TEXT (the version it claims, to try a mismatch) --break-at F
// (this side's state goes wrong after frame F, to try a desync) --timeout MS
// (no answer this long ends the match; 3000).
// Prints "port N" (host) and "started delay D" as it goes, then one line
// "result ok ..." or "result fail message=...". Exit status 0 when ok.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/net/enet_session.h"
#include "tools/net_lockstep_sim/lockstep_match.h"
#include "tools/net_lockstep_sim/toy_game.h"

namespace {

double CpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace virexo;
    std::string host, join;
    bool hosting = false;
    nettest::MatchOptions mo;
    std::uint32_t keySeed = 7;
    long breakAt = -1;
    net::EnetSession::Options so;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string k = argv[i], v = argv[i + 1];
        if (k == "--host") hosting = true, host = v;
        else if (k == "--join") join = v;
        else if (k == "--frames") mo.frames = static_cast<std::uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
        else if (k == "--fps") mo.fps = std::atof(v.c_str());
        else if (k == "--seed") mo.seed = static_cast<std::uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
        else if (k == "--keys") keySeed = static_cast<std::uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
        else if (k == "--program") so.program = v;
        else if (k == "--break-at") breakAt = std::atol(v.c_str());
        else if (k == "--timeout") so.timeoutMs = static_cast<std::uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
        else {
            std::fprintf(stderr, "net-lockstep-sim: unknown option %s\n", k.c_str());
            return 2;
        }
    }
    if (hosting == !join.empty() || mo.frames == 0 || mo.frames > 10000000) {
        std::fprintf(stderr, "usage: net-lockstep-sim --host PORT | --join HOST[:PORT] [--frames N] [--fps F] "
                             "[--seed S] [--keys K] [--program TEXT] [--break-at F] [--timeout MS]\n");
        return 2;
    }
    // Unpaced, the match sends far more than a game's 65 messages a second.
    if (mo.fps <= 0) so.maxMessagesPerSecond = 0;
    const std::uint32_t period = net::Lockstep::kChecksumPeriod;
    mo.frames = (mo.frames + period - 1) / period * period;

    std::string why;
    std::unique_ptr<net::EnetSession> session =
        hosting ? net::EnetSession::Host(static_cast<std::uint16_t>(std::atoi(host.c_str())), so, &why)
                : net::EnetSession::Join(join, so, &why);
    if (!session) {
        std::printf("result fail message=%s\n", why.c_str());
        return 1;
    }
    if (hosting) std::printf("port %u\n", session->port());
    std::fflush(stdout);

    nettest::ToyGame game;
    const int player = hosting ? 0 : 1;
    nettest::MatchCallbacks cb;
    cb.begin = [&](std::uint32_t seed) {
        game.Begin(seed);
        std::printf("started\n");
        std::fflush(stdout);
    };
    cb.localKeys = [&](std::uint32_t f) { return nettest::ScriptedKeys(keySeed, player, f); };
    cb.advance = [&](const net::FrameInputs& in) {
        game.Advance(in);
        if (static_cast<long>(in.frame) == breakAt) game.won[0] += 1;
    };
    cb.checksum = [&] { return game.Checksum(); };
    cb.dump = [&] { return game.Dump(); };

    const double cpu0 = CpuSeconds();
    const nettest::MatchResult r = nettest::PlayMatch(*session, mo, cb);
    const double cpu = CpuSeconds() - cpu0;
    if (!r.ok) {
        std::printf("result fail message=%s frames=%u report=%s\n", r.message.c_str(), r.frames,
                    r.desyncReport.c_str());
        return 1;
    }
    const double s = r.seconds > 0 ? r.seconds : 1;
    std::printf("result ok frames=%u checksum=%016llx delay=%d rtt_ms=%.2f jitter_ms=%.2f matched=%llu "
                "won=%d/%d lost=%d/%d stall_notices=%llu longest_stall_ms=%.1f seconds=%.2f cpu_s=%.2f "
                "udp_bytes_sent=%llu datagrams_sent=%llu messages_sent=%llu payload_bytes_sent=%llu "
                "udp_bytes_per_s=%.0f wire_bytes_per_s=%.0f drops=%llu\n",
                r.frames, static_cast<unsigned long long>(r.finalChecksum), r.delay, r.rttMs, r.jitterMs,
                static_cast<unsigned long long>(r.checksumsMatched), game.won[0], game.won[1], game.lost[0],
                game.lost[1], static_cast<unsigned long long>(r.stallNotices), r.longestStallMs, r.seconds, cpu,
                static_cast<unsigned long long>(r.stats.udpBytesSent),
                static_cast<unsigned long long>(r.stats.datagramsSent),
                static_cast<unsigned long long>(r.stats.messagesSent),
                static_cast<unsigned long long>(r.stats.payloadBytesSent), r.stats.udpBytesSent / s,
                (r.stats.udpBytesSent + 28.0 * r.stats.datagramsSent) / s,
                static_cast<unsigned long long>(r.drops.Total() + r.stats.undecodable.Total() +
                                                r.stats.outOfPhase + r.stats.flood));
    return 0;
}
