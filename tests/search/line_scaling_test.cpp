// Search and replace-all over one long line take time linear in its length,
// with or without matches: doubling the line may not much more than double
// the time. Measured as a ratio of the same work at two sizes four times
// apart (two doublings), each the best of a few runs, so a loaded machine
// slows both alike; a quadratic search takes 16 times as long, a linear one
// 4 times, and the bound sits at 9 (three per doubling), far from both.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "search/engine/replace_all.h"
#include "search/engine/text_matcher.h"

using tabulo::search::replaceMatches;
using tabulo::search::SearchOptions;
using tabulo::search::TextMatcher;

namespace {

struct ScalingCase {
    const char* name;
    std::string pattern;
    SearchOptions options;
    char fill;              // the line is this byte over and over
    std::string tail;       // and ends with these bytes
    std::size_t bytes;      // the shorter line (some milliseconds); the longer one is four times as long
    std::size_t matches;    // in the shorter line; the longer has four times as many (one stays one)
};

// Seconds of one replace-all over the line.
double seconds(const TextMatcher& matcher, const std::string& line, std::size_t expectedCount) {
    std::string out;
    const auto start = std::chrono::steady_clock::now();
    const std::size_t count = replaceMatches(matcher, line, "XY", out);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(count, expectedCount);
    return took.count();
}

class LineScalingTest : public ::testing::TestWithParam<ScalingCase> {};

TEST_P(LineScalingTest, EachDoublingOfTheLineAtMostTriplesTheTime) {
    const ScalingCase& c = GetParam();
    const TextMatcher matcher(c.pattern, c.options);
    const std::string shortLine = std::string(c.bytes, c.fill) + c.tail;
    const std::string longLine = std::string(4 * c.bytes, c.fill) + c.tail;
    // The two sizes in turn, so that a burst of load falls on both alike;
    // the best of each.
    double shorter = 1e9;
    double longer = 1e9;
    for (int run = 0; run < 7; ++run) {
        shorter = std::min(shorter, seconds(matcher, shortLine, c.matches));
        longer = std::min(longer, seconds(matcher, longLine, c.matches == 1 ? 1 : 4 * c.matches));
    }
    EXPECT_LE(longer, 9 * shorter) << c.name << ": " << c.bytes << " bytes " << shorter << " s, four times as many "
                                   << longer << " s";
}

constexpr SearchOptions kPlain{};
constexpr SearchOptions kRegexp{.soRegexp = true};
constexpr SearchOptions kFuzzy{.soFuzzy = true};

const ScalingCase kScalingCases[] = {
    // Every start of a*b walks to the end of the line before it fails.
    {"StarThenMissingByte", "a*b", kRegexp, 'a', "", std::size_t{1} << 22, 0},
    {"FuzzyStarThenMissingByte", "a*b", kFuzzy, 'a', "", std::size_t{1} << 22, 0},
    {"ClassPlusThenMissingByte", "[a-z]+0", kRegexp, 'q', "", std::size_t{1} << 22, 0},
    // The one match at the end, behind a byte that stops every attempt
    // before it.
    {"StarThenByteAtTheEnd", "a*b", kRegexp, 'a', "xb", std::size_t{1} << 19, 1},
    // Millions of matches on one line, each replaced.
    {"PlainMatchAtEveryByte", "a", kPlain, 'a', "", std::size_t{1} << 19, std::size_t{1} << 19},
    {"PatternMatchAtEveryByte", "a", kRegexp, 'a', "", std::size_t{1} << 18, std::size_t{1} << 18},
};

INSTANTIATE_TEST_SUITE_P(Lines, LineScalingTest, ::testing::ValuesIn(kScalingCases),
                         [](const ::testing::TestParamInfo<ScalingCase>& param) { return std::string(param.param.name); });

}  // namespace
