// tabulo-cli conv end to end: the built program converts every line of a
// file or standard input as the code conversion command does.
#include <algorithm>

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

TEST_F(KanjiCli, ConvertsUtf8BothWaysKeepingEveryLineBreak) {
    // あ, the wave dash look-alike and half-width ｱ, with mixed line breaks.
    const std::string utf8 = "a\xE3\x81\x82\r\n\xE3\x80\x9C\n\xEF\xBD\xB1\r";
    const std::string sjis = "a" + kA + "\r\n\x81\x60\n\xB1\r";
    const RunResult in = runShell(program() + " conv --from utf-8 --to sjis " + quoted(writeFile("u.txt", utf8)));
    EXPECT_EQ(in.status, 0);
    EXPECT_EQ(in.out, sjis);
    // Back to UTF-8, through a pipe (no terminal conversion); ～ comes back as
    // the converter's U+FF5E, not the look-alike it was read from.
    const RunResult out = runShell(program() + " conv --to utf-8 " + quoted(writeFile("s.txt", sjis)) + " | cat");
    EXPECT_EQ(out.status, 0);
    EXPECT_EQ(out.out, "a\xE3\x81\x82\r\n\xEF\xBD\x9E\n\xEF\xBD\xB1\r");
}

TEST_F(KanjiCli, Utf8CharactersWithoutShiftJisFormEndTheOutputBeforeTheFirst) {
    // Two emoji, the first on line 2 after "abあ" (byte 6).
    const std::string file = writeFile("emoji.txt", "abc\nab\xE3\x81\x82\xF0\x9F\x98\x80\n\xF0\x9F\x98\x80\n");
    const RunResult refused = runShell(program() + " conv --from utf-8 --to sjis " + quoted(file) + " 2>&1 >/dev/null");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.out.find("2 character(s) have no Shift-JIS form, the first at line 2, byte 6; the output "
                               "ends before it"),
              std::string::npos)
        << refused.out;
    EXPECT_EQ(runShell(program() + " conv --from utf-8 --to sjis " + quoted(file) + " 2>/dev/null").out,
              "abc\nab" + kA);

    const RunResult agreed =
        runShell(program() + " conv --from utf-8 --to sjis --substitute " + quoted(file) + " 2>/dev/null");
    EXPECT_EQ(agreed.status, 0);
    EXPECT_EQ(agreed.out, "abc\nab" + kA + "\x81\xAC\n\x81\xAC\n");

    const RunResult badSjis = runShell(program() + " conv --to utf-8 " + quoted(writeFile("b.txt", "a\x85\x40")) + " 2>&1");
    EXPECT_EQ(badSjis.status, 2);
    EXPECT_NE(badSjis.out.find("1 byte sequence(s) are no Shift-JIS character, the first at line 1, byte 2"),
              std::string::npos)
        << badSjis.out;
}

// The conversion reads in blocks of 64 KiB: a character that does not
// convert just before, across and just after a block edge is placed right,
// and the output before it is the C library's conversion of what precedes it.
TEST_F(KanjiCli, TheFirstUnconvertedCharacterIsPlacedAcrossBlockEdges) {
    std::string lines;
    while (lines.size() < 65500) lines += "x\xE3\x81\x82\n";  // xあ
    for (long edge = 65536 - 3; edge <= 65536 + 1; ++edge) {
        const std::string prefix = lines + std::string(static_cast<std::size_t>(edge) - lines.size(), 'a');
        const std::string file = writeFile("edge.txt", prefix + "\xF0\x9F\x98\x80\nz\n");
        const RunResult run = runShell(program() + " conv --from utf-8 --to sjis " + quoted(file) + " 2>&1 >/dev/null");
        const std::size_t line = 1 + static_cast<std::size_t>(std::count(prefix.begin(), prefix.end(), '\n'));
        const std::size_t byte = prefix.size() - prefix.rfind('\n');
        EXPECT_NE(run.out.find("the first at line " + std::to_string(line) + ", byte " + std::to_string(byte) + ";"),
                  std::string::npos)
            << edge << ": " << run.out;
        const RunResult expected = runShell("iconv -f UTF-8 -t CP932 " + quoted(writeFile("prefix.txt", prefix)));
        const RunResult out = runShell(program() + " conv --from utf-8 --to sjis " + quoted(file) + " 2>/dev/null");
        ASSERT_EQ(expected.status, 0);
        EXPECT_TRUE(out.out == expected.out) << edge;
    }
}

TEST_F(KanjiCli, RejectsBadArguments) {
    EXPECT_EQ(runShell(program() + " conv 2>/dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to rot13 2>/dev/null </dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to 2>/dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to base64 --from euc 2>/dev/null </dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to jis --from utf-8 2>/dev/null </dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to utf-8 --from euc 2>/dev/null </dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to jis --substitute 2>/dev/null </dev/null").status, 2);
    EXPECT_EQ(runShell(program() + " conv --to jis " + quoted((m_dir / "missing").string()) + " 2>/dev/null").status, 2);
}

}  // namespace
