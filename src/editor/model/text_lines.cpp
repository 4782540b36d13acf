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

}  // namespace

std::size_t scanLines(std::string_view text, const std::function<void(std::size_t, std::size_t, bool)>& onLine,
                      LineBreakTally* breaks) {
    std::size_t lineStart = 0;
    std::size_t pos = 0;
    for (;;) {
        pos = nextSpecial(text, pos);
        if (pos == text.size() || text[pos] == '\x1A') break;
        onLine(lineStart, pos, true);
        LineBreakStyle style = LineBreakStyle::Lf;
        if (text[pos] == '\r') {
            style = LineBreakStyle::Cr;
            if (pos + 1 < text.size() && text[pos + 1] == '\n') {
                style = LineBreakStyle::CrLf;
                ++pos;
            }
        }
        if (breaks) breaks->note(style);
        lineStart = ++pos;
    }
    if (pos > lineStart) onLine(lineStart, pos, false);
    return pos < text.size() ? pos : std::string_view::npos;
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
    // One byte more than the file holds, so that its end is seen without
    // growing the buffer; a file growing meanwhile is read to its new end.
    std::size_t capacity = static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)) + 1;
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    std::size_t size = 0;
    for (;;) {
        if (size == capacity) {
            const std::size_t larger = capacity * 2;
            auto grown = std::make_unique_for_overwrite<char[]>(larger);
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
    }
    FileText file;
    const std::string_view text(data.get(), size);
    const std::size_t marker = scanLines(text, [&](std::size_t begin, std::size_t end, bool hasBreak) {
        onLine(text.substr(begin, end - begin), begin, hasBreak);
    }, &file.report.breaks);
    if (marker != std::string_view::npos) {
        file.report.endMarkerOffset = marker;
        file.report.bytesAfterEndMarker = size - marker - 1;
        size = marker;
    }
    file.bytes = std::make_shared<const TextBuffer>(std::move(data), size);
    return file;
}

}  // namespace tabulo::editor
