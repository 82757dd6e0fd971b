#include "toolkit/graphics/sdl/window_fit.h"

#include <algorithm>

namespace kestrel::sdl {

namespace {

// Division rounding towards minus infinity (window points left of or above
// the picture must map to negative picture points, not to 0).
long long FloorDiv(long long a, long long b) {
    const long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

long long CeilDiv(long long a, long long b) { return -FloorDiv(-a, b); }

}  // namespace

Letterbox FitLetterbox(int pictureW, int pictureH, int windowW, int windowH) {
    Letterbox box;
    if (pictureW <= 0 || pictureH <= 0 || windowW <= 0 || windowH <= 0) return box;
    // Compare windowW / pictureW with windowH / pictureH without rounding.
    if (static_cast<long long>(windowW) * pictureH <= static_cast<long long>(windowH) * pictureW) {
        box.w = windowW;
        box.h = static_cast<int>(static_cast<long long>(pictureH) * windowW / pictureW);
    } else {
        box.h = windowH;
        box.w = static_cast<int>(static_cast<long long>(pictureW) * windowH / pictureH);
    }
    box.x = (windowW - box.w) / 2;
    box.y = (windowH - box.h) / 2;
    return box;
}

Rect FitWindow(int pictureW, int pictureH, const Rect& usable, const Frame& frame) {
    const int availW = std::max(1, usable.w - frame.left - frame.right);
    const int availH = std::max(1, usable.h - frame.top - frame.bottom);
    Rect r;
    if (pictureW <= 0 || pictureH <= 0) {
        r.w = r.h = 1;
    } else if (const int k = std::min(availW / pictureW, availH / pictureH); k >= 1) {
        r.w = k * pictureW;
        r.h = k * pictureH;
    } else {
        const Letterbox box = FitLetterbox(pictureW, pictureH, availW, availH);
        r.w = std::max(1, box.w);
        r.h = std::max(1, box.h);
    }
    r.x = usable.x + frame.left + (availW - r.w) / 2;
    r.y = usable.y + frame.top + (availH - r.h) / 2;
    return r;
}

bool WholeMultiple(const Letterbox& box, int pictureW, int pictureH) {
    if (pictureW <= 0 || pictureH <= 0 || box.w <= 0 || box.h <= 0) return false;
    return box.w % pictureW == 0 && box.h % pictureH == 0 &&
           box.w / pictureW == box.h / pictureH;
}

void WindowToPicture(const Letterbox& box, int pictureW, int pictureH, int& x, int& y) {
    if (box.w <= 0 || box.h <= 0) return;
    x = static_cast<int>(FloorDiv(static_cast<long long>(x - box.x) * pictureW, box.w));
    y = static_cast<int>(FloorDiv(static_cast<long long>(y - box.y) * pictureH, box.h));
}

void PictureToWindow(const Letterbox& box, int pictureW, int pictureH, int& x, int& y) {
    if (pictureW <= 0 || pictureH <= 0) return;
    x = box.x + static_cast<int>(CeilDiv(static_cast<long long>(x) * box.w, pictureW));
    y = box.y + static_cast<int>(CeilDiv(static_cast<long long>(y) * box.h, pictureH));
}

}  // namespace kestrel::sdl
