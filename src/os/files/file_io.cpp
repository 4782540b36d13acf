#include "os/files/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace tabulo::os::detail {

void fail(const std::string& path, int error) {
    throw std::runtime_error(path + ": " + std::strerror(error));
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

Fd::~Fd() {
    if (m_fd >= 0) ::close(m_fd);
}

int Fd::close() {
    const int result = ::close(m_fd);
    m_fd = -1;
    return result;
}

void writeAll(int fd, std::string_view bytes, const std::string& path) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail(path, errno);
        }
        done += static_cast<std::size_t>(n);
    }
}

void copyAll(int from, int to, const std::string& path) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) fail(path, errno);
        if (got == 0) return;
        writeAll(to, std::string_view(buffer, static_cast<std::size_t>(got)), path);
    }
}

void syncFolder(const std::string& folder) {
    const Fd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() >= 0) ::fsync(fd.get());
}

pid_t processOfName(std::string_view name, std::string_view prefix) {
    if (name.substr(0, prefix.size()) != prefix) return -1;
    const std::string_view rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash >= 10 ||
        rest.substr(0, dash).find_first_not_of("0123456789") != std::string_view::npos) {
        return -1;
    }
    return static_cast<pid_t>(std::stol(std::string(rest.substr(0, dash))));
}

bool otherProcessRuns(pid_t pid) {
    return pid > 0 && pid != ::getpid() && (::kill(pid, 0) == 0 || errno != ESRCH);
}

}  // namespace tabulo::os::detail
