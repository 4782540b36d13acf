// An outside program run as a child of this process: started from an
// argument list (no shell parses anything), standard input from /dev/null,
// standard output into a file, standard error through a pipe of which the
// first bytes are kept for a message. The child leads a process group of its
// own, so a stop ends it together with everything it started. Waiting calls
// a pump now and then, so a window can let its events run and ask to stop.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tabulo::platform {

// The program could not be started: not found, not executable, the output
// file not writable. The message names the cause ("gawk: コマンドが見つかりません").
class ProcessStartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ProcessRequest {
    // argv[0] is a path (with a '/') or a word looked up on PATH.
    std::vector<std::string> argv;
    // NAME=VALUE entries that replace or add to this process's environment.
    std::vector<std::string> environment;
    // Created or truncated, mode 0600.
    std::string stdoutPath;
    // The child writes its errors straight to this process's standard error
    // (a command-line tool) instead of the pipe whose first bytes are kept.
    bool shareStandardError = false;
};

struct ProcessEnd {
    enum class How { Exited, Signalled, Stopped };
    How how = How::Exited;
    int code = 0;  // exit status, or the signal number
    bool succeeded() const { return how == How::Exited && code == 0; }
};

// The path a command word runs: words with a '/' stand as they are, others
// are searched on this process's PATH (an executable regular file). Empty
// when none.
std::string findProgram(const std::string& word);

class InterpreterProcess {
public:
    // How many bytes of standard error are kept; the rest is read and dropped
    // so the child never blocks on a full pipe.
    static constexpr std::size_t kErrorBytesKept = 2000;

    InterpreterProcess() = default;
    InterpreterProcess(const InterpreterProcess&) = delete;
    InterpreterProcess& operator=(const InterpreterProcess&) = delete;
    // A child still running is stopped.
    ~InterpreterProcess();

    // Throws ProcessStartError.
    void start(const ProcessRequest& request);

    // Waits for the child's end. Every `pumpIntervalMs` (and whenever
    // standard error has something) `pump` runs; when it returns false the
    // child's group is killed at once and the end is Stopped.
    ProcessEnd wait(const std::function<bool()>& pump, int pumpIntervalMs = 20);

    // Kills the child's whole process group and reaps the child.
    void stop();

    bool running() const { return m_pid > 0; }
    // The first kErrorBytesKept bytes the child wrote to standard error.
    const std::string& errorText() const { return m_errorText; }

private:
    void readErrors();
    void closeDescriptors();

    pid_t m_pid = -1;
    int m_errorPipe = -1;
    int m_endNotice = -1;  // a pidfd of the child
    std::string m_errorText;
};

}  // namespace tabulo::platform
