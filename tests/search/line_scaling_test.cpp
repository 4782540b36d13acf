// Search and replace-all over one long line take time linear in its length,
// with or without matches, for patterns with and without anchors: doubling
// the line may not much more than double the time. Replace all runs as
// `tabulo-cli replace` and the find dialog run it on a line, and over a
// text longer than a megabyte piece by piece, as the find dialog runs it
// over a whole text; find previous takes the matches of a line one after
// another. Measured as a ratio of the same work at two sizes four times
// apart (two doublings), each the best of a few runs, so a loaded machine
// slows both alike; a quadratic search takes 16 times as long, a linear one
// 4 times, and the bound sits at 9 (three per doubling), far from both.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>

#include "search/engine/replace_all.h"
#include "search/engine/text_matcher.h"

using tabulo::search::replaceMatches;
using tabulo::search::TextMatch;
using tabulo::search::SearchOptions;
using tabulo::search::TextMatcher;

namespace {

enum class Run { ReplaceAll, ReplaceAllInPieces, FindPrevious };

struct ScalingCase {
    const char* name;
    Run run;
    std::string pattern;
    SearchOptions options;
    std::string fill;       // the line is these bytes over and over
    std::string tail;       // and ends with these bytes
    std::size_t bytes;      // the shorter line (some milliseconds); the longer one is four times as long
    std::size_t matches;    // in the shorter line; the longer has four times as many (one stays one)
    std::size_t lineBytes = 0;  // with pieces: a line feed ends every stretch of this many bytes
};

std::string filled(const ScalingCase& c, std::size_t bytes) {
    std::string text;
    text.reserve(bytes + c.tail.size());
    while (text.size() < bytes) text += c.fill;
    for (std::size_t i = c.lineBytes; c.lineBytes > 0 && i <= bytes; i += c.lineBytes) text[i - 1] = '\n';
    return text + c.tail;
}

// Seconds of one run over the line; it must see expectedCount matches
// (find previous: the last of them).
double seconds(Run run, const TextMatcher& matcher, const std::string& line, std::size_t expectedCount) {
    std::string out;
    std::size_t count = 0;
    const auto start = std::chrono::steady_clock::now();
    switch (run) {
    case Run::ReplaceAll:
        count = replaceMatches(matcher, line, "XY", out);
        break;
    case Run::ReplaceAllInPieces: {
        std::size_t pieces = 0;
        count = replaceMatches(matcher, line, "XY", out, [&](std::size_t, std::size_t) { return ++pieces > 0; }).value();
        EXPECT_GT(pieces, 1u);
        break;
    }
    case Run::FindPrevious: {
        const std::optional<TextMatch> last = matcher.findLastBefore(line, line.size());
        count = last ? 1 : 0;
        if (last && expectedCount > 0) {
            EXPECT_EQ(last->start, line.size() - 1);
        }
        expectedCount = std::min<std::size_t>(expectedCount, 1);
        break;
    }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(count, expectedCount);
    return took.count();
}

class LineScalingTest : public ::testing::TestWithParam<ScalingCase> {};

TEST_P(LineScalingTest, EachDoublingOfTheLineAtMostTriplesTheTime) {
    const ScalingCase& c = GetParam();
    const TextMatcher matcher(c.pattern, c.options);
    const std::string shortLine = filled(c, c.bytes);
    const std::string longLine = filled(c, 4 * c.bytes);
    // The two sizes in turn, so that a burst of load falls on both alike;
    // the best of each.
    double shorter = 1e9;
    double longer = 1e9;
    for (int run = 0; run < 7; ++run) {
        shorter = std::min(shorter, seconds(c.run, matcher, shortLine, c.matches));
        longer = std::min(longer, seconds(c.run, matcher, longLine, c.matches == 1 ? 1 : 4 * c.matches));
    }
    EXPECT_LE(longer, 9 * shorter) << c.name << ": " << c.bytes << " bytes " << shorter << " s, four times as many "
                                   << longer << " s";
}

constexpr SearchOptions kPlain{};
constexpr SearchOptions kRegexp{.soRegexp = true};
constexpr SearchOptions kRegexpCase{.soMatchCase = true, .soRegexp = true};
constexpr SearchOptions kFuzzy{.soFuzzy = true};
constexpr SearchOptions kRegexpWord{.soWholeWord = true, .soRegexp = true};
constexpr Run kAll = Run::ReplaceAll;
constexpr Run kPieces = Run::ReplaceAllInPieces;
constexpr Run kPrevious = Run::FindPrevious;
constexpr std::size_t kPiecesBytes = std::size_t{1} << 21;  // a few pieces of a megabyte
constexpr std::size_t kPieceLine = std::size_t{1} << 16;

const ScalingCase kScalingCases[] = {
    // Every start of a*b walks to the end of the line before it fails.
    {"StarThenMissingByte", kAll, "a*b", kRegexp, "a", "", std::size_t{1} << 22, 0},
    {"FuzzyStarThenMissingByte", kAll, "a*b", kFuzzy, "a", "", std::size_t{1} << 22, 0},
    {"ClassPlusThenMissingByte", kAll, "[a-z]+0", kRegexp, "q", "", std::size_t{1} << 22, 0},
    {"DotStarThenMissingByte", kAll, "a.*b", kRegexp, "a", "", std::size_t{1} << 20, 0},
    {"StarsThenMissingByte", kAll, "x*y*z", kRegexp, "x", "y", std::size_t{1} << 20, 0},
    // The same before a line tail or behind a line head.
    {"StarThenMissingByteAtTail", kAll, "a*b$", kRegexp, "a", "", std::size_t{1} << 20, 0},
    {"CaseStarThenMissingByteAtTail", kAll, "a*b$", kRegexpCase, "a", "", std::size_t{1} << 20, 0},
    {"FuzzyStarThenMissingByteAtTail", kAll, "a*b$", kFuzzy, "a", "", std::size_t{1} << 20, 0},
    {"AlternativesThenMissingByteAtTail", kAll, "(a|b)*c$", kRegexp, "a", "", std::size_t{1} << 20, 0},
    {"ClassThenMissingByteAtTail", kAll, "[a-z]*0$", kRegexp, "q", "", std::size_t{1} << 20, 0},
    {"WholeWordStarThenMissingByteAtTail", kAll, "a*b$", kRegexpWord, "a", "", std::size_t{1} << 20, 0},
    {"HeadStarThenMissingByte", kAll, "^a*b", kRegexp, "a", "", std::size_t{1} << 20, 0},
    {"HeadAlternativesThenMissingByte", kAll, "^(a|b)*c", kRegexp, "a", "", std::size_t{1} << 20, 0},
    // Attempts that pass line tails they could end at (the pattern reads the
    // carriage return before one) and fail at the end of the text.
    {"PassingLineTailsThenMissingByte", kAll, "a[\\r\\na]*$", kRegexp, "a\r\n", "x", std::size_t{1} << 18, 0},
    {"HeadPassingLineTailsThenMissingByte", kAll, "^[\\r\\na]*$", kRegexp, "a\r\n", "x", std::size_t{1} << 18, 0},
    // The one match at the end, behind a byte that stops every attempt
    // before it.
    {"StarThenByteAtTheEnd", kAll, "a*b", kRegexp, "a", "xb", std::size_t{1} << 19, 1},
    {"StarsThenByteAtTheEnd", kAll, "x*y*z", kRegexp, "x", "yqz", std::size_t{1} << 19, 1},
    {"StarThenByteAtTail", kAll, "a*b$", kRegexp, "a", "xb", std::size_t{1} << 19, 1},
    {"FuzzyStarThenByteAtTail", kAll, "a*b$", kFuzzy, "a", "xb", std::size_t{1} << 19, 1},
    // A long text of long lines searched in pieces of a megabyte, as the
    // find dialog searches with soft wrap on or with a pattern across lines.
    {"PiecesStarThenMissingByte", kPieces, "a*b", kRegexp, "a", "", kPiecesBytes, 0, kPieceLine},
    {"PiecesStarThenMissingByteAtTail", kPieces, "a*b$", kRegexp, "a", "", kPiecesBytes, 0, kPieceLine},
    {"PiecesStarThenByteAtTheEnd", kPieces, "a*b", kRegexp, "a", "xb", kPiecesBytes, 1, kPieceLine},
    {"PiecesStarThenByteAtTail", kPieces, "a*b$", kRegexp, "a", "xb", kPiecesBytes, 1, kPieceLine},
    {"PiecesAcrossLinesThenMissingByte", kPieces, "(a|\\n)*b", kRegexp, "a", "", kPiecesBytes, 0, kPieceLine},
    {"PiecesAcrossLinesThenByteAtTail", kPieces, "(a|\\n)*b$", kRegexp, "a", "xb", kPiecesBytes, 1, kPieceLine},
    // Millions of matches on one line, each replaced.
    {"PlainMatchAtEveryByte", kAll, "a", kPlain, "a", "", std::size_t{1} << 19, std::size_t{1} << 19},
    {"PatternMatchAtEveryByte", kAll, "a", kRegexp, "a", "", std::size_t{1} << 18, std::size_t{1} << 18},
    {"AnchoredMatchAtEveryByte", kAll, "a|b$", kRegexp, "a", "", std::size_t{1} << 18, std::size_t{1} << 18},
    // Find previous on a line of matches, and on one whose attempts fail far.
    {"PreviousMatchAtEveryByte", kPrevious, "a", kRegexp, "a", "", std::size_t{1} << 18, std::size_t{1} << 18},
    {"PreviousStarThenByteAtTail", kPrevious, "a*b$", kRegexp, "a", "xb", std::size_t{1} << 19, 1},
};

INSTANTIATE_TEST_SUITE_P(Lines, LineScalingTest, ::testing::ValuesIn(kScalingCases),
                         [](const ::testing::TestParamInfo<ScalingCase>& param) { return std::string(param.param.name); });

}  // namespace
