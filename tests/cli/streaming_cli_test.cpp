// The subcommands that stream within a line (conv to and from UTF-8 and from
// a named kanji code, decode base64) take an endless line in bounded memory:
// 300 MB without a line break, past the line limit of the line-wise
// subcommands, under a ceiling of 200 MB of address space, with a peak
// resident size under 64 MB. Neither bound is checked under
// AddressSanitizer, which reserves far more address space than it uses and
// keeps freed memory in quarantine.
#include <string>

#include "cli/cli_fixture.h"

namespace {

using namespace tabulo::testing;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryBounds = false;
#else
constexpr bool kMemoryBounds = true;
#endif

struct EndlessCase {
    const char* name;
    std::string arguments;  // after the program
    char byte;              // the line is 300,000,000 of it
    long long outputBytes;
};

class EndlessLineCli : public CliTest, public ::testing::WithParamInterface<EndlessCase> {};

TEST_P(EndlessLineCli, ConvertsInBoundedMemory) {
    const EndlessCase& c = GetParam();
    const bool timeInstalled = runShell("test -x /usr/bin/time").status == 0;
    const std::string measured = kMemoryBounds && timeInstalled ? "/usr/bin/time -f 'peak %M' -o " +
                                                                      quoted((m_dir / "peak").string()) + " "
                                                                : "";
    const std::string ceiling = kMemoryBounds ? "ulimit -v 200000; " : "";
    const std::string status = quoted((m_dir / "status").string());
    const RunResult run = runShell("head -c 300000000 /dev/zero | tr '\\0' '" + std::string(1, c.byte) + "' | (" +
                                   ceiling + measured + program() + " " + c.arguments + "; echo $? >" + status +
                                   ") | wc -c; echo status $(cat " + status + ")");
    EXPECT_EQ(run.out, std::to_string(c.outputBytes) + "\nstatus 0\n") << run.out;
    if (!measured.empty()) {
        const RunResult peak = runShell("cat " + quoted((m_dir / "peak").string()));
        ASSERT_EQ(peak.out.rfind("peak ", 0), 0u) << peak.out;
        EXPECT_LT(std::stoll(peak.out.substr(5)), 64 * 1024) << "kilobytes resident at the peak";
    }
}

const EndlessCase kEndlessCases[] = {
    {"ToUtf8", "conv --to utf-8", 'a', 300000000},
    {"FromUtf8", "conv --from utf-8 --to sjis", 'a', 300000000},
    {"FromSjisToJis", "conv --from sjis --to jis", 'a', 300000000},
    {"FromEucToSjis", "conv --from euc --to sjis", 'a', 300000000},
    // 'A' is the six bits 0: every four give three zero bytes.
    {"DecodeBase64", "decode base64", 'A', 225000000},
};

INSTANTIATE_TEST_SUITE_P(Subcommands, EndlessLineCli, ::testing::ValuesIn(kEndlessCases),
                         [](const ::testing::TestParamInfo<EndlessCase>& param) { return std::string(param.param.name); });

}  // namespace
