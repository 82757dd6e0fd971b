#include "toolkit/resources/latin1_text.h"

namespace kestrel {

namespace {

void AppendLatin1(std::string& out, std::uint8_t b) {
    if (b < 0x80) {
        out.push_back(static_cast<char>(b));
    } else {
        out.push_back(static_cast<char>(0xC0 | (b >> 6)));
        out.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
}

// Length of the UTF-8 sequence starting at text[i] and its code point, or
// 0 when the bytes there are not a valid sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, std::uint32_t& cp) {
    const auto b0 = static_cast<std::uint8_t>(text[i]);
    std::size_t len;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2;
        cp = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3;
        cp = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4;
        cp = b0 & 0x07;
    } else {
        return 0;
    }
    if (i + len > text.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<std::uint8_t>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    return len;
}

}  // namespace

std::string BytesToText(const std::uint8_t* bytes, std::size_t count) {
    std::string out;
    out.reserve(count);
    for (std::size_t i = 0; i < count; ++i) AppendLatin1(out, bytes[i]);
    return out;
}

std::string TextToBytes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        std::uint32_t cp = 0;
        std::size_t len = DecodeUtf8(text, i, cp);
        if (len == 0) {
            cp = static_cast<std::uint8_t>(text[i]);
            len = 1;
        }
        out.push_back(static_cast<char>(cp & 0xFF));
        i += len;
    }
    return out;
}

}  // namespace kestrel
