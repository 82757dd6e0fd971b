#include "game/net/online_game.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <variant>

#include "game/globals.h"
#include "game/game_io.h"
#include "game/look_random.h"
#include "game/notice.h"
#include "game/pad_controls.h"
#include "game/play_mode.h"
#include "game/player_keys.h"
#include "game/screen_flow.h"
#include "game/net/local_addresses.h"
#include "game/net/online_screens.h"
#include "game/net/game_snapshot.h"
#include "game/net/rerun_sounds.h"
#include "game/net/online_replay.h"
#include "game/net/state_checksum.h"
#include "toolkit/core/exit_handlers.h"
#include "toolkit/system/keys.h"
#include "toolkit/system/millisecs.h"
#include "toolkit/system/random.h"

namespace virexo::net {

namespace {

using kestrel::PadButton;

OnlineStatus g_status;
class OnlineGame;
OnlineGame* g_current = nullptr;  // the online game under way, for the exit handler

constexpr const char* kOutOfStep = "The games went out of step";
// How long leaving waits for the last messages (a desync's state, the Leave
// itself) to reach the other player; without it they could be dropped with
// the connection, and the other side would only learn of it by the timeout.
constexpr std::uint32_t kLeaveDrainMs = 500;

// The most waiting updates made up for afterwards (half a second); a longer
// wait is forgiven, so the game does not race for long after it.
constexpr int kMaxCatchUp = 30;

// A side with rollback that stands more than this many frames ahead of the
// other holds back one update, at most one in every kHoldEvery.
constexpr double kAheadFrames = kBalanceFrames;
constexpr int kHoldEvery = 10;
constexpr double kAdvantageSmoothing = 1.0 / 30.0;

// With rollback the input delay follows the round trip once it has called
// for a longer delay this many updates in a row (a second), and for a
// shorter one five times as long: a change costs the player a frame of
// feel, so a round trip that hovers at a boundary must not flip it to and
// fro (through 150 ± 30 ms it did, 8 times a minute, with one second each).
constexpr int kDelayRaiseUpdates = 60;
constexpr int kDelayLowerUpdates = 300;

// How long a side that saw the games go out of step waits for the other
// side's state for the report.
constexpr std::int64_t kDesyncWaitUs = 3000000;

// The screens of the title the host shows the guest (Choice item 0).
constexpr std::uint8_t kChoiceScreen = 0;
constexpr std::uint8_t kScreenTitle = 0;
constexpr std::uint8_t kScreenDifficulty = 1;

// Sets the key bits of one update for the throwers and the screens to read,
// and takes them away again however the update ends.
class NetworkKeys {
public:
    explicit NetworkKeys(const TeclasJugadores& bits) : bits_(bits) { ponteclasdered(&bits_); }
    ~NetworkKeys() { ponteclasdered(nullptr); }
    NetworkKeys(const NetworkKeys&) = delete;
    NetworkKeys& operator=(const NetworkKeys&) = delete;

private:
    TeclasJugadores bits_;
};

class OnlineGame final : public ModoJuego {
public:
    OnlineGame(std::unique_ptr<EnetSession> session, const OnlineOptions& options)
        : session_(std::move(session)), options_(options) {
        if (options_.role == Role::kHost) addresses_ = LocalAddresses();
        g_current = this;
    }
    ~OnlineGame() override {
        if (g_current == this) g_current = nullptr;
        LeaveNow();
        ponteclasdered(nullptr);
        azaraparte(false);
        g_status.running = false;
        g_status.connected = false;
        g_status.inMatch = false;
    }

