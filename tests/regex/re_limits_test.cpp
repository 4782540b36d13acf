// The resource bounds of the pattern engine: a pattern too long or nested
// too deep is refused with its pattern error by both front ends, the empty
// pattern is current afterwards, and every pattern inside the bounds
// compiles, however large its automaton would be.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/awk_str.h"
#include "regex/grep.h"
#include "regex/re_error.h"
#include "regex/re_limits.h"

namespace tabulo::regex {
namespace {

std::string repeat(const std::string& s, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

std::string nested(std::size_t depth) { return repeat("(", depth) + "a" + repeat(")", depth); }

// A class of 90 nested ranges of double-byte characters (0x8240-0x82FC,
// 0x8241-0x82FB, ...): its leaves split into up to 180 pieces each, and every
// use of the class repeats them all.
std::string overlappingClass() {
    std::string c = "[";
    for (int k = 0; k < 90; ++k) {
        c += "\x82";
        c += static_cast<char>(0x40 + k);
        c += "-\x82";
        c += static_cast<char>(0xFC - k);
    }
    return c + "]";
}

struct Refused {
    const char* what;
    std::string pattern;
    const char* message;
};

TEST(PatternBounds, PathologicalPatternsAreRefused) {
    const std::vector<Refused> cases = {
        {"too long", std::string(limits::kMaxPatternBytes + 1, 'a'), messages::kTooLong},
        {"too long after the fuzzy rewrite", repeat("\x82\xa0\x83\x4b" "1", limits::kMaxPatternBytes / 5), messages::kTooLong},
        {"nested too deep", nested(limits::kMaxNesting + 1), messages::kTooDeep},
    };
    for (const Refused& c : cases) {
        TAWKStr awk;
        awk.SetUseFuzzyCharDic(true);
        try {
            awk.SetRegExp(c.pattern);
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const ERegExpParser& e) {
            EXPECT_STREQ(e.what(), c.message) << c.what;
        }
        EXPECT_EQ(awk.RegExp(), "") << c.what;
        std::size_t length = 9;
        EXPECT_EQ(awk.Match("xyz", length), 1u) << c.what << ": the empty pattern is current";
        EXPECT_EQ(length, 0u);

        TGrep grep;
        grep.SetUseFuzzyCharDic(true);
        EXPECT_THROW(grep.SetRegExp(c.pattern), ERegExpParser) << c.what;
        grep.SetRegExp("abc");
        EXPECT_EQ(grep.RegExp(), "abc") << c.what << ": the engine works after a refusal";
    }
}

TEST(PatternBounds, PatternsInsideTheBoundsCompile) {
    const std::vector<std::string> patterns = {
        std::string(limits::kMaxPatternBytes, 'a'),
        nested(limits::kMaxNesting),
        "(a|b)*a" + repeat("(a|b)", 10),
        "(a|b)*a" + repeat("(a|b)", 40),
        ".*a" + repeat(".", 40),
        repeat(overlappingClass(), 14),
        repeat(overlappingClass(), limits::kMaxPatternBytes / overlappingClass().size()),
        repeat("(", 200) + "a" + repeat(")+", 200),
        repeat("[\\x01-\\xfcfc]", limits::kMaxPatternBytes / 13),
        repeat("a|", limits::kMaxPatternBytes / 2 - 1) + "b",
        "(a|aa)*" + repeat("(a|aa|b)", 24) + "c",
        repeat("\x8a\xbf\x8e\x9a", 1000),
    };
    for (const std::string& p : patterns) {
        TAWKStr awk;
        EXPECT_NO_THROW(awk.SetRegExp(p)) << p.substr(0, 40);
        TGrep grep;
        EXPECT_NO_THROW(grep.SetRegExp(p)) << p.substr(0, 40);
    }
    // A long fuzzy pattern: every kanji becomes a group of its row.
    TAWKStr fuzzy;
    fuzzy.SetUseFuzzyCharDic(true);
    EXPECT_NO_THROW(fuzzy.SetRegExp(repeat("\x82\xa0\x83\x4b" "1", 100)));
    TAWKStr awk;
    awk.SetRegExp(nested(limits::kMaxNesting));
    std::size_t length = 0;
    EXPECT_EQ(awk.Match("xa", length), 2u);
    EXPECT_EQ(length, 1u);
}

}  // namespace
}  // namespace tabulo::regex
