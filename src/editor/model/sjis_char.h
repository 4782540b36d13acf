// Shift-JIS character boundaries. A character is one byte, or two when the
// first is a lead byte. Every scan of document bytes walks characters with
// these helpers so that a trail byte (which may look like '\\' or '|') is
// never taken for a character of its own.
#pragma once

#include <cstddef>
#include <string_view>

namespace tabulo::editor {

constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Length in bytes of the character starting at `pos`: 2 for a lead byte with
// a byte after it, else 1 (a lone lead byte at the end counts as one byte).
constexpr std::size_t charLengthAt(std::string_view s, std::size_t pos) {
    return (isLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size()) ? 2 : 1;
}

}  // namespace tabulo::editor
