#include "game/net/state_checksum.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/screen_flow.h"
#include "tests/game/game_fixture.h"

namespace virexo::testing {
namespace {

class NetStateChecksum : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        kestrel::SeedRnd(777);
        for (int p = 0; p < 2; ++p) {
            tableros[static_cast<std::size_t>(p)] = NuevoTablero(5, 3.0f + static_cast<float>(p), p);
            docs[static_cast<std::size_t>(p)] = tableros[static_cast<std::size_t>(p)]->doc;
        }
        tiempo = 12.5f;
    }
    void TearDown() override {
        tableros = {};
        docs = {};
        GameTest::TearDown();
    }
    std::uint64_t Sum() const { return net::GameChecksum(kestrel::RndSeed()); }
};

TEST_F(NetStateChecksum, EveryRuleFieldChangesTheSumAndLooksDoNot) {
    const std::uint64_t base = Sum();
    EXPECT_EQ(Sum(), base);
    _tablero& b = *tableros[1];
    ASSERT_GT(b.fichas->Count(), 0u);
    auto first = *b.fichas->begin();

    // Each change alone moves the sum, and undoing it brings the sum back.
    auto moves = [&](const char* what, auto&& change, auto&& undo) {
        change();
        EXPECT_NE(Sum(), base) << what;
        undo();
        EXPECT_EQ(Sum(), base) << what;
    };
    moves("mark", [&] { b.celda(0, 2).marcada = 1; }, [&] { b.celda(0, 2).marcada = 0; });
    moves("colour", [&] { first->color = (first->color + 1) % 6; }, [&] { first->color = (first->color + 5) % 6; });
    moves("target", [&] { first->dy += 48; }, [&] { first->dy -= 48; });
    moves("virus", [&] { first->bixo ^= 1; }, [&] { first->bixo ^= 1; });
    moves("thrower column", [&] { b.doc->x += 1; }, [&] { b.doc->x -= 1; });
    moves("hand", [&] { b.doc->fichas += 1; }, [&] { b.doc->fichas -= 1; });
    moves("tiempo", [&] { tiempo += 1.0f / 60.0f; }, [&] { tiempo = 12.5f; });
    moves("virus counter", [&] { contbixo[1] += 1; }, [&] { contbixo[1] -= 1; });
    moves("row counter", [&] { b.lineacont += 1; }, [&] { b.lineacont -= 1; });
    moves("state", [&] { estado = "pausa"; }, [&] { estado = "juego"; });
    int row = 0;
    while (row < b.alto && !b.celda(2, row).ficha) ++row;
    ASSERT_LT(row, b.alto);
    auto moved = b.celda(2, row).ficha;
    moves("cell piece", [&] { b.celda(2, row).ficha = nullptr; }, [&] { b.celda(2, row).ficha = moved; });
    moves("piece moved to another cell", [&] { std::swap(b.celda(2, row).ficha, b.celda(2, b.alto - 1).ficha); },
          [&] { std::swap(b.celda(2, row).ficha, b.celda(2, b.alto - 1).ficha); });
    // The first board too, not only the second.
    moves("first board", [&] { tableros[0]->celda(7, 0).marcada = 2; }, [&] { tableros[0]->celda(7, 0).marcada = 0; });
    // The generator's state.
    EXPECT_NE(net::GameChecksum(kestrel::RndSeed() + 1), base);

    // A virus's twitch and the board's shake are looks only.
    first->sx = 1.25f;
    first->sy = 1.1f;
    b.temblor = 3.0f;
    EXPECT_EQ(Sum(), base);
}

TEST_F(NetStateChecksum, TheSameGameBuiltTwiceHasTheSameSumAndADumpOfEveryPiece) {
    const std::uint64_t a = Sum();
    const std::string dumpA = net::DescribeGame(kestrel::RndSeed());
    TearDown();
    SetUp();
    EXPECT_EQ(Sum(), a);
    EXPECT_EQ(net::DescribeGame(kestrel::RndSeed()), dumpA);
    // A different seed deals other pieces.
    TearDown();
    GameTest::SetUp();
    kestrel::SeedRnd(778);
    tableros[0] = NuevoTablero(5, 3.0f, 0);
    tableros[1] = NuevoTablero(5, 4.0f, 1);
    tiempo = 12.5f;
    EXPECT_NE(Sum(), a);

    std::size_t pieces = 0;
    std::istringstream lines(dumpA);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("  piece", 0) == 0) ++pieces;
    }
    EXPECT_EQ(pieces, 2u * 5u * 8u);  // five rows of eight on each board
    EXPECT_NE(dumpA.find("tiempo=12.5"), std::string::npos);
    EXPECT_NE(dumpA.find("board 1:"), std::string::npos);
    EXPECT_NE(dumpA.find("  thrower 1:"), std::string::npos);
}

TEST(NetDesyncReport, WritesBothStatesIntoTheCacheFolderWithoutOverwriting) {
    const std::string root = ::testing::TempDir() + "net_desync_" + std::to_string(getpid());
    std::filesystem::remove_all(root);
    const char* oldXdg = std::getenv("XDG_CACHE_HOME");
    const std::string keep = oldXdg ? oldXdg : "";
    setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
    EXPECT_EQ(net::CacheFolder(), root + "/cache/virexo");

    std::string why;
    const std::string p1 = net::WriteDesyncReport(89, 0xAB, "mine\n", 0xCD, "theirs\n", &why);
    ASSERT_FALSE(p1.empty()) << why;
    const std::string p2 = net::WriteDesyncReport(89, 0xAB, "mine\n", 0xCD, "", &why);
    ASSERT_FALSE(p2.empty()) << why;
    EXPECT_NE(p1, p2);
    EXPECT_EQ(p1.rfind(root + "/cache/virexo/desync-", 0), 0u);
    std::ifstream in(p1);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(),
              "The games went out of step\nframe 89\nthis machine 00000000000000ab\nother machine "
              "00000000000000cd\n\n== this machine\nmine\n\n== other machine\ntheirs\n");

    // A relative XDG_CACHE_HOME is ignored for HOME's .cache.
    setenv("XDG_CACHE_HOME", "relative", 1);
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/') {
        EXPECT_EQ(net::CacheFolder(), std::string(home) + "/.cache/virexo");
    }
    // A folder that cannot be made: no path, and the reason.
    std::ofstream(root + "/file") << "x";
    setenv("XDG_CACHE_HOME", (root + "/file").c_str(), 1);
    EXPECT_TRUE(net::WriteDesyncReport(1, 1, "", 2, "", &why).empty());
    EXPECT_NE(why.find("cannot create"), std::string::npos) << why;

    if (oldXdg) setenv("XDG_CACHE_HOME", keep.c_str(), 1);
    else unsetenv("XDG_CACHE_HOME");
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace virexo::testing
