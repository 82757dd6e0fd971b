// The texts an online game writes for the players.
#include "game/net/online_screens.h"

#include <arpa/inet.h>

#include <gtest/gtest.h>

#include "game/net/local_addresses.h"

namespace virexo::net {
namespace {

std::string All(const std::vector<std::string>& lines) {
    std::string s;
    for (const auto& l : lines) s += l + "\n";
    return s;
}

TEST(OnlineScreens, TheWaitingScreenGivesThePortAndWhereToFindThisMachine) {
    OnlineScreenInfo host;
    host.port = 7420;
    host.addresses = {"192.168.1.20", "fd00::5"};
    const auto lines = WaitingLines(host);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Waiting for a player on port 7420");
    EXPECT_NE(All(lines).find("192.168.1.20  fd00::5"), std::string::npos);
    EXPECT_NE(All(lines).find("virexo --join ADDRESS:7420"), std::string::npos);
    host.addresses.clear();
    EXPECT_NE(All(WaitingLines(host)).find("no network address"), std::string::npos);

    OnlineScreenInfo guest;
    guest.host = false;
    guest.target = "example.org:7500";
    EXPECT_EQ(WaitingLines(guest)[0], "Joining example.org:7500 ...");
    EXPECT_EQ(All(WaitingLines(guest)).find("No answer yet"), std::string::npos);
    guest.attempts = 2;
    EXPECT_EQ(WaitingLines(guest)[1], "No answer yet: trying again until the host is there");
}

TEST(OnlineScreens, TheTitleSaysWhoPlaysWhichBoardAndWhoChooses) {
    OnlineScreenInfo host;
    host.rttMs = 23.4;
    const std::string title = All(TitleLines(host, "menu"));
    EXPECT_NE(title.find("you play the right board"), std::string::npos);
    EXPECT_NE(title.find("Escape here ends the online game"), std::string::npos);
    EXPECT_NE(title.find("Round trip 23 ms"), std::string::npos);
    // On the difficulty screen the host's Escape goes back to the title.
    EXPECT_EQ(All(TitleLines(host, "dificultad")).find("Escape"), std::string::npos);
    host.measuring = true;
    EXPECT_NE(All(TitleLines(host, "dificultad")).find("Measuring the connection"), std::string::npos);

    OnlineScreenInfo guest;
    guest.host = false;
    const std::string seen = All(TitleLines(guest, "dificultad"));
    EXPECT_NE(seen.find("you play the left board"), std::string::npos);
    EXPECT_NE(seen.find("The other player chooses the difficulty"), std::string::npos);
    EXPECT_NE(seen.find("Escape here ends the online game"), std::string::npos);
    EXPECT_EQ(seen.find("Round trip"), std::string::npos);  // not measured yet
}

TEST(OnlineScreens, TheDelayIsShownInFramesAndMilliseconds) {
    OnlineScreenInfo info;
    info.delay = 3;
    EXPECT_EQ(DelayLine(info), "Input delay 3 frames (50 ms)");
    info.delay = 8;
    info.rttMs = 171.2;
    EXPECT_EQ(DelayLine(info), "Input delay 8 frames (133 ms), round trip 171 ms");
}

// The waiting screen lists only addresses a guest can join: IPv4, not
// loopback, each once.
TEST(OnlineScreens, TheMachinesAddressesAreIPv4WithoutLoopback) {
    const auto addresses = LocalAddresses();
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        in_addr a{};
        EXPECT_EQ(inet_pton(AF_INET, addresses[i].c_str(), &a), 1) << addresses[i];
        EXPECT_NE(addresses[i].rfind("127.", 0), 0u) << addresses[i];
        for (std::size_t j = 0; j < i; ++j) EXPECT_NE(addresses[i], addresses[j]);
    }
}

}  // namespace
}  // namespace virexo::net
