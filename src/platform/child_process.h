// Runs one outside program to its end without a shell: the arguments go to
// the program exactly as given (no word is ever parsed, expanded or
// re-encoded), standard input is /dev/null, standard output goes to a file
// and standard error is kept for the caller. The program runs in a process
// group of its own, so stopping it also ends whatever it started. Waiting
// calls the caller's pump between short sleeps, so a window stays alive and
// can ask for the stop while the program runs.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace tabulo::platform {

struct ChildCommand {
    // arguments[0] is a path, or a word looked up on PATH.
    std::vector<std::string> arguments;
    // Changes to this process's environment: "NAME=value" sets NAME, a bare
    // "NAME" removes it.
    std::vector<std::string> environment;
    // Standard output: created (mode 0600) or truncated. Empty: /dev/null.
    std::string outputFile;
};

struct ChildResult {
    enum class End { Exited, Killed, Stopped };
    End end = End::Exited;
    int exitCode = 0;         // End::Exited
    int signal = 0;           // End::Killed and End::Stopped
    std::string errorOutput;  // standard error, at most kErrorOutputLimit bytes
};

class ChildProcess {
public:
    static constexpr std::size_t kErrorOutputLimit = 64 * 1024;
    // How long a stopped program has to end before it is killed.
    static constexpr std::chrono::milliseconds kStopGrace{1500};

    ChildProcess() = default;
    // A program still running is ended (its whole group) and reaped.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The step at which a start failed.
    enum class StartStep { None, Command, Find, Output, Pipe, Fork, Exec };

    // False when the program could not be run: an empty command or one
    // already running, not found on PATH, the output file not opened, not
    // executable; startError() then holds the errno and startStep() the step.
    bool start(const ChildCommand& command);
    int startError() const { return m_startError; }
    StartStep startStep() const { return m_startStep; }

    // Waits until the program ends, calling `pump` every few milliseconds.
    ChildResult wait(const std::function<void()>& pump);

    // Ends the program's process group: SIGTERM now, SIGKILL when it is still
    // there after kStopGrace. May be called from the pump.
    void stop();

    bool running() const { return m_pid > 0; }

private:
    void readErrorOutput();
    void closeErrorPipe();
    void fail(int error, StartStep step);

    pid_t m_pid = -1;
    int m_errorPipe = -1;
    bool m_stopRequested = false;
    std::chrono::steady_clock::time_point m_stopTime{};
    std::string m_errorOutput;
    int m_startError = 0;
    StartStep m_startStep = StartStep::None;
};

// The program file a command word names: the word itself when it holds a
// "/", else the first executable regular file of that name in `searchPath`
// (":"-separated; empty entries are skipped, not read as the current
// folder). Empty when there is none.
std::string findProgram(const std::string& word, const std::string& searchPath);

}  // namespace tabulo::platform
