#include "search/engine/replace_all.h"

namespace tabulo::search {

std::size_t replaceMatches(const TextMatcher& matcher, std::string_view text, std::string_view replacement,
                           std::string& out) {
    std::size_t count = 0;
    std::size_t copied = 0;
    for (std::optional<TextMatch> m = matcher.find(text, 0); m; m = matcher.find(text, m->end())) {
        out.append(text.substr(copied, m->start - copied));
        out.append(replacement);
        copied = m->end();
        ++count;
    }
    out.append(text.substr(copied));
    return count;
}

}  // namespace tabulo::search
