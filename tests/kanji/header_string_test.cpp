// MIME encoded words of header text.
#include "kanji/header_string.h"

#include <gtest/gtest.h>

#include <random>

#include "kanji/kanji_code.h"
#include "kanji/mail_encoding.h"
#include "kanji/test_bytes.h"

namespace tabulo::kanji {
namespace {

const std::string kKanji = "\x8A\xBF\x8E\x9A";  // 漢字
const std::string kKanjiJis = "\x1B$B4A;z\x1B(J";

TEST(CreateHeaderString, EncodesEachRunOfTwoByteCharacters) {
    EXPECT_EQ(CreateHeaderString("ABC" + kKanji + "DEF"),
              "ABC=?ISO-2022-JP?B?" + EncodeBase64(kKanjiJis) + "?=DEF");
    EXPECT_EQ(EncodeBase64(kKanjiJis), "GyRCNEE7ehsoSg==");
    // Two runs give two words; the blank between them stays plain.
    EXPECT_EQ(CreateHeaderString(kKanji + " " + kKanji),
              "=?ISO-2022-JP?B?GyRCNEE7ehsoSg==?= =?ISO-2022-JP?B?GyRCNEE7ehsoSg==?=");
    // Half-width katakana and a lone lead byte are one-byte characters.
    EXPECT_BYTES(CreateHeaderString("\xB1\xB2" "a\x82"), "\xB1\xB2" "a\x82");
    EXPECT_EQ(CreateHeaderString("plain"), "plain");
}

TEST(DecodeHeaderString, PutsJisBytesInPlaceOfEachWord) {
    const std::string word = "=?ISO-2022-JP?B?GyRCNEE7ehsoSg==?=";
    EXPECT_BYTES(DecodeHeaderString("Re: " + word + "!"), "Re: " + kKanjiJis + "\x1B(J!");
    EXPECT_BYTES(DecodeHeaderString("=?iso-2022-jp?b?GyRCNEE7ehsoSg==?="), kKanjiJis + "\x1B(J");
    EXPECT_BYTES(DecodeHeaderString(word + word), kKanjiJis + "\x1B(J" + kKanjiJis + "\x1B(J");
    EXPECT_EQ(DecodeHeaderString("no words here =?"), "no words here =?");
    // A marker without its end is removed; the rest stays.
    EXPECT_EQ(DecodeHeaderString("a=?ISO-2022-JP?B?GyRC"), "aGyRC");
}

TEST(HeaderString, RoundTripThroughShiftJis) {
    const std::string text = "Subject: " + kKanji + "\x82\xCC" " test " + kKanji;
    EXPECT_BYTES(jis2sjis(DecodeHeaderString(CreateHeaderString(text))), text);
}

// Header text from outside may hold any bytes and broken words; decoding
// must end and keep the text after the last marker.
TEST(DecodeHeaderString, BrokenWordsNeverHang) {
    const std::string pieces[] = {"=?ISO-2022-JP?B?", "=?iso-2022-jp?b?", "?=", "GyRC", "=", "?", "\x82\xA0", "a"};
    std::mt19937 random(3);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int count = static_cast<int>(random() % 8);
        for (int i = 0; i < count; ++i) text += pieces[random() % std::size(pieces)];
        const std::string decoded = DecodeHeaderString(text);
        EXPECT_LE(decoded.size(), text.size() * 2 + 3) << testing::showBytes(text);
    }
}

}  // namespace
}  // namespace tabulo::kanji
