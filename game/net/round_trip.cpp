#include "game/net/round_trip.h"

#include <algorithm>

namespace virexo::net {

Stamp RoundTrip::Outgoing(std::uint32_t nowUs) {
    Stamp s;
    s.sentUs = nowUs;
    if (pendingCount_ > 0) {
        const Heard& h = pending_[pendingFrom_];
        s.echoed = true;
        s.echoUs = h.sentUs;
        s.heldUs = nowUs - h.arrivalUs;
        pendingFrom_ = (pendingFrom_ + 1) % kPending;
        --pendingCount_;
    }
    return s;
}

void RoundTrip::Incoming(const Stamp& stamp, std::uint32_t arrivalUs) {
    if (pendingCount_ == kPending) {  // the oldest goes unechoed
        pendingFrom_ = (pendingFrom_ + 1) % kPending;
        --pendingCount_;
    }
    pending_[(pendingFrom_ + pendingCount_) % kPending] = Heard{stamp.sentUs, arrivalUs};
    ++pendingCount_;
    if (!stamp.echoed) return;
    const std::uint32_t sinceSent = arrivalUs - stamp.echoUs;
    // A hold longer than the whole trip, or a trip past the bound, comes
    // from a forged datagram or a clock that jumped: no sample.
    if (stamp.heldUs > sinceSent) return;
    const std::uint32_t rtt = sinceSent - stamp.heldUs;
    if (rtt > kMaxSampleUs) return;
    ring_[count_ % kSamples] = rtt;
    ++count_;
}

std::size_t RoundTrip::Sorted(std::array<std::uint32_t, kSamples>& out) const {
    const std::size_t n = std::min(count_, kSamples);
    std::copy(ring_.begin(), ring_.begin() + static_cast<std::ptrdiff_t>(n), out.begin());
    std::sort(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

double RoundTrip::RttMs() const {
    std::array<std::uint32_t, kSamples> v{};
    const std::size_t n = Sorted(v);
    return n == 0 ? 0.0 : v[n / 2] / 1000.0;
}

double RoundTrip::JitterMs() const {
    std::array<std::uint32_t, kSamples> v{};
    const std::size_t n = Sorted(v);
    if (n < 2) return 0.0;
    return (v[n * 3 / 4] - v[n / 4]) / 2000.0;
}

}  // namespace virexo::net
