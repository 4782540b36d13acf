// The program starter for real: an ELF program and a command word on PATH
// start with their arguments as exact bytes; an executable script and a
// document go to the desktop's opener (never run); "command" opens a
// terminal; a name of nothing fails with the message. Fake openers on PATH
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
    EXPECT_TRUE(runShell(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, raw}, false));
    EXPECT_EQ(awaited(root + "/elf.log"), "a b'$;\xFF\x95\x5C");

    const QString word = QString::fromStdString("printf word > '" + root + "/word.log'");
    EXPECT_TRUE(runShell(QStringLiteral("sh"), {QStringLiteral("-c"), word}, false));
    EXPECT_EQ(awaited(root + "/word.log"), "word");
    EXPECT_TRUE(prompts.records().empty());
}

TEST_F(RunShellTest, ScriptsAndDocumentsOpenThroughTheDesktopAndNeverRun) {
    const std::string script = root + "/run me.sh";
    writeScript(script, "#!/bin/sh\ntouch '" + root + "/ran'\n");
    EXPECT_TRUE(runShell(QString::fromStdString(script), {}, false));
    EXPECT_EQ(awaited(root + "/xdg-open.log"), script + "|");
    EXPECT_FALSE(std::filesystem::exists(root + "/ran"));

    EXPECT_TRUE(runShell(QStringLiteral("command"), {}, false));
    EXPECT_EQ(awaited(root + "/x-terminal-emulator.log"), "|");
}

TEST_F(RunShellTest, ANameOfNothingFails) {
    EXPECT_FALSE(runShell(QStringLiteral("/no/such/file.txt"), {}, false));
    EXPECT_FALSE(runShell(QStringLiteral("no-such-command-word"), {}, false));
    EXPECT_EQ(prompts.texts(), (QStringList{QStringLiteral("TbLib RunShell() Could not create process"),
                                            QStringLiteral("TbLib RunShell() Could not create process")}));
}

}  // namespace
}  // namespace tabulo::platform
