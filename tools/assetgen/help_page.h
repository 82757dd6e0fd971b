// The full-screen help page (1024 × 768): instructions, a picture of the
// thrower with the pieces and viruses, and the controls, on dark panels.
#pragma once

#include "canvas.h"

namespace assetgen {

Canvas MakeHelpPage();

}  // namespace assetgen
