// The conventions every tabulo-cli subcommand follows, through the built
// program: text arguments in the locale's encoding, "--" and "-", help and
// version, exit statuses, write errors and closed pipes, every byte kept,
// and the input's line breaks kept.
#include "cli/cli_fixture.h"

namespace {

using namespace tabulo::testing;

class Conventions : public CliTest {};

// パスワード in Shift-JIS.
const std::string kPassword = "\x83\x70\x83\x58\x83\x8F\x81\x5B\x83\x68";

TEST_F(Conventions, TextArgumentsAreReadInTheLocalesEncoding) {
    // ﾃ｡ (0xC3 0xA1) is half-width katakana that also reads as UTF-8 á.
    const std::string f = quoted(writeFile("f.txt", "x\r\n" + kPassword + "\r\n\xC3\xA1\r\n"));
    const std::string hit2 = "\r\nLine=2 \t" + kPassword + "\r\n\r\n";
    struct Case {
        const char* name;
        std::string command;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {"UTF-8 pattern", "LC_ALL=C.UTF-8 " + program() + " grep パスワード " + f, 0, f.substr(1, f.size() - 2) + hit2},
        {"Shift-JIS bytes in a UTF-8 locale", "LC_ALL=C.UTF-8 " + program() + " grep \"$(printf '\\203\\160\\203\\130')\" " + f,
         0, f.substr(1, f.size() - 2) + hit2},
        {"bytes as given in the C locale", "LC_ALL=C " + program() + " grep \"$(printf '\\303\\241')\" " + f, 0,
         f.substr(1, f.size() - 2) + "\r\nLine=3 \t\xC3\xA1\r\n\r\n"},
        {"forced UTF-8 in the C locale", "LC_ALL=C " + program() + " grep --args-encoding utf-8 パスワード " + f, 0,
         f.substr(1, f.size() - 2) + hit2},
        {"forced Shift-JIS reading of a UTF-8-looking pair",
         "LC_ALL=C.UTF-8 " + program() + " --args-encoding sjis grep \"$(printf '\\303\\241')\" " + f, 0,
         f.substr(1, f.size() - 2) + "\r\nLine=3 \t\xC3\xA1\r\n\r\n"},
        {"the same pair read as UTF-8 has no Shift-JIS form",
         "LC_ALL=C.UTF-8 " + program() + " grep \"$(printf '\\303\\241')\" " + f + " 2>/dev/null", 2, ""},
        {"forced UTF-8 refuses bytes that are not UTF-8",
         program() + " grep --args-encoding=utf-8 \"$(printf '\\203\\160')\" " + f + " 2>/dev/null", 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult r = runShell(c.command);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
    }
    const RunResult message = runShell("LC_ALL=C.UTF-8 " + program() + " grep 'aé' " + f + " 2>&1");
    EXPECT_EQ(message.status, 2);
    EXPECT_NE(message.out.find("'é' (U+00E9)"), std::string::npos) << message.out;
}

TEST_F(Conventions, MessagesUseTheLocalesEncoding) {
    const std::string f = quoted(writeFile("f.txt", "abc\n"));
    // 右(閉じ)括弧 in Shift-JIS, then the pattern with its Shift-JIS character.
    const RunResult sjis = runShell("LC_ALL=ja_JP.SJIS " + program() + " grep \"$(printf 'x\\202\\240(')\" " + f + " 2>&1");
    EXPECT_EQ(sjis.status, 2);
    EXPECT_NE(sjis.out.find("\x89\x45(\x95\xC2\x82\xB6)\x8A\x87\x8C\xCA"), std::string::npos) << sjis.out;
    EXPECT_NE(sjis.out.find("  x\x82\xA0(\n"), std::string::npos) << sjis.out;
    const RunResult utf8 = runShell("LC_ALL=C.UTF-8 " + program() + " grep 'xあ(' " + f + " 2>&1");
    EXPECT_NE(utf8.out.find("右(閉じ)括弧が必要です\n  xあ(\n"), std::string::npos) << utf8.out;
}

TEST_F(Conventions, OutputEncodingCanBeForced) {
    const std::string f = quoted(writeFile("f.txt", kPassword + "\n\x82"));
    EXPECT_EQ(runShell(program() + " trim " + f).out, kPassword + "\n\x82");
    // A lone lead byte at the end is shown as the replacement character.
    EXPECT_EQ(runShell(program() + " trim --output-encoding utf-8 " + f).out, "パスワード\n\xEF\xBF\xBD");
    EXPECT_EQ(runShell(program() + " --output-encoding=sjis trim " + f).out, kPassword + "\n\x82");
    EXPECT_EQ(runShell(program() + " trim --output-encoding latin1 " + f + " 2>/dev/null").status, 2);
}

// script(1) gives the program a terminal; the terminal turns LF into CR LF.
TEST_F(Conventions, OnATerminalTheOutputIsInTheLocalesEncoding) {
    if (runShell("command -v script >/dev/null").status != 0) GTEST_SKIP() << "script(1) is not installed";
    const std::string f = quoted(writeFile("f.txt", kPassword + "\n"));
    const auto onTerminal = [&](const std::string& command) {
        return runShell("script -qec \"" + command + "\" /dev/null </dev/null").out;
    };
    EXPECT_EQ(onTerminal("LC_ALL=C.UTF-8 " + program() + " trim " + f), "パスワード\r\n");
    EXPECT_EQ(onTerminal("LC_ALL=ja_JP.SJIS " + program() + " trim " + f), kPassword + "\r\n");
    EXPECT_EQ(onTerminal("LC_ALL=C.UTF-8 " + program() + " trim --output-encoding sjis " + f), kPassword + "\r\n");
}

TEST_F(Conventions, DoubleDashAndDash) {
    const std::string f = writeFile("f.txt", "-x\n--y\n");
    const RunResult dashPattern = runShell(program() + " grep -- -x " + quoted(f));
    EXPECT_EQ(dashPattern.status, 0);
    EXPECT_EQ(dashPattern.out, f + "\r\nLine=1 \t-x\r\n\r\n");
    EXPECT_EQ(runShell(program() + " grep -x " + quoted(f) + " 2>/dev/null").status, 2);

    const RunResult fromStdin = runShell(program() + " grep y - < " + quoted(f));
    EXPECT_EQ(fromStdin.out, "-\r\nLine=2 \t--y\r\n\r\n");
    EXPECT_EQ(runShell(program() + " sort - < " + quoted(f)).out, "--y\n-x\n");
    EXPECT_EQ(runShell("cd " + quoted(m_dir.string()) + " && " + program() + " sort -- f.txt").out, "--y\n-x\n");
}

TEST_F(Conventions, HelpVersionAndUsageErrors) {
    const char* subcommands[] = {"calc", "sort", "uniq", "blank", "trim", "conv", "decode", "guess", "grep"};
    for (const char* sub : subcommands) {
        SCOPED_TRACE(sub);
        const RunResult help = runShell(program() + " " + sub + " --help");
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind(std::string("usage: tabulo-cli ") + sub, 0), 0u) << help.out;
        EXPECT_NE(help.out.find("--output-encoding"), std::string::npos);
        EXPECT_EQ(runShell(program() + " " + sub + " --bogus 2>/dev/null </dev/null").status, 2);
    }
    const RunResult version = runShell(program() + " --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("tabulo-cli ", 0), 0u);
    EXPECT_EQ(runShell(program() + " sort --version").out, version.out);
    EXPECT_EQ(runShell(program() + " --help").status, 0);
    EXPECT_EQ(runShell(program() + " 2>/dev/null").status, 2);
    const RunResult unknown = runShell(program() + " frobnicate 2>&1");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.out.find("unknown subcommand 'frobnicate'"), std::string::npos);
    const RunResult usage = runShell(program() + " sort a b 2>&1");
    EXPECT_EQ(usage.status, 2);
    EXPECT_NE(usage.out.find("tabulo-cli sort: too many operands\nusage: tabulo-cli sort [OPTIONS] [FILE]"),
              std::string::npos)
        << usage.out;
}

TEST_F(Conventions, WriteErrorsFailAndAClosedPipeEndsQuietly) {
    const std::string f = quoted(writeFile("f.txt", "1+1\n"));
    for (const char* sub : {"calc", "trim", "sort", "conv --to euc"}) {
        SCOPED_TRACE(sub);
        const RunResult full = runShell(program() + " " + sub + " " + f + " 2>&1 >/dev/full");
        EXPECT_EQ(full.status, 2);
        EXPECT_NE(full.out.find("No space left on device"), std::string::npos) << full.out;
    }
    std::string big;
    for (int i = 0; i < 200000; ++i) big += "line " + std::to_string(i) + "\r\n";
    const std::string bigFile = quoted(writeFile("big.txt", big));
    const std::string err = quoted((m_dir / "err.txt").string());
    // Once with the signal as usual, once with it ignored (EPIPE instead).
    for (const char* prefix : {"", "trap '' PIPE; "}) {
        SCOPED_TRACE(prefix);
        const RunResult closed = runShell(std::string("bash -c \"") + prefix + program() + " trim " + bigFile +
                                          " 2>" + err + " | head -c 10 >/dev/null; echo \\${PIPESTATUS[0]}\"; cat " + err);
        EXPECT_EQ(closed.out, "141\n");
    }
}

TEST_F(Conventions, NoByteIsDropped) {
    const std::string text = "b\x1a" "c\r\n\x1a\r\n a\x1a \r\n\x1a";
    struct Case {
        const char* sub;
        std::string out;
    };
    const Case cases[] = {
        {"sort", "\x1a\r\n\x1a\r\n a\x1a \r\nb\x1a" "c"},
        {"uniq", text},
        {"blank", text},
        {"trim", "b\x1a" "c\r\n\x1a\r\na\x1a\r\n\x1a"},
        {"conv --to euc", text},
    };
    const std::string f = quoted(writeFile("f.txt", text));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sub);
        const RunResult r = runShell(program() + " " + c.sub + " " + f);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, c.out);
    }
}

