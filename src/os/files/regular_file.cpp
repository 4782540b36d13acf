#include "os/files/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tabulo::os {

NotRegularFileError::NotRegularFileError(const std::string& path, mode_t mode)
    : std::runtime_error(path + ": 通常のファイルではありません（" + std::string(fileKindName(mode)) + "）") {}

std::string_view fileKindName(mode_t mode) {
    if (S_ISDIR(mode)) return "フォルダ";
    if (S_ISFIFO(mode)) return "名前付きパイプ";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "デバイス";
    if (S_ISSOCK(mode)) return "ソケット";
    if (S_ISREG(mode)) return "ファイル";
    return "特殊なファイル";
}

int openRegularFile(const std::string& path) {
    // O_NONBLOCK: opening a FIFO must not wait for a writer. The kind is
    // checked on the open descriptor, so it cannot change after the check.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    struct stat info {};
    if (fd < 0) {
        // A socket cannot be opened at all; it is still named for what it is.
        const int error = errno;
        if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) throw NotRegularFileError(path, info.st_mode);
        throw std::runtime_error(path + ": " + std::strerror(error));
    }
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        throw std::runtime_error(path + ": " + std::strerror(error));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        throw NotRegularFileError(path, info.st_mode);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::string readRegularFile(const std::string& path) {
    const int fd = openRegularFile(path);
    std::string bytes;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw std::runtime_error(path + ": " + std::strerror(error));
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return bytes;
}

}  // namespace tabulo::os
