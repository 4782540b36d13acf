// The Shift-JIS character walk the calculator needs: which bytes start a
// double-byte character, and how long the character at a byte offset is.
// Trail bytes may look like ASCII ('@', '^', letters), so every scan that
// looks for an ASCII character walks characters instead of searching bytes.
#pragma once

#include <cstddef>
#include <string_view>

namespace tabulo::calc::detail {

inline bool isLeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Byte length of the character starting at pos (pos < s.size()): a lead byte
// takes the next byte with it whatever it is; a lead byte at the very end
// stands alone.
inline std::size_t charLength(std::string_view s, std::size_t pos) {
    return isLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size() ? 2 : 1;
}

}  // namespace tabulo::calc::detail
