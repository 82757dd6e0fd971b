// The few toolkit services the game rules reach outside themselves: key hits
// and sound playback. Kept in one place so the rules depend on a small,
// well-defined surface, and so tests can watch which sounds were played.
#pragma once

#include <functional>

#include "game/game_types.h"

namespace virexo {

// Hits of a key since the previous call (toolkit KeyHit).
int TeclaPulsada(int key);
// Counts one hit of a key (until the polled-input module is linked).
void AnotaTecla(int key);

// Plays a sound on a free channel (toolkit PlaySound). A missing sound plays
// nothing and gives no channel; the observer is told about every request.
TChannelPtr Suena(const TSoundPtr& sound);

// Stops a channel and sets a channel's volume; a missing channel is ignored.
void ParaCanal(const TChannelPtr& channel);
void VolumenCanal(const TChannelPtr& channel, float volume);

// Called with each sound the game asks to play (tests, soak run). Pass an
// empty function to remove it.
void ObservaSonidos(std::function<void(const TSoundPtr&)> observer);

}  // namespace virexo
