// Where a window that shows a fixed-size picture opens, and where the
// picture sits inside it: plain arithmetic on rectangles, with no platform
// header, so that it is tested without a display.
#pragma once

namespace kestrel::sdl {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// A rectangle of the picture's shape placed in a window (or drawable).
using Letterbox = Rect;

// The frame the window manager puts around a window's client area.
struct Frame {
    int top = 0, left = 0, bottom = 0, right = 0;
};

// The largest width x height rectangle with the picture's aspect that fits
// the window, centred (the bars share the rest). Empty for empty sizes.
Letterbox FitLetterbox(int pictureW, int pictureH, int windowW, int windowH);

// The client area of a window that opens to show a pictureW x pictureH
// picture on a desktop whose usable area (panels left out) is usable, the
// frame being added around it. The client area keeps the picture's aspect:
// the largest whole multiple of the picture that fits, or, where not even
// the picture's own size fits, the largest scaled-down size that does. It
// is centred in the usable area, frame included, so neither the client area
// nor the frame leaves it (nor, therefore, the screen). At least 1 x 1.
Rect FitWindow(int pictureW, int pictureH, const Rect& usable, const Frame& frame);

// Whether a letter-box shows the picture at a whole multiple of its size
// (1x included), where nearest-pixel scaling keeps it sharp.
bool WholeMultiple(const Letterbox& box, int pictureW, int pictureH);

// A point of the window (in the units of the rectangle box was fitted to)
// in the picture's coordinates. Rounds down, so that the bars map outside
// 0..pictureW-1 x 0..pictureH-1. Unchanged when the box is empty.
void WindowToPicture(const Letterbox& box, int pictureW, int pictureH, int& x, int& y);

// The other way: the first window point that maps back to the picture
// point (exact round trip wherever the picture is shown at 1x or larger).
void PictureToWindow(const Letterbox& box, int pictureW, int pictureH, int& x, int& y);

}  // namespace kestrel::sdl
