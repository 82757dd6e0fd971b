// Writes 16-bit PCM WAV files with a "LIST"/"INFO" chunk (title and
// software) placed before the "data" chunk.
#pragma once

#include <string>

#include "synth.h"

namespace assetgen {

void WriteWav(const std::string& path, const synth::Buffer& buffer, const std::string& title);

}  // namespace assetgen
