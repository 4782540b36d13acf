// The work files of a run: the document split around the line range with LF
// breaks, and the result assembled in the document's line-break convention.
#include "script/engine/script_work_files.h"

#include <gtest/gtest.h>

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
        return {static_cast<int>(lines.size()), [&lines](int i) { return lines[static_cast<std::size_t>(i)]; }};
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
    // A CR at the very end of a read block must still pair with the LF
    // that starts the next one.
    std::string output(65535, 'a');
    output += "\r\nb\rc\nd\x95\x5C\x1A\r";
    scratch.write("T.$", output);
    assembleResult(files, "\r\n");
    EXPECT_EQ(ScratchFolder::read(files.result), std::string(65535, 'a') + "\r\nb\r\nc\r\nd\x95\x5C\x1A\r\n");
    assembleResult(files, "\r");
    EXPECT_EQ(ScratchFolder::read(files.result), std::string(65535, 'a') + "\rb\rc\rd\x95\x5C\x1A\r");
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
