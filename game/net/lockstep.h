// The lockstep engine of an online game, free of sockets so tests drive it
// with a fake link. Each side queues its player's keys for frame f + d while
// it stands at frame f, sends them, and runs frame f only when both players'
// keys for f are in hand; the first d frames run with no keys. Both sides so
// run the same updates with the same keys in the same order.
//
// Remote keys come in runs (Input messages). A run is taken frame by frame:
// a frame already held or already run is a duplicate (a replay) and dropped;
// a frame past the next one expected is a gap and dropped (the channel is
// reliable and in order, so a gap means a forged packet); a frame kWindow or
// more past the current one is dropped as a flood, which bounds the memory a
// peer can make us hold. Every drop is counted.
//
// Every kChecksumPeriod frames each side records the checksum of its state
// after the frame and sends it; the first pair that differs is the desync.
//
// With a prediction window (rollback) a frame also runs when only the local
// keys for it are in hand, up to `window` frames past the last one whose
// remote keys came: the remote keys are predicted as no new press (the bits
// are hits, so a held key is already "no new hit"). When the real keys of a
// frame that ran on a prediction come and differ from it, the engine names
// the first such frame (TakeRollback): the game restores its state from
// before that frame and runs the frames since again with InputsFor. Past the
// window the engine waits as the lockstep does.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "game/net/protocol.h"

namespace virexo::net {

// The input delay for a measured round trip and its jitter (ms): the keys
// for f + d leave at frame f and must reach the peer by the time it runs
// f + d, d frames (d x 16.7 ms) later. They travel one way (half the round
// trip, plus the jitter), and wait up to one more frame at the two ends (sent
// by the service call that ends a frame, read by the one that starts the
// next): d = ceil((rtt / 2 + jitter) / 16.7 ms) + 1, kept to 2..8.
int ChooseDelay(double rttMs, double jitterMs);

// The input delay with rollback: as little as keeps the other player's keys
// within the prediction window, d = ceil((rtt / 2 + 2 x jitter) / 16.7 ms)
// + 1 - kPredictWindow, kept to 0..2. Loopback and most links get 0 (a
// player's own keys act in the very next update); only a link whose keys
// take longer than the window gets a frame or two, so it need not wait.
int ChooseRollbackDelay(double rttMs, double jitterMs);

// How far apart (updates) the two sides of a game with rollback may stand
// before the one ahead holds back an update.
inline constexpr int kBalanceFrames = 2;

// The prediction window with rollback for a round trip, its jitter and the
// input delay: the updates the other player's keys take to come (one way,
// with twice the jitter, plus up to a frame waiting at the ends), and over
// a link slower than a frame the balance the sides may be apart, less the
// delay, kept to 2..kPredictWindow. So a rollback is never deeper than the
// link calls for: on loopback and local networks 2 updates, through 80 ms
// each way about 9.
int ChooseRollbackWindow(double rttMs, double jitterMs, int delay);

struct FrameInputs {
    std::uint32_t frame = 0;
    std::array<std::uint8_t, 2> player{};  // [0] the host's (first player), [1] the guest's
};

struct LockstepDrops {
    std::uint64_t duplicates = 0;  // inputs for frames already held or run
    std::uint64_t gaps = 0;        // inputs past the next frame expected
    std::uint64_t flood = 0;       // inputs kWindow or more frames ahead
    std::uint64_t checksums = 0;   // checksums for no checksum frame, repeated, or too far ahead
    std::uint64_t acks = 0;        // acknowledgements of keys never sent
    std::uint64_t Total() const { return duplicates + gaps + flood + checksums + acks; }
};

struct ChecksumMismatch {
    std::uint32_t frame = 0;
    std::uint64_t local = 0;
    std::uint64_t remote = 0;
};

class Lockstep {
public:
    static constexpr std::uint32_t kWindow = 128;
    static constexpr std::uint32_t kChecksumPeriod = 30;
    static constexpr std::int64_t kWaitingNoticeUs = 500000;

    // window 0: lockstep, delay kMinDelay..kMaxDelay; window 1..kWindow / 2:
    // rollback, delay 0..kMaxRollbackDelay.
    Lockstep(Role local, int delay, std::uint32_t window = 0);
    std::uint32_t window() const { return window_; }
    // With rollback, both follow the round trip during a game; each side's
    // own, the other side need not agree. A narrower window takes effect at
    // once (frames past it wait). A longer delay queues frames of no keys up
    // to it at once; a shorter one skips queueing the next update's keys, so
    // the caller lowers it by one only in an update whose keys are all up
    // (none are merged or lost). Both kept to their ranges; lockstep games
    // keep theirs.
    void SetWindow(std::uint32_t window);
    void SetDelay(int delay);

    Role role() const { return role_; }
    int delay() const { return static_cast<int>(delay_); }
    // The next frame to run.
    std::uint32_t frame() const { return frame_; }

    // Whether the local keys for frame() + delay() are still to be queued.
    bool NeedsLocal() const { return localNext_ <= frame_ + delay_; }
    // The frame the next QueueLocal is for.
    std::uint32_t nextLocalFrame() const { return localNext_; }
    // Queues the local player's keys for the next local frame (frame() +
    // delay() at most) and returns that frame; false when none is needed.
    bool QueueLocal(std::uint8_t keyBits, std::uint32_t* forFrame = nullptr);
    // While frame() waits past the window: queues the local keys of this
    // game update for the next local frame all the same, up to maxAhead
    // frames past frame() + delay(), so that taps made during a wait keep
    // their own updates (run as the game catches up) instead of merging
    // into one. False when that many are queued already.
    bool QueueLocalWhileWaiting(std::uint8_t keyBits, std::uint32_t maxAhead);
    // The keys queued since the last call, as one message to send (runs
    // longer than kMaxInputRun are split over calls); nullopt when none.
    std::optional<Input> TakeOutgoing();

