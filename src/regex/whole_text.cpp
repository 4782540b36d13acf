#include "regex/whole_text.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>

namespace tabulo::regex {

TWholeText::~TWholeText() {
    if (m_map) ::munmap(m_map, m_size);
}

bool TWholeText::load(int fd, std::vector<char>& buffer, bool mayMap) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    const auto expected = static_cast<std::size_t>(st.st_size);
    if (expected >= kReadBytes) {
        if (!mayMap) return false;
        void* map = ::mmap(nullptr, expected, PROT_READ, MAP_PRIVATE, fd, 0);
        if (map == MAP_FAILED) return false;
        ::madvise(map, expected, MADV_SEQUENTIAL);
        m_map = map;
        m_data = static_cast<const unsigned char*>(map);
        m_size = expected;
        return true;
    }
    // Files that say they are empty (some kernel files) are read until the
    // end, growing the buffer.
    std::size_t got = 0;
    if (buffer.size() < expected + kAlignment) buffer.resize(expected + kAlignment);
    const auto aligned = [&] {
        const auto address = reinterpret_cast<std::uintptr_t>(buffer.data());
        return static_cast<std::size_t>((kAlignment - address % kAlignment) % kAlignment);
    };
    std::size_t start = aligned();
    for (;;) {
        if (start + got == buffer.size()) {
            buffer.resize(buffer.size() * 2);
            const std::size_t moved = aligned();
            if (moved != start) std::memmove(buffer.data() + moved, buffer.data() + start, got);
            start = moved;
        }
        const std::size_t wanted = expected > got ? expected - got : buffer.size() - start - got;
        const ssize_t n = ::read(fd, buffer.data() + start + got, std::min(wanted, kReadChunk));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw std::system_error(errno, std::generic_category(), "read");
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
        if (got == expected) break;
    }
    m_data = reinterpret_cast<const unsigned char*>(buffer.data() + start);
    m_size = got;
    return true;
}

}  // namespace tabulo::regex
