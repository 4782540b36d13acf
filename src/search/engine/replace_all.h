// Replace all: every match of a search replaced by a fixed text (taken as
// it is: backslashes and double-byte characters are plain bytes). After a
// replacement the search goes on behind the match, so the inserted text is
// never searched again. The find dialog runs it line by line over the
// document (or over the whole text for a pattern across lines), and
// `tabulo-cli replace` over the lines it reads.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "search/engine/paced_search.h"
#include "search/engine/text_matcher.h"

namespace tabulo::search {

// Appends `text` with every match replaced to `out`; returns the count.
std::size_t replaceMatches(const TextMatcher& matcher, std::string_view text, std::string_view replacement,
                           std::string& out);
// The same over a long text, asking `keepGoing` now and then (see
// PacedSearch); nothing when it said stop, `out` then holding a part.
std::optional<std::size_t> replaceMatches(const TextMatcher& matcher, std::string_view text,
                                          std::string_view replacement, std::string& out, KeepGoing keepGoing);

}  // namespace tabulo::search
