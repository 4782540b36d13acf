#include "platform/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace tabulo::platform {
namespace {

constexpr int kPollMs = 10;

void closeQuietly(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

std::string nameOf(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

// This process's environment with the given changes made.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> merged;
    for (char** e = environ; e && *e; ++e) {
        const std::string entry(*e);
        bool changed = false;
        for (const std::string& c : changes) changed = changed || nameOf(c) == nameOf(entry);
        if (!changed) merged.push_back(entry);
    }
    for (const std::string& c : changes) {
        if (c.find('=') != std::string::npos) merged.push_back(c);
    }
    return merged;
}

std::string valueIn(const std::vector<std::string>& environment, const std::string& name) {
    for (const std::string& entry : environment) {
        if (nameOf(entry) == name) return entry.substr(name.size() + 1);
    }
    return {};
}

std::vector<char*> pointersTo(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& w : words) pointers.push_back(w.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

std::string findProgram(const std::string& word, const std::string& searchPath) {
    if (word.empty()) return {};
    if (word.find('/') != std::string::npos) return word;
    std::size_t from = 0;
    while (from <= searchPath.size()) {
        std::size_t to = searchPath.find(':', from);
        if (to == std::string::npos) to = searchPath.size();
        if (to > from) {
            const std::string candidate = searchPath.substr(from, to - from) + "/" + word;
            struct stat info {};
            if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                ::access(candidate.c_str(), X_OK) == 0) {
                return candidate;
            }
        }
        from = to + 1;
    }
    return {};
}

ChildProcess::~ChildProcess() {
    if (m_pid > 0) {
        ::kill(-m_pid, SIGKILL);
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    closeQuietly(m_errorPipe);
}

void ChildProcess::fail(int error, StartStep step) {
    m_startError = error;
    m_startStep = step;
}

bool ChildProcess::start(const ChildCommand& command) {
    m_startError = 0;
    m_startStep = StartStep::None;
    m_errorOutput.clear();
    m_stopRequested = false;
    if (m_pid > 0 || command.arguments.empty()) {
        fail(EINVAL, StartStep::Command);
        return false;
    }
    std::vector<std::string> environment = mergedEnvironment(command.environment);
    const std::string program = findProgram(command.arguments.front(), valueIn(environment, "PATH"));
    if (program.empty()) {
        fail(ENOENT, StartStep::Find);
        return false;
    }
    std::vector<std::string> arguments = command.arguments;
    std::vector<char*> argv = pointersTo(arguments);
    std::vector<char*> envp = pointersTo(environment);

    // Everything the child needs is opened here, so that after fork it only
    // makes async-signal-safe calls.
    int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    int output = command.outputFile.empty()
                     ? ::open("/dev/null", O_WRONLY | O_CLOEXEC)
                     : ::open(command.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (input < 0 || output < 0) {
        fail(errno, StartStep::Output);
        closeQuietly(input);
        closeQuietly(output);
        return false;
    }
    int errors[2] = {-1, -1};
    int report[2] = {-1, -1};
    if (::pipe2(errors, O_CLOEXEC) != 0 || ::pipe2(report, O_CLOEXEC) != 0) {
        fail(errno, StartStep::Pipe);
        for (int* fd : {&input, &output, &errors[0], &errors[1], &report[0], &report[1]}) closeQuietly(*fd);
        return false;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::setpgid(0, 0);
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::signal(SIGPIPE, SIG_DFL);
        ::dup2(input, STDIN_FILENO);
        ::dup2(output, STDOUT_FILENO);
        ::dup2(errors[1], STDERR_FILENO);
        ::execve(program.c_str(), argv.data(), envp.data());
        const int error = errno;
        [[maybe_unused]] const ssize_t written = ::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    const int forkError = errno;
    closeQuietly(input);
    closeQuietly(output);
    closeQuietly(errors[1]);
    closeQuietly(report[1]);
    if (child < 0) {
        fail(forkError, StartStep::Fork);
        closeQuietly(errors[0]);
        closeQuietly(report[0]);
        return false;
    }
    // Both sides set the group, so a stop right after start reaches it.
    ::setpgid(child, child);
    int execError = 0;
    ssize_t got;
    while ((got = ::read(report[0], &execError, sizeof execError)) < 0 && errno == EINTR) {
    }
    closeQuietly(report[0]);
    if (got > 0) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        closeQuietly(errors[0]);
        fail(execError, StartStep::Exec);
        return false;
    }
    m_pid = child;
    m_errorPipe = errors[0];
    ::fcntl(m_errorPipe, F_SETFL, ::fcntl(m_errorPipe, F_GETFL) | O_NONBLOCK);
    return true;
}

void ChildProcess::readErrorOutput() {
    char buffer[4096];
    while (m_errorPipe >= 0) {
        const ssize_t got = ::read(m_errorPipe, buffer, sizeof buffer);
        if (got > 0) {
            const std::size_t room = kErrorOutputLimit - std::min(kErrorOutputLimit, m_errorOutput.size());
            m_errorOutput.append(buffer, std::min(room, static_cast<std::size_t>(got)));
        } else if (got == 0) {
            closeErrorPipe();
        } else if (errno != EINTR) {
            return;  // nothing more for now
        }
    }
}

void ChildProcess::closeErrorPipe() {
    closeQuietly(m_errorPipe);
}

void ChildProcess::stop() {
    if (m_pid <= 0 || m_stopRequested) return;
    m_stopRequested = true;
    m_stopTime = std::chrono::steady_clock::now();
    ::kill(-m_pid, SIGTERM);
}

ChildResult ChildProcess::wait(const std::function<void()>& pump) {
    ChildResult result;
    bool killed = false;
    int status = 0;
    while (m_pid > 0) {
        readErrorOutput();
        const pid_t ended = ::waitpid(m_pid, &status, WNOHANG);
        if (ended == m_pid || (ended < 0 && errno != EINTR)) break;
        if (pump) pump();
        if (m_stopRequested && !killed && std::chrono::steady_clock::now() - m_stopTime >= kStopGrace) {
            ::kill(-m_pid, SIGKILL);
            killed = true;
        }
        if (m_errorPipe >= 0) {
            pollfd watch{m_errorPipe, POLLIN, 0};
            ::poll(&watch, 1, kPollMs);
        } else {
            ::usleep(kPollMs * 1000);
        }
    }
    m_pid = -1;
    // Output a program left behind in the pipe; a grandchild still holding
    // it open does not keep the caller waiting.
    readErrorOutput();
    closeErrorPipe();
    result.errorOutput = std::move(m_errorOutput);
    m_errorOutput.clear();
    if (WIFSIGNALED(status)) {
        result.end = m_stopRequested ? ChildResult::End::Stopped : ChildResult::End::Killed;
        result.signal = WTERMSIG(status);
    } else {
        result.end = m_stopRequested ? ChildResult::End::Stopped : ChildResult::End::Exited;
        result.exitCode = WEXITSTATUS(status);
    }
    return result;
}

}  // namespace tabulo::platform
