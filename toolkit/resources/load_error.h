// Why a load failed. The loading functions (LoadPixmap, LoadImage,
// LoadAnimImage, LoadImageFont, LoadAudioSample, LoadSound, ReadStream,
// OpenStream...) still return Null when they fail; LastLoadError() then
// says why, in one line.
#pragma once

#include <string>

namespace kestrel {

/// Why the last load of this thread failed, naming the function, the URL,
/// the loaders tried and the reason, for example
/// `LoadImage("gfx/ship.png"): no such file` or
/// `LoadSound("title.png"): not a WAV or Ogg file: no loader for this data
/// (the data is a PNG image)`. Empty when the last load succeeded or none
/// was made yet. With the environment variable KESTREL_LOAD_ERRORS set to
/// anything but "0", each failure is also written to standard error as
/// "kestrel: " and this text.
std::string LastLoadError();

}  // namespace kestrel
