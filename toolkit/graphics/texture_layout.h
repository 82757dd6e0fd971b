// The texture arithmetic of image frames, free of any rendering API: power
// of two sizes (shrunk until the renderer accepts them), the mipmap chain
// and the filter table.
#pragma once

#include <functional>
#include <vector>

namespace kestrel {

struct TexSize {
    int w = 0, h = 0;
    friend bool operator==(const TexSize&, const TexSize&) = default;
};

// The smallest power of two (1, 2, 4...) not below n; 1 for n <= 1.
int NextPow2(int n);

// Rounds both sides up to powers of two, then halves every side above 1
// until `fits` accepts the size. Raises the runtime error "Unable to
// calculate tex size" when even 1 x 1 is refused.
TexSize AdjustTexSize(int width, int height, const std::function<bool(int, int)>& fits);

// Level sizes of a full mipmap chain from (w, h) down to 1 x 1 inclusive;
// each step halves every side above 1.
std::vector<TexSize> MipChain(int w, int h);

enum class TexFilter { Nearest, Linear, NearestMipmapNearest, LinearMipmapLinear };

struct TexFilters {
    TexFilter mag = TexFilter::Nearest;
    TexFilter min = TexFilter::Nearest;
};

// FILTEREDIMAGE picks linear over nearest; MIPMAPPEDIMAGE adds mipmap
// minification of the same kind.
TexFilters FiltersFor(int image_flags);

}  // namespace kestrel
