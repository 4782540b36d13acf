// Line-break detection and conversion.
#include "kanji/return_code.h"

#include <gtest/gtest.h>

#include "kanji/test_bytes.h"

namespace tabulo::kanji {
namespace {

TEST(ReturnCodeCheck, TakesTheFirstBreak) {
    const std::pair<std::string, int> cases[] = {
        {"a\r\nb", kReturnCrLf}, {"a\rb", kReturnCr},   {"a\nb", kReturnLf},
        {"ab", kReturnNone},     {"", kReturnNone},     {"a\r", kReturnCr},
        {"a\n\r\n", kReturnLf},  {"a\r\r\n", kReturnCr},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ReturnCodeCheck(text), expected) << testing::showBytes(text);
    }
}

TEST(ConvertReturnCode, ReplacesEveryBreakOfTheDetectedConvention) {
    struct Case {
        std::string text;
        int target;
        std::string expected;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", kReturnLf, "a\nb\n"},
        {"a\r\nb\r\n", kReturnCr, "a\rb\r"},
        {"a\nb\n", kReturnCrLf, "a\r\nb\r\n"},
        {"a\rb\r", kReturnCrLf, "a\r\nb\r\n"},
        {"a\r\nb", kReturnCrLf, "a\r\nb"},
        {"ab", kReturnLf, "ab"},
        {"a\nb\n", 0, "ab"},
        {"a\nb\n", 7, "ab"},
        // Only the detected convention is replaced.
        {"a\nb\r\nc", kReturnCr, "a\rb\r\rc"},
        // Replacement goes on after each inserted break, never into it.
        {"\n\n", kReturnCrLf, "\r\n\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_BYTES(ConvertReturnCode(c.text, c.target), c.expected);
    }
    EXPECT_BYTES(StrictConvertReturnCode("a\nb\r\n", kReturnCrLf, kReturnLf), "a\nb\n");
    EXPECT_BYTES(StrictConvertReturnCode("a\nb", kReturnNone, kReturnCrLf), "a\nb");
}

}  // namespace
}  // namespace tabulo::kanji
