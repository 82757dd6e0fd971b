// The invariant checker flags each kind of inconsistency it is meant to see.
#include "game_fixture.h"

namespace virexo::testing {
namespace {

using InvariantsTest = GameTest;

bool Mentions(const std::vector<std::string>& v, const std::string& word) {
    for (const auto& s : v)
        if (s.find(word) != std::string::npos) return true;
    return false;
}

TEST_F(InvariantsTest, FlagsEachBrokenRule) {
    auto b = NuevoTablero(3);
    ASSERT_TRUE(CompruebaInvariantes(*b).empty());

    // A piece in two cells.
    auto f = b->celda(0, 0).ficha;
    b->celda(0, 5).ficha = f;
    EXPECT_TRUE(Mentions(CompruebaInvariantes(*b), "2 cells"));
    b->celda(0, 5).ficha.reset();

    // A piece in no cell and not in hand.
    b->celda(1, 0).ficha.reset();
    EXPECT_TRUE(Mentions(CompruebaInvariantes(*b), "0 cells and 0 hands"));
    b = NuevoTablero(3);

    // Marks on an empty cell.
    b->celda(4, 10).marcada = 2;
    EXPECT_TRUE(Mentions(CompruebaInvariantes(*b), "marked but empty"));
    b->celda(4, 10).marcada = 0;

    // Wrong virus count.
    b->numbixos += 1;
    EXPECT_TRUE(Mentions(CompruebaInvariantes(*b), "numbixos"));
    b->numbixos -= 1;

    // A piece in a cell that names a carrier.
    b->celda(2, 0).ficha->doc = b->doc;
    EXPECT_TRUE(Mentions(CompruebaInvariantes(*b), "carrier"));
    b->celda(2, 0).ficha->doc.reset();

    // The thrower outside the grid.
    b->doc->x = 8.0f;
    EXPECT_TRUE(Mentions(CompruebaInvariantes(*b), "column"));
    b->doc->x = 4.0f;

    // A carried piece that does not name its carrier.
    DaEnMano(*b, kRed, 1);
    ASSERT_TRUE(CompruebaInvariantes(*b).empty());
    b->doc->listafichas->First()->doc.reset();
    EXPECT_TRUE(Mentions(CompruebaInvariantes(*b), "does not name its carrier"));
}

}  // namespace
}  // namespace virexo::testing
