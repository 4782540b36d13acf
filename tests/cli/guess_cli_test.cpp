// tabulo-cli guess end to end: the detected kanji code of each file.
#include "cli/cli_fixture.h"

namespace {

using namespace tabulo::testing;

using KanjiCli = CliTest;

TEST_F(KanjiCli, GuessNeedsAFile) {
    EXPECT_EQ(runShell(program() + " guess 2>/dev/null").status, 2);
}

TEST_F(KanjiCli, GuessPrintsTheCodeOfEachFile) {
    const std::string sjis = writeFile("s.txt", "abc " + kA + "\r\n");
    const std::string euc = writeFile("e.txt", "\xA4\xA2\xBB\xFA");
    const std::string undecided = writeFile("u.txt", "\xA4\xA2");
    const std::string jis = writeFile("j.txt", kIn + "$\"" + kOut);
    const std::string ascii = writeFile("a.txt", "plain");
    const std::string binary = writeFile("b.bin", std::string("\0\1\2\3", 4));
    const RunResult run = runShell(program() + " guess " + quoted(sjis) + " " + quoted(euc) + " " +
                                   quoted(undecided) + " " + quoted(jis) + " " + quoted(ascii) + " " +
                                   quoted(binary));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "5\t" + sjis + "\n4\t" + euc + "\n6\t" + undecided + "\n2\t" + jis + "\n0\t" +
                           ascii + "\n1\t" + binary + "\n");
}

TEST_F(KanjiCli, GuessReadsOnUntilTheCodeIsDecided) {
    // Three megabytes of text that is EUC or Shift-JIS alike, then あ in Shift-JIS.
    std::string undecided;
    while (undecided.size() < 3'000'000) undecided += "\xA4\xA2\xB1\xB1 \r\n";
    const std::string late = writeFile("late.txt", undecided + kA + "\r\n");
    const std::string never = writeFile("never.txt", undecided);
    const RunResult run = runShell(program() + " guess " + quoted(late) + " - < " + quoted(never));
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "5\t" + late + "\n6\t-\n");
}

TEST_F(KanjiCli, GuessGoesOnPastAMissingFile) {
    const std::string sjis = writeFile("s.txt", kA);
    const std::string missing = (m_dir / "missing.txt").string();
    const RunResult run = runShell(program() + " guess " + quoted(missing) + " " + quoted(sjis) + " 2>/dev/null");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "5\t" + sjis + "\n");
}

}  // namespace
