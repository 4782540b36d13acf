// What the code conversion command does to each line, and the whole-text
// form tabulo-cli uses; the character code command's message.
#include "kanji/code_conversion.h"

#include <gtest/gtest.h>

#include "kanji/test_bytes.h"

namespace tabulo::kanji {
namespace {

const std::string kIn = "\x1B$B";
const std::string kOut = "\x1B(J";

TEST(ConvertLine, EachItemOfTheMenu) {
    struct Case {
        const char* name;
        std::string line;
        TargetCode target;
        std::string expected;
    };
    const Case cases[] = {
        {"sjis to jis", "\x82\xA0" "A", TargetCode::Jis, kIn + "$\"" + kOut + "A"},
        {"sjis to euc", "\x82\xA0\x8E\x9A", TargetCode::Euc, "\xA4\xA2\xBB\xFA"},
        {"euc to sjis", "\xA4\xA2\xBB\xFA", TargetCode::ShiftJis, "\x82\xA0\x8E\x9A"},
        {"jis to sjis", kIn + "$\"" + kOut, TargetCode::ShiftJis, "\x82\xA0"},
        {"sjis to sjis unchanged", "\x82\xA0", TargetCode::ShiftJis, "\x82\xA0"},
        {"undecided euc unchanged", "\xA4\xA2", TargetCode::ShiftJis, "\xA4\xA2"},
        {"ascii unchanged", "abc", TargetCode::Jis, "abc"},
        {"base64 in one line", "abcabc", TargetCode::Base64, "YWJjYWJj"},
        {"uuencode keeps one line", "abc", TargetCode::UUencode, "#86)C#$0D#0A`#$0D#0A"},
        {"binhex", "abc", TargetCode::BinHex, ":B@*M:"},
        {"empty line to uuencode", "", TargetCode::UUencode, "#$0D#0A`#$0D#0A"},
    };
    for (const auto& c : cases) {
        EXPECT_BYTES(convertLine(c.line, c.target), c.expected) << c.name;
    }
    // Base64 has no line layout in the command: 60 bytes stay one line.
    EXPECT_EQ(convertLine(std::string(60, 'a'), TargetCode::Base64).size(), 80u);
}

TEST(ConvertDocumentText, ConvertsEveryLineAndWritesCrLf) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    };
    const std::string a = "\x82\xA0";  // あ
    const std::string aJis = kIn + "$\"" + kOut;
    const Case cases[] = {
        {"empty", "", ""},
        {"one line without break", a, aJis},
        {"final break kept", a + "\r\n", aJis + "\r\n"},
        {"lone LF and CR become CR LF", a + "\n" + a + "\r" + a, aJis + "\r\n" + aJis + "\r\n" + aJis},
        {"empty lines kept", "\r\n\r\n" + a + "\n", "\r\n\r\n" + aJis + "\r\n"},
        {"last line converted too", "x\r\n" + a, "x\r\n" + aJis},
    };
    for (const auto& c : cases) {
        EXPECT_BYTES(convertDocumentText(c.text, TargetCode::Jis), c.expected) << c.name;
    }
    // Each line is detected on its own: a JIS line without its own escape is
    // plain 7-bit text and stays as it is.
    EXPECT_BYTES(convertDocumentText(kIn + "$\"\r\n$$" + kOut + "\r\n", TargetCode::ShiftJis),
                 "\x82\xA0\r\n$$\x1B(J\r\n");
    EXPECT_EQ(convertDocumentText("abc\r\nab\r\n", TargetCode::UUencode),
              "#86)C#$0D#0A`#$0D#0A\r\n\"86(`#$0D#0A`#$0D#0A\r\n");
}

TEST(DecodeLine, InvertsEachEncodingItem) {
    struct Case {
        const char* name;
        TargetCode encode;
        MailEncoding decode;
    };
    const Case cases[] = {
        {"base64", TargetCode::Base64, MailEncoding::Base64},
        {"uuencode", TargetCode::UUencode, MailEncoding::UUencode},
        {"binhex", TargetCode::BinHex, MailEncoding::BinHex},
    };
    // Long enough for several encoded lines joined by the command separator,
    // with bytes of every kind and a line break of its own.
    std::string data;
    for (int i = 0; i < 300; ++i) data.push_back(static_cast<char>(i * 7));
    data += "\r\n\x82\xA0";
    for (const Case& c : cases) {
        const std::string encoded = convertLine(data, c.encode);
        EXPECT_EQ(encoded.find_first_of("\r\n"), std::string::npos) << c.name;
        EXPECT_BYTES(decodeLine(encoded, c.decode), data) << c.name;
    }
}

TEST(CharacterCodeMessage, ShowsTheFirstCharacterAndItsCode) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x82\xA0", "'\x82\xA0' = 82A0 (SJIS)"},
        {"\x82\xA0\x82\xA2", "'\x82\xA0' = 82A0 (SJIS)"},
        {"A", "'A' = 0x41 (65)"},
        {"Ab", "'A' = 0x41 (65)"},
        {"\xB1", "'\xB1' = 0xB1 (177)"},
        {"\x82", "'\x82' = 0x82 (130)"},
    };
    for (const auto& [selection, message] : cases) {
        const auto shown = characterCodeMessage(selection);
        ASSERT_TRUE(shown.has_value());
        EXPECT_BYTES(*shown, message);
    }
    EXPECT_FALSE(characterCodeMessage("").has_value());
}

}  // namespace
}  // namespace tabulo::kanji
