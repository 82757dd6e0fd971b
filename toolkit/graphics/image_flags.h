// Image flags (a bit set) and font styles.
#pragma once

namespace kestrel {

inline constexpr int MASKEDIMAGE = 1;     // pixmaps without alpha get it from the mask colour
inline constexpr int FILTEREDIMAGE = 2;   // linear texture filtering (else nearest)
// A full mipmap chain. On OpenGL a frame drawn smaller than itself, unturned
// and on whole pixels, at a size it was drawn at in an earlier frame, is
// filtered once into a copy of that size, which the next draws read texel
// for texel: the same pixels within one level, for less work. A frame keeps
// at most four such copies; grabbing into it drops them.
inline constexpr int MIPMAPPEDIMAGE = 4;
inline constexpr int DYNAMICIMAGE = 8;    // added by CreateImage; no effect on OpenGL

}  // namespace kestrel
