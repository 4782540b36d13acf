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
    // Lines keep the input's first line break.
    EXPECT_EQ(jis.out, kIn + "$\"" + kOut + "\nabc\n" + kIn + "$\"" + kOut + "\n");

    const RunResult euc = runShell(program() + " conv --to=euc " + quoted(file));
    EXPECT_EQ(euc.out, "\xA4\xA2\nabc\n\xA4\xA2\n");
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
    EXPECT_EQ(run.out, kA + "\x8E\x9A\n" + kA + "\n");
}

TEST_F(KanjiCli, NamedSourceConvertsLinesDetectionLeavesUndecided) {
    // あい and 漢字 in EUC: the first line reads as Shift-JIS as well.
    const std::string file = writeFile("euc.txt", "\xA4\xA2\xA4\xA4\n\xB4\xC1\xBB\xFA\n");
    EXPECT_EQ(runShell(program() + " conv --to sjis " + quoted(file)).out,
              "\xA4\xA2\xA4\xA4\n\x8A\xBF\x8E\x9A\n");
    const RunResult strict = runShell(program() + " conv --from euc --to sjis " + quoted(file));
    EXPECT_EQ(strict.status, 0);
    EXPECT_EQ(strict.out, kA + "\x82\xA2\n\x8A\xBF\x8E\x9A\n");
    EXPECT_EQ(runShell(program() + " conv --from sjis --to euc " + quoted(writeFile("s.txt", kA))).out, "\xA4\xA2");
    EXPECT_EQ(runShell(program() + " conv --from jis --to sjis " + quoted(writeFile("j.txt", kIn + "$\"" + kOut))).out, kA);
}

TEST_F(KanjiCli, DecodeInvertsTheEncoders) {
    // Lines of every byte but the line breaks, long enough for several
    // encoded lines in one uuencode or BinHex result.
    std::string input;
    unsigned seed = 7;
    for (int line = 0; line < 40; ++line) {
        seed = seed * 1103515245 + 12345;
        for (unsigned n = (seed >> 16) % 300; n > 0; --n) {
            seed = seed * 1103515245 + 12345;
            const char byte = static_cast<char>(seed >> 20);
            input += byte == '\r' || byte == '\n' ? 'x' : byte;
        }
        input += "\r\n";
    }
    const std::string file = quoted(writeFile("in.bin", input));
    for (const char* encoding : {"base64", "uuencode", "binhex"}) {
        SCOPED_TRACE(encoding);
        const RunResult r = runShell(program() + " conv --to " + encoding + " " + file + " | " + program() +
                                     " decode " + encoding);
        EXPECT_EQ(r.status, 0);
        EXPECT_TRUE(r.out == input);
    }
    EXPECT_EQ(runShell(program() + " decode base64 " + quoted(writeFile("b.txt", "YWJj\r\nYQ==\r\n"))).out,
              "abc\r\na\r\n");
    EXPECT_EQ(runShell(program() + " decode rot13 " + file + " 2>/dev/null").status, 2);
}

TEST_F(KanjiCli, RejectsBadArguments) {
    EXPECT_EQ(runShell(program() + " conv 2>/dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to utf8 2>/dev/null </dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to 2>/dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to base64 --from euc 2>/dev/null </dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to sjis --from utf8 2>/dev/null </dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to jis " + quoted((m_dir / "missing").string()) + " 2>/dev/null").status, 2);
}

}  // namespace
