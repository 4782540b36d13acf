#include "search/engine/replace_all.h"

#include <utility>

namespace tabulo::search {

std::size_t replaceMatches(const TextMatcher& matcher, std::string_view text, std::string_view replacement,
                           std::string& out) {
    return *replaceMatches(matcher, text, replacement, out, {});
}

std::optional<std::size_t> replaceMatches(const TextMatcher& matcher, std::string_view text,
                                          std::string_view replacement, std::string& out, KeepGoing keepGoing) {
    PacedSearch search(matcher, text, std::move(keepGoing));
    std::size_t count = 0;
    std::size_t copied = 0;
    for (std::optional<TextMatch> m = search.find(0); m; m = search.find(m->end())) {
        out.append(text.substr(copied, m->start - copied));
        out.append(replacement);
        copied = m->end();
        ++count;
    }
    if (search.stopped()) return std::nullopt;
    out.append(text.substr(copied));
    return count;
}

}  // namespace tabulo::search
