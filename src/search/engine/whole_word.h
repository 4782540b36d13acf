// The whole-word rule of the search: a match is a word of its own when
// neither the character before it nor the character after it would run on
// into it as one token of the editor's highlighting (letters and digits
// with letters and digits, a run of hiragana, katakana, kanji, full-width
// digits or letters, or half-width katakana with more of the same).
// Whole characters are compared, never a trail byte, so a word next to a
// double-byte character or at a line end is found.
#pragma once

#include <cstddef>
#include <string_view>

namespace tabulo::search {

// [start, end) is a non-empty match at character boundaries of text.
bool isWholeWord(std::string_view text, std::size_t start, std::size_t end);

}  // namespace tabulo::search
