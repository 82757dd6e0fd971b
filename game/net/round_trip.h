// The round trip of a connection, measured all the time from the stamps of
// the datagrams both sides send (Stamp): a sample is the time from sending a
// stamp to receiving its echo, less the time the other side held it before
// echoing. Send and arrival times are taken at the socket, so a slow frame
// on either side does not count. The estimate is the median of the last
// kSamples samples, and the jitter half the spread of their middle half, so
// a lone late datagram moves neither.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "game/net/protocol.h"

namespace virexo::net {

class RoundTrip {
public:
    static constexpr std::size_t kSamples = 64;
    // Samples before the estimate counts (the host starts a game then).
    static constexpr std::size_t kReadySamples = 5;
    // Longer than this is no round trip but a clock that jumped.
    static constexpr std::uint32_t kMaxSampleUs = 10000000;

    // The stamps of a datagram leaving now (the sender's clock, µs).
    Stamp Outgoing(std::uint32_t nowUs) const;
    // A datagram's stamps, arrived at arrivalUs (this side's clock).
    void Incoming(const Stamp& stamp, std::uint32_t arrivalUs);

    bool ready() const { return count_ >= kReadySamples; }
    std::size_t samples() const { return count_; }
    // 0 before any sample.
    double RttMs() const;
    double JitterMs() const;

private:
    // The last samples in ascending order, into out; returns how many.
    std::size_t Sorted(std::array<std::uint32_t, kSamples>& out) const;

    bool heard_ = false;
    std::uint32_t peerSentUs_ = 0;   // the newest stamp heard from the other side
    std::uint32_t peerArrivalUs_ = 0;
    std::array<std::uint32_t, kSamples> ring_{};
    std::size_t count_ = 0;  // samples taken in all
};

}  // namespace virexo::net
