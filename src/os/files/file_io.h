// The small system-call helpers the save code shares: a descriptor closed
// on every path out, whole writes and copies, flushing a folder, and the
// test whether the process that named a temporary file still runs.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace tabulo::os::detail {

[[noreturn]] void fail(const std::string& path, int error);

// The folder of `path` without its final slash ("." for a bare name).
std::string folderOf(const std::string& path);

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd();
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    // Closes now and reports the close's own failure (delayed write errors).
    int close();

private:
    int m_fd;
};

void writeAll(int fd, std::string_view bytes, const std::string& path);
// Copies everything from `from` (read from its current offset) to the end of
// `to`; errors name `path`.
void copyAll(int from, int to, const std::string& path);
void syncFolder(const std::string& folder);

// "<prefix><pid>-XXXXXX": the process id a temporary name carries, or -1.
pid_t processOfName(std::string_view name, std::string_view prefix);
// False when `pid` names this process (it does one save at a time) or no
// process at all.
bool otherProcessRuns(pid_t pid);

}  // namespace tabulo::os::detail
