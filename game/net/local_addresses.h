// The machine's network addresses, for the host's waiting screen ("Waiting
// for a player on port 7420" and where to find this machine).
#pragma once

#include <string>
#include <vector>

namespace virexo::net {

// The IPv4 addresses, as text, of the interfaces that are up, loopback left
// out: where another machine can reach the game (the connection is IPv4
// only). Empty when there are none or they cannot be read.
std::vector<std::string> LocalAddresses();

}  // namespace virexo::net
