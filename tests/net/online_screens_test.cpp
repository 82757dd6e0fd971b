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

// Each side's option lists show only what that side's title reads: the
// host's F1 and F2 both start the two-player game, so the list keeps
// "Doubles : F2" and the panel names both keys; the guest keeps the help and
// leaving, and on the difficulty screen only Escape. Nobody online sees the
// computer opponent; offline every line is there.
TEST(OnlineScreens, EachSideListsOnlyTheKeysItCanPress) {
    const OpcionesVisibles host = OnlineOptionRows(true), guest = OnlineOptionRows(false);
    EXPECT_FALSE(host.titulo & kFilaUno);
    EXPECT_TRUE(host.titulo & kFilaDos);
    EXPECT_TRUE(host.titulo & kFilaAyuda);
    EXPECT_TRUE(host.titulo & kFilaSalir);
    EXPECT_EQ(host.dificultad, kTodaDificultad);
    EXPECT_EQ(guest.titulo, kFilaAyuda | kFilaSalir);
    EXPECT_EQ(guest.dificultad, kFilaMenu);
    for (const auto& side : {host, guest}) EXPECT_FALSE(side.titulo & kFilaVersus);
    EXPECT_EQ(OpcionesVisibles{}.titulo, kTodoTitulo);
    EXPECT_EQ(OpcionesVisibles{}.dificultad, kTodaDificultad);

    OnlineScreenInfo h;
    EXPECT_NE(All(PanelLines(h, "menu")).find("F1 or F2: on to the difficulty"), std::string::npos);
    OnlineScreenInfo g;
    g.host = false;
    for (const char* screen : {"menu", "dificultad"}) {
        const std::string seen = All(PanelLines(g, screen));
        EXPECT_EQ(seen.find("F1"), std::string::npos) << screen;
        EXPECT_EQ(seen.find("F2"), std::string::npos) << screen;
    }
    // Each screen's panel: the waiting lines, the title's, the delay, the
    // pause's reminder; nothing over play and the end screens but the top
    // line, which only a late peer or a desync brings.
    EXPECT_EQ(PanelLines(g, "espera"), WaitingLines(g));
    EXPECT_EQ(PanelLines(g, "dificultad"), TitleLines(g, "dificultad"));
    EXPECT_EQ(PanelLines(g, "iniciajuego"), std::vector<std::string>{DelayLine(g)});
    EXPECT_EQ(PanelLines(g, "pausa"), std::vector<std::string>{"Escape ends the online game for both players"});
    EXPECT_TRUE(PanelLines(g, "juego").empty());
    EXPECT_TRUE(PanelLines(g, "fin21").empty());
    EXPECT_EQ(TopLine(g, "juego"), "");
    g.waitingForPeer = true;
    EXPECT_EQ(TopLine(g, "juego"), "waiting for the other player");
    EXPECT_EQ(TopLine(g, "fin20b"), "waiting for the other player");
    EXPECT_EQ(TopLine(g, "pausa"), "");
    g.desync = true;
    EXPECT_EQ(TopLine(g, "pausa"), "The games went out of step");
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
