// UTF-8 detection and the UTF-8 conversions of the kanji unit, checked
// against the C library's CP932 converter called directly: the table they
// use was generated from it, and these tests keep the two in agreement.
#include "kanji/utf8_code.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "kanji/kanji_code.h"
#include "iconv_call.h"
#include "jis_table.h"

namespace tabulo::kanji {
namespace {

using testing::Iconv;

std::string hex(const std::string& bytes)
{
    std::string text;
    for (const char c : bytes) {
        char part[4];
        std::snprintf(part, sizeof part, "%02X", static_cast<unsigned char>(c));
        text += part;
    }
    return text;
}

class Utf8CodeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!m_decode.usable() || !m_encode.usable()) {
            GTEST_SKIP() << "the C library has no CP932 converter";
        }
    }
    Iconv m_decode{"UTF-8", "CP932"};
    Iconv m_encode{"CP932", "UTF-8"};
};

// Every byte and lead/trail pair: a code the converter decodes comes back
// from UTF-8 as itself, or, when it shares its character with other codes,
// as the code the converter's own encoding chooses; a code it does not
// decode is reported.
TEST_F(Utf8CodeTest, EveryCp932CodeRoundTripsOrComesBackAsTheConvertersChoice)
{
    std::size_t decodable = 0;
    std::size_t shared = 0;
    const auto check = [&](const std::string& sjis) {
        const Utf8Conversion utf8 = sjis2utf8(sjis);
        const std::optional<std::string> expected = m_decode(sjis);
        if (!expected) {
            EXPECT_EQ(utf8.lost, 1u) << hex(sjis);
            return;
        }
        ++decodable;
        ASSERT_EQ(utf8.lost, 0u) << hex(sjis);
        ASSERT_EQ(utf8.text, *expected) << hex(sjis);
        const Utf8Conversion back = utf82sjis(utf8.text);
        ASSERT_EQ(back.lost, 0u) << hex(sjis);
        ASSERT_EQ(back.text, m_encode(utf8.text).value_or("")) << hex(sjis);
        if (back.text != sjis) {
            ++shared;
            EXPECT_EQ(sjis2utf8(back.text).text, utf8.text) << hex(sjis);
        }
    };
    for (unsigned b = 0; b < 0x100; ++b) {
        if (!(b >= 0x81 && b <= 0x9F) && !(b >= 0xE0 && b <= 0xFC)) {
            check(std::string(1, static_cast<char>(b)));
        }
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            check({static_cast<char>(lead), static_cast<char>(trail)});
        }
    }
    // 7-bit, kana, JIS X 0208, NEC row 13, the IBM extensions in both places
    // and the user-defined area.
    EXPECT_EQ(decodable, 9795u);
    // NEC row 13 copies, NEC-selected IBM rows and IBM copies of row-13 symbols.
    EXPECT_EQ(shared, 398u);
}

TEST_F(Utf8CodeTest, CodesWithTwoFormsTakeTheConvertersChoice)
{
    struct Case {
        const char* name;
        std::string sjis;
        std::string preferred;
    };
    const Case cases[] = {
        {"NEC row 13 nearly-equal", "\x87\x90", "\x81\xE0"},
        {"IBM because", "\xFA\x5B", "\x81\xE6"},
        {"NEC-selected IBM kanji", "\xED\x40", "\xFA\x5C"},
        {"IBM Roman numeral one", "\xFA\x4A", "\x87\x54"},
        {"NEC-selected small Roman one", "\xEE\xEF", "\xFA\x40"},
        {"IBM not sign", "\xFA\x54", "\x81\xCA"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf82sjis(sjis2utf8(c.sjis).text).text, c.preferred) << c.name;
        EXPECT_EQ(m_encode(*m_decode(c.sjis)), c.preferred) << c.name;
    }
}

TEST_F(Utf8CodeTest, AllOfJisX0208AgreesWithTheConverterBothWays)
{
    std::string sjis;
    for (const testing::JisChar& c : testing::jisX0208Chars()) {
        sjis += ToSjis(c.row, c.cell);
    }
    const Utf8Conversion utf8 = sjis2utf8(sjis);
    EXPECT_EQ(utf8.lost, 0u);
    EXPECT_EQ(utf8.text, m_decode(sjis));
    const Utf8Conversion back = utf82sjis(utf8.text);
    EXPECT_EQ(back.lost, 0u);
    EXPECT_TRUE(back.text == sjis) << "JIS X 0208 does not come back unchanged";
}

TEST(Utf8Code, JisLookAlikesBecomeTheirShiftJisCharacters)
{
    struct Case {
        const char* utf8;
        const char* sjis;
    };
    const Case cases[] = {
        {"\u301C", "\x81\x60"},  // WAVE DASH for ～
        {"\u2016", "\x81\x61"},  // DOUBLE VERTICAL LINE for ∥
        {"\u2212", "\x81\x7C"},  // MINUS SIGN for －
        {"\u00A2", "\x81\x91"},  // CENT SIGN for ￠
        {"\u00A3", "\x81\x92"},  // POUND SIGN for ￡
        {"\u00AC", "\x81\xCA"},  // NOT SIGN for ￢
    };
    for (const Case& c : cases) {
        const Utf8Conversion sjis = utf82sjis(c.utf8);
        EXPECT_EQ(sjis.text, c.sjis) << c.utf8;
        EXPECT_EQ(sjis.lost, 0u) << c.utf8;
    }
}

