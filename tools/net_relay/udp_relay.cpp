#include "tools/net_relay/udp_relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <queue>
#include <random>
#include <vector>

namespace virexo::nettest {

namespace {

using Clock = std::chrono::steady_clock;

int OpenLoopback(std::uint16_t port, std::uint16_t* bound, std::string* why) {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        if (why) *why = std::string("socket: ") + std::strerror(errno);
        return -1;
    }
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(port);
    socklen_t len = sizeof a;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
        if (why) *why = "bind 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno);
        close(fd);
        return -1;
    }
    if (bound) *bound = ntohs(a.sin_port);
    return fd;
}

struct Held {
    Clock::time_point due;
    std::uint64_t order;  // ties keep arrival order
    int direction;
    std::vector<char> data;
    bool operator>(const Held& o) const { return due != o.due ? due > o.due : order > o.order; }
};

}  // namespace

UdpRelay::~UdpRelay() {
    if (listenFd_ >= 0) close(listenFd_);
    if (upstreamFd_ >= 0) close(upstreamFd_);
}

bool UdpRelay::Open(const RelayOptions& options, std::string* why) {
    options_ = options;
    listenFd_ = OpenLoopback(options.listenPort, &port_, why);
    if (listenFd_ < 0) return false;
    upstreamFd_ = OpenLoopback(0, nullptr, why);
    return upstreamFd_ >= 0;
}

RelayStats UdpRelay::stats() const {
    RelayStats s;
    for (int d = 0; d < 2; ++d) {
        s.forwarded[d] = forwarded_[d].load();
        s.dropped[d] = dropped_[d].load();
    }
    return s;
}

void UdpRelay::Run(const std::atomic<bool>& stop) {
    std::mt19937 rng(options_.seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::priority_queue<Held, std::vector<Held>, std::greater<Held>> held;
    std::uint64_t order = 0;
    sockaddr_in client{};
    bool haveClient = false;
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    target.sin_port = htons(options_.targetPort);
    const auto end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                        std::chrono::duration<double>(options_.maxSeconds));
    std::vector<char> buf(65536);

    while (!stop.load() && Clock::now() < end) {
        int waitMs = 10;
        if (!held.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(held.top().due - Clock::now());
            waitMs = static_cast<int>(std::max<long long>(0, std::min<long long>(10, left.count())));
        }
        pollfd fds[2] = {{listenFd_, POLLIN, 0}, {upstreamFd_, POLLIN, 0}};
        poll(fds, 2, waitMs);
        for (int d = 0; d < 2; ++d) {
            // At most a bounded number of datagrams per pass.
            for (int n = 0; n < 256; ++n) {
                sockaddr_in from{};
                socklen_t len = sizeof from;
                const ssize_t got = recvfrom(d == 0 ? listenFd_ : upstreamFd_, buf.data(), buf.size(), 0,
                                             reinterpret_cast<sockaddr*>(&from), &len);
                if (got < 0) break;
                if (d == 0) {
                    client = from;
                    haveClient = true;
                }
                if (unit(rng) < options_.loss) {
                    ++dropped_[d];
                    continue;
                }
                double ms = options_.delayMs + (unit(rng) * 2.0 - 1.0) * options_.jitterMs;
                if (ms < 0) ms = 0;
                Held h{Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                          std::chrono::duration<double, std::milli>(ms)),
                       order++, d, std::vector<char>(buf.begin(), buf.begin() + got)};
                held.push(std::move(h));
            }
        }
        const auto now = Clock::now();
        while (!held.empty() && held.top().due <= now) {
            const Held& h = held.top();
            if (h.direction == 0) {
                sendto(upstreamFd_, h.data.data(), h.data.size(), 0, reinterpret_cast<const sockaddr*>(&target),
                       sizeof target);
                ++forwarded_[0];
            } else if (haveClient) {
                sendto(listenFd_, h.data.data(), h.data.size(), 0, reinterpret_cast<const sockaddr*>(&client),
                       sizeof client);
                ++forwarded_[1];
            }
            held.pop();
        }
    }
}

}  // namespace virexo::nettest
