// The process's memory figures from /proc/self/status: the peak resident
// set (VmHWM) and the current one (VmRSS), in kilobytes.
#pragma once

#include <optional>
#include <string_view>

namespace virexo::soak {

struct MemoryStatus {
    long hwmKb = 0;  // VmHWM: peak resident set size
    long rssKb = 0;  // VmRSS: resident set size now
    long heapKb = 0; // bytes handed out by malloc and not yet freed (0 where unknown)
};

// Reads both figures from the text of a status file; empty when either
// line is missing or malformed.
std::optional<MemoryStatus> ParseMemoryStatus(std::string_view text);

// This process's figures now, with the heap in use; empty where /proc is
// not available.
std::optional<MemoryStatus> ReadMemoryStatus();

}  // namespace virexo::soak
