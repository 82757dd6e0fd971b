// The machine's network addresses, for the host's waiting screen ("Waiting
// for a player on port 7420" and where to find this machine).
#pragma once

#include <string>
#include <vector>

namespace virexo::net {

// IPv4 addresses first, then IPv6, each as text, of the interfaces that are
// up; loopback and IPv6 link-local addresses left out. Empty when there are
// none or they cannot be read.
std::vector<std::string> LocalAddresses();

}  // namespace virexo::net
