// Insert-string sequences: every fixed sequence's bytes and length, the number
// template, and the status label.
#include "textops/insert_sequence.h"

#include <gtest/gtest.h>

#include <string>

namespace tabulo::textops {
namespace {

TEST(InsertSequenceTest, FixedSequencesHaveTheirMembersInOrder) {
    struct Case {
        InsertKind kind;
        std::size_t length;
        std::string first;
        std::string second;
        std::string last;
    };
    const Case cases[] = {
        {InsertKind::CircledNumbers, 20, "\x87\x40", "\x87\x41", "\x87\x53"},  // ① ② ⑳
        {InsertKind::SmallRoman, 10, "\xfa\x40", "\xfa\x41", "\xfa\x49"},      // ⅰ ⅱ ⅹ
        {InsertKind::CapitalRoman, 10, "\x87\x54", "\x87\x55", "\x87\x5d"},    // Ⅰ Ⅱ Ⅹ
        {InsertKind::SmallLetters, 26, "a", "b", "z"},
        {InsertKind::CapitalLetters, 26, "A", "B", "Z"},
        {InsertKind::GreekLetters, 24, "\x83\xbf", "\x83\xc0", "\x83\xd6"},    // α β ω
        {InsertKind::Katakana, 45, "\x83\x41", "\x83\x43", "\x83\x93"},        // ア イ ン
        {InsertKind::Hiragana, 45, "\x82\xa0", "\x82\xa2", "\x82\xf1"},        // あ い ん
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        const std::optional<InsertSequence> sequence = InsertSequence::make(c.kind, "ignored");
        ASSERT_TRUE(sequence);
        EXPECT_EQ(sequence->length(), c.length);
        EXPECT_EQ(sequence->at(1), c.first);
        EXPECT_EQ(sequence->at(2), c.second);
        EXPECT_EQ(sequence->at(c.length), c.last);
        EXPECT_THROW(sequence->at(c.length + 1), std::out_of_range);
        EXPECT_THROW(sequence->at(0), std::out_of_range);
        EXPECT_EQ(sequence->label(), sequenceText(c.kind));
        std::string joined;
        for (std::size_t k = 1; k <= c.length; ++k) joined += sequence->at(k);
        EXPECT_EQ(joined, sequenceText(c.kind));
    }
}

TEST(InsertSequenceTest, KanaFollowTheGojuonOrder) {
    const std::optional<InsertSequence> katakana = InsertSequence::make(InsertKind::Katakana, "");
    EXPECT_EQ(katakana->at(6), "\x83\x4a");   // カ
    EXPECT_EQ(katakana->at(15), "\x83\x5c");  // ソ, trail byte 0x5C
    EXPECT_EQ(katakana->at(18), "\x83\x63");  // ツ, not the small ッ
    EXPECT_EQ(katakana->at(36), "\x83\x84");  // ヤ
    EXPECT_EQ(katakana->at(38), "\x83\x88");  // ヨ
    EXPECT_EQ(katakana->at(44), "\x83\x8f");  // ワ
    const std::optional<InsertSequence> hiragana = InsertSequence::make(InsertKind::Hiragana, "");
    EXPECT_EQ(hiragana->at(18), "\x82\xc2");  // つ
    EXPECT_EQ(hiragana->at(44), "\x82\xed");  // わ
}

TEST(InsertSequenceTest, NumberTemplates) {
    struct Case {
        std::string text;
        std::size_t k;
        std::string expected;
    };
    const Case cases[] = {
        {"\x81\x79***\x81\x7a", 1, "\x81\x79" "001\x81\x7a"},  // 【001】
        {"**)", 1, "01)"},
        {"**)", 99, "99)"},
        {"**)", 100, "100)"},
        {"\x91\xe6*\x8f\xcd", 10, "\x91\xe6" "10\x8f\xcd"},  // 第10章
        {"a**b*c", 3, "a03c"},                              // text between the run and the last * is dropped
        {"%d*%s", 7, "%d7%s"},
        {"*", 0, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<InsertSequence> sequence = InsertSequence::make(InsertKind::Numbers, c.text);
        ASSERT_TRUE(sequence);
        EXPECT_EQ(sequence->length(), std::nullopt);
        EXPECT_EQ(sequence->at(c.k), c.expected);
    }
    EXPECT_FALSE(InsertSequence::make(InsertKind::Numbers, "abc").has_value());
    EXPECT_FALSE(InsertSequence::make(InsertKind::Numbers, "").has_value());
    EXPECT_EQ(InsertSequence::make(InsertKind::Numbers, "x***y*")->label(), "***");
}

TEST(InsertSequenceTest, FixedStringIsTheSameForEveryLine) {
    const std::optional<InsertSequence> sequence = InsertSequence::make(InsertKind::FixedString, "\x81\x9c ");
    ASSERT_TRUE(sequence);
    EXPECT_EQ(sequence->length(), std::nullopt);
    EXPECT_EQ(sequence->at(1), "\x81\x9c ");
    EXPECT_EQ(sequence->at(1000), "\x81\x9c ");
    EXPECT_EQ(sequence->label(), "\x81\x9c ");
}

}  // namespace
}  // namespace tabulo::textops
