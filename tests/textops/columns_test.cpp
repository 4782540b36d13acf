// Column counting: tabs run to the next tab stop, double-byte characters take
// two columns, and an insertion column never splits a character.
#include "textops/columns.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tabulo::textops {
namespace {

TEST(ColumnsTest, LineWidthCountsTabsAndDoubleByteCharacters) {
    struct Case {
        std::string line;
        int tabWidth;
        std::size_t width;
    };
    const Case cases[] = {
        {"", 4, 0},
        {"abc", 4, 3},
        {"\x82\xa0", 4, 2},
        {"\xb1\xb2", 4, 2},          // half-width katakana: one column each
        {"\t", 4, 4},
        {"a\t", 4, 4},
        {"abcd\t", 4, 8},
        {"\x82\xa0\tx", 4, 5},
        {"abc\t", 8, 8},
        {"\x83\x5c\t", 2, 4},         // trail byte 0x5C is not a separate character
        {"a\x82", 4, 2},              // a lone lead byte at the end is one column
        {"a\t", 0, 2},                // a tab width below 1 counts as 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(lineWidth(c.line, c.tabWidth), c.width);
    }
}

TEST(ColumnsTest, ByteOffsetAtColumnNeverSplitsACharacter) {
    struct Case {
        const char* name;
        std::string line;
        std::size_t column;
        std::optional<std::size_t> offset;
    };
    const Case cases[] = {
        {"column 0 of an empty line", "", 0, 0},
        {"past an empty line", "", 1, std::nullopt},
        {"plain bytes", "abcd", 2, 2},
        {"end of the line", "abc", 3, 3},
        {"past the end", "ab", 3, std::nullopt},
        {"after a double-byte character", "\x82\xa0" "a", 2, 2},
        {"inside a double-byte character", "\x83\x5c" "ab", 1, 2},
        {"inside a trailing double-byte character", "a\x82\xa0", 2, 3},
        {"inside a tab", "\tx", 2, 1},
        {"at the tab stop", "\tx", 4, 1},
        {"after the tab", "\tx", 5, 2},
        {"tab after text", "ab\tc", 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(byteOffsetAtColumn(c.line, c.column, 4), c.offset);
    }
}

}  // namespace
}  // namespace tabulo::textops
