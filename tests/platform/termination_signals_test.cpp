// A program ended by SIGTERM, SIGHUP or SIGINT while it waits for a child:
// the child is killed at once, the work files are removed in the event loop,
// and the program still ends by the signal it got.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "os/process/child_process.h"
#include "platform/termination_signals.h"
#include "support/processes.h"

namespace {

// In a child process: a program that waits for `sleep` as the window waits
// for an interpreter, and tells the sleeper's id through `report`.
[[noreturn]] void waitingProgram(int report, const std::string& marker) {
    int argc = 1;
    char name[] = "waiting";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    tabulo::platform::endChildrenWithTheProgram([marker] { std::ofstream(marker) << "removed"; });
    tabulo::os::ChildProcess sleeper;
    tabulo::os::ChildCommand command;
    command.arguments = {"sleep", "1000"};
    sleeper.start(command);
    const pid_t id = tabulo::testing::childRunning(::getpid(), "sleep");
    [[maybe_unused]] const ssize_t written = ::write(report, &id, sizeof id);
    sleeper.wait([] {
        QCoreApplication::processEvents();
        return true;
    });
    ::_exit(QCoreApplication::exec());
}

TEST(TerminationSignals, EndTheChildrenRemoveTheWorkFilesAndEndTheProgramBySignal) {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        const std::string marker =
            (std::filesystem::temp_directory_path() / ("tabulo_termination_" + std::to_string(::getpid()))).string();
        std::filesystem::remove(marker);
        int report[2];
        ASSERT_EQ(::pipe(report), 0);
        const pid_t program = ::fork();
        if (program == 0) {
            ::close(report[0]);
            for (const int each : {SIGTERM, SIGHUP, SIGINT}) ::signal(each, SIG_DFL);
            waitingProgram(report[1], marker);
        }
        ::close(report[1]);
        pid_t sleeper = 0;
        ASSERT_EQ(::read(report[0], &sleeper, sizeof sleeper), static_cast<ssize_t>(sizeof sleeper));
        ::close(report[0]);
        ASSERT_GT(sleeper, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ::kill(program, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(program, &status, 0), program);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_TRUE(tabulo::testing::processEnds(sleeper));
        EXPECT_TRUE(std::filesystem::exists(marker));
        std::filesystem::remove(marker);
    }
}

}  // namespace
