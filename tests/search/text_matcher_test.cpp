// The search engine on Shift-JIS fixtures: each mode, trail bytes that look
// like ASCII, case folding that never touches a trail byte, whole words next
// to double-byte characters, fuzzy variants, anchors when a search resumes
// inside a line, and patterns that match the empty string.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "regex/re_error.h"
#include "search/engine/text_chars.h"
#include "search/engine/text_matcher.h"

using tabulo::search::SearchOptions;
using tabulo::search::TextMatch;
using tabulo::search::TextMatcher;

namespace {

// Shift-JIS characters whose trail byte looks like ASCII.
#define HYO "\x95\x5C"    // 表: trail '\'
#define SO "\x83\x5C"     // ソ: trail '\'
#define DASH "\x81\x7C"   // －: trail '|'
#define KA_A "\x83\x41"   // ア: trail 'A'
#define KANJI "\x8A\xBF\x8E\x9A"  // 漢字
#define RETSU "\x97\xF1"  // 列

constexpr SearchOptions kPlain{};
constexpr SearchOptions kCase{.soMatchCase = true};
constexpr SearchOptions kWord{.soWholeWord = true};
constexpr SearchOptions kRegexp{.soRegexp = true};
constexpr SearchOptions kRegexpCase{.soMatchCase = true, .soRegexp = true};
constexpr SearchOptions kRegexpWord{.soWholeWord = true, .soRegexp = true};
constexpr SearchOptions kFuzzy{.soFuzzy = true};

struct FindCase {
    const char* name;
    std::string text;
    std::string pattern;
    SearchOptions options;
    std::size_t from;
    std::optional<TextMatch> expected;
};

class FindTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindTest, FirstMatchFromAPosition) {
    const FindCase& c = GetParam();
    const TextMatcher matcher(c.pattern, c.options);
    EXPECT_EQ(matcher.find(c.text, c.from), c.expected);
}

