// A copy of everything an update can change, taken before an update and put
// back to run it again: the screen state name, the players, the clock, the
// difficulty values and virus counters, both boards with their cells and
// pieces, both throwers with what they carry, the live explosion particles,
// and the game's generator. The rollback of the online
// game keeps one for each update it predicts; the sync check proves that
// restoring one and re-running gives exactly the first run's state.
//
// The copy is deep: the pieces, cells, boards and throwers are new objects
// linked as the originals were (a cell holds the same piece a thrower
// carries, as in the live game), and restoring builds new objects again, so
// one snapshot can be restored any number of times. What belongs to the
// sound and the screen (images, channels) is shared, not copied: the music
// channel of the moment is kept and put back as it is (a correction then
// settles which music plays: SettleMusicAfterCorrection). The looks
// generator is left alone, since only drawing draws from it.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/game_types.h"

namespace virexo::net {

class GameSnapshot {
public:
    // The live game as it stands.
    static GameSnapshot Take();
    // Makes the live game what it was when the snapshot was taken.
    void Restore() const;

private:
    std::string estado_;
    int jugadores_ = 0;
    float tiempo_ = 0.0f;
    int periodobixo_ = 0, periodolinea_ = 0, lineasiniciales_ = 0;
    std::array<int, 2> contbixo_{};
    std::array<std::shared_ptr<_doc>, 2> docs_;
    std::array<std::shared_ptr<_tablero>, 2> tableros_;
    std::vector<std::shared_ptr<_explota>> particles_;
    std::int32_t rng_ = 0;
    TChannelPtr music_;
};

}  // namespace virexo::net
