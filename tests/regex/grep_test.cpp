// The file grep engine: reported lines and numbers, line ends, blocks and
// carries, cancel, trail bytes, and the three scanners against the
// reference on generated files with tiny block sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <utility>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "regex/dictionary.h"
#include "regex/grep.h"
#include "regex/re_pre_processor.h"
#include "regex/required_code.h"
#include "grep_fixture.h"
#include "reference_matcher.h"

namespace tabulo::regex {
namespace {

std::string repeat(const std::string& s, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

using testing::RefHit;

using GrepFile = testing::GrepFixture;

TEST_F(GrepFile, ReportsEachMatchingLineOnceWithItsNumber) {
    const std::string file = "abc\r\nxyz\r\nabd\r\n";
    const std::vector<RefHit> lines13 = {{1, "abc"}, {3, "abd"}};
    struct Case {
        std::string pattern;
        std::vector<RefHit> hits;
    };
    const std::vector<Case> cases = {
        {"ab", lines13},            // literal scanner
        {"ab.$", lines13},          // search automaton, $ is the line feed after the line
        {"a[b]+[cd]", lines13},     // search automaton
        {"^x", {{2, "xyz"}}},       // literal with the line feed in front
        {"z$", {{2, "xyz"}}},
        {"^abd$", {{3, "abd"}}},
        {"b|d", lines13},           // a line holding two matches is reported once
        {"c\\nx", {{1, "abc"}}},    // a match running into the next line belongs to its first line
        {"\\nx", {{2, "xyz"}}},     // starting on the line feed in front of a line
        {"q", {}},
        {"", {}},
        {"y*", {{2, "xyz"}}},       // at least one character must be matched
        {"^", {{1, "abc"}, {2, "xyz"}, {3, "abd"}}},
    };
    for (const Case& c : cases) EXPECT_EQ(grep(c.pattern, file), c.hits) << c.pattern;
}

TEST_F(GrepFile, LineEndsZeroBytesAndTheLastLine) {
    struct Case {
        std::string pattern;
        std::string file;
        std::vector<RefHit> hits;
    };
    const std::vector<Case> cases = {
        {"b", "a\nb", {{2, "b"}}},
        {"b$", "a\nb", {{2, "b"}}},
        {"c", "a\rb\rc\r", {{3, "c"}}},
        {"c", "a\r\rc", {{3, "c"}}},
        {"c", "a\r\n\nc\n", {{3, "c"}}},
        {"a b", std::string("xa\0b\n", 5), {{1, "xa b"}}},
        {"^$", "a\n\nb\n", {{2, ""}}},
        {"x", "", {}},
        {"^", "", {}},
        {"^", "\n", {{1, ""}}},
        {"\x95\x5C", "\x95\x5C\r\n", {{1, "\x95\x5C"}}},
    };
    for (const Case& c : cases) {
        for (std::size_t block : {std::size_t{1}, std::size_t{2}, std::size_t{3}, TTxtFile::kBlockSize}) {
            EXPECT_EQ(grep(c.pattern, c.file, block), c.hits) << c.pattern << " block " << block;
        }
    }
}

TEST_F(GrepFile, NeverMatchesOnATrailByte) {
    // 表 is 0x95 0x5C and ポ is 0x83 0x7C: their trail bytes are \ and |.
    const std::string file = "\x95\x5C\r\n\x83\x7C\r\n\x95\x5C\\\r\n|\r\n\x83\x7C\x95\x5C\x83\x7C\r\n";
    struct Case {
        std::string pattern;
        std::vector<RefHit> hits;
    };
    const std::vector<Case> cases = {
        {"\\\\", {{3, "\x95\x5C\\"}}},
        {"\\\\|q", {{3, "\x95\x5C\\"}}},
        {"\\\\$", {{3, "\x95\x5C\\"}}},
        {"\\|", {{4, "|"}}},
        {"[\\\\|]", {{3, "\x95\x5C\\"}, {4, "|"}}},
        {"\\\\\x83\x7C", {}},
        {"\\|\x95\x5C", {}},
        {"\x95\x5C\x83\x7C", {{5, "\x83\x7C\x95\x5C\x83\x7C"}}},
    };
    for (const Case& c : cases) {
        for (std::size_t block : {std::size_t{1}, std::size_t{3}, TTxtFile::kBlockSize}) {
            EXPECT_EQ(grep(c.pattern, file, block), c.hits) << c.pattern << " block " << block;
        }
    }
}

TEST_F(GrepFile, LinesLongerThanABlockAreReportedWhole) {
    const std::string longLine = std::string(300000, 'x') + "needle" + std::string(300000, 'y');
    const std::string file = "a\r\n" + longLine + "\r\nb\r\n";
    for (const std::string pattern : {"needle", "ne+dle", "x\\nb|needle"}) {
        EXPECT_EQ(grep(pattern, file), (std::vector<RefHit>{{2, longLine}})) << pattern;
    }
}

TEST_F(GrepFile, CharactersSplitWhereAScanPausesAreReadWhole) {
    // 表 is 0x95 0x5C: a long line of it puts a trail byte equal to \ at every
    // point where a scanner pauses to let events run or meets a block end.
    const std::string file = repeat("\x95\x5C", 120000) + "\r\n\\a\r\n";
    const std::string line1 = repeat("\x95\x5C", 120000);
    for (const std::string pattern : {"\\\\+", "(\\\\|\\|)a", "\\\\\\n*a"}) {
        for (std::size_t block : {std::size_t{4097}, TTxtFile::kBlockSize}) {
            EXPECT_EQ(grep(pattern, file, block), (std::vector<RefHit>{{2, "\\a"}})) << pattern << " block " << block;
        }
    }
    EXPECT_EQ(grep("\x95\x5C\\n*\\\\", file), (std::vector<RefHit>{{1, line1}}));
}

TEST_F(GrepFile, LargeFilesMappedOrReadGiveTheSameLines) {
    // 表検索 is 95 5C 8C 9F 8D F5: \検 (5C 8C 9F) occurs in its bytes from
    // the trail byte of 表 on, which no hit may start at. Lines end in CR LF,
    // LF and lone CR in turn; some hold a zero byte, read as a space.
    const std::string hyo = "\x95\x5C", ken = "\x8C\x9F", kensaku = "\x8C\x9F\x8D\xF5";
    const std::string breaks[] = {"\r\n", "\n", "\r"};
    std::string file;
    std::vector<RefHit> literalHits, backslashHits;
    for (std::size_t k = 1; file.size() < (std::size_t{3} << 19); ++k) {
        std::string line = repeat(hyo, k % 50);
        if (k % 97 == 0) line += kensaku;
        if (k % 89 == 0) line += "\\" + ken;
        if (k % 5 == 0) line += std::string(1, '\0') + "z";
        std::string shown = line;
        std::replace(shown.begin(), shown.end(), '\0', ' ');
        if (k % 97 == 0) literalHits.push_back({k, shown});
        if (k % 89 == 0) backslashHits.push_back({k, shown});
        file += line + breaks[k % 3];
    }
    const std::string path = write(file);
    const std::pair<std::string, std::vector<RefHit>> cases[] = {
        {kensaku, literalHits},
        {"\\\\" + ken, backslashHits},
        {"[\\\\x]" + ken + "|" + kensaku, {}},  // a required character, filled in below
    };
    std::vector<RefHit> either;
    std::set_union(literalHits.begin(), literalHits.end(), backslashHits.begin(), backslashHits.end(), std::back_inserter(either),
               [](const RefHit& a, const RefHit& b) { return a.lineNo < b.lineNo; });
    for (const auto& [pattern, expectedHits] : cases) {
        const std::vector<RefHit>& expected = expectedHits.empty() ? either : expectedHits;
        for (const bool map : {true, false}) {
            TGrep g;
            g.SetRegExp(pattern);
            g.setMapLargeFiles(map);
            EXPECT_EQ(grep(g, path), expected) << pattern << " mapped " << map;
            std::size_t count = 0;
            g.setLineDetails(false);
            g.SetOnMatch([&](TGrep&, const RE_LineInfo_t& hit) { count += hit.LineNo == 0 && hit.Line.empty(); });
            g.GrepFile(path);
            EXPECT_EQ(count, expected.size()) << pattern << " mapped " << map;
        }
    }
}

TEST_F(GrepFile, AWalkReachingTheEndDoesNotEndTheSearch) {
    // The walk from b runs through the rest of the file without finding c; the
    // later line holding a is still reported.
    EXPECT_EQ(grep("b[\\x01-\\x7f]*c|a", "b\nxx\na\n", 2), (std::vector<RefHit>{{3, "a"}}));
}

TEST_F(GrepFile, ErrorsCancelAndMissingHandler) {
    TGrep g;
    g.SetRegExp("a");
    const std::string missing = (m_dir / "missing.txt").string();
    EXPECT_NO_THROW(g.GrepFile(missing));  // no OnMatch: nothing happens
    g.SetOnMatch([](TGrep&, const RE_LineInfo_t&) {});
    EXPECT_THROW(g.GrepFile(missing), EFileNotFound);
    EXPECT_THROW(g.GrepFile(m_dir.string()), EFileNotFound);

    // Cancel set in OnMatch: the next line fetch raises.
    const std::string path = write("a1\na2\na3\n");
    int calls = 0;
    g.SetOnMatch([&](TGrep& sender, const RE_LineInfo_t&) {
        ++calls;
        sender.SetCancel(true);
    });
    EXPECT_THROW(g.GrepFile(path), EGrepCancel);
    EXPECT_EQ(calls, 1);

    // A new search clears Cancel; with one line per block the next block read raises.
    calls = 0;
    g.setBlockSize(3);
    g.SetRegExp("a1");
    EXPECT_THROW(g.GrepFile(path), EGrepCancel);
    EXPECT_EQ(calls, 1);

    // Cancel set by the event pump ends the search at the first block.
    calls = 0;
    g.setEventPump([&] { g.SetCancel(true); });
    EXPECT_THROW(g.GrepFile(path), EGrepCancel);
    EXPECT_EQ(calls, 0);
}

TEST_F(GrepFile, AllScannersAgreeWithTheReference) {
    testing::PatternGenerator gen(4242);
    int hits = 0;
    for (int i = 0; i < 400; ++i) {
        const std::string pattern = gen.pattern(gen.pick(4));
        TGrep g;
        g.SetRegExp(pattern);
        for (int k = 0; k < 4; ++k) {
            std::string file = gen.subject(30);
            if (gen.pick(4) == 0) file += std::string(1, '\0') + "a";
            const std::string path = write(file);
            const auto expected = testing::referenceGrep(pattern, file);
            hits += static_cast<int>(expected.size());
            for (std::size_t block : {std::size_t{1}, std::size_t{2}, std::size_t{7}, TTxtFile::kBlockSize}) {
                ASSERT_EQ(grep(g, path, block), expected)
                    << pattern << " in " << ::testing::PrintToString(file) << " block " << block;
            }
        }
    }
    EXPECT_GT(hits, 500);
}

TEST_F(GrepFile, AgreesWithTheReferenceOnALargerJapaneseFile) {
    // Kana, kanji with trail bytes \ and |, digits, mixed line ends, a zero byte.
    static const std::vector<std::string> kWords = {
        "\x83\x70\x83\x58\x83\x8F\x81\x5B\x83\x68",  // パスワード
        "\xCA\xDF\xBD\xDC\xB0\xC4\xDE",                 // ﾊﾟｽﾜｰﾄﾞ
        "\x83\x74\x83\x40\x83\x43\x83\x8B",              // ファイル
        "\x95\x5C", "\x83\x7C", "\x8C\xC2", "\x8D\x73",    // 表 ポ 個 行
        "12", "3", "abc", " ", "\\", "|", "\r\n", "\n", "\r", std::string(1, '\0')};
    std::mt19937 rng(99);
    std::string file;
    for (int i = 0; i < 6000; ++i) file += kWords[std::uniform_int_distribution<std::size_t>(0, kWords.size() - 1)(rng)];
    const std::string path = write(file);
    struct Case {
        std::string pattern;
        bool fuzzy;
    };
    const std::vector<Case> cases = {
        {"\x83\x70\x83\x58\x83\x8F\x81\x5B\x83\x68", false},
        {"[0-9]+(\x8C\xC2|\x8D\x73)", false},
        {"\x82\xCF\x82\xB7\x82\xED\x81\x5B\x82\xC7", true},  // ぱすわーど
        {"\\\\|\\|", false},
        {"^\x95\x5C|\x83\x7C$", false},
        {"[^a-z\x82\xA0-\x83\x96]+\x8C\xC2", false},
        {"c\n+1", false},
        {"", false},
    };
    std::size_t total = 0;
    for (const Case& c : cases) {
        TGrep g;
        g.SetUseFuzzyCharDic(c.fuzzy);
        g.SetRegExp(c.pattern);
        const std::string parsed = c.fuzzy ? TREPreProcessor::rewrite(c.pattern, {&fuzzyCharDictionary()}) : c.pattern;
        const auto expected = testing::referenceGrep(parsed, file);
        total += expected.size();
        for (std::size_t block : {std::size_t{64}, std::size_t{1000}, TTxtFile::kBlockSize}) {
            EXPECT_EQ(grep(g, path, block), expected) << c.pattern << " block " << block;
        }
    }
    EXPECT_GT(total, 1000u);
}

}  // namespace
}  // namespace tabulo::regex

namespace tabulo::regex {
namespace {

TEST(RequiredCode, EveryMatchHoldsOneOfThem) {
    struct Case {
        std::string pattern;
        std::vector<Code> codes;
    };
    const std::vector<Case> cases = {
        {".*a....", {'a'}},
        {"(a|b)*a(a|b)(a|b)", {'a'}},
        {"[ab]c", {'c'}},
        {"x(\x95\x5C|\x83\x7C)+", {'x'}},
        {"a.*\x88\x9F", {0x889F}},  // a kanji before a one-byte character
        {"\x82\xA0?b", {'b'}},
        {"a|b", {'a', 'b'}},
        {"[\x82\xA0-\x82\xA8]\x82\xF1|\x8A\xBF\x8E\x9A", {0x82F1, 0x8E9A}},  // [あ-お]ん|漢字: ん or 字
        {"(a|b)c|d", {'c', 'd'}},
        {"a|b|c|d|e", {}},  // more than the finder takes
        {"a*", {}},
        {"[a-c]+", {}},
        {"a|[b-c]", {}},
        {"^\\n$", {}},  // line breaks are never searched for
        {"\\x95", {}},   // nor a lead byte standing alone
    };
    for (const Case& c : cases) {
        TGrep grep;
        grep.SetRegExp(c.pattern);
        std::vector<Code> codes = detail::requiredCodes(grep.dfa().nfa());
        std::sort(codes.begin(), codes.end());
        EXPECT_EQ(codes, c.codes) << c.pattern;
    }
}

}  // namespace
}  // namespace tabulo::regex
