// What an online game changes in the game itself: the options that ask for
// it, the key bits that drive both throwers, the pause and the end screens
// in place of the local keys, and the generator of its own for looks.
#include <stdexcept>

#include "game/options.h"
#include "game/look_random.h"
#include "game/player_keys.h"
#include "game/screen_flow.h"
#include "game_fixture.h"
#include "toolkit/system/keys.h"

namespace virexo::testing {
namespace {

TEST(OnlineOptions, HostTakesAnOptionalPortAndJoinAnAddress) {
    EXPECT_FALSE(LeeOpciones({}).anfitrion.has_value());
    EXPECT_EQ(LeeOpciones({"--host"}).anfitrion, 7420);
    EXPECT_EQ(LeeOpciones({"--host", "7500"}).anfitrion, 7500);
    // A following option is not a port.
    const Opciones o = LeeOpciones({"--host", "--frame-stats", "f.txt"});
    EXPECT_EQ(o.anfitrion, 7420);
    EXPECT_EQ(o.estadisticas, "f.txt");
    EXPECT_EQ(LeeOpciones({"--join", "example.org:7501"}).unirse, "example.org:7501");
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--host", "0"}, {"--host", "70000"}, {"--host", "port"}, {"--join"},
          {"--join", "--host"}, {"--host", "--join", "a"}, {"--join", "a", "--host"}}) {
        EXPECT_THROW(LeeOpciones(bad), std::invalid_argument) << bad[0] << " " << (bad.size() > 1 ? bad[1] : "");
    }
    const std::string help = TextoAyuda();
    EXPECT_NE(help.find("--host [PORT]"), std::string::npos);
    EXPECT_NE(help.find("--join HOST[:PORT]"), std::string::npos);
    EXPECT_NE(help.find("7420"), std::string::npos);
}

using OnlineKeys = GameTest;

TEST_F(OnlineKeys, TheUpdatesBitsDriveBothThrowersAndTheLocalKeysWaitUntilOffline) {
    auto right = NuevoTablero(0, 4.0f, 0);  // the first player's
    auto left = NuevoTablero(0, 4.0f, 1);   // the second player's
    // A local key pressed meanwhile is not this update's: it stays unread.
    Pulsa(tecladerecha[0]);
    const TeclasJugadores bits{teclas::kIzquierda, teclas::kDerecha};
    ponteclasdered(&bits);
    Frames(*right, 1);
    Frames(*left, 1);
    EXPECT_EQ(right->doc->x, 3.0f);
    EXPECT_EQ(left->doc->x, 5.0f);

    // Pick-up and throw bits reach the second player's thrower too.
    Pon(*left, 5, 0, kRed);
    Coloca(*left, 5);
    const TeclasJugadores pick{0, teclas::kAbajo};
    ponteclasdered(&pick);
    Frames(*left, 1);
    EXPECT_EQ(left->doc->fichas, 1);
    Coloca(*left, 2);
    const TeclasJugadores toss{0, teclas::kArriba};
    ponteclasdered(&toss);
    Frames(*left, 1);
    EXPECT_EQ(left->doc->fichas, 0);
    EXPECT_TRUE(left->celda(2, 0).ficha);

    ponteclasdered(nullptr);
    EXPECT_FALSE(hayteclasdered());
    Frames(*right, 1);  // offline again: the key pressed before is read now
    EXPECT_EQ(right->doc->x, 4.0f);
}

TEST_F(OnlineKeys, EitherPlayersPauseBitPausesPlayAndLeavesAnEndScreen) {
    const TeclasJugadores none{0, 0}, first{teclas::kPausa, 0}, second{0, teclas::kPausa};
    ponteclasdered(&none);
    EXPECT_FALSE(pidepausa());
    EXPECT_FALSE(dejafinal());
    ponteclasdered(&first);
    EXPECT_TRUE(pidepausa());
    ponteclasdered(&second);
    EXPECT_TRUE(pidepausa());
    EXPECT_TRUE(dejafinal());
    // Escape on this machine is not the update's: only the bits count.
    ponteclasdered(&none);
    Pulsa(kestrel::KEY_ESCAPE);
    EXPECT_FALSE(pidepausa());
    ponteclasdered(nullptr);
    EXPECT_TRUE(pidepausa());
}

TEST_F(OnlineKeys, LocalKeysBecomeBitsFromTheFirstPlayersKeysWhicheverBoard) {
    Pulsa(teclaizquierda[0]);
    Pulsa(teclaarriba[0]);
    Pulsa(teclaabajo[1]);  // the second player's keys at one keyboard mean nothing online
    EXPECT_EQ(leeteclaslocales("juego"), teclas::kIzquierda | teclas::kArriba);
    EXPECT_EQ(leeteclaslocales("juego"), 0);  // each hit counts once
    Pulsa(kestrel::KEY_ESCAPE);
    EXPECT_EQ(leeteclaslocales("juego"), teclas::kPausa);
    // On an end screen Space leaves it too; in play it is nothing.
    Pulsa(kestrel::KEY_SPACE);
    EXPECT_EQ(leeteclaslocales("fin20b"), teclas::kPausa);
    Pulsa(kestrel::KEY_SPACE);
    EXPECT_EQ(leeteclaslocales("juego"), 0);
}

TEST(LooksGenerator, OfflineLooksDrawFromTheGamesGeneratorOnlineFromTheirOwn) {
    kestrel::SeedRnd(99);
    azaraparte(false);
    RandAspecto(0, 100);
    RndAspecto(-8, 8);
    EXPECT_NE(kestrel::RndSeed(), 99);  // offline: as the game always drew them

    kestrel::SeedRnd(99);
    azaraparte(true, 5);
    const std::int32_t first = RandAspecto(0, 100);
    for (int i = 0; i < 1000; ++i) RndAspecto(-8, 8);
    EXPECT_EQ(kestrel::RndSeed(), 99);  // online: the game's sequence is untouched
    azaraparte(true, 5);                // the same seed, the same looks
    EXPECT_EQ(RandAspecto(0, 100), first);
    azaraparte(false);
    EXPECT_FALSE(hayazaraparte());
}

}  // namespace
}  // namespace virexo::testing
