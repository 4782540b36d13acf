// Checks the CP932 tables against the C library's converter, called directly
// here: every mapped code decodes as iconv decodes it and encodes back either
// to itself or, for the codes that share a character with another code, to the
// code iconv's own encoding direction prefers. Also the single-byte ranges and
// the handling of bad bytes.
#include "sjis/sjis_codec.h"
#include "sjis/sjis_char.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tabulo::sjis {
namespace {

// iconv wrapped just enough for the reference values of these tests.
class Reference {
public:
    Reference()
        : m_decoder(iconv_open("UTF-16LE", "CP932")), m_encoder(iconv_open("CP932", "UTF-16LE"))
    {
    }
    ~Reference()
    {
        iconv_close(m_decoder);
        iconv_close(m_encoder);
    }
    bool usable() const
    {
        return m_decoder != reinterpret_cast<iconv_t>(-1)
            && m_encoder != reinterpret_cast<iconv_t>(-1);
    }

    std::optional<std::u16string> decode(const std::string& bytes)
    {
        const auto out = run(m_decoder, bytes);
        if (!out) {
            return std::nullopt;
        }
        std::u16string units;
        for (std::size_t i = 0; i + 1 < out->size(); i += 2) {
            units += static_cast<char16_t>(static_cast<unsigned char>((*out)[i])
                                           | (static_cast<unsigned char>((*out)[i + 1]) << 8));
        }
        return units;
    }

    std::optional<std::string> encode(char16_t unit)
    {
        const std::string in{static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        return run(m_encoder, in);
    }

private:
    static std::optional<std::string> run(iconv_t cd, const std::string& in)
    {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char buffer[16];
        char* inPtr = const_cast<char*>(in.data());
        char* outPtr = buffer;
        std::size_t inLeft = in.size();
        std::size_t outLeft = sizeof buffer;
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)
            || inLeft != 0) {
            return std::nullopt;
        }
        return std::string(buffer, sizeof buffer - outLeft);
    }

    iconv_t m_decoder;
    iconv_t m_encoder;
};

std::string bytesOf(unsigned code)
{
    if (code > 0xFF) {
        return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    }
    return std::string(1, static_cast<char>(code));
}

unsigned codeOf(const std::string& bytes)
{
    unsigned code = 0;
    for (const char c : bytes) {
        code = code * 256 + static_cast<unsigned char>(c);
    }
    return code;
}

std::string hex(unsigned code)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04X", code);
    return text;
}

// The codes whose character has another code that the converter prefers.
std::set<unsigned> expectedSharedCodes()
{
    std::set<unsigned> codes = {
        // NEC row 13 copies of row-2 symbols: ≒ ≡ ∫ √ ⊥ ∠ ∵ ∩ ∪.
        0x8790, 0x8791, 0x8792, 0x8795, 0x8796, 0x8797, 0x879A, 0x879B, 0x879C,
    };
    const auto addRange = [&](unsigned from, unsigned to) {
        for (unsigned code = from; code <= to; ++code) {
            if (sjis::isTrailByte(static_cast<unsigned char>(code & 0xFF))) {
                codes.insert(code);
            }
        }
    };
    addRange(0xED40, 0xEEEC);  // NEC-selected IBM kanji -> the IBM extension rows
    addRange(0xEEEF, 0xEEFC);  // small Roman numerals, ￢ ￤ ＇ ＂
    addRange(0xFA4A, 0xFA54);  // IBM Roman numerals -> NEC row 13, ￢ -> row 2
    addRange(0xFA58, 0xFA5B);  // ㈱ № ℡ -> NEC row 13, ∵ -> row 2
    return codes;
}

class SjisCodecTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!m_reference.usable()) {
            GTEST_SKIP() << "the C library has no CP932 converter";
        }
    }

    const SjisCodec& m_codec = SjisCodec::instance();
    Reference m_reference;
};

