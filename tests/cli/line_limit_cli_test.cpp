// An endless line (zero bytes without a break) stops every line-wise
// subcommand with exit status 2 and a message naming the limit, in bounded
// memory: each run has a ceiling on its address space far below the input.
// The subcommands that stream within a line are in streaming_cli_test.
#include <string>

#include "cli/cli_fixture.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
const std::string kAddressCeiling;
#else
const std::string kAddressCeiling = "ulimit -v 2000000; ";
#endif

using namespace tabulo::testing;

struct LimitCase {
    const char* name;
    std::string arguments;  // after the subcommand's name
};

class LineLimitCli : public CliTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(LineLimitCli, AnEndlessLineStopsWithStatusTwo) {
    const LimitCase& c = GetParam();
    const std::string subcommand = std::string(c.arguments, 0, c.arguments.find(' '));
    if (subcommand == "print" && runShell(program() + " print --help >/dev/null 2>&1").status != 0) {
        GTEST_SKIP() << "tabulo-cli is built without print";
    }
    writeFile("S.awk", "{ print }\n");
    // 300 MB of zero bytes, more than the limit of a line (256 MiB), under a
    // ceiling of 2 GB of address space (not under AddressSanitizer, which
    // reserves far more address space than it uses).
    const RunResult run = runShell("cd " + quoted(m_dir.string()) + " && head -c 300000000 /dev/zero | (" +
                                   kAddressCeiling + "exec " +
                                   program() + " " + c.arguments + " 2>&1 >/dev/null); echo \" status $?\"");
    EXPECT_NE(run.out.find("tabulo-cli " + subcommand + ": "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(" is longer than 268435456 bytes, the longest line taken\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(" status 2\n"), std::string::npos) << run.out;
}

const LimitCase kLimitCases[] = {
    {"Calc", "calc"},
    {"Replace", "replace a b"},
    {"ReplaceAcrossLines", "replace --regexp 'a\\n' b"},
    {"Postal", "postal --file KEN_ALL.CSV"},
    {"Sort", "sort"},
    {"Trim", "trim"},
    {"Uniq", "uniq"},
    {"Blank", "blank"},
    // Detection looks at a whole line; conv from a named code and to or from
    // UTF-8 streams (streaming_cli_test).
    {"ConvDetecting", "conv --to jis"},
    {"ConvBase64", "conv --to base64"},
    {"DecodeUuencode", "decode uuencode"},
    {"Print", "print --pdf out.pdf"},
    {"Script", "script awk S.awk"},
};

INSTANTIATE_TEST_SUITE_P(Subcommands, LineLimitCli, ::testing::ValuesIn(kLimitCases),
                         [](const ::testing::TestParamInfo<LimitCase>& param) { return std::string(param.param.name); });

}  // namespace
