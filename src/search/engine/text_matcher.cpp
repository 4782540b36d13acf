#include "search/engine/text_matcher.h"

#include <algorithm>
#include <cstring>

#include "regex/awk_str.h"
#include "regex/re_scanner.h"
#include "sjis/ascii_case.h"
#include "search/engine/case_fold_pattern.h"
#include "search/engine/text_chars.h"
#include "search/engine/whole_word.h"

namespace tabulo::search {

namespace {

// Whether the pattern can match a line feed: an escape of code 10 (\n,
// \x0A, \012) or a class range over it. Any other way of writing a line
// feed is a plain byte the dialog's single-line fields cannot hold.
bool matchesLineFeed(const std::string& pattern) {
    regex::TREScanner scanner(pattern);
    for (regex::TokenKind kind = scanner.next(); kind != regex::TokenKind::End; kind = scanner.next()) {
        if (kind == regex::TokenKind::Char && scanner.code() == '\n') return true;
        if (kind == regex::TokenKind::Range && scanner.code() <= '\n' && scanner.upperCode() >= '\n') return true;
    }
    return false;
}

}  // namespace

TextMatcher::TextMatcher(std::string pattern, SearchOptions options)
    : m_pattern(std::move(pattern)), m_options(options) {
    if (options.soRegexp || options.soFuzzy) {
        m_engine = std::make_unique<regex::TAWKStr>();
        m_engine->SetUseFuzzyCharDic(options.soFuzzy);
        m_engine->SetRegExp(options.soMatchCase ? m_pattern : foldCaseInPattern(m_pattern));
        m_crossesLines = matchesLineFeed(m_pattern);
        m_anchored = m_engine->dfa().startsWithLineHead() || m_engine->dfa().endsWithLineTail();
        return;
    }
    if (!options.soMatchCase) {
        // Letters that are characters of their own fold; a trail byte that
        // looks like a letter stays as it is and matches only itself.
        m_pattern = sjis::lowerAsciiLetters(m_pattern);
        m_foldsAt.assign(m_pattern.size(), false);
        for (std::size_t i = 0; i < m_pattern.size(); i += charLengthAt(m_pattern, i)) {
            m_foldsAt[i] = m_pattern[i] >= 'a' && m_pattern[i] <= 'z';
        }
    }
    if (!m_pattern.empty()) {
        const auto first = static_cast<unsigned char>(m_pattern[0]);
        m_startByte[first] = true;
        if (!options.soMatchCase && first >= 'a' && first <= 'z') m_startByte[first - ('a' - 'A')] = true;
    }
}

TextMatcher::~TextMatcher() = default;
TextMatcher::TextMatcher(TextMatcher&&) noexcept = default;
TextMatcher& TextMatcher::operator=(TextMatcher&&) noexcept = default;

std::optional<TextMatch> TextMatcher::find(std::string_view text, std::size_t from, std::size_t startLimit,
                                           regex::SearchMemo* memo) const {
    const std::optional<TextMatch> m = leftmost(text, from, startLimit, memo);
    if (!m || m->length == 0) return std::nullopt;
    return m;
}

std::optional<TextMatch> TextMatcher::leftmost(std::string_view text, std::size_t from, std::size_t startLimit,
                                               regex::SearchMemo* memo) const {
    std::size_t pos = from;
    while (pos <= text.size() && pos < startLimit) {
        const std::optional<TextMatch> candidate = findCandidate(text, pos, startLimit, memo);
        if (!candidate) return std::nullopt;
        if (candidate->length == 0 || !m_options.soWholeWord ||
            isWholeWord(text, candidate->start, candidate->end())) {
            return candidate;
        }
        // One inside a longer word: look on from the next character.
        pos = candidate->start + charLengthAt(text, candidate->start);
    }
    return std::nullopt;
}

std::optional<TextMatch> TextMatcher::findLastBefore(std::string_view text, std::size_t before) const {
    regex::SearchMemo memo;
    std::optional<TextMatch> last;
    for (std::optional<TextMatch> m = find(text, 0, before, &memo); m; m = find(text, m->end(), before, &memo)) {
        last = m;
    }
    return last;
}

std::optional<TextMatch> TextMatcher::findCandidate(std::string_view text, std::size_t from, std::size_t limit,
                                                    regex::SearchMemo* memo) const {
    return m_engine ? findPattern(text, from, limit, memo) : findPlain(text, from, limit);
}

std::optional<TextMatch> TextMatcher::findPlain(std::string_view text, std::size_t from, std::size_t limit) const {
    const std::size_t n = m_pattern.size();
    if (n == 0 || text.size() < n || limit == 0) return std::nullopt;
    const char* base = text.data();
    const std::size_t last = std::min(text.size() - n, limit - 1);  // last possible start
    for (std::size_t pos = from; pos <= last;) {
        std::size_t start = 0;
        if (m_options.soMatchCase) {
            const void* hit = memmem(base + pos, last + n - pos, m_pattern.data(), n);
            if (!hit) return std::nullopt;
            start = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
        } else {
            start = pos;
            while (start <= last && !m_startByte[static_cast<unsigned char>(base[start])]) ++start;
            if (start > last) return std::nullopt;
            bool same = true;
            for (std::size_t k = 0; k < n && same; ++k) {
                const auto t = static_cast<unsigned char>(base[start + k]);
                const auto p = static_cast<unsigned char>(m_pattern[k]);
                // Only where the pattern has a letter of its own may the text
                // differ, by an ASCII capital: neither is a lead byte, so a
                // match cuts the text into the pattern's characters.
                same = t == p || (m_foldsAt[k] && sjis::lowerAsciiLetter(t) == p);
            }
            if (!same) {
                pos = start + 1;
                continue;
            }
        }
        if (isCharStart(text, start) && isCharStart(text, start + n)) return TextMatch{start, n};
        pos = start + 1;
    }
    return std::nullopt;
}

std::optional<TextMatch> TextMatcher::findPattern(std::string_view text, std::size_t from, std::size_t limit,
                                                  regex::SearchMemo* memo) const {
    // The engine's subject ends at a zero byte: a match found lies before
    // the first one, and without a match the search goes on behind it.
    const std::string_view searched = text.substr(0, std::min(text.size(), limit));
    for (;;) {
        if (const auto m = findPatternBefore(text, from, limit, memo)) return m;
        const std::size_t zero = searched.find('\0', from);
        if (zero == std::string_view::npos) return std::nullopt;
        from = zero + 1;
    }
}

std::optional<TextMatch> TextMatcher::findPatternBefore(std::string_view text, std::size_t from, std::size_t limit,
                                                        regex::SearchMemo* memo) const {
    if (from > text.size()) return std::nullopt;
    const std::string_view subject = text.substr(from);
    const regex::SearchStarts starts{
        .limit = limit == std::string_view::npos ? limit : limit - from,
        .firstIsLineHead = from == 0 || text[from - 1] == '\n',
    };
    const auto span = m_anchored ? m_engine->anchoredSearch(subject, starts, memo)
                                 : m_engine->plainSearch(subject, starts, memo);
    if (!span) return std::nullopt;
    return TextMatch{from + span->start, span->end - span->start};
}

}  // namespace tabulo::search
