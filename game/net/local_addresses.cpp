#include "game/net/local_addresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>

namespace virexo::net {

std::vector<std::string> LocalAddresses() {
    std::vector<std::string> v4, v6;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return {};
    for (ifaddrs* a = list; a; a = a->ifa_next) {
        if (!a->ifa_addr || !(a->ifa_flags & IFF_UP) || (a->ifa_flags & IFF_LOOPBACK)) continue;
        char text[INET6_ADDRSTRLEN] = {};
        if (a->ifa_addr->sa_family == AF_INET) {
            const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
            if (inet_ntop(AF_INET, &in->sin_addr, text, sizeof text)) v4.emplace_back(text);
        } else if (a->ifa_addr->sa_family == AF_INET6) {
            const auto* in = reinterpret_cast<const sockaddr_in6*>(a->ifa_addr);
            if (IN6_IS_ADDR_LINKLOCAL(&in->sin6_addr) || IN6_IS_ADDR_LOOPBACK(&in->sin6_addr)) continue;
            if (inet_ntop(AF_INET6, &in->sin6_addr, text, sizeof text)) v6.emplace_back(text);
        }
    }
    freeifaddrs(list);
    for (auto& s : v6) {
        if (std::find(v4.begin(), v4.end(), s) == v4.end()) v4.push_back(s);
    }
    v4.erase(std::unique(v4.begin(), v4.end()), v4.end());
    return v4;
}

}  // namespace virexo::net
