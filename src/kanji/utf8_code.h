// UTF-8 beside the kanji codes: detection and conversion to and from
// Shift-JIS through the program's CP932 table. InCodeCheck knows nothing of
// UTF-8 and keeps its results; a caller that may meet UTF-8 asks
// IsUtf8Text first.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulo::kanji {

// True when text is well-formed UTF-8 holding at least one non-ASCII
// character: 7-bit text is left to InCodeCheck (it is every code at once).
bool IsUtf8Text(std::string_view text);

// A conversion and what it could not carry over: how many characters had no
// form in the target code (malformed input counts one per bad sequence) and
// the byte offset, in the input, of the first of them.
struct Utf8Conversion {
    std::string text;
    std::size_t lost = 0;
    std::size_t firstLost = 0;
};

// Shift-JIS to UTF-8. Codes with two Unicode forms take the one CP932 gives;
// a byte that is no Shift-JIS character becomes U+FFFD and is counted.
Utf8Conversion sjis2utf8(std::string_view text);

// UTF-8 to Shift-JIS, taking the JIS look-alikes too (U+301C to 0x8160 and
// so on). A character with no Shift-JIS form becomes the geta mark 〓 and is
// counted, so the caller can ask before it keeps such a result.
Utf8Conversion utf82sjis(std::string_view text);

}  // namespace tabulo::kanji
