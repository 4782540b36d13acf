// tabulo-cli conv end to end: the built program converts every line of a
// file or standard input as the code conversion command does.
#include "cli/cli_fixture.h"

namespace {

using namespace tabulo::testing;

using KanjiCli = CliTest;

TEST_F(KanjiCli, ConvertsEveryLineOfAFile) {
    const std::string file = writeFile("in.txt", kA + "\nabc\r" + kA + "\r\n");
    const RunResult jis = runShell(program() + " conv --to jis " + quoted(file));
    EXPECT_EQ(jis.status, 0);
    EXPECT_EQ(jis.out, kIn + "$\"" + kOut + "\r\nabc\r\n" + kIn + "$\"" + kOut + "\r\n");

    const RunResult euc = runShell(program() + " conv --to=euc " + quoted(file));
    EXPECT_EQ(euc.out, "\xA4\xA2\r\nabc\r\n\xA4\xA2\r\n");
}

TEST_F(KanjiCli, EncodesEachLineAndKeepsTheMissingFinalBreak) {
    const std::string file = writeFile("in.txt", "abc\r\nab");
    struct Case {
        const char* code;
        std::string expected;
    };
    const Case cases[] = {
        {"base64", "YWJj\r\nYWI="},
        {"uuencode", "#86)C#$0D#0A`#$0D#0A\r\n\"86(`#$0D#0A`#$0D#0A"},
        {"binhex", ":B@*M:\r\n:B@):"},
    };
    for (const auto& c : cases) {
        const RunResult run = runShell(program() + " conv --to " + c.code + " " + quoted(file));
        EXPECT_EQ(run.status, 0) << c.code;
        EXPECT_EQ(run.out, c.expected) << c.code;
    }
}

TEST_F(KanjiCli, ReadsStandardInputAndConvertsBackToSjis) {
    const std::string file = writeFile("in.txt", "\xA4\xA2\xBB\xFA\n" + kIn + "$\"" + kOut + "\n");
    const RunResult run = runShell(program() + " conv --to sjis < " + quoted(file));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, kA + "\x8E\x9A\r\n" + kA + "\r\n");
}

TEST_F(KanjiCli, RejectsBadArguments) {
    EXPECT_EQ(runShell(program() + " conv 2>/dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to utf8 2>/dev/null </dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to 2>/dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to jis " + quoted((m_dir / "missing").string()) + " 2>/dev/null").status, 2);
}

}  // namespace
