// virexo-netplay: one side of an online game of the real program (its
// start-up, window, frame body, connection and lockstep), with a scripted
// player pressing keys through the platform's key path, unpaced (frames are
// drawn through a one-pixel viewport, so they come fast).
//   virexo-netplay --host PORT | --join HOST[:PORT]
//                  [--frames N] [--timeout MS] [--keys SEED] [--seconds S]
//                  [--seed SEED] [--delay D] [--until-won-and-lost 1] [--rollback 1]
// N (10000): the lockstep updates after which the state's checksum is
// taken (with --until-won-and-lost, not before a game was won and one
// lost); the side then plays on for two seconds, so the other side has its
// keys, and leaves. --seed fixes the host's games' seeds, --delay D the
// host's input delay (then a run's games go the same way on any machine). --break-at F puts
// this side's state wrong after update F, to try a desync. Prints "port N" (host), "started delay D" at the first
// game, "game STATE" at each game's end, then one line "result ok ..." or
// "result fail message=...". Exit status 0 when ok.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "game/globals.h"
#include "game/net/online_game.h"
#include "game/net/state_checksum.h"
#include "tools/netplay/net_player.h"
#include "tools/replay/replay.h"
#include "toolkit/system/random.h"

namespace {

using Clock = std::chrono::steady_clock;

rusage SelfUsage() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u;
}

