// The program's one definition of a Shift-JIS character in bytes, used by
// every scan of Shift-JIS text (calculator, pattern engine, kanji codes, line
// commands, editor, command-line tool). A character is one byte, or two when
// the first is a lead byte; a trail byte may look like ASCII ('@', '\\', '^',
// '|'), so scans walk characters instead of searching bytes.
//
// Where a lead byte is not followed by a byte that can complete it, the
// scans differ on purpose, and each names its rule: charLengthAt takes the next
// byte whatever it is (the editor's split, which every line scan must agree
// with); charLengthAtCheckingTrail lets the lead byte stand alone before a byte
// that cannot be a trail byte, so that a space or line break keeps its own
// meaning (the calculator's reading).
#pragma once

#include <cstddef>
#include <string_view>

namespace tabulo::sjis {

// 0x81-0x9F and 0xE0-0xFC.
constexpr bool isLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// 0x40-0x7E and 0x80-0xFC.
constexpr bool isTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Half-width katakana and their punctuation, 0xA1-0xDF: one byte each.
constexpr bool isHalfKana(unsigned char b) {
    return b >= 0xA1 && b <= 0xDF;
}

// Byte length (1 or 2) of the character at pos (pos < text.size()): a lead
// byte with any byte after it is two; a lead byte at the very end stands alone.
constexpr std::size_t charLengthAt(std::string_view text, std::size_t pos) {
    return isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// The same, but a lead byte before a byte that cannot be a trail byte stands
// alone too.
constexpr std::size_t charLengthAtCheckingTrail(std::string_view text, std::size_t pos) {
    return isLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() &&
                   isTrailByte(static_cast<unsigned char>(text[pos + 1]))
               ? 2
               : 1;
}

}  // namespace tabulo::sjis
