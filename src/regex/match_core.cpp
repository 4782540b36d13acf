// The two searches over a subject, the longest match from a position, and
// the backward walk that tells the searches which starts can match.
#include "regex/match_core.h"

#include <algorithm>
#include <bit>
#include <vector>

namespace tabulo::regex {

namespace {

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

// Where s ends when no match of at least one character ends anywhere in
// it, nothing when one does: one walk that follows an attempt from every
// start at once.
std::optional<std::size_t> endWithoutMatch(const TRE_DFA& a, std::string_view s) {
    detail::LazyDfa& every = a.everyStart();
    int state = every.initial();
    for (std::size_t pos = 0;;) {
        const Char c = readAt(s, pos);
        if (c.length == 0) return pos;
        state = every.next(state, c.code);
        if (every.accepts(state)) return std::nullopt;
        pos += c.length;
    }
}

bool hasBit(const std::vector<std::uint64_t>& bits, std::size_t i) { return (bits[i / 64] >> (i % 64)) & 1; }
void setBit(std::vector<std::uint64_t>& bits, std::size_t i) { bits[i / 64] |= std::uint64_t{1} << (i % 64); }
void clearBit(std::vector<std::uint64_t>& bits, std::size_t i) { bits[i / 64] &= ~(std::uint64_t{1} << (i % 64)); }

constexpr std::size_t kNoBit = static_cast<std::size_t>(-1);

// Positions of failed attempts remembered for the attempts after them: a
// text's attempts walk it again from the start only once in this many
// bytes of starts.
constexpr std::size_t kFailedWalkBytes = std::size_t{1} << 20;

// The first index at or after i and before bound set in either bit vector
// (the second may be empty), or kNoBit: a piece of a long text looks no
// further than its own starts.
std::size_t nextBit(const std::vector<std::uint64_t>& one, const std::vector<std::uint64_t>& other, std::size_t i,
                    std::size_t bound) {
    for (std::size_t w = i / 64; w < one.size() && w * 64 < bound; ++w) {
        std::uint64_t bits = one[w] | (w < other.size() ? other[w] : 0);
        if (w == i / 64) bits &= ~std::uint64_t{0} << (i % 64);
        if (bits) return w * 64 + static_cast<std::size_t>(std::countr_zero(bits));
    }
    return kNoBit;
}

}  // namespace

bool SearchMemo::covers(const char* begin, const char* viewEnd) const {
    return m_base && begin >= m_base && begin <= m_end && (viewEnd == m_end || (m_endIsZero && viewEnd > m_end));
}

std::optional<std::size_t> TMatchCORE::longestMatch(std::string_view s, std::size_t pos, int state, std::size_t& walked,
                                                    FailedWalks* failed) const {
    if (state == TRE_DFA::kNone) return std::nullopt;
    const TRE_DFA& a = dfa();
    const std::size_t start = pos;
    const bool recording = failed && !failed->seen.empty();
    std::optional<std::size_t> last;
    Char c{0, 0};
    for (;;) {
        // A walk records no more than the table holds, so that it never
        // overwrites its own first positions, which the next start meets.
        if (recording && pos - start < failed->seen.size()) {
            FailedWalks::Seen& seen = failed->seen[pos % failed->seen.size()];
            const std::size_t resets = a.cacheResets();
            if (seen.pos == pos && seen.state == state && seen.cacheResets == resets) {
                walked += pos - start;
                return last;
            }
            seen = {pos, state, resets};
        }
        if (a.accepts(state)) last = pos;
        c = readAt(s, pos);
        // The end of the subject never advances, so no transition is taken on it.
        if (c.length == 0) break;
        const int nextState = a.next(state, c.code);
        if (nextState == TRE_DFA::kNone) break;
        state = nextState;
        pos += c.length;
    }
    walked += pos - start;
    std::optional<std::size_t> result = last;
    if (c.code == 0 || c.code == separatorCode()) {
        if (a.next(state, lineTailCodeInUse()) != TRE_DFA::kNone) result = pos;
    }
    // Recording starts with the attempts after the first that fails.
    if (failed && !result && failed->seen.empty()) failed->seen.resize(std::min(kFailedWalkBytes, s.size() + 1));
    return result;
}

std::optional<std::size_t> TMatchCORE::plainAttempt(std::string_view s, std::size_t start, std::size_t& walked) const {
    const TRE_DFA& a = dfa();
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
    walked += pos - start;
    return end;
}

// The attempts from the character starts, in order, each walking until the
// automaton dies, may each walk far (a*b over a line of a, with or without
// one b at its end): past a budget of walking the subject a few times over,
// one backward walk over the rest tells at which starts an attempt can
// match, and only those are tried.
void TMatchCORE::walkBackwards(std::string_view s, std::size_t from, bool fromIsLineHead, bool anchored,
                               SearchMemo& memo) const {
    const TRE_DFA& a = dfa();
    const std::size_t end = std::min(s.find('\0', from), s.size());
    const std::size_t n = end - from;
    // Character starts first; each is then cleared unless its attempt can match.
    std::vector<std::uint64_t> starts(n / 64 + 1, 0);
    for (std::size_t pos = from; pos < end; pos += readAt(s, pos).length) setBit(starts, pos - from);
    const bool heads = anchored && a.startsWithLineHead();
    memo.clear();
    if (heads) memo.m_head.assign(n / 64 + 1, 0);
    detail::LazyDfa& back = a.everyEndBackwards(anchored ? std::optional<Code>(separatorCode()) : std::nullopt);
    int state = back.initial();
    // The subject's end is a line tail.
    if (anchored) state = back.next(state, lineTailCodeInUse());
    const auto markHead = [&](std::size_t i) {
        const bool lineHead = i == 0 ? fromIsLineHead : s[from + i - 1] == '\n' && hasBit(starts, i - 1);
        if (lineHead && back.accepts(back.next(state, lineHeadCodeInUse()))) setBit(memo.m_head, i);
    };
    if (heads) markHead(n);
    for (std::size_t i = n; i-- > 0;) {
        if (!hasBit(starts, i)) continue;
        state = back.next(state, readAt(s, from + i).code);
        if (!back.accepts(state)) clearBit(starts, i);
        if (heads) markHead(i);
    }
    memo.m_base = s.data() + from;
    memo.m_end = s.data() + end;
    memo.m_endIsZero = end < s.size();
    memo.m_baseIsLineHead = fromIsLineHead;
    memo.m_matchSeen = true;
    memo.m_plain = std::move(starts);
}

// The memo's bit i stands for the position i - shift of a subject, where
// shift (subject start minus the memo's first position) may be negative:
// the arithmetic wraps both ways.
std::optional<MatchSpan> TMatchCORE::plainFromMemo(std::string_view s, std::size_t pos, SearchStarts starts,
                                                   const SearchMemo& memo) const {
    if (memo.m_noMatch) return std::nullopt;
    const auto shift = static_cast<std::size_t>(s.data() - memo.m_base);
    const auto end = static_cast<std::size_t>(memo.m_end - s.data());
    const std::size_t bound = std::min(end, starts.limit) + shift;
    for (std::size_t i = nextBit(memo.m_plain, memo.m_head, pos + shift, bound); i != kNoBit;
         i = nextBit(memo.m_plain, memo.m_head, i + 1, bound)) {
        const std::size_t at = i - shift;
        if (at >= end || at >= starts.limit) break;
        std::size_t walked = 0;
        if (const auto matchEnd = plainAttempt(s, at, walked)) return MatchSpan{at, *matchEnd};
    }
    return std::nullopt;
}

std::optional<MatchSpan> TMatchCORE::anchoredFromMemo(std::string_view s, std::size_t pos, SearchStarts starts,
                                                      bool headTried, const SearchMemo& memo) const {
    const TRE_DFA& a = dfa();
    const auto shift = static_cast<std::size_t>(s.data() - memo.m_base);
    const auto end = static_cast<std::size_t>(memo.m_end - s.data());
    std::size_t walked = 0;
    if (!headTried && starts.firstIsLineHead && a.startsWithLineHead()) {
        // The walk looked at this start as a line head only where the
        // character before it is a line feed for certain (or it was the
        // walk's own first start): elsewhere the attempt is made.
        const char* at = s.data() + pos;
        const bool looked = at == memo.m_base ? memo.m_baseIsLineHead
                                              : at[-1] == '\n' && (at - 1 == memo.m_base ||
                                                                    !isLeadByte(static_cast<unsigned char>(at[-2])));
        if (!looked || hasBit(memo.m_head, pos + shift)) {
            if (const auto matchEnd = anchoredAttempt(s, pos, walked)) return MatchSpan{pos, *matchEnd};
        }
    }
    // Line heads up to the end itself, plain attempts before it. The walk
    // may name starts whose attempt passes a line tail it could have
    // ended at and fails further on; the attempts after such a one stop
    // where they meet it.
    FailedWalks failed;
    const std::size_t bound = std::min(end + 1, starts.limit) + shift;
    for (std::size_t i = nextBit(memo.m_plain, memo.m_head, pos + shift, bound); i != kNoBit;
         i = nextBit(memo.m_plain, memo.m_head, i + 1, bound)) {
        const std::size_t at = i - shift;
        if (at > end || at >= starts.limit) break;
        if (at > pos && !memo.m_head.empty() && hasBit(memo.m_head, i)) {
            if (const auto matchEnd = anchoredAttempt(s, at, walked, &failed)) return MatchSpan{at, *matchEnd};
        }
        if (at < end && hasBit(memo.m_plain, i)) {
            if (const auto matchEnd = longestMatch(s, at, a.initial(), walked, &failed)) return MatchSpan{at, *matchEnd};
        }
    }
    if (end < starts.limit && a.endsWithLineTail() && a.next(a.initial(), lineTailCodeInUse()) != TRE_DFA::kNone) {
        return MatchSpan{end, end};
    }
    return std::nullopt;
}

std::optional<MatchSpan> TMatchCORE::plainSearch(std::string_view s, SearchStarts starts, SearchMemo* memo) const {
    const TRE_DFA& a = dfa();
    if (atEnd(s, 0)) {
        if (a.accepts(a.initial()) && starts.limit > 0) return MatchSpan{0, 0};
        return std::nullopt;
    }
    // A pattern that matches the empty string matches at the first start.
    const bool emptyMatches = a.accepts(a.initial());
    if (!emptyMatches && memo && memo->covers(s.data(), s.data() + s.size())) return plainFromMemo(s, 0, starts, *memo);
    const bool piece = starts.limit != static_cast<std::size_t>(-1);
    // Each start's attempt walks on until the automaton dies, which on a
    // long subject without a match (a*b over a line of a) is the rest of it
    // from every start: when no match can be empty, one walk over the whole
    // subject first tells whether there is any. The pieces of a longer text
    // (a limit) make that walk once, with a memo, and never without one, so
    // that they do not walk the rest of the text again and again.
    if (!emptyMatches && (memo ? !memo->m_matchSeen : !piece)) {
        if (const auto end = endWithoutMatch(a, s)) {
            if (memo) {
                memo->clear();
                memo->m_base = s.data();
                memo->m_end = s.data() + *end;
                memo->m_endIsZero = *end < s.size();
                memo->m_noMatch = true;
            }
            return std::nullopt;
        }
        if (memo) memo->m_matchSeen = true;
    }
    const bool budgeted = !emptyMatches && (!piece || memo);
    std::size_t walked = 0;
    for (std::size_t start = 0; start < starts.limit && !atEnd(s, start);) {
        if (budgeted && overBudget(walked, start)) {
            SearchMemo local;
            SearchMemo& kept = memo ? *memo : local;
            walkBackwards(s, start, false, false, kept);
            return plainFromMemo(s, start, starts, kept);
        }
        if (const auto end = plainAttempt(s, start, walked)) return MatchSpan{start, *end};
        start += readAt(s, start).length;
    }
    return std::nullopt;
}

std::optional<std::size_t> TMatchCORE::anchoredAttempt(std::string_view s, std::size_t pos, std::size_t& walked,
                                                       FailedWalks* failed) const {
    const TRE_DFA& a = dfa();
    if (!a.startsWithLineHead()) return longestMatch(s, pos, a.initial(), walked, failed);
    const auto anchored = longestMatch(s, pos, a.next(a.initial(), lineHeadCodeInUse()), walked, failed);
    if (!anchored) return std::nullopt;
    const auto plain = longestMatch(s, pos, a.initial(), walked);
    return plain && *plain > *anchored ? plain : anchored;
}

std::optional<MatchSpan> TMatchCORE::anchoredSearch(std::string_view s, SearchStarts starts, SearchMemo* memo) const {
    const TRE_DFA& a = dfa();
    if (starts.limit == 0) return std::nullopt;
    // A pattern that matches the empty string matches at the first start.
    const bool emptyMatches = a.accepts(a.initial());
    if (!emptyMatches && memo && memo->covers(s.data(), s.data() + s.size())) {
        return anchoredFromMemo(s, 0, starts, false, *memo);
    }
    const bool budgeted = !emptyMatches && (starts.limit == static_cast<std::size_t>(-1) || memo);
    std::size_t walked = 0;
    if (starts.firstIsLineHead) {
        if (const auto end = anchoredAttempt(s, 0, walked)) return MatchSpan{0, *end};
    }
    // Whether pos is a line head; its line-head attempt has then been made.
    bool lineHead = starts.firstIsLineHead;
    std::size_t pos = 0;
    for (; pos < starts.limit && !atEnd(s, pos);) {
        if (budgeted && overBudget(walked, pos)) {
            SearchMemo local;
            SearchMemo& kept = memo ? *memo : local;
            walkBackwards(s, pos, lineHead, true, kept);
            return anchoredFromMemo(s, pos, starts, true, kept);
        }
        if (const auto end = longestMatch(s, pos, a.initial(), walked)) return MatchSpan{pos, *end};
        lineHead = s[pos] == '\n';
        if (lineHead && a.startsWithLineHead() && pos + 1 < starts.limit) {
            if (const auto end = anchoredAttempt(s, pos + 1, walked)) return MatchSpan{pos + 1, *end};
        }
        pos += readAt(s, pos).length;
    }
    if (pos < starts.limit && a.endsWithLineTail() && a.next(a.initial(), lineTailCodeInUse()) != TRE_DFA::kNone) {
        return MatchSpan{pos, pos};
    }
    return std::nullopt;
}

}  // namespace tabulo::regex
