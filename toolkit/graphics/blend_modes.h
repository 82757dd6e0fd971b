// The renderer's blend modes, as passed to SetBlend.
#pragma once

namespace kestrel {

inline constexpr int MASKBLEND = 1;   // no blending; pixels with alpha below 0.5 are dropped
inline constexpr int SOLIDBLEND = 2;  // no blending, no alpha test
inline constexpr int ALPHABLEND = 3;  // source alpha over the destination
inline constexpr int LIGHTBLEND = 4;  // source times its alpha added to the destination
inline constexpr int SHADEBLEND = 5;  // destination multiplied by the source colour

}  // namespace kestrel
