// tabulo-cli calc end to end: the built program reads Shift-JIS lines from a
// file or standard input and writes one Shift-JIS line per calc line.
#include "cli/cli_fixture.h"

namespace {

using namespace tabulo::testing;

class CalcCli : public CliTest {
protected:
    std::string writeInput(const std::string& bytes) { return writeFile("input.txt", bytes); }
};

// 関数・計算式ではありません, を記憶しました, 関数 / をグラフで表しますか？ and the
// division-by-zero message, in Shift-JIS.
const std::string kNotExpression =
    "\x8a\xd6\x90\x94\x81\x45\x8c\x76\x8e\x5a\x8e\xae\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";
const std::string kStored = "\x20\x82\xf0\x8b\x4c\x89\xaf\x82\xb5\x82\xdc\x82\xb5\x82\xbd";
const std::string kGraphPrefix = "\x8a\xd6\x90\x94\x20";
const std::string kGraphSuffix =
    "\x20\x82\xf0\x83\x4f\x83\x89\x83\x74\x82\xc5\x95\x5c\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81\x48";
const std::string kDivisionByZero =
    "\x30\x20\x82\xc9\x82\xe6\x82\xe9\x95\x82\x93\xae\x8f\xac\x90\x94\x93\x5f\x90\x94\x8f\x9c\x8e\x5a";

const std::string kInput =
    "1 + 2 * 3\r\n"
    "r = 12\r\n"
    "\r\n"
    "\x81\x40pi * r^2\x81\x40\r\n"  // full-width spaces around
    "[g] x^2\r"
    "1/0\n"
    "\x8a\xd6\x90\x94\n"            // 関数
    "\x83\x5e\x83\x5e = 1\n"        // タタ: a name cannot start with a double-byte character
    "_\x83\x5e = 2^3\n"             // _タ: the trail byte 5E is not a caret
    "_\x83\x5e / 4\n"
    "1/3\x1a"            // 0x1A is an ordinary byte: this line is no expression
    "2/3\r\n"
    "2/3";

// Every output line ends with the input's first line break, CR LF here.
const std::string kExpected =
    "7\r\n"
    "r=12" + kStored + "\r\n"
    "452.38934211693\r\n" +
    kGraphPrefix + "x^2" + kGraphSuffix + "\r\n" +
    kDivisionByZero + "\r\n" +
    kNotExpression + "\r\n" +
    kNotExpression + "\r\n" +
    "_\x83\x5e=2**3" + kStored + "\r\n"
    "2\r\n" +
    kNotExpression + "\r\n" +
    "0.666666666666667\r\n";

TEST_F(CalcCli, FileInput) {
    const RunResult r = runShell(program() + " calc '" + writeInput(kInput) + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kExpected);
}

TEST_F(CalcCli, StandardInput) {
    const RunResult r = runShell(program() + " calc < '" + writeInput(kInput) + "'");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kExpected);

    const RunResult empty = runShell(program() + " calc < /dev/null");
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "");
}

TEST_F(CalcCli, LongLinesAreEvaluatedEveryTime) {
    // Past the length of the lines the evaluator keeps compiled; the same
    // line twice with a variable changed in between.
    std::string sum = "n";
    for (int i = 0; i < 5000; ++i) sum += "+1";
    const std::string input = "n = 0\n" + sum + "\nn = 1\n" + sum + "\n";
    const RunResult r = runShell(program() + " calc " + quoted(writeInput(input)));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "n=0" + kStored + "\n5000\nn=1" + kStored + "\n5001\n");
}

TEST_F(CalcCli, KeepsTheInputsLineBreak) {
    const struct {
        const char* input;
        const char* output;
    } cases[] = {
        {"1+1\n2+2\r\n", "2\n4\n"},
        {"1+1\r2+2", "2\r4\r"},
        {"1+1", "2\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(runShell(program() + " calc " + quoted(writeInput(c.input))).out, c.output);
    }
}

TEST_F(CalcCli, HelpAndErrors) {
    const RunResult help = runShell(program() + " calc --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: tabulo-cli calc [FILE]"), std::string::npos);

    const RunResult missing = runShell(program() + " calc '" + (m_dir / "missing.txt").string() + "' 2>/dev/null");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");

    const RunResult tooMany = runShell(program() + " calc a b 2>/dev/null");
    EXPECT_EQ(tooMany.status, 2);
}

}  // namespace
