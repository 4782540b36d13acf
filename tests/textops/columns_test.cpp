// The byte column of an insertion: bytes counted from the line's start, and
// a column between the two bytes of a character moves after it.
#include "textops/columns.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tabulo::textops {
namespace {

TEST(ColumnsTest, InsertionOffsetCountsBytesAndNeverSplitsACharacter) {
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
        {"inside the last character", "a\x82\xa0", 2, 3},
        {"trail byte that looks like a lead byte", "\x82\x82\x82\xa0", 3, 4},
        {"a lone lead byte at the end", "a\x82", 2, 2},
        {"a tab counts one byte", "\tx", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(insertionOffsetAtColumn(c.line, c.column), c.offset);
    }
}

}  // namespace
}  // namespace tabulo::textops
