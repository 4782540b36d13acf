// The work files of a run: the document split around the line range with LF
// breaks, and the result assembled in the document's line-break convention.
#include "script/engine/script_work_files.h"
#include "script/engine/result_assembly.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "support/file_fixture.h"

namespace tabulo::script {
namespace {

using testing::ScratchFolder;

class ScriptFilesTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    ScriptWorkFiles files = scriptWorkFiles(scratch.folder() + "/", ScriptMode::Awk);

    static DocumentLines linesOf(const std::vector<std::string>& lines) {
        return {static_cast<int>(lines.size()), [&lines](int i) -> std::string_view { return lines[static_cast<std::size_t>(i)]; }};
    }
};

TEST_F(ScriptFilesTest, NamesAreTheModesOwn) {
    EXPECT_EQ(files.target, scratch.folder() + "/L.$");
    EXPECT_EQ(files.result, scratch.folder() + "/TT.txt");
    EXPECT_EQ(scriptWorkFiles("/w/", ScriptMode::Ruby).script, "/w/S.rb");
    EXPECT_EQ(scriptWorkFiles("/w/", ScriptMode::Xtr).script, "/w/S.xtr");
}

TEST_F(ScriptFilesTest, TheRangeSplitsTheDocumentAndTheOutputTakesItsPlace) {
    std::vector<std::string> lines;
    for (int i = 0; i < 10; ++i) lines.push_back("l" + std::to_string(i));
    writeTargetFiles(files, linesOf(lines), 3, 5);
    EXPECT_EQ(ScratchFolder::read(files.before), "l0\nl1\nl2\n");
    EXPECT_EQ(ScratchFolder::read(files.target), "l3\nl4\nl5\n");
    EXPECT_EQ(ScratchFolder::read(files.after), "l6\nl7\nl8\nl9\n");

    scratch.write("T.$", "out\n");
    assembleResult(files, "\r\n");
    EXPECT_EQ(ScratchFolder::read(files.result), "l0\r\nl1\r\nl2\r\nout\r\nl6\r\nl7\r\nl8\r\nl9\r\n");

    // A range from the first line leaves no earlier lines in the result.
    writeTargetFiles(files, linesOf(lines), 0, 9);
    EXPECT_EQ(ScratchFolder::read(files.before), "<missing>");
    EXPECT_EQ(ScratchFolder::read(files.after), "");
    assembleResult(files, "\n");
    EXPECT_EQ(ScratchFolder::read(files.result), "out\n");
}

TEST_F(ScriptFilesTest, EveryOutputBreakBecomesTheDocumentsOwnAndOtherBytesStay) {
    // A run longer than a write block goes out whole; the CR LF after it
    // and the breaks that follow are still converted.
    const std::string longRun(kWorkFileBlock + 1, 'a');
    scratch.write("T.$", longRun + "\r\nb\rc\nd\x95\x5C\x1A\r");
    assembleResult(files, "\r\n");
    EXPECT_EQ(ScratchFolder::read(files.result), longRun + "\r\nb\r\nc\r\nd\x95\x5C\x1A\r\n");
    assembleResult(files, "\r");
    EXPECT_EQ(ScratchFolder::read(files.result), longRun + "\rb\rc\rd\x95\x5C\x1A\r");
}

TEST_F(ScriptFilesTest, BreaksAlreadyInTheDocumentsConventionStayAndOthersChange) {
    struct Case {
        const char* output;
        const char* lineBreak;
        const char* result;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", "\r\n", "a\r\nb\r\n"},
        {"a\nb\r\nc\rd", "\r\n", "a\r\nb\r\nc\r\nd"},
        {"a\n\r\n\r\r\n", "\n", "a\n\n\n\n"},
        {"\r\r\n\n", "\r", "\r\r\r"},
        {"\x83\x5C\r\n\x95\x7C", "\n", "\x83\x5C\n\x95\x7C"},
    };
    const std::vector<std::string> lines{"x", "y", "z"};
    writeTargetFiles(files, linesOf(lines), 1, 1);
    for (const Case& c : cases) {
        scratch.write("T.$", c.output);
        assembleResult(files, c.lineBreak);
        const std::string frame(c.lineBreak);
        EXPECT_EQ(ScratchFolder::read(files.result), "x" + frame + c.result + "z" + frame) << c.output;
    }
}

TEST_F(ScriptFilesTest, AMissingOutputIsReportedAndAnEmptyOneLeavesTheFrame) {
    const std::vector<std::string> lines{"x", "y", "z"};
    writeTargetFiles(files, linesOf(lines), 1, 1);
    scratch.write("T.$", "");
    assembleResult(files, "\n");
    EXPECT_EQ(ScratchFolder::read(files.result), "x\nz\n");
    std::remove(files.output.c_str());
    try {
        assembleResult(files, "\n");
        FAIL() << "no error";
    } catch (const ScriptFileError& error) {
        EXPECT_EQ(std::string(error.what()), "can't open " + files.output);
    }
}

TEST_F(ScriptFilesTest, AnUnwritableWorkFileIsReported) {
    ScriptWorkFiles broken = files;
    broken.target = scratch.path("no-such-folder/L.$");
    const std::vector<std::string> lines{"a"};
    try {
        writeTargetFiles(broken, linesOf(lines), 0, 0);
        FAIL() << "no error";
    } catch (const ScriptFileError& error) {
        EXPECT_EQ(std::string(error.what()), "can't open " + broken.target);
    }
}

}  // namespace
}  // namespace tabulo::script
