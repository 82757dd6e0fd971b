#include "png_writer.h"

#include <png.h>

#include <cstdio>
#include <stdexcept>

namespace assetgen {

void WritePng(const std::string& path, const Canvas& canvas) {
    std::vector<uint8_t> rgba = canvas.ToRgba8();
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        throw std::runtime_error("libpng failed writing " + path);
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(canvas.Width()), png_uint_32(canvas.Height()), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < canvas.Height(); ++y)
        png_write_row(png, &rgba[size_t(y) * canvas.Width() * 4]);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    if (std::fclose(file) != 0) throw std::runtime_error("cannot finish " + path);
}

}  // namespace assetgen
