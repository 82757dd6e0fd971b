// Streams move text one byte per character: byte n is the character U+00nn.
// Strings in the program are UTF-8, so these convert between the two.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

// Each byte becomes one character, encoded in UTF-8.
std::string BytesToText(const std::uint8_t* bytes, std::size_t count);

// Each character becomes one byte: its code point's low eight bits. Bytes
// that do not form valid UTF-8 are taken as one character each.
std::string TextToBytes(std::string_view text);

}  // namespace kestrel
