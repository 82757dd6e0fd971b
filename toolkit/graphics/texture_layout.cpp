#include "toolkit/graphics/texture_layout.h"

#include "toolkit/core/error.h"
#include "toolkit/graphics/image_flags.h"

namespace kestrel {

int NextPow2(int n) {
    int p = 1;
    while (p < n && p < (1 << 30)) p <<= 1;
    return p;
}

TexSize AdjustTexSize(int width, int height, const std::function<bool(int, int)>& fits) {
    TexSize t{NextPow2(width), NextPow2(height)};
    for (;;) {
        if (fits(t.w, t.h)) return t;
        if (t.w == 1 && t.h == 1) RuntimeError("Unable to calculate tex size");
        if (t.w > 1) t.w /= 2;
        if (t.h > 1) t.h /= 2;
    }
}

std::vector<TexSize> MipChain(int w, int h) {
    std::vector<TexSize> levels{{w, h}};
    while (w > 1 || h > 1) {
        if (w > 1) w /= 2;
        if (h > 1) h /= 2;
        levels.push_back({w, h});
    }
    return levels;
}

TexFilters FiltersFor(int flags) {
    const bool mip = (flags & MIPMAPPEDIMAGE) != 0;
    if (flags & FILTEREDIMAGE)
        return {TexFilter::Linear, mip ? TexFilter::LinearMipmapLinear : TexFilter::Linear};
    return {TexFilter::Nearest, mip ? TexFilter::NearestMipmapNearest : TexFilter::Nearest};
}

}  // namespace kestrel
