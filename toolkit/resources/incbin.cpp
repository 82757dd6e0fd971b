#include "toolkit/resources/incbin.h"

#include <forward_list>

namespace kestrel {

namespace {

struct IncbinEntry {
    std::string name;
    const std::uint8_t* data;
    std::int64_t length;
};

// Newest first; filled at start-up on the main thread and only read after.
std::forward_list<IncbinEntry>& Registry() {
    static std::forward_list<IncbinEntry> entries;
    return entries;
}

const IncbinEntry* Find(const std::string& name) {
    for (const IncbinEntry& e : Registry()) {
        if (e.name == name) return &e;
    }
    return nullptr;
}

}  // namespace

int IncbinAdd(const std::string& name, const void* data, std::int64_t length) {
    if (length < 0 || data == nullptr) return 0;
    if (Find(name)) return 0;
    Registry().push_front({name, static_cast<const std::uint8_t*>(data), length});
    return 1;
}

const std::uint8_t* IncbinPtr(const std::string& name) {
    const IncbinEntry* e = Find(name);
    return e ? e->data : nullptr;
}

std::int64_t IncbinLen(const std::string& name) {
    const IncbinEntry* e = Find(name);
    return e ? e->length : 0;
}

}  // namespace kestrel
