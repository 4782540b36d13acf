// The program starter for real: an ELF program and a command word on PATH
// start with their arguments as exact bytes; an executable script and a
// document go to the desktop's opener (never run); "command" opens a
// terminal; a waited program is waited for and ended on a stop; a name of
// nothing fails with the message. Fake openers on PATH
// record what reaches them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QThread>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/error_handler.h"
#include "platform/local_path.h"
#include "platform/run_shell.h"
#include "platform/scripted_prompts.h"

namespace tabulo::platform {
namespace {

class RunShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        installPrompts(&prompts);
        root = dir.path().toStdString();
        std::filesystem::create_directory(root + "/bin");
        for (const char* opener : {"xdg-open", "x-terminal-emulator"}) {
            writeScript(root + "/bin/" + opener,
                        std::string("#!/bin/sh\nprintf '%s|' \"$@\" > '") + root + "/" + opener + ".log'\n");
        }
        oldPath = qgetenv("PATH");
        qputenv("PATH", QByteArray::fromStdString(root + "/bin:") + oldPath);
    }
    void TearDown() override {
        qputenv("PATH", oldPath);
        installPrompts(nullptr);
    }
    static void writeScript(const std::string& path, const std::string& text) {
        std::ofstream(path) << text;
        ::chmod(path.c_str(), 0755);
    }
    // A process that has ended but is not reaped yet (its parent is gone)
    // no longer runs.
    static bool stillRuns(pid_t pid) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string text(std::istreambuf_iterator<char>(stat), {});
        const std::size_t close = text.rfind(')');
        return close != std::string::npos && close + 2 < text.size() && text[close + 2] != 'Z';
    }
    // The file a detached program writes, once it is there.
    static std::string awaited(const std::string& path) {
        for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i) QThread::msleep(10);
        QThread::msleep(20);  // let the writer finish
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    ScriptedPrompts prompts;
    QTemporaryDir dir;
    std::string root;
    QByteArray oldPath;
};

TEST_F(RunShellTest, ProgramsGetTheirArgumentsAsExactBytes) {
    const QString raw = fromLocalPath("a b'$;\xFF\x95\x5C");
    const QString script = QString::fromStdString("printf %s \"$0\" > '" + root + "/elf.log'");
    EXPECT_TRUE(runShell(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, raw}));
    EXPECT_EQ(awaited(root + "/elf.log"), "a b'$;\xFF\x95\x5C");

    const QString word = QString::fromStdString("printf word > '" + root + "/word.log'");
    EXPECT_TRUE(runShell(QStringLiteral("sh"), {QStringLiteral("-c"), word}));
    EXPECT_EQ(awaited(root + "/word.log"), "word");
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(RunShellTest, ScriptsAndDocumentsOpenThroughTheDesktopAndNeverRun) {
    const std::string script = root + "/run me.sh";
    writeScript(script, "#!/bin/sh\ntouch '" + root + "/ran'\n");
    EXPECT_TRUE(runShell(QString::fromStdString(script), {}));
    EXPECT_EQ(awaited(root + "/xdg-open.log"), script + "|");
    EXPECT_FALSE(std::filesystem::exists(root + "/ran"));

    EXPECT_TRUE(runShell(QStringLiteral("command"), {}));
    EXPECT_EQ(awaited(root + "/x-terminal-emulator.log"), "|");
}

TEST_F(RunShellTest, AWaitedProgramLetsThePumpRunAndEndsWhenThePumpSaysStop) {
    int pumped = 0;
    const QString done = QString::fromStdString("sleep 0.1; printf done > '" + root + "/done.log'");
    EXPECT_TRUE(runShellWaiting(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), done}, [&] { return ++pumped > 0; }));
    // Back only once the program has ended.
    std::ifstream log(root + "/done.log");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(log), {}), "done");
    EXPECT_GT(pumped, 0);

    // A terminal that never ends on its own (and what it started) is ended
    // when the pump says stop.
    writeScript(root + "/bin/x-terminal-emulator", "#!/bin/sh\nsleep 30 &\necho $! > '" + root + "/sleeper'\nwait\n");
    pumped = 0;
    EXPECT_TRUE(runShellWaiting(QStringLiteral("command"), {}, [&] { return ++pumped < 5; }));
    std::ifstream sleeperFile(root + "/sleeper");
    pid_t sleeper = 0;
    sleeperFile >> sleeper;
    ASSERT_GT(sleeper, 0);
    QThread::msleep(50);
    EXPECT_FALSE(stillRuns(sleeper)) << "the program the terminal started still runs";
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(RunShellTest, ANameOfNothingFails) {
    EXPECT_FALSE(runShell(QStringLiteral("/no/such/file.txt"), {}));
    EXPECT_FALSE(runShell(QStringLiteral("no-such-command-word"), {}));
    EXPECT_FALSE(runShellWaiting(QStringLiteral("no-such-command-word"), {}, [] { return true; }));
    EXPECT_EQ(prompts.texts(), (QStringList{QStringLiteral("TbLib RunShell() Could not create process"),
                                            QStringLiteral("TbLib RunShell() Could not create process"),
                                            QStringLiteral("TbLib RunShell() Could not create process")}));
}

}  // namespace
}  // namespace tabulo::platform