    void actualiza() override;
    void dibuja() override;
    std::uint64_t correcciones() const override { return g_status.rollbacks; }
    // Writes the replay of the game under way, which the program's end
    // would otherwise lose, and tells the other player at once that this
    // one leaves, so that it does not wait for the timeout.
    void LeaveNow() {
        SaveReplay();
        if (session_ && !session_->closed()) session_->Leave(kLeaveDrainMs);
    }
    // Lets the connection wait up to ms for what the other side sends.
    void WaitForData(std::uint32_t ms) {
        if (!done_ && session_ && !session_->closed()) session_->Service(ms);
    }
    bool terminado() const override { return done_; }
    // Each side lists only what its title updates read.
    OpcionesVisibles opciones() const override { return OnlineOptionRows(options_.role == Role::kHost); }

private:
    void Pump();
    void Dispatch(Message m);
    void UpdateWaiting();
    // The guest: starts knocking at the host again; false when it cannot.
    bool Rejoin();
    void UpdateHostTitle();
    void UpdateGuestTitle();
    void UpdateMatch(std::int64_t nowUs);
    // Runs the next lockstep update if both players' keys are in hand (or,
    // with rollback, the other's are within the prediction window).
    bool RunLockstepUpdate(std::int64_t nowUs);
    // Runs one update with its keys: the first time, or again after a
    // rollback. False when the game paused, ended or went out of step with it.
    bool RunFrame(const FrameInputs& in);
    // With rollback: when the other player's real keys contradicted a
    // prediction, restores the state from before that update and runs the
    // updates since again, all within this frame.
    void ApplyRollback();
    // Sends the checksums of updates whose keys are now both real, and
    // records those updates' keys for the replay.
    void CommitChecksums();
    // Writes the replay of the game under way (if any update was recorded).
    void SaveReplay();
    // With rollback: whether this update is held back to let the other
    // side, which is behind, catch up.
    bool HoldForBalance();
    // With rollback: the prediction window and the input delay follow the
    // round trip; returns this update's keys, read now.
    std::uint8_t FollowLinkAndReadKeys();
    void UpdatePause();
    void StartAsHost(int difficulty);
    void BeginMatch(const Start& start);
    void EndMatch();
    void BeginDesync(std::uint32_t frame, std::uint64_t local, std::uint64_t remote);
    void FinishDesync();
    void Finish(const std::string& why);
    void Refresh();
    OnlineScreenInfo Info(std::int64_t nowUs) const;

    std::unique_ptr<EnetSession> session_;
    OnlineOptions options_;
    std::vector<std::string> addresses_;
    std::optional<Lockstep> lock_;
    // Messages after a new game's Start (or the host's menu choices) that
    // came while this side still played out the last game: taken once it ends.
    std::deque<Message> held_;
    bool done_ = false;
    std::optional<int> pendingDifficulty_;  // the host's choice, waiting for the round trip
    std::string hostScreen_ = "menu";       // the guest: the host's screen of the title
    std::uint32_t lastNoticeFrame_ = ~0u;
    std::optional<std::uint32_t> resumeAt_;  // the other side played on from the pause this side will reach
    int owed_ = 0;  // game updates that waited and are still to be made up for
    int attempts_ = 1;  // the guest's tries to reach the host so far

    // Checksums compared and inputs dropped in the games before this one.
    std::uint64_t matchedBefore_ = 0;
    LockstepDrops dropsBefore_;

    // With rollback: the state before each update not yet confirmed, the
    // sounds of those updates, and the checksums taken after them.
    std::map<std::uint32_t, GameSnapshot> snapshots_;
    RerunSounds sounds_;
    int holdCooldown_ = 0;
    int delayWanted_ = -1;  // the delay the round trip calls for, and since how many updates
    int delayWantedFor_ = 0;
    OnlineReplay replay_;
    bool recording_ = false;
    double advantage_ = 0.0;  // smoothed frames this side runs ahead
    std::map<std::uint32_t, std::uint64_t> pendingSums_;

