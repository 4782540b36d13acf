#include "os/files/output_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "os/files/safe_save.h"

namespace tabulo::os {
namespace {

[[noreturn]] void fail(const std::string& path, int error) {
    throw std::runtime_error(path + ": " + std::strerror(error));
}

void writeInto(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) fail(path, errno);
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            const int error = written < 0 ? errno : EIO;
            ::close(fd);
            fail(path, error);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    if (::close(fd) != 0 && errno != EINTR) fail(path, errno);
}

}  // namespace

void writeOutputFile(const std::string& path, std::string_view bytes) {
    struct stat info{};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        if (S_ISDIR(info.st_mode)) fail(path, EISDIR);
        writeInto(path, bytes);
        return;
    }
    saveFileBytes(path, bytes);
}

MemoryFile::MemoryFile() : m_fd(::memfd_create("tabulo-output", MFD_CLOEXEC)) {
    if (m_fd < 0) throw std::runtime_error(std::string("memfd_create: ") + std::strerror(errno));
}

MemoryFile::~MemoryFile() { ::close(m_fd); }

std::string MemoryFile::path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

std::string MemoryFile::bytes() const {
    struct stat info{};
    if (::fstat(m_fd, &info) != 0) throw std::runtime_error(std::string("memfd: ") + std::strerror(errno));
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(m_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) throw std::runtime_error(std::string("memfd: ") + std::strerror(got < 0 ? errno : EIO));
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

}  // namespace tabulo::os
