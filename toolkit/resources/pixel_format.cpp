#include "toolkit/resources/pixel_format.h"

#include <cstring>

#include "toolkit/core/error.h"

namespace kestrel {

void PixelToRGBA(const std::uint8_t* p, int format, std::uint8_t rgba[4]) {
    switch (format) {
        case PF_I8:
            rgba[0] = rgba[1] = rgba[2] = p[0];
            rgba[3] = 255;
            break;
        case PF_A8:
            rgba[0] = rgba[1] = rgba[2] = 255;
            rgba[3] = p[0];
            break;
        case PF_BGR888:
            rgba[0] = p[2];
            rgba[1] = p[1];
            rgba[2] = p[0];
            rgba[3] = 255;
            break;
        case PF_RGB888:
            rgba[0] = p[0];
            rgba[1] = p[1];
            rgba[2] = p[2];
            rgba[3] = 255;
            break;
        case PF_BGRA8888:
            rgba[0] = p[2];
            rgba[1] = p[1];
            rgba[2] = p[0];
            rgba[3] = p[3];
            break;
        case PF_RGBA8888:
            std::memcpy(rgba, p, 4);
            break;
        default:
            RuntimeError("Unknown pixel format");
    }
}

void RGBAToPixel(const std::uint8_t rgba[4], int format, std::uint8_t* p) {
    switch (format) {
        case PF_I8:
            p[0] = static_cast<std::uint8_t>((rgba[0] + rgba[1] + rgba[2]) / 3);
            break;
        case PF_A8:
            p[0] = rgba[3];
            break;
        case PF_BGR888:
            p[0] = rgba[2];
            p[1] = rgba[1];
            p[2] = rgba[0];
            break;
        case PF_RGB888:
            p[0] = rgba[0];
            p[1] = rgba[1];
            p[2] = rgba[2];
            break;
        case PF_BGRA8888:
            p[0] = rgba[2];
            p[1] = rgba[1];
            p[2] = rgba[0];
            p[3] = rgba[3];
            break;
        case PF_RGBA8888:
            std::memcpy(p, rgba, 4);
            break;
        default:
            RuntimeError("Unknown pixel format");
    }
}

void ConvertPixels(const std::uint8_t* source, int sourceFormat, std::uint8_t* dest,
                   int destFormat, int count) {
    if (!IsPixelFormat(sourceFormat) || !IsPixelFormat(destFormat))
        RuntimeError("Unknown pixel format");
    if (count <= 0) return;
    if (sourceFormat == destFormat) {
        std::memmove(dest, source, static_cast<std::size_t>(count) * BytesPerPixel[sourceFormat]);
        return;
    }
    const int sb = BytesPerPixel[sourceFormat];
    const int db = BytesPerPixel[destFormat];
    std::uint8_t rgba[4];
    for (int i = 0; i < count; ++i) {
        PixelToRGBA(source + static_cast<std::size_t>(i) * sb, sourceFormat, rgba);
        RGBAToPixel(rgba, destFormat, dest + static_cast<std::size_t>(i) * db);
    }
}

}  // namespace kestrel
