// The runtime's error objects. They are thrown by value as C++ exceptions;
// ToString() gives the system's own text and what() returns the same.
#pragma once

#include <exception>
#include <source_location>
#include <string>

#include "toolkit/core/object.h"

namespace kestrel {

// Base of everything the toolkit throws as an object (runtime errors here,
// stream errors in the resources module).
class ThrowableObject : public Object, public std::exception {
public:
    const char* what() const noexcept override;  // ToString(), kept alive with the object

private:
    mutable std::string what_;
};

// Base of the runtime's own errors.
class TKestrelException : public ThrowableObject {};

// A null object was used where an object is needed.
class TNullObjectException : public TKestrelException {
public:
    TNullObjectException() = default;  // with the generic text
    // With a text that names the function and the likely fix, such as
    // "Cls: no graphics open: call Graphics() first".
    explicit TNullObjectException(std::string message) : message(std::move(message)) {}
    // The text given, else "Attempt to access field or method of Null object".
    std::string ToString() const override;

    std::string message;  // the text given; empty for the generic one
};

// An abstract method (a slot no type replaced) was called.
class TNullMethodException : public TKestrelException {
public:
    std::string ToString() const override;
};

// A null function was called.
class TNullFunctionException : public TKestrelException {
public:
    std::string ToString() const override;
};

// An index outside an array or a list of frames, modes...
class TArrayBoundsException : public TKestrelException {
public:
    std::string ToString() const override;
};

// A read of program data past its end.
class TOutOfDataException : public TKestrelException {
public:
    std::string ToString() const override;
};

// A runtime error with its own text (RuntimeError).
class TRuntimeException : public TKestrelException {
public:
    explicit TRuntimeException(std::string message) : error(std::move(message)) {}  // with this text
    // A new runtime error object with this text.
    static std::shared_ptr<TRuntimeException> Create(const std::string& error);
    std::string ToString() const override { return error; }

    std::string error;  // the text
};

// Throws TRuntimeException with the given text.
[[noreturn]] void RuntimeError(const std::string& message);

// Thrown by the runtime's own consistency checks.
inline constexpr const char* kCAssertFailed = "C Assert failed";

// Throws TNullObjectException when p is null; returns p otherwise. Used by
// module functions that must not dereference an absent object.
template <class P>
const P& NonNull(const P& p) {
    if (!p) throw TNullObjectException();
    return p;
}

// The bare name of the function a source location lies in ("Cls" for
// "void kestrel::Cls()"), for error texts that name the function a program
// called: a helper takes std::source_location::current() as a default
// argument, which gives its caller's location.
std::string FunctionName(const std::source_location& where);

// Throws TNullObjectException with "<function>: <problem>" when p is null
// (the function where this is called from, see FunctionName); returns p
// otherwise.
template <class P>
const P& NonNull(const P& p, const std::string& problem,
                 std::source_location where = std::source_location::current()) {
    if (!p) throw TNullObjectException(FunctionName(where) + ": " + problem);
    return p;
}

// Text of an exception caught by a handler of last resort: ToString() of a
// toolkit error, the string itself for thrown strings, what() otherwise.
std::string DescribeCurrentException();

}  // namespace kestrel

namespace kestrel {
// Initialises the runtime core. Its error classes are C++ types, known to
// the program without registration, so this only marks the core as ready.
void InitCore();
// Whether InitCore ran.
bool CoreInitialised();
}  // namespace kestrel