TEST(Utf8Code, CharactersWithoutShiftJisFormAreCountedAndMarked)
{
    struct Case {
        const char* name;
        std::string utf8;
        std::string sjis;
        std::size_t lost;
        std::size_t firstLost;
    };
    const Case cases[] = {
        {"none", "a\u3042", "a\x82\xA0", 0, 0},
        {"emoji", "ab\u3042\U0001F600c\U0001F600", "ab\x82\xA0\x81\xAC" "c\x81\xAC", 2, 5},
        {"accented letter", "\u00E9", "\x81\xAC", 1, 0},
        {"malformed byte", "a\xFF" "b", "a\x81\xAC" "b", 1, 1},
        {"cut-off sequence", "a\xE3\x81", "a\x81\xAC\x81\xAC", 2, 1},
    };
    for (const Case& c : cases) {
        const Utf8Conversion result = utf82sjis(c.utf8);
        EXPECT_EQ(result.text, c.sjis) << c.name;
        EXPECT_EQ(result.lost, c.lost) << c.name;
        EXPECT_EQ(result.firstLost, c.firstLost) << c.name;
    }
}

TEST(Utf8Code, ShiftJisBytesThatAreNoCharacterAreReported)
{
    const Utf8Conversion result = sjis2utf8("a\x82\xA0\x85\x40z\x82");
    EXPECT_EQ(result.text, "a\u3042\uFFFDz\uFFFD");
    EXPECT_EQ(result.lost, 2u);
    EXPECT_EQ(result.firstLost, 3u);
}

TEST(Utf8Code, DetectsUtf8WithNonAsciiCharactersOnly)
{
    struct Case {
        const char* name;
        std::string text;
        bool utf8;
    };
    const Case cases[] = {
        {"empty", "", false},
        {"ASCII", "abc\r\n", false},
        {"kana and kanji", "a\u3042\u6F22\r\n", true},
        {"emoji", "\U0001F600", true},
        {"Shift-JIS", "\x82\xA0\x8A\xBF", false},
        {"EUC", "\xA4\xA2\xB4\xC1", false},
        {"half-width kana in Shift-JIS", "\xB1\xB2", false},
        {"overlong slash", "\xC0\xAF", false},
        {"overlong three-byte", "\xE0\x80\xAF", false},
        {"surrogate", "\xED\xA0\x80", false},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", false},
        {"cut off at the end", "\u3042\xE3\x81", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsUtf8Text(c.text), c.utf8) << c.name;
    }
    // The detection of the other codes keeps its results: UTF-8 あい reads
    // as Shift-JIS there, which is why callers ask IsUtf8Text first.
    EXPECT_EQ(InCodeCheck("\xE3\x81\x82\xE3\x81\x84"), kCodeSjis);
}


TEST(Utf8Code, PlaceOfAnOffsetCountsLinesBytesAndCharacters)
{
    struct Case {
        const char* name;
        std::string text;
        std::size_t offset;
        TextPlace place;
    };
    const Case cases[] = {
        {"start", "abc", 0, {1, 1, 1, U'a'}},
        {"after kana", "\u3042\u3044x", 6, {1, 7, 3, U'x'}},
        {"third line over CR LF and LF", "a\r\nb\nc\U0001F600", 6, {3, 2, 2, 0x1F600}},
        {"lone CR ends a line", "a\rb", 2, {2, 1, 1, U'b'}},
        {"malformed byte", "\xFF" "a", 0, {1, 1, 1, 0}},
        {"end of text", "ab", 2, {1, 3, 3, 0}},
    };
    for (const Case& c : cases) {
        const TextPlace place = placeOf(c.text, c.offset);
        EXPECT_EQ(place.line, c.place.line) << c.name;
        EXPECT_EQ(place.byte, c.place.byte) << c.name;
        EXPECT_EQ(place.character, c.place.character) << c.name;
        EXPECT_EQ(place.codePoint, c.place.codePoint) << c.name;
    }
}

// A text written with the JIS look-alikes comes back with them; a text that
// used both forms of a pair, or only the CP932 form, gets the CP932 form.
TEST(Utf8Code, LookAlikesOfTheFileComeBackAfterARoundTrip)
{
    struct Case {
        const char* name;
        std::string utf8;
        std::string back;
    };
    const Case cases[] = {
        {"all six JIS look-alikes", "\u301C\u2016\u2212\u00A2\u00A3\u00AC x", "\u301C\u2016\u2212\u00A2\u00A3\u00AC x"},
        {"em dash, yen and overline", "\u2014\u00A5\u203E", "\u2014\u00A5\u203E"},
        {"backslash and tilde", "\\~\u2015", "\\~\u2015"},
        {"CP932 forms", "\uFF5E\u2225\uFF0D", "\uFF5E\u2225\uFF0D"},
        {"both forms of one pair", "\u301C\uFF5E\u2212", "\uFF5E\uFF5E\u2212"},
        {"none", "\u3042a", "\u3042a"},
    };
    for (const Case& c : cases) {
        const LookAlikeForms forms = lookAlikesIn(c.utf8);
        EXPECT_EQ(restoreLookAlikes(sjis2utf8(utf82sjis(c.utf8).text).text, forms), c.back) << c.name;
    }
}

}  // namespace
}  // namespace tabulo::kanji
