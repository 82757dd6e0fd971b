// Two processes of the real game (virexo-netplay: the program's start-up,
// window, frame body, connection and lockstep, with a scripted player
// pressing keys through the platform's key path) play online on the
// loopback interface: directly, through the relay with delay, jitter and
// loss, with one side killed, and with one side's state put wrong.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "tests/net/net_child.h"

namespace {

using nettest_support::Clock;
using nettest_support::Fields;
using nettest_support::Since;

class Game : public nettest_support::Child {
public:
    explicit Game(std::vector<std::string> args)
        : nettest_support::Child(std::getenv("VIREXO_NETPLAY") ? std::getenv("VIREXO_NETPLAY") : "virexo-netplay",
                                 std::move(args)) {}
};

std::string PortOf(Game& host) {
    const std::string line = host.WaitLine("port ", 30);
    return line.empty() ? "" : line.substr(5);
}

TEST(NetGameProcesses, TwoGamesStayInStepFor10000UpdatesWithAGameWonAndOneLost) {
    // The host's seeds and input delay are fixed, so the games' course is
    // too (a game lost at about 6,000 updates, one won at about 15,000); the
    // run goes on past 10,000 updates until a game was won and one lost.
    // (It takes 37-92 s here, alone or beside other tests; 420 s is room for
    // a slow machine. A window opened by another test takes the focus and
    // pauses both games: the tests that open one share its focus lock.)
    Game host({"--host", "0", "--frames", "10000", "--until-won-and-lost", "1", "--seed", "1", "--delay", "2",
               "--seconds", "420"});
    const std::string port = PortOf(host);
    ASSERT_FALSE(port.empty());
    Game guest({"--join", "127.0.0.1:" + port, "--frames", "10000", "--until-won-and-lost", "1", "--seconds", "420"});
    const std::string h = host.WaitLine("result ", 430), g = guest.WaitLine("result ", 430);
    EXPECT_EQ(host.Wait(10), 0) << h;
    EXPECT_EQ(guest.Wait(10), 0) << g;
    ASSERT_EQ(h.rfind("result ok", 0), 0u) << h << "\nhost:\n" << host.passed() << "guest:\n" << guest.passed();
    ASSERT_EQ(g.rfind("result ok", 0), 0u) << g;
    auto hf = Fields(h), gf = Fields(g);
    EXPECT_GE(std::atoi(hf["frames"].c_str()), 10000);
    EXPECT_EQ(hf["frames"], gf["frames"]);
    EXPECT_EQ(hf["checksum"], gf["checksum"]);
    EXPECT_EQ(hf["games"], gf["games"]);  // the same games, ended the same way
    EXPECT_GE(std::atoi(hf["won"].c_str()), 1) << hf["games"];
    EXPECT_GE(std::atoi(hf["lost"].c_str()), 1) << hf["games"];
    // Every 30th update was compared (but the one a game's end may cut
    // short, and the run stops between two of them).
    const int games = std::atoi(hf["won"].c_str()) + std::atoi(hf["lost"].c_str());
    EXPECT_GE(std::atoi(hf["matched"].c_str()), std::atoi(hf["frames"].c_str()) / 30 - games - 1);
    EXPECT_EQ(hf["delay"], "2");
    EXPECT_EQ(hf["drops"], "0");
    EXPECT_EQ(gf["drops"], "0");
    std::cout << "host:  " << h << "\nguest: " << g << "\n";
}

TEST(NetGameProcesses, InStepThroughTheRelayWithDelayJitterAndLoss) {
    // A long timeout: a loaded machine (sanitizers, tests in parallel) can
    // hold a resend of a lost packet past the 3 s that ends a game.
    Game host({"--host", "0", "--frames", "1800", "--seed", "3", "--timeout", "15000", "--seconds", "200"});
    const std::string port = PortOf(host);
    ASSERT_FALSE(port.empty());
    nettest_support::LossyRelay relay(static_cast<std::uint16_t>(std::atoi(port.c_str())), 200);
    ASSERT_TRUE(relay.open()) << relay.why();
    Game guest({"--join", "127.0.0.1:" + std::to_string(relay.port()), "--frames", "1800", "--timeout", "15000",
                "--seconds", "200"});
    const std::string h = host.WaitLine("result ", 210), g = guest.WaitLine("result ", 210);
    relay.Stop();
    ASSERT_EQ(h.rfind("result ok", 0), 0u) << h;
    ASSERT_EQ(g.rfind("result ok", 0), 0u) << g;
    auto hf = Fields(h), gf = Fields(g);
    EXPECT_EQ(hf["checksum"], gf["checksum"]);
    EXPECT_EQ(hf["frames"], "1800");
    EXPECT_GE(std::atoi(hf["matched"].c_str()), 59);
    // The round trip through the relay is about 160 ms: the delay the host
    // chose from it covers most of the 2..8 range, and both use it.
    EXPECT_GE(std::atoi(hf["delay"].c_str()), 6);
    EXPECT_EQ(hf["delay"], gf["delay"]);
    EXPECT_GT(std::atof(hf["rtt_ms"].c_str()), 150.0);
    const auto rs = relay.stats();
    EXPECT_GT(rs.dropped[0] + rs.dropped[1], 0u);
    std::cout << "input delay " << hf["delay"] << " frames, round trip " << hf["rtt_ms"] << " ms\nhost:  " << h
              << "\nguest: " << g << "\nrelay dropped " << rs.dropped[0] << "/" << rs.dropped[1] << " of "
              << rs.forwarded[0] + rs.dropped[0] << "/" << rs.forwarded[1] + rs.dropped[1] << "\n";
}

TEST(NetGameProcesses, APlayerKilledMidGameSendsTheOtherBackToTheTitleWithin5Seconds) {
    Game host({"--host", "0", "--frames", "1000000", "--seconds", "60"});
    const std::string port = PortOf(host);
    ASSERT_FALSE(port.empty());
    Game guest({"--join", "127.0.0.1:" + port, "--frames", "1000000", "--seconds", "60"});
    ASSERT_FALSE(guest.WaitLine("started", 30).empty());
    ASSERT_FALSE(host.WaitLine("started", 5).empty());
    std::this_thread::sleep_for(std::chrono::seconds(1));
    guest.Kill();
    const auto t0 = Clock::now();
    const std::string h = host.WaitLine("result ", 10);
    const double seconds = Since(t0);
    EXPECT_LT(seconds, 5.0);
    EXPECT_EQ(h.rfind("result fail message=The connection to the other player was lost", 0), 0u) << h;
    EXPECT_EQ(host.Wait(5), 1);
    std::cout << "the host was back on its title " << seconds << " s after the kill\n";
}

// An outage: the relay between the two games (a process of its own) is
// stopped, so that nothing passes either way, then let go. Stopped for 2 s,
// both games wait and play on; stopped for 5 s, both are back on their
// titles 3 to 4 s after the last datagram, which passed just before the stop.
TEST(NetGameProcesses, ATwoSecondOutageIsSurvivedAndAFiveSecondOneEndsBothGamesAfterThreeSeconds) {
    const char* relayProgram = NET_RELAY_PROGRAM;
    for (const int outage : {2, 5}) {
        Game host({"--host", "0", "--frames", "100000000", "--seconds", "40"});
        const std::string port = PortOf(host);
        ASSERT_FALSE(port.empty());
        nettest_support::Child relay(relayProgram, {"--target", port, "--seconds", "60"});
        const std::string listening = relay.WaitLine("listening on ", 10);
        ASSERT_FALSE(listening.empty());
        Game guest({"--join", "127.0.0.1:" + listening.substr(13), "--frames", "100000000", "--seconds", "40"});
        ASSERT_FALSE(guest.WaitLine("started", 30).empty());
        ASSERT_FALSE(host.WaitLine("started", 5).empty());
        std::this_thread::sleep_for(std::chrono::seconds(1));
        kill(relay.pid(), SIGSTOP);
        const auto t0 = Clock::now();
        if (outage == 2) {
            std::this_thread::sleep_for(std::chrono::seconds(2));
            kill(relay.pid(), SIGCONT);
            // Both play on: neither gives up within the next 4 s.
            EXPECT_EQ(host.WaitLine("result ", 4), "") << "the host gave up after a 2 s outage";
            EXPECT_EQ(guest.WaitLine("result ", 0.1), "") << "the guest gave up after a 2 s outage";
            continue;
        }
        const std::string h = host.WaitLine("result ", 10);
        const double hostSeconds = Since(t0);
        const std::string g = guest.WaitLine("result ", 5);
        const double guestSeconds = Since(t0);
        kill(relay.pid(), SIGCONT);
        for (const std::string& line : {h, g})
            EXPECT_EQ(line.rfind("result fail message=The connection to the other player was lost", 0), 0u) << line;
        EXPECT_GE(hostSeconds, 2.9);
        EXPECT_LT(hostSeconds, 4.0);
        EXPECT_GE(guestSeconds, 2.9);
        EXPECT_LT(guestSeconds, 4.0);
        std::cout << "after a " << outage << " s outage: the host gave up after " << hostSeconds
                  << " s, the guest after " << guestSeconds << " s\n";
    }
}

TEST(NetGameProcesses, AStateThatGoesWrongEndsBothGamesWithAReport) {
    const std::string cache = ::testing::TempDir() + "net_game_cache_" + std::to_string(getpid());
    std::filesystem::remove_all(cache);
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);  // the children inherit it
    Game host({"--host", "0", "--frames", "100000", "--seconds", "60"});
    const std::string port = PortOf(host);
    ASSERT_FALSE(port.empty());
    Game guest({"--join", "127.0.0.1:" + port, "--frames", "100000", "--break-at", "500", "--seconds", "60"});
    const std::string h = host.WaitLine("result ", 70), g = guest.WaitLine("result ", 70);
    unsetenv("XDG_CACHE_HOME");
    for (const std::string& line : {h, g}) {
        ASSERT_EQ(line.rfind("result fail message=The games went out of step", 0), 0u) << line;
        auto f = Fields(line);
        ASSERT_FALSE(f["report"].empty()) << line;
        EXPECT_EQ(f["report"].rfind(cache, 0), 0u) << f["report"];
        std::ifstream in(f["report"]);
        std::stringstream text;
        text << in.rdbuf();
        // Found at the first checksum after the update that went wrong, with
        // both machines' states.
        EXPECT_NE(text.str().find("frame 509\n"), std::string::npos) << text.str();
        // Each state says after which update it was taken (the first side
        // to see the checksums differ may have run on a little).
        EXPECT_NE(text.str().find("== this machine\nafter update "), std::string::npos) << text.str();
        EXPECT_NE(text.str().find("== other machine\nafter update "), std::string::npos) << text.str();
        EXPECT_NE(text.str().find("game: estado=\"juego\" jugadores=2 tiempo="), std::string::npos) << text.str();
    }
    std::filesystem::remove_all(cache);
}

}  // namespace
