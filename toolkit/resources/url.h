// The "url" argument of the opening and loading functions: a string (a file
// path or "protocol::path"), or an object (a stream, a pixmap, a sample...).
// Each loader looks for the kinds it understands with As<T>(); OpenStream
// takes streams and strings, and any other object counts as the empty string.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "toolkit/core/object.h"

namespace kestrel {

// What a load or open function takes: a string (a file path or a
// "protocol::path" URL) or an object (a stream, a pixmap, a sample...).
// Strings and shared objects convert to it.
class Url {
public:
    Url() = default;
    Url(const char* text) : value_(std::string(text ? text : "")) {}  // a string URL (null: "")
    Url(std::string text) : value_(std::move(text)) {}                  // a string URL
    Url(std::string_view text) : value_(std::string(text)) {}           // a string URL
    // An object URL (any toolkit object).
    template <class T, class = std::enable_if_t<std::is_base_of_v<Object, T>>>
    Url(std::shared_ptr<T> object) : value_(ObjectPtr(std::move(object))) {}
    Url(std::nullptr_t) : value_(ObjectPtr()) {}  // a null object URL

    bool IsString() const { return std::holds_alternative<std::string>(value_); }  // whether it is a string URL
    // The text of a string URL; empty for objects.
    const std::string& Text() const;
    // The object of an object URL; nullptr for strings.
    ObjectPtr GetObject() const;
    // The object as a T, or nullptr when it is not one.
    template <class T>
    std::shared_ptr<T> As() const {
        return std::dynamic_pointer_cast<T>(GetObject());
    }

private:
    std::variant<std::string, ObjectPtr> value_;
};

inline const std::string& Url::Text() const {
    static const std::string kEmpty;
    const auto* s = std::get_if<std::string>(&value_);
    return s ? *s : kEmpty;
}

inline ObjectPtr Url::GetObject() const {
    const auto* o = std::get_if<ObjectPtr>(&value_);
    return o ? *o : nullptr;
}

}  // namespace kestrel
