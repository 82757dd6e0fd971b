#include "toolkit/graphics/text_units.h"

#include <cstdint>

namespace kestrel {

namespace {

// Length and code point of the UTF-8 sequence at s[i], or 0 when it is not
// a valid, shortest-form sequence.
int DecodeUtf8(std::string_view s, std::size_t i, char32_t& cp) {
    const auto b = [&](std::size_t k) { return std::uint8_t(s[k]); };
    const std::uint8_t c = b(i);
    int len;
    char32_t min;
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        len = 2, cp = c & 0x1F, min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3, cp = c & 0x0F, min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4, cp = c & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    for (int k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

std::u16string Utf16Units(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp;
        int len = DecodeUtf8(utf8, i, cp);
        if (len == 0) {
            cp = std::uint8_t(utf8[i]);
            len = 1;
        }
        i += std::size_t(len);
        if (cp < 0x10000) {
            out.push_back(char16_t(cp));
        } else {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        }
    }
    return out;
}

}  // namespace kestrel
