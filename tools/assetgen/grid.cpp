#include "grid.h"

namespace assetgen {

Canvas MakeGrid() {
    // The picture is drawn one pixel left of the board, so cell (c, r)
    // covers x 1 + 48c .. 48 + 48c and y 48r .. 47 + 48r.
    const int w = 386, h = 768;
    Canvas canvas(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int cx = (x - 1) % 48, cy = y % 48;
            if (x == 0) cx = -1;
            // Base panel, a little lighter in the middle of each cell.
            float dx = (cx - 23.5f) / 24.0f, dy = (cy - 23.5f) / 24.0f;
            float centre = 1.0f - std::min(1.0f, (dx * dx + dy * dy) * 0.5f);
            float depth = float(y) / h;
            Color c = Mix(Rgb(18, 24, 46), Rgb(10, 12, 28), depth);
            c = Mix(c, Rgb(30, 40, 72), centre * 0.35f);
            c.a = 0.86f;
            bool border = x <= 1 || x >= w - 2 || y == 0 || y == h - 1;
            bool vline = cx == 0 && x > 1;
            bool hline = cy == 0 && y > 0;
            if (border) {
                c = (x == 0 || x == w - 1) ? Rgb(120, 150, 220, 0.95f) : Rgb(70, 92, 150, 0.95f);
            } else if (vline || hline) {
                c = Rgb(54, 70, 118, 0.9f);
                // Brighter crosses where the lines meet.
                bool near_cross = (vline && (cy <= 2 || cy >= 46)) || (hline && (cx <= 2 || cx >= 46));
                if (near_cross) c = Rgb(96, 124, 190, 0.95f);
            }
            canvas.Blend(x, y, c);
        }
    }
    return canvas;
}

}  // namespace assetgen
