// tabulo-cli replace end to end: each option, line breaks and odd bytes
// kept, Shift-JIS text arguments, patterns across lines, standard input,
// exit statuses and pattern errors.
#include "cli/cli_fixture.h"

namespace {

using namespace tabulo::testing;

class ReplaceCli : public CliTest {};

TEST_F(ReplaceCli, ReplacesWithEachOption) {
    const std::string f = quoted(writeFile("f.txt", "Cat cat concat\r\nx\x95\x5C" "CAT\n"));
    struct Case {
        const char* options;
        std::string expected;
    };
    const Case cases[] = {
        {"", "dog dog condog\r\nx\x95\x5C" "dog\n"},
        {"--case", "Cat dog condog\r\nx\x95\x5C" "CAT\n"},
        {"--word", "dog dog concat\r\nx\x95\x5C" "dog\n"},  // next to 表 is a word of its own
        {"--regexp --case", "Cat dog condog\r\nx\x95\x5C" "CAT\n"},
    };
    for (const Case& c : cases) {
        const RunResult run = runShell("LC_ALL=C " + program() + " replace " + c.options + " cat dog " + f);
        EXPECT_EQ(run.status, 0) << c.options;
        EXPECT_EQ(run.out, c.expected) << c.options;
    }
    const RunResult regexp = runShell("LC_ALL=C " + program() + " replace -e '^c.t' X " + f);
    EXPECT_EQ(regexp.out, "X cat concat\r\nx\x95\x5C" "CAT\n");
}

TEST_F(ReplaceCli, EveryByteAndLineBreakIsKept) {
    // Mixed breaks, 0x1A, 0x00, a lone lead byte at the end and no final break.
    const std::string input = std::string("a\r\nb\nA\r\x1A\x00" "a\n\x95\x5C\\a\x95", 16);
    const std::string f = quoted(writeFile("f.txt", input));
    const RunResult run = runShell("LC_ALL=C " + program() + " replace a '\\' " + f);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, std::string("\\\r\nb\n\\\r\x1A\x00\\\n\x95\x5C\\\\\x95", 16));
    // The trail byte of 表 is not a backslash; the pattern \ replaces only the real one.
    EXPECT_EQ(runShell("LC_ALL=C " + program() + " replace '\\' / " + f).out,
              std::string("a\r\nb\nA\r\x1A\x00" "a\n\x95\x5C/a\x95", 16));
}

TEST_F(ReplaceCli, TextArgumentsStandardInputAndAcrossLines) {
    // パ and ス typed in UTF-8 become Shift-JIS; the input comes from standard input.
    const RunResult run = runShell("printf 'x\\203\\160y\\r\\n' | LC_ALL=C.UTF-8 " + program() +
                                   " replace --output-encoding sjis パ ス");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "x\x83\x58y\r\n");
    const std::string f = quoted(writeFile("f.txt", "end\r\nstart\r\nend\r\n"));
    EXPECT_EQ(runShell("LC_ALL=C " + program() + " replace -e 'd\\r\\ns' 'd s' " + f).out, "end start\r\nend\r\n");
}

// Letters fold only as characters of their own: ハ (0x83 0x6E) is not ク
// (0x83 0x4E), 循 (0x8F 0x7A) is not 住 (0x8F 0x5A). An empty leftmost
// match is no match, so b* replaces nothing in abc.
TEST_F(ReplaceCli, FoldsOnlyAsciiLettersAndFindsNoEmptyMatch) {
    const std::string kana = quoted(writeFile("kana.txt", "\x83\x4E\x83\x89\x83\x58 \x8F\x5A\n"));
    const RunResult ha = runShell("LC_ALL=C " + program() + " replace \"$(printf '\\203\\156')\" '*' " + kana);
    EXPECT_EQ(ha.status, 1);
    EXPECT_EQ(ha.out, "\x83\x4E\x83\x89\x83\x58 \x8F\x5A\n");
    const RunResult jun = runShell("LC_ALL=C " + program() + " replace -e \"$(printf '\\217\\172')\" '*' " + kana);
    EXPECT_EQ(jun.status, 1);
    EXPECT_EQ(jun.out, "\x83\x4E\x83\x89\x83\x58 \x8F\x5A\n");
    const RunResult empty = runShell("LC_ALL=C " + program() + " replace --regexp 'b*' X " +
                                     quoted(writeFile("abc.txt", "abc\n")));
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.out, "abc\n");
    const std::string letters = quoted(writeFile("letters.txt", "baaa\naaab\n"));
    const RunResult run = runShell("LC_ALL=C " + program() + " replace --regexp 'a*' X " + letters);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "baaa\nXb\n");
    EXPECT_EQ(runShell("LC_ALL=C " + program() + " replace A X " + letters).out, "bXXX\nXXXb\n");
}

TEST_F(ReplaceCli, StatusesAndPatternErrors) {
    const std::string f = quoted(writeFile("f.txt", "abc\n"));
    const RunResult none = runShell("LC_ALL=C " + program() + " replace z y " + f);
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "abc\n");  // the text still passes through
    const RunResult bad = runShell("LC_ALL=C.UTF-8 " + program() + " replace -e 'a(b' y " + f + " 2>&1");
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("右(閉じ)括弧が必要です\n  a(b\n     ^\n"), std::string::npos) << bad.out;
    EXPECT_EQ(runShell(program() + " replace a 2>/dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " replace a b " + quoted((m_dir / "missing").string()) + " 2>/dev/null").status, 2);
}

}  // namespace
