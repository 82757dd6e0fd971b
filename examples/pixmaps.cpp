// Pixmaps: load one, change its pixels, make images of it, save it.
#include <string>

#include "example_run.h"

using namespace kestrel;

int main(int argc, char** argv) {
    ExampleRun run(argc, argv);
    Startup();
    if (!Graphics(960, 540)) return 1;

    // A pixmap is pixels in memory; an image is what the renderer draws.
    TPixmapPtr original = LoadPixmap(run.Data("gfx/virus_azulgrande.png"));
    if (!original) return 1;
    original = ConvertPixmap(original, PF_RGBA8888);

    // A grey copy: every pixel read, changed and written back (ARGB words).
    TPixmapPtr grey = CopyPixmap(original);
    for (int y = 0; y < PixmapHeight(grey); ++y) {
        for (int x = 0; x < PixmapWidth(grey); ++x) {
            const std::uint32_t argb = ReadPixel(grey, x, y);
            const std::uint32_t r = (argb >> 16) & 255, g = (argb >> 8) & 255, b = argb & 255;
            const std::uint32_t v = (r * 30 + g * 59 + b * 11) / 100;
            WritePixel(grey, x, y, (argb & 0xFF000000u) | v << 16 | v << 8 | v);
        }
    }
    TPixmapPtr mirrored = XFlipPixmap(original);
    TPixmapPtr small = ResizePixmap(original, PixmapWidth(original) / 2, PixmapHeight(original) / 2);

    // Images from pixmaps: LoadImage takes a pixmap where it takes a file.
    auto images = {LoadImage(original), LoadImage(grey), LoadImage(mirrored), LoadImage(small)};
    SavePixmapPNG(grey, "grey.png");  // a pixmap saved as a PNG file

    while (run.Running()) {
        Cls();
        float x = 20;
        for (const auto& image : images) {
            DrawImage(image, x, 100);
            x += ImageWidth(image) + 20;
        }
        // A frame read back from the screen is a pixmap too.
        DrawPixmap(small, 20, 330);
        SetColor(255, 255, 255);
        DrawText("original, grey, mirrored, half size", 20, 60);
        Flip();
    }
    return 0;
}
