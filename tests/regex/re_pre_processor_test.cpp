// The dictionary rewrite: comma-text rows, the built-in fuzzy dictionary and
// the rewrite of ordinary characters into groups.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "regex/dictionary.h"
#include "regex/re_pre_processor.h"

namespace tabulo::regex {
namespace {

std::string fuzzy(const std::string& pattern) {
    return TREPreProcessor::rewrite(pattern, {&fuzzyCharDictionary()});
}

TEST(CommaText, QuotedEntriesBlanksAndTrailingComma) {
    struct Case {
        std::string text;
        std::vector<std::string> entries;
    };
    const std::vector<Case> cases = {
        {"a,b,c", {"a", "b", "c"}},
        {"\x81\x40,\" \"", {"\x81\x40", " "}},
        {"\"\"\"\",\x81\x68", {"\"", "\x81\x68"}},
        {"\",\",\xA4", {",", "\xA4"}},
        {"  a , b ,", {"a", "b"}},
        {"a b", {"a", "b"}},
        {"a,,b", {"a", "", "b"}},
        {"\x83\x5C,\x95\x5C", {"\x83\x5C", "\x95\x5C"}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitCommaText(c.text), c.entries) << c.text;
}

TEST(FuzzyCharDictionary, RowsInTheirOrder) {
    const auto& rows = fuzzyCharDictionary().rows();
    ASSERT_EQ(rows.size(), 145u);
    EXPECT_EQ(rows[0], (Dictionary::Row{"\x82\x60", "\x82\x81", "A", "a"}));
    EXPECT_EQ(rows[25], (Dictionary::Row{"\x82\x79", "\x82\x9A", "Z", "z"}));
    EXPECT_EQ(rows[27], (Dictionary::Row{"1", "\x82\x50", "\x88\xEA", "\x87\x40", "\x87\x54", "\x88\xEB"}));
    EXPECT_EQ(rows[36], (Dictionary::Row{"\x81\x40", " "}));
    EXPECT_EQ(rows[38], (Dictionary::Row{"\"", "\x81\x68"}));
    EXPECT_EQ(rows[60], (Dictionary::Row{"\\", "\x81\x8F"}));
    EXPECT_EQ(rows[68], (Dictionary::Row{",", "\xA4", "\x81\x41", "\x81\x43"}));
    EXPECT_EQ(rows[72], (Dictionary::Row{"\x82\xF1", "\x83\x93", "\xDD"}));
    EXPECT_EQ(rows[79].size(), 10u);  // じ with ぢ
    EXPECT_EQ(rows[101], (Dictionary::Row{"\x82\xA9", "\x83\x4A", "\xB6"}));  // か
    EXPECT_EQ(rows[138], (Dictionary::Row{"\x82\xEB", "\x83\x8D", "\xDB"}));  // ろ
    EXPECT_EQ(rows[139], (Dictionary::Row{"\x82\xED", "\x83\x8F", "\xDC", "\x82\xA4\x82\x9F", "\x83\x45\x83\x40", "\xB3\xA7"}));
    EXPECT_EQ(rows[144], (Dictionary::Row{"\xDF", "\x81\x4B"}));
}

TEST(TREPreProcessor, FuzzyRewriteExamples) {
    const std::string ga = "(\x82\xAA|\x83\x4B|\xB6\xDE|\x82\xA9\x81\x4A|\x83\x4A\x81\x4A)";
    const std::string u = "(\x82\xA4|\x83\x45|\xB3|\x82\xA3|\x83\x44|\xA9)";
    const std::string a = "(\x82\xA0|\x83\x41|\xB1|\x82\x9F|\x83\x40|\xA7)";
    struct Case {
        std::string pattern;
        std::string rewritten;
    };
    const std::vector<Case> cases = {
        {"abc", "(\x82\x60|\x82\x81|A|a)(\x82\x61|\x82\x82|B|b)(\x82\x62|\x82\x83|C|c)"},
        {"\\(", "(\\(|\x81\x69)"},
        {"[a]", "[a]"},
        {"[^a-c]x", "[^a-c](\x82\x77|\x82\x98|X|x)"},
        {"a*", "(\x82\x60|\x82\x81|A|a)*"},
        {"\xB6\xDE", ga},
        {"\x82\xA9\x81\x4A", ga},
        {"\x83\x4B", ga},
        {"\x82\xA4\x82\x9F", u + a},
        {"\x81\x5B", "(\x81\x5B|\x81\x60|\xB0)"},
        {"-", "(-|\x81\x5B|\x81\x7C|\x81\x60|\xB0)"},
        {"\\\\", "(\\\\|\x81\x8F)"},
        {"\\.", "(\xA1|\\.|\x81\x42|\x81\x44)"},
        {"(1|z)", "((1|\x82\x50|\x88\xEA|\x87\x40|\x87\x54|\x88\xEB)|(\x82\x79|\x82\x9A|Z|z))"},
        {"\x95\x5C", "\x95\x5C"},
    };
    for (const Case& c : cases) EXPECT_EQ(fuzzy(c.pattern), c.rewritten) << c.pattern;
}

// Among the entries that begin with the same character the first in the
// order of dictionaries, rows and entries wins, and none reaches past the
// run of ordinary characters it starts in.
TEST(TREPreProcessor, FirstEntryInDictionaryOrderWins) {
    const Dictionary first = Dictionary::fromCommaTexts({"abc,P", "q,ab"});
    const Dictionary second = Dictionary::fromCommaTexts({"a,Z", "ab,Q"});
    struct Case {
        std::string pattern;
        std::string rewritten;
    };
    const std::vector<Case> cases = {
        {"abc", "(abc|P)"},
        {"abd", "(q|ab)d"},
        {"ab(c)", "(q|ab)(c)"},
        {"ac", "(a|Z)c"},
        {"[ab]c", "[ab]c"},
    };
    for (const Case& c : cases) EXPECT_EQ(TREPreProcessor::rewrite(c.pattern, {&first, &second}), c.rewritten) << c.pattern;
}

TEST(TREPreProcessor, SwitchesAndSynonymsBeforeFuzzy) {
    const Dictionary synonyms = Dictionary::fromCommaTexts({"cat,dog", "x,y"});
    TREPreProcessor pre;
    pre.synonymDictionaries().push_back(&synonyms);
    pre.fuzzyDictionaries().push_back(&fuzzyCharDictionary());
    pre.setPattern("dogs");
    pre.run();
    EXPECT_EQ(pre.rewritten(), "dogs");  // both switches off
    pre.SetUseSynonymDic(true);
    pre.run();
    EXPECT_EQ(pre.rewritten(), "(cat|dog)s");
    pre.SetUseFuzzyCharDic(true);
    pre.setPattern("x");
    pre.run();
    EXPECT_EQ(pre.rewritten(), "((\x82\x77|\x82\x98|X|x)|(\x82\x78|\x82\x99|Y|y))");
}

}  // namespace
}  // namespace tabulo::regex
