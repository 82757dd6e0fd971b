// The thrower: a doctor seen from the side, facing right, with a pill tank on
// the back and a giant syringe held up in front. The small picture (140 × 81)
// shows the upper body on the board's bottom row; the large one (158 × 168)
// the whole figure for the title screen and the help page.
#pragma once

#include "canvas.h"

namespace assetgen {

Canvas MakeDoctor();       // 140 × 81
Canvas MakeDoctorLarge();  // 158 × 168
// The figure drawn into an existing canvas, its base frame scaled and moved.
void DrawDoctor(Canvas& canvas, Vec2 origin, float scale, bool full_figure);

}  // namespace assetgen
