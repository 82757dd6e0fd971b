#include "game/net/lockstep.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace virexo::net {

int ChooseDelay(double rttMs, double jitterMs) {
    constexpr double kFrameMs = 1000.0 / 60.0;
    if (!(rttMs >= 0.0)) rttMs = 0.0;  // also NaN
    if (!(jitterMs >= 0.0)) jitterMs = 0.0;
    const double oneWay = std::min(rttMs / 2.0 + jitterMs, 10000.0);
    const int d = static_cast<int>(std::ceil(oneWay / kFrameMs)) + 1;
    return std::clamp(d, kMinDelay, kMaxDelay);
}

int ChooseRollbackDelay(double rttMs, double jitterMs) {
    constexpr double kFrameMs = 1000.0 / 60.0;
    if (!(rttMs >= 0.0)) rttMs = 0.0;
    if (!(jitterMs >= 0.0)) jitterMs = 0.0;
    const double oneWay = std::min(rttMs / 2.0 + 2.0 * jitterMs, 10000.0);
    const int d = static_cast<int>(std::ceil(oneWay / kFrameMs)) + 1 - kPredictWindow;
    return std::clamp(d, 0, kMaxRollbackDelay);
}

int ChooseRollbackWindow(double rttMs, double jitterMs, int delay) {
    constexpr double kFrameMs = 1000.0 / 60.0;
    if (!(rttMs >= 0.0)) rttMs = 0.0;
    if (!(jitterMs >= 0.0)) jitterMs = 0.0;
    const double oneWay = std::min(rttMs / 2.0 + 2.0 * jitterMs, 10000.0);
    // Over a link slower than a frame each way the two sides may stand up
    // to kBalanceFrames apart before the one ahead holds back (see the
    // online game), and the one ahead predicts that much further.
    const int balance = oneWay > kFrameMs ? kBalanceFrames : 0;
    const int w = static_cast<int>(std::ceil(oneWay / kFrameMs + 1.0)) + balance - std::max(delay, 0);
    return std::clamp(w, 2, kPredictWindow);
}

Lockstep::Lockstep(Role local, int delay, std::uint32_t window) : role_(local), window_(window) {
    if (window > kWindow / 2) throw std::invalid_argument("net: prediction window too large");
    if (window == 0 && (delay < kMinDelay || delay > kMaxDelay))
        throw std::invalid_argument("net: input delay out of 2..8");
    if (window > 0 && (delay < 0 || delay > kMaxRollbackDelay))
        throw std::invalid_argument("net: rollback input delay out of 0..2");
    delay_ = static_cast<std::uint32_t>(delay);
    // Frames 0 .. d-1 run with no keys on both sides.
    localNext_ = remoteNext_ = unsentFrom_ = ackedByPeer_ = delay_;
}

void Lockstep::SetWindow(std::uint32_t window) {
    if (window_ == 0) return;
    window_ = std::clamp<std::uint32_t>(window, 1, kPredictWindow);
}

void Lockstep::SetDelay(int delay) {
    if (window_ == 0) return;
    const auto d = static_cast<std::uint32_t>(std::clamp(delay, 0, kMaxRollbackDelay));
    // The frames between the old delay and the new one get no keys.
    while (localNext_ < frame_ + d) LocalAt(localNext_++) = 0;
    delay_ = d;
}

bool Lockstep::QueueLocal(std::uint8_t keyBits, std::uint32_t* forFrame) {
    if (!NeedsLocal()) return false;
    LocalAt(localNext_) = keyBits & keys::kAll;
    if (forFrame) *forFrame = localNext_;
    ++localNext_;
    return true;
}

bool Lockstep::QueueLocalWhileWaiting(std::uint8_t keyBits, std::uint32_t maxAhead) {
    if (localNext_ > frame_ + delay_ + std::min(maxAhead, kWindow / 2)) return false;
    LocalAt(localNext_) = keyBits & keys::kAll;
    ++localNext_;
    return true;
}

std::optional<Input> Lockstep::TakeOutgoing() {
    if (unsentFrom_ >= localNext_) return std::nullopt;
    Input in;
    in.first = unsentFrom_;
    const std::uint32_t n = std::min<std::uint32_t>(localNext_ - unsentFrom_, kMaxInputRun);
    for (std::uint32_t i = 0; i < n; ++i) in.keys.push_back(LocalAt(unsentFrom_ + i));
    unsentFrom_ += n;
    return in;
}

std::size_t Lockstep::OnRemoteInput(const Input& in) { return TakeRun(in.first, in.keys, false); }

Keys Lockstep::TakeKeys() const {
    Keys k;
    k.first = ackedByPeer_;
    const std::uint32_t n = std::min<std::uint32_t>(localNext_ - ackedByPeer_, kMaxInputRun);
    for (std::uint32_t i = 0; i < n; ++i) k.keys.push_back(local_[(ackedByPeer_ + i) % kWindow]);
    k.ack = remoteNext_;
    k.lead = static_cast<std::int8_t>(std::clamp(Lead(), -128, 127));
    k.delay = static_cast<std::uint8_t>(std::min<std::uint32_t>(delay_, kMaxRollbackDelay));
    return k;
}

