// The word a double-click selects: runs of one script, cut where the script
// changes, over Shift-JIS bytes whose trail bytes may look like ASCII.
#include <gtest/gtest.h>

#include <string>

#include "editor/model/editor_tokenizer.h"

namespace tabulo::editor {
namespace {

TEST(WordRangeTest, RunsOfOneScript) {
    struct Case {
        const char* name;
        std::string line;
        std::size_t byte;
        std::string word;
    };
    // 漢字かなカタカナ
    const std::string mixed = "\x8a\xbf\x8e\x9a\x82\xa9\x82\xc8\x83\x4a\x83\x5e\x83\x4a\x83\x69";
    const std::string coffee = "\x83\x52\x81\x5b\x83\x71\x81\x5b";  // コーヒー
    const Case cases[] = {
        {"letters, digits and underscore", "x = abc_12+y", 5, "abc_12"},
        {"kanji up to the kana", mixed, 2, "\x8a\xbf\x8e\x9a"},
        {"hiragana between kanji and katakana", mixed, 5, "\x82\xa9\x82\xc8"},
        {"katakana to the end", mixed, 12, "\x83\x4a\x83\x5e\x83\x4a\x83\x69"},
        {"katakana with the long-vowel mark", coffee, 4, coffee},
        {"clicked on the final long-vowel mark", coffee, 6, coffee},
        {"half-width katakana stop at letters", "\xb1\xb2\xb3" "abc", 1, "\xb1\xb2\xb3"},
        {"letters after half-width katakana", "\xb1\xb2\xb3" "abc", 4, "abc"},
        {"full-width digits", "x\x82\x50\x82\x51\x82\x52y", 3, "\x82\x50\x82\x51\x82\x52"},
        {"a trail byte 0x5C is no separator", "a\x95\x5c\x95\x5c" "b", 3, "\x95\x5c\x95\x5c"},
        {"a click on a trail byte takes its character", "\x95\x5c" "a", 1, "\x95\x5c"},
        {"a letter before a kanji", "a\x95\x5c", 0, "a"},
        {"a symbol is a word of its own", "a+b", 1, "+"},
        {"one blank of several", "a   b", 2, " "},
        {"a lone long-vowel mark", "\x81\x5b\x81\x5b", 0, "\x81\x5b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto [begin, end] = wordRangeAt(c.line, c.byte);
        EXPECT_EQ(c.line.substr(begin, end - begin), c.word);
    }
}

TEST(WordRangeTest, NothingAtOrPastTheEnd) {
    EXPECT_EQ(wordRangeAt("abc", 3), (std::pair<std::size_t, std::size_t>{3, 3}));
    EXPECT_EQ(wordRangeAt("", 0), (std::pair<std::size_t, std::size_t>{0, 0}));
}

}  // namespace
}  // namespace tabulo::editor
