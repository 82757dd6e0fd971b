// The sounds of updates that a rollback runs again. The rule: each update
// plays a sound at most once however often it runs. A re-run of an update
// plays only the sounds its earlier runs did not play (a throw the
// correction brought about is heard, a little late); a sound an earlier run
// played is not played again, and the re-run gets that run's channel back,
// so the music the game keeps a channel of stays the one that plays. A sound
// of an earlier run that the correction undid has been heard already and
// cannot be taken back; it is simply not played again. (Playing every sound
// of every re-run would repeat each pop and tick once per rollback; playing
// none would lose the sounds the correction brings.)
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "game/game_types.h"

namespace virexo::net {

// The music after a correction, given the channel that played before it.
// Restoring a snapshot puts back the channel the music played then, and the
// corrected updates change it as the game does: a game end they make again
// gets its earlier end music back (still playing). When they leave another
// channel than the one before (a game end the real keys undid), the one
// before stops, and a channel the undone updates stopped gives way to the
// state's own music, from its start: the game's music while it plays on, at
// the pause's volume in the pause.
void SettleMusicAfterCorrection(const TChannelPtr& before);

class RerunSounds {
public:
    // Sounds the game asks for until End belong to this run of update
    // frame: a first run when the update never ran before.
    void Begin(std::uint32_t frame);
    void End();
    // Forgets the updates below frame (they will not run again).
    void Forget(std::uint32_t below);

    std::uint64_t replaysSkipped() const { return skipped_; }

private:
    struct Played {
        TSoundPtr sound;
        TChannelPtr channel;
        bool heardThisRun = false;
    };
    TChannelPtr Ask(const TSoundPtr& sound);

    std::map<std::uint32_t, std::vector<Played>> played_;
    std::vector<Played>* now_ = nullptr;
    std::uint64_t skipped_ = 0;
};

}  // namespace virexo::net