double CpuSeconds() {
    const rusage u = SelfUsage();
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double Since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

int Usage() {
    std::fprintf(stderr, "usage: virexo-netplay --host PORT | --join HOST[:PORT] [--frames N] [--timeout MS] "
                         "[--keys SEED] [--seconds S] [--seed SEED] [--until-won-and-lost 1] [--delay D] [--break-at F]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace virexo;
    net::OnlineOptions online;
    // Plain lockstep unless --rollback 1: this driver compares the two
    // sides' state after the same update count, which with rollback may
    // still be a prediction (the games' own checksums compare only
    // confirmed updates either way).
    online.rollback = false;
    bool hosting = false, joining = false;
    std::uint64_t frames = 10000;
    std::uint32_t keySeed = 7;
    double maxSeconds = 600;
    bool untilBoth = false;
    long long breakAt = -1;  // this side's state goes wrong after that update, to try a desync
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string k = argv[i], v = argv[i + 1];
        if (k == "--host") hosting = true, online.port = static_cast<std::uint16_t>(std::atoi(v.c_str()));
        else if (k == "--join") joining = true, online.target = v;
        else if (k == "--frames") frames = std::strtoull(v.c_str(), nullptr, 10);
        else if (k == "--timeout") online.session.timeoutMs = static_cast<std::uint32_t>(std::atoi(v.c_str()));
        else if (k == "--keys") keySeed = static_cast<std::uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
        else if (k == "--seconds") maxSeconds = std::atof(v.c_str());
        else if (k == "--seed") online.seed = static_cast<std::uint32_t>(std::strtoul(v.c_str(), nullptr, 10));
        else if (k == "--until-won-and-lost") untilBoth = v == "1";
        else if (k == "--delay") online.delay = std::atoi(v.c_str());
        else if (k == "--rollback") online.rollback = v == "1";
        else if (k == "--break-at") breakAt = std::strtoll(v.c_str(), nullptr, 10);
        else return Usage();
    }
    if (hosting == joining || frames == 0) return Usage();
    online.role = hosting ? net::Role::kHost : net::Role::kGuest;
    // Unpaced, a side sends far more than a game's 60 updates a second, and
    // it has no waits to make up for: one lockstep update a frame, so the
    // scripted player's keys land on the same updates however the two sides'
    // timing goes.
    online.session.maxMessagesPerSecond = 0;
    online.catchUp = false;

    replay::Harness harness;
    replay::Script script;
    script.frames = 1 << 30;
    std::string why;
    if (!harness.Start(script, &why)) {
        std::printf("result fail message=no display: %s\n", why.c_str());
        return 1;
    }
    if (!net::StartOnlineGame(online, &why)) {
        std::printf("result fail message=%s\n", why.c_str());
        return 1;
    }
    const net::OnlineStatus& st = net::OnlineGameStatus();
    if (hosting) std::printf("port %u\n", st.port);
    std::fflush(stdout);

    netplay::NetPlayer player(online.role, keySeed);
    const auto t0 = Clock::now();
    const double cpu0 = CpuSeconds();
    bool started = false;
    std::uint64_t finalSum = 0;
    double doneAt = -1, matchStart = -1, cpuAtDone = 0;
    net::SessionStats statsAtDone;
    std::uint64_t matchedAtDone = 0, framesAtDone = 0;
    // A line every 10 s: where a slow run spent its time.
    double nextProgress = 10;
    std::uint64_t framesAtProgress = 0, stepsAtProgress = 0, steps = 0;
    for (;;) {
        ++steps;
        if (Since(t0) >= nextProgress) {
            // (major_faults: pages read back from disk that the system had let go.)
            std::printf("progress t=%.0f screen=%s frames=%llu updates_per_s=%.0f steps_per_s=%.0f stalled=%d "
                        "cpu_s=%.1f rtt_ms=%.1f datagrams_sent=%llu major_faults=%ld\n",
                        Since(t0), estado.c_str(), static_cast<unsigned long long>(st.framesRun),
                        static_cast<double>(st.framesRun - framesAtProgress) / 10.0,
                        static_cast<double>(steps - stepsAtProgress) / 10.0, st.stalled ? 1 : 0,
                        CpuSeconds() - cpu0, st.rttMs, static_cast<unsigned long long>(st.stats.datagramsSent), SelfUsage().ru_majflt);
            std::fflush(stdout);
            framesAtProgress = st.framesRun;
            stepsAtProgress = steps;
            nextProgress += 10;
        }
        const int key = player.NextKey();
        if (key >= 0) harness.Press(key);
        harness.Step();
        if (breakAt >= 0 && st.framesRun == static_cast<std::uint64_t>(breakAt)) {
            tiempo += 1.0f;
            breakAt = -1;
        }
        if (player.Observe()) {
            std::printf("game %s at=%llu\n", player.Results().substr(player.Results().rfind(',') + 1).c_str(),
                        static_cast<unsigned long long>(st.framesRun));
            std::fflush(stdout);
        }
        if (!started && st.inMatch) {
            started = true;
            matchStart = Since(t0);
            std::printf("started delay %d rtt_ms %.1f\n", st.delay, st.rttMs);
            std::fflush(stdout);
        }
        if (!st.running) {
            if (doneAt >= 0) break;  // the other side left after its final frame
            // The message is the first line of what the title shows.
            std::printf("result fail message=%s frames=%llu report=%s\n",
                        st.ended.substr(0, st.ended.find('\n')).c_str(),
                        static_cast<unsigned long long>(st.framesRun), st.desyncReport.c_str());
            return 1;
        }
        // Both sides see the same games end after the same updates, so both
        // stop after the same one.
        const bool enough = st.framesRun >= frames && (!untilBoth || (player.won() > 0 && player.lost() > 0));
        if (doneAt < 0 && enough) {
            finalSum = net::GameChecksum(kestrel::RndSeed());
            doneAt = Since(t0);
            cpuAtDone = CpuSeconds();
            statsAtDone = st.stats;
            matchedAtDone = st.checksumsMatched;
            framesAtDone = st.framesRun;
        }
        if (doneAt >= 0 && Since(t0) - doneAt > 2.0) break;
        if (Since(t0) > maxSeconds) {
            std::printf("result fail message=out of time frames=%llu\n", static_cast<unsigned long long>(st.framesRun));
            return 1;
        }
        if (st.stalled) net::WaitForOnlineData(2);  // let the other side run
    }
    const double seconds = doneAt - matchStart;
    const auto perSecond = [&](std::uint64_t bytes) { return seconds > 0 ? static_cast<double>(bytes) / seconds : 0.0; };
    std::printf("result ok frames=%llu checksum=%016llx matched=%llu games=%s won=%d lost=%d delay=%d rtt_ms=%.1f "
                "jitter_ms=%.1f seconds=%.2f fps=%.0f cpu_s=%.2f payload_bytes_per_s=%.0f udp_bytes_per_s=%.0f "
                "datagrams_per_s=%.0f drops=%llu stall_notices=%llu\n",
                static_cast<unsigned long long>(framesAtDone), static_cast<unsigned long long>(finalSum),
                static_cast<unsigned long long>(matchedAtDone), player.Results().c_str(), player.won(),
                player.lost(), st.delay, st.rttMs, st.jitterMs, seconds,
                seconds > 0 ? static_cast<double>(framesAtDone) / seconds : 0.0, cpuAtDone - cpu0,
                perSecond(statsAtDone.payloadBytesSent), perSecond(statsAtDone.udpBytesSent + 28 * statsAtDone.datagramsSent),
                seconds > 0 ? static_cast<double>(statsAtDone.datagramsSent) / seconds : 0.0,
                static_cast<unsigned long long>(st.drops.Total() + st.stats.undecodable.Total() + st.stats.outOfPhase +
                                                st.stats.flood),
                static_cast<unsigned long long>(st.stallNotices));
    std::fflush(stdout);
    return 0;
}
