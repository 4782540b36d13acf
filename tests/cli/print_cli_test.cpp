// tabulo-cli print through the built program: a Japanese file becomes a PDF
// with the dialog's layout (read back with pdftotext and pdffonts), with the
// header, footer, columns and line numbers asked for, and bad input ends
// with exit status 2 and no file.
#include "cli/cli_fixture.h"

namespace tabulo::testing {
namespace {

// 日本語の行 (Shift-JIS)
const std::string kJapanese = "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x8d\x73";

bool hasPoppler() {
    return runShell("command -v pdftotext >/dev/null && command -v pdffonts >/dev/null && echo found").out ==
           "found\n";
}

class PrintCliTest : public CliTest {
protected:
    std::string pdfText(const std::string& pdf) {
        return runShell("pdftotext -layout " + quoted(pdf) + " -").out;
    }
};

TEST_F(PrintCliTest, JapaneseFileWithHeaderColumnsAndNumbers) {
    if (!hasPoppler()) GTEST_SKIP() << "pdftotext and pdffonts (poppler-utils) are not installed";
    std::string text;
    for (int i = 1; i <= 200; ++i) text += kJapanese + std::to_string(i) + "\r\n";
    const std::string in = writeFile("memo.txt", text);
    const std::string pdf = (m_dir / "memo.pdf").string();
    const RunResult run = runShell(program() + " print --pdf " + quoted(pdf) +
                                   " --header '[%F]' --columns 2 --line-numbers " + quoted(in) + " 2>&1");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "");

    const std::string out = pdfText(pdf);
    EXPECT_NE(out.find("[memo.txt]"), std::string::npos) << out;
    EXPECT_NE(out.find("- 1 -"), std::string::npos);
    EXPECT_NE(out.find("- 2 -"), std::string::npos);
    EXPECT_NE(out.find("200:日本語の行200"), std::string::npos);
    // Two columns: line 1 and a line from the second column share a row.
    const std::size_t firstRow = out.find("1:日本語の行1 ");
    ASSERT_NE(firstRow, std::string::npos) << out;
    const std::string row = out.substr(firstRow, out.find('\n', firstRow) - firstRow);
    EXPECT_NE(row.find(":日本語の行", 5), std::string::npos) << row;

    const std::string fonts = runShell("pdffonts " + quoted(pdf)).out;
    EXPECT_NE(fonts.find("IPAMincho"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("Identity-H       yes"), std::string::npos) << fonts;
}

TEST_F(PrintCliTest, DefaultsFromStandardInput) {
    if (!hasPoppler()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const std::string pdf = (m_dir / "in.pdf").string();
    const RunResult run =
        runShell("printf 'first\\nsecond\\n' | " + program() + " print --pdf " + quoted(pdf) + " --footer 'p%p/%f.' 2>&1");
    ASSERT_EQ(run.status, 0) << run.out;
    const std::string out = pdfText(pdf);
    EXPECT_NE(out.find("first"), std::string::npos);
    EXPECT_NE(out.find("p1/."), std::string::npos) << out;  // no file name from standard input
    EXPECT_EQ(out.find("1:"), std::string::npos);
}

TEST_F(PrintCliTest, BadInputEndsWithStatusTwo) {
    const std::string in = writeFile("a.txt", "a\r\n");
    const std::string empty = writeFile("empty.txt", "");
    const std::string pdf = (m_dir / "never.pdf").string();
    struct Case {
        const char* name;
        std::string arguments;
        const char* message;
    };
    const Case cases[] = {
        {"no --pdf", quoted(in), "--pdf OUT.pdf is required"},
        {"four columns", "--pdf " + quoted(pdf) + " --columns 4 " + quoted(in), "--columns takes 1, 2 or 3"},
        {"empty input", "--pdf " + quoted(pdf) + " " + quoted(empty), "nothing to print"},
        {"missing input", "--pdf " + quoted(pdf) + " " + quoted((m_dir / "none.txt").string()), "No such file"},
        {"unwritable output", "--pdf " + quoted((m_dir / "no/dir.pdf").string()) + " " + quoted(in), "No such file"},
    };
    for (const Case& c : cases) {
        const RunResult run = runShell(program() + " print " + c.arguments + " 2>&1");
        EXPECT_EQ(run.status, 2) << c.name;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << c.name << ": " << run.out;
        EXPECT_FALSE(std::filesystem::exists(pdf)) << c.name;
    }
}

}  // namespace
}  // namespace tabulo::testing
