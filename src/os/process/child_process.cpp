#include "os/process/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
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

// Reads what a non-blocking pipe holds now and hands it on; the pipe is
// closed (and `fd` set to -1) once the writer has closed its end.
void drainPipe(int& fd, const std::function<void(std::string_view)>& take) {
    char buffer[1 << 16];
    while (fd >= 0) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got > 0) {
            take(std::string_view(buffer, static_cast<std::size_t>(got)));
        } else if (got == 0) {
            closeQuietly(fd);
        } else if (errno != EINTR) {
            return;  // EAGAIN: nothing more for now
        }
    }
}

ChildEnd endOf(int status) {
    if (WIFSIGNALED(status)) return {ChildEnd::How::Signalled, WTERMSIG(status)};
    return {ChildEnd::How::Exited, WEXITSTATUS(status)};
}

ChildStartError notFound(const std::string& word) {
    return ChildStartError(ChildStartError::Step::Find, ENOENT, word + ": コマンドが見つかりません");
}


// The process groups of the children running now, for signalAll(), which a
// signal handler calls: fixed slots, no allocation, no lock.
std::atomic<pid_t> g_children[64];

void remember(pid_t child) {
    for (std::atomic<pid_t>& slot : g_children) {
        pid_t empty = 0;
        if (slot.compare_exchange_strong(empty, child)) return;
    }
}

void forgetChild(pid_t child) {
    for (std::atomic<pid_t>& slot : g_children) {
        pid_t expected = child;
        if (slot.compare_exchange_strong(expected, 0)) return;
    }
}

struct ChildStreams {
    int input, output, errors;  // errors < 0: this process's standard error
};

// Puts `fd` in place of `target` for the program about to be run, also when
// it already is `target` (then only its close-on-exec flag goes).
void placeDescriptor(int fd, int target) {
    if (fd == target) {
        ::fcntl(fd, F_SETFD, 0);
    } else {
        ::dup2(fd, target);
    }
}

