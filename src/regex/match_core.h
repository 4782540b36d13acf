// TMatchCORE finds the leftmost-longest match of the current pattern in a
// subject by walking the automaton, resolving the line-head anchor at the
// subject start and after every line feed, and the line-tail anchor before
// the separator character (LineSeparator) and at the subject end.
// A subject ends at its first zero byte; the searches find that end as they
// walk, so a search that stops early never reads the rest of a long text.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

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

class TMatchCORE : public TRegularExpression {
public:
    TMatchCORE_LineSeparator LineSeparator() const { return m_separator; }
    void SetLineSeparator(TMatchCORE_LineSeparator s) { m_separator = s; }

    // The leftmost-longest match starting within `starts`. plainSearch
    // serves patterns without anchors; it takes no line heads.
    std::optional<MatchSpan> plainSearch(std::string_view subject, SearchStarts starts = {}) const;
    std::optional<MatchSpan> anchoredSearch(std::string_view subject, SearchStarts starts = {}) const;

protected:
    // End of the longest match from pos starting in state, if any.
    std::optional<std::size_t> longestMatch(std::string_view subject, std::size_t pos, int state) const;
    std::optional<std::size_t> anchoredAttempt(std::string_view subject, std::size_t pos) const;

private:
    TMatchCORE_LineSeparator m_separator = TMatchCORE_LineSeparator::mcls_CRLF;
};

}  // namespace tabulo::regex
