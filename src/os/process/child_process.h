// An outside program run as a child of this process: started from an
// argument list (no shell parses anything, no word is re-encoded), standard
// input from /dev/null, standard output into a file or handed on as it comes,
// standard error through a pipe of which the first bytes are kept for a
// message. The child leads a process group of its own, so a stop ends it
// together with everything it started, and it is killed when this process
// dies, even by SIGKILL. Waiting calls a pump now and then, so a window can
// let its events run and ask to stop.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tabulo::os {

// The program could not be started. what() names the cause
// ("gawk: コマンドが見つかりません", "can't open T.$"); step() tells callers
// with messages of their own which part failed, error() the errno.
class ChildStartError : public std::runtime_error {
public:
    enum class Step { Command, Find, Output, Start };
    ChildStartError(Step step, int error, const std::string& message)
        : std::runtime_error(message), m_step(step), m_error(error) {}
    Step step() const { return m_step; }
    int error() const { return m_error; }

private:
    Step m_step;
    int m_error;
};

struct ChildCommand {
    // arguments[0] is a path (with a '/') or a word looked up on the child's
    // PATH.
    std::vector<std::string> arguments;
    // Changes to this process's environment for the child: "NAME=value"
    // sets NAME, a bare "NAME" removes it.
    std::vector<std::string> environment;
    // Created (mode 0600, never through a symbolic link) or truncated.
    // Empty: /dev/null.
    std::string outputFile;
    // The child writes its errors straight to this process's standard error
    // (a command-line tool) instead of the pipe whose first bytes are kept.
    bool shareStandardError = false;
    // When set, standard output goes through a pipe instead of outputFile and
    // each piece reaches this function while the child runs; a slow reader
    // holds the child back instead of letting its output pile up. What it
    // throws ends the wait, and the child with it.
    std::function<void(std::string_view)> onOutput = {};
};

struct ChildEnd {
    enum class How { Exited, Signalled, Stopped };
    How how = How::Exited;
    int code = 0;  // exit status, or the signal number
    bool succeeded() const { return how == How::Exited && code == 0; }
};

// The program file a command word names: the word itself when it holds a
// '/', else the first executable regular file of that name in `searchPath`
// (':'-separated; empty entries are skipped, never read as the current
// folder). Empty when there is none.
std::string findProgram(const std::string& word, const std::string& searchPath);
// The same on this process's PATH.
std::string findProgram(const std::string& word);

class ChildProcess {
public:
    // How many bytes of standard error are kept; the rest is read and dropped
    // so the child never blocks on a full pipe.
    static constexpr std::size_t kErrorBytesKept = 2000;

    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    // A child still running is stopped.
    ~ChildProcess();

    // Throws ChildStartError.
    void start(const ChildCommand& command);

    // Waits for the child's end. Every `pumpIntervalMs` (and whenever
    // standard error has something) `pump` runs; when it returns false the
    // child's group is killed at once and the end is Stopped.
    ChildEnd wait(const std::function<bool()>& pump, int pumpIntervalMs = 20);

    // Kills the child's whole process group and reaps the child.
    void stop();

    // Sends `signal` to the process group of every child running in this
    // process. Safe in a signal handler: a program ended by a signal ends
    // its children with it.
    static void signalAll(int signal);

    bool running() const { return m_pid > 0; }
    // The first kErrorBytesKept bytes the child wrote to standard error.
    const std::string& errorText() const { return m_errorText; }

private:
    void readErrors();
    void readOutput();
    void closeDescriptors();
    void forget();

    pid_t m_pid = -1;
    int m_errorPipe = -1;
    int m_outputPipe = -1;
    std::function<void(std::string_view)> m_onOutput;
    int m_endNotice = -1;  // a pidfd of the child
    std::string m_errorText;
};

}  // namespace tabulo::os
