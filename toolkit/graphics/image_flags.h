// Image flags (a bit set) and font styles.
#pragma once

namespace kestrel {

inline constexpr int MASKEDIMAGE = 1;     // pixmaps without alpha get it from the mask colour
inline constexpr int FILTEREDIMAGE = 2;   // linear texture filtering (else nearest)
inline constexpr int MIPMAPPEDIMAGE = 4;  // a full mipmap chain
inline constexpr int DYNAMICIMAGE = 8;    // added by CreateImage; no effect on OpenGL

}  // namespace kestrel
