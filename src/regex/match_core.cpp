// The two searches over a subject and the longest match from a position.
#include "regex/match_core.h"

#include <vector>

namespace tabulo::regex {

namespace {

// Bytes the failing attempts of a search may walk, beside four times the
// distance searched, before the backward walk takes over.
constexpr std::size_t kAttemptBudgetBytes = 4096;

bool atEnd(std::string_view s, std::size_t pos) {
    return pos >= s.size() || s[pos] == '\0';
}

// Reads the character at pos: its code and byte length. The end (the
// subject's size or its first zero byte) reads as code 0 of length 0; a lead
// byte just before the end stands alone.
struct Char {
    Code code;
    std::size_t length;
};

Char readAt(std::string_view s, std::size_t pos) {
    if (atEnd(s, pos)) return {0, 0};
    const auto b = static_cast<unsigned char>(s[pos]);
    if (isLeadByte(b) && !atEnd(s, pos + 1)) {
        return {static_cast<Code>(b << 8 | static_cast<unsigned char>(s[pos + 1])), 2};
    }
    return {b, 1};
}

// Whether a match of at least one character ends anywhere in s: one walk
// that follows an attempt from every start at once.
bool anyMatchEnds(const TRE_DFA& a, std::string_view s) {
    detail::LazyDfa& every = a.everyStart();
    int state = every.initial();
    for (std::size_t pos = 0;;) {
        const Char c = readAt(s, pos);
        if (c.length == 0) return false;
        state = every.next(state, c.code);
        if (every.accepts(state)) return true;
        pos += c.length;
    }
}

// The first character start before limit at which a match of at least one
// character begins: the reversed pattern walked back from the subject's end
// over every character, so time linear in the subject however far the
// attempts from earlier starts would walk.
std::optional<std::size_t> firstMatchStart(const TRE_DFA& a, std::string_view s, std::size_t limit) {
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0;;) {
        const Char c = readAt(s, pos);
        if (c.length == 0) break;
        starts.push_back(pos);
        pos += c.length;
    }
    detail::LazyDfa& backwards = a.everyEndBackwards();
    int state = backwards.initial();
    std::optional<std::size_t> first;
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
        state = backwards.next(state, readAt(s, *it).code);
        if (backwards.accepts(state) && *it < limit) first = *it;
    }
    return first;
}

}  // namespace

std::optional<std::size_t> TMatchCORE::longestMatch(std::string_view s, std::size_t pos, int state) const {
    if (state == TRE_DFA::kNone) return std::nullopt;
    const TRE_DFA& a = dfa();
    std::optional<std::size_t> last;
    Char c{0, 0};
    for (;;) {
        if (a.accepts(state)) last = pos;
        c = readAt(s, pos);
        // The end of the subject never advances, so no transition is taken on it.
        if (c.length == 0) break;
        const int nextState = a.next(state, c.code);
        if (nextState == TRE_DFA::kNone) break;
        state = nextState;
        pos += c.length;
    }
    const Code separator = m_separator == TMatchCORE_LineSeparator::mcls_CRLF ? 13 : 10;
    if (c.code != 0 && c.code != separator) return last;
    if (a.next(state, lineTailCodeInUse()) != TRE_DFA::kNone) return pos;
    return last;
}

std::optional<MatchSpan> TMatchCORE::plainSearch(std::string_view s, SearchStarts starts) const {
    const TRE_DFA& a = dfa();
    if (atEnd(s, 0)) {
        if (a.accepts(a.initial()) && starts.limit > 0) return MatchSpan{0, 0};
        return std::nullopt;
    }
    // Each start's attempt walks on until the automaton dies, which on a
    // long subject without a match (a*b over a line of a) is the rest of it
    // from every start: when no match can be empty, one walk over the whole
    // subject first tells whether there is any. A piece of a longer text
    // (a limit) is left to the attempts, so the pieces never walk the rest
    // of the text again and again.
    if (starts.limit == static_cast<std::size_t>(-1) && !a.accepts(a.initial()) && !anyMatchEnds(a, s)) {
        return std::nullopt;
    }
    // Attempts that fail may each walk far (a*b over a line of a with one b
    // at its end): past a budget of walking the subject a few times over,
    // one backward walk finds the first start instead.
    bool budgeted = starts.limit == static_cast<std::size_t>(-1);
    std::size_t walked = 0;
    for (std::size_t start = 0; start < starts.limit && !atEnd(s, start);) {
        if (budgeted && walked > 4 * (start + kAttemptBudgetBytes)) {
            const std::optional<std::size_t> first = firstMatchStart(a, s, starts.limit);
            if (!first) return std::nullopt;
            start = *first;  // its attempt succeeds
            budgeted = false;
        }
        int state = a.initial();
        std::size_t pos = start;
        std::optional<std::size_t> end;
        for (;;) {
            if (a.accepts(state)) end = pos;
            const Char c = readAt(s, pos);
            if (c.length == 0) break;
            state = a.next(state, c.code);
            if (state == TRE_DFA::kNone) break;
            pos += c.length;
        }
        if (end) return MatchSpan{start, *end};
        walked += pos - start;
        start += readAt(s, start).length;
    }
    return std::nullopt;
}

std::optional<std::size_t> TMatchCORE::anchoredAttempt(std::string_view s, std::size_t pos) const {
    const TRE_DFA& a = dfa();
    if (!a.startsWithLineHead()) return longestMatch(s, pos, a.initial());
    const auto anchored = longestMatch(s, pos, a.next(a.initial(), lineHeadCodeInUse()));
    if (!anchored) return std::nullopt;
    const auto plain = longestMatch(s, pos, a.initial());
    return plain && *plain > *anchored ? plain : anchored;
}

std::optional<MatchSpan> TMatchCORE::anchoredSearch(std::string_view s, SearchStarts starts) const {
    const TRE_DFA& a = dfa();
    if (starts.limit == 0) return std::nullopt;
    if (starts.firstIsLineHead) {
        if (const auto end = anchoredAttempt(s, 0)) return MatchSpan{0, *end};
    }
    std::size_t pos = 0;
    for (; pos < starts.limit && !atEnd(s, pos);) {
        if (const auto end = longestMatch(s, pos, a.initial())) return MatchSpan{pos, *end};
        if (s[pos] == '\n' && a.startsWithLineHead() && pos + 1 < starts.limit) {
            if (const auto end = anchoredAttempt(s, pos + 1)) return MatchSpan{pos + 1, *end};
        }
        pos += readAt(s, pos).length;
    }
    if (pos < starts.limit && a.endsWithLineTail() && a.next(a.initial(), lineTailCodeInUse()) != TRE_DFA::kNone) {
        return MatchSpan{pos, pos};
    }
    return std::nullopt;
}

}  // namespace tabulo::regex
