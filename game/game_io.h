// Sound playback for the game rules, over the audio module. Kept in one place
// so a missing sound or channel is skipped in one spot (the rules run without
// loaded assets in tests) and so tests can watch which sounds were played.
#pragma once

#include <functional>

#include "game/game_types.h"

namespace virexo {

// Plays a sound on a free channel (toolkit PlaySound). A missing sound plays
// nothing and gives no channel; the observer is told about every request.
TChannelPtr Suena(const TSoundPtr& sound);

// Stops a channel and sets a channel's volume; a missing channel is ignored.
void ParaCanal(const TChannelPtr& channel);
void VolumenCanal(const TChannelPtr& channel, float volume);

// Called with each sound the game asks to play (tests, soak run). Pass an
// empty function to remove it.
void ObservaSonidos(std::function<void(const TSoundPtr&)> observer);

// While set, each sound the game asks for goes to the gate instead, which
// plays it (TocaSonido) or not and returns the channel the game gets. The
// online game's rollback sets it so that updates run again after a
// correction do not play their sounds twice. Pass an empty function to
// remove it.
void PonPuertaSonidos(std::function<TChannelPtr(const TSoundPtr&)> gate);

// Plays a sound straight away, past the gate (nullptr for a missing sound).
TChannelPtr TocaSonido(const TSoundPtr& sound);

}  // namespace virexo