TEST_F(SjisCodecTest, EveryDoubleByteCodeDecodesAndComesBackAsItselfOrItsPreferredCode)
{
    std::set<unsigned> shared;
    std::string allBytes;
    std::u16string allUnits;
    std::string allExpectedBack;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
        if (!sjis::isLeadByte(static_cast<unsigned char>(lead))) {
            continue;
        }
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (!sjis::isTrailByte(static_cast<unsigned char>(trail))) {
                continue;
            }
            const unsigned code = lead * 256 + trail;
            const std::string bytes = bytesOf(code);
            const auto unicode = m_reference.decode(bytes);
            if (!unicode) {
                ASSERT_EQ(m_codec.charToUtf16(code), u'\uFFFD') << hex(code);
                continue;
            }
            ASSERT_EQ(unicode->size(), 1u) << hex(code);
            const char16_t unit = (*unicode)[0];
            ASSERT_EQ(m_codec.charToUtf16(code), unit) << hex(code);

            const auto back = m_codec.fromUtf16(*unicode);
            ASSERT_TRUE(back.has_value()) << hex(code);
            if (*back != bytes) {
                shared.insert(code);
                // The preferred code is the converter's own answer, and it
                // is a code of the same character.
                EXPECT_EQ(m_reference.encode(unit), *back) << hex(code);
                EXPECT_EQ(m_codec.charToUtf16(codeOf(*back)), unit) << hex(code);
            }
            allBytes += bytes;
            allUnits += unit;
            allExpectedBack += *back;
        }
    }
    EXPECT_EQ(shared, expectedSharedCodes());

    // The string functions agree with the per-character lookups, and the
    // pairs stay aligned over the whole table.
    EXPECT_EQ(m_codec.toUtf16(allBytes), allUnits);
    EXPECT_EQ(m_codec.fromUtf16(allUnits), allExpectedBack);
    EXPECT_EQ(m_codec.fromUtf8(m_codec.toUtf8(allBytes)), allExpectedBack);
}

TEST_F(SjisCodecTest, SharedCharactersComeBackAsThePreferredCode)
{
    struct Case {
        unsigned code;
        unsigned preferred;
    };
    const Case cases[] = {
        {0x8790, 0x81E0},  // ≒
        {0x879A, 0x81E6},  // ∵ (NEC row 13)
        {0xFA5B, 0x81E6},  // ∵ (IBM extension)
        {0xED40, 0xFA5C},  // 纊
        {0xEEEC, 0xFC4B},  // 黑
        {0xEEEF, 0xFA40},  // ⅰ
        {0xEEF9, 0x81CA},  // ￢ (NEC-selected)
        {0xFA54, 0x81CA},  // ￢ (IBM)
        {0xFA4A, 0x8754},  // Ⅰ
        {0xFA58, 0x878A},  // ㈱
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_codec.fromUtf16(m_codec.toUtf16(bytesOf(c.code))), bytesOf(c.preferred))
            << hex(c.code);
    }
}

TEST_F(SjisCodecTest, SingleBytes)
{
    for (unsigned b = 0; b < 0x80; ++b) {
        EXPECT_EQ(m_codec.charToUtf16(b), static_cast<char16_t>(b)) << hex(b);
        EXPECT_EQ(m_codec.fromUtf16(std::u16string(1, static_cast<char16_t>(b))), bytesOf(b));
    }
    for (unsigned b = 0xA1; b <= 0xDF; ++b) {
        const char16_t kana = static_cast<char16_t>(0xFF61 + (b - 0xA1));
        EXPECT_EQ(m_codec.charToUtf16(b), kana) << hex(b);
        EXPECT_EQ(m_codec.fromUtf16(std::u16string(1, kana)), bytesOf(b)) << hex(b);
    }
    EXPECT_EQ(m_codec.toUtf8("\xB1\xDD\xC3\xDE"), "ｱﾝﾃﾞ");
}

TEST_F(SjisCodecTest, KnownCharacters)
{
    EXPECT_EQ(m_codec.toUtf16("\x82\xA0"), u"あ");
    EXPECT_EQ(m_codec.charToUtf16(0x82A0), u'あ');
    EXPECT_EQ(m_codec.fromUtf8("あ"), "\x82\xA0");
    EXPECT_EQ(m_codec.charFromUtf16(u'あ'), 0x82A0u);
    EXPECT_EQ(m_codec.charFromUtf16(u'A'), 0x41u);
    EXPECT_EQ(m_codec.toUtf8("\x81\x40"), "\u3000");
    EXPECT_EQ(m_codec.toUtf8("a\\~"), "a\\~");
    EXPECT_EQ(m_codec.toUtf8("\x8A\xBF\x8E\x9A"), "漢字");
}

