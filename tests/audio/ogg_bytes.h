// Makes Ogg Vorbis files in memory for the loader tests (with vorbisenc).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace kestrel_test {

// Encodes `frames` frames of `channels` channels at `hertz`; value(frame,
// channel) gives each sample in -1..1.
std::vector<std::uint8_t> EncodeOgg(int channels, int hertz, int frames,
                                    const std::function<float(int, int)>& value);

// The decoder's own count of PCM frames in the file (ov_pcm_total).
long long OggPcmTotal(const std::vector<std::uint8_t>& file);

// Sets the granule position of the last page and fixes its checksum, so
// the file claims a different length.
void SetLastGranule(std::vector<std::uint8_t>& file, std::int64_t granule);

}  // namespace kestrel_test
