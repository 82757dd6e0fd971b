// Header readers for the sound files: RIFF/WAVE chunks and Ogg Vorbis pages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace asset_test {

struct WavInfo {
    bool valid = false;
    std::vector<std::string> chunks;  // chunk ids in file order
    int format = 0, channels = 0, rate = 0, bits = 0;
    uint32_t data_bytes = 0;
    double Seconds() const {
        return channels && bits && rate ? double(data_bytes) / (channels * (bits / 8)) / rate : 0.0;
    }
};
WavInfo ParseWav(const uint8_t* bytes, size_t size);

struct OggInfo {
    bool valid = false;
    int channels = 0;
    int rate = 0;
    int64_t last_granule = -1;  // total samples per channel
    int pages = 0;
    double Seconds() const { return rate ? double(last_granule) / rate : 0.0; }
};
OggInfo ParseOgg(const uint8_t* bytes, size_t size);

}  // namespace asset_test
