// Base64, uuencode and BinHex: known vectors, the line layouts at the sizes
// where lines fill up, and decoders inverting encoders.
#include "kanji/mail_encoding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "kanji/test_bytes.h"

namespace tabulo::kanji {
namespace {

using testing::showBytes;

// Sizes around the line lengths: 45 bytes fill a uuencode line, 57 a Base64
// line, 47 bring the BinHex text (with its colon) to 64 characters.
const std::size_t kSizes[] = {0, 1, 2, 3, 4, 44, 45, 46, 47, 48, 56, 57, 58, 90, 114, 200};

std::string dataOf(std::size_t size) {
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<char>((i * 151 + 7) & 0xFF);
    return data;
}

std::vector<std::string> splitLines(const std::string& text, const std::string& separator) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    for (std::size_t at; (at = text.find(separator, pos)) != std::string::npos; pos = at + separator.size()) {
        lines.push_back(text.substr(pos, at - pos));
    }
    lines.push_back(text.substr(pos));
    return lines;
}

TEST(Base64, KnownVectors) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},         {"a", "YQ=="},        {"ab", "YWI="},         {"abc", "YWJj"},
        {"foob", "Zm9vYg=="}, {"foobar", "Zm9vYmFy"}, {"\xFF\xFE\xFD", "//79"}, {std::string(3, '\0'), "AAAA"},
    };
    for (const auto& [data, encoded] : cases) {
        EXPECT_EQ(EncodeBase64(data), encoded);
        EXPECT_BYTES(DecodeBase64(encoded), data);
    }
}

TEST(Base64, LinesOf76CharactersAfterFullGroups) {
    for (const std::size_t size : kSizes) {
        const std::string data = dataOf(size);
        const std::string text = EncodeBase64R(data, "\n");
        const auto lines = splitLines(text, "\n");
        const std::size_t full = size / 57;
        ASSERT_EQ(lines.size(), full + 1) << size;
        for (std::size_t i = 0; i < full; ++i) EXPECT_EQ(lines[i].size(), 76u) << size;
        // A multiple of 57 bytes ends with the separator; otherwise the rest
        // (the padded group included) follows the last separator.
        EXPECT_EQ(lines.back().size(), (size % 57 + 2) / 3 * 4) << size;
        std::string joined;
        for (const auto& line : lines) joined += line;
        EXPECT_EQ(joined, EncodeBase64(data)) << size;
        EXPECT_BYTES(DecodeBase64(EncodeBase64R(data, "\r\n")), data);
    }
    EXPECT_EQ(EncodeBase64R("", "\r\n"), "");
}

TEST(UUencode, KnownLines) {
    EXPECT_EQ(EncodeUU("abc", "\n"), "#86)C\n`\n");
    EXPECT_EQ(EncodeUU("a", "\n"), "!80``\n`\n");
    EXPECT_EQ(EncodeUU("ab", "\n"), "\"86(`\n`\n");
    EXPECT_EQ(EncodeUU("", "\n"), "\n`\n");
    EXPECT_EQ(EncodeUU(std::string(3, '\0'), "\n"), "#````\n`\n");
    EXPECT_EQ(EncodeUU("abc", "#$0D#0A"), "#86)C#$0D#0A`#$0D#0A");
}

TEST(UUencode, LinesOf45BytesAndOneSeparatorBeforeTheEnd) {
    for (const std::size_t size : kSizes) {
        const std::string data = dataOf(size);
        const auto lines = splitLines(EncodeUU(data, "\n"), "\n");
        // Data lines, the zero-length line, and the empty rest after the
        // final separator; an empty text has one empty data line.
        const std::size_t dataLines = size == 0 ? 1 : (size + 44) / 45;
        ASSERT_EQ(lines.size(), dataLines + 2) << size;
        for (std::size_t i = 0; i < dataLines; ++i) {
            const std::size_t count = size == 0 ? 0 : std::min<std::size_t>(45, size - i * 45);
            if (count == 0) {
                EXPECT_EQ(lines[i], "") << size;
                continue;
            }
            EXPECT_EQ(lines[i][0], static_cast<char>(32 + count)) << size;
            EXPECT_EQ(lines[i].size(), 1 + (count + 2) / 3 * 4) << size;
            EXPECT_EQ(lines[i].find(' '), std::string::npos) << "value 0 is the back quote";
        }
        EXPECT_EQ(lines[dataLines], "`") << size;
        EXPECT_EQ(lines.back(), "") << size;
        EXPECT_BYTES(DecodeUU(EncodeUU(data, "\r\n")), data);
    }
}

