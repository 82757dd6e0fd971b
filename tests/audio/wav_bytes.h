// Builds RIFF/WAVE files in memory for the loader tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel_test {

class WavBytes {
public:
    WavBytes& Tag(const std::string& t) {
        bytes.insert(bytes.end(), t.begin(), t.end());
        return *this;
    }
    WavBytes& U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(std::uint8_t(v >> (8 * i)));
        return *this;
    }
    WavBytes& U16(std::uint16_t v) {
        bytes.push_back(std::uint8_t(v));
        bytes.push_back(std::uint8_t(v >> 8));
        return *this;
    }
    WavBytes& Fill(std::size_t n, std::uint8_t value) {
        bytes.insert(bytes.end(), n, value);
        return *this;
    }
    // "RIFF" size "WAVE" "fmt " with a PCM format chunk of fmtSize bytes.
    static WavBytes Header(int channels, int hertz, int bits, int formatTag = 1,
                           std::uint32_t fmtSize = 16) {
        WavBytes w;
        w.Tag("RIFF").U32(0).Tag("WAVE").Tag("fmt ").U32(fmtSize);
        w.U16(std::uint16_t(formatTag)).U16(std::uint16_t(channels)).U32(std::uint32_t(hertz));
        w.U32(std::uint32_t(hertz * channels * bits / 8));
        w.U16(std::uint16_t(channels * bits / 8)).U16(std::uint16_t(bits));
        if (fmtSize > 16) w.Fill(fmtSize - 16, 0);
        return w;
    }
    std::vector<std::uint8_t> bytes;
};

}  // namespace kestrel_test
