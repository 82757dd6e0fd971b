// net-relay: a UDP relay on 127.0.0.1 with delay, jitter and loss, for
// trying the online game by hand or from test scripts.
//   net-relay --target PORT [--listen PORT] [--delay MS] [--jitter MS]
//             [--loss FRACTION] [--seed N] [--seconds S]
// Prints "listening on PORT", relays until the time is up (60 s by default),
// then prints what it forwarded and dropped each way.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/net_relay/udp_relay.h"

int main(int argc, char** argv) {
    virexo::nettest::RelayOptions o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string k = argv[i];
        const char* v = argv[i + 1];
        if (k == "--target") o.targetPort = static_cast<std::uint16_t>(std::atoi(v));
        else if (k == "--listen") o.listenPort = static_cast<std::uint16_t>(std::atoi(v));
        else if (k == "--delay") o.delayMs = std::atof(v);
        else if (k == "--jitter") o.jitterMs = std::atof(v);
        else if (k == "--loss") o.loss = std::atof(v);
        else if (k == "--seed") o.seed = static_cast<std::uint32_t>(std::strtoul(v, nullptr, 10));
        else if (k == "--seconds") o.maxSeconds = std::atof(v);
        else {
            std::fprintf(stderr, "net-relay: unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (o.targetPort == 0 || o.loss < 0 || o.loss > 1 || o.maxSeconds <= 0 || o.maxSeconds > 3600) {
        std::fprintf(stderr, "usage: net-relay --target PORT [--listen PORT] [--delay MS] [--jitter MS] "
                             "[--loss FRACTION] [--seed N] [--seconds S (at most 3600)]\n");
        return 2;
    }
    virexo::nettest::UdpRelay relay;
    std::string why;
    if (!relay.Open(o, &why)) {
        std::fprintf(stderr, "net-relay: %s\n", why.c_str());
        return 1;
    }
    std::printf("listening on %u\n", relay.port());
    std::fflush(stdout);
    std::atomic<bool> stop{false};
    relay.Run(stop);
    const auto s = relay.stats();
    std::printf("forwarded %llu/%llu dropped %llu/%llu (to target/back)\n",
                static_cast<unsigned long long>(s.forwarded[0]), static_cast<unsigned long long>(s.forwarded[1]),
                static_cast<unsigned long long>(s.dropped[0]), static_cast<unsigned long long>(s.dropped[1]));
    return 0;
}
