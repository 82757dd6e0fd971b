// The checksum of an online game's state, compared between the two machines
// every few frames, and the readable dump of the same state that a desync
// report holds. Both cover exactly what the game's rules decide: every
// board's cells (piece and mark), its pieces (colour, virus, position and
// target row, carried or not) and counters, both throwers, the screen state,
// `tiempo`, the virus counters and the generator's state. What is drawn only
// for looks (a virus's twitch, a board's shake, particles) is left out.
#pragma once

#include <cstdint>
#include <string>

namespace virexo::net {

// The generator's state is passed in (kestrel::RndSeed() in the game), so
// that the checksum reads the generator the game plays with.
std::uint64_t GameChecksum(std::int32_t rngState);

// The same state as text, one line per board, thrower and piece.
std::string DescribeGame(std::int32_t rngState);

// The folder for desync reports: $XDG_CACHE_HOME/virexo, or ~/.cache/virexo.
// Empty when neither variable gives an absolute path.
std::string CacheFolder();

// Writes text into CacheFolder() (created as needed) as NAME-YYYYMMDD-HHMMSS
// .txt, or with NAME "head-tail" as head-YYYYMMDD-HHMMSS-tail.txt (UTC, with
// a number added when the name is taken; nothing is overwritten). Returns
// the path, or empty with the reason in *why.
std::string WriteCacheFile(const std::string& name, const std::string& text, std::string* why = nullptr);

// Writes a desync report for frame into CacheFolder() (created as needed) as
// desync-YYYYMMDD-HHMMSS.txt (UTC, with a number added when the name is
// taken): both checksums and both states. Returns the path, or empty on
// failure with the reason in *why.
std::string WriteDesyncReport(std::uint32_t frame, std::uint64_t localSum, const std::string& localDump,
                              std::uint64_t remoteSum, const std::string& remoteDump,
                              std::string* why = nullptr);

}  // namespace virexo::net
