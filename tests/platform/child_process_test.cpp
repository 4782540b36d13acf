// Outside programs run to their end for real: the words reach the program
// byte for byte, the environment is changed as asked, standard
// input is empty, standard error is kept; a program that cannot run says
// why; the stop ends the whole process group, with SIGKILL for a program
// that ignores SIGTERM.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/child_process.h"
#include "support/file_fixture.h"

namespace tabulo::platform {
namespace {

using testing::ScratchFolder;

class ChildProcessTest : public ::testing::Test {
protected:
    std::string script(const std::string& name, const std::string& body) {
        const std::string file = scratch.write(name, "#!/bin/sh\n" + body);
        ::chmod(file.c_str(), 0700);
        return file;
    }
    ChildResult run(const ChildCommand& command) {
        ChildProcess child;
        EXPECT_TRUE(child.start(command)) << static_cast<int>(child.startStep());
        return child.wait({});
    }
    // True when the process is gone (or a zombie no one has reaped yet)
    // within two seconds.
    static bool ends(pid_t pid) {
        for (int i = 0; i < 200; ++i) {
            if (::kill(pid, 0) != 0) return true;
            const std::string stat = ScratchFolder::read("/proc/" + std::to_string(pid) + "/stat");
            const auto close = stat.rfind(')');
            if (close != std::string::npos && stat.compare(close, 3, ") Z") == 0) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
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
    const ChildResult result = run(command);
    EXPECT_EQ(result.end, ChildResult::End::Exited);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.errorOutput, "to stderr\n");
    EXPECT_EQ(ScratchFolder::read(scratch.path("out")),
              "<a b><\"q\"><'s'><x;y><$HOME><><\xC6\xFC\xCB\xDC><*>\nja_JP.eucJP|kept|removed|");
    struct stat info {};
    ASSERT_EQ(::stat(scratch.path("out").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(ChildProcessTest, AWordIsLookedUpOnTheChildsPath) {
    script("tool", "echo found\n");
    const ChildResult result = run({{"tool"}, {"PATH=/nonexistent::" + scratch.folder()}, scratch.path("out")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(ScratchFolder::read(scratch.path("out")), "found\n");
}

TEST_F(ChildProcessTest, AProgramThatCannotRunSaysWhy) {
    scratch.write("plain", "not a program\n");
    const struct {
        ChildCommand command;
        int error;
        ChildProcess::StartStep step;
    } cases[] = {
        {{{"tabulo-no-such-program"}, {}, scratch.path("out")}, ENOENT, ChildProcess::StartStep::Find},
        {{{scratch.path("plain")}, {}, scratch.path("out")}, EACCES, ChildProcess::StartStep::Exec},
        {{{"/bin/true"}, {}, scratch.path("no/such/folder/out")}, ENOENT, ChildProcess::StartStep::Output},
        {{{}, {}, {}}, EINVAL, ChildProcess::StartStep::Command},
    };
    for (const auto& c : cases) {
        ChildProcess child;
        EXPECT_FALSE(child.start(c.command)) << static_cast<int>(c.step);
        EXPECT_EQ(child.startError(), c.error) << static_cast<int>(c.step);
        EXPECT_EQ(child.startStep(), c.step);
        EXPECT_FALSE(child.running());
    }
}

TEST_F(ChildProcessTest, StopEndsTheWholeGroupFromThePump) {
    const struct {
        const char* name;
        const char* body;
        int signal;
    } cases[] = {
        {"polite", "sleep 30 & echo $! > \"$1\"\nwait\n", SIGTERM},
        {"stubborn", "trap '' TERM\nsleep 30 & echo $! > \"$1\"\nwait\n", SIGKILL},
    };
    for (const auto& c : cases) {
        const std::string pidFile = scratch.path(std::string(c.name) + ".pid");
        ChildProcess child;
        ASSERT_TRUE(child.start({{script(c.name, c.body), pidFile}, {}, {}}));
        int pumps = 0;
        const auto started = std::chrono::steady_clock::now();
        const ChildResult result = child.wait([&] {
            ++pumps;
            if (ScratchFolder::read(pidFile).ends_with("\n")) child.stop();  // the grandchild is there
        });
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10)) << c.name;
        EXPECT_GT(pumps, 0);
        EXPECT_EQ(result.end, ChildResult::End::Stopped) << c.name;
        EXPECT_EQ(result.signal, c.signal) << c.name;
        EXPECT_TRUE(ends(std::stoi(ScratchFolder::read(pidFile)))) << c.name << ": the grandchild lives on";
        EXPECT_FALSE(child.running());
    }
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
}  // namespace tabulo::platform