    std::optional<ChecksumMismatch> desync_;
    std::int64_t desyncSinceUs_ = 0;
    std::string localDump_;
    std::optional<std::string> remoteDump_;
};

void OnlineGame::actualiza() {
    const std::int64_t now = kestrel::SteadyMicros();
    Pump();
    if (done_) return;
    if (desync_) {
        if (remoteDump_ || now - desyncSinceUs_ > kDesyncWaitUs) FinishDesync();
        Refresh();
        return;
    }
    if (estado == "espera") {
        UpdateWaiting();
    } else if (lock_) {
        if (estado == "pausa") UpdatePause();
        else UpdateMatch(now);
    } else if (options_.role == Role::kHost) {
        UpdateHostTitle();
    } else {
        UpdateGuestTitle();
    }
    // With rollback: every key not yet acknowledged, and the acknowledgement
    // of the other player's, once a frame (in the pause too, so that keys
    // lost just before it still reach the other side).
    if (!done_ && lock_ && lock_->window() > 0 && !desync_) session_->SendUnreliable(lock_->TakeKeys());
    if (!done_) session_->Service(0);  // what this update queued goes out now
    Refresh();
}

void OnlineGame::Pump() {
    session_->Service(0);
    while (auto e = session_->Next()) {
        switch (e->kind) {
            case NetEvent::Kind::kConnected:
                g_status.connected = true;
                if (estado == "espera") {
                    estado = "menu";
                    FlushInput();
                }
                break;
            case NetEvent::Kind::kMessage:
                if (held_.empty()) Dispatch(std::move(e->message));
                else held_.push_back(std::move(e->message));
                break;
            case NetEvent::Kind::kFailed:
                // Nobody answered yet: the guest may have started first, so
                // it keeps knocking until the host is there or the player
                // gives up with Escape.
                if (options_.role == Role::kGuest && estado == "espera" && Rejoin()) return;
                Finish(e->text);
                return;
            default:
                // Gone: the other player left, timed out, or never came.
                if (desync_) {
                    FinishDesync();
                } else {
                    Finish(e->text);
                }
                return;
        }
        if (done_) return;
    }
}

void OnlineGame::Dispatch(Message m) {
    if (auto* k = std::get_if<Keys>(&m)) {
        if (lock_) lock_->OnRemoteKeys(*k);
    } else if (auto* in = std::get_if<Input>(&m)) {
        if (lock_) lock_->OnRemoteInput(*in);
    } else if (auto* c = std::get_if<Checksum>(&m)) {
        if (lock_) {
            lock_->OnRemoteChecksum(c->frame, c->sum);
            if (const auto& mm = lock_->mismatch()) BeginDesync(mm->frame, mm->local, mm->remote);
        }
    } else if (auto* s = std::get_if<Start>(&m)) {
        if (lock_) held_.push_back(m);
        else BeginMatch(*s);
    } else if (auto* ch = std::get_if<Choice>(&m)) {
        if (lock_) {
            held_.push_back(m);
        } else if (ch->item == kChoiceScreen) {
            hostScreen_ = ch->value == kScreenDifficulty ? "dificultad" : "menu";
            if (estado == "menu" || estado == "dificultad") estado = hostScreen_;
        }
    } else if (auto* r = std::get_if<Resume>(&m)) {
        // The other side paused after the same update and played on. This
        // side may not have got there yet: then it plays on as soon as it does.
        if (lock_ && r->frame == lock_->frame() && estado == "pausa") reanudapartida();
        else if (lock_ && r->frame > lock_->frame()) resumeAt_ = r->frame;
    } else if (auto* d = std::get_if<Desync>(&m)) {
        remoteDump_ = d->dump;
        if (!desync_) BeginDesync(d->frame, g_status.lastChecksum, d->sum);
    }
    // A Pause needs nothing: the pause travels with the keys.
}

bool OnlineGame::Rejoin() {
    std::string why;
    std::unique_ptr<EnetSession> again = EnetSession::Join(options_.target, options_.session, &why);
    if (!again) return false;
    session_ = std::move(again);
    ++attempts_;
    return true;
}

void OnlineGame::UpdateWaiting() {
    if (KeyOrPad(kestrel::KEY_ESCAPE, {PadButton::Back, PadButton::B})) Finish("");
}

// The host's title works as offline, but a game online always has two
// players: F1 and F2 both lead to the difficulty, which starts the game.
void OnlineGame::UpdateHostTitle() {
    if (pendingDifficulty_) {
        if (session_->rttReady()) StartAsHost(*pendingDifficulty_);
        return;
    }
    using kestrel::KEY_ESCAPE;
    if (estado == "menu") {
        const bool one = KeyOrPad(kestrel::KEY_F1, {PadButton::A});
        const bool two = KeyOrPad(kestrel::KEY_F2, {PadButton::X});
        if (one || two) {
            Suena(sndclick);
            estado = "dificultad";
            jugadores = 2;
            FlushInput();
            session_->Send(Choice{kChoiceScreen, kScreenDifficulty});
        } else if (KeyOrPad(kestrel::KEY_F3, {PadButton::Y})) {
            Suena(sndclick);
            estado = "ayuda";
            FlushInput();
        } else if (KeyOrPad(KEY_ESCAPE, {PadButton::Back})) {
            Suena(sndclick);
            Finish("");
        }
    } else if (estado == "dificultad") {
        if (KeyOrPad(KEY_ESCAPE, {PadButton::B})) {
            Suena(sndclick);
            estado = "menu";
            FlushInput();
            session_->Send(Choice{kChoiceScreen, kScreenTitle});
            return;
        }
        int chosen = -1;
        if (KeyOrPad(kestrel::KEY_F1, {PadButton::A})) chosen = 0;
        if (KeyOrPad(kestrel::KEY_F2, {PadButton::X})) chosen = 1;
        if (KeyOrPad(kestrel::KEY_F3, {PadButton::Y})) chosen = 2;
        if (chosen < 0) return;
        if (session_->rttReady()) StartAsHost(chosen);
        else pendingDifficulty_ = chosen;
    } else {
        actualizaestado();  // the help page, read locally
    }
}

// The guest sees the host's screen of the title; it can read the help, or
// leave.
void OnlineGame::UpdateGuestTitle() {
    if (estado == "ayuda") {
        actualizaestado();
        if (estado == "menu") estado = hostScreen_;
        return;
    }
    if (KeyOrPad(kestrel::KEY_F3, {PadButton::Y})) {
        Suena(sndclick);
        estado = "ayuda";
        FlushInput();
    } else if (KeyOrPad(kestrel::KEY_ESCAPE, {PadButton::Back})) {
        Suena(sndclick);
        Finish("");
    } else {
        FlushInput();  // the host chooses: this side's other presses mean nothing here
    }
}

void OnlineGame::StartAsHost(int difficulty) {
    pendingDifficulty_.reset();
    Start s;
    s.seed = options_.seed ? *options_.seed + static_cast<std::uint32_t>(g_status.matches)
                           : static_cast<std::uint32_t>(kestrel::MilliSecs());
    int delay = 0;
    if (options_.rollback) {
        delay = options_.delay ? std::clamp(*options_.delay, 0, kMaxRollbackDelay)
                               : ChooseRollbackDelay(session_->RttMs(), session_->JitterMs());
    } else {
        delay = options_.delay ? std::clamp(*options_.delay, kMinDelay, kMaxDelay)
                               : ChooseDelay(session_->RttMs(), session_->JitterMs());
    }
    s.delay = static_cast<std::uint8_t>(delay);
    s.rollback = options_.rollback;
    s.difficulty = static_cast<std::uint8_t>(difficulty);
    s.players = 2;
    session_->Send(s);
    BeginMatch(s);
}

// Both machines: the same seed, the same difficulty, and the first update of
// the lockstep creates the game.
void OnlineGame::BeginMatch(const Start& start) {
    PrepareOnlineGame(start.seed, start.difficulty);
    // With rollback the window starts where the round trip puts it (the
    // widest until this side has measured it) and follows it from then on.
    const int window = !start.rollback         ? 0
                       : session_->rttReady() ? ChooseRollbackWindow(session_->RttMs(), session_->JitterMs(), start.delay)
                                              : kPredictWindow;
    lock_.emplace(options_.role, start.delay, static_cast<std::uint32_t>(window));
    snapshots_.clear();
    pendingSums_.clear();
    sounds_ = RerunSounds{};
    replay_ = OnlineReplay{ProgramVersion(), start.seed, start.difficulty, {}};
    recording_ = true;
    holdCooldown_ = 0;
    delayWanted_ = -1;
    delayWantedFor_ = 0;
    advantage_ = 0.0;
    lastNoticeFrame_ = ~0u;
    resumeAt_.reset();
    owed_ = 0;
    g_status.delay = start.delay;
    g_status.delayMax = start.delay;
    g_status.window = static_cast<int>(lock_->window());
    g_status.rollbackEnabled = start.rollback;
    g_status.rttMs = session_->RttMs();
    g_status.jitterMs = session_->JitterMs();
    ++g_status.matches;
}

// One game update runs one lockstep update; after updates that had to wait
// for the other player's keys it runs two (three while more than eight are
// owed), until it has made up for them (at most kMaxCatchUp): the game keeps
// to the clock through short waits, as it does through late frames, instead
// of falling behind for good. (Through a relay with 80 ms of delay and 5 %
// loss this took the game from 36 to 50 updates a second.)
void OnlineGame::UpdateMatch(std::int64_t nowUs) {
    ApplyRollback();
    if (!lock_ || estado == "pausa" || desync_) return;
    if (HoldForBalance()) return;
    const int runs = owed_ > 8 ? 3 : owed_ > 0 ? 2 : 1;
    for (int i = 0; i < runs; ++i) {
        if (!RunLockstepUpdate(nowUs)) {
            if (i == 0 && options_.catchUp) owed_ = std::min(owed_ + 1, kMaxCatchUp);
            return;
        }
        if (i > 0) --owed_;
        // A pause, the title or a desync ends the run of updates.
        if (!lock_ || estado == "pausa" || desync_) return;
    }
}

bool OnlineGame::RunLockstepUpdate(std::int64_t nowUs) {
    bool keysRead = lock_->NeedsLocal();
    if (keysRead) {
        const std::uint8_t bits = lock_->window() > 0 ? FollowLinkAndReadKeys() : leeteclaslocales(estado);
        // (A lowered delay has this update's keys, all up, as its step.)
        if (lock_->NeedsLocal()) lock_->QueueLocal(bits);
    }
    // With rollback the keys go once a frame, unreliably (SendKeys).
    if (lock_->window() == 0)
        while (auto out = lock_->TakeOutgoing()) session_->Send(*out);
    const std::uint32_t f = lock_->frame();
    const bool predicted = lock_->window() > 0 && lock_->Ready() && f >= lock_->confirmed();
    if (predicted) snapshots_.insert_or_assign(f, GameSnapshot::Take());
    const std::optional<FrameInputs> in = lock_->Advance(nowUs);
    if (!in) {
        // This game update's taps get a frame of their own, run once the
        // other player's keys come (and the game catches up).
        if (lock_->window() > 0 && !keysRead) {
            const std::uint8_t bits = leeteclaslocales(estado);
            if (bits != 0) lock_->QueueLocalWhileWaiting(bits, static_cast<std::uint32_t>(kMaxCatchUp));
        }
        g_status.stalled = true;
        if (lock_->ShowWaiting(nowUs) && lastNoticeFrame_ != lock_->frame()) {
            lastNoticeFrame_ = lock_->frame();
            ++g_status.stallNotices;
        }
        return false;
    }
    g_status.stalled = false;
    if (predicted) ++g_status.predicted;
    RunFrame(*in);
    if (lock_) CommitChecksums();
    return true;
}

std::uint8_t OnlineGame::FollowLinkAndReadKeys() {
    if (session_->rttReady()) {
        const double rtt = session_->RttMs(), jitter = session_->JitterMs();
        if (!options_.delay) {
            const int want = ChooseRollbackDelay(rtt, jitter);
            if (want != delayWanted_) {
                delayWanted_ = want;
                delayWantedFor_ = 0;
            }
            if (want > lock_->delay() && ++delayWantedFor_ >= kDelayRaiseUpdates) {
                lock_->SetDelay(lock_->delay() + 1);
                ++g_status.delayChanges;
                delayWantedFor_ = 0;
            }
        }
        lock_->SetWindow(static_cast<std::uint32_t>(ChooseRollbackWindow(rtt, jitter, lock_->delay())));
    }
    const std::uint8_t bits = leeteclaslocales(estado);
    // A shorter delay skips this update's keys: only when there are none.
    if (!options_.delay && delayWanted_ >= 0 && delayWanted_ < lock_->delay() && bits == 0 &&
        ++delayWantedFor_ >= kDelayLowerUpdates) {
        lock_->SetDelay(lock_->delay() - 1);
        ++g_status.delayChanges;
        delayWantedFor_ = 0;
    }
    g_status.delay = lock_->delay();
    g_status.delayMax = std::max(g_status.delayMax, lock_->delay());
    g_status.window = static_cast<int>(lock_->window());
    return bits;
}

bool OnlineGame::RunFrame(const FrameInputs& in) {
    const bool rollback = lock_->window() > 0;
    if (rollback) sounds_.Begin(in.frame);
    {
        NetworkKeys keys({in.player[0], in.player[1]});
        actualizaestado();
    }
    if (rollback) sounds_.End();
    ++g_status.framesRun;
    if (Lockstep::IsChecksumFrame(in.frame)) {
        const std::uint64_t sum = GameChecksum(kestrel::RndSeed());
        g_status.lastChecksum = sum;
        pendingSums_[in.frame] = sum;  // sent once both players' keys for it are real
    }
    if (estado == "pausa" && resumeAt_ == in.frame + 1) {
        resumeAt_.reset();
        reanudapartida();
    }
    // Leaving an end screen ends the game on both machines after the same
    // update: back on the title, the host may start the next.
    if (estado == "menu") {
        EndMatch();
        return false;
    }
    return estado != "pausa";
}

// With rollback the two sides should stand at the same frame at the same
// moment, so that each predicts the other's keys over half the round trip.
// Each side's lead (its keys ahead of the other's it holds) includes the
// trip both ways alike, so half the difference of the two leads is the
// offset, however slow the link or the frame loops.
// The side that began first (the host, by the Start's trip) stands ahead,
// its rollbacks as deep as the whole round trip and its waits at the window's
// edge while the other's are shallow. So a side more than kAheadFrames
// ahead holds back one update, at most one in every kHoldEvery: the other
// catches up within a second or two (mostly in the get-ready count-down).
bool OnlineGame::HoldForBalance() {
    if (lock_->window() == 0 || lock_->peerLocalNext() == 0) return false;
    if (holdCooldown_ > 0) {
        --holdCooldown_;
        advantage_ += (lock_->Advantage() - advantage_) * kAdvantageSmoothing;
        return false;
    }
    // Smoothed over about half a second: a frame loop that runs two or three
    // updates at a time after a slow frame makes the leads jump.
    advantage_ += (lock_->Advantage() - advantage_) * kAdvantageSmoothing;
    if (advantage_ <= kAheadFrames) return false;
    advantage_ -= 1.0;  // this hold's own effect, before the leads show it
    holdCooldown_ = kHoldEvery;
    ++g_status.updatesHeld;
    return true;
}

void OnlineGame::CommitChecksums() {
    while (lock_ && !pendingSums_.empty() && pendingSums_.begin()->first < lock_->confirmed()) {
        const auto [frame, sum] = *pendingSums_.begin();
        pendingSums_.erase(pendingSums_.begin());
        lock_->RecordLocalChecksum(frame, sum);
        session_->Send(Checksum{frame, sum});
        if (const auto& mm = lock_->mismatch()) {
            BeginDesync(mm->frame, mm->local, mm->remote);
            return;
        }
    }
    if (!lock_) return;
    while (recording_ && replay_.keys.size() < lock_->confirmed() && replay_.keys.size() < lock_->frame() &&
           replay_.keys.size() < OnlineReplay::kMaxUpdates)
        replay_.keys.push_back(lock_->InputsFor(static_cast<std::uint32_t>(replay_.keys.size())).player);
    // What is confirmed runs no more: its snapshots and sounds can go. The
    // snapshot of the first unconfirmed update stays (a rollback starts there).
    snapshots_.erase(snapshots_.begin(), snapshots_.lower_bound(lock_->confirmed()));
    sounds_.Forget(lock_->confirmed() > kPredictWindow ? lock_->confirmed() - kPredictWindow : 0);
}

void OnlineGame::ApplyRollback() {
    if (!lock_ || lock_->window() == 0) return;
    const std::optional<std::uint32_t> from = lock_->TakeRollback();
    if (from) {
        auto it = snapshots_.find(*from);
        const std::uint32_t to = lock_->frame();
        if (it == snapshots_.end() || *from >= to) {
            // Never happens while the snapshots follow the window; were it
            // to, the games are out of step, and the checksums will say so.
            ++g_status.rollbackMissed;
        } else {
            const std::int64_t t0 = kestrel::SteadyMicros();
            const TChannelPtr musicBefore = canalmusica;
            it->second.Restore();
            const std::uint32_t depth = to - *from;
            for (std::uint32_t g = *from; g < to && lock_; ++g) {
                if (g >= lock_->confirmed()) snapshots_.insert_or_assign(g, GameSnapshot::Take());
                ++g_status.framesRerun;
                --g_status.framesRun;  // counted again by RunFrame
                if (!RunFrame(lock_->InputsFor(g))) {
                    // The correction paused the game (or ended it) after g:
                    // the updates after it have not happened yet.
                    if (lock_ && !desync_) lock_->Rewind(g + 1);
                    break;
                }
            }
            SettleMusicAfterCorrection(musicBefore);
            const std::int64_t us = kestrel::SteadyMicros() - t0;
            ++g_status.rollbacks;
            g_status.rollbackDepthSum += depth;
            g_status.rollbackMaxDepth = std::max<std::uint32_t>(g_status.rollbackMaxDepth, depth);
            g_status.rollbackUsSum += static_cast<std::uint64_t>(us);
            g_status.rollbackMaxUs = std::max<std::int64_t>(g_status.rollbackMaxUs, us);
        }
    }
    CommitChecksums();
}

// The pause runs outside the lockstep: playing on is told to the other
// machine (which plays on too); leaving ends the online game for both.
void OnlineGame::UpdatePause() {
    owed_ = 0;  // a pause is no wait to make up for
    // The other player's keys for the updates before the pause may still
    // correct them (and may even mean the pause came later or not at all).
    ApplyRollback();
    if (!lock_ || estado != "pausa" || desync_) return;
    actualizaestado();
    if (estado == "juego") session_->Send(Resume{lock_->frame()});
    else if (estado == "menu") Finish("");
}

void OnlineGame::SaveReplay() {
    if (!recording_) return;
    recording_ = false;
    if (replay_.keys.empty()) return;
    std::string why;
    g_status.replayPath = WriteOnlineReplay(replay_, options_.role == Role::kHost ? "host" : "guest", &why);
}

void OnlineGame::EndMatch() {
    if (lock_) CommitChecksums();
    SaveReplay();
    Refresh();
    matchedBefore_ = g_status.checksumsMatched;
    dropsBefore_ = g_status.drops;
    lock_.reset();
    azaraparte(false);
    pendingDifficulty_.reset();
    hostScreen_ = "menu";
    std::deque<Message> held;
    held.swap(held_);
    while (!held.empty() && !done_) {
        Message m = std::move(held.front());
        held.pop_front();
        if (held_.empty()) Dispatch(std::move(m));
        else held_.push_back(std::move(m));
    }
}

void OnlineGame::BeginDesync(std::uint32_t frame, std::uint64_t local, std::uint64_t remote) {
    if (desync_) return;
    desync_ = ChecksumMismatch{frame, local, remote};
    desyncSinceUs_ = kestrel::SteadyMicros();
    SaveReplay();
    localDump_ = "after update " + std::to_string(lock_ ? lock_->frame() : 0) + "\n" +
                 (g_status.replayPath.empty() ? "" : "replay " + g_status.replayPath + "\n") +
                 DescribeGame(kestrel::RndSeed());
    session_->Send(Desync{frame, local, localDump_.substr(0, kMaxDumpText)});
    session_->Service(0);
}

void OnlineGame::FinishDesync() {
    std::string why;
    const std::string path = WriteDesyncReport(desync_->frame, desync_->local, localDump_, desync_->remote,
                                               remoteDump_.value_or("(the other player's state did not arrive)"),
                                               &why);
    g_status.desyncReport = path;
    Finish(std::string(kOutOfStep) + (path.empty() ? "\nNo report: " + why : "\nReport: " + path));
}

// Back to the offline title, with the reason on it.
void OnlineGame::Finish(const std::string& why) {
    SaveReplay();
    if (!session_->closed()) session_->Leave(kLeaveDrainMs);
    lock_.reset();
    held_.clear();
    azaraparte(false);
    ponteclasdered(nullptr);
    if (estado != "menu") vuelvealtitulo();
    if (!why.empty()) ponaviso(why);
    g_status.ended = why.empty() ? "left" : why;
    g_status.inMatch = false;
    g_status.connected = false;
    g_status.stalled = false;
    Refresh();
    done_ = true;
}

void OnlineGame::Refresh() {
    g_status.inMatch = lock_.has_value();
    g_status.matchFrame = lock_ ? lock_->frame() : 0;
    if (lock_) {
        g_status.checksumsMatched = matchedBefore_ + lock_->checksumsMatched();
        const LockstepDrops& d = lock_->drops();
        g_status.drops.duplicates = dropsBefore_.duplicates + d.duplicates;
        g_status.drops.gaps = dropsBefore_.gaps + d.gaps;
        g_status.drops.flood = dropsBefore_.flood + d.flood;
        g_status.drops.checksums = dropsBefore_.checksums + d.checksums;
    }
    if (session_->rttReady()) {
        g_status.rttMs = session_->RttMs();
        g_status.jitterMs = session_->JitterMs();
    }
    g_status.stats = session_->stats();
}

OnlineScreenInfo OnlineGame::Info(std::int64_t nowUs) const {
    OnlineScreenInfo i;
    i.host = options_.role == Role::kHost;
    i.port = g_status.port;
    i.target = options_.target;
    i.attempts = attempts_;
    i.addresses = addresses_;
    i.delay = lock_ ? lock_->delay() : 0;
    i.rttMs = session_->rttReady() ? session_->RttMs() : -1.0;
    i.measuring = pendingDifficulty_.has_value();
    i.waitingForPeer = lock_ && estado != "pausa" && lock_->ShowWaiting(nowUs);
    i.desync = desync_.has_value();
    return i;
}

void OnlineGame::dibuja() { dibujapantallared(Info(kestrel::SteadyMicros())); }

}  // namespace

bool StartOnlineGame(const OnlineOptions& options, std::string* why) {
    std::unique_ptr<EnetSession> session = options.role == Role::kHost
                                               ? EnetSession::Host(options.port, options.session, why)
                                               : EnetSession::Join(options.target, options.session, why);
    if (!session) return false;
    g_status = OnlineStatus{};
    g_status.running = true;
    g_status.role = options.role;
    g_status.port = session->port();
    ponmodo(std::make_unique<OnlineGame>(std::move(session), options));
    estado = "espera";
    // Leaving the program tells the other player first. (The handler may
    // run from inside an update, so it leaves the game object alone.)
    static bool handlerSet = false;
    if (!handlerSet) {
        handlerSet = true;
        kestrel::OnEnd([] {
            if (g_current) g_current->LeaveNow();
        });
    }
    return true;
}

const OnlineStatus& OnlineGameStatus() { return g_status; }

void WaitForOnlineData(std::uint32_t ms) {
    if (g_current) g_current->WaitForData(ms);
}

}  // namespace virexo::net
