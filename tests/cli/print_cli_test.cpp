// tabulo-cli print through the built program: a Japanese file becomes a PDF
// with the dialog's layout (read back with pdftotext and pdffonts), with the
// header, footer, columns and line numbers asked for, and bad input ends
// with exit status 2 and no file. An endless line is printed as it comes,
// in bounded memory.
#include <cstdio>

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

// Numbered lines need the line count first: standard input, copied to a
// temporary file to be counted, prints as the named file does.
TEST_F(PrintCliTest, LineNumbersFromStandardInputAsFromTheFile) {
    if (!hasPoppler()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    std::string text;
    for (int i = 1; i <= 120; ++i) text += kJapanese + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
    text += std::string(5000, 'w');  // a long last line without a break
    const std::string in = writeFile("lines.txt", text);
    const std::string fromFile = (m_dir / "file.pdf").string();
    const std::string fromPipe = (m_dir / "pipe.pdf").string();
    ASSERT_EQ(runShell(program() + " print -n --pdf " + quoted(fromFile) + " " + quoted(in)).status, 0);
    ASSERT_EQ(runShell("cat " + quoted(in) + " | " + program() + " print -n --pdf " + quoted(fromPipe)).status, 0);
    const std::string out = pdfText(fromPipe);
    EXPECT_NE(out.find("120:日本語の行120"), std::string::npos) << out;
    EXPECT_NE(out.find("121:wwww"), std::string::npos) << out;
    EXPECT_EQ(out, pdfText(fromFile));
}

// An endless line (from /dev/zero) is laid out and written page by page:
// while 6 MB more of it are read, the peak memory grows by far less.
TEST_F(PrintCliTest, AnEndlessLineIsPrintedInBoundedMemory) {
    // AddressSanitizer keeps freed blocks in quarantine, which would count
    // as growth: keep its quarantine small.
    const RunResult run = runShell(
        "ASAN_OPTIONS=\"${ASAN_OPTIONS:+$ASAN_OPTIONS:}quarantine_size_mb=1\"; export ASAN_OPTIONS; "
        "tr '\\0' a </dev/zero | " + program() + " print --pdf /dev/null & pid=$!; "
        "field() { awk -v k=\"$1\" '$1 == k { print $2 }' /proc/$pid/status /proc/$pid/io 2>/dev/null; }; "
        "wait_read() { n=0; while [ \"$(field rchar:)\" -lt \"$1\" ] 2>/dev/null && [ $n -lt 3000 ]; do "
        "sleep 0.1; n=$((n + 1)); done; }; "
        "wait_read 3000000; read0=$(field rchar:); peak0=$(field VmHWM:); "
        "wait_read $((read0 + 6000000)); read1=$(field rchar:); peak1=$(field VmHWM:); "
        "kill $pid; echo \"$read0 $peak0 $read1 $peak1\"");
    long long read0 = 0, peak0 = 0, read1 = 0, peak1 = 0;
    ASSERT_EQ(std::sscanf(run.out.c_str(), "%lld %lld %lld %lld", &read0, &peak0, &read1, &peak1), 4) << run.out;
    ASSERT_GE(read1 - read0, 6000000) << run.out;
    // Peaks are in kB; a held line would add its 6 MB.
    EXPECT_LT(peak1 - peak0, 2000) << run.out;
}

}  // namespace
}  // namespace tabulo::testing
