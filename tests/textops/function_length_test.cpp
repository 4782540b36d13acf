// Function-length report: name extraction from Shift-JIS lines, first-column
// braces, structs and initialisers, and a C++ fixture read from a file.
#include "textops/function_length.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "textops/document_text.h"

namespace tabulo::textops {
namespace {

using Lines = std::vector<std::string>;

TEST(FunctionLengthTest, FunctionNameIsTheLastIdentifierBeforeTheFirstParen) {
    struct Case {
        std::string line;
        std::string name;
    };
    const Case cases[] = {
        {"static int *foo(void)", "foo"},
        {"void Shape::draw()", "draw"},
        {"#define M(x) ((x) + 1)", ""},
        {"int x;", ""},
        {"\tunsigned long\tcount_2(int a, int b)", "count_2"},
        {"3d(x)", "d"},
        {"if (a) b(c)", "if"},
        {"x = f(1); /* # */", "f"},
        // Trail bytes 0x41 ('A') and 0x5C must not become identifier letters.
        {"\x83\x41(void)", ""},
        {"init\x83\x41(void)", "init"},
        {"\x83\x5c" "abc(void)", "abc"},
        {"int name", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(functionNameOfLine(c.line), c.name);
    }
}

TEST(FunctionLengthTest, CountsNonBlankBodyLinesBetweenFirstColumnBraces) {
    struct Case {
        const char* name;
        Lines lines;
        std::string report;
    };
    const Case cases[] = {
        {"plain function",
         {"int", "main(int c, char **v)", "{", "    int a;", "", "    return 0;", "}"},
         "    2\tmain\n"},
        {"struct ends with a semicolon", {"struct s", "{", "int a;", "};"}, ""},
        {"no header line", {"{", "  a();", "}"}, ""},
        {"blank lines of full-width spaces do not count",
         {"f()", "{", "\x81\x40", "  x;", "\t", "}"},
         "    1\tf\n"},
        {"indented braces are ordinary lines",
         {"g(void)", "{", "  if (x)", "  {", "    y();", "  }", "}"},
         "    4\tg\n"},
        {"two functions", {"a()", "{", "}", "b()", "{", "1;", "2;", "}"}, "    0\ta\n    2\tb\n"},
        // The body lines of a() are not a header for the block that follows it.
        {"block right after a function", {"a()", "{", "x;", "}", "{", "y;", "}"}, "    1\ta\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FunctionReport report = countFunctionLines(c.lines);
        EXPECT_EQ(report.text, c.report);
        EXPECT_FALSE(report.stopped);
    }
}

Lines readFixture(const char* name) {
    std::ifstream file(std::string(TABULO_TEST_DATA_DIR) + "/textops/" + name, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(file), {});
    const SplitText split = splitDocumentText(text);
    return Lines(split.lines.begin(), split.lines.end());
}

TEST(FunctionLengthTest, ReportsTheFunctionsOfACppFixture) {
    const Lines lines = readFixture("functions.cpp");
    ASSERT_GT(lines.size(), 30u);
    EXPECT_EQ(countFunctionLines(lines).text, "    6\tmain\n    2\tdraw\n    1\tlookup\n");
}

TEST(FunctionLengthTest, StoppedRunReturnsTheReportSoFar) {
    const Lines lines = {"a()", "{", "}", "b()", "{", "x;", "}"};
    std::size_t reported = 0;
    const FunctionReport report = countFunctionLines(lines, [&](const Progress& p) {
        reported = p.count;
        return p.line < 3;
    });
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(reported, 1u);
    EXPECT_EQ(report.text, "    0\ta\n");
}

}  // namespace
}  // namespace tabulo::textops
