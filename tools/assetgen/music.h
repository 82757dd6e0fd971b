// The three music loops, synthesised: menu (light and catchy), play
// (driving) and game over (slower). Each is one period of a seamless loop:
// whatever rings past the end is folded back onto the start.
#pragma once

#include "synth.h"

namespace assetgen {

synth::Buffer MakeMenuMusic();      // about 57 s
synth::Buffer MakePlayMusic();      // about 67 s
synth::Buffer MakeGameOverMusic();  // about 64 s

}  // namespace assetgen
