// A UDP relay for network tests on the loopback interface: it listens on a
// port, forwards what a client sends there to a target port and the answers
// back, each datagram held for a delay with jitter or dropped at a given
// rate (from a seeded generator, so a run can be repeated). Jitter may
// reorder datagrams, as a real network can.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

namespace virexo::nettest {

struct RelayOptions {
    std::uint16_t listenPort = 0;  // 0: any free port, see UdpRelay::port()
    std::uint16_t targetPort = 0;  // on 127.0.0.1
    double delayMs = 0.0;          // each way
    double jitterMs = 0.0;         // the delay varies by up to this either way
    double loss = 0.0;             // 0..1, each datagram each way
    std::uint32_t seed = 1;
    double maxSeconds = 60.0;      // Run() returns after this in any case
};

struct RelayStats {
    std::uint64_t forwarded[2] = {0, 0};  // [0] client to target, [1] back
    std::uint64_t dropped[2] = {0, 0};
};

class UdpRelay {
public:
    UdpRelay() = default;
    ~UdpRelay();
    UdpRelay(const UdpRelay&) = delete;
    UdpRelay& operator=(const UdpRelay&) = delete;

    bool Open(const RelayOptions& options, std::string* why);
    std::uint16_t port() const { return port_; }
    // Relays until stop is set or maxSeconds have passed.
    void Run(const std::atomic<bool>& stop);
    // Counts so far; safe to read from another thread.
    RelayStats stats() const;

private:
    RelayOptions options_;
    int listenFd_ = -1;    // the client talks to this one
    int upstreamFd_ = -1;  // this one talks to the target
    std::uint16_t port_ = 0;
    std::atomic<std::uint64_t> forwarded_[2] = {0, 0};
    std::atomic<std::uint64_t> dropped_[2] = {0, 0};
};

}  // namespace virexo::nettest
