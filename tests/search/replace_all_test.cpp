// Replace all on whole texts: counts, inserted text never searched again,
// replacements with double-byte characters and backslashes taken as bytes,
// every line break kept, patterns across lines, and the stop request.
#include <gtest/gtest.h>

#include <string>

#include "search/engine/replace_all.h"

using tabulo::search::replaceAllInText;
using tabulo::search::ReplaceResult;
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
    std::string out;
    const ReplaceResult result = replaceAllInText(TextMatcher(c.pattern, c.options), c.text, c.replacement, out);
    EXPECT_EQ(out, c.expected);
    EXPECT_EQ(result.count, c.count);
    EXPECT_FALSE(result.stopped);
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
    {"EmptyMatchesLeftAlone", "abxxc", "x*", "y", kRegexp, "abyc", 1},
    {"FirstAndLastByte", "ab\r\nab", "ab", "Z", kPlain, "Z\r\nZ", 2},
    {"EmptyText", "", "a", "b", kPlain, "", 0},
};

INSTANTIATE_TEST_SUITE_P(Texts, ReplaceAllTest, ::testing::ValuesIn(kReplaceCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(ReplaceAllStopTest, AStopLeavesTheResultIncompleteAndSaysSo) {
    std::string text;
    for (int i = 0; i < 300000; ++i) text += "line ab\r\n";  // 2.7 MB: progress is asked
    std::string out;
    int calls = 0;
    const ReplaceResult result =
        replaceAllInText(TextMatcher("ab", {}), text, "cd", out, [&](std::size_t done) {
            EXPECT_LE(done, text.size());
            return ++calls < 2;
        });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(calls, 2);

    std::string whole;
    const ReplaceResult full = replaceAllInText(TextMatcher("ab", {}), text, "cd", whole, [](std::size_t) { return true; });
    EXPECT_FALSE(full.stopped);
    EXPECT_EQ(full.count, 300000u);
    EXPECT_EQ(whole.size(), text.size());
}

}  // namespace
