// Shift-JIS character boundaries for the line commands. A character is one
// byte, or two when the first is a lead byte; the byte after a lead byte is
// taken as its trail without further checks, so that every scan of a line
// agrees with how the editor splits it. A lead byte at the very end of a line
// stands alone.
#pragma once

#include <cstddef>
#include <string_view>

namespace tabulo::textops {

constexpr bool isLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Length in bytes (1 or 2) of the character that starts at pos; pos < text.size().
constexpr std::size_t charLengthAt(std::string_view text, std::size_t pos) {
    return isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

}  // namespace tabulo::textops
