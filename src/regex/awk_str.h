// TAWKStr: awk-style string functions over the matcher — find a match,
// split a string at every match, expand backslash escapes. It carries the
// built-in fuzzy dictionary, used when UseFuzzyCharDic is on.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "regex/match_core.h"

namespace tabulo::regex {

class TAWKStr : public TMatchCORE {
public:
    TAWKStr();

    void SetRegExp(const std::string& pattern) override;

    // 1-based byte position of the leftmost-longest match, 0 when none;
    // length receives its byte length (0 when none or empty).
    std::size_t Match(const std::string& subject, std::size_t& length) const;
    // Clears fields, fills it with the fields between matches and returns
    // their number.
    std::size_t Split(const std::string& subject, std::vector<std::string>& fields) const;
    // Replaces every backslash escape by the character of its code.
    static std::string ExpandEscapes(const std::string& text);

private:
    std::optional<MatchSpan> search(std::string_view subject) const;

    bool m_anchored = false;
};

}  // namespace tabulo::regex
