// The seven sound effects, each with the channel count, rate and length the
// game's asset table gives it.
#pragma once

#include <string>

#include "synth.h"

namespace assetgen {

synth::Buffer MakeMoveTick();     // sfx/mover.wav: mono 22050 Hz, 0.18 s
synth::Buffer MakeThrowWhoosh();  // sfx/lanza.wav: mono 22050 Hz, 0.53 s
synth::Buffer MakePickUp();       // sfx/recoge.wav: stereo 44100 Hz, 0.45 s
synth::Buffer MakePiecePop();     // sfx/pastilla.wav: stereo 44100 Hz, 0.19 s
synth::Buffer MakeVirusSquelch(); // sfx/bixo.wav: stereo 44100 Hz, 0.40 s
synth::Buffer MakeFailTone();     // sfx/fallo.wav: stereo 22050 Hz, 1.72 s
synth::Buffer MakeMenuClick();    // sfx/click.wav: stereo 44100 Hz, 0.64 s

}  // namespace assetgen
