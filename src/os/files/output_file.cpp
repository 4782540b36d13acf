#include "os/files/output_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "os/files/file_io.h"
#include "os/files/safe_save.h"

namespace tabulo::os {
namespace {

void writeInto(const std::string& path, std::string_view bytes) {
    detail::Fd fd(::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) detail::fail(path, errno);
    detail::writeAll(fd.get(), bytes, path);
    if (fd.close() != 0 && errno != EINTR) detail::fail(path, errno);
}

}  // namespace

void writeOutputFile(const std::string& path, std::string_view bytes) {
    struct stat info{};
    if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        if (S_ISDIR(info.st_mode)) detail::fail(path, EISDIR);
        writeInto(path, bytes);
        return;
    }
    saveFileBytes(path, bytes);
}

MemoryFile::MemoryFile() : m_fd(::memfd_create("tabulo-output", MFD_CLOEXEC)) {
    if (m_fd < 0) detail::fail("memfd_create", errno);
}

MemoryFile::~MemoryFile() { ::close(m_fd); }

std::string MemoryFile::path() const { return "/proc/self/fd/" + std::to_string(m_fd); }

std::string MemoryFile::bytes() const {
    struct stat info{};
    if (::fstat(m_fd, &info) != 0) detail::fail("memfd", errno);
    std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::pread(m_fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) detail::fail("memfd", got < 0 ? errno : EIO);
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

}  // namespace tabulo::os
