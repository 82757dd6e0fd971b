// The six viruses: round, spiky, glossy creatures with faces, one character
// per colour. The same drawing serves the 64 × 64 board pictures and the
// detailed 256 × 256 title pictures.
#pragma once

#include "canvas.h"

namespace assetgen {

Canvas MakeVirus(int colour, int size);

}  // namespace assetgen
