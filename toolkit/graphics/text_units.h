// Text is drawn one UTF-16 code unit at a time (characters beyond the basic
// plane become two surrogate units, which fonts do not map). Strings are
// UTF-8; a byte that does not start a valid UTF-8 sequence stands for the
// Latin-1 character of that value.
#pragma once

#include <string>
#include <string_view>

namespace kestrel {

std::u16string Utf16Units(std::string_view utf8);

}  // namespace kestrel
