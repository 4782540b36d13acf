#include "search/engine/replace_all.h"

namespace tabulo::search {

namespace {

// Progress is reported after lines, at most once per this many bytes.
constexpr std::size_t kProgressBytes = 1 << 20;

}  // namespace

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

ReplaceResult replaceAllInText(const TextMatcher& matcher, std::string_view text, std::string_view replacement,
                               std::string& out, const ReplaceProgressFn& progress) {
    ReplaceResult result;
    out.reserve(out.size() + text.size());
    if (matcher.crossesLines()) {
        result.count = replaceMatches(matcher, text, replacement, out);
        return result;
    }
    std::size_t reported = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        // The line runs to the first CR or LF.
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
        result.count += replaceMatches(matcher, text.substr(pos, end - pos), replacement, out);
        std::size_t next = end;
        if (next < text.size()) next += (text[next] == '\r' && next + 1 < text.size() && text[next + 1] == '\n') ? 2 : 1;
        out.append(text.substr(end, next - end));
        pos = next;
        if (progress && pos - reported >= kProgressBytes) {
            reported = pos;
            if (!progress(pos)) {
                result.stopped = true;
                return result;
            }
        }
    }
    return result;
}

}  // namespace tabulo::search
