// Characters one of which every match of a pattern contains, found on its
// NFA: lines without any of them cannot hold a match, so the grep engine
// looks for them with a vectorised scan before it runs the search automaton
// over a line.
#pragma once

#include <vector>

#include "regex/re_nfa.h"

namespace tabulo::regex::detail {

// Up to CodeSetFinder::kMaxCodes codes, none a line break, a zero or a lone
// lead byte, such that every path from the initial to the final state reads
// one of them through a transition on that code alone; empty when there are
// none. One code alone is preferred, a kanji over a one-byte character over
// kana and symbols, as the likely rarest in Japanese text.
std::vector<Code> requiredCodes(const TRE_NFA& nfa);

}  // namespace tabulo::regex::detail
