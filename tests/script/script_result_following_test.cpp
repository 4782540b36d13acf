// The result put together while the interpreter still writes its output:
// breaks split across pieces, an output replaced or cut during the run, a
// stopped run, and work files written over an earlier run's.
#include "script/engine/result_assembly.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "script/engine/script_work_files.h"
#include "support/file_fixture.h"

namespace tabulo::script {
namespace {

using testing::ScratchFolder;
using namespace std::chrono_literals;

class ScriptResultFollowingTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    ScriptWorkFiles files = scriptWorkFiles(scratch.folder() + "/", ScriptMode::Awk);
    std::vector<std::string> lines{"x", "y", "z"};

    void SetUp() override {
        writeTargetFiles(files, {3, [this](int i) -> std::string_view { return lines[static_cast<std::size_t>(i)]; }},
                         1, 1);
    }

    // Writes the output the way an interpreter does, piece by piece with
    // pauses long enough for the follower to read each piece on its own.
    void writeOutputInPieces(const std::vector<std::string>& pieces) {
        const int fd = ::open(files.output.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        for (const std::string& piece : pieces) {
            ASSERT_EQ(::write(fd, piece.data(), piece.size()), static_cast<ssize_t>(piece.size()));
            std::this_thread::sleep_for(20ms);
        }
        ::close(fd);
    }
};

TEST_F(ScriptResultFollowingTest, BreaksAtTheEdgeOfABlockReadAreConvertedAsInTheWholeOutput) {
    // The output is read in blocks while it is written; the tail of each
    // case starts at the last byte of the first block.
    struct Case {
        const char* tail;
        const char* lineBreak;
        const char* converted;
    };
    const Case cases[] = {
        // The CR LF of one break split between two blocks stays one break.
        {"\r\nb\r\n", "\r\n", "\r\nb\r\n"},
        {"\r\nb\n", "\n", "\nb\n"},
        // A lone CR at a block's end, and one that ends the output.
        {"\rb\r", "\n", "\nb\n"},
        {"\r\r\n\n\x95\x5C\x83\x7C", "\r\n", "\r\n\r\n\r\n\x95\x5C\x83\x7C"},
        {"\r", "\r\n", "\r\n"},
    };
    const std::string filler(kWorkFileBlock - 1, 'a');
    for (const Case& c : cases) {
        const std::string output = filler + c.tail;
        FollowingAssembly assembly(files, c.lineBreak);
        std::vector<std::string> pieces;
        for (std::size_t at = 0; at < output.size(); at += 300000) pieces.push_back(output.substr(at, 300000));
        writeOutputInPieces(pieces);
        assembly.finish();
        const std::string lineBreak(c.lineBreak);
        EXPECT_EQ(ScratchFolder::read(files.result), "x" + lineBreak + filler + c.converted + "z" + lineBreak)
            << c.converted;
    }
}

TEST_F(ScriptResultFollowingTest, AnOutputReplacedOrCutDuringTheRunIsReadAnew) {
    {
        FollowingAssembly assembly(files, "\n");
        writeOutputInPieces({"old 1\nold 2\n"});
        ::unlink(files.output.c_str());
        writeOutputInPieces({"new\n"});
        assembly.finish();
        EXPECT_EQ(ScratchFolder::read(files.result), "x\nnew\nz\n");
    }
    {
        FollowingAssembly assembly(files, "\n");
        writeOutputInPieces({"long first line\n"});
        ASSERT_EQ(::truncate(files.output.c_str(), 0), 0);
        const int fd = ::open(files.output.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        ASSERT_EQ(::write(fd, "cut\n", 4), 4);
        ::close(fd);
        assembly.finish();
        EXPECT_EQ(ScratchFolder::read(files.result), "x\ncut\nz\n");
    }
}

TEST_F(ScriptResultFollowingTest, AStoppedRunLeavesNoResultAndAMissingOutputIsReported) {
    scratch.write("TT.txt", "an earlier run's result");
    {
        FollowingAssembly assembly(files, "\n");
        writeOutputInPieces({"part of the output\n"});
    }
    EXPECT_EQ(ScratchFolder::read(files.result), "<missing>");

    FollowingAssembly assembly(files, "\n");
    try {
        assembly.finish();
        FAIL() << "no error";
    } catch (const ScriptFileError& error) {
        EXPECT_EQ(std::string(error.what()), "can't open " + files.output);
    }
}

TEST_F(ScriptResultFollowingTest, WorkFilesAreWrittenOverInPlaceWithoutFollowingALink) {
    // A longer earlier file keeps none of its bytes.
    scratch.write("L.$", std::string(3 * kWorkFileBlock, 'o'));
    std::vector<std::string> many(300000, "\x95\x5C\x8E\xA6");
    writeTargetFiles(files, {static_cast<int>(many.size()), [&many](int i) -> std::string_view { return many[static_cast<std::size_t>(i)]; }},
                     0, 0);
    EXPECT_EQ(ScratchFolder::read(files.target), "\x95\x5C\x8E\xA6\n");
    EXPECT_EQ(ScratchFolder::read(files.after).size(), 299999u * 5);

    const std::string outside = scratch.write("outside", "kept");
    ::unlink(files.target.c_str());
    ASSERT_EQ(::symlink(outside.c_str(), files.target.c_str()), 0);
    EXPECT_THROW(writeTargetFiles(files, {1, [](int) -> std::string_view { return "new"; }}, 0, 0), ScriptFileError);
    EXPECT_EQ(ScratchFolder::read(outside), "kept");

    // A writer given up half way leaves no half-written file.
    {
        TargetFileWriter abandoned(files.after);
        abandoned.addLine(std::string(2 * kWorkFileBlock, 'a'));
    }
    EXPECT_EQ(ScratchFolder::read(files.after), "<missing>");
}

}  // namespace
}  // namespace tabulo::script