TEST_F(Conventions, LineWiseSubcommandsKeepTheInputsLineBreak) {
    struct Case {
        const char* sub;
        std::string input;  // "|" stands for the line break
        std::string output;
    };
    const Case cases[] = {
        {"sort", "b|a|", "a|b|"},  {"sort", "b|a", "a|b"},       {"uniq", "a|a|b", "a|b"},
        {"blank", "a| |b|", "a|b|"}, {"blank", "a| ", "a"},        {"trim", " a | b", "a|b"},
        {"conv --to base64", "ab|c|", "YWI=|Yw==|"},
    };
    for (const std::string lineBreak : {"\n", "\r", "\r\n"}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.sub) + " " + c.input + " " + (lineBreak == "\n" ? "LF" : lineBreak == "\r" ? "CR" : "CRLF"));
            auto withBreak = [&](std::string s) {
                std::string result;
                for (char ch : s) result += ch == '|' ? lineBreak : std::string(1, ch);
                return result;
            };
            const RunResult r = runShell(program() + " " + c.sub + " " + quoted(writeFile("f.txt", withBreak(c.input))));
            EXPECT_EQ(r.out, withBreak(c.output));
        }
    }
    // The first break found decides; other breaks still end lines.
    EXPECT_EQ(runShell(program() + " sort " + quoted(writeFile("m.txt", "c\rb\r\na\n"))).out, "a\rb\rc\r");
}

}  // namespace
