#include "os/process/child_process.h"

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

namespace tabulo::os {
namespace {

constexpr const char* kDefaultSearchPath = "/usr/local/bin:/usr/bin:/bin";

bool isExecutableFile(const std::string& path) {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

std::string nameOf(const std::string& entry) {
    return entry.substr(0, entry.find('='));
}

// This process's environment with the given changes made: "NAME=value"
// replaces or adds NAME, a bare "NAME" removes it.
std::vector<std::string> mergedEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> merged;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string text(*entry);
        bool changed = false;
        for (const std::string& change : changes) changed = changed || nameOf(change) == nameOf(text);
        if (!changed) merged.push_back(text);
    }
    for (const std::string& change : changes) {
        if (change.find('=') != std::string::npos) merged.push_back(change);
    }
    return merged;
}

// The search path a child with this environment uses; without a PATH, the
// system's usual folders.
std::string searchPathOf(const std::vector<std::string>& environment) {
    for (const std::string& entry : environment) {
        if (nameOf(entry) == "PATH") return entry.substr(5);
    }
    return kDefaultSearchPath;
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

ChildEnd endOf(int status) {
    if (WIFSIGNALED(status)) return {ChildEnd::How::Signalled, WTERMSIG(status)};
    return {ChildEnd::How::Exited, WEXITSTATUS(status)};
}

ChildStartError notFound(const std::string& word) {
    return ChildStartError(ChildStartError::Step::Find, ENOENT, word + ": コマンドが見つかりません");
}

}  // namespace

std::string findProgram(const std::string& word, const std::string& folders) {
    if (word.empty()) return {};
    if (word.find('/') != std::string::npos) return word;
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

std::string findProgram(const std::string& word) {
    const char* path = std::getenv("PATH");
    return findProgram(word, path ? path : kDefaultSearchPath);
}

ChildProcess::~ChildProcess() {
    if (running()) stop();
    closeDescriptors();
}

void ChildProcess::start(const ChildCommand& command) {
    using Step = ChildStartError::Step;
    if (running()) throw ChildStartError(Step::Command, EBUSY, "a program is still running");
    if (command.arguments.empty()) throw ChildStartError(Step::Command, EINVAL, "no program named");
    m_errorText.clear();
    const std::string& word = command.arguments.front();
    std::vector<std::string> environment = mergedEnvironment(command.environment);
    const std::string program = findProgram(word, searchPathOf(environment));
    if (program.empty()) throw notFound(word);

    // The output is the program's own work file: a link planted in its place
    // must not send the output elsewhere.
    int output = command.outputFile.empty()
                     ? ::open("/dev/null", O_WRONLY | O_CLOEXEC)
                     : ::open(command.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (output < 0) throw ChildStartError(Step::Output, errno, "can't open " + command.outputFile);
    int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    int errors[2] = {-1, -1};
    if (input < 0 || ::pipe2(errors, O_CLOEXEC) != 0) {
        const int error = errno;
        for (int* fd : {&output, &input, &errors[0], &errors[1]}) closeQuietly(*fd);
        throw ChildStartError(Step::Start, error, word + ": " + std::strerror(error));
    }

    std::vector<std::string> words = command.arguments;
    words.front() = program;
    std::vector<char*> argv = pointers(words);
    std::vector<char*> envp = pointers(environment);

    // posix_spawn shares this process's memory until the exec instead of
    // copying its page tables as fork does, which costs with a large
    // document loaded; exec failures come back as its result.
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    if (!command.shareStandardError) ::posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
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
        if (spawnError == ENOENT) throw notFound(word);
        throw ChildStartError(Step::Start, spawnError, word + ": " + std::strerror(spawnError));
    }
    m_pid = child;
    m_errorPipe = errors[0];
    // Readable when the child ends, so the wait wakes at once instead of at
    // the next pump; without it (old kernels) the wait notices at the pump.
    m_endNotice = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    ::fcntl(m_errorPipe, F_SETFL, ::fcntl(m_errorPipe, F_GETFL) | O_NONBLOCK);
}

void ChildProcess::readErrors() {
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

void ChildProcess::closeDescriptors() {
    closeQuietly(m_errorPipe);
    closeQuietly(m_endNotice);
}

ChildEnd ChildProcess::wait(const std::function<bool()>& pump, int pumpIntervalMs) {
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
            return {ChildEnd::How::Exited, 127};
        }
        if (pump && Clock::now() - lastPump >= std::chrono::milliseconds(pumpIntervalMs)) {
            lastPump = Clock::now();
            if (!pump()) {
                stop();
                return {ChildEnd::How::Stopped, SIGKILL};
            }
        }
    }
    return {ChildEnd::How::Exited, 0};
}

void ChildProcess::stop() {
    if (!running()) return;
    ::kill(-m_pid, SIGKILL);
    ::kill(m_pid, SIGKILL);  // in case the group was never formed
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    closeDescriptors();
}

}  // namespace tabulo::os