const FindCase kFindCases[] = {
    // Trail bytes are never matched on their own, in any mode.
    {"BackslashIsNotTheTrailOfHyo", HYO SO "\\", "\\", kPlain, 0, TextMatch{4, 1}},
    {"BarIsNotTheTrailOfDash", DASH "|", "|", kCase, 0, TextMatch{2, 1}},
    {"EscapedBackslashSkipsTrails", HYO SO "\\", "\\\\", kRegexp, 0, TextMatch{4, 1}},
    {"EscapedBarSkipsTrails", DASH "|", "\\|", kRegexpCase, 0, TextMatch{2, 1}},
    {"NoTrailToFind", HYO SO DASH, "\\", kPlain, 0, std::nullopt},
    {"APairMatchesWhole", "x" HYO, HYO, kPlain, 0, TextMatch{1, 2}},
    // A byte pair made of a trail and the next lead is no character.
    {"NoPairAcrossCharacters", "\x95\x95\x5C" HYO, HYO, kPlain, 0, TextMatch{3, 2}},
    {"NoPairAcrossCharactersOnly", "\x95\x5C\x5C", "\x5C\x5C", kPlain, 0, std::nullopt},
    // Case.
    {"CaseIgnoredFindsFirst", "abc ABC", "ABC", kPlain, 0, TextMatch{0, 3}},
    {"CaseMattersFindsSecond", "abc ABC", "ABC", kCase, 0, TextMatch{4, 3}},
    {"TrailLetterNeverFolds", "\x83\x61" KA_A, KA_A, kPlain, 0, TextMatch{2, 2}},
    {"LetterIsNotATrail", KA_A "a", "a", kPlain, 0, TextMatch{2, 1}},
    {"RegexpCaseIgnored", "xABC", "abc", kRegexp, 0, TextMatch{1, 3}},
    {"RegexpCaseMatters", "xABC abc", "abc", kRegexpCase, 0, TextMatch{5, 3}},
    {"EscapedCapitalStaysALetter", "b\nbN", "b\\N", kRegexp, 0, TextMatch{2, 2}},
    {"HexLetterFolds", "xa", "\\x41", kRegexp, 0, TextMatch{1, 1}},
    {"EscapedLineFeedStaysOne", "xn\n", "\\n", kRegexp, 0, TextMatch{2, 1}},
    {"ClassRangeFolds", "xABCx", "[a-c]+", kRegexp, 0, TextMatch{1, 3}},
    {"NegatedClassFolds", "Ab1", "[^a-z]", kRegexp, 0, TextMatch{2, 1}},
    {"RegexpTrailLetterNeverFolds", "\x83\x61" KA_A, "\\x8341", kRegexp, 0, TextMatch{2, 2}},
    // Whole words.
    {"WordBetweenSpaces", "a cat sat", "cat", kWord, 0, TextMatch{2, 3}},
    {"WordInsideAWord", "concatenate", "cat", kWord, 0, std::nullopt},
    {"WordAfterARejectedOne", "concatenate cat", "cat", kWord, 0, TextMatch{12, 3}},
    {"WordAtLineEnds", "cat", "cat", kWord, 0, TextMatch{0, 3}},
    {"WordBeforePunctuation", "(cat).", "cat", kWord, 0, TextMatch{1, 3}},
    {"WordNextToKanji", HYO "cat" KANJI, "cat", kWord, 0, TextMatch{2, 3}},
    {"WordAfterTrailLetter", KA_A "cat", "cat", kWord, 0, TextMatch{2, 3}},
    {"KanjiInsideAKanjiRun", KANJI RETSU, KANJI, kWord, 0, std::nullopt},
    {"KanjiBeforeKana", KANJI "\x82\xA0", KANJI, kWord, 0, TextMatch{0, 4}},
    {"DigitsJoinLetters", "cat1 cat", "cat", kWord, 0, TextMatch{5, 3}},
    {"RegexpWord", "cats cat", "ca.", kRegexpWord, 0, TextMatch{5, 3}},
    // Fuzzy: kana, width and case variants.
    {"FuzzyHalfWidthVoiced", "x\xB6\xDE", "\x82\xAA", kFuzzy, 0, TextMatch{1, 2}},  // ｶﾞ for が
    {"FuzzyFullWidthLetters", "\x82\x60\x82\x81", "aa", kFuzzy, 0, TextMatch{0, 4}},  // Ａａ
    {"FuzzyKatakana", "\x83\x4A", "\x82\xA9", kFuzzy, 0, TextMatch{0, 2}},  // カ for か
    // Ends of the text.
    {"MatchAtFirstByte", "abxab", "ab", kPlain, 0, TextMatch{0, 2}},
    {"MatchAtLastByte", "abxab", "ab", kPlain, 1, TextMatch{3, 2}},
    {"RegexpAtLastByte", "abxab", "b$", kRegexp, 2, TextMatch{4, 1}},
    {"LoneLeadAtTheEnd", "ab\x95", "\x95", kPlain, 0, TextMatch{2, 1}},
    // Empty patterns and empty matches.
    {"EmptyPlainPattern", "abc", "", kPlain, 0, std::nullopt},
    {"EmptyRegexp", "abc", "", kRegexp, 0, std::nullopt},
    // The leftmost match counts; an empty one is no match, even when a
    // longer one follows.
    {"EmptyLeftmostMatchFindsNothing", "abxx", "x*", kRegexp, 0, std::nullopt},
    {"EmptyBeforeALetterFindsNothing", "abc", "b*", kRegexp, 0, std::nullopt},
    {"EmptyBeforeARunFindsNothing", "baaa", "a*", kRegexp, 0, std::nullopt},
    {"RunAtTheStartColumn", "baaa", "a*", kRegexp, 1, TextMatch{1, 3}},
    {"NonEmptyLeftmostMatch", "aaab", "a*", kRegexp, 0, TextMatch{0, 3}},
    {"EmptyAtTheEnd", "aaab", "a*", kRegexp, 3, std::nullopt},
    // A zero byte is an ordinary byte.
    {"RegexpBehindAZeroByte", std::string("a\0ab", 4), "b+", kRegexp, 0, TextMatch{3, 1}},
    {"PlainBehindAZeroByte", std::string("a\0ab", 4), "b", kPlain, 0, TextMatch{3, 1}},
    // Anchors when a search resumes inside a line.
    {"LineHeadOnlyAtTheHead", "aaa", "^a", kRegexp, 1, std::nullopt},
    {"LineHeadAfterALineFeed", "ab\na", "^a", kRegexp, 1, TextMatch{3, 1}},
    {"LineHeadAtTheStart", "aaa", "^a", kRegexp, 0, TextMatch{0, 1}},
    {"LineTailBeforeCarriageReturn", "ab\r\nab", "b$", kRegexp, 0, TextMatch{1, 1}},
};

