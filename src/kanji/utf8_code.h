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

// The look-alikes a UTF-8 text was written with. utf82sjis takes U+301C
// and U+FF5E alike to 0x8160 (and so U+2014 and U+2015 to 0x815C, U+00A5
// and the backslash to 0x5C, U+203E and the tilde to 0x7E, and the other JIS look-alikes),
// and sjis2utf8 gives U+FF5E back; a text that used only the look-alike of
// such a pair gets it back through restoreLookAlikes, so it comes back as
// it was.
struct LookAlikeForms {
    unsigned mask = 0;  // one bit per pair whose look-alike alone was used
};
LookAlikeForms lookAlikesIn(std::string_view utf8);
std::string restoreLookAlikes(std::string utf8, LookAlikeForms forms);

// Where a byte offset of a text falls, all counted from 1: its line (lines
// end at CR LF, a lone CR or a lone LF), its byte within the line and its
// character within the line counted as UTF-8 (a malformed byte counts as a
// character), and the code point that starts there (0 for a malformed one).
struct TextPlace {
    std::size_t line = 1;
    std::size_t byte = 1;
    std::size_t character = 1;
    char32_t codePoint = 0;
};
TextPlace placeOf(std::string_view text, std::size_t offset);

}  // namespace tabulo::kanji
