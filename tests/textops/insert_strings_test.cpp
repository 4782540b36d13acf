// Insert strings into lines: the column rule, empty lines, sequence limits,
// counts and stopping.
#include "textops/insert_strings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textops/messages.h"

namespace tabulo::textops {
namespace {

using Lines = std::vector<std::string>;

InsertSequence make(InsertKind kind, std::string_view text = {}) {
    return *InsertSequence::make(kind, text);
}

TEST(InsertStringsTest, CircledNumbersStopAfterTwenty) {
    Lines lines(25, "x");
    const LineResult result = insertStrings(lines, {0, 24}, make(InsertKind::CircledNumbers), {});
    EXPECT_EQ(result.count, 20u);
    EXPECT_EQ(lines[0], "\x87\x40x");
    EXPECT_EQ(lines[19], "\x87\x53x");
    for (std::size_t i = 20; i < 25; ++i) EXPECT_EQ(lines[i], "x") << i;
    EXPECT_EQ(countMessage(result.count, kProcessedSuffix), "20行処理しました");
}

TEST(InsertStringsTest, RomanNumeralsStopAfterTheirTable) {
    Lines lines(12, "");
    const LineResult result = insertStrings(lines, {0, 11}, make(InsertKind::CapitalRoman), {});
    EXPECT_EQ(result.count, 10u);
    EXPECT_EQ(lines[9], "\x87\x5d");
    EXPECT_EQ(lines[10], "");
}

TEST(InsertStringsTest, EmptyLinesAreSkippedOnlyWhenAsked) {
    const Lines input = {"a", "", "b"};
    Lines skipping = input;
    InsertOptions options;
    options.intoEmptyLines = false;
    EXPECT_EQ(insertStrings(skipping, {0, 2}, make(InsertKind::SmallLetters), options).count, 2u);
    EXPECT_EQ(skipping, (Lines{"aa", "", "bb"}));  // the empty line does not advance the letters

    Lines filling = input;
    EXPECT_EQ(insertStrings(filling, {0, 2}, make(InsertKind::SmallLetters), {}).count, 3u);
    EXPECT_EQ(filling, (Lines{"aa", "b", "cb"}));
}

TEST(InsertStringsTest, ByteColumnSkipsShortLinesAppendsAtTheExactLengthAndNeverSplitsACharacter) {
    struct Case {
        const char* name;
        std::string line;
        std::size_t column;
        std::string expected;
    };
    const Case cases[] = {
        {"shorter than the column", "ab", 3, "ab"},
        {"exactly as long", "abc", 3, "abc#"},
        {"inside the line", "abcd", 2, "ab#cd"},
        {"after a double-byte character", "\x83\x5c" "ab", 2, "\x83\x5c#ab"},
        {"between the bytes of a character", "\x83\x5c" "ab", 1, "\x83\x5c#ab"},
        {"between the bytes of the last character", "a\x82\xa0", 2, "a\x82\xa0#"},
        {"a tab is one byte", "\tx", 1, "\t#x"},
        {"a tab does not reach column 2", "\t", 2, "\t"},
        {"half-width katakana are one byte", "\xb1\xb2\xb3", 2, "\xb1\xb2#\xb3"},
        {"empty line at column 0", "", 0, "#"},
        {"empty line at column 1", "", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lines lines = {c.line};
        InsertOptions options;
        options.column = c.column;
        insertStrings(lines, {0, 0}, make(InsertKind::FixedString, "#"), options);
        EXPECT_EQ(lines[0], c.expected);
    }
}

TEST(InsertStringsTest, NumbersCountOnlyProcessedLines) {
    Lines lines = {"a", "", "bc", "d", "e", "f", "g", "h", "i", "j", "k"};
    InsertOptions options;
    options.column = 1;
    const LineResult result = insertStrings(lines, {0, 10}, make(InsertKind::Numbers, "\x91\xe6*\x8f\xcd"), options);
    EXPECT_EQ(result.count, 10u);
    EXPECT_EQ(lines[0], "a\x91\xe6" "1\x8f\xcd");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "b\x91\xe6" "2\x8f\xcd" "c");
    EXPECT_EQ(lines[10], "k\x91\xe6" "10\x8f\xcd");
}

TEST(InsertStringsTest, EmptyFixedStringChangesNothingButCountsVisitedLines) {
    Lines lines = {"a", "b", "c"};
    const LineResult result = insertStrings(lines, {0, 2}, make(InsertKind::FixedString, ""), {});
    EXPECT_EQ(result.count, 3u);
    EXPECT_EQ(lines, (Lines{"a", "b", "c"}));
}

TEST(InsertStringsTest, OnlyTheRangeIsTouched) {
    Lines lines = {"a", "b", "c", "d"};
    insertStrings(lines, {1, 2}, make(InsertKind::Hiragana), {});
    EXPECT_EQ(lines, (Lines{"a", "\x82\xa0" "b", "\x82\xa2" "c", "d"}));
}

TEST(InsertStringsTest, StoppedRunKeepsTheInsertionsSoFar) {
    Lines lines = {"a", "b", "c", "d"};
    const LineResult result =
        insertStrings(lines, {0, 3}, make(InsertKind::Numbers, "*."), {}, [](const Progress& p) { return p.line < 1; });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.count, 2u);
    EXPECT_EQ(lines, (Lines{"1.a", "2.b", "c", "d"}));
}

}  // namespace
}  // namespace tabulo::textops
