// TPixmap: a rectangle of pixels in memory with a pixel format and a row
// pitch, and the module functions over pixmaps. Packed colours are
// 0xAARRGGBB. Module functions raise TNullObjectException for a null pixmap.
#pragma once

#include <cstdint>
#include <memory>

#include "toolkit/core/object.h"
#include "toolkit/resources/pixel_format.h"

namespace kestrel {

class TPixmap;
// A shared pixmap; null is none.
using TPixmapPtr = std::shared_ptr<TPixmap>;

// A picture in memory: rows of pixels in one of the PF_* formats.
class TPixmap : public Object {
public:
    TPixmap() = default;
    TPixmap(const TPixmap&) = delete;
    TPixmap& operator=(const TPixmap&) = delete;

    std::uint8_t* pixels = nullptr;  // first byte of row 0
    int width = 0;   // pixels
    int height = 0;  // pixels
    int pitch = 0;  // bytes from one row to the next
    int format = 0;  // PF_* code
    int capacity = 0;  // bytes owned; -1 when the memory belongs to someone else
    ObjectPtr _source;  // the pixmap a window looks into, kept alive

    // pixels + y * pitch + x * bytes per pixel; no bounds checks.
    std::uint8_t* PixelPtr(int x, int y) const;
    // A static pixmap over the rectangle, same pitch and format, keeping this
    // pixmap alive. The rectangle must lie inside (runtime error otherwise).
    TPixmapPtr Window(int x, int y, int w, int h);
    // Same size and format, alignment 4, every row copied.
    TPixmapPtr Copy() const;
    // Converts each of the source's rows into this pixmap at (x, y + row).
    // The source must fit inside (runtime error otherwise).
    void Paste(const TPixmap& source, int x, int y);
    // A new pixmap in `format` (alignment 4).
    TPixmapPtr Convert(int format) const;
    // Runtime error "Pixmap coordinates out of bounds" outside the pixmap.
    // The pixel as 0xAARRGGBB.
    std::uint32_t ReadPixel(int x, int y) const;
    // Sets the pixel from 0xAARRGGBB (converted to the format); runtime error
    // outside the pixmap.
    void WritePixel(int x, int y, std::uint32_t argb);

    // pitch = width * bytes per pixel rounded up to a multiple of `align`;
    // the memory is not cleared. Runtime error for negative sizes, an unknown
    // format or more than 2^31 - 1 bytes.
    static TPixmapPtr Create(int width, int height, int format, int align = 4);
    // Wraps memory the pixmap does not own (capacity -1).
    static TPixmapPtr CreateStatic(std::uint8_t* pixels, int width, int height, int pitch,
                                   int format);

    // 0 zeroes the rows; any other colour is written to every pixel.
    void ClearPixels(std::uint32_t argb);

private:
    std::unique_ptr<std::uint8_t[]> storage_;
};

// TPixmap::Create: a new width x height pixmap in format (PF_*), its rows
// padded to align bytes, its pixels not cleared.
TPixmapPtr CreatePixmap(int width, int height, int format, int align = 4);
// TPixmap::CreateStatic: a pixmap over the caller's memory (not copied, not
// freed).
TPixmapPtr CreateStaticPixmap(std::uint8_t* pixels, int width, int height, int pitch, int format);
// A new copy of the pixmap.
TPixmapPtr CopyPixmap(const TPixmapPtr& pixmap);
// A new copy in format.
TPixmapPtr ConvertPixmap(const TPixmapPtr& pixmap, int format);
// A pixmap sharing the rectangle's pixels (TPixmap::Window).
TPixmapPtr PixmapWindow(const TPixmapPtr& pixmap, int x, int y, int width, int height);
// The address of pixel (x, y), unchecked.
std::uint8_t* PixmapPixelPtr(const TPixmapPtr& pixmap, int x = 0, int y = 0);
// The width in pixels.
int PixmapWidth(const TPixmapPtr& pixmap);
// The height in pixels.
int PixmapHeight(const TPixmapPtr& pixmap);
// The bytes from one row to the next.
int PixmapPitch(const TPixmapPtr& pixmap);
// The PF_* format.
int PixmapFormat(const TPixmapPtr& pixmap);
// Pixel (x, y) as 0xAARRGGBB; runtime error outside the pixmap.
std::uint32_t ReadPixel(const TPixmapPtr& pixmap, int x, int y);
// Sets pixel (x, y) from 0xAARRGGBB; runtime error outside the pixmap.
void WritePixel(const TPixmapPtr& pixmap, int x, int y, std::uint32_t argb);
// Sets every pixel to 0xAARRGGBB.
void ClearPixels(const TPixmapPtr& pixmap, std::uint32_t argb);

// A PF_RGBA8888 copy where pixels of colour (r, g, b) get alpha 0 and the
// average colour of their non-mask neighbours (black if none); every other
// pixel gets alpha 255.
TPixmapPtr MaskPixmap(const TPixmapPtr& pixmap, int r, int g, int b);
// Mirrored copies in the same format: columns reversed / rows reversed.
// @{
// Mirrored copies in the same format: columns reversed / rows reversed.
TPixmapPtr XFlipPixmap(const TPixmapPtr& pixmap);
TPixmapPtr YFlipPixmap(const TPixmapPtr& pixmap);
// @}
// Bilinear resize to width x height, in the source's format.
TPixmapPtr ResizePixmap(const TPixmapPtr& pixmap, int width, int height);

}  // namespace kestrel
