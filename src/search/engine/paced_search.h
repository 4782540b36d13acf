// PacedSearch: matches over a long text found piece by piece, the caller
// asked between pieces whether to go on, so that a window can show progress
// and honour its stop command in the middle of one search. Pieces end at
// line heads about a megabyte apart; what is found is exactly what one
// search over the whole text finds.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>

#include "regex/match_core.h"
#include "search/engine/text_matcher.h"

namespace tabulo::search {

// Asked with the bytes searched so far and the text's size; false stops.
using KeepGoing = std::function<bool(std::size_t done, std::size_t total)>;

class PacedSearch {
public:
    PacedSearch(const TextMatcher& matcher, std::string_view text, KeepGoing keepGoing);

    // The first match at or after `from` (a character start); nothing when
    // there is none or when the caller said stop (then stopped() is true).
    std::optional<TextMatch> find(std::size_t from);
    bool stopped() const { return m_stopped; }

private:
    bool keepGoing(std::size_t done);
    std::size_t pieceEnd(std::size_t from);
    std::size_t nextLineFeed(std::size_t at);

    const TextMatcher& m_matcher;
    std::string_view m_text;
    KeepGoing m_keepGoing;
    std::size_t m_nextQuestion = 0;
    bool m_stopped = false;
    // No line feed in [m_feedSearchedFrom, m_nextFeed); npos: none behind it.
    std::size_t m_feedSearchedFrom = std::string_view::npos;
    std::size_t m_nextFeed = std::string_view::npos;
    // What the pattern engine learnt of the text, for the pieces and finds after.
    regex::SearchMemo m_memo;
};

}  // namespace tabulo::search
