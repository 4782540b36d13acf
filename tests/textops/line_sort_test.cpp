// Line sort: the byte order of whole lines, the range rule, the prefix-key
// engine against a plain reference sort, and stopping.
#include "textops/line_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "textops/document_text.h"
#include "textops/messages.h"

namespace tabulo::textops {
namespace {

using Lines = std::vector<std::string>;

Lines sortedAll(Lines lines, SortOrder order) {
    if (!lines.empty()) sortLines(lines, {0, lines.size() - 1}, order);
    return lines;
}

struct OrderCase {
    const char* name;
    Lines input;
    Lines ascending;
};

TEST(LineSortTest, OrdersWholeLinesByUnsignedBytes) {
    const OrderCase cases[] = {
        {"numbers are text", {"6", "123", "006"}, {"006", "123", "6"}},
        {"uppercase first", {"a", "B", "b", "A"}, {"A", "B", "a", "b"}},
        {"prefix first", {"abcd", "abc", "ab"}, {"ab", "abc", "abcd"}},
        {"empty line first", {"x", "", " "}, {"", " ", "x"}},
        // Half-width katakana (0xA1..0xDF) fall between the two lead-byte blocks.
        {"half-width kana between lead blocks", {"\xe0\x40", "\xb1", "\x82\xa0", "\x9f\x40"},
         {"\x82\xa0", "\x9f\x40", "\xb1", "\xe0\x40"}},
        // Trail bytes in the ASCII range compare as the bytes they are.
        {"trail bytes 0x5C 0x7C 0x40", {"\x83\x7c", "\x83\x5c", "\\", "\x83\x40", "|", "@"},
         {"@", "\\", "|", "\x83\x40", "\x83\x5c", "\x83\x7c"}},
        {"trail 0x5C against a longer line", {"\x83\x5c" "a", "\x83\x5c", "\x83\x5c\x83\x5c"},
         {"\x83\x5c", "\x83\x5c" "a", "\x83\x5c\x83\x5c"}},
        // Keys pack the first eight bytes: zero bytes and exact-8 lengths must still order right.
        {"zero bytes against padding", {std::string("ab\0", 3), "ab", std::string("ab\0\0\0\0\0\0\0", 9), std::string("ab\0\0\0\0\0\0", 8)},
         {"ab", std::string("ab\0", 3), std::string("ab\0\0\0\0\0\0", 8), std::string("ab\0\0\0\0\0\0\0", 9)}},
        {"same eight bytes", {"12345678b", "12345678", "12345678ab", "12345678a"},
         {"12345678", "12345678a", "12345678ab", "12345678b"}},
        {"high bytes after the prefix", {"12345678\xff", "12345678\x01", "12345678\x80"},
         {"12345678\x01", "12345678\x80", "12345678\xff"}},
        {"duplicates stay", {"b", "a", "b", "a"}, {"a", "a", "b", "b"}},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sortedAll(c.input, SortOrder::Ascending), c.ascending);
        Lines descending(c.ascending.rbegin(), c.ascending.rend());
        EXPECT_EQ(sortedAll(c.input, SortOrder::Descending), descending);
    }
}

TEST(LineSortTest, CompareLinesIsUnsignedAndPrefixFirst) {
    EXPECT_LT(compareLines("a", "\x81\x40"), 0);
    EXPECT_LT(compareLines("abc", "abcd"), 0);
    EXPECT_EQ(compareLines("\x83\x5c", "\x83\x5c"), 0);
    EXPECT_GT(compareLines("\xe0", "\xdf"), 0);
}

// Random lines over a small alphabet (zero bytes, high bytes, trail-like
// bytes) behind shared beginnings of 0 to 100 bytes, so that keys tie on
// their first eight bytes, on the next eight, and past the depth where the
// sort compares lines directly. The prefix-key engine must match a plain sort.
Lines randomLines(std::mt19937& random, std::size_t count) {
    const std::string alphabet("\x00\x01" "a\x5c\x7f\x80\x81\x83\xff", 9);
    const std::string beginnings[] = {"", "abcdefg", "abcdefgh", "abcdefghi", std::string(16, '\0'),
                                      std::string(70, 'x'), std::string(100, 'x')};
    Lines lines;
    for (std::size_t i = 0; i < count; ++i) {
        std::string line = beginnings[random() % std::size(beginnings)];
        const std::size_t length = random() % 12;
        for (std::size_t j = 0; j < length; ++j) line += alphabet[random() % alphabet.size()];
        lines.push_back(line);
    }
    return lines;
}

TEST(LineSortTest, MatchesReferenceSortOnRandomLines) {
    std::mt19937 random(7);
    // 70000 lines are sorted on two threads, the smaller counts on one.
    for (std::size_t count : {0u, 1u, 2u, 17u, 3000u, 70000u}) {
        const Lines lines = randomLines(random, count);
        Lines reference = lines;
        std::sort(reference.begin(), reference.end(),
                  [](const std::string& a, const std::string& b) { return compareLines(a, b) < 0; });
        SCOPED_TRACE(count);
        EXPECT_EQ(sortedAll(lines, SortOrder::Ascending), reference);
        EXPECT_EQ(sortedAll(lines, SortOrder::Descending), Lines(reference.rbegin(), reference.rend()));

        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        const SortedText sorted(text, SortOrder::Ascending);
        ASSERT_EQ(sorted.size(), reference.size());
        for (std::size_t i = 0; i < reference.size(); ++i) ASSERT_EQ(sorted[i], reference[i]) << i;
    }
}

Lines referenceSort(std::string_view text) {
    const SplitText split = splitDocumentText(text);
    Lines reference(split.lines.begin(), split.lines.end());
    std::sort(reference.begin(), reference.end(),
              [](const std::string& a, const std::string& b) { return compareLines(a, b) < 0; });
    return reference;
}

void expectSortedText(std::string_view text, const Lines& reference, SortOrder order) {
    const SortedText sorted(text, order);
    ASSERT_EQ(sorted.size(), reference.size());
    for (std::size_t i = 0; i < reference.size(); ++i) {
        const std::string& expected = order == SortOrder::Ascending ? reference[i] : reference[reference.size() - 1 - i];
        ASSERT_EQ(sorted[i], expected) << i;
    }
    EXPECT_EQ(sorted.finalBreak(), splitDocumentText(text).finalBreak);
}

// A text of more than a megabyte is split into lines in two halves: every
// kind of line break, and a CR LF pair at the middle in each of its
// positions, must give the lines the whole-text split gives.
TEST(LineSortTest, LargeTextSplitInHalvesKeepsEveryLine) {
    std::mt19937 random(11);
    const Lines lines = randomLines(random, 16000);
    const char* const breaks[] = {"\r\n", "\r", "\n"};
    std::string body;
    for (const std::string& line : lines) body += line + breaks[random() % 3];
    const char* const lasts[] = {"", "last line without a break", "\r\n"};
    for (std::size_t pad = 0; pad < 8; ++pad) {
        {
            const char* const last = lasts[pad % 3];
            // Lines of "ab" between the padding and the body put a CR LF at
            // the middle of the text as pad changes.
            std::string text = std::string(pad, 'p') + "\r\n";
            while (text.size() < body.size() + 8) text += "ab\r\n";
            text += body;
            text += last;
            ASSERT_GT(text.size(), 1u << 20);
            SCOPED_TRACE(testing::Message() << "pad " << pad << ", last '" << last << "'");
            const Lines reference = referenceSort(text);
            expectSortedText(text, reference, SortOrder::Ascending);
            expectSortedText(text, reference, SortOrder::Descending);
        }
    }
}

// The window's text ends at a 0x1A byte, also one in the second half.
TEST(LineSortTest, LargeTextEndsAtTheEofByte) {
    std::string text;
    for (int i = 0; text.size() < (3u << 20) / 2; ++i) text += std::to_string(i * 7919 % 100003) + "\r\n";
    const std::size_t kept = text.size();
    text += "zz\x1a" "after the end\r\n";
    const Lines reference = referenceSort(text.substr(0, kept + 2));
    expectSortedText(text, reference, SortOrder::Ascending);
    const SortedText ordinary(text, SortOrder::Ascending, EofByte::Ordinary);
    ASSERT_EQ(ordinary.size(), reference.size());
    EXPECT_EQ(ordinary[ordinary.size() - 1], "zz\x1a" "after the end");
}

TEST(LineSortTest, SortsOnlyTheRange) {
    Lines lines = {"z", "c", "b", "a", "y"};
    const LineResult result = sortLines(lines, {1, 3}, SortOrder::Ascending);
    EXPECT_EQ(lines, (Lines{"z", "a", "b", "c", "y"}));
    EXPECT_EQ(result.count, 3u);
    EXPECT_FALSE(result.stopped);

    Lines one = {"b", "a"};
    sortLines(one, {1, 1}, SortOrder::Ascending);
    EXPECT_EQ(one, (Lines{"b", "a"}));
}

TEST(LineSortTest, RejectsARangeOutsideTheLines) {
    Lines lines = {"a", "b"};
    EXPECT_THROW(sortLines(lines, {1, 2}, SortOrder::Ascending), std::out_of_range);
    EXPECT_THROW(sortLines(lines, {1, 0}, SortOrder::Ascending), std::out_of_range);
    Lines none;
    EXPECT_THROW(sortLines(none, {0, 0}, SortOrder::Ascending), std::out_of_range);
}

TEST(LineSortTest, StopDuringTheRebuildLeavesTheLinesAsTheyWere) {
    const Lines original = {"head", "d", "a very long line that is not kept in the string object", "c", "b", "tail"};
    for (std::size_t stopAfter : {1u, 2u, 4u}) {
        Lines lines = original;
        std::vector<std::size_t> reported;
        const LineResult result = sortLines(lines, {1, 4}, SortOrder::Ascending, [&](const Progress& p) {
            reported.push_back(p.line);
            return reported.size() < stopAfter;
        });
        SCOPED_TRACE(stopAfter);
        EXPECT_TRUE(result.stopped);
        EXPECT_EQ(result.count, 0u);
        EXPECT_EQ(lines, original);
        ASSERT_EQ(reported.size(), stopAfter);
        EXPECT_EQ(reported.front(), 1u);  // document index of the first place filled
    }
}

TEST(LineSortTest, ProgressCountsEveryPlacedLine) {
    Lines lines = {"c", "b", "a"};
    std::vector<std::size_t> counts;
    sortLines(lines, {0, 2}, SortOrder::Descending, [&](const Progress& p) {
        counts.push_back(p.count);
        return true;
    });
    EXPECT_EQ(counts, (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_EQ(lines, (Lines{"c", "b", "a"}));
}

TEST(LineSortTest, SortedTextKeepsTheFinalBreakRule) {
    const SortedText withBreak("b\r\na\r\n", SortOrder::Ascending);
    EXPECT_TRUE(withBreak.finalBreak());
    ASSERT_EQ(withBreak.size(), 2u);
    EXPECT_EQ(withBreak[0], "a");

    const SortedText mixed("c\rb\na", SortOrder::Descending);
    EXPECT_FALSE(mixed.finalBreak());
    ASSERT_EQ(mixed.size(), 3u);
    EXPECT_EQ(mixed[0], "c");
    EXPECT_EQ(mixed[2], "a");

    EXPECT_EQ(SortedText("", SortOrder::Ascending).size(), 0u);
}

TEST(LineSortTest, WarningThresholdAndTexts) {
    EXPECT_FALSE(sortNeedsWarning(20000));
    EXPECT_TRUE(sortNeedsWarning(20001));
    EXPECT_EQ(sortWarningText(20001), "20001行を本当にSortしますか？時間がかかるよ！");
    EXPECT_EQ(sortingStatusText(0, 5), "Sorting 0/5");
}

}  // namespace
}  // namespace tabulo::textops
