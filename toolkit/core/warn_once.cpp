#include "toolkit/core/warn_once.h"

#include <cstdio>
#include <mutex>
#include <set>

namespace kestrel {

bool WarnOnce(const std::string& text) {
    // Never destroyed: a warning may come from an exit handler.
    static auto* mutex = new std::mutex;
    static auto* given = new std::set<std::string>;
    std::lock_guard lock(*mutex);
    if (!given->insert(text).second) return false;
    std::fprintf(stderr, "kestrel: %s\n", text.c_str());
    std::fflush(stderr);
    return true;
}

}  // namespace kestrel
