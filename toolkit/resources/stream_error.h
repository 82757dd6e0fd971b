// Errors raised by the stream functions when a read or write cannot deliver
// the bytes asked for. Loader chains catch TStreamException (and so every
// subclass) and treat it as a refusal by the loader that raised it.
#pragma once

#include <string>

#include "toolkit/core/error.h"

namespace kestrel {

// Base of the stream errors.
class TStreamException : public ThrowableObject {
public:
    std::string ToString() const override;
};

// A read failed or went past the end of a stream.
class TStreamReadException : public TStreamException {
public:
    std::string ToString() const override;
};

// A write failed.
class TStreamWriteException : public TStreamException {
public:
    std::string ToString() const override;
};

}  // namespace kestrel
