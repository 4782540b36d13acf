// Document text: the line-break rules of the file format, the final break,
// 0x1A as the end of the text, and writing lines back with CR LF.
#include "textops/document_text.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "textops/line_delete.h"

namespace tabulo::textops {
namespace {

using Views = std::vector<std::string_view>;

TEST(DocumentTextTest, SplitsAtEveryKindOfLineBreak) {
    struct Case {
        const char* name;
        std::string text;
        Views lines;
        bool finalBreak;
    };
    const Case cases[] = {
        {"empty text", "", {}, false},
        {"one line without break", "a", {"a"}, false},
        {"one line with CR LF", "a\r\n", {"a"}, true},
        {"lone CR, lone LF, CR LF", "a\rb\nc\r\n", {"a", "b", "c"}, true},
        {"LF then CR are two breaks", "\n\r", {"", ""}, true},
        {"CR then CR LF", "x\r\r\ny", {"x", "", "y"}, false},
        {"only a break", "\r\n", {""}, true},
        {"0x1A ends the text", "a\r\n\x1a" "b\r\n", {"a"}, true},
        {"0x1A after a line", "a\x1a\r\n", {"a"}, false},
        {"0x1A first", "\x1a" "abc", {}, false},
        // 0x0A and 0x0D are never trail bytes, so a byte scan is exact.
        {"double-byte text", "\x83\x5c\r\n\x82\xa0", {"\x83\x5c", "\x82\xa0"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SplitText split = splitDocumentText(c.text);
        EXPECT_EQ(split.lines, c.lines);
        EXPECT_EQ(split.finalBreak, c.finalBreak);
    }
}

TEST(DocumentTextTest, WritesCrLfAndTheFinalBreakOnlyWhenAsked) {
    const std::vector<std::string> lines = {"a", "", "b"};
    EXPECT_EQ(joinDocumentText(lines, true), "a\r\n\r\nb\r\n");
    EXPECT_EQ(joinDocumentText(lines, false), "a\r\n\r\nb");
    EXPECT_EQ(joinDocumentText({}, true), "");

    std::ostringstream out;
    writeDocumentText(out, lines, false);
    EXPECT_EQ(out.str(), "a\r\n\r\nb");
}

TEST(DocumentTextTest, WritesLinesLongerThanTheBlockIntact) {
    const std::vector<std::string> lines = {"head", std::string(200000, 'x'), "tail"};
    std::ostringstream out;
    writeDocumentText(out, lines, true);
    EXPECT_EQ(out.str(), "head\r\n" + lines[1] + "\r\ntail\r\n");
}

TEST(DocumentTextTest, AppliesACommandToTheWholeText) {
    const auto deleteBlanks = [](std::vector<std::string>& lines, LineRange range) { return deleteBlankLines(lines, range); };
    EXPECT_EQ(applyToWholeText("a\n\nb\r", deleteBlanks), "a\r\nb\r\n");
    EXPECT_EQ(applyToWholeText("a\r\n  ", deleteBlanks), "a");
    EXPECT_EQ(applyToWholeText("", deleteBlanks), "");
    EXPECT_EQ(applyToWholeText("\r\n", deleteBlanks), "");
}

}  // namespace
}  // namespace tabulo::textops