INSTANTIATE_TEST_SUITE_P(Modes, FindTest, ::testing::ValuesIn(kFindCases),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// Every double-byte character whose trail byte looks like an ASCII letter,
// under every lead byte, searched without case: it matches only itself, not
// the character whose trail is the other case of that letter (ヂ 0x83 0x61
// and ア 0x83 0x41), while an ASCII letter beside it still folds.
TEST(TextMatcherTest, CaseFoldingNeverChangesADoubleByteCharacter) {
    std::vector<unsigned> leads;
    for (unsigned lead = 0x81; lead <= 0x9F; ++lead) leads.push_back(lead);
    for (unsigned lead = 0xE0; lead <= 0xFC; ++lead) leads.push_back(lead);
    std::vector<unsigned> trails;
    for (unsigned trail = 0x41; trail <= 0x5A; ++trail) trails.push_back(trail);
    for (unsigned trail = 0x61; trail <= 0x7A; ++trail) trails.push_back(trail);
    int failures = 0;
    for (const SearchOptions options : {kPlain, kRegexp}) {
        for (const unsigned lead : leads) {
            for (const unsigned trail : trails) {
                const std::string self{static_cast<char>(lead), static_cast<char>(trail)};
                const std::string other{static_cast<char>(lead), static_cast<char>(trail ^ 0x20)};
                const TextMatcher alone(self, options);
                const TextMatcher withLetter("q" + self, options);
                const bool right = alone.find(other + self) == TextMatch{2, 2} && !alone.find(other) &&
                                   withLetter.find("Q" + other + "Q" + self) == TextMatch{3, 3} &&
                                   !withLetter.find("Q" + other);
                EXPECT_TRUE(right) << std::hex << "0x" << lead << trail << (options.soRegexp ? " regexp" : " plain");
                if (!right && ++failures > 20) return;
            }
        }
    }
}

TEST(TextMatcherTest, AsciiLettersFoldBothWays) {
    for (char upper = 'A'; upper <= 'Z'; ++upper) {
        const std::string u(1, upper);
        const std::string l(1, static_cast<char>(upper + ('a' - 'A')));
        for (const SearchOptions options : {kPlain, kRegexp}) {
            EXPECT_EQ(TextMatcher(u, options).find("-" + l), (TextMatch{1, 1})) << u;
            EXPECT_EQ(TextMatcher(l, options).find("-" + u), (TextMatch{1, 1})) << l;
        }
        EXPECT_EQ(TextMatcher(u, kCase).find("-" + l), std::nullopt) << u;
        EXPECT_EQ(TextMatcher(u, kRegexpCase).find("-" + l), std::nullopt) << u;
    }
}

TEST(TextMatcherTest, LastMatchBeforeAPosition) {
    const TextMatcher matcher("ab", kPlain);
    EXPECT_EQ(matcher.findLastBefore("abxabxab", 6), (TextMatch{3, 2}));
    EXPECT_EQ(matcher.findLastBefore("abxabxab", 7), (TextMatch{6, 2}));
    EXPECT_EQ(matcher.findLastBefore("abxabxab", 0), std::nullopt);
    // Matches are taken one after another, never overlapping.
    EXPECT_EQ(TextMatcher("aa", kPlain).findLastBefore("aaa", 3), (TextMatch{0, 2}));
}

TEST(TextMatcherTest, PatternsThatMatchLineFeedsCrossLines) {
    EXPECT_TRUE(TextMatcher("a\\nb", kRegexp).crossesLines());
    EXPECT_TRUE(TextMatcher("a\\x000Ab", kRegexp).crossesLines());
    EXPECT_TRUE(TextMatcher("[\\t-\\r]", kRegexp).crossesLines());
    EXPECT_FALSE(TextMatcher("a\\\\nb", kRegexp).crossesLines());  // a backslash, then n
    EXPECT_FALSE(TextMatcher(HYO "n", kRegexp).crossesLines());   // 表 ends in a backslash byte
    EXPECT_FALSE(TextMatcher("a\\nb", kPlain).crossesLines());
}

TEST(TextMatcherTest, RefusedPatternRaisesTheEngineError) {
    try {
        TextMatcher("(a", kRegexp);
        FAIL() << "no error";
    } catch (const tabulo::regex::ERegExpParser& e) {
        EXPECT_STREQ(e.what(), tabulo::regex::messages::kNoRightParen);
    }
    // A case-insensitive pattern is refused with the same message.
    EXPECT_THROW(TextMatcher("[b-a]", kRegexp), tabulo::regex::ERegExpParser);
    EXPECT_NO_THROW(TextMatcher("(a", kPlain));
}

TEST(TextCharsTest, CharacterStartsAndThePreviousCharacter) {
    const std::string text = "a" HYO "\x95\x95" "\x5C";  // a 表 (0x95 0x95) '\'
    EXPECT_TRUE(tabulo::search::isCharStart(text, 1));
    EXPECT_FALSE(tabulo::search::isCharStart(text, 2));
    EXPECT_TRUE(tabulo::search::isCharStart(text, 5));
    EXPECT_FALSE(tabulo::search::isCharStart(text, 4));
    EXPECT_TRUE(tabulo::search::isCharStart(text, text.size()));
    EXPECT_EQ(tabulo::search::previousCharStart(text, 3), 1u);
    EXPECT_EQ(tabulo::search::previousCharStart(text, 5), 3u);
    EXPECT_EQ(tabulo::search::previousCharStart(text, 6), 5u);
    EXPECT_EQ(tabulo::search::previousCharStart("a\x95", 2), 1u);  // a lone lead byte at the end
}

}  // namespace
