// TMatchCORE finds the leftmost-longest match of the current pattern in a
// subject by walking the automaton, resolving the line-head anchor at the
// subject start and after every line feed, and the line-tail anchor before
// the separator character (LineSeparator) and at the subject end.
// A subject ends at its first zero byte; the searches find that end as they
// walk, so a search that stops early never reads the rest of a long text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "regex/regular_expression.h"

namespace tabulo::regex {

enum class TMatchCORE_LineSeparator { mcls_CRLF, mcls_LF };

// Byte offsets into the subject, end >= start.
struct MatchSpan {
    std::size_t start;
    std::size_t end;
    friend bool operator==(const MatchSpan&, const MatchSpan&) = default;
};

// Which starts a search tries: those before `limit` (a long text searched
// piece by piece), and whether the subject's first position is a line head
// (false for a subject cut out of a line).
struct SearchStarts {
    std::size_t limit = static_cast<std::size_t>(-1);
    bool firstIsLineHead = true;
};

// What one backward walk over a subject learnt: at which character starts
// an attempt can give a match. A caller that searches one unchanged text
// again and again with one pattern (replace all, a long text searched piece
// by piece, every match of a line) keeps one, so that the searches from
// later starts in the same subject use it instead of walking again; it
// names the text by address, so it is dropped (or a new one taken) when
// the text or the pattern changes.
class SearchMemo {
public:
    void clear() { *this = SearchMemo(); }

private:
    friend class TMatchCORE;
    // Whether it speaks of a subject starting at begin.
    bool covers(const char* begin, const char* viewEnd) const;

    const char* m_base = nullptr;  // the first position covered
    const char* m_end = nullptr;   // the subject's end
    bool m_endIsZero = false;      // the end is a zero byte, not the end of the view
    bool m_baseIsLineHead = false;
    bool m_noMatch = false;        // no attempt from m_base on can match: no bits kept
    bool m_matchSeen = false;      // the forward walk found a match ending: not worth walking again
    std::vector<std::uint64_t> m_plain;  // bit i: the attempt at m_base + i may match
    std::vector<std::uint64_t> m_head;   // bit i: the line-head attempt there may match
};

class TMatchCORE : public TRegularExpression {
public:
    TMatchCORE_LineSeparator LineSeparator() const { return m_separator; }
    void SetLineSeparator(TMatchCORE_LineSeparator s) { m_separator = s; }

    // Bytes the failing attempts of a search may walk, beside four times the
    // distance searched, before one backward walk takes over (see
    // plainSearch). At 0 the walk takes over as soon as a failing attempt
    // has read a byte, which tests use to check that both ways find the same.
    static constexpr std::size_t kDefaultAttemptBudget = 4096;
    void SetAttemptBudget(std::size_t bytes) { m_attemptBudget = bytes; }

    // The leftmost-longest match starting within `starts`. plainSearch
    // serves patterns without anchors; it takes no line heads. Each takes
    // time linear in the subject: attempts that fail far into it soon give
    // way to one backward walk, kept in memo when one is given.
    std::optional<MatchSpan> plainSearch(std::string_view subject, SearchStarts starts = {},
                                         SearchMemo* memo = nullptr) const;
    std::optional<MatchSpan> anchoredSearch(std::string_view subject, SearchStarts starts = {},
                                            SearchMemo* memo = nullptr) const;

protected:
    // States that attempts which failed had at positions, so that a later
    // attempt that reaches one of them in the same state stops there: from
    // that point on it would fail as that one did. Kept by position modulo
    // the table's size, recorded while walking: a search drops it when an
    // attempt succeeds.
    struct FailedWalks {
        struct Seen {
            std::size_t pos = static_cast<std::size_t>(-1);
            int state = 0;
            std::size_t cacheResets = 0;  // state names the same set only while this stays
        };
        std::vector<Seen> seen;  // empty until an attempt has failed
    };

    // End of the longest match from pos starting in state, if any. The
    // bytes read are added to walked. With failed, the walk stops where it
    // meets a failed one, and records its own states.
    std::optional<std::size_t> longestMatch(std::string_view subject, std::size_t pos, int state, std::size_t& walked,
                                            FailedWalks* failed = nullptr) const;
    std::optional<std::size_t> anchoredAttempt(std::string_view subject, std::size_t pos, std::size_t& walked,
                                               FailedWalks* failed = nullptr) const;

private:
    Code separatorCode() const { return m_separator == TMatchCORE_LineSeparator::mcls_CRLF ? 13 : 10; }
    bool overBudget(std::size_t walked, std::size_t start) const {
        return m_attemptBudget == 0 ? walked > 0 : walked > 4 * (start + m_attemptBudget);
    }
    std::optional<std::size_t> plainAttempt(std::string_view subject, std::size_t start, std::size_t& walked) const;
    // Fills memo for the subject from `from` on with one backward walk.
    void walkBackwards(std::string_view subject, std::size_t from, bool fromIsLineHead, bool anchored,
                       SearchMemo& memo) const;
    // The search from pos on where memo covers the subject; headTried: the
    // line-head attempt at pos has been made.
    std::optional<MatchSpan> plainFromMemo(std::string_view subject, std::size_t pos, SearchStarts starts,
                                           const SearchMemo& memo) const;
    std::optional<MatchSpan> anchoredFromMemo(std::string_view subject, std::size_t pos, SearchStarts starts,
                                              bool headTried, const SearchMemo& memo) const;

    TMatchCORE_LineSeparator m_separator = TMatchCORE_LineSeparator::mcls_CRLF;
    std::size_t m_attemptBudget = kDefaultAttemptBudget;
};

}  // namespace tabulo::regex
