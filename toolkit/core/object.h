// The common base of every toolkit object. Objects are shared and
// reference-counted through std::shared_ptr; an absent object is nullptr.
#pragma once

#include <memory>
#include <string>

namespace kestrel {

// The base of every toolkit object: objects are held by std::shared_ptr and
// have a text form.
class Object : public std::enable_shared_from_this<Object> {
public:
    Object() = default;
    Object(const Object&) = default;             // copies nothing of its own
    Object& operator=(const Object&) = default;  // copies nothing of its own
    virtual ~Object() = default;

    // Text form of the object; types that have one replace it.
    virtual std::string ToString() const;
};

// A shared object; null is no object (Null).
using ObjectPtr = std::shared_ptr<Object>;

// A string carried where an object is expected (event extras, thrown texts).
class TStringObject : public Object {
public:
    explicit TStringObject(std::string text) : value(std::move(text)) {}  // holds text
    std::string ToString() const override { return value; }
    std::string value;  // the text
};

// A new TStringObject holding text.
inline ObjectPtr MakeStringObject(std::string text) {
    return std::make_shared<TStringObject>(std::move(text));
}

}  // namespace kestrel
