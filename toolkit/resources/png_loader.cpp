// Decoding goes through libpng with its error callback throwing a C++
// exception ("PNG ERROR") instead of long-jumping: nothing long-jumps over a
// C++ object, and the libpng structures are destroyed on every path by
// PngReadStructs. libpng's own frames carry no clean-up of their own (it is
// written for longjmp), and its unwind tables let the exception pass.
#include "toolkit/resources/png_loader.h"

#include <png.h>

#include <climits>
#include <cstring>
#include <vector>

#include "toolkit/core/error.h"
#include "toolkit/core/run_once.h"
#include "toolkit/resources/stream_error.h"
#include "toolkit/resources/stream_functions.h"
#include "toolkit/resources/missing_loader.h"
#include "toolkit/resources/load_report.h"

namespace kestrel {

namespace {

constexpr const char* kPngError = "PNG ERROR";

// Deflate cannot expand its input by more than about 1032 to 1; an image
// whose raw data would need more than that from the bytes left in the
// stream cannot be in it, and is refused before anything is allocated.
constexpr long long kMaxInflateRatio = 1032;
constexpr long long kInflateSlack = 4096;

// libpng's own words for the last error of this thread's decoding.
thread_local std::string t_pngMessage;

[[noreturn]] void OnPngError(png_structp, png_const_charp message) {
    t_pngMessage = message ? message : "";
    RuntimeError(kPngError);
}

void OnPngWarning(png_structp, png_const_charp) {}

void OnPngRead(png_structp png, png_bytep data, png_size_t length) {
    auto* stream = static_cast<TStream*>(png_get_io_ptr(png));
    // Raises TStreamReadException when the stream ends early.
    stream->ReadBytes(data, static_cast<std::int64_t>(length));
}

struct PngReadStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngReadStructs() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

// Reads up to n bytes without raising at the end of the stream.
std::int64_t ReadUpTo(TStream& stream, std::uint8_t* buf, std::int64_t n) {
    std::int64_t got = 0;
    while (got < n) {
        const std::int64_t r = stream.Read(buf + got, n - got);
        if (r <= 0) break;
        got += r;
    }
    return got;
}

// Whether the raw (filtered, uncompressed) image data could come out of the
// bytes the stream still holds. Streams that cannot tell their size pass.
bool InputCanHold(TStream& stream, png_uint_32 height, png_size_t rowBytes) {
    const std::int64_t pos = stream.Pos();
    const std::int64_t size = stream.Size();
    if (pos < 0 || size < pos) return true;
    const long long raw = static_cast<long long>(height) * (static_cast<long long>(rowBytes) + 1);
    const long long remaining = size - pos;
    if (remaining > (LLONG_MAX - kInflateSlack) / kMaxInflateRatio) return true;
    return raw <= remaining * kMaxInflateRatio + kInflateSlack;
}

TPixmapPtr Decode(TStream& stream, PngReadStructs& s) {
    png_structp png = s.png;
    png_infop info = s.info;
    png_read_info(png, info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    if (!InputCanHold(stream, height, png_get_rowbytes(png, info)))
        return FailData("PNG", "its " + std::to_string(width) + " x " + std::to_string(height) +
                                   " pixels cannot be in a file this short");

    png_set_strip_16(png);
    png_set_expand(png);
    // Grey with alpha (or grey whose transparency chunk becomes alpha) is
    // delivered as (grey, grey, grey, alpha).
    if (colorType == PNG_COLOR_TYPE_GRAY_ALPHA ||
        (colorType == PNG_COLOR_TYPE_GRAY && png_get_valid(png, info, PNG_INFO_tRNS)))
        png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    if (bitDepth != 8) return FailData("PNG", "unsupported bit depth");

    int format = 0;
    switch (colorType) {
        case PNG_COLOR_TYPE_GRAY: format = PF_I8; break;
        case PNG_COLOR_TYPE_RGB: format = PF_RGB888; break;
        case PNG_COLOR_TYPE_RGB_ALPHA: format = PF_RGBA8888; break;
        default: return FailData("PNG", "unsupported colour type");
    }
    const long long rowBytes = static_cast<long long>(width) * BytesPerPixel[format];
    if (static_cast<long long>(png_get_rowbytes(png, info)) != rowBytes)
        return FailData("PNG", "unsupported pixel layout");
    const long long pitch = (rowBytes + 3) / 4 * 4;
    if (width > INT_MAX || height > INT_MAX || pitch * height > INT_MAX)
        return FailData("PNG", "too large");

    TPixmapPtr pixmap =
        TPixmap::Create(static_cast<int>(width), static_cast<int>(height), format, 4);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y) rows[y] = pixmap->PixelPtr(0, static_cast<int>(y));
    png_read_image(png, rows.data());
    png_read_end(png, info);
    return pixmap;
}

}  // namespace

TPixmapPtr TPixmapLoaderPNG::LoadPixmap(TStream& stream) {
    std::uint8_t sig[8];
    if (ReadUpTo(stream, sig, 8) != 8 || png_sig_cmp(sig, 0, 8) != 0) return RefuseData("PNG");
    ClaimData("PNG");

    PngReadStructs s;
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!s.png) return nullptr;
    s.info = png_create_info_struct(s.png);
    if (!s.info) return nullptr;
    png_set_sig_bytes(s.png, 8);
    png_set_read_fn(s.png, &stream, OnPngRead);
    try {
        return Decode(stream, s);
    } catch (const TRuntimeException& e) {
        if (e.error != kPngError) throw;
        return FailData("PNG", "damaged data (" + t_pngMessage + ")");
    }
}

