// The replay of a real online game: two processes of the game
// (virexo-netplay) play on the loopback interface and each writes the
// game's replay into its cache folder, as a player's game does; both
// replays hold the same keys, and replaying either from scratch in this
// process ends in the very state both games reported.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/screen_flow.h"
#include "game/net/online_replay.h"
#include "game/net/state_checksum.h"
#include "tests/game/game_fixture.h"
#include "tests/net/net_child.h"
#include "toolkit/system/random.h"

namespace virexo::testing {
namespace {

std::string Netplay() { return std::getenv("VIREXO_NETPLAY") ? std::getenv("VIREXO_NETPLAY") : "virexo-netplay"; }

std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class NetReplayOfARealGame : public GameTest {
protected:
    void TearDown() override {
        tableros = {};
        docs = {};
        GameTest::TearDown();
    }
};

TEST_F(NetReplayOfARealGame, BothMachinesReplaysEndInTheStateTheGamesReported) {
    const std::string cache = ::testing::TempDir() + "net_replay_cache_" + std::to_string(getpid());
    std::filesystem::remove_all(cache);
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);  // the children inherit it
    nettest_support::Child host(Netplay(), {"--host", "0", "--frames", "1500", "--seed", "11", "--delay", "2",
                                            "--seconds", "120"});
    const std::string portLine = host.WaitLine("port ", 30);
    ASSERT_FALSE(portLine.empty());
    nettest_support::Child guest(Netplay(), {"--join", "127.0.0.1:" + portLine.substr(5), "--frames", "1500",
                                             "--seconds", "120"});
    const std::string h = host.WaitLine("result ", 130), g = guest.WaitLine("result ", 130);
    EXPECT_EQ(host.Wait(10), 0) << h;
    EXPECT_EQ(guest.Wait(10), 0) << g;
    unsetenv("XDG_CACHE_HOME");
    ASSERT_EQ(h.rfind("result ok", 0), 0u) << h;
    ASSERT_EQ(g.rfind("result ok", 0), 0u) << g;
    auto hf = nettest_support::Fields(h), gf = nettest_support::Fields(g);
    ASSERT_EQ(hf["checksum"], gf["checksum"]);
    const std::size_t frames = std::strtoull(hf["frames"].c_str(), nullptr, 10);
    ASSERT_GT(frames, 0u);

    std::vector<std::filesystem::path> replays;
    for (const auto& e : std::filesystem::directory_iterator(cache + "/virexo"))
        if (e.path().filename().string().rfind("replay-", 0) == 0) replays.push_back(e.path());
    ASSERT_EQ(replays.size(), 2u) << "one replay from each machine";
    std::optional<net::OnlineReplay> first;
    for (const auto& path : replays) {
        std::string why;
        auto replay = net::OnlineReplay::FromText(ReadFile(path), &why);
        ASSERT_TRUE(replay) << path << ": " << why;
        // The games ran on after the checksum (until the other side left).
        ASSERT_GE(replay->keys.size(), frames) << path;
        if (first) {
            EXPECT_EQ(replay->seed, first->seed);
            EXPECT_EQ(replay->difficulty, first->difficulty);
            const std::size_t common = std::min(replay->keys.size(), first->keys.size());
            EXPECT_TRUE(std::equal(replay->keys.begin(), replay->keys.begin() + static_cast<std::ptrdiff_t>(common),
                                   first->keys.begin()))
                << "both machines recorded the same keys";
        }
        EXPECT_EQ(net::RunReplayUpdates(*replay, frames), frames);
        char sum[17];
        std::snprintf(sum, sizeof sum, "%016llx",
                      static_cast<unsigned long long>(net::GameChecksum(kestrel::RndSeed())));
        EXPECT_EQ(sum, hf["checksum"]) << path << "\n" << net::DescribeGame(kestrel::RndSeed());
        if (!first) first = replay;
    }
    std::filesystem::remove_all(cache);
}

}  // namespace
}  // namespace virexo::testing
