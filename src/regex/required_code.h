// A character every match of a pattern contains, found on its NFA: lines
// without it cannot hold a match, so the grep engine looks for it with a
// vectorised scan before it runs the search automaton over a line.
#pragma once

#include <optional>

#include "regex/re_nfa.h"

namespace tabulo::regex::detail {

// A code other than a line break or a lone lead byte such that every path
// from the initial to the final state reads it through a transition on that
// code alone; a kanji is preferred over a one-byte character, which is
// preferred over kana and symbols, as the likely rarest in Japanese text.
std::optional<Code> requiredCode(const TRE_NFA& nfa);

}  // namespace tabulo::regex::detail
