// Shift-JIS character helpers shared by every stage of the pattern engine:
// a character is one byte, or two when the first is a lead byte, and its
// code is the byte value or lead * 256 + trail.
#pragma once

#include <cstdint>
#include <string>

#include "sjis/sjis_char.h"

namespace tabulo::regex {

using Code = std::uint16_t;

using sjis::isLeadByte;

// A code becomes two bytes (high first) when its high byte is a lead byte,
// otherwise its low byte alone.
inline std::string codeToText(Code code) {
    const auto hi = static_cast<unsigned char>(code >> 8);
    const auto lo = static_cast<char>(code & 0xFF);
    if (isLeadByte(hi)) return std::string{static_cast<char>(hi), lo};
    return std::string(1, lo);
}

// Splits a byte string into codes, a lead byte at the very end standing alone.
inline void appendCodes(const std::string& text, std::basic_string<Code>& out) {
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (isLeadByte(b) && i + 1 < text.size()) {
            out.push_back(static_cast<Code>(b << 8 | static_cast<unsigned char>(text[i + 1])));
            i += 2;
        } else {
            out.push_back(b);
            ++i;
        }
    }
}

}  // namespace tabulo::regex
