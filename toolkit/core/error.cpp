#include "toolkit/core/error.h"

namespace kestrel {

const char* ThrowableObject::what() const noexcept {
    try {
        what_ = ToString();
    } catch (...) {
        return "error";
    }
    return what_.c_str();
}

std::string TNullObjectException::ToString() const {
    return "Attempt to access field or method of Null object";
}

std::string TNullMethodException::ToString() const { return "Attempt to call abstract method"; }

std::string TNullFunctionException::ToString() const {
    return "Attempt to call uninitialized function pointer";
}

std::string TArrayBoundsException::ToString() const {
    return "Attempt to index array element beyond array length";
}

std::string TOutOfDataException::ToString() const { return "Attempt to read beyond end of data"; }

std::shared_ptr<TRuntimeException> TRuntimeException::Create(const std::string& error) {
    return std::make_shared<TRuntimeException>(error);
}

void RuntimeError(const std::string& message) { throw TRuntimeException(message); }

std::string DescribeCurrentException() {
    try {
        throw;
    } catch (const Object& o) {
        return o.ToString();
    } catch (const std::exception& e) {
        return e.what();
    } catch (const std::string& s) {
        return s;
    } catch (const char* s) {
        return s ? s : "";
    } catch (...) {
        return "Unknown error";
    }
}

}  // namespace kestrel

namespace kestrel {
namespace {
bool g_coreDone = false;
}
void InitCore() { g_coreDone = true; }
bool CoreInitialised() { return g_coreDone; }
}  // namespace kestrel
