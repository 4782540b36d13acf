// A scratch folder with byte-exact file helpers, and a guard that runs code
// which could block (a FIFO, a device) in a child process with a deadline.
#pragma once

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

namespace tabulo::testing {

class ScratchFolder {
public:
    ScratchFolder() {
        char pattern[] = "/tmp/tabulo-files-XXXXXX";
        m_path = ::mkdtemp(pattern);
    }
    ~ScratchFolder() { std::filesystem::remove_all(m_path); }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string path(const std::string& name) const { return m_path + "/" + name; }
    const std::string& folder() const { return m_path; }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary | std::ios::trunc) << bytes;
        return path(name);
    }
    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        if (!in) return "<missing>";
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Names in the folder that start with `prefix`.
    int countStartingWith(const std::string& prefix) const {
        int n = 0;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            n += entry.path().filename().string().rfind(prefix, 0) == 0 ? 1 : 0;
        }
        return n;
    }

private:
    std::string m_path;
};

// Runs `body` in a child process; true when it returned true within the
// deadline. A child that blocks is killed, so the test fails instead of
// hanging.
inline bool finishesWithin(std::chrono::milliseconds deadline, const std::function<bool()>& body) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(body() ? 0 : 1);
    const auto end = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (::waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return false;
}

// A process id that no longer runs: a child that has ended and was reaped.
inline pid_t deadProcessId() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

}  // namespace tabulo::testing
