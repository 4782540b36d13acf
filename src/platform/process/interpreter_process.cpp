#include "platform/process/interpreter_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace tabulo::platform {
namespace {

bool isExecutableFile(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// This process's environment with the given NAME=VALUE entries put in place
// of the ones of the same name.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& additions) {
    std::vector<std::string> merged;
    const auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string text(*entry);
        bool replaced = false;
        for (const std::string& addition : additions) replaced = replaced || nameOf(addition) == nameOf(text);
        if (!replaced) merged.push_back(text);
    }
    merged.insert(merged.end(), additions.begin(), additions.end());
    return merged;
}

std::vector<char*> pointers(std::vector<std::string>& words) {
    std::vector<char*> list;
    list.reserve(words.size() + 1);
    for (std::string& w : words) list.push_back(w.data());
    list.push_back(nullptr);
    return list;
}

void closeQuietly(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

ProcessEnd endOf(int status) {
    if (WIFSIGNALED(status)) return {ProcessEnd::How::Signalled, WTERMSIG(status)};
    return {ProcessEnd::How::Exited, WEXITSTATUS(status)};
}

std::string findProgramIn(const std::string& word, const std::string& folders) {
    if (word.empty()) return {};
    if (word.find('/') != std::string::npos) return isExecutableFile(word) ? word : std::string();
    std::size_t from = 0;
    while (from <= folders.size()) {
        std::size_t to = folders.find(':', from);
        if (to == std::string::npos) to = folders.size();
        // An empty entry is skipped, never read as the current folder.
        if (to > from) {
            const std::string candidate = folders.substr(from, to - from) + "/" + word;
            if (isExecutableFile(candidate)) return candidate;
        }
        from = to + 1;
    }
    return {};
}

}  // namespace

std::string findProgram(const std::string& word) {
    const char* path = std::getenv("PATH");
    return findProgramIn(word, path ? path : "/usr/local/bin:/usr/bin:/bin");
}

InterpreterProcess::~InterpreterProcess() {
    if (running()) stop();
    closeDescriptors();
}

void InterpreterProcess::start(const ProcessRequest& request) {
    if (running()) throw ProcessStartError("a program is still running");
    if (request.argv.empty()) throw ProcessStartError("no program named");
    m_errorText.clear();
    const std::string& word = request.argv.front();
    const std::string program = findProgram(word);
    if (program.empty()) throw ProcessStartError(word + ": コマンドが見つかりません");

    int output = ::open(request.stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (output < 0) throw ProcessStartError("can't open " + request.stdoutPath);
    int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    int errors[2] = {-1, -1};
    if (input < 0 || ::pipe2(errors, O_CLOEXEC) != 0) {
        const std::string reason = std::strerror(errno);
        for (int* fd : {&output, &input, &errors[0], &errors[1]}) closeQuietly(*fd);
        throw ProcessStartError(word + ": " + reason);
    }

    std::vector<std::string> words = request.argv;
    words.front() = program;
    std::vector<std::string> environment = mergedEnvironment(request.environment);
    std::vector<char*> argv = pointers(words);
    std::vector<char*> envp = pointers(environment);

    // posix_spawn shares this process's memory until the exec instead of
    // copying its page tables as fork does, which costs with a large
    // document loaded; exec failures come back as its result.
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    if (!request.shareStandardError) ::posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
    posix_spawnattr_t attributes;
    ::posix_spawnattr_init(&attributes);
    // A group of its own; SIGPIPE and the signal mask as a fresh program expects.
    ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    ::posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t signals;
    ::sigemptyset(&signals);
    ::posix_spawnattr_setsigmask(&attributes, &signals);
    ::sigaddset(&signals, SIGPIPE);
    ::posix_spawnattr_setsigdefault(&attributes, &signals);
    pid_t child = -1;
    const int spawnError = ::posix_spawn(&child, argv[0], &actions, &attributes, argv.data(), envp.data());
    ::posix_spawnattr_destroy(&attributes);
    ::posix_spawn_file_actions_destroy(&actions);
    closeQuietly(output);
    closeQuietly(input);
    closeQuietly(errors[1]);
    if (spawnError != 0) {
        closeQuietly(errors[0]);
        throw ProcessStartError(word + ": " + std::strerror(spawnError));
    }
    m_pid = child;
    m_errorPipe = errors[0];
    // Readable when the child ends, so the wait wakes at once instead of at
    // the next pump; without it (old kernels) the wait notices at the pump.
    m_endNotice = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    ::fcntl(m_errorPipe, F_SETFL, ::fcntl(m_errorPipe, F_GETFL) | O_NONBLOCK);
}

void InterpreterProcess::readErrors() {
    char buffer[4096];
    while (m_errorPipe >= 0) {
        const ssize_t got = ::read(m_errorPipe, buffer, sizeof buffer);
        if (got > 0) {
            const std::size_t room = kErrorBytesKept - std::min(kErrorBytesKept, m_errorText.size());
            m_errorText.append(buffer, std::min(room, static_cast<std::size_t>(got)));
        } else if (got == 0) {
            closeQuietly(m_errorPipe);
        } else if (errno != EINTR) {
            return;  // EAGAIN: nothing more for now
        }
    }
}

void InterpreterProcess::closeDescriptors() {
    closeQuietly(m_errorPipe);
    closeQuietly(m_endNotice);
}

ProcessEnd InterpreterProcess::wait(const std::function<bool()>& pump, int pumpIntervalMs) {
    using Clock = std::chrono::steady_clock;
    auto lastPump = Clock::now();
    while (running()) {
        pollfd watched[2] = {{m_endNotice, POLLIN, 0}, {m_errorPipe, POLLIN, 0}};
        ::poll(watched, 2, pumpIntervalMs);  // negative descriptors are skipped
        readErrors();
        int status = 0;
        const pid_t ended = ::waitpid(m_pid, &status, WNOHANG);
        if (ended == m_pid) {
            m_pid = -1;
            readErrors();  // what is already in the pipe; a grandchild may hold it open
            closeDescriptors();
            return endOf(status);
        }
        if (ended < 0 && errno != EINTR) {
            m_pid = -1;
            closeDescriptors();
            return {ProcessEnd::How::Exited, 127};
        }
        if (pump && Clock::now() - lastPump >= std::chrono::milliseconds(pumpIntervalMs)) {
            lastPump = Clock::now();
            if (!pump()) {
                stop();
                return {ProcessEnd::How::Stopped, SIGKILL};
            }
        }
    }
    return {ProcessEnd::How::Exited, 0};
}

void InterpreterProcess::stop() {
    if (!running()) return;
    ::kill(-m_pid, SIGKILL);
    ::kill(m_pid, SIGKILL);  // in case the group was never formed
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    closeDescriptors();
}

}  // namespace tabulo::platform
