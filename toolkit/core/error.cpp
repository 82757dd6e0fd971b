#include "toolkit/core/error.h"

#include <string_view>

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
    return message.empty() ? "Attempt to access field or method of Null object" : message;
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

std::string FunctionName(const std::source_location& where) {
    // "void kestrel::Cls()", "int kestrel::sub::F(int)": the words before
    // the parameters, without the return type and the namespaces.
    const std::string_view full = where.function_name();
    std::string_view name = full.substr(0, full.find('('));
    const std::size_t space = name.rfind(' ');
    if (space != std::string_view::npos) name.remove_prefix(space + 1);
    const std::size_t scope = name.rfind("::");
    if (scope != std::string_view::npos) name.remove_prefix(scope + 2);
    return name.empty() ? std::string(full) : std::string(name);
}

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
