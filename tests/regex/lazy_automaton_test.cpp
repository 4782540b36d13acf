// Patterns whose deterministic automaton is far larger than its state cache:
// matches and grep hits agree with the reference on subjects with trail-byte
// traps; the cache empties and falls back to stepping NFA sets without
// changing a result; large files with matches that cross many lines give the
// lines a direct computation expects.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "regex/awk_str.h"
#include "regex/grep.h"
#include "regex/lazy_dfa.h"
#include "regex/re_parser.h"
#include "grep_fixture.h"
#include "reference_matcher.h"

namespace tabulo::regex {
namespace {

using testing::RefHit;
using LS = TMatchCORE_LineSeparator;

std::string repeat(const std::string& s, std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

// (a|b)*a(a|b)(a|b)... with n groups spelled out: its automaton has 2^(n+1) states.
std::string abPattern(std::size_t n) { return "(a|b)*a" + repeat("(a|b)", n); }
std::string dotPattern(std::size_t n) { return ".*a" + repeat(".", n); }
// Kanji of the first level, hiragana, and 表 / ポ whose trail bytes are \ and |.
const std::string kKanji = "[\x88\x9F-\x98\x72\x82\xA0-\x82\xF1\x95\x5C\x83\x7C]";

std::vector<std::string> largePatterns() {
    std::vector<std::string> patterns;
    for (std::size_t n : {1, 5, 14, 16, 20, 25, 30}) patterns.push_back(abPattern(n));
    for (std::size_t n : {14, 20, 30}) patterns.push_back(dotPattern(n));
    patterns.push_back("(" + kKanji + "|a)*\x95\x5C" + repeat(kKanji, 12));
    patterns.push_back("[^\x82\xA0-\x82\xF1" "a]*\\\\" + repeat("[^\x88\x9F-\x98\x72]", 16));
    patterns.push_back("(\\\\|\\||" + kKanji + ")+" + repeat("(a|\x83\x7C)", 10) + "$");
    return patterns;
}

// Long runs of a and b between the characters that trap a byte matcher.
std::string trapSubject(std::mt19937& rng, int pieces) {
    static const std::vector<std::string> kPieces = {
        "abbabaabba", "babbaababb", "aaaaabbbbb", "a", "b", "\\", "|", "\n", "\r\n", "\x95\x5C", "\x83\x7C",
        "\x82\xA0", "\x88\x9F", "\x95", "x", " "};
    std::string s;
    const int n = std::uniform_int_distribution<int>(0, pieces)(rng);
    for (int i = 0; i < n; ++i) {
        // Half of the pieces are runs of a and b.
        const std::size_t pick = std::uniform_int_distribution<std::size_t>(0, 2 * kPieces.size() - 1)(rng);
        s += pick < kPieces.size() ? kPieces[pick] : kPieces[pick % 3];
    }
    return s;
}

TEST(LargeAutomata, MatchAgreesWithTheReference) {
    std::mt19937 rng(1414);
    int matched = 0;
    for (const std::string& pattern : largePatterns()) {
        TAWKStr awk;
        awk.SetRegExp(pattern);
        for (int k = 0; k < 16; ++k) {
            const std::string subject = trapSubject(rng, 24);
            const LS sep = k % 2 ? LS::mcls_LF : LS::mcls_CRLF;
            awk.SetLineSeparator(sep);
            const auto expected = testing::referenceSearch(pattern, subject, sep == LS::mcls_CRLF ? 13 : 10);
            std::size_t length = 0;
            const std::size_t pos = awk.Match(subject, length);
            const std::string detail = pattern + " in " + ::testing::PrintToString(subject);
            if (expected) {
                ASSERT_EQ(pos, expected->first + 1) << detail;
                ASSERT_EQ(length, expected->second - expected->first) << detail;
                ++matched;
            } else {
                ASSERT_EQ(pos, 0u) << detail;
            }
        }
    }
    EXPECT_GT(matched, 60);
}

using LargeAutomataGrep = testing::GrepFixture;

TEST_F(LargeAutomataGrep, AgreesWithTheReference) {
    std::vector<std::string> patterns = largePatterns();
    // Matches that run on across lines.
    for (const std::string p : {"a(a|\\n)*c", "\x95\x5C(.|\\n)*\\\\", "b\\n+a|\\|(\\n|x)*\\n"}) patterns.push_back(p);
    patterns.push_back("(a|b|\\n)*a" + repeat("(a|b|\\n)", 12));
    std::mt19937 rng(2718);
    std::size_t hits = 0;
    for (const std::string& pattern : patterns) {
        TGrep g;
        g.SetRegExp(pattern);
        for (int k = 0; k < 6; ++k) {
            const std::string file = trapSubject(rng, 30);
            const std::string path = write(file);
            const auto expected = testing::referenceGrep(pattern, file);
            hits += expected.size();
            for (std::size_t block : {std::size_t{1}, std::size_t{7}, TTxtFile::kBlockSize}) {
                ASSERT_EQ(grep(g, path, block), expected)
                    << pattern << " in " << ::testing::PrintToString(file) << " block " << block;
            }
        }
    }
    EXPECT_GT(hits, 50u);
}

// Walks the lazily built automaton with a cache of a few states beside a
// plain simulation of the NFA sets: every step must accept alike, and the
// walk must both empty the cache and fall back to stepping sets.
TEST(LazyDfa, ATinyCacheChangesNoResult) {
    std::mt19937 rng(31);
    for (const std::string& pattern : {abPattern(20), dotPattern(20)}) {
        TREParser parser(pattern);
        parser.parse();
        TRE_NFA nfa(kDefaultLineHeadCode, kDefaultLineTailCode);
        nfa.build(parser.tree());
        for (bool unanchored : {false, true}) {
            detail::LazyDfa lazy(nfa, 0, 1, unanchored, 0);
            testing::NfaSetWalk sets(nfa, unanchored);
            int state = lazy.initial();
            for (int i = 0; i < 200000; ++i) {
                const Code code = "ab"[std::uniform_int_distribution<int>(0, 9)(rng) < 6 ? 0 : 1];
                const bool accepting = sets.step(code);
                state = lazy.next(state, code);
                ASSERT_NE(state, detail::LazyDfa::kNone) << pattern;
                ASSERT_EQ(lazy.accepts(state), accepting) << pattern << " step " << i;
            }
            EXPECT_GT(lazy.flushes(), 0u) << pattern;
            EXPECT_GT(lazy.simulatedSteps(), 0u) << pattern;
        }
    }
}

// The leftmost-longest match of (a|b)*a(a|b){20} in a long a/b subject starts
// at the first byte and ends 20 characters after its last a that has 20
// characters behind it: every step of the walk is a new state.
TEST(LargeAutomata, LongSubjectsWalkPastTheCache) {
    std::mt19937 rng(7);
    std::string subject;
    for (int i = 0; i < 400000; ++i) subject += "ab"[std::uniform_int_distribution<int>(0, 1)(rng)];
    const std::size_t lastA = subject.rfind('a', subject.size() - 21);
    TAWKStr awk;
    awk.SetRegExp(abPattern(20));
    std::size_t length = 0;
    EXPECT_EQ(awk.Match(subject, length), 1u);
    EXPECT_EQ(length, lastA + 21);

    awk.SetRegExp(dotPattern(20));
    EXPECT_EQ(awk.Match(subject + "\r\nx", length), 1u);
    EXPECT_EQ(length, lastA + 21);
}

// A large file of a, b and c in short lines, and stretches of lines holding
// only a: a line is reported for a(a|\n)*c when one of its a is followed by a
// run of a and line feeds that ends in c, and for (a|b)*a(a|b){20} when an a
// is followed by 20 more of a and b in the line.
TEST_F(LargeAutomataGrep, LargeFilesGiveTheLinesExpected) {
    std::mt19937 rng(11);
    std::string file;
    while (file.size() < 3'000'000) {
        if (std::uniform_int_distribution<int>(0, 399)(rng) == 0) {
            file += repeat("aaaa\r\n", std::uniform_int_distribution<std::size_t>(1, 30000)(rng));
            continue;
        }
        const int length = std::uniform_int_distribution<int>(0, 60)(rng);
        for (int i = 0; i < length; ++i) file += "aaaabbbc"[std::uniform_int_distribution<int>(0, 7)(rng)];
        file += "\r\n";
    }
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < file.size();) {
        const std::size_t end = file.find("\r\n", at);
        lines.push_back(file.substr(at, end - at));
        at = end + 2;
    }
    // The text as the grep reads it: one line feed per line end.
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    std::vector<RefHit> crossing;
    std::vector<RefHit> within;
    std::vector<char> endsInC(text.size() + 1, 0);  // the a/line-feed run from here ends in c
    for (std::size_t i = text.size(); i-- > 0;) {
        endsInC[i] = text[i] == 'c' || ((text[i] == 'a' || text[i] == '\n') && endsInC[i + 1]);
    }
    std::size_t at = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string& l = lines[n];
        bool cross = false;
        bool in = false;
        std::size_t run = 0;  // a and b after this position in the line
        for (std::size_t i = l.size(); i-- > 0;) {
            if (l[i] == 'a' && endsInC[at + i + 1]) cross = true;
            if (l[i] == 'a' && run >= 20) in = true;
            run = l[i] == 'a' || l[i] == 'b' ? run + 1 : 0;
        }
        if (cross) crossing.push_back({n + 1, l});
        if (in) within.push_back({n + 1, l});
        at += l.size() + 1;
    }
    ASSERT_GT(crossing.size(), 500u);
    ASSERT_GT(within.size(), 500u);
    const std::string path = write(file);
    TGrep g;
    g.SetRegExp("a(a|\\n)*c");
    for (std::size_t block : {std::size_t{4096}, TTxtFile::kBlockSize}) EXPECT_EQ(grep(g, path, block), crossing) << block;
    g.SetRegExp(abPattern(20));
    EXPECT_EQ(grep(g, path, TTxtFile::kBlockSize), within);
}

}  // namespace
}  // namespace tabulo::regex
