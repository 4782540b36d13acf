// Letter case in Shift-JIS text. Only the 52 single-byte ASCII letters have
// a case: a double-byte character is one character whatever its trail byte
// looks like (ヂ is 0x83 0x61, ア is 0x83 0x41), so lower-casing walks
// characters and never touches a trail byte. Every place that ignores case
// in document text (find and replace, the highlight, reserved words,
// keyword files) folds through here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "sjis/sjis_char.h"

namespace tabulo::sjis {

// An ASCII capital as its small letter, every other byte as it is; for a
// byte known to be a character of its own.
constexpr unsigned char lowerAsciiLetter(unsigned char b) {
    return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

// The text with its single-byte ASCII capitals lowered, characters cut as
// charLengthAt cuts them.
inline std::string lowerAsciiLetters(std::string_view text) {
    std::string lower(text);
    for (std::size_t i = 0; i < lower.size(); i += charLengthAt(lower, i)) {
        lower[i] = static_cast<char>(lowerAsciiLetter(static_cast<unsigned char>(lower[i])));
    }
    return lower;
}

}  // namespace tabulo::sjis
