// Warnings about how a program uses the toolkit (a module it forgot to
// start, a driver missing), written once each to standard error.
#pragma once

#include <string>

namespace kestrel {

// Writes "kestrel: <text>" and a newline to standard error the first time
// this text is given; later calls with the same text write nothing.
// Returns whether it wrote.
bool WarnOnce(const std::string& text);

}  // namespace kestrel
