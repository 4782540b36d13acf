#include "search/engine/cat_append.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "search/engine/name_text.h"

namespace tabulo::search {

namespace {

constexpr std::size_t kCopyBlock = 1 << 16;

std::string_view folderOf(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

std::string_view fileNameOf(std::string_view path) {
    return path.substr(folderOf(path).size());
}

// The extension with its dot, or empty.
std::string_view extensionOf(std::string_view path) {
    const std::string_view name = fileNameOf(path);
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

// Opened without blocking (a FIFO cannot hold the window) and accepted only
// as a regular file; -1 otherwise.
int openRegularSource(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

enum class CopyResult { Done, ReadFailed, WriteFailed };

// Copies up to the first 0x1A.
CopyResult copyText(int from, int to) {
    std::vector<char> block(kCopyBlock);
    for (;;) {
        const ssize_t n = ::read(from, block.data(), block.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return CopyResult::ReadFailed;
        if (n == 0) return CopyResult::Done;
        const auto size = static_cast<std::size_t>(n);
        const void* eof = std::memchr(block.data(), 0x1A, size);
        const std::size_t keep = eof ? static_cast<std::size_t>(static_cast<const char*>(eof) - block.data()) : size;
        if (!writeAll(to, block.data(), keep)) return CopyResult::WriteFailed;
        if (eof) return CopyResult::Done;
    }
}

}  // namespace

std::string catTargetPath(const std::string& firstInput) {
    const std::string_view extension = extensionOf(firstInput);
    std::string target(folderOf(firstInput));
    target += "CatTemp";
    target += extension.find("htm") != std::string_view::npos ? extension : std::string_view(".txt");
    return target;
}

bool catUsesSeparators(const std::string& source, const std::string& workFolder) {
    return extensionOf(source).find("htm") == std::string_view::npos && folderOf(source) != workFolder;
}

std::string catHeader(std::string_view name) {
    std::string text = "\r\n_/_/_/_/ ";
    text += name;
    text += " _/_/_/_/\r\n\r\n";
    return text;
}

std::string catFooter(std::string_view name) {
    std::string text = "\r\n_/End Of ";
    text += name;
    text += " _/_/_/_/\r\n\r\n";
    return text;
}

int CatAppendFile(const std::string& source, const std::string& output, const std::string& workFolder,
                  const CatReport& report) {
    Descriptor in(openRegularSource(source));
    if (in.get() < 0) {
        report("can't open " + source);
        return -1;
    }
    Descriptor out(::open(output.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
    if (out.get() < 0) {
        report("can't open " + output);
        return -1;
    }
    const bool framed = catUsesSeparators(source, workFolder);
    const std::string name = documentTextOfFileName(fileNameOf(source));
    bool ok = true;
    if (framed) {
        const std::string header = catHeader(name);
        ok = writeAll(out.get(), header.data(), header.size());
    }
    if (ok) {
        const CopyResult copied = copyText(in.get(), out.get());
        if (copied == CopyResult::ReadFailed) {
            report("can't read " + source);
            return -1;
        }
        ok = copied == CopyResult::Done;
    }
    if (ok && framed) {
        const std::string footer = catFooter(name);
        ok = writeAll(out.get(), footer.data(), footer.size());
    }
    ok = out.close() && ok;
    if (!ok) {
        report("can't write " + output);
        return -1;
    }
    return 0;
}

}  // namespace tabulo::search