TEST_F(SjisCodecTest, BadBytesBecomeReplacementCharactersWithoutEatingNeighbours)
{
    struct Case {
        const char* name;
        std::string sjis;
        std::u16string unicode;
    };
    const Case cases[] = {
        {"lone lead at end", "a\x82", u"a\uFFFD"},
        {"lead + LF", "\x82\nb", u"\uFFFD\nb"},
        {"lead + 0x7F", "\x82\x7F", u"\uFFFD\x7F"},
        {"lead + lead + trail", "\x82\x20\x82\xA0", u"\uFFFD \u3042"},
        {"lead + 0xFD", "\x82\xFD", u"\uFFFD\uFFFD"},
        {"lead + NUL", std::string("\x82\0x", 3), std::u16string(u"\uFFFD\0x", 3)},
        {"0x80", "a\x80z", u"a\uFFFDz"},
        {"0xA0", "\xA0", u"\uFFFD"},
        {"0xFD-0xFF", "\xFD\xFE\xFF", u"\uFFFD\uFFFD\uFFFD"},
        {"unmapped pair is one character", "\x85\x40z", u"\uFFFDz"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_codec.toUtf16(c.sjis), c.unicode) << c.name;
    }
    EXPECT_EQ(m_codec.toUtf8("\x82\xA0\x82"), "あ\uFFFD");
    EXPECT_EQ(m_codec.charToUtf16(0x82), u'\uFFFD');
    EXPECT_EQ(m_codec.charToUtf16(0x80), u'\uFFFD');
    EXPECT_EQ(m_codec.charToUtf16(0x10000 + 0x82A0), u'\uFFFD');
}

TEST_F(SjisCodecTest, CharactersWithoutShiftJisForm)
{
    EXPECT_EQ(m_codec.fromUtf8("a😀"), std::nullopt);
    EXPECT_EQ(m_codec.fromUtf8("\uFFFD"), std::nullopt);
    EXPECT_EQ(m_codec.fromUtf8("é"), std::nullopt);
    EXPECT_EQ(m_codec.fromUtf8("a\xFF"), std::nullopt);  // not UTF-8
    EXPECT_EQ(m_codec.fromUtf16(u"a\xD800"), std::nullopt);  // unpaired surrogate

    // Each becomes the geta mark 〓, 0x81 0xAC in CP932 (not ※, 0x81 0xA6).
    EXPECT_EQ(m_codec.fromUtf8Lossy("a😀b\xFF" "cあ"), "a\x81\xAC" "b\x81\xAC" "c\x82\xA0");
    std::size_t replaced = 0;
    EXPECT_EQ(m_codec.fromUtf16Lossy(u"😀\xDC00あ", &replaced), "\x81\xAC\x81\xAC\x82\xA0");
    EXPECT_EQ(replaced, 2u);
    SjisCodec::Unrepresentable report;
    EXPECT_EQ(m_codec.fromUtf8Substituting("a😀", report), "a\x81\xAC");
    EXPECT_EQ(report.count, 1u);
    EXPECT_EQ(m_codec.fromUtf8("〓"), "\x81\xAC");
    EXPECT_EQ(m_codec.charFromUtf16(u'\xD800'), std::nullopt);
}

TEST_F(SjisCodecTest, OtherUnicodeFormsOfShiftJisCharactersAreAccepted)
{
    // Text from elsewhere often uses these for the Shift-JIS characters the
    // converter maps them to; they decode as the fullwidth/other forms.
    struct Case {
        const char* utf8;
        const char* sjis;
    };
    const Case cases[] = {
        {"\u301C", "\x81\x60"},  // WAVE DASH
        {"\u2212", "\x81\x7C"},  // MINUS SIGN
        {"\u00A5", "\x5C"},      // YEN SIGN
    };
    for (const Case& c : cases) {
        EXPECT_EQ(m_codec.fromUtf8(c.utf8), c.sjis) << c.utf8;
    }
}

}  // namespace
}  // namespace tabulo::sjis
