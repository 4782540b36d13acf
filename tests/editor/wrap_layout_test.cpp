// Soft wrap: the line-break rules on small lines, one rule per case.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/model/wrap_layout.h"

using namespace tabulo::editor;

namespace {

std::vector<std::string> cut(const std::string& line, const TEditorWrapOption& o, int tab = 4) {
    std::vector<std::string> rows;
    const auto pieces = wrapLine(line, o, tab);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_EQ(pieces[i].lineEnd, i + 1 == pieces.size()) << "row " << i << " of " << line;
        rows.push_back(line.substr(pieces[i].begin, pieces[i].end - pieces[i].begin));
    }
    std::string joined;
    for (const auto& r : rows) joined += r;
    EXPECT_EQ(joined, line) << "bytes lost or reordered";
    return rows;
}

TEditorWrapOption width(int w) {
    TEditorWrapOption o;
    o.WrapByte = w;
    return o;
}

const std::string A = "\x82\xA0";      // あ
const std::string MARU = "\x81\x42";   // 。
const std::string KAGI = "\x81\x75";   // 「
const std::string TOJI = "\x81\x76";   // 」

}  // namespace

TEST(WrapLayout, ExactWidthLineAndTheRetMarkRule) {
    TEditorWrapOption o = width(10);
    o.FollowRetMark = true;
    EXPECT_EQ(cut("0123456789", o), (std::vector<std::string>{"0123456789"}));
    o.FollowRetMark = false;
    EXPECT_EQ(cut("0123456789", o), (std::vector<std::string>{"0123456789", ""}));
    EXPECT_EQ(cut("012345678", o), (std::vector<std::string>{"012345678"}));
    EXPECT_EQ(cut("0123456789ab", o), (std::vector<std::string>{"0123456789", "ab"}));
}

TEST(WrapLayout, DoubleByteCharacterIsNeverSplit) {
    const auto rows = cut("012345678" + A + "x", width(10));
    EXPECT_EQ(rows, (std::vector<std::string>{"012345678", A + "x"}));
}

TEST(WrapLayout, PunctuationHangsPastTheWrapColumn) {
    TEditorWrapOption o = width(10);
    o.FollowPunctuation = true;
    const std::string five = A + A + A + A + A;
    const auto rows = cut(five + MARU + "abc", o);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], five + MARU);  // 12 columns
    EXPECT_EQ(rows[1], "abc");
    // At most two single-byte marks hang.
    EXPECT_EQ(cut("0123456789,.,x", o), (std::vector<std::string>{"0123456789,.", ",x"}));
}

TEST(WrapLayout, OpeningMarkMovesToTheNextRow) {
    TEditorWrapOption o = width(10);
    o.Leading = true;
    const auto rows = cut("012345678(abc", o);
    EXPECT_EQ(rows[0], "012345678");
    EXPECT_EQ(rows[1], "(abc");
    // A double-byte opening mark at the row end moves too.
    const auto dbl = cut("01234567" + KAGI + "abc", o);
    EXPECT_EQ(dbl[0], "01234567");
    EXPECT_EQ(dbl[1], KAGI + "abc");
}

TEST(WrapLayout, ClosingMarkPullsThePreviousCharacterAlong) {
    TEditorWrapOption o = width(10);
    o.Leading = true;
    const auto rows = cut("0123456789" + TOJI + "xy", o);
    EXPECT_EQ(rows[0], "012345678");
    EXPECT_EQ(rows[1], "9" + TOJI + "xy");
}

TEST(WrapLayout, LeadingRulesStopAtFourFifthsOfTheWidth) {
    TEditorWrapOption o = width(10);
    o.Leading = true;
    // Every character is an opening mark: the row stops shrinking at 8 columns.
    const auto rows = cut("((((((((((((((", o);
    EXPECT_EQ(rows[0].size(), 8u);
}

TEST(WrapLayout, WordBreakAtDelimiters) {
    TEditorWrapOption o = width(8);
    o.WordBreak = true;
    EXPECT_EQ(cut("hello world", o), (std::vector<std::string>{"hello ", "world"}));
}

TEST(WrapLayout, TabPaddingStopsAtTheWrapWidth) {
    const auto rows = cut("abcdefghi\tjk", width(10), 8);
    // The tab at column 9 takes column 9 only (padding stops at the wrap width).
    EXPECT_EQ(rows[0], "abcdefghi\t");
    EXPECT_EQ(rows[1], "jk");
}

TEST(WrapLayout, TinyWidthsAlwaysMakeProgress) {
    for (int w = 1; w <= 3; ++w) {
        TEditorWrapOption o = width(w);
        o.Leading = true;
        o.FollowPunctuation = true;
        o.WordBreak = true;
        const auto rows = cut(A + "a" + A + "((" + TOJI + "\t" + A, o);
        for (std::size_t i = 0; i + 1 < rows.size(); ++i) EXPECT_FALSE(rows[i].empty()) << "w=" << w;
    }
}

// At widths 1 and 2 the word-break search steps back past the row start; it
// must stop there rather than read the column before the line (the sanitizer
// build reports that read).
TEST(WrapLayout, WordBreakAtTinyWidthsStaysInsideTheLine) {
    for (int w = 1; w <= 2; ++w) {
        TEditorWrapOption o = width(w);
        o.WordBreak = true;
        const std::vector<std::string> expected =
            w == 1 ? std::vector<std::string>{"a", "b", "c", ""} : std::vector<std::string>{"ab", "c"};
        EXPECT_EQ(cut("abc", o), expected) << "w=" << w;
    }
}
