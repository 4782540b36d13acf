#include "editor/model/text_lines.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "os/files/regular_file.h"

namespace tabulo::editor {
namespace {

// The position of the first CR, LF or 0x1A at or after `pos`, or the size.
// Eight bytes at a time: loading a large file is mostly this scan.
std::size_t nextSpecial(std::string_view text, std::size_t pos) {
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    const auto zeroBytes = [](std::uint64_t x) { return (x - ones) & ~x & highs; };
    const char* data = text.data();
    while (pos + 8 <= text.size()) {
        std::uint64_t word;
        std::memcpy(&word, data + pos, 8);
        // A borrow can mark a byte above a real hit, never one below it, so
        // the lowest mark is exact.
        const std::uint64_t hits =
            zeroBytes(word ^ (ones * '\r')) | zeroBytes(word ^ (ones * '\n')) | zeroBytes(word ^ (ones * 0x1A));
        if (hits) {
            if constexpr (std::endian::native == std::endian::little) {
                return pos + static_cast<std::size_t>(std::countr_zero(hits) / 8);
            } else {
                break;
            }
        }
        pos += 8;
    }
    for (; pos < text.size(); ++pos) {
        const char c = data[pos];
        if (c == '\r' || c == '\n' || c == '\x1A') return pos;
    }
    return text.size();
}

// Cuts a text that may still grow into lines, as far as its bytes decide
// them: a CR at the end waits for the next byte, which may make it CR LF.
class LineScanner {
public:
    using OnLine = std::function<void(std::size_t, std::size_t, bool)>;
    LineScanner(const OnLine& onLine, LineBreakTally* breaks) : m_onLine(onLine), m_breaks(breaks) {}

    // Goes on over `text`, which starts with every byte scanned before;
    // `complete` when no byte follows. True once a 0x1A has ended the text.
    bool scan(std::string_view text, bool complete) {
        for (;;) {
            const std::size_t pos = nextSpecial(text, m_pos);
            if (pos == text.size()) {
                m_pos = pos;
                break;
            }
            if (text[pos] == '\x1A') {
                m_marker = pos;
                if (pos > m_lineStart) m_onLine(m_lineStart, pos, false);
                return true;
            }
            if (text[pos] == '\r' && pos + 1 == text.size() && !complete) {
                m_pos = pos;
                return false;
            }
            m_onLine(m_lineStart, pos, true);
            LineBreakStyle style = LineBreakStyle::Lf;
            std::size_t next = pos + 1;
            if (text[pos] == '\r') {
                const bool crLf = next < text.size() && text[next] == '\n';
                style = crLf ? LineBreakStyle::CrLf : LineBreakStyle::Cr;
                if (crLf) ++next;
            }
            if (m_breaks) m_breaks->note(style);
            m_lineStart = m_pos = next;
        }
        if (complete && m_pos > m_lineStart) m_onLine(m_lineStart, m_pos, false);
        return false;
    }
    std::size_t marker() const { return m_marker; }

private:
    const OnLine& m_onLine;
    LineBreakTally* m_breaks;
    std::size_t m_lineStart = 0;
    std::size_t m_pos = 0;
    std::size_t m_marker = std::string_view::npos;
};

}  // namespace

std::size_t scanLines(std::string_view text, const std::function<void(std::size_t, std::size_t, bool)>& onLine,
                      LineBreakTally* breaks) {
    LineScanner scanner(onLine, breaks);
    scanner.scan(text, true);
    return scanner.marker();
}

void splitLines(std::string_view text, const std::function<void(std::string_view, bool)>& onLine,
                LineBreakTally* breaks) {
    scanLines(text, [&](std::size_t begin, std::size_t end, bool hasBreak) {
        onLine(text.substr(begin, end - begin), hasBreak);
    }, breaks);
}

FileText readFileText(const std::string& path, const std::function<void(std::string_view, std::size_t, bool)>& onLine,
                      std::size_t blockSize) {
    const int fd = os::openRegularFile(path);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    ::fstat(fd, &info);
    const auto fileSize = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0));
    // One byte more than the file holds, so that its end is seen without
    // growing the buffer; a file growing meanwhile is read to its new end.
    std::size_t capacity = fileSize + 1;
    std::unique_ptr<char[]> data = std::make_unique_for_overwrite<char[]>(capacity);
    std::size_t size = 0;
    FileText file;
    const LineScanner::OnLine lineOf = [&](std::size_t begin, std::size_t end, bool hasBreak) {
        onLine(std::string_view(data.get() + begin, end - begin), begin, hasBreak);
    };
    // Each block is cut into lines right after it is read, while its bytes
    // are still in the processor's cache.
    LineScanner scanner(lineOf, &file.report.breaks);
    bool ended = false;
    for (;;) {
        if (size == capacity) {
            const std::size_t larger = capacity * 2;
            std::unique_ptr<char[]> grown = std::make_unique_for_overwrite<char[]>(larger);
            std::memcpy(grown.get(), data.get(), size);
            data = std::move(grown);
            capacity = larger;
        }
        const ssize_t got = ::read(fd, data.get() + size, std::min(blockSize, capacity - size));
        if (got < 0) {
            if (errno == EINTR) continue;
            throw std::runtime_error(path + ": " + std::strerror(errno));
        }
        if (got == 0) break;
        size += static_cast<std::size_t>(got);
        if (scanner.scan(std::string_view(data.get(), size), false)) {
            ended = true;
            break;
        }
    }
    if (!ended) ended = scanner.scan(std::string_view(data.get(), size), true);
    if (ended) {
        // The bytes after the 0x1A are not read: only counted.
        const std::size_t marker = scanner.marker();
        file.report.endMarkerOffset = marker;
        file.report.bytesAfterEndMarker = std::max(fileSize, size) - marker - 1;
        size = marker;
    }
    file.bytes = std::make_shared<const TextBuffer>(std::move(data), size);
    return file;
}

}  // namespace tabulo::editor