std::size_t Lockstep::OnRemoteKeys(const Keys& k) {
    if (k.ack > localNext_) ++drops_.acks;
    else if (k.ack > ackedByPeer_) ackedByPeer_ = k.ack;
    const std::uint64_t next = static_cast<std::uint64_t>(k.first) + k.keys.size();
    // (Bounded like the keys: a forged far frame must not make this side wait.)
    if (next > peerLocalNext_ && next < static_cast<std::uint64_t>(frame_) + kWindow) {
        peerLocalNext_ = static_cast<std::uint32_t>(next);
        peerLead_ = k.lead;  // (the newest Keys' lead; older ones came out of order)
        peerDelay_ = std::min<int>(k.delay, kMaxRollbackDelay);
    }
    return TakeRun(k.first, k.keys, true);
}

std::size_t Lockstep::TakeRun(std::uint32_t first, const std::vector<std::uint8_t>& run, bool redundant) {
    std::size_t accepted = 0;
    for (std::size_t i = 0; i < run.size(); ++i) {
        const std::uint64_t f = static_cast<std::uint64_t>(first) + i;
        if (f < remoteNext_) {
            if (redundant) ++redundant_;
            else ++drops_.duplicates;
        } else if (f >= static_cast<std::uint64_t>(frame_) + kWindow) {
            drops_.flood += run.size() - i;
            break;
        } else if (f > remoteNext_) {
            drops_.gaps += run.size() - i;
            break;
        } else {
            const std::uint8_t k = run[i] & keys::kAll;
            RemoteAt(remoteNext_) = k;
            // This frame ran on the prediction of no keys: wrong if any came.
            if (remoteNext_ < frame_ && k != 0 && (!rollback_ || *rollback_ > remoteNext_)) rollback_ = remoteNext_;
            ++remoteNext_;
            ++accepted;
        }
    }
    return accepted;
}

std::optional<FrameInputs> Lockstep::Advance(std::int64_t nowUs) {
    if (!Ready()) {
        if (!waiting_) {
            waiting_ = true;
            waitStartUs_ = nowUs;
        }
        return std::nullopt;
    }
    waiting_ = false;
    FrameInputs out = InputsFor(frame_);
    ++frame_;
    return out;
}

FrameInputs Lockstep::InputsFor(std::uint32_t f) const {
    FrameInputs out;
    out.frame = f;
    const std::uint8_t mine = local_[f % kWindow];
    const std::uint8_t theirs = f < remoteNext_ ? remote_[f % kWindow] : 0;  // predicted: no new press
    out.player[0] = role_ == Role::kHost ? mine : theirs;
    out.player[1] = role_ == Role::kHost ? theirs : mine;
    return out;
}

std::optional<std::uint32_t> Lockstep::TakeRollback() {
    std::optional<std::uint32_t> r = rollback_;
    rollback_.reset();
    return r;
}

void Lockstep::Rewind(std::uint32_t f) {
    if (f > frame_) return;
    frame_ = f;
    if (rollback_ && *rollback_ >= f) rollback_.reset();
}

std::int64_t Lockstep::StalledUs(std::int64_t nowUs) const {
    if (!waiting_) return 0;
    return std::max<std::int64_t>(0, nowUs - waitStartUs_);
}

void Lockstep::RecordLocalChecksum(std::uint32_t f, std::uint64_t sum) {
    if (!IsChecksumFrame(f) || f < comparedBelow_ || localSums_.count(f)) return;
    localSums_[f] = sum;
    // A peer that never sends its sums must not make us hold ours forever.
    while (localSums_.size() > kWindow / kChecksumPeriod + 2) localSums_.erase(localSums_.begin());
    Compare(f);
}

void Lockstep::OnRemoteChecksum(std::uint32_t f, std::uint64_t sum) {
    // The peer is never more than a few frames from us (it needs our keys to
    // go on), so a checksum far ahead is forged.
    if (!IsChecksumFrame(f) || f < comparedBelow_ || remoteSums_.count(f) ||
        static_cast<std::uint64_t>(f) >= static_cast<std::uint64_t>(frame_) + kWindow) {
        ++drops_.checksums;
        return;
    }
    remoteSums_[f] = sum;
    Compare(f);
}

void Lockstep::Compare(std::uint32_t f) {
    auto l = localSums_.find(f);
    auto r = remoteSums_.find(f);
    if (l == localSums_.end() || r == remoteSums_.end()) return;
    if (l->second == r->second) {
        ++matched_;
    } else if (!mismatch_) {
        mismatch_ = ChecksumMismatch{f, l->second, r->second};
    }
    localSums_.erase(l);
    remoteSums_.erase(r);
    // Sums arrive in frame order on both sides: everything up to f is settled.
    comparedBelow_ = std::max(comparedBelow_, f + 1);
    localSums_.erase(localSums_.begin(), localSums_.lower_bound(comparedBelow_));
    remoteSums_.erase(remoteSums_.begin(), remoteSums_.lower_bound(comparedBelow_));
}

}  // namespace virexo::net
