#include "contact_sheet.h"

#include "palette.h"
#include "text.h"

namespace assetgen {

namespace {

void Caption(Canvas& sheet, const Font& font, const std::string& text, int x, int y) {
    Mask m(sheet.Width(), sheet.Height());
    font.Render(m, text, 12, float(x), y);
    sheet.FillMask(m, 0, 0, Rgb(150, 160, 190));
}

// The backdrop with a few soft glows like the game's moving lights.
void PaintBackdrop(Canvas& sheet) {
    struct Glow {
        float x, y, r;
        Color c;
    };
    const Glow glows[] = {{300, 300, 420, Rgb(255, 255, 255, 0.10f)},
                          {1500, 500, 500, Rgb(255, 40, 255, 0.10f)},
                          {800, 1700, 600, Rgb(255, 255, 40, 0.08f)},
                          {1800, 2000, 500, Rgb(255, 40, 40, 0.09f)}};
    for (int y = 0; y < sheet.Height(); ++y)
        for (int x = 0; x < sheet.Width(); ++x) {
            Color c = assetgen::Backdrop();
            for (const Glow& g : glows) {
                float d = std::hypot(x - g.x, y - g.y) / g.r;
                float k = std::max(0.0f, 1.0f - d);
                c = Mix(c, WithAlpha(g.c, 1), k * k * g.c.a);
            }
            sheet.Blend(x, y, c);
        }
}

}  // namespace

Canvas MakeContactSheet(const std::vector<NamedImage>& images) {
    const int width = 2100, gap = 34;
    // Shelf packing in the given order.
    struct Placed {
        int x, y;
    };
    std::vector<Placed> placed;
    Font font(kFontRegular);
    int x = gap, y = gap + 14, shelf = 0;
    for (const NamedImage& img : images) {
        // Each slot is wide enough for its caption as well.
        int w = std::max(img.canvas->Width(), int(font.Advance(img.name.substr(4), 12)) + 4);
        int h = img.canvas->Height();
        if (x + w + gap > width) {
            x = gap;
            y += shelf + gap + 14;
            shelf = 0;
        }
        placed.push_back({x, y});
        x += w + gap;
        shelf = std::max(shelf, h);
    }
    int height = y + shelf + gap + 260;
    Canvas sheet(width, height);
    PaintBackdrop(sheet);
    for (size_t i = 0; i < images.size(); ++i) {
        sheet.Draw(*images[i].canvas, placed[i].x, placed[i].y);
        Caption(sheet, font, images[i].name.substr(4), placed[i].x, placed[i].y - 4);
    }
    // A banner shown as the game draws it when it jitters: ten strips shifted.
    const Canvas* banner = nullptr;
    for (const NamedImage& img : images) {
        if (img.name == "gfx/txt_gameover.png") banner = img.canvas;
    }
    if (banner) {
        int by = height - 230;
        Caption(sheet, font, "gfx/txt_gameover.png cut into ten 17-pixel strips, jittered", gap, by - 4);
        static const int shifts[10] = {-7, 3, 8, -2, -8, 5, 0, -5, 7, -3};
        for (int s = 0; s < 10; ++s) {
            // One strip: the banner drawn into a 17-row canvas, which clips it.
            Canvas cut(banner->Width(), 17);
            cut.Draw(*banner, 0, -17 * s);
            sheet.Draw(cut, gap + 8 + shifts[s], by + 17 * s);
        }
    }
    return sheet;
}

}  // namespace assetgen
