#include "regex/text_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "regex/txt_file.h"

namespace tabulo::regex {

TFileSource::TFileSource(const std::string& path) {
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) throw EFileNotFound(std::strerror(errno));
    struct stat st {};
    if (::fstat(m_fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(m_fd);
        throw EFileNotFound(std::strerror(EISDIR));
    }
}

TFileSource::~TFileSource() {
    ::close(m_fd);
}

std::size_t TFileSource::read(char* dst, std::size_t count) {
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n = ::read(m_fd, dst + got, count - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw std::system_error(errno, std::generic_category(), "read");
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

}  // namespace tabulo::regex
