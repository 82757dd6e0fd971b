// The board background (386 × 768): a dark panel with thin cell lines,
// meant for nearest sampling and drawn at alpha 0.75 over the backdrop.
#pragma once

#include "canvas.h"

namespace assetgen {

Canvas MakeGrid();

}  // namespace assetgen
