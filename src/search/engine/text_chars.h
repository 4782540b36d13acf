// Shift-JIS character boundaries for the search engine. A character is one
// byte, or two when the first is a lead byte (the byte after a lead byte is
// its trail, whatever it is; a lead byte that is the last byte stands
// alone). Positions found by byte scans are checked with these helpers, so
// that no match starts or ends inside a double-byte character.
#pragma once

#include <cstddef>
#include <string_view>

namespace tabulo::search {

constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr std::size_t charLengthAt(std::string_view text, std::size_t pos) {
    return isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// True when byte position p (0..size) starts a character or is the end.
bool isCharStart(std::string_view text, std::size_t p);

// Start of the character that ends at character start p (p > 0).
std::size_t previousCharStart(std::string_view text, std::size_t p);

// An ASCII letter that is a character of its own, folded to lower case.
constexpr unsigned char foldAscii(unsigned char b) {
    return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

}  // namespace tabulo::search