namespace {

void OnPngWrite(png_structp png, png_bytep data, png_size_t length) {
    auto* stream = static_cast<TStream*>(png_get_io_ptr(png));
    stream->WriteBytes(data, static_cast<std::int64_t>(length));
}

void OnPngFlush(png_structp png) { static_cast<TStream*>(png_get_io_ptr(png))->Flush(); }

struct PngWriteStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngWriteStructs() {
        if (png) png_destroy_write_struct(&png, info ? &info : nullptr);
    }
};

struct CloseOnExit {
    TStream& stream;
    ~CloseOnExit() { stream.Close(); }
};

}  // namespace

bool SavePixmapPNG(const TPixmapPtr& pixmap, const Url& url, int compression) {
    TPixmapPtr src = NonNull(pixmap);
    const bool alpha = AlphaBitsPerPixel[src->format] != 0;
    const int format = alpha ? PF_RGBA8888 : PF_RGB888;
    if (src->format != format) src = src->Convert(format);
    if (src->width <= 0 || src->height <= 0) return false;  // PNG has no empty images

    TStreamPtr stream = WriteStream(url);
    if (!stream) return false;
    CloseOnExit closer{*stream};
    PngWriteStructs s;
    s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!s.png) return false;
    s.info = png_create_info_struct(s.png);
    if (!s.info) return false;
    try {
        png_set_write_fn(s.png, stream.get(), OnPngWrite, OnPngFlush);
        png_set_compression_level(s.png, compression < 0 ? 0 : compression > 9 ? 9 : compression);
        png_set_IHDR(s.png, s.info, static_cast<png_uint_32>(src->width),
                     static_cast<png_uint_32>(src->height), 8,
                     alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(s.png, s.info);
        for (int y = 0; y < src->height; ++y) png_write_row(s.png, src->PixelPtr(0, y));
        png_write_end(s.png, nullptr);
    } catch (const TStreamException&) {
        return false;
    } catch (const TRuntimeException& e) {
        if (e.error != kPngError) throw;
        return false;
    }
    return true;
}

void InitPngLoader() {
    static bool done = false;
    RunOnce(done, [] {
        // Lives for the whole run, linked in the chain.
        new TPixmapLoaderPNG();
        NoteLoaderRegistered(DataFormat::PNG);
    });
}

}  // namespace kestrel
