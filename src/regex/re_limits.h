// The resource bounds of the pattern engine. Patterns typed into a dialog are
// short; these limits are far above them and exist so that a pathological
// pattern (deep nesting, huge classes, alternations whose automaton blows up
// such as (a|b)*a(a|b)(a|b)...) is refused with a pattern error instead of
// exhausting the stack, the memory or the user's patience. Each is checked
// where the cost arises and raises ERegExpParser with its message.
#pragma once

#include <cstddef>

namespace tabulo::regex::limits {

// Bytes of a pattern as written, and after the dictionary rewrite (which
// turns each matched character into a group of its row, some ten times
// longer). Together they bound the parse tree, the NFA and the depth of the
// recursion over the tree (one level per atom of a sequence).
inline constexpr std::size_t kMaxPatternBytes = 8192;
inline constexpr std::size_t kMaxRewrittenBytes = 65536;

// Groups open at once. The parser descends four calls per group.
inline constexpr std::size_t kMaxNesting = 200;

// NFA transitions. Leaves are shared and split into disjoint pieces, so a
// short pattern with many overlapping class ranges can still expand a lot.
inline constexpr std::size_t kMaxNfaTransitions = 100000;

// DFA states of the subset construction, and its total work: NFA-set words
// made or scanned plus transitions followed. Together they bound its time
// (well under a second) and its memory (sets are kept per state).
inline constexpr std::size_t kMaxDfaStates = 20000;
inline constexpr std::size_t kMaxDfaWork = 30000000;

}  // namespace tabulo::regex::limits