    // Takes a run of the peer's keys; returns how many frames it accepted.
    std::size_t OnRemoteInput(const Input& in);

    // The unreliable form (games with rollback): every local key the peer has
    // not acknowledged (the oldest kMaxInputRun), and the acknowledgement of
    // the peer's keys. Sent once an update; each one replaces the last.
    Keys TakeKeys() const;
    // Takes the peer's Keys: the acknowledgement (one past what was sent is
    // forged, dropped and counted) and the keys not held yet. Keys already
    // held are what the redundancy is for: counted apart, not as drops.
    // Returns how many frames it accepted.
    std::size_t OnRemoteKeys(const Keys& k);
    // Local keys the peer has acknowledged: all below this frame.
    std::uint32_t ackedByPeer() const { return ackedByPeer_; }
    std::uint64_t redundantKeys() const { return redundant_; }
    // The peer's next local frame as its latest Keys said (how far it has
    // come, some one-way trip ago).
    std::uint32_t peerLocalNext() const { return peerLocalNext_; }
    // This side's lead: how far its own keys stand ahead of the last the peer
    // said it had (as sent in Keys), and the peer's own lead as its latest
    // Keys said. Both include the trip, so half their difference is how many
    // frames this side runs ahead of the peer: the side that started first
    // (the host, by the Start's trip) does, and holds back an update now and
    // then to even it out.
    int Lead() const { return static_cast<int>(localNext_) - static_cast<int>(peerLocalNext_); }
    int peerLead() const { return peerLead_; }
    // Each lead also holds its side's delay, which the other need not share.
    double Advantage() const {
        return (Lead() - peerLead_) / 2.0 - (static_cast<double>(delay_) - peerDelay_);
    }
    // Whether frame() may run: the local keys for it are in hand, and the
    // remote ones too or (rollback) frame() is within the window.
    bool Ready() const { return localNext_ > frame_ && frame_ < remoteNext_ + window_; }
    // Frames below this have both players' real keys.
    std::uint32_t confirmed() const { return remoteNext_; }
    // The first frame that ran on a prediction its real keys contradict,
    // once; the game then runs frames from it up to frame() - 1 again.
    std::optional<std::uint32_t> TakeRollback();
    // The keys to run frame f with now (f < frame(), within the window):
    // the real remote keys, or the prediction.
    FrameInputs InputsFor(std::uint32_t f) const;
    // Sets the next frame to run back to f (confirmed() <= f < frame()):
    // a re-run found the game paused or ended after frame f - 1.
    void Rewind(std::uint32_t f);
    // Runs frame(): its keys, and the engine moves to the next frame; or
    // nullopt when it must wait, and the wait starts counting at nowUs.
    std::optional<FrameInputs> Advance(std::int64_t nowUs);
    // How long frame() has waited for keys (0 when it is not waiting), and
    // whether that is long enough to tell the players.
    std::int64_t StalledUs(std::int64_t nowUs) const;
    bool ShowWaiting(std::int64_t nowUs) const { return StalledUs(nowUs) >= kWaitingNoticeUs; }

    // Frames after which a checksum is taken: every kChecksumPeriod-th.
    static bool IsChecksumFrame(std::uint32_t f) { return (f + 1) % kChecksumPeriod == 0; }
    // The local state's checksum after frame f ran (a checksum frame).
    void RecordLocalChecksum(std::uint32_t f, std::uint64_t sum);
    // The peer's checksum for frame f; dropped and counted when f is no
    // checksum frame, already compared or held, or too far ahead.
    void OnRemoteChecksum(std::uint32_t f, std::uint64_t sum);
    // The first frame whose checksums differed, once one has.
    const std::optional<ChecksumMismatch>& mismatch() const { return mismatch_; }
    // Checksum frames compared equal so far.
    std::uint64_t checksumsMatched() const { return matched_; }

    const LockstepDrops& drops() const { return drops_; }

private:
    std::uint8_t& LocalAt(std::uint32_t f) { return local_[f % kWindow]; }
    std::uint8_t& RemoteAt(std::uint32_t f) { return remote_[f % kWindow]; }
    void Compare(std::uint32_t f);
    std::size_t TakeRun(std::uint32_t first, const std::vector<std::uint8_t>& keys, bool redundant);

    Role role_;
    std::uint32_t delay_;
    std::uint32_t window_ = 0;
    std::optional<std::uint32_t> rollback_;
    std::uint32_t frame_ = 0;
    std::uint32_t localNext_;   // the next local frame to queue
    std::uint32_t remoteNext_;  // the next remote frame expected
    std::uint32_t unsentFrom_;  // the first local frame not yet taken to send
    std::uint32_t ackedByPeer_; // the first local frame the peer has not acknowledged
    std::uint64_t redundant_ = 0;
    std::uint32_t peerLocalNext_ = 0;
    int peerLead_ = 0;
    int peerDelay_ = 0;
    std::array<std::uint8_t, kWindow> local_{};
    std::array<std::uint8_t, kWindow> remote_{};
    bool waiting_ = false;
    std::int64_t waitStartUs_ = 0;

    // Checksums by frame not yet compared, both sides; bounded by the window.
    std::map<std::uint32_t, std::uint64_t> localSums_;
    std::map<std::uint32_t, std::uint64_t> remoteSums_;
    std::uint32_t comparedBelow_ = 0;  // checksum frames below this are settled
    std::uint64_t matched_ = 0;
    std::optional<ChecksumMismatch> mismatch_;
    LockstepDrops drops_;
};

}  // namespace virexo::net
