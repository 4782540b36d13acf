// Replace all: every match of a search replaced by a fixed text (taken as
// it is: backslashes and double-byte characters are plain bytes). After a
// replacement the search goes on behind the match, so the inserted text is
// never searched again. Shared by the find dialog and `tabulo-cli replace`.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "search/engine/text_matcher.h"

namespace tabulo::search {

// Appends `text` with every match replaced to `out`; returns the count.
std::size_t replaceMatches(const TextMatcher& matcher, std::string_view text, std::string_view replacement,
                           std::string& out);

// Called now and then with the bytes of the input done so far; false stops.
using ReplaceProgressFn = std::function<bool(std::size_t bytesDone)>;

struct ReplaceResult {
    std::size_t count = 0;
    bool stopped = false;  // out is then incomplete and must not be used
};

// Replace all over a whole text whose line breaks (CR LF, CR or LF) are
// kept byte for byte: line by line, or over the whole text at once when the
// pattern crosses lines.
ReplaceResult replaceAllInText(const TextMatcher& matcher, std::string_view text, std::string_view replacement,
                               std::string& out, const ReplaceProgressFn& progress = {});

}  // namespace tabulo::search
