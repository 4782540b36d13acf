// The resource bounds of the pattern engine. Patterns typed into a dialog are
// short; these limits are far above them and exist so that a pathological
// pattern (huge, or nested very deep) is refused with a pattern error instead
// of exhausting the memory or the stack. No pattern inside them is refused
// for being complex: the automaton is built while searching, in a bounded
// cache. Each is checked where the cost arises and raises ERegExpParser with
// its message.
#pragma once

#include <cstddef>

namespace tabulo::regex::limits {

// Bytes of a pattern as written, and after the dictionary rewrite (which
// turns each matched character into a group of its row, some ten times
// longer). Together they bound the parse tree, the NFA (which grows linearly
// with the tree) and the depth of the recursion over the tree (one level per
// atom of a sequence).
inline constexpr std::size_t kMaxPatternBytes = 8192;
inline constexpr std::size_t kMaxRewrittenBytes = 65536;

// Groups open at once. The parser descends four calls per group.
inline constexpr std::size_t kMaxNesting = 200;

}  // namespace tabulo::regex::limits
