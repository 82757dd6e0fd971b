// What the gamepads do in the game. The first pad (slot 0) plays the first
// player (arrow keys, the right board in a two-player game), the second pad
// the second player. In play the d-pad and the left stick walk left and
// right, down picks up and up throws, as the keys do; A also throws and X
// also picks up. On the screens between games any pad answers; which button
// stands for which key is written where each screen reads its keys.
#pragma once

#include <initializer_list>

#include "toolkit/system/pad_input.h"

namespace virexo {

// Presses of these buttons on any pad since the last read (each cleared).
int PadHits(std::initializer_list<kestrel::PadButton> buttons);

// Whether the key or any of these pad buttons was pressed since the last
// read. Both are read (and cleared) whatever the other says.
bool KeyOrPad(int key, std::initializer_list<kestrel::PadButton> buttons);

// Clears the keys' and the pads' counted presses, as a screen does when it
// changes.
void FlushInput();

// The thrower's actions on player joy's pad since the last read.
int PadWalkLeft(int joy);
int PadWalkRight(int joy);
int PadPickUp(int joy);
int PadThrow(int joy);

}  // namespace virexo
