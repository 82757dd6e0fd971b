#include "toolkit/resources/pixmap.h"

#include <climits>
#include <cstring>

#include "toolkit/core/error.h"

namespace kestrel {

namespace {

void CheckInside(const TPixmap& p, int x, int y, int w, int h, const char* what) {
    if (x < 0 || y < 0 || w < 0 || h < 0 || x > p.width - w || y > p.height - h)
        RuntimeError(what);
}

}  // namespace

std::uint8_t* TPixmap::PixelPtr(int x, int y) const {
    return pixels + static_cast<std::ptrdiff_t>(y) * pitch +
           static_cast<std::ptrdiff_t>(x) * BytesPerPixel[format];
}

TPixmapPtr TPixmap::Window(int x, int y, int w, int h) {
    CheckInside(*this, x, y, w, h, "Pixmap window out of bounds");
    TPixmapPtr win = CreateStatic(PixelPtr(x, y), w, h, pitch, format);
    win->_source = shared_from_this();
    return win;
}

TPixmapPtr TPixmap::Copy() const {
    TPixmapPtr copy = Create(width, height, format, 4);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * BytesPerPixel[format];
    for (int y = 0; y < height; ++y) std::memcpy(copy->PixelPtr(0, y), PixelPtr(0, y), rowBytes);
    return copy;
}

void TPixmap::Paste(const TPixmap& source, int x, int y) {
    CheckInside(*this, x, y, source.width, source.height, "Pixmap paste out of bounds");
    for (int r = 0; r < source.height; ++r)
        ConvertPixels(source.PixelPtr(0, r), source.format, PixelPtr(x, y + r), format,
                      source.width);
}

TPixmapPtr TPixmap::Convert(int toFormat) const {
    TPixmapPtr out = Create(width, height, toFormat, 4);
    for (int y = 0; y < height; ++y)
        ConvertPixels(PixelPtr(0, y), format, out->PixelPtr(0, y), toFormat, width);
    return out;
}

std::uint32_t TPixmap::ReadPixel(int x, int y) const {
    CheckInside(*this, x, y, 1, 1, "Pixmap coordinates out of bounds");
    const std::uint8_t* p = PixelPtr(x, y);
    switch (format) {
        case PF_A8:
            return static_cast<std::uint32_t>(p[0]) << 24 | 0xFFFFFFu;
        case PF_I8:
            return 0xFF000000u | p[0] * 0x010101u;
        default: {
            std::uint8_t c[4];
            PixelToRGBA(p, format, c);
            return static_cast<std::uint32_t>(c[3]) << 24 | static_cast<std::uint32_t>(c[0]) << 16 |
                   static_cast<std::uint32_t>(c[1]) << 8 | c[2];
        }
    }
}

void TPixmap::WritePixel(int x, int y, std::uint32_t argb) {
    CheckInside(*this, x, y, 1, 1, "Pixmap coordinates out of bounds");
    const std::uint8_t c[4] = {static_cast<std::uint8_t>(argb >> 16),
                               static_cast<std::uint8_t>(argb >> 8),
                               static_cast<std::uint8_t>(argb),
                               static_cast<std::uint8_t>(argb >> 24)};
    RGBAToPixel(c, format, PixelPtr(x, y));
}

TPixmapPtr TPixmap::Create(int width, int height, int format, int align) {
    if (!IsPixelFormat(format)) RuntimeError("Unknown pixel format");
    if (width < 0 || height < 0) RuntimeError("Pixmap size out of range");
    if (align < 1) align = 1;
    const long long row = static_cast<long long>(width) * BytesPerPixel[format];
    const long long pitch = (row + align - 1) / align * align;
    const long long bytes = pitch * height;
    if (pitch > INT_MAX || bytes > INT_MAX) RuntimeError("Pixmap size out of range");
    auto p = std::make_shared<TPixmap>();
    p->storage_.reset(new std::uint8_t[bytes > 0 ? static_cast<std::size_t>(bytes) : 1]);
    p->pixels = p->storage_.get();
    p->width = width;
    p->height = height;
    p->pitch = static_cast<int>(pitch);
    p->format = format;
    p->capacity = static_cast<int>(bytes);
    return p;
}

TPixmapPtr TPixmap::CreateStatic(std::uint8_t* pixels, int width, int height, int pitch,
                                 int format) {
    if (!IsPixelFormat(format)) RuntimeError("Unknown pixel format");
    auto p = std::make_shared<TPixmap>();
    p->pixels = pixels;
    p->width = width;
    p->height = height;
    p->pitch = pitch;
    p->format = format;
    p->capacity = -1;
    return p;
}

void TPixmap::ClearPixels(std::uint32_t argb) {
    if (width <= 0 || height <= 0) return;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * BytesPerPixel[format];
    if (argb == 0) {
        if (static_cast<std::size_t>(pitch) == rowBytes) {
            std::memset(pixels, 0, rowBytes * height);
        } else {
            for (int y = 0; y < height; ++y) std::memset(PixelPtr(0, y), 0, rowBytes);
        }
        return;
    }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) WritePixel(x, y, argb);
}

TPixmapPtr CreatePixmap(int width, int height, int format, int align) {
    return TPixmap::Create(width, height, format, align);
}
TPixmapPtr CreateStaticPixmap(std::uint8_t* pixels, int width, int height, int pitch, int format) {
    return TPixmap::CreateStatic(pixels, width, height, pitch, format);
}
TPixmapPtr CopyPixmap(const TPixmapPtr& pixmap) { return NonNull(pixmap)->Copy(); }
TPixmapPtr ConvertPixmap(const TPixmapPtr& pixmap, int format) {
    return NonNull(pixmap)->Convert(format);
}
TPixmapPtr PixmapWindow(const TPixmapPtr& pixmap, int x, int y, int width, int height) {
    return NonNull(pixmap)->Window(x, y, width, height);
}
std::uint8_t* PixmapPixelPtr(const TPixmapPtr& pixmap, int x, int y) {
    return NonNull(pixmap)->PixelPtr(x, y);
}
int PixmapWidth(const TPixmapPtr& pixmap) { return NonNull(pixmap)->width; }
int PixmapHeight(const TPixmapPtr& pixmap) { return NonNull(pixmap)->height; }
int PixmapPitch(const TPixmapPtr& pixmap) { return NonNull(pixmap)->pitch; }
int PixmapFormat(const TPixmapPtr& pixmap) { return NonNull(pixmap)->format; }
std::uint32_t ReadPixel(const TPixmapPtr& pixmap, int x, int y) {
    return NonNull(pixmap)->ReadPixel(x, y);
}
void WritePixel(const TPixmapPtr& pixmap, int x, int y, std::uint32_t argb) {
    NonNull(pixmap)->WritePixel(x, y, argb);
}
void ClearPixels(const TPixmapPtr& pixmap, std::uint32_t argb) {
    NonNull(pixmap)->ClearPixels(argb);
}

}  // namespace kestrel
