#include "toolkit/core/object.h"

namespace kestrel {

std::string Object::ToString() const { return "Object"; }

}  // namespace kestrel
