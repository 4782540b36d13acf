// TextMatcher: one compiled search — a pattern with its options — matched
// against lines or against a whole text. Plain patterns are compared byte
// for byte (ASCII letters folded per character unless case matters);
// regular-expression and fuzzy patterns run on the program's pattern engine.
// Every match starts and ends at character boundaries and passes the
// whole-word rule when that option is on. A search takes the leftmost match
// the engine finds; when that one is empty the search has found nothing, so
// a pattern such as b* finds nothing in abc (its leftmost match is the empty
// one in front of a). Shared by the find dialog, the match highlight and
// `tabulo-cli replace`.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/engine/search_options.h"

namespace tabulo::regex {
class TAWKStr;
class SearchMemo;
}

namespace tabulo::search {

// A byte range of the searched text.
struct TextMatch {
    std::size_t start;
    std::size_t length;
    std::size_t end() const { return start + length; }
    bool operator==(const TextMatch&) const = default;
};

class TextMatcher {
public:
    // Raises regex::ERegExpParser for a pattern the engine refuses.
    TextMatcher(std::string pattern, SearchOptions options);
    ~TextMatcher();
    TextMatcher(TextMatcher&&) noexcept;
    TextMatcher& operator=(TextMatcher&&) noexcept;

    const std::string& pattern() const { return m_pattern; }
    const SearchOptions& options() const { return m_options; }
    // A regular expression written with \n matches across line breaks, so it
    // searches the whole text (lines joined with CR LF) rather than line by
    // line.
    bool crossesLines() const { return m_crossesLines; }

    // The first match that starts at or after `from` (a character start)
    // and before `startLimit`; nothing when there is none or when it is
    // empty. The start of the text and every position after a line feed are
    // line heads; the end of the text and every position before a carriage
    // return are line tails. Searches of one unchanged text one after
    // another (every match of it) pass one memo, which keeps them linear in
    // the text together; it belongs to this matcher and that text.
    std::optional<TextMatch> find(std::string_view text, std::size_t from = 0,
                                  std::size_t startLimit = std::string_view::npos,
                                  regex::SearchMemo* memo = nullptr) const;
    // The same, an empty match included: a long text is searched piece by
    // piece this way, each piece's matches the same as the whole text's, and
    // an empty one ends the search.
    std::optional<TextMatch> leftmost(std::string_view text, std::size_t from = 0,
                                      std::size_t startLimit = std::string_view::npos,
                                      regex::SearchMemo* memo = nullptr) const;
    // The last match that starts before `before`, matches taken one after
    // another from the start of the text.
    std::optional<TextMatch> findLastBefore(std::string_view text, std::size_t before) const;

private:
    std::optional<TextMatch> findCandidate(std::string_view text, std::size_t from, std::size_t limit,
                                           regex::SearchMemo* memo) const;
    std::optional<TextMatch> findPlain(std::string_view text, std::size_t from, std::size_t limit) const;
    std::optional<TextMatch> findPattern(std::string_view text, std::size_t from, std::size_t limit,
                                         regex::SearchMemo* memo) const;
    // The first match from `from` up to the next zero byte.
    std::optional<TextMatch> findPatternBefore(std::string_view text, std::size_t from, std::size_t limit,
                                               regex::SearchMemo* memo) const;

    std::string m_pattern;        // for plain search without case: folded
    std::vector<bool> m_foldsAt;  // plain search without case: pattern bytes that are letters of their own
    SearchOptions m_options;
    bool m_crossesLines = false;
    bool m_anchored = false;
    bool m_startByte[256] = {};  // bytes a plain match can start with
    std::unique_ptr<regex::TAWKStr> m_engine;
};

}  // namespace tabulo::search
