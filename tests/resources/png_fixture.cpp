#include "png_fixture.h"

#include <png.h>
#include <zlib.h>

#include <cstring>
#include <stdexcept>

namespace kestrel_test {

namespace {

void OnError(png_structp, png_const_charp msg) { throw std::runtime_error(msg); }
void OnWarning(png_structp, png_const_charp) {}
void OnWrite(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
void OnFlush(png_structp) {}

void PutU32(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v >> 24);
    p[1] = static_cast<std::uint8_t>(v >> 16);
    p[2] = static_cast<std::uint8_t>(v >> 8);
    p[3] = static_cast<std::uint8_t>(v);
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const PngImage& s) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    png_infop info = png_create_info_struct(png);
    try {
        png_set_write_fn(png, &out, OnWrite, OnFlush);
        png_set_compression_level(png, s.compression);
        png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colorType,
                     s.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (!s.palette.empty()) {
            std::vector<png_color> pal;
            for (auto& c : s.palette) pal.push_back({c[0], c[1], c[2]});
            png_set_PLTE(png, info, pal.data(), static_cast<int>(pal.size()));
        }
        if (!s.paletteAlpha.empty())
            png_set_tRNS(png, info, s.paletteAlpha.data(), static_cast<int>(s.paletteAlpha.size()),
                         nullptr);
        if (s.transparentGrey >= 0) {
            png_color_16 c{};
            c.gray = static_cast<png_uint_16>(s.transparentGrey);
            png_set_tRNS(png, info, nullptr, 0, &c);
        }
        if (s.transparentRgb[0] >= 0) {
            png_color_16 c{};
            c.red = static_cast<png_uint_16>(s.transparentRgb[0]);
            c.green = static_cast<png_uint_16>(s.transparentRgb[1]);
            c.blue = static_cast<png_uint_16>(s.transparentRgb[2]);
            png_set_tRNS(png, info, nullptr, 0, &c);
        }
        png_write_info(png, info);
        const std::size_t rowBytes = png_get_rowbytes(png, info);
        if (s.rows.size() != rowBytes * s.height) throw std::runtime_error("row data size");
        std::vector<png_bytep> rows(s.height);
        for (int y = 0; y < s.height; ++y)
            rows[y] = const_cast<png_bytep>(s.rows.data() + rowBytes * y);
        png_write_image(png, rows.data());
        png_write_end(png, nullptr);
    } catch (...) {
        png_destroy_write_struct(&png, &info);
        throw;
    }
    png_destroy_write_struct(&png, &info);
    return out;
}

long FindChunk(const std::vector<std::uint8_t>& png, const char type[4]) {
    std::size_t at = 8;
    while (at + 8 <= png.size()) {
        const std::uint32_t len = (std::uint32_t(png[at]) << 24) | (png[at + 1] << 16) |
                                  (png[at + 2] << 8) | png[at + 3];
        if (std::memcmp(&png[at + 4], type, 4) == 0) return static_cast<long>(at);
        at += 12 + static_cast<std::size_t>(len);
    }
    return -1;
}

void ForgeSize(std::vector<std::uint8_t>& png, std::uint32_t width, std::uint32_t height) {
    const long at = FindChunk(png, "IHDR");
    if (at < 0) throw std::runtime_error("no IHDR");
    PutU32(&png[at + 8], width);
    PutU32(&png[at + 12], height);
    const uLong crc = crc32(0, &png[at + 4], 4 + 13);
    PutU32(&png[at + 8 + 13], static_cast<std::uint32_t>(crc));
}

}  // namespace kestrel_test
