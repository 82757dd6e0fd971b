// Encodes a stereo buffer as Ogg Vorbis with libvorbisenc.
#pragma once

#include <string>

#include "synth.h"

namespace assetgen {

void WriteOgg(const std::string& path, const synth::Buffer& buffer, const std::string& title,
              float quality);

}  // namespace assetgen
