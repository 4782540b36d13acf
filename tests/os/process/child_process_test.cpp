// Outside programs run to their end for real: the words reach the program
// byte for byte, the environment is changed as asked, standard input is
// empty, the first bytes of standard error are kept; a program that cannot
// run says why and at which step; the stop ends the whole process group at
// once, also a program that ignores SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "os/process/child_process.h"
#include "support/file_fixture.h"
#include "support/processes.h"

namespace tabulo::os {
namespace {

using testing::ScratchFolder;

class ChildProcessTest : public ::testing::Test {
protected:
    std::string script(const std::string& name, const std::string& body) {
        const std::string file = scratch.write(name, "#!/bin/sh\n" + body);
        ::chmod(file.c_str(), 0700);
        return file;
    }
    ScratchFolder scratch;
};

TEST_F(ChildProcessTest, WordsEnvironmentAndStreamsReachTheProgramAsGiven) {
    const std::string dump = script("dump", R"(for w in "$@"; do printf '<%s>' "$w"; done
printf '\n%s|%s|%s|' "$LANG" "$TABULO_TEST_KEPT" "${TABULO_TEST_GONE-removed}"
cat
echo 'to stderr' >&2
exit 3
)");
    ::setenv("TABULO_TEST_KEPT", "kept", 1);
    ::setenv("TABULO_TEST_GONE", "here", 1);
    const std::string words[] = {"a b", "\"q\"", "'s'", "x;y", "$HOME", "", "\xC6\xFC\xCB\xDC", "*"};
    ChildCommand command{{dump}, {"LANG=ja_JP.eucJP", "TABULO_TEST_GONE"}, scratch.path("out")};
    command.arguments.insert(command.arguments.end(), std::begin(words), std::end(words));
    ChildProcess child;
    child.start(command);
    const ChildEnd end = child.wait({});
    EXPECT_EQ(end.how, ChildEnd::How::Exited);
    EXPECT_EQ(end.code, 3);
    EXPECT_EQ(child.errorText(), "to stderr\n");
    EXPECT_EQ(ScratchFolder::read(scratch.path("out")),
              "<a b><\"q\"><'s'><x;y><$HOME><><\xC6\xFC\xCB\xDC><*>\nja_JP.eucJP|kept|removed|");
    struct stat info {};
    ASSERT_EQ(::stat(scratch.path("out").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(ChildProcessTest, AWordIsLookedUpOnTheChildsPath) {
    script("tool", "echo found\n");
    ChildProcess child;
    child.start({{"tool"}, {"PATH=/nonexistent::" + scratch.folder()}, scratch.path("out")});
    EXPECT_TRUE(child.wait({}).succeeded());
    EXPECT_EQ(ScratchFolder::read(scratch.path("out")), "found\n");
}

TEST_F(ChildProcessTest, AProgramThatCannotRunSaysWhy) {
    scratch.write("plain", "not a program\n");
    std::filesystem::create_symlink(scratch.path("elsewhere"), scratch.path("planted"));
    using Step = ChildStartError::Step;
    const struct {
        ChildCommand command;
        Step step;
        int error;
        std::string message;
    } cases[] = {
        {{{"tabulo-no-such-program"}, {}, scratch.path("out")}, Step::Find, ENOENT,
         "tabulo-no-such-program: コマンドが見つかりません"},
        {{{"/no/such/xtr"}, {}, scratch.path("out")}, Step::Find, ENOENT, "/no/such/xtr: コマンドが見つかりません"},
        {{{scratch.path("plain")}, {}, scratch.path("out")}, Step::Start, EACCES,
         scratch.path("plain") + ": " + std::strerror(EACCES)},
        {{{"/bin/true"}, {}, scratch.path("no/such/folder/out")}, Step::Output, ENOENT,
         "can't open " + scratch.path("no/such/folder/out")},
        // The output never follows a link planted in its place.
        {{{"/bin/true"}, {}, scratch.path("planted")}, Step::Output, ELOOP, "can't open " + scratch.path("planted")},
        {{{}, {}, {}}, Step::Command, EINVAL, "no program named"},
    };
    for (const auto& c : cases) {
        ChildProcess child;
        try {
            child.start(c.command);
            ADD_FAILURE() << c.message << ": started";
        } catch (const ChildStartError& failure) {
            EXPECT_EQ(failure.step(), c.step) << c.message;
            EXPECT_EQ(failure.error(), c.error) << c.message;
            EXPECT_EQ(std::string(failure.what()), c.message);
        }
        EXPECT_FALSE(child.running());
    }
    EXPECT_FALSE(std::filesystem::exists(scratch.path("elsewhere")));
}

TEST_F(ChildProcessTest, StopEndsTheWholeGroupAtOnce) {
    const struct {
        const char* name;
        const char* body;
    } cases[] = {
        {"polite", "sleep 30 & echo $! > \"$1\"\nwait\n"},
        {"stubborn", "trap '' TERM\nsleep 30 & echo $! > \"$1\"\nwait\n"},
    };
    for (const auto& c : cases) {
        const std::string pidFile = scratch.path(std::string(c.name) + ".pid");
        ChildProcess child;
        child.start({{script(c.name, c.body), pidFile}, {}, {}});
        int pumps = 0;
        std::chrono::steady_clock::time_point asked;
        const ChildEnd end = child.wait([&] {
            ++pumps;
            if (!ScratchFolder::read(pidFile).ends_with("\n")) return true;  // the grandchild is not there yet
            asked = std::chrono::steady_clock::now();
            return false;
        });
        // No grace for the program to end by itself: a stubborn one would keep
        // the window waiting.
        EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(1)) << c.name;
        EXPECT_GT(pumps, 0);
        EXPECT_EQ(end.how, ChildEnd::How::Stopped) << c.name;
        EXPECT_EQ(end.code, SIGKILL) << c.name;
        EXPECT_TRUE(testing::processEnds(std::stoi(ScratchFolder::read(pidFile)))) << c.name << ": the grandchild lives on";
        EXPECT_FALSE(child.running());
    }
}

TEST_F(ChildProcessTest, OnlyTheFirstBytesOfAnErrorFloodAreKeptAndTheChildNeverBlocks) {
    const std::string flood = script("flood", "yes 'error text' | head -c 1000000 >&2\necho done\n");
    ChildProcess child;
    child.start({{flood}, {}, scratch.path("out")});
    EXPECT_TRUE(child.wait({}).succeeded());
    EXPECT_EQ(child.errorText().size(), ChildProcess::kErrorBytesKept);
    EXPECT_EQ(child.errorText().substr(0, 11), "error text\n");
    EXPECT_EQ(ScratchFolder::read(scratch.path("out")), "done\n");
}

TEST_F(ChildProcessTest, FindProgramSkipsWhatCannotRun) {
    script("tool", "true\n");
    scratch.write("data", "x");
    std::filesystem::create_directory(scratch.path("folder"));
    const std::string dir = scratch.folder();
    const struct {
        std::string word, path, expected;
    } cases[] = {
        {"tool", "/nonexistent:" + dir, dir + "/tool"},
        {"data", dir, ""},
        {"folder", dir, ""},
        {"tool", ":", ""},  // empty entries are not the current folder
        {"/bin/sh", "", "/bin/sh"},
        {"", dir, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(findProgram(c.word, c.path), c.expected) << c.word << " in " << c.path;
}

}  // namespace
}  // namespace tabulo::os