// Starts the program as a child leading a process group of its own, with
// SIGPIPE and the signal mask as a fresh program expects and a parent-death
// signal so it cannot outlive this process. vfork shares this process's
// memory until the exec instead of copying its page tables as fork does,
// which costs with a large document loaded. Returns the child, or -1 with
// `error` set.
pid_t spawn(std::vector<char*>& argv, std::vector<char*>& envp, const ChildStreams& streams, int& error) {
    sigset_t all, previous;
    ::sigfillset(&all);
    // No handler of this process may run in the child while it shares our
    // memory: signals wait until the child has put the defaults back.
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    const pid_t parent = ::getpid();
    volatile int execError = 0;
    const pid_t child = ::vfork();
    if (child == 0) {
        // Only async-signal-safe calls from here on.
        for (int number = 1; number < NSIG; ++number) {
            struct sigaction action{};
            if (::sigaction(number, nullptr, &action) != 0) continue;
            if (number == SIGPIPE || (action.sa_handler != SIG_DFL && action.sa_handler != SIG_IGN)) {
                action.sa_handler = SIG_DFL;
                action.sa_flags = 0;
                ::sigaction(number, &action, nullptr);
            }
        }
        // The death signal goes with the thread that started the child; a
        // parent gone before it was set would never send it.
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || ::getppid() != parent) ::_exit(127);
        ::setpgid(0, 0);
        placeDescriptor(streams.input, STDIN_FILENO);
        placeDescriptor(streams.output, STDOUT_FILENO);
        if (streams.errors >= 0) placeDescriptor(streams.errors, STDERR_FILENO);
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::execve(argv[0], argv.data(), envp.data());
        execError = errno;
        ::_exit(127);
    }
    const int forkError = errno;
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (child < 0) {
        error = forkError;
        return -1;
    }
    if (execError != 0) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        error = execError;
        return -1;
    }
    return child;
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
    int outputPipe[2] = {-1, -1};
    int output = -1;
    if (command.onOutput) {
        if (::pipe2(outputPipe, O_CLOEXEC) == 0) output = outputPipe[1];
    } else {
        output = command.outputFile.empty()
                     ? ::open("/dev/null", O_WRONLY | O_CLOEXEC)
                     : ::open(command.outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    }
    if (output < 0) throw ChildStartError(Step::Output, errno, "can't open " + command.outputFile);
    int input = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    int errors[2] = {-1, -1};
    const auto closeAll = [&] {
        for (int* fd : {&output, &input, &errors[0], &errors[1], &outputPipe[0]}) closeQuietly(*fd);
    };
    if (input < 0 || ::pipe2(errors, O_CLOEXEC) != 0) {
        const int error = errno;
        closeAll();
        throw ChildStartError(Step::Start, error, word + ": " + std::strerror(error));
    }

    std::vector<std::string> words = command.arguments;
    words.front() = program;
    std::vector<char*> argv = pointers(words);
    std::vector<char*> envp = pointers(environment);
    const ChildStreams streams{input, output, command.shareStandardError ? -1 : errors[1]};
    int spawnError = 0;
    const pid_t child = spawn(argv, envp, streams, spawnError);
    closeQuietly(output);
    closeQuietly(input);
    closeQuietly(errors[1]);
    if (child < 0) {
        closeQuietly(errors[0]);
        closeQuietly(outputPipe[0]);
        if (spawnError == ENOENT) throw notFound(word);
        throw ChildStartError(Step::Start, spawnError, word + ": " + std::strerror(spawnError));
    }
    m_pid = child;
    remember(child);
    m_errorPipe = errors[0];
    m_outputPipe = outputPipe[0];
    m_onOutput = command.onOutput;
    // Readable when the child ends, so the wait wakes at once instead of at
    // the next pump; without it (old kernels) the wait notices at the pump.
    m_endNotice = static_cast<int>(::syscall(SYS_pidfd_open, child, 0));
    for (const int fd : {m_errorPipe, m_outputPipe}) {
        if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
}

void ChildProcess::signalAll(int signal) {
    for (std::atomic<pid_t>& slot : g_children) {
        const pid_t pid = slot.load();
        if (pid > 0) ::kill(-pid, signal);
    }
}

void ChildProcess::readErrors() {
    drainPipe(m_errorPipe, [this](std::string_view bytes) {
        const std::size_t room = kErrorBytesKept - std::min(kErrorBytesKept, m_errorText.size());
        m_errorText.append(bytes.substr(0, room));
    });
}

void ChildProcess::readOutput() {
    drainPipe(m_outputPipe, m_onOutput);
}

void ChildProcess::closeDescriptors() {
    closeQuietly(m_errorPipe);
    closeQuietly(m_outputPipe);
    closeQuietly(m_endNotice);
}

void ChildProcess::forget() {
    forgetChild(m_pid);
    m_pid = -1;
}

ChildEnd ChildProcess::wait(const std::function<bool()>& pump, int pumpIntervalMs) {
    using Clock = std::chrono::steady_clock;
    auto lastPump = Clock::now();
    while (running()) {
        pollfd watched[3] = {{m_endNotice, POLLIN, 0}, {m_errorPipe, POLLIN, 0}, {m_outputPipe, POLLIN, 0}};
        ::poll(watched, 3, pumpIntervalMs);  // negative descriptors are skipped
        readErrors();
        readOutput();
        int status = 0;
        const pid_t ended = ::waitpid(m_pid, &status, WNOHANG);
        if (ended == m_pid) {
            forget();
            // What is already in the pipes; a grandchild may hold them open.
            readErrors();
            readOutput();
            closeDescriptors();
            return endOf(status);
        }
        if (ended < 0 && errno != EINTR) {
            forget();
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
    forget();
    closeDescriptors();
}

}  // namespace tabulo::os
