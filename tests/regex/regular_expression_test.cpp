// Automaton construction, literal detection, anchors and the compiled-pattern
// cache.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/awk_str.h"
#include "regex/grep.h"
#include "regex/re_error.h"
#include "regex/regular_expression.h"

namespace tabulo::regex {
namespace {

bool accepts(const TRE_DFA& a, const std::string& text) {
    std::basic_string<Code> codes;
    appendCodes(text, codes);
    int s = a.initial();
    for (Code c : codes) {
        s = a.next(s, c);
        if (s == TRE_DFA::kNone) return false;
    }
    return a.accepts(s);
}

class CountingExpression : public TRegularExpression {
public:
    int compiles = 0;

protected:
    void Compile(const std::string& text) override {
        ++compiles;
        TRegularExpression::Compile(text);
    }
};

TEST(TRE_DFA, AcceptsExactlyTheLanguage) {
    struct Case {
        std::string pattern;
        std::vector<std::string> yes;
        std::vector<std::string> no;
    };
    const std::vector<Case> cases = {
        {"", {""}, {"a"}},
        {"a+", {"a", "aa", "aaa"}, {"", "b"}},
        {"a?", {"", "a"}, {"aa"}},
        {"(a|b)*c", {"c", "abc", "bbac"}, {"", "ab", "cc"}},
        {"x^a", {"x^a"}, {"xa"}},
        {"(^a)*", {"", "^a", "^a^a"}, {"a"}},
        {"a$b", {"a$b"}, {"ab"}},
        {"(a$)b", {"a$b"}, {"ab"}},
        {"[^a]", {"b", "\x82\xA0", "\x7F"}, {"a", "\n", "\r", ""}},
        {".", {"b", "\x82\xA0", "\t"}, {"\n", "\r", ""}},
        {"[\x82\xA0-\x82\xF1]+", {"\x82\xA0\x82\xF1"}, {"\x82\x9F", "\x83\x40"}},
        {"\\\\", {"\\"}, {"\x95\x5C"}},
        {"a[^\\x01-\\xfcfc]", {}, {"a", "ab"}},
    };
    for (const Case& c : cases) {
        TRegularExpression re;
        re.SetRegExp(c.pattern);
        for (const auto& s : c.yes) EXPECT_TRUE(accepts(re.dfa(), s)) << c.pattern << " / " << s;
        for (const auto& s : c.no) EXPECT_FALSE(accepts(re.dfa(), s)) << c.pattern << " / " << s;
    }
}

TEST(TRE_DFA, AnchorFlagsFollowThePositionOfTheAnchor) {
    struct Case {
        std::string pattern;
        bool head;
        bool tail;
    };
    const std::vector<Case> cases = {
        {"^a|b", true, false}, {"x^a", false, false}, {"(^a)*", false, false}, {"(^a|b)c", true, false},
        {"a$", false, true},   {"a$b", false, false}, {"(a$)b", false, false}, {"^$", true, true},
    };
    for (const Case& c : cases) {
        TRegularExpression re;
        re.SetRegExp(c.pattern);
        EXPECT_EQ(re.dfa().startsWithLineHead(), c.head) << c.pattern;
        EXPECT_EQ(re.dfa().endsWithLineTail(), c.tail) << c.pattern;
    }
}

TEST(TRE_DFA, LiteralDetectionWithTheGrepAnchorCodes) {
    struct Case {
        std::string pattern;
        bool literal;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"", true, ""},
        {"abc", true, "abc"},
        {"^abc$", true, "\nabc\n"},
        {"^abc", true, "\nabc"},
        {"\x95\x5C\\\\", true, "\x95\x5C\\"},
        {"a(b)c", true, "abc"},
        {"a|a", true, "a"},
        {"a|b", false, ""},
        {"a*", false, ""},
        {"[ab]", false, ""},
        {"a.c", false, ""},
        {"ab?", false, ""},
        {"a[^\\x01-\\xfcfc]", false, ""},
    };
    for (const Case& c : cases) {
        TGrep grep;
        grep.SetRegExp(c.pattern);
        EXPECT_EQ(grep.dfa().isLiteral(), c.literal) << c.pattern;
        EXPECT_EQ(grep.dfa().literal(), c.text) << c.pattern;
    }
}

TEST(TRegularExpression, CacheCompilesOncePerPatternAndEvictsTheOldest) {
    CountingExpression re;
    re.SetRegExp("p0");
    re.SetRegExp("p0");
    EXPECT_EQ(re.compiles, 1);
    re.SetRegExp("");  // pair 0, never compiled again
    EXPECT_EQ(re.compiles, 1);
    for (int i = 1; i <= 28; ++i) re.SetRegExp("p" + std::to_string(i));
    EXPECT_EQ(re.compiles, 29);
    re.SetRegExp("p0");  // 30 pairs held: still cached
    EXPECT_EQ(re.compiles, 29);
    re.SetRegExp("p29");  // evicts p0, the longest held
    re.SetRegExp("p0");
    EXPECT_EQ(re.compiles, 31);
    EXPECT_TRUE(accepts(re.dfa(), "p0"));
}

TEST(TRegularExpression, AnErrorLeavesTheEmptyPatternCurrent) {
    TAWKStr awk;
    awk.SetRegExp("abc");
    EXPECT_THROW(awk.SetRegExp("a(b"), ERegExpParser);
    EXPECT_EQ(awk.RegExp(), "");
    std::size_t length = 9;
    EXPECT_EQ(awk.Match("xyz", length), 1u);
    EXPECT_EQ(length, 0u);
    // The failed pattern was not cached: setting it again raises again.
    EXPECT_THROW(awk.SetRegExp("a(b"), ERegExpParser);
    awk.SetRegExp("abc");
    EXPECT_EQ(awk.Match("xabc", length), 2u);
}

TEST(TRegularExpression, FuzzySwitchFollowsTheDictionaryList) {
    TAWKStr awk;
    awk.SetRegExp("abc");
    EXPECT_FALSE(accepts(awk.dfa(), "\x82\x60\x82\x61\x82\x62"));
    awk.SetUseFuzzyCharDic(true);
    EXPECT_EQ(awk.RegExp(), "abc");
    EXPECT_TRUE(accepts(awk.dfa(), "\x82\x60\x82\x61\x82\x62"));  // ＡＢＣ
    EXPECT_TRUE(accepts(awk.dfa(), "aBc"));
    awk.SetUseFuzzyCharDic(false);
    EXPECT_FALSE(accepts(awk.dfa(), "aBc"));

    TRegularExpression plain;  // no dictionary attached
    plain.SetRegExp("abc");
    plain.SetUseFuzzyCharDic(true);
    EXPECT_FALSE(accepts(plain.dfa(), "aBc"));
    EXPECT_TRUE(accepts(plain.dfa(), "abc"));
}

}  // namespace
}  // namespace tabulo::regex
