// StreamCodeCheck gives what InCodeCheck gives for the whole text, however
// the text is cut into pieces: random texts built from the bytes that steer
// the detection (escape sequences, lead bytes, katakana, binary bytes, the
// cut bytes), fed in pieces of random sizes.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "kanji/kanji_code.h"
#include "kanji/stream_code_check.h"

namespace tabulo::kanji {
namespace {

int streamed(const std::string& text, std::mt19937& random, std::size_t maxPiece) {
    StreamCodeCheck check;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t piece = std::uniform_int_distribution<std::size_t>(1, maxPiece)(random);
        if (check.feed(std::string_view(text).substr(pos, piece))) break;
        pos += piece;
    }
    return check.finish();
}

TEST(StreamCodeCheck, AgreesWithTheWholeTextCheck) {
    const std::string pieces[] = {
        "a", " ", "\n", "\r\n", "$", "\x1b$B", "\x1b$@", "\x1b(J", "\x1b", "\x05", "\xff",
        "\x8e", "\x8e\xb1", "\xa4\xa2", "\xb1", "\xb1\xe0", "\xe0\xa1", "\xe0", "\x82\xa0",
        "\xf0", "\xfd", "\x80", "\xa0", "0", "@",
    };
    std::mt19937 random(20261210);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    for (int round = 0; round < 3000; ++round) {
        // Mostly text that stays undecided for a while, so that the cuts matter.
        std::string text;
        const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 2000)(random);
        while (text.size() < length) {
            const std::size_t p = pick(random);
            // Undecided filler, and now and then a piece that may decide.
            const unsigned roll = random() % 64;
            text += roll == 0 ? pieces[p] : roll < 24 ? "\xb1\xb1" : roll < 40 ? "\xa4\xa2" : roll < 56 ? " " : "\n";
        }
        const int expected = InCodeCheck(text);
        for (const std::size_t maxPiece : {1u, 7u, 600u, 5000u}) {
            ASSERT_EQ(streamed(text, random, maxPiece), expected) << "round " << round << ", pieces up to " << maxPiece;
        }
    }
}

TEST(StreamCodeCheck, EmptyAndShortTexts) {
    StreamCodeCheck empty;
    EXPECT_EQ(empty.finish(), kCodeNone);
    StreamCodeCheck sjis;
    sjis.feed("\x82");
    EXPECT_EQ(sjis.finish(), kCodeNone);  // one byte: never examined
    StreamCodeCheck pair;
    pair.feed("\x82");
    pair.feed("\xa0");
    EXPECT_EQ(pair.finish(), kCodeSjis);
}

}  // namespace
}  // namespace tabulo::kanji
