// The round trip of a connection, measured all the time from the stamps of
// the datagrams both sides send (Stamp): a sample is the time from sending a
// stamp to receiving its echo, less the time the other side held it before
// echoing. Every stamp heard is echoed once, oldest first: echoing only the
// latest to arrive would favour the datagrams that came quickly, and measure
// short (through 80 ± 20 ms each way, 146 ms for 160). Send and arrival times are taken at the socket, so a slow frame
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

    // The stamps of a datagram leaving now (the sender's clock, µs): it
    // echoes the oldest stamp heard and not yet echoed, if any.
    Stamp Outgoing(std::uint32_t nowUs);
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

    // Stamps heard and not yet echoed, with their arrival times; bounded
    // (the oldest go), since a peer may send far more than this side does.
    static constexpr std::size_t kPending = 16;
    struct Heard {
        std::uint32_t sentUs, arrivalUs;
    };
    std::array<Heard, kPending> pending_{};
    std::size_t pendingFrom_ = 0, pendingCount_ = 0;
    std::array<std::uint32_t, kSamples> ring_{};
    std::size_t count_ = 0;  // samples taken in all
};

}  // namespace virexo::net
