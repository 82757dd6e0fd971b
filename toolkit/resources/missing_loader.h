// Telling a program which loader it forgot: the loader chains (pixmaps,
// samples, fonts) recognise the data's format by its first bytes and, when
// no registered loader took it, name the loader that would have.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "toolkit/resources/stream_base.h"
#include "toolkit/resources/url.h"

namespace kestrel {

enum class DataFormat { Unknown, PNG, WAV, OggVorbis, TrueType, JPEG };

// The format the first bytes announce (PNG signature, RIFF/WAVE, OggS,
// a TrueType or OpenType header, a JPEG start of image).
DataFormat SniffDataFormat(const std::uint8_t* bytes, std::size_t count);

// Each loader's start-up notes the format it reads.
void NoteLoaderRegistered(DataFormat format);
bool LoaderRegistered(DataFormat format);

// What data of the format is ("a PNG image"); nullptr for Unknown.
const char* DataFormatText(DataFormat format);

// "no PNG loader is registered: call kestrel::InitPngLoader() or
// kestrel::Startup() first" when the format's loader exists in the toolkit
// and is not registered; "which no loader of Kestrel reads" for formats
// without one (JPEG); else empty.
std::string MissingLoaderHint(DataFormat format);

// The warning for data in `format` that every registered loader refused:
// which loader is missing and how to start it. Empty when that loader is
// registered (the data itself is bad) or the format is unknown.
std::string MissingLoaderMessage(const std::string& function, DataFormat format);

// Reads the first bytes of the data and writes MissingLoaderMessage once to
// standard error. For the loader chains, after every loader refused: the
// stream is read from `start` and left there.
void WarnIfLoaderMissing(const std::string& function, TStream& stream, std::int64_t start);
// The same for data named by a URL (opened and closed again).
void WarnIfLoaderMissing(const std::string& function, const Url& url);

}  // namespace kestrel
