// The six plain pieces (48 × 48): glossy shapes, one hue and one outline
// each, so that they are told apart by colour and by form.
#pragma once

#include "canvas.h"

namespace assetgen {

Canvas MakePiece(int colour);

}  // namespace assetgen
