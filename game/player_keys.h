// Where the players' key hits come from. Offline they are read from this
// machine's keyboard and pads at the moment an update asks, as they always
// were. In an online game every update runs with the key bits both machines
// agreed on for it, and the throwers, the pause and the end screens read
// those bits alone, so both machines run the same updates.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace virexo {

// One player's key hits in one update, as bits.
namespace teclas {
inline constexpr std::uint8_t kIzquierda = 1u << 0;  // walk left
inline constexpr std::uint8_t kDerecha = 1u << 1;    // walk right
inline constexpr std::uint8_t kArriba = 1u << 2;     // throw
inline constexpr std::uint8_t kAbajo = 1u << 3;      // pick up
// Escape: pauses the play, and leaves an end screen.
inline constexpr std::uint8_t kPausa = 1u << 4;
inline constexpr std::uint8_t kTodas = 0x1F;
}  // namespace teclas

// Both players' bits, indexed by thrower (joy 0: the first player).
using TeclasJugadores = std::array<std::uint8_t, 2>;

// The bits of the update about to run; nullptr returns to the local devices.
// The online game sets them around each update it runs.
void ponteclasdered(const TeclasJugadores* bits);
bool hayteclasdered();

// Offline, a thrower whose keys come from elsewhere than the devices: the
// computer opponent hands its bits for player joy here before each update
// (nullptr gives that player back to the keys and pads). The other player
// goes on reading the devices.
void ponteclasjugador(int joy, const std::uint8_t* bits);

// The thrower of player joy: whether it walks left or right, picks up or
// throws in this update.
int pulsaizquierda(int joy);
int pulsaderecha(int joy);
int pulsaabajo(int joy);
int pulsaarriba(int joy);

// Whether play is to pause: Escape, a pad's Start or a lost focus offline;
// either player's pause bit online.
bool pidepausa();

// Whether an end screen is left: Escape or Space, or a pad's A, B or Start
// offline; either player's pause bit online.
bool dejafinal();

// This machine's player as bits for an online game, read from the first
// player's keys (the arrows) and the first pad. In the state named estado:
// on an end screen Escape, Space and a pad's A, B or Start leave it (read
// first, so A does not also throw); elsewhere Escape or Start is the pause
// bit, and in play a lost focus is too.
std::uint8_t leeteclaslocales(const std::string& estado);

// Whether the state is one of the six end screens.
bool espantallafinal(const std::string& estado);

}  // namespace virexo
