// Detection and conversion between Shift-JIS, EUC and JIS: the decision
// rules, the whole JIS X 0208 table through every converter, half-width
// katakana, JIS escapes and damaged input.
#include "kanji/kanji_code.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>

#include "kanji/jis_table.h"
#include "kanji/test_bytes.h"

namespace tabulo::kanji {
namespace {

using testing::jisX0208Chars;
using testing::readFixture;
using testing::showBytes;

using namespace std::string_literals;

const std::string kIn = "\x1B$B";   // kanji in
const std::string kOut = "\x1B(J";  // kanji out

std::string sjisTable() {
    std::string text;
    for (const auto& c : jisX0208Chars()) text += ToSjis(c.row, c.cell);
    return text;
}

struct DetectCase {
    const char* name;
    std::string text;
    int expected;
};

TEST(InCodeCheck, DecidesByTheFirstTellingBytes) {
    const std::string ascii600(600, 'a');
    const DetectCase cases[] = {
        {"empty", "", kCodeNone},
        {"one byte is never examined", "\x82", kCodeNone},
        {"ascii", "Hello, world\r\n", kCodeNone},
        {"ESC $ B before any 8-bit byte", "ab\x1B$B$\"\x1B(J\x82\xA0", kCodeJisB},
        {"ESC $ @", "\x1B$@$\"\x1B(J", kCodeJisAt},
        {"other escape decides nothing", "\x1B(J\x82\xA0", kCodeSjis},
        {"sjis hiragana", "\x82\xA0", kCodeSjis},
        {"euc hiragana is undecided", "\xA4\xA2", kCodeUndecided},
        {"euc hiragana run stays undecided", "\xA4\xA2\xA4\xA4\xA4\xA6", kCodeUndecided},
        {"euc second byte F0 to FE", "\xB0\xF0", kCodeEuc},
        {"euc decided later in the text", "\xA4\xA2\xB4\xC1\xBB\xFA", kCodeEuc},
        {"euc first byte F0 to FE", "a\xF5\xA1", kCodeEuc},
        {"sjis lead E0 with trail 40", "\xE0\x40", kCodeSjis},
        {"E0 to EF with FD", "\xE5\xFD", kCodeEuc},
        {"E0 to EF with A1 to FC is undecided", "\xE5\xA1", kCodeUndecided},
        {"8E with sjis trail", "\x8E\x40", kCodeSjis},
        {"8E with katakana is undecided", "\x8E\xB1", kCodeUndecided},
        {"half-width katakana then ascii", "\xB1" "a", kCodeSjis},
        {"katakana then E0: sjis lead decides", "\xB1\xE0\x9C", kCodeSjis},
        {"katakana then E0: euc byte decides", "\xB0\xE5\xB0\xFD", kCodeEuc},
        {"resolving stops at a byte below 40", "\xB1\xE0\x41 \xA4\xA2", kCodeUndecided},
        {"binary byte", "ab\x05" "cd", kCodeBinary},
        {"byte FF", "\xFF" "abc", kCodeBinary},
        {"binary byte as the last byte", "abc\x05", kCodeNone},
        {"binary byte within the first 512", "\x82\xA0" + std::string(508, 'a') + "\x05" "a", kCodeBinary},
        {"binary byte after 512 and a decision", "\x82\xA0" + ascii600 + "\x05" "a", kCodeSjis},
        {"binary byte after 512 without a decision", ascii600 + "\x05" "a", kCodeBinary},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(InCodeCheck(c.text), c.expected) << c.name << ": " << showBytes(c.text);
    }
}

TEST(InCodeCheck, RecognisesLongTextsOfEachCode) {
    const std::string table = sjisTable();
    EXPECT_EQ(InCodeCheck(table), kCodeSjis);
    EXPECT_EQ(InCodeCheck(sjis2euc(table)), kCodeEuc);
    EXPECT_EQ(InCodeCheck(sjis2jis83(table)), kCodeJisB);
    EXPECT_EQ(InCodeCheck(readFixture("sample_sjis.txt")), kCodeSjis);
    EXPECT_EQ(InCodeCheck(readFixture("sample_euc.txt")), kCodeEuc);
    EXPECT_EQ(InCodeCheck(readFixture("sample_jis.txt")), kCodeJisB);
}

TEST(ToSjisToJis, KnownCharacters) {
    struct Case {
        unsigned char row, cell, lead, trail;
    };
    const Case cases[] = {
        {0x21, 0x21, 0x81, 0x40},  // full-width space
        {0x24, 0x22, 0x82, 0xA0},  // あ
        {0x34, 0x41, 0x8A, 0xBF},  // 漢
        {0x21, 0x5F, 0x81, 0x7E},  // odd row, last cell below 0x60
        {0x21, 0x60, 0x81, 0x80},  // odd row, first cell from 0x60
        {0x5E, 0x7E, 0x9F, 0xFC},  // last row of the first lead block
        {0x5F, 0x21, 0xE0, 0x40},  // first row of the second lead block
        {0x7E, 0x7E, 0xEF, 0xFC},
    };
    for (const auto& c : cases) {
        EXPECT_BYTES(ToSjis(c.row, c.cell), (std::string{char(c.lead), char(c.trail)}));
        EXPECT_BYTES(ToJis(c.lead, c.trail), (std::string{char(c.row), char(c.cell)}));
    }
}

TEST(ToSjisToJis, EveryRowAndCellMapsToADistinctSjisCharacterAndBack) {
    std::set<std::string> seen;
    for (int row = 0x21; row <= 0x7E; ++row) {
        for (int cell = 0x21; cell <= 0x7E; ++cell) {
            const std::string sjis = ToSjis(static_cast<unsigned char>(row), static_cast<unsigned char>(cell));
            const auto lead = static_cast<unsigned char>(sjis[0]);
            const auto trail = static_cast<unsigned char>(sjis[1]);
            ASSERT_TRUE((lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF)) << row << ',' << cell;
            ASSERT_TRUE(trail >= 0x40 && trail <= 0xFC && trail != 0x7F) << row << ',' << cell;
            EXPECT_BYTES(ToJis(lead, trail), (std::string{char(row), char(cell)}));
            seen.insert(sjis);
        }
    }
    EXPECT_EQ(seen.size(), 94u * 94u);
}

// The converters read pairs from tables; every pair they accept must give
// what the single-character functions give, user-defined leads included.
TEST(Conversion, EveryPairAgreesWithToSjisAndToJis) {
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead >= 0xA0 && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const std::string sjis{char(lead), char(trail)};
            std::string euc = ToJis(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
            const std::string jis = kIn + euc + kOut;
            euc[0] = static_cast<char>(euc[0] | 0x80);
            euc[1] = static_cast<char>(euc[1] | 0x80);
            ASSERT_BYTES(sjis2euc(sjis), euc);
            ASSERT_BYTES(sjis2jis83(sjis), jis);
        }
    }
    for (int row = 0x21; row <= 0x7E; ++row) {
        for (int cell = 0x21; cell <= 0x7E; ++cell) {
            const std::string sjis = ToSjis(static_cast<unsigned char>(row), static_cast<unsigned char>(cell));
            ASSERT_BYTES(euc2sjis(std::string{char(row | 0x80), char(cell | 0x80)}), sjis);
            ASSERT_BYTES(jis2sjis(kIn + std::string{char(row), char(cell)}), sjis);
        }
    }
}

TEST(Conversion, WholeJisX0208TableRoundTrips) {
    const std::string sjis = sjisTable();
    const std::string euc = sjis2euc(sjis);
    ASSERT_EQ(euc.size(), sjis.size());
    EXPECT_TRUE(std::all_of(euc.begin(), euc.end(), [](char c) { return static_cast<unsigned char>(c) >= 0xA1; }));
    EXPECT_EQ(euc2sjis(euc), sjis);

    const std::string jis = sjis2jis83(sjis);
    EXPECT_EQ(jis.substr(0, 3), kIn);
    EXPECT_EQ(jis.substr(jis.size() - 3), kOut);
    EXPECT_EQ(jis.size(), sjis.size() + 6);
    EXPECT_EQ(jis2sjis(jis), sjis);
    EXPECT_EQ(euc2jis83(euc), jis);
    EXPECT_EQ(jis2euc(jis), euc);
}

struct ConvertCase {
    const char* name;
    std::string input;
    std::string expected;
};

TEST(WritingJis, EscapesAroundKanjiRuns) {
    const ConvertCase cases[] = {
        {"empty", "", ""},
        {"ascii only", "abc", "abc"},
        {"hiragana then ascii", "\x82\xA0\x82\xA2" "A", kIn + "$\"$$" + kOut + "A"},
        {"one kanji", "\x8A\xBF", kIn + "4A" + kOut},
        {"line breaks close kanji mode", "\x82\xA0\r\n\x82\xA2",
         kIn + "$\"" + kOut + "\r\n" + kIn + "$$" + kOut},
        {"half-width katakana with voicing mark", "\xB6\xDE", kIn + "%," + kOut},
        {"semi-voiced", "\xCA\xDF", kIn + "%Q" + kOut},
        {"voiced ha", "\xCE\xDE", kIn + "%\\" + kOut},
        {"u with voicing mark", "\xB3\xDE", kIn + "%t" + kOut},
        {"mark that does not merge", "\xB1\xDE", kIn + "%\"!+" + kOut},
        {"semi-voiced mark on ka does not merge", "\xB6\xDF", kIn + "%+!," + kOut},
        {"lone marks", "\xDE\xDF", kIn + "!+!," + kOut},
        {"punctuation and small kana", "\xA1\xA2\xA3\xA4\xA5\xB0\xA7\xAF\xA6\xDD",
         kIn + "!#!V!W!\"!&!<%!%C%r%s" + kOut},
        {"katakana at the very end", "a\xB6", "a" + kIn + "%+" + kOut},
    };
    for (const auto& c : cases) {
        EXPECT_BYTES(sjis2jis83(c.input), c.expected) << c.name;
    }
}

TEST(WritingJis, FromEucMatchesFromSjis) {
    const ConvertCase cases[] = {
        {"hiragana", "\xA4\xA2" "A", kIn + "$\"" + kOut + "A"},
        {"katakana with voicing mark", "\x8E\xB6\x8E\xDE", kIn + "%," + kOut},
        {"katakana with semi-voiced mark", "\x8E\xCA\x8E\xDF", kIn + "%Q" + kOut},
        {"katakana then a kanji", "\x8E\xB6\xB4\xC1", kIn + "%+4A" + kOut},
        {"katakana at the end", "\x8E\xB1", kIn + "%\"" + kOut},
        {"JIS X 0212 becomes the geta mark", "\x8F\xB0\xA1" "a", kIn + "\".\x1B(Ja"},
    };
    for (const auto& c : cases) {
        EXPECT_BYTES(euc2jis83(c.input), c.expected) << c.name;
    }
}

TEST(ReadingJis, EscapeHandling) {
    const ConvertCase cases[] = {
        {"plain round", kIn + "$\"" + kOut, "\x82\xA0"},
        {"text around", "A" + kIn + "$\"" + kOut + "B", "A\x82\xA0" "B"},
        {"ESC ( B and ESC $ @", "\x1B$@$\"\x1B(BA", "\x82\xA0" "A"},
        {"ascii before any escape", "abc", "abc"},
        {"escape directly followed by another", kIn + kOut + "A", "A"},
        {"kanji mode left open", kIn + "$\"", "\x82\xA0"},
        {"line break inside kanji mode is kept", kIn + "$\"\r\n$$" + kOut, "\x82\xA0\r\n\x82\xA2"},
        {"odd byte in kanji mode is copied", kIn + "$\"$" + kOut, "\x82\xA0$"},
        {"truncated escape: lone ESC", "A\x1B", "A"},
        {"truncated escape: ESC $", kIn + "$\"\x1B$", "\x82\xA0"},
        {"truncated escape: ESC (", kIn + "$\"\x1B(", "\x82\xA0"},
        {"unknown escape keeps its bytes", "A\x1BxyB", "A\x1BxyB"},
        {"ESC $ with a non-final byte keeps its bytes", "\x1B$\nA", "\x1B$\nA"},
    };
    for (const auto& c : cases) {
        EXPECT_BYTES(jis2sjis(c.input), c.expected) << c.name;
    }
    EXPECT_BYTES(jis2euc(kIn + "$\"\r\n$$" + kOut + "A"), "\xA4\xA2\r\n\xA4\xA4" "A");
    EXPECT_BYTES(jis2euc(kIn + "$\"$" + kOut), "\xA4\xA2$");
}

TEST(SjisEuc, HalfWidthKatakanaAndDamagedBytes) {
    const ConvertCase toEuc[] = {
        {"katakana with mark stays half-width", "\xB6\xDE", "\x8E\xB6\x8E\xDE"},
        {"ascii", "a\tb", "a\tb"},
        {"lone lead byte at the end", "A\x82", "A\x82"},
        {"lead byte before a line break", "A\x82\nB", "A\x82\nB"},
        {"lead byte before a blank", "\x82 \x82\xA0", "\x82 \xA4\xA2"},
        {"bytes outside Shift-JIS", "\x80\xA0\xFD\xFF", "\x80\xA0\xFD\xFF"},
    };
    for (const auto& c : toEuc) {
        EXPECT_BYTES(sjis2euc(c.input), c.expected) << c.name;
    }
    const ConvertCase toSjis[] = {
        {"katakana", "\x8E\xB6\x8E\xDE", "\xB6\xDE"},
        {"lone first byte at the end", "A\xA4", "A\xA4"},
        {"first byte before a line break", "\xA4\nB", "\xA4\nB"},
        {"JIS X 0212 character becomes the geta mark", "\x8F\xB0\xA1\xA4\xA2", "\x81\xAC\x82\xA0"},
        {"truncated JIS X 0212 character", "\x8F\xB0", "\x8F\xB0"},
        {"8E without katakana", "\x8E" "A", "\x8E" "A"},
    };
    for (const auto& c : toSjis) {
        EXPECT_BYTES(euc2sjis(c.input), c.expected) << c.name;
    }
}

// Damaged input of any kind must not swallow the line breaks around it: a
// byte pair, an escape or a three-byte character never spans one.
TEST(Conversion, RandomBytesNeverSwallowLineBreaks) {
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> byte(0, 255);
    using Converter = std::string (*)(std::string_view);
    const std::pair<const char*, Converter> converters[] = {
        {"jis2euc", jis2euc},     {"jis2sjis", jis2sjis}, {"euc2jis83", euc2jis83},
        {"sjis2jis83", sjis2jis83}, {"euc2sjis", euc2sjis}, {"sjis2euc", sjis2euc},
    };
    for (int round = 0; round < 2000; ++round) {
        std::string text(static_cast<std::size_t>(byte(random) % 40), '\0');
        for (char& c : text) c = static_cast<char>(byte(random) % 5 == 0 ? '\n' : byte(random));
        const auto breaks = std::count(text.begin(), text.end(), '\n');
        for (const auto& [name, convert] : converters) {
            const std::string out = convert(text);
            ASSERT_EQ(std::count(out.begin(), out.end(), '\n'), breaks) << name << ": " << showBytes(text);
        }
        InCodeCheck(text);
    }
}

TEST(ConvertJCode, ConvertsFromTheDetectedCode) {
    // あ is undecided in EUC; 字 (EUC 0xBB 0xFA) decides.
    const std::string sjis = "A\x82\xA0\x8E\x9A";
    const std::string euc = "A\xA4\xA2\xBB\xFA";
    const std::string jis = "A" + kIn + "$\";z" + kOut;
    struct Case {
        const char* name;
        std::string input;
        int target;
        std::string expected;
    };
    const Case cases[] = {
        {"sjis to euc", sjis, kCodeEuc, euc},
        {"sjis to jis", sjis, kCodeJisB, jis},
        {"sjis to sjis", sjis, kCodeSjis, sjis},
        {"euc to sjis", euc, kCodeSjis, sjis},
        {"euc to jis", euc, kCodeJisB, jis},
        {"jis to sjis", jis, kCodeSjis, sjis},
        {"jis to euc", jis, kCodeEuc, euc},
        {"jis to jis is unchanged", "\x1B$@$\"\x1B(B", kCodeJisB, "\x1B$@$\"\x1B(B"},
        {"undecided stays", "\xA4\xA2", kCodeSjis, "\xA4\xA2"},
        {"ascii stays", "abc", kCodeJisB, "abc"},
        {"binary stays", "\x01\x82\xA0", kCodeEuc, "\x01\x82\xA0"},
        {"target 3 is not a target", sjis, kCodeJisAt, sjis},
        {"unknown target", sjis, 9, sjis},
    };
    for (const auto& c : cases) {
        EXPECT_BYTES(ConvertJCode(c.input, c.target), c.expected) << c.name;
    }
    // The caller who knows the code resolves what detection cannot.
    EXPECT_BYTES(StrictConvertJCode("\xA4\xA2", kCodeEuc, kCodeSjis), "\x82\xA0");
    EXPECT_BYTES(StrictConvertJCode("\xA4\xA2", kCodeUndecided, kCodeSjis), "\xA4\xA2");
}

}  // namespace
}  // namespace tabulo::kanji
