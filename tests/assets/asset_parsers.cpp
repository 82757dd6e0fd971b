#include "asset_parsers.h"

#include <cstring>

namespace asset_test {

namespace {

uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

}  // namespace

WavInfo ParseWav(const uint8_t* bytes, size_t size) {
    WavInfo info;
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) return info;
    if (Le32(bytes + 4) + 8 != size) return info;
    size_t pos = 12;
    bool have_fmt = false, have_data = false;
    while (pos + 8 <= size) {
        std::string id(reinterpret_cast<const char*>(bytes + pos), 4);
        uint32_t len = Le32(bytes + pos + 4);
        if (pos + 8 + len > size) return info;
        info.chunks.push_back(id);
        const uint8_t* body = bytes + pos + 8;
        if (id == "fmt " && len >= 16) {
            info.format = Le16(body);
            info.channels = Le16(body + 2);
            info.rate = int(Le32(body + 4));
            info.bits = Le16(body + 14);
            have_fmt = true;
        } else if (id == "data") {
            info.data_bytes = len;
            have_data = true;
        }
        pos += 8 + len + (len & 1);
    }
    info.valid = have_fmt && have_data && pos == size;
    return info;
}

OggInfo ParseOgg(const uint8_t* bytes, size_t size) {
    OggInfo info;
    size_t pos = 0;
    bool first = true;
    while (pos + 27 <= size) {
        if (std::memcmp(bytes + pos, "OggS", 4) != 0) return info;
        int64_t granule = 0;
        for (int i = 7; i >= 0; --i) granule = granule << 8 | bytes[pos + 6 + size_t(i)];
        size_t segments = bytes[pos + 26];
        if (pos + 27 + segments > size) return info;
        size_t body = 0;
        for (size_t i = 0; i < segments; ++i) body += bytes[pos + 27 + i];
        const uint8_t* data = bytes + pos + 27 + segments;
        if (pos + 27 + segments + body > size) return info;
        if (first) {
            // The identification header: packet type 1, "vorbis", version,
            // channels, rate.
            if (body < 16 || data[0] != 1 || std::memcmp(data + 1, "vorbis", 6) != 0) return info;
            info.channels = data[11];
            info.rate = int(Le32(data + 12));
            first = false;
        }
        if (granule >= 0) info.last_granule = granule;
        ++info.pages;
        pos += 27 + segments + body;
    }
    info.valid = !first && pos == size;
    return info;
}

}  // namespace asset_test
