#include "tools/soak/memory_status.h"

#include <cctype>
#include <cstddef>
#include <fstream>
#include <malloc.h>
#include <sstream>

// Present in sanitizer builds, whose allocator malloc's own figures do not see.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace virexo::soak {

namespace {

// The number of kilobytes on the line "Name:   1234 kB", if present.
std::optional<long> Field(std::string_view text, std::string_view name) {
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (line.size() <= name.size() || line.substr(0, name.size()) != name || line[name.size()] != ':')
            continue;
        std::size_t p = name.size() + 1;
        while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
        long value = 0;
        std::size_t digits = 0;
        for (; p < line.size() && std::isdigit(static_cast<unsigned char>(line[p])); ++p, ++digits) {
            if (value > (1L << 50)) return std::nullopt;  // no real process is this large
            value = value * 10 + (line[p] - '0');
        }
        if (digits == 0 || line.substr(p) != " kB") return std::nullopt;
        return value;
    }
    return std::nullopt;
}

}  // namespace

std::optional<MemoryStatus> ParseMemoryStatus(std::string_view text) {
    const auto hwm = Field(text, "VmHWM");
    const auto rss = Field(text, "VmRSS");
    if (!hwm || !rss) return std::nullopt;
    return MemoryStatus{*hwm, *rss};
}

std::optional<MemoryStatus> ReadMemoryStatus() {
    std::ifstream in("/proc/self/status");
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    auto status = ParseMemoryStatus(text.str());
    if (status && __sanitizer_get_current_allocated_bytes) {
        status->heapKb = static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
        return status;
    }
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
    // Telling real growth from a fragmented heap needs what malloc holds.
    if (status) {
        const auto m = mallinfo2();  // small blocks, and the large ones mapped on their own
        status->heapKb = static_cast<long>((m.uordblks + m.hblkhd) / 1024);
    }
#endif
    return status;
}

}  // namespace virexo::soak
