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

inline bool isTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC; }

// Byte length of the character starting at pos (pos < s.size()): 2 for a lead
// byte followed by a trail byte, else 1. A lead byte before a byte that
// cannot trail (a space, a line break, the end) stands alone, so that byte
// keeps its own meaning.
inline std::size_t charLength(std::string_view s, std::size_t pos) {
    return isLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size() &&
                   isTrailByte(static_cast<unsigned char>(s[pos + 1]))
               ? 2
               : 1;
}

}  // namespace tabulo::calc::detail
