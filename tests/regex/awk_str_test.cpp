// Match, Split and ExpandEscapes, and the leftmost-longest search checked
// against the reference on generated patterns and subjects.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "regex/awk_str.h"
#include "regex/re_error.h"
#include "reference_matcher.h"

namespace tabulo::regex {
namespace {

using LS = TMatchCORE_LineSeparator;

struct MatchCase {
    std::string pattern;
    std::string subject;
    std::size_t position;
    std::size_t length;
    LS separator = LS::mcls_CRLF;
};

TEST(TAWKStr, MatchPositionsAndLengths) {
    const std::vector<MatchCase> cases = {
        {"ab*", "xabbby", 2, 4},
        {"b*", "abc", 1, 0},
        {"", "", 1, 0},
        {"a", "", 0, 0},
        {"c$", "abc\r\n", 3, 1},
        {"c$", "abc", 3, 1},
        {"c$", "abc\r\n", 0, 0, LS::mcls_LF},
        {"c$", "abc\n", 3, 1, LS::mcls_LF},
        {"^b", "a\nb", 3, 1},
        {"^b", "ab", 0, 0},
        {"^$", "", 1, 0},
        {"^$", "a\n", 3, 0},
        {"$", "ab", 3, 0},
        {"^a|b", "cab", 3, 1},
        {"(a|ab)(c|bcd)", "abcd", 1, 4},
        {"\\\\", "\x95\x5C\\", 3, 1},
        {"\\|", "\x83\x7C|", 3, 1},
        {"\x82\xA0+", "x\x82\xA0\x82\xA0y", 2, 4},
        {"[^a]", "a\nb", 3, 1},
        {"a.c", "a\nc abc", 5, 3},
        {"x", std::string("ab\0x", 4), 0, 0},
    };
    for (const MatchCase& c : cases) {
        TAWKStr awk;
        awk.SetLineSeparator(c.separator);
        awk.SetRegExp(c.pattern);
        std::size_t length = 99;
        EXPECT_EQ(awk.Match(c.subject, length), c.position) << c.pattern << " in " << c.subject;
        EXPECT_EQ(length, c.length) << c.pattern << " in " << c.subject;
    }
}

TEST(TAWKStr, SplitAwkStyle) {
    struct Case {
        std::string pattern;
        std::string subject;
        std::vector<std::string> fields;
    };
    const std::vector<Case> cases = {
        {",", "a,b,,c", {"a", "b", "", "c"}},
        {",", "a,", {"a", ""}},
        {",", ",a", {"", "a"}},
        {",", "", {}},
        {",", "abc", {"abc"}},
        {"b*", "abc", {"a", "c"}},
        {" *", "\x95\x5C x", {"\x95\x5C", "x"}},
        {"\\\\", "\x95\x5C\\\x95\x5C", {"\x95\x5C", "\x95\x5C"}},
        {"x*", "\x82\xA0\x82\xA2", {"\x82\xA0\x82\xA2"}},
    };
    for (const Case& c : cases) {
        TAWKStr awk;
        awk.SetRegExp(c.pattern);
        std::vector<std::string> fields = {"stale"};
        EXPECT_EQ(awk.Split(c.subject, fields), c.fields.size()) << c.pattern << " / " << c.subject;
        EXPECT_EQ(fields, c.fields) << c.pattern << " / " << c.subject;
    }
}

TEST(TAWKStr, ExpandEscapes) {
    struct Case {
        std::string text;
        std::string expanded;
    };
    const std::vector<Case> cases = {
        {"a\\tb", "a\tb"},
        {"\\x82\\xa0", "\x82\xA0"},
        {"\\x82a0", "\x82\xA0"},
        {"\\101\\n", "A\n"},
        {"\\\\\\q", "\\q"},
        {"\x95\x5Cn", "\x95\x5Cn"},  // the trail byte 0x5C is not a backslash
        {"end\x95", "end\x95"},
    };
    for (const Case& c : cases) EXPECT_EQ(TAWKStr::ExpandEscapes(c.text), c.expanded) << c.text;

    struct Bad {
        std::string text;
        std::string message;
    };
    const std::vector<Bad> bad = {
        {"abc\\", "\"\\\"の次には文字が必要です。"},
        {"\\xZ", "不正な１６進数コード表記です。"},
        {"\\7777777", "不正な８進数コード表記です。"},
    };
    for (const Bad& b : bad) {
        try {
            TAWKStr::ExpandEscapes(b.text);
            ADD_FAILURE() << b.text;
        } catch (const ERegExpParser& e) {
            EXPECT_EQ(e.what(), b.message);
        }
    }
}

TEST(TAWKStr, AgreesWithTheReferenceOnGeneratedCases) {
    testing::PatternGenerator gen(20261210);
    int matched = 0;
    int nonEmpty = 0;
    for (int i = 0; i < 1500; ++i) {
        const std::string pattern = gen.pattern(gen.pick(4));
        TAWKStr awk;
        awk.SetRegExp(pattern);
        for (int k = 0; k < 12; ++k) {
            const std::string subject = gen.subject(8);
            for (LS sep : {LS::mcls_CRLF, LS::mcls_LF}) {
                awk.SetLineSeparator(sep);
                const auto expected = testing::referenceSearch(pattern, subject, sep == LS::mcls_CRLF ? 13 : 10);
                std::size_t length = 0;
                const std::size_t pos = awk.Match(subject, length);
                if (expected) {
                    ASSERT_EQ(pos, expected->first + 1) << pattern << " in " << ::testing::PrintToString(subject);
                    ASSERT_EQ(length, expected->second - expected->first) << pattern << " in " << ::testing::PrintToString(subject);
                    ++matched;
                    if (length > 0) ++nonEmpty;
                } else {
                    ASSERT_EQ(pos, 0u) << pattern << " in " << ::testing::PrintToString(subject);
                }
            }
        }
    }
    // The generator must produce enough real matches to make the check count.
    EXPECT_GT(matched, 5000);
    EXPECT_GT(nonEmpty, 2000);
}

// Every match of a subject, one search after another as replace all makes
// them: from the end of each match (one character on after an empty one),
// the starts limited to pieces of `piece` bytes as a long text is searched.
std::vector<MatchSpan> everyMatch(const TMatchCORE& engine, bool anchored, const std::string& subject,
                                  std::size_t piece, SearchMemo* memo) {
    std::vector<MatchSpan> found;
    for (std::size_t from = 0; from <= subject.size();) {
        const std::string_view rest = std::string_view(subject).substr(from);
        const SearchStarts starts{.limit = piece, .firstIsLineHead = from == 0 || subject[from - 1] == '\n'};
        const auto m = anchored ? engine.anchoredSearch(rest, starts, memo) : engine.plainSearch(rest, starts, memo);
        if (!m) {
            // The next piece begins at the first character start behind this one.
            const std::size_t pieceEnd = from + std::min(piece, rest.size() + 1);
            while (from < pieceEnd) from += std::max<std::size_t>(testing::refCharAt(subject, from).length, 1);
            continue;
        }
        found.push_back({from + m->start, from + m->end});
        const std::size_t next = from + m->end;
        from = m->end > m->start ? next : next + testing::refCharAt(subject, next).length + (next == subject.size());
    }
    return found;
}

// The backward walk that replaces failing attempts (forced here as soon as
// one has read a byte) and the memo kept between searches must find exactly what the
// attempts from every start find, anchors, line separators, zero bytes and
// double-byte characters (a lead byte before a line feed) included.
TEST(TMatchCORE, BackwardWalkFindsWhatTheAttemptsFind) {
    testing::PatternGenerator gen(20261211);
    std::vector<std::string> patterns = {
        "a*b$", "^a*b", "(a|b)*x$", "a[^x]*$", "^$", "$", "^", "a$|b", "^a|b$", "a\\r?$", "(a|a\\rb)$",
        "^(ab)*$", "\\n^a", "a\\n$", "^\x82\xA0*$", "[\\r\\n]*$", "^[^a]*", "b*", "x(a|b)*", "(a*)*b",
    };
    for (int i = 0; i < 400; ++i) patterns.push_back(gen.pattern(gen.pick(4)));
    std::vector<std::string> subjects = {"", "a", "ab", "aab\r\nab", "a\ra\rx", "a\nb\n", "\x82\n\n^a",
                                         std::string("ab\0ab", 5), "\n\n", "x\x82\xA0\x82\xA0\r\n"};
    for (int i = 0; i < 40; ++i) subjects.push_back(gen.subject(10));
    std::size_t compared = 0;
    for (const std::string& pattern : patterns) {
        TAWKStr attempts;
        TAWKStr walk;
        try {
            attempts.SetRegExp(pattern);
        } catch (const ERegExpParser&) {
            continue;
        }
        walk.SetRegExp(pattern);
        walk.SetAttemptBudget(0);
        const bool anchored = attempts.dfa().startsWithLineHead() || attempts.dfa().endsWithLineTail();
        for (LS sep : {LS::mcls_CRLF, LS::mcls_LF}) {
            attempts.SetLineSeparator(sep);
            walk.SetLineSeparator(sep);
            for (const std::string& subject : subjects) {
                for (std::size_t piece : {std::size_t{2}, std::size_t{5}, static_cast<std::size_t>(-1)}) {
                    const auto expected = everyMatch(attempts, anchored, subject, piece, nullptr);
                    SearchMemo memo;
                    ASSERT_EQ(everyMatch(walk, anchored, subject, piece, &memo), expected)
                        << pattern << " in " << ::testing::PrintToString(subject) << " pieces of " << piece;
                    ASSERT_EQ(everyMatch(walk, anchored, subject, piece, nullptr), expected)
                        << pattern << " in " << ::testing::PrintToString(subject) << " without a memo";
                    compared += expected.size();
                }
            }
        }
    }
    EXPECT_GT(compared, 20000u);
}

}  // namespace
}  // namespace tabulo::regex
