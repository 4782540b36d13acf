// Replace all on texts: counts, inserted text never searched again,
// replacements with double-byte characters and backslashes taken as bytes,
// anchors at every line, and patterns across lines.
#include <gtest/gtest.h>

#include <string>

#include "search/engine/replace_all.h"
#include "search/engine/text_matcher.h"

using tabulo::search::replaceMatches;
using tabulo::search::SearchOptions;
using tabulo::search::TextMatcher;

namespace {

struct ReplaceCase {
    const char* name;
    std::string text;
    std::string pattern;
    std::string replacement;
    SearchOptions options;
    std::string expected;
    std::size_t count;
};

class ReplaceAllTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceAllTest, ReplacesEveryMatch) {
    const ReplaceCase& c = GetParam();
    std::string out = "kept:";
    EXPECT_EQ(replaceMatches(TextMatcher(c.pattern, c.options), c.text, c.replacement, out), c.count);
    EXPECT_EQ(out, "kept:" + c.expected);  // appended to what was there
}

constexpr SearchOptions kPlain{};
constexpr SearchOptions kRegexp{.soRegexp = true};

const ReplaceCase kReplaceCases[] = {
    {"InsertedTextIsNotSearchedAgain", "aaa", "a", "aa", kPlain, "aaaaaa", 3},
    {"OneAfterAnother", "x x x", "x", "y", kPlain, "y y y", 3},
    {"NothingMatches", "abc\r\n", "z", "y", kPlain, "abc\r\n", 0},
    // 表 and a backslash are plain bytes in a replacement.
    {"DoubleByteAndBackslash", "a-b", "-", "\x95\x5C\\n\\", kPlain, "a\x95\x5C\\n\\b", 1},
    {"TrailIsNotReplaced", "\x95\x5C\\", "\\", "/", kPlain, "\x95\x5C/", 1},
    {"EveryLineBreakKept", "a\r\nb\na\rc\x1A" "a", "a", "A", SearchOptions{.soMatchCase = true},
     "A\r\nb\nA\rc\x1A" "A", 3},
    {"LineHeadInEveryLine", "aaa\naa", "^a", "b", kRegexp, "baa\nba", 2},
    {"LineTailInEveryLine", "ab\r\nab", "b$", "c", kRegexp, "ac\r\nac", 2},
    {"AcrossLines", "a\r\nb\r\na\r\nb", "a\\r\\nb", "-", kRegexp, "-\r\n-", 2},
    // The leftmost match of b* in abc is the empty one before a: nothing
    // is found, and an empty match behind a replacement ends the search.
    {"EmptyLeftmostMatchReplacesNothing", "abxxc", "x*", "y", kRegexp, "abxxc", 0},
    {"EmptyBeforeALetter", "abc", "b*", "X", kRegexp, "abc", 0},
    {"EmptyBeforeARun", "baaa", "a*", "X", kRegexp, "baaa", 0},
    {"EmptyBehindAReplacementEnds", "aaba", "a*", "y", kRegexp, "yba", 1},
    {"FirstAndLastByte", "ab\r\nab", "ab", "Z", kPlain, "Z\r\nZ", 2},
    {"EmptyText", "", "a", "b", kPlain, "", 0},
};

INSTANTIATE_TEST_SUITE_P(Texts, ReplaceAllTest, ::testing::ValuesIn(kReplaceCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

}  // namespace
