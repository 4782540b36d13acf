// The streaming UTF-8 conversions over every cutting of a text into blocks:
// block sizes 1, 2, 3 and 4096 after shifts of 0 to 3 bytes put every
// character, line break and bad byte of the fixtures across a block edge.
// The expected bytes are the C library's CP932 converter's, piece by piece,
// with one substitute for each piece it refuses.
#include "kanji/utf8_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "block_feed.h"
#include "iconv_call.h"
#include "kanji/utf8_code.h"
#include "test_bytes.h"

namespace tabulo::kanji {
namespace {

using testing::Iconv;

// A fixture piece: bytes the converter takes, or one that it refuses
// (bad = true), which the stream turns into one substitute.
struct Piece {
    std::string bytes;
    bool bad = false;
};

struct Expected {
    std::string input;
    std::string output;
    Utf8Losses losses;
};

Expected expectedOf(const std::vector<Piece>& pieces, Iconv& convert, const std::string& substitute) {
    Expected e;
    for (const Piece& piece : pieces) {
        if (piece.bad) {
            if (e.losses.count++ == 0) {
                e.losses.firstInput = e.input.size();
                e.losses.firstOutput = e.output.size();
            }
            e.output += substitute;
        } else {
            const std::optional<std::string> converted = convert(piece.bytes);
            EXPECT_TRUE(converted.has_value()) << testing::showBytes(piece.bytes);
            e.output += converted.value_or("");
        }
        e.input += piece.bytes;
    }
    return e;
}

template <class Stream>
void checkEveryCutting(const Expected& e) {
    for (const std::size_t blockSize : testing::kBlockSizes) {
        for (std::size_t shift = 0; shift <= testing::kMaxShift; ++shift) {
            for (const bool emptyLast : {false, true}) {
                Stream stream;
                const std::string out = testing::fedInBlocks(stream, e.input, shift, blockSize, emptyLast);
                const Utf8Losses losses = stream.losses();
                ASSERT_BYTES(out, e.output) << "block " << blockSize << ", shift " << shift;
                EXPECT_EQ(losses.count, e.losses.count) << "block " << blockSize << ", shift " << shift;
                if (e.losses.count == 0) continue;
                EXPECT_EQ(losses.firstInput, e.losses.firstInput) << "block " << blockSize << ", shift " << shift;
                EXPECT_EQ(losses.firstOutput, e.losses.firstOutput) << "block " << blockSize << ", shift " << shift;
            }
        }
    }
}

class Utf8StreamTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!m_decode.usable() || !m_encode.usable()) GTEST_SKIP() << "the C library has no CP932 converter";
    }
    Iconv m_decode{"UTF-8", "CP932"};
    Iconv m_encode{"CP932", "UTF-8"};
};

TEST_F(Utf8StreamTest, ShiftJisToUtf8GivesTheSameBytesForEveryCutting) {
    const std::string replacement = "\xEF\xBF\xBD";
    const std::vector<std::vector<Piece>> fixtures = {
        // Kanji, kana, half-width katakana, CR LF, a lone CR and LF, an ASCII
        // run long enough for the word copy.
        {{"\x8A\xBF\x8E\x9A\x82\xA0\xB1\xDE\r\n"}, {"abcdefghijklmnopq\r"}, {"\n\x81\x60\x87\x40\xED\x40\xFA\x40\n"}},
        // Bytes that are no character: a lead byte before a byte that cannot
        // follow it (the byte then counts on its own), 0x80, 0xA0, 0xFD to
        // 0xFF, an unmapped pair, and a lead byte that ends the text.
        {{"a"}, {"\x82", true}, {"\r\n\x82\xA0"}, {"\x80", true}, {"\xA0", true}, {"x"}, {"\xFD", true},
         {"\xFF", true}, {"\x85\x40", true}, {"\x88\x9F"}, {"\x82", true}},
        {{"\x81", true}},
        {},
    };
    for (const auto& pieces : fixtures) checkEveryCutting<Sjis2Utf8Stream>(expectedOf(pieces, m_decode, replacement));
}

TEST_F(Utf8StreamTest, Utf8ToShiftJisGivesTheSameBytesForEveryCutting) {
    const std::string geta = "\x81\xAC";
    const std::vector<std::vector<Piece>> fixtures = {
        // Two-, three-byte characters, half-width katakana, CR LF and an
        // ASCII run long enough for the word copy.
        {{"\xE6\xBC\xA2\xE5\xAD\x97\xC2\xA7 \xEF\xBD\xB1\r\n"}, {"abcdefghijklmnopq\r"}, {"\n\xE3\x81\x82\xE2\x91\xA0\n"}},
        // Malformed bytes (each one substitute: a cut three-byte character
        // gives two), a character outside Shift-JIS (é), one beyond the BMP,
        // a surrogate's bytes, an overlong form, and a cut character at the end.
        {{"a"}, {"\xE3", true}, {"\x81", true}, {"b\r\n"}, {"\xC3\xA9", true}, {"\xF0\x9F\x98\x80", true},
         {"\xE6\xBC\xA2"}, {"\xED", true}, {"\xA0", true}, {"\x80", true}, {"\xC0", true}, {"\xAF", true},
         {"\xE3", true}, {"\x81", true}},
        {{"\xF0", true}, {"\x9F", true}, {"\x98", true}},
    };
    for (const auto& pieces : fixtures) {
        // The C library refuses the bad pieces; the substitutes stand for them.
        const Expected e = expectedOf(pieces, m_encode, geta);
        checkEveryCutting<Utf82SjisStream>(e);
    }
}

// The look-alikes have no form of their own in the C library's table; the
// stream takes them where the whole-text conversion does.
TEST_F(Utf8StreamTest, LookAlikesConvertAsInTheWholeText) {
    const std::string text = "\xE3\x80\x9C\xE2\x80\x94\xE2\x88\x92";  // U+301C U+2014 U+2212
    Expected e;
    e.input = text;
    e.output = utf82sjis(text).text;
    EXPECT_BYTES(e.output, "\x81\x60\x81\x5C\x81\x7C");
    checkEveryCutting<Utf82SjisStream>(e);
}

}  // namespace
}  // namespace tabulo::kanji
