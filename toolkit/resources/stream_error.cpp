#include "toolkit/resources/stream_error.h"

namespace kestrel {

std::string TStreamException::ToString() const { return "Stream error"; }

std::string TStreamReadException::ToString() const { return "Error reading from stream"; }

std::string TStreamWriteException::ToString() const { return "Error writing to stream"; }

}  // namespace kestrel
