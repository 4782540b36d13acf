// Trim blanks: which bytes are blanks, full-width spaces only as whole
// characters, and the trim-both-ends command's count and stop.
#include "textops/trim_blanks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textops/messages.h"

namespace tabulo::textops {
namespace {

using Lines = std::vector<std::string>;

TEST(TrimBlanksTest, RemovesSpacesTabsAndWholeFullWidthSpacesAtBothEnds) {
    struct Case {
        const char* name;
        std::string input;
        std::string expected;
    };
    const Case cases[] = {
        {"mixed blanks", "\x81\x40 abc\t ", "abc"},
        {"blanks only", "\t\x81\x40", ""},
        {"empty", "", ""},
        {"interior full-width space stays", "a\x81\x40" "b", "a\x81\x40" "b"},
        {"interior tab stays", " a\tb ", "a\tb"},
        // The last two bytes 0x81 0x40 are the trail of 0x88 0x81 and an '@'.
        {"trail byte 0x81 before '@'", "\x88\x81\x40", "\x88\x81\x40"},
        {"trail byte 0x81 before '@' then blank", "\x88\x81\x40\x81\x40", "\x88\x81\x40"},
        {"full-width spaces then kanji", "\x81\x40\x81\x40\x8a\xbf\x81\x40", "\x8a\xbf"},
        {"trail byte 0x40 of another character", "\x83\x40 ", "\x83\x40"},
        {"lone lead byte at the end", "\x81\x40\x81", "\x81"},
        {"half-width kana is not blank", " \xb1 ", "\xb1"},
        {"other white space is not blank", "\r\n\v", "\r\n\v"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(trimBlanks(c.input), c.expected);
        EXPECT_EQ(isBlankLine(c.input), c.expected.empty());
    }
}

TEST(TrimLinesTest, CountsOnlyChangedLinesAndKeepsBlankLinesAsEmpty) {
    Lines lines = {" a ", "b", "\x81\x40\t", "c ", "  d"};
    const LineResult result = trimLines(lines, {0, 3});
    EXPECT_EQ(lines, (Lines{"a", "b", "", "c", "  d"}));
    EXPECT_EQ(result.count, 3u);
    EXPECT_EQ(countMessage(result.count, kProcessedSuffix), "3行処理しました");

    Lines clean = {"a", "b"};
    EXPECT_EQ(trimLines(clean, {0, 1}).count, 0u);
}

TEST(TrimLinesTest, StoppedRunKeepsTheLinesTrimmedSoFar) {
    Lines lines = {" a", " b", " c"};
    std::vector<std::size_t> seen;
    const LineResult result = trimLines(lines, {0, 2}, [&](const Progress& p) {
        seen.push_back(p.line);
        return p.line < 1;
    });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(result.count, 2u);
    EXPECT_EQ(lines, (Lines{"a", "b", " c"}));
}

}  // namespace
}  // namespace tabulo::textops
