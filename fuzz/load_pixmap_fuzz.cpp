// LoadPixmap over a memory stream holding the input: every loader of the
// chain must refuse bad data without crashing, leaking or allocating more
// than the data could hold. For inputs of even length the chunk CRCs are
// recomputed first, so that mutations reach libpng's decoding and not only
// its CRC check.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "toolkit/resources/pixmap_loader.h"
#include "toolkit/resources/png_loader.h"
#include "toolkit/resources/stream.h"

namespace {

void FixChunkCrcs(std::vector<std::uint8_t>& b) {
    std::size_t at = 8;
    while (at + 12 <= b.size()) {
        const std::uint64_t len = (std::uint64_t{b[at]} << 24) | (b[at + 1] << 16) |
                                  (b[at + 2] << 8) | b[at + 3];
        if (len > b.size() - at - 12) break;
        const std::size_t crcAt = at + 8 + static_cast<std::size_t>(len);
        const uLong crc = crc32(0, &b[at + 4], static_cast<uInt>(len + 4));
        b[crcAt] = static_cast<std::uint8_t>(crc >> 24);
        b[crcAt + 1] = static_cast<std::uint8_t>(crc >> 16);
        b[crcAt + 2] = static_cast<std::uint8_t>(crc >> 8);
        b[crcAt + 3] = static_cast<std::uint8_t>(crc);
        at = crcAt + 4;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestrel::InitPngLoader();
    std::vector<std::uint8_t> bytes(data, data + size);
    if (size % 2 == 0) FixChunkCrcs(bytes);
    auto stream = kestrel::TRamStream::Create(bytes.data(), static_cast<std::int64_t>(bytes.size()),
                                              1, 0);
    kestrel::TPixmapPtr p = kestrel::LoadPixmap(stream);
    if (p) {
        // Touch the decoded rows: the pixmap must really hold them.
        volatile std::uint32_t sink = 0;
        for (int y = 0; y < p->height; y += 7)
            for (int x = 0; x < p->width; x += 7) sink = sink + p->ReadPixel(x, y);
        if (p->width <= 64 && p->height <= 64) {
            kestrel::TPixmapPtr r = kestrel::ResizePixmap(kestrel::ConvertPixmap(p, kestrel::PF_BGRA8888), 5, 3);
            sink = sink + r->ReadPixel(4, 2);
        }
    }
    return 0;
}
