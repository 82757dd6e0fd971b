#include "game/player_keys.h"

#include "game/globals.h"
#include "game/pad_controls.h"
#include "toolkit/system/keys.h"
#include "toolkit/system/polled_input.h"

namespace virexo {

namespace {

using kestrel::PadButton;

const TeclasJugadores* g_red = nullptr;
const std::uint8_t* g_jugador[2] = {nullptr, nullptr};  // players the computer plays

int Bit(int joy, std::uint8_t bit) { return ((*g_red)[joy & 1] & bit) != 0 ? 1 : 0; }

bool EitherPlayer(std::uint8_t bit) { return (((*g_red)[0] | (*g_red)[1]) & bit) != 0; }

const std::uint8_t* Given(int joy) { return g_jugador[joy & 1]; }
int GivenBit(int joy, std::uint8_t bit) { return (*Given(joy) & bit) != 0 ? 1 : 0; }

}  // namespace

void ponteclasdered(const TeclasJugadores* bits) { g_red = bits; }
bool hayteclasdered() { return g_red != nullptr; }
void ponteclasjugador(int joy, const std::uint8_t* bits) { g_jugador[joy & 1] = bits; }

// Offline each reads the key and then the pad, both always (a hit read is a
// hit cleared), in the order the thrower asks; a player the computer plays
// reads its bits alone.
int pulsaizquierda(int joy) {
    if (g_red) return Bit(joy, teclas::kIzquierda);
    if (Given(joy)) return GivenBit(joy, teclas::kIzquierda);
    return kestrel::KeyHit(teclaizquierda[joy]) + PadWalkLeft(joy);
}
int pulsaderecha(int joy) {
    if (g_red) return Bit(joy, teclas::kDerecha);
    if (Given(joy)) return GivenBit(joy, teclas::kDerecha);
    return kestrel::KeyHit(tecladerecha[joy]) + PadWalkRight(joy);
}
int pulsaabajo(int joy) {
    if (g_red) return Bit(joy, teclas::kAbajo);
    if (Given(joy)) return GivenBit(joy, teclas::kAbajo);
    return kestrel::KeyHit(teclaabajo[joy]) + PadPickUp(joy);
}
int pulsaarriba(int joy) {
    if (g_red) return Bit(joy, teclas::kArriba);
    if (Given(joy)) return GivenBit(joy, teclas::kArriba);
    return kestrel::KeyHit(teclaarriba[joy]) + PadThrow(joy);
}

bool pidepausa() {
    if (g_red) return EitherPlayer(teclas::kPausa);
    const bool escape = KeyOrPad(kestrel::KEY_ESCAPE, {PadButton::Start});
    const bool lostFocus = kestrel::AppSuspendHit() > 0;
    return escape || lostFocus;
}

bool dejafinal() {
    if (g_red) return EitherPlayer(teclas::kPausa);
    return kestrel::KeyHit(kestrel::KEY_ESCAPE) || KeyOrPad(kestrel::KEY_SPACE, {PadButton::A, PadButton::B, PadButton::Start});
}

bool espantallafinal(const std::string& e) {
    return e == "fin10" || e == "fin20" || e == "fin21" || e == "fin10b" || e == "fin20b" || e == "fin21b";
}

std::uint8_t leeteclaslocales(const std::string& estado) {
    std::uint8_t bits = 0;
    if (espantallafinal(estado)) {
        const bool escape = kestrel::KeyHit(kestrel::KEY_ESCAPE) > 0;
        const bool other = KeyOrPad(kestrel::KEY_SPACE, {PadButton::A, PadButton::B, PadButton::Start});
        if (escape || other) bits |= teclas::kPausa;
    } else {
        if (KeyOrPad(kestrel::KEY_ESCAPE, {PadButton::Start})) bits |= teclas::kPausa;
        if (estado == "juego" && kestrel::AppSuspendHit() > 0) bits |= teclas::kPausa;
    }
    // The first player's keys and the first pad, whichever board this
    // machine's player has.
    if (kestrel::KeyHit(teclaizquierda[0]) + PadWalkLeft(0)) bits |= teclas::kIzquierda;
    if (kestrel::KeyHit(tecladerecha[0]) + PadWalkRight(0)) bits |= teclas::kDerecha;
    if (kestrel::KeyHit(teclaabajo[0]) + PadPickUp(0)) bits |= teclas::kAbajo;
    if (kestrel::KeyHit(teclaarriba[0]) + PadThrow(0)) bits |= teclas::kArriba;
    return bits;
}

}  // namespace virexo
