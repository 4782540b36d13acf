// tabulo-cli script end to end: real gawk, ruby and sed over Shift-JIS
// input, the output byte for byte, the interpreter's exit status passed on
// and the tool's own errors as status 2.
#include "cli/cli_fixture.h"

#include "os/process/child_process.h"

namespace {

using namespace tabulo::testing;

class ScriptCli : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        for (const char* program : {"gawk", "ruby", "sed"}) {
            if (tabulo::os::findProgram(program).empty()) GTEST_SKIP() << program << " is not installed";
        }
    }
};

TEST_F(ScriptCli, EachInterpreterSeesCharactersAndItsOutputComesOutUnchanged) {
    const std::string input = writeFile("in put;$x.txt", "a \x95\x5C|\x83\x7C\r\nb \x83\x5C\r\n");
    const std::string awk = writeFile("s \"q\" $y;.awk", "{ print $2, length($2) }\n");
    const std::string rb = writeFile("s.rb", "ARGF.each_line { |l| print l.gsub(/\x95\x5C/, \"\x83\x5C\") }\n");
    const std::string sed = writeFile("s.sed", "s/\x83\x5C/\x95\x5C/\n");
    struct Case {
        const char* kind;
        std::string script, expected;
    };
    const Case cases[] = {
        {"awk", awk, "\x95\x5C|\x83\x7C 3\n\x83\x5C 1\n"},
        {"ruby", rb, "a \x83\x5C|\x83\x7C\nb \x83\x5C\n"},
        {"sed", sed, "a \x95\x5C|\x83\x7C\nb \x95\x5C\n"},
    };
    for (const Case& c : cases) {
        const RunResult run = runShell(program() + " script " + c.kind + " " + quoted(c.script) + " " + quoted(input));
        EXPECT_EQ(run.status, 0) << c.kind;
        EXPECT_EQ(run.out, c.expected) << c.kind;
    }
    // Standard input, and arguments at the head.
    const std::string vars = writeFile("v.awk", "{ print x, $0 }\n");
    EXPECT_EQ(runShell("printf 'l\\n' | " + program() + " script awk --head -a '-v \"x=a b\"' " + quoted(vars)).out,
              "a b l\n");
}

TEST_F(ScriptCli, TheInterpretersStatusAndTheToolsOwnErrors) {
    const std::string input = writeFile("in.txt", "a\n");
    const RunResult failing =
        runShell(program() + " script awk " + quoted(writeFile("x.awk", "{ exit 3 }\n")) + " " + quoted(input));
    EXPECT_EQ(failing.status, 3);
    const RunResult syntax =
        runShell(program() + " script awk " + quoted(writeFile("b.awk", "{ print ( }\n")) + " " + quoted(input) + " 2>&1");
    EXPECT_NE(syntax.status, 0);
    EXPECT_NE(syntax.out.find("print ( }"), std::string::npos) << syntax.out;

    const RunResult missing = runShell(program() + " script awk --interpreter /no/such/gawk " +
                                       quoted(writeFile("p.awk", "{ print }\n")) + " " + quoted(input) + " 2>&1");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.out.find("/no/such/gawk: コマンドが見つかりません"), std::string::npos) << missing.out;
    EXPECT_EQ(runShell(program() + " script awk " + quoted(writeFile("p2.awk", "{ print }\n")) + " " +
                       quoted(input) + " >/dev/full 2>/dev/null")
                  .status,
              2);
    EXPECT_EQ(runShell(program() + " script perl x 2>/dev/null").status, 2);
}

}  // namespace
