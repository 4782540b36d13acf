// Duplicate and blank line deletion: which lines go, the line above the
// range, counts, and what a stopped run keeps.
#include "textops/line_delete.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "textops/messages.h"

namespace tabulo::textops {
namespace {

using Lines = std::vector<std::string>;

struct DeleteCase {
    const char* name;
    Lines input;
    LineRange range;
    Lines expected;
    std::size_t count;
};

TEST(DeleteDuplicateLinesTest, MergesEqualNeighboursOnly) {
    const DeleteCase cases[] = {
        {"one of a pair", {"a", "a", "b", "a"}, {0, 3}, {"a", "b", "a"}, 1},
        {"run of three", {"x", "x", "x"}, {0, 2}, {"x"}, 2},
        {"trailing space differs", {"a", "a ", "A"}, {0, 2}, {"a", "a ", "A"}, 0},
        {"range start equals line above", {"p", "p", "q"}, {1, 2}, {"p", "q"}, 1},
        {"range at line 0 keeps it", {"p", "p", "q"}, {0, 0}, {"p", "p", "q"}, 0},
        {"lines below the range stay", {"a", "b", "b", "b"}, {0, 2}, {"a", "b", "b"}, 1},
        {"double-byte lines", {"\x83\x5c", "\x83\x5c", "\x83\x5b"}, {0, 2}, {"\x83\x5c", "\x83\x5b"}, 1},
        {"empty lines are lines too", {"", "", "a"}, {0, 2}, {"", "a"}, 1},
    };
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.name);
        Lines lines = c.input;
        const LineResult result = deleteDuplicateLines(lines, c.range);
        EXPECT_EQ(lines, c.expected);
        EXPECT_EQ(result.count, c.count);
        EXPECT_FALSE(result.stopped);
    }
}

TEST(DeleteDuplicateLinesTest, WalksUpwardsAndKeepsDeletionsWhenStopped) {
    Lines lines = {"x", "x", "x", "x", "y"};
    std::vector<std::size_t> visited;
    const LineResult result = deleteDuplicateLines(lines, {0, 3}, [&](const Progress& p) {
        visited.push_back(p.line);
        return p.line > 2;  // stop after line 2 has been handled
    });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(visited, (std::vector<std::size_t>{3, 2}));
    EXPECT_EQ(result.count, 2u);
    EXPECT_EQ(lines, (Lines{"x", "x", "y"}));
    EXPECT_EQ(countMessage(result.count, kDeletedSuffix), "2行削除しました");
}

TEST(DeleteBlankLinesTest, DeletesLinesThatTrimToNothing) {
    const DeleteCase cases[] = {
        {"spaces, tabs, full-width spaces", {"a", "", "  ", "\x81\x40\t", "b"}, {0, 4}, {"a", "b"}, 3},
        // 0x88 0x81 is one character and 0x40 an '@': not a full-width space.
        {"0x81 0x40 as a trail and '@'", {"\x88\x81\x40", "\x81"}, {0, 1}, {"\x88\x81\x40", "\x81"}, 0},
        {"only the range", {"", "a", "", ""}, {1, 2}, {"", "a", ""}, 1},
        {"last line of the text", {"a", " "}, {0, 1}, {"a"}, 1},
    };
    for (const DeleteCase& c : cases) {
        SCOPED_TRACE(c.name);
        Lines lines = c.input;
        const LineResult result = deleteBlankLines(lines, c.range);
        EXPECT_EQ(lines, c.expected);
        EXPECT_EQ(result.count, c.count);
    }
}

TEST(DeleteBlankLinesTest, StoppedRunKeepsDeletionsBelowTheStop) {
    Lines lines = {"", "a", "", "b", ""};
    const LineResult result = deleteBlankLines(lines, {0, 4}, [](const Progress& p) { return p.line != 2; });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.count, 2u);
    EXPECT_EQ(lines, (Lines{"", "a", "b"}));
}

TEST(DeleteBlankLinesTest, NoMessageWhenNothingWasDeleted) {
    Lines lines = {"a", "b"};
    const LineResult result = deleteBlankLines(lines, {0, 1});
    EXPECT_EQ(result.count, 0u);
    EXPECT_EQ(countMessage(result.count, kDeletedSuffix), std::nullopt);
}

}  // namespace
}  // namespace tabulo::textops
