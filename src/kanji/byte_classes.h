// Byte classes of Shift-JIS, EUC and JIS shared by the converters, and the
// arithmetic between JIS X 0208 row/cell and Shift-JIS. Internal to the unit.
#pragma once

#include "sjis/sjis_char.h"

namespace tabulo::kanji::detail {

inline constexpr unsigned char kEsc = 0x1B;

inline bool isEucByte(unsigned char c) { return c >= 0xA1 && c <= 0xFE; }
inline bool isJisByte(unsigned char c) { return c >= 0x21 && c <= 0x7E; }

// JIS X 0208 row/cell to Shift-JIS. Written for any byte values: malformed
// input is converted by the same formulas, wrapping in 8 bits.
inline void jisToSjis(unsigned char a, unsigned char b, unsigned char* out) {
    out[0] = static_cast<unsigned char>((a + 1) / 2 + (a <= 0x5E ? 0x70 : 0xB0));
    if (a & 1) {
        out[1] = static_cast<unsigned char>(b + (b < 0x60 ? 0x1F : 0x20));
    } else {
        out[1] = static_cast<unsigned char>(b + 0x7E);
    }
}

inline void sjisToJis(unsigned char a, unsigned char b, unsigned char* out) {
    unsigned char row = static_cast<unsigned char>((a - (a < 0xA0 ? 0x70 : 0xB0)) * 2);
    unsigned char cell;
    if (b > 0x9E) {
        cell = static_cast<unsigned char>(b - 0x7E);
    } else {
        --row;
        cell = static_cast<unsigned char>(b - (b < 0x80 ? 0x1F : 0x20));
    }
    out[0] = row;
    out[1] = cell;
}

// The full-width JIS X 0208 character (row << 8 | cell) of a half-width
// katakana byte 0xA1 to 0xDF, and of the pair with a following voicing mark
// (0xDE or 0xDF); the latter is 0 when the pair does not merge.
unsigned halfKanaToJis(unsigned char kana);
unsigned voicedKanaToJis(unsigned char kana, unsigned char mark);

}  // namespace tabulo::kanji::detail
