// MIME encoded words for ISO-2022-JP header text: Shift-JIS text in, header
// text with "=?ISO-2022-JP?B?...?=" words out, and back to JIS bytes.
#pragma once

#include <string>
#include <string_view>

namespace tabulo::kanji {

// Replaces every run of Shift-JIS two-byte characters by one encoded word
// (JIS with its escapes, Base64). One-byte characters, half-width katakana
// included, stay plain; words are neither folded nor limited in length.
std::string CreateHeaderString(std::string_view sjisText);

// Replaces every encoded word (marker found without regard to case) by its
// JIS bytes followed by ESC ( J. Converting the result to Shift-JIS is the
// caller's choice. A marker without a closing "?=" is removed and the rest
// left as it is.
std::string DecodeHeaderString(std::string_view text);

}  // namespace tabulo::kanji