TEST(BinHex, KnownTextsAndLinesOf64Characters) {
    EXPECT_EQ(EncodeBinHex("abc", "\n"), ":B@*M:");
    EXPECT_EQ(EncodeBinHex("", "\n"), "::");
    EXPECT_EQ(EncodeBinHex("a", "\n"), ":B3:");

    const auto lines200 = splitLines(EncodeBinHex(dataOf(200), "\n"), "\n");
    ASSERT_EQ(lines200.size(), 5u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(lines200[i].size(), 64u);
    EXPECT_EQ(lines200[4].size(), 13u);
    EXPECT_EQ(lines200[4].back(), ':');

    for (const std::size_t size : kSizes) {
        const std::string data = dataOf(size);
        const std::string text = EncodeBinHex(data, "\n");
        const auto lines = splitLines(text, "\n");
        const std::size_t chars = 1 + (size * 4 + 2) / 3;  // colon and data, no padding
        ASSERT_EQ(lines.size(), chars / 64 + 1) << size;
        for (std::size_t i = 0; i + 1 < lines.size(); ++i) EXPECT_EQ(lines[i].size(), 64u) << size;
        EXPECT_EQ(lines.back().size(), chars % 64 + 1) << size;
        EXPECT_BYTES(DecodeBinHex(EncodeBinHex(data, "\r\n")), data);
        EXPECT_BYTES(DecodeBinHex(EncodeBinHex(data, "\n")), data);
    }
}

TEST(Decoders, InvertEncodersOnEveryByteValue) {
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(static_cast<char>(i));
    all += all;
    EXPECT_BYTES(DecodeBase64(EncodeBase64(all)), all);
    EXPECT_BYTES(DecodeBase64(EncodeBase64R(all, "\r\n")), all);
    EXPECT_BYTES(DecodeUU(EncodeUU(all, "\r\n")), all);
    EXPECT_BYTES(DecodeBinHex(EncodeBinHex(all, "\r\n")), all);
}

TEST(Decoders, StopWhereTheirEncodingEnds) {
    EXPECT_EQ(DecodeBase64("YWJj\r\nZA==ignored"), "abcd");
    EXPECT_EQ(DecodeBase64("YW Jj"), "abc") << "characters outside the alphabet are skipped";
    EXPECT_EQ(DecodeUU("#86)C\n`\n#86)C\n"), "abc") << "the zero-length line ends the data";
    EXPECT_EQ(DecodeUU("#86)C"), "abc") << "no end line";
    EXPECT_EQ(DecodeUU("#86\n"), "a") << "a short line gives what its characters complete";
    EXPECT_EQ(DecodeBinHex(":B@*M:trailing"), "abc");
    EXPECT_EQ(DecodeBinHex("B@*M"), "abc") << "the opening colon may be missing";
}

TEST(Decoders, MalformedTextNeverReadsBeyondTheInput) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 3000; ++round) {
        std::string text(static_cast<std::size_t>(byte(random) % 90), '\0');
        for (char& c : text) c = static_cast<char>(byte(random));
        EXPECT_LE(DecodeBase64(text).size(), text.size());
        EXPECT_LE(DecodeUU(text).size(), text.size() * 2);
        EXPECT_LE(DecodeBinHex(text).size(), text.size());
    }
}

}  // namespace
}  // namespace tabulo::kanji
