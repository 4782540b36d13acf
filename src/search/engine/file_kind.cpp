#include "search/engine/file_kind.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace tabulo::search {

FileKind fileKindOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return FileKind::Missing;
    if (S_ISREG(st.st_mode)) return FileKind::Regular;
    if (S_ISDIR(st.st_mode)) return FileKind::Folder;
    return FileKind::Special;
}

std::string fileKindReason(FileKind kind) {
    switch (kind) {
    case FileKind::Regular: return {};
    case FileKind::Folder: return "フォルダ";
    case FileKind::Special: return "特殊ファイル";
    case FileKind::Missing: return "見つかりません";
    }
    return {};
}

bool isTextFile(const std::string& path) {
    // Non-blocking, so that a FIFO put in place after the check cannot hold
    // the window; the descriptor is checked again before reading.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool text = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (text) {
        char head[4096];
        std::size_t got = 0;
        while (got < sizeof head) {
            const ssize_t n = ::read(fd, head + got, sizeof head - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        const bool elf = got >= 4 && std::memcmp(head, "\x7F" "ELF", 4) == 0;
        text = !elf && std::memchr(head, 0, got) == nullptr;
    }
    ::close(fd);
    return text;
}

}  // namespace tabulo::search
