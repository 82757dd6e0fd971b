// The embedded-file registry: files linked into the executable, found by
// name. Entries are added at start-up (the CMake function kestrel_embed_files
// links files into a program and generates the function that registers them)
// and never removed; their bytes are read-only and live for the whole run. The "incbin::" stream protocol reads from here.
#pragma once

#include <cstdint>
#include <string>

namespace kestrel {

// Registers `length` bytes at `data` under `name`. Names are compared exactly
// (case-sensitive, whole string). Returns 1 when the entry was added, 0 when
// the name is already registered (the first entry stays), the data pointer
// is null or the length is negative.
int IncbinAdd(const std::string& name, const void* data, std::int64_t length);

// The registered bytes, or nullptr when no entry has this name.
const std::uint8_t* IncbinPtr(const std::string& name);

// The registered length, or 0 when no entry has this name.
std::int64_t IncbinLen(const std::string& name);

}  // namespace kestrel
