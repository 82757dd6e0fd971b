// The 2D renderer: the state record, the renderer driver interface, the
// module drawing and state functions, images and image fonts.
#pragma once

#include "toolkit/graphics/blend_modes.h"
#include "toolkit/graphics/image.h"
#include "toolkit/graphics/image_font.h"
#include "toolkit/graphics/lumo2d_driver.h"
#include "toolkit/graphics/lumo2d_functions.h"
#include "toolkit/graphics/lumo2d_graphics.h"
