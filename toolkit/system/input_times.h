// When input happened: the window system's own event times mapped onto the
// steady clock of the frame loop, and the gate that decides which queued
// events a game update sees.
//
// A frame loop that runs several game updates per drawn frame gives each
// update the input that happened up to its own moment (the event horizon).
// That needs each event's real time: the moment the pump read it is the
// same for every event that arrived while the program was busy drawing.
// Where times are unknown or equal, the gate still lets each update see at
// most one new press of any one key, so two taps are never merged into one.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrel {

// The steady-clock moment (µs of std::chrono::steady_clock) of a window
// system's event time: serverMs is the server's millisecond clock (32 bits,
// wrapping), nowUs the steady clock read just after the event was received.
// X servers on this machine (Xorg, Xvfb, XWayland) count from the same
// monotonic clock as the steady clock, so the event's age is the wrapping
// difference of the two in milliseconds. nullopt when the clocks do not
// agree: a time from another base (a server on another machine, a clock of
// its own) lies in the future or further back than an event can be queued.
std::optional<std::int64_t> ServerTimeToSteady(std::uint32_t serverMs, std::int64_t nowUs);

// The steady-clock moment of a millisecond stamp of a 32-bit wrapping clock
// that reads nowMs at the steady moment nowUs (SDL's ticks, say). A stamp of
// 0 carries no time: it counts as now.
std::int64_t StampToSteady(std::uint32_t stampMs, std::uint32_t nowMs, std::int64_t nowUs);

// How far back (ms) an event time may lie and still be taken as one of this
// machine's clock; older times are taken as another clock's.
inline constexpr std::int32_t kOldestEventMs = 10000;
// How far ahead of the steady clock an event time may be (the two clocks
// are read at slightly different moments and rounded differently).
inline constexpr std::int32_t kEventTimeToleranceMs = 50;

// One queued event as the gate sees it.
struct QueuedInput {
    enum class Kind {
        Press,    // a key or button went down (not an auto-repeat)
        Repeat,   // an auto-repeat of a held key: not a new press
        Release,  // a key or button went up
        Other,    // anything else: text, motion, window and focus events
    };
    std::int64_t atUs = 0;  // when it happened, steady µs
    Kind kind = Kind::Other;
    int key = 0;            // which key or button (any id unique per key); 0 for Other
};

// Decides, update by update, which of the queued events are delivered.
//
// Two rules, applied in queue order:
// - the horizon: while a horizon is set, an event that happened after it and
//   every event queued behind it wait (their order is kept);
// - one new press per key per update: while a frame loop is marking its
//   updates, a key pressed a second time within one update (press, release,
//   press) waits with everything queued behind it for that key until the
//   next update; other keys' events are not held back by it.
// A program that does not mark updates (no frame loop, or one that stopped
// for a while, such as a blocking wait for a key) gets every event at once.
class InputGate {
public:
    // A game update begins at nowUs: presses delivered from here on count
    // for it.
    void BeginUpdate(std::int64_t nowUs);

    // For each queued event (oldest first), whether it is delivered now.
    // The caller keeps the others queued, in order, for the next call.
    std::vector<bool> Release(const std::vector<QueuedInput>& queue,
                              std::optional<std::int64_t> horizonUs, std::int64_t nowUs);

    // Back to the state of a program that never marked an update.
    void Reset();

    // Marks older than this (µs) mean the frame loop is not running.
    static constexpr std::int64_t kLoopIdleUs = 500000;

private:
    bool LoopRunning(std::int64_t nowUs) const;

    std::optional<std::int64_t> lastUpdateUs_;
    std::vector<int> pressed_;  // keys pressed since the update began
};

// Event times in queue order, nondecreasing: an event the window system
// stamps keeps its own time (or, when it has none, the moment the pump read
// it), never earlier than the event before it; any other event takes the
// time of the event before it (it happened after it and its own time is
// unknown). previousUs is the time of the event queued before the first
// one (nullopt: none).
void OrderEventTimes(std::vector<QueuedInput>& events, const std::vector<bool>& stamped,
                     std::optional<std::int64_t> previousUs);

}  // namespace kestrel
