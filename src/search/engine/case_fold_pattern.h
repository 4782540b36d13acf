// Case-insensitive regular expressions: the pattern is rewritten token by
// token so that every ASCII letter it matches also matches the letter's
// other case — an ordinary letter (written or escaped) becomes a group of
// both cases, a class gains the other case of its letters and ranges.
// Nothing else is touched: escapes such as \N or \x41 keep their meaning,
// and trail bytes of double-byte characters are never changed.
#pragma once

#include <string>

namespace tabulo::search {

// Raises the pattern engine's ERegExpParser for a pattern its scanner
// refuses.
std::string foldCaseInPattern(const std::string& pattern);

}  // namespace tabulo::search
