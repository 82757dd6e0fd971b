// The soak run: the real program driven through the replay harness for N
// frames of seeded random play, with the board invariant checker after
// every frame, the visits per screen state, the process's memory at 10 %,
// 50 % and 100 % of the run and the frame rate.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/soak/board_player.h"
#include "tools/soak/memory_status.h"
#include "tools/soak/soak_options.h"
#include "tools/soak/state_visits.h"

namespace virexo::soak {

struct Checkpoint {
    int percent = 0;
    long frame = 0;
    double seconds = 0.0;  // since the first frame
    MemoryStatus memory;
    long oldBoardsAlive = 0;  // boards of earlier games still in memory
    long particles = 0;       // live explosion particles
};

struct SoakResult {
    bool displayOpened = false;
    std::string failure;  // empty when every check held
    long frames = 0;      // frames run
    double seconds = 0.0;
    std::vector<Checkpoint> checkpoints;
    StateVisits visits;
    long games[2] = {0, 0};  // games created with one and two players
    long styles[kStyles] = {};
    std::uint64_t digest = 0;  // of every board after every frame: equal runs give equal digests

    double FramesPerSecond() const { return seconds > 0.0 ? static_cast<double>(frames) / seconds : 0.0; }
};

// Starts the program through the harness (once per process) and runs the
// soak. Stops at the first invariant violation, with the state, frame and
// seed in failure.
SoakResult RunSoak(const SoakOptions& options, std::ostream& log);

// The growth and coverage checks on a finished run; sets failure if one
// does not hold.
void CheckSoakResult(const SoakOptions& options, SoakResult& result);

// The report: frames, seconds, frame rate, memory at each mark, visits.
void PrintSoakReport(const SoakOptions& options, const SoakResult& result, std::ostream& out);

}  // namespace virexo::soak
