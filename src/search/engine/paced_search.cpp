#include "search/engine/paced_search.h"

#include <utility>

namespace tabulo::search {

namespace {

// Bytes searched between two questions: a few milliseconds of searching.
constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

}  // namespace

PacedSearch::PacedSearch(const TextMatcher& matcher, std::string_view text, KeepGoing keepGoing)
    : m_matcher(matcher), m_text(text), m_keepGoing(std::move(keepGoing)) {}

bool PacedSearch::keepGoing(std::size_t done) {
    m_nextQuestion = done + kPieceBytes;
    m_stopped = m_keepGoing && !m_keepGoing(done, m_text.size());
    return !m_stopped;
}

std::size_t PacedSearch::pieceEnd(std::size_t from) {
    if (m_text.size() - from <= kPieceBytes) return std::string_view::npos;
    const std::size_t lineFeed = nextLineFeed(from + kPieceBytes);
    return lineFeed == std::string_view::npos ? lineFeed : lineFeed + 1;
}

// Remembered, so that the many finds of a replace-all over one long line
// look for its end once rather than once a match.
std::size_t PacedSearch::nextLineFeed(std::size_t at) {
    const bool known = m_feedSearchedFrom != std::string_view::npos && at >= m_feedSearchedFrom &&
                       (m_nextFeed == std::string_view::npos || m_nextFeed >= at);
    if (!known) {
        m_nextFeed = m_text.find('\n', at);
        m_feedSearchedFrom = at;
    }
    return m_nextFeed;
}

std::optional<TextMatch> PacedSearch::find(std::size_t from) {
    if (m_stopped || from > m_text.size()) return std::nullopt;
    for (;;) {
        if (from >= m_nextQuestion && !keepGoing(from)) return std::nullopt;
        const std::size_t end = pieceEnd(from);
        if (const auto m = m_matcher.leftmost(m_text, from, end, &m_memo)) {
            if (m->length == 0) return std::nullopt;
            return m;
        }
        if (end == std::string_view::npos) return std::nullopt;
        from = end;
    }
}

}  // namespace tabulo::search
