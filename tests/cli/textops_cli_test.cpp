// tabulo-cli sort, uniq, blank and trim end to end: the built program reads a
// Shift-JIS text from a file or standard input, applies the line command to
// the whole text and writes the text back with the input's line breaks.
#include <algorithm>
#include <vector>

#include "cli/cli_fixture.h"

namespace {

using namespace tabulo::testing;

class TextopsCli : public CliTest {
protected:
    std::string writeInput(const std::string& bytes) { return quoted(writeFile("input.txt", bytes)); }

    // Runs a subcommand on a file holding input, and again on the same bytes
    // through standard input; both must agree.
    RunResult run(const std::string& subcommand, const std::string& input) {
        const std::string file = writeInput(input);
        const RunResult fromFile = runShell(program() + " " + subcommand + " " + file);
        const RunResult fromStdin = runShell(program() + " " + subcommand + " < " + file);
        EXPECT_EQ(fromFile.out, fromStdin.out);
        EXPECT_EQ(fromFile.status, fromStdin.status);
        return fromFile;
    }
};

TEST_F(TextopsCli, CommandsTransformTheWholeText) {
    struct Case {
        const char* name;
        std::string subcommand;
        std::string input;
        std::string output;
    };
    const Case cases[] = {
        {"sort, mixed breaks, no final break", "sort", "b\r\na\nc\r6\r\n123\r\n006", "006\r\n123\r\n6\r\na\r\nb\r\nc"},
        {"sort keeps the final break", "sort", "b\na\n", "a\nb\n"},
        {"sort by bytes, trail 0x5C", "sort", "\x83\x5c\r\n\\\r\n\x83\x40\r\n\xb1\r\n",
         "\\\r\n\x83\x40\r\n\x83\x5c\r\n\xb1\r\n"},
        {"sort descending", "sort --reverse", "a\r\n\r\nb\r\n", "b\r\na\r\n\r\n"},
        {"sort keeps 0x1A as a byte", "sort", "b\r\na\r\n\x1a" "c\r\n", "\x1a" "c\r\na\r\nb\r\n"},
        {"uniq merges neighbours only", "uniq", "a\na\nb\na\n", "a\nb\na\n"},
        {"uniq keeps the first line", "uniq", "x\r\nx\r\nx", "x"},
        {"blank", "blank", "a\r\n\r\n  \r\n\x81\x40\t\r\nb\r\n", "a\r\nb\r\n"},
        {"blank keeps 0x81 0x40 inside a character", "blank", "\x88\x81\x40\r\n \r\n", "\x88\x81\x40\r\n"},
        {"trim", "trim", " a \r\n\x81\x40" "b\x81\x40\r\n\t\r\n", "a\r\nb\r\n\r\n"},
        {"empty input", "sort", "", ""},
        {"empty input, blank", "blank", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult result = run(c.subcommand, c.input);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(result.out, c.output);
    }
}

// Enough lines for the bucketed sort path, with double-byte characters whose
// trail bytes are ASCII, compared against a plain sort of the same lines.
TEST_F(TextopsCli, SortsALargeTextInByteOrder) {
    const std::string pieces[] = {"\x83\x5c", "\x83\x40", "\\", "a", "A", "\xb1", "\x88\x9f", "0", " "};
    std::vector<std::string> lines;
    unsigned seed = 12345;
    for (int i = 0; i < 70000; ++i) {
        std::string line;
        seed = seed * 1103515245 + 12345;
        for (unsigned n = (seed >> 16) % 12; n > 0; --n) {
            seed = seed * 1103515245 + 12345;
            line += pieces[(seed >> 16) % std::size(pieces)];
        }
        lines.push_back(line);
    }
    std::string input;
    for (const std::string& line : lines) input += line + "\n";
    std::sort(lines.begin(), lines.end());
    std::string ascending;
    std::string descending;
    for (const std::string& line : lines) ascending += line + "\n";
    for (auto it = lines.rbegin(); it != lines.rend(); ++it) descending += *it + "\n";

    const RunResult up = run("sort", input);
    EXPECT_EQ(up.status, 0);
    EXPECT_TRUE(up.out == ascending);
    const RunResult down = run("sort --reverse", input);
    EXPECT_EQ(down.status, 0);
    EXPECT_TRUE(down.out == descending);
}

TEST_F(TextopsCli, BadArgumentsFailWithAMessage) {
    const std::string file = writeInput("a\r\n");
    for (const std::string& args : {"sort --bogus " + file, "sort " + file + " " + file, std::string("uniq -x"),
                                    "blank " + file + " " + file}) {
        SCOPED_TRACE(args);
        const RunResult result = runShell(program() + " " + args + " 2>&1");
        EXPECT_EQ(result.status, 2);
        EXPECT_NE(result.out.find("tabulo-cli"), std::string::npos);
    }
    const RunResult missing = runShell(program() + " trim '" + (m_dir / "missing.txt").string() + "' 2>&1");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.out.find("missing.txt"), std::string::npos);
}

}  // namespace
