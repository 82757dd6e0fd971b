// The backdrop's glow picture, made on the CPU: 1022 concentric filled
// ovals, the largest first, each of grey level r * r / 1024 for r = 1, 1.5,
// ... 511.5 and drawn at (r / 2, r / 2) with a size of 512 - r, as the
// renderer would draw them onto black. The ovals are the renderer's own
// polygons (its segment count, vertices and sub-pixel snapping), so the
// picture is the one a draw of the ovals leaves in the back buffer.
#pragma once

#include "toolkit/resources/pixmap.h"

namespace virexo {

// Side of the glow picture and the centre of its ovals.
inline constexpr int kLadoBrillo = 512;

// The glow picture: kLadoBrillo square, PF_RGBA8888, grey, alpha 255.
kestrel::TPixmapPtr creapixmapbrillo();

// The glow reduced `factor` times each way: each pixel the mean of a block
// of factor x factor, rounded to the nearest level (so that a sum of many
// reduced glows keeps the brightness of the full ones).
kestrel::TPixmapPtr reducebrillo(const kestrel::TPixmap& glow, int factor);

// The distance from the centre (256, 256) beyond which every pixel of the
// picture is black: the farthest centre of a lit pixel.
double radiobrillo(const kestrel::TPixmap& glow);

}  // namespace virexo
