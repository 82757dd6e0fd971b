// Decoding a 1024 x 768 8-bit RGBA PNG through LoadPixmap ("incbin::" memory
// stream -> loader chain -> PNG loader -> pixmap). The PNG is made here with
// libpng: smooth gradients with a little noise and some flat areas, like the
// game's pictures.
#include <benchmark/benchmark.h>
#include <png.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "toolkit/resources/png_loader.h"
#include "toolkit/resources/stream.h"

namespace {

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

void OnError(png_structp, png_const_charp msg) { throw std::runtime_error(msg); }
void OnWrite(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
void OnFlush(png_structp) {}

std::vector<std::uint8_t> MakePng() {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * 4);
    std::uint32_t seed = 12345;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            seed = seed * 1664525u + 1013904223u;
            std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * kWidth + x) * 4];
            const bool flat = ((x / 128) + (y / 128)) % 3 == 0;
            const int noise = flat ? 0 : static_cast<int>(seed >> 29);
            p[0] = static_cast<std::uint8_t>(x / 4 + noise);
            p[1] = static_cast<std::uint8_t>(y / 3 + noise);
            p[2] = static_cast<std::uint8_t>((x + y) / 7);
            p[3] = flat ? 255 : static_cast<std::uint8_t>(128 + (x ^ y) % 128);
        }
    }
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, OnWrite, OnFlush);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kHeight; ++y)
        png_write_row(png, &pixels[static_cast<std::size_t>(y) * kWidth * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

void BM_PngDecode1024x768Rgba(benchmark::State& state) {
    static const std::vector<std::uint8_t> file = MakePng();
    kestrel::InitStreamFactories();
    kestrel::InitPngLoader();
    kestrel::IncbinAdd("bench/1024x768.png", file.data(), static_cast<std::int64_t>(file.size()));
    for (auto _ : state) {
        kestrel::TPixmapPtr p = kestrel::LoadPixmap("incbin::bench/1024x768.png");
        if (!p || p->width != kWidth) {
            state.SkipWithError("decode failed");
            break;
        }
        benchmark::DoNotOptimize(p->pixels);
    }
    state.counters["png_bytes"] = static_cast<double>(file.size());
    state.SetBytesProcessed(state.iterations() * kWidth * kHeight * 4);
}
BENCHMARK(BM_PngDecode1024x768Rgba)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
