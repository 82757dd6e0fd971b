// Two real processes of net-lockstep-sim play a match on the loopback
// interface: directly, and through the relay with delay, jitter and loss.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <thread>

#include "tests/net/net_child.h"

namespace {

using nettest_support::Clock;
using nettest_support::Fields;
using nettest_support::Pairs;
using nettest_support::Since;

// net-lockstep-sim with args.
class Child : public nettest_support::Child {
public:
    explicit Child(std::vector<std::string> args)
        : nettest_support::Child(std::getenv("NET_LOCKSTEP_SIM") ? std::getenv("NET_LOCKSTEP_SIM") : "net-lockstep-sim",
                                 std::move(args)) {}
};

TEST(NetMatchProcesses, TwoProcessesStayInStepFor10000FramesWithGamesWonAndLost) {
    Child host({"--host", "0", "--frames", "10000", "--seed", "4242"});
    ASSERT_TRUE(host.started());
    const std::string portLine = host.WaitLine("port ", 10);
    ASSERT_FALSE(portLine.empty());
    Child guest({"--join", "127.0.0.1:" + portLine.substr(5), "--frames", "10000"});
    const std::string h = host.WaitLine("result ", 90), g = guest.WaitLine("result ", 90);
    EXPECT_EQ(host.Wait(10), 0) << h;
    EXPECT_EQ(guest.Wait(10), 0) << g;
    ASSERT_EQ(h.rfind("result ok", 0), 0u) << h;
    ASSERT_EQ(g.rfind("result ok", 0), 0u) << g;
    auto hf = Fields(h), gf = Fields(g);
    EXPECT_EQ(hf["frames"], "10020");  // rounded up to whole checksum periods
    EXPECT_EQ(gf["frames"], "10020");
    EXPECT_EQ(hf["checksum"], gf["checksum"]);
    EXPECT_EQ(hf["matched"], "334");
    EXPECT_EQ(gf["matched"], "334");
    EXPECT_EQ(hf["won"], gf["won"]);
    const auto [won0, won1] = Pairs(hf["won"]);
    EXPECT_GT(won0, 0);  // each player won a round and lost one
    EXPECT_GT(won1, 0);
    EXPECT_EQ(hf["delay"], "2");
    EXPECT_EQ(hf["drops"], "0");
    std::cout << "host:  " << h << "\nguest: " << g << "\n";
}

TEST(NetMatchProcesses, InStepThroughTheRelayWithDelayJitterAndLossAtTheGamesPace) {
    // A long timeout: this test is about staying in step through loss, and a
    // loaded machine (sanitizers, tests in parallel) can hold a resend of a
    // lost packet past the 3 s that ends a game; the killed-peer test covers
    // the timeout itself.
    Child host({"--host", "0", "--frames", "1200", "--fps", "60", "--seed", "99", "--timeout", "15000"});
    const std::string portLine = host.WaitLine("port ", 10);
    ASSERT_FALSE(portLine.empty());
    nettest_support::LossyRelay relay(static_cast<std::uint16_t>(std::atoi(portLine.substr(5).c_str())), 90);
    ASSERT_TRUE(relay.open()) << relay.why();
    Child guest({"--join", "127.0.0.1:" + std::to_string(relay.port()), "--frames", "1200", "--fps", "60",
                 "--timeout", "15000"});
    const std::string h = host.WaitLine("result ", 80), g = guest.WaitLine("result ", 80);
    relay.Stop();
    ASSERT_EQ(h.rfind("result ok", 0), 0u) << h;
    ASSERT_EQ(g.rfind("result ok", 0), 0u) << g;
    auto hf = Fields(h), gf = Fields(g);
    EXPECT_EQ(hf["checksum"], gf["checksum"]);
    EXPECT_EQ(hf["matched"], "40");
    EXPECT_EQ(gf["matched"], "40");
    // 160 ms of round trip needs most of the 2..8 range.
    EXPECT_GE(std::atoi(hf["delay"].c_str()), 6);
    EXPECT_GT(std::atof(hf["rtt_ms"].c_str()), 150.0);
    const auto rs = relay.stats();
    EXPECT_GT(rs.dropped[0] + rs.dropped[1], 0u);
    std::cout << "host:  " << h << "\nguest: " << g << "\nrelay dropped " << rs.dropped[0] << "/"
              << rs.dropped[1] << " of " << rs.forwarded[0] + rs.dropped[0] << "/"
              << rs.forwarded[1] + rs.dropped[1] << "\n";
}

TEST(NetMatchProcesses, APeerKilledMidGameIsNoticedWithinFiveSeconds) {
    Child host({"--host", "0", "--frames", "100000", "--fps", "60"});
    const std::string portLine = host.WaitLine("port ", 10);
    ASSERT_FALSE(portLine.empty());
    Child guest({"--join", "127.0.0.1:" + portLine.substr(5), "--frames", "100000", "--fps", "60"});
    ASSERT_FALSE(guest.WaitLine("started", 10).empty());
    std::this_thread::sleep_for(std::chrono::seconds(1));
    guest.Kill();
    const auto t0 = Clock::now();
    const std::string h = host.WaitLine("result ", 8);
    EXPECT_LT(Since(t0), 5.0);
    EXPECT_NE(h.find("result fail message=The connection to the other player was lost"), std::string::npos) << h;
    EXPECT_EQ(host.Wait(5), 1);
}

TEST(NetMatchProcesses, AStateThatGoesWrongEndsBothSidesWithAReport) {
    const std::string cache = ::testing::TempDir() + "net_match_cache_" + std::to_string(getpid());
    std::filesystem::remove_all(cache);
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);  // the children inherit it
    Child host({"--host", "0", "--frames", "3000"});
    const std::string portLine = host.WaitLine("port ", 10);
    ASSERT_FALSE(portLine.empty());
    Child guest({"--join", "127.0.0.1:" + portLine.substr(5), "--frames", "3000", "--break-at", "1000"});
    const std::string h = host.WaitLine("result ", 30), g = guest.WaitLine("result ", 30);
    unsetenv("XDG_CACHE_HOME");
    for (const std::string& line : {h, g}) {
        ASSERT_EQ(line.rfind("result fail message=The games went out of step", 0), 0u) << line;
        auto f = Fields(line);
        ASSERT_FALSE(f["report"].empty()) << line;
        std::ifstream in(f["report"]);
        std::stringstream text;
        text << in.rdbuf();
        // Found at the first checksum after the frame that went wrong.
        EXPECT_NE(text.str().find("frame 1019\n"), std::string::npos) << text.str();
        EXPECT_NE(text.str().find("== other machine\nframe"), std::string::npos) << text.str();
    }
    std::filesystem::remove_all(cache);
}

}  // namespace
