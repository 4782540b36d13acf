#include "editor/model/text_lines.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "os/files/regular_file.h"

namespace tabulo::editor {
namespace {

// Splits one block; `carry` holds the unfinished line from earlier blocks and
// `pendingCr` a CR that ended the previous block. Returns the position of a
// 0x1A, which ends the text, or npos.
std::size_t splitBlock(std::string_view block, std::string& carry, bool& pendingCr,
                       const std::function<void(std::string_view, bool)>& onLine, LineBreakTally* breaks) {
    std::size_t pos = 0;
    if (pendingCr) {
        pendingCr = false;
        if (!block.empty() && block[0] == '\n') pos = 1;
        if (breaks) breaks->note(pos == 1 ? LineBreakStyle::CrLf : LineBreakStyle::Cr);
    }
    std::size_t lineStart = pos;
    auto emit = [&](std::size_t end) {
        if (carry.empty()) {
            onLine(block.substr(lineStart, end - lineStart), true);
        } else {
            carry.append(block.substr(lineStart, end - lineStart));
            onLine(carry, true);
            carry.clear();
        }
    };
    while (pos < block.size()) {
        // memchr-class scan for the next interesting byte.
        const char* base = block.data() + pos;
        std::size_t rest = block.size() - pos;
        const char* hit = nullptr;
        for (std::size_t i = 0; i < rest; ++i) {
            const char c = base[i];
            if (c == '\r' || c == '\n' || c == '\x1A') {
                hit = base + i;
                break;
            }
        }
        if (!hit) break;
        pos = static_cast<std::size_t>(hit - block.data());
        const char c = *hit;
        if (c == '\x1A') {
            carry.append(block.substr(lineStart, pos - lineStart));
            return pos;
        }
        emit(pos);
        if (c == '\r') {
            if (pos + 1 < block.size()) {
                const bool crLf = block[pos + 1] == '\n';
                if (crLf) ++pos;
                if (breaks) breaks->note(crLf ? LineBreakStyle::CrLf : LineBreakStyle::Cr);
            } else {
                pendingCr = true;
            }
        } else if (breaks) {
            breaks->note(LineBreakStyle::Lf);
        }
        ++pos;
        lineStart = pos;
    }
    carry.append(block.substr(lineStart));
    return std::string_view::npos;
}

}  // namespace

void splitLines(std::string_view text, const std::function<void(std::string_view, bool)>& onLine,
                LineBreakTally* breaks) {
    std::string carry;
    bool pendingCr = false;
    splitBlock(text, carry, pendingCr, onLine, breaks);
    if (pendingCr && breaks) breaks->note(LineBreakStyle::Cr);
    if (!carry.empty()) onLine(carry, false);
}

FileReadReport readFileLines(const std::string& path,
                             const std::function<void(std::string_view, bool)>& onLine,
                             std::size_t blockSize) {
    const int fd = os::openRegularFile(path);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat info {};
    ::fstat(fd, &info);
    FileReadReport report;
    std::vector<char> buffer(blockSize);
    std::string carry;
    bool pendingCr = false;
    std::uint64_t offset = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            throw std::runtime_error(path + ": " + std::strerror(errno));
        }
        if (got == 0) break;
        const std::size_t marker = splitBlock(std::string_view(buffer.data(), static_cast<std::size_t>(got)), carry,
                                              pendingCr, onLine, &report.breaks);
        if (marker != std::string_view::npos) {
            report.endMarkerOffset = offset + marker;
            const auto size = static_cast<std::uint64_t>(info.st_size);
            report.bytesAfterEndMarker = size > *report.endMarkerOffset ? size - *report.endMarkerOffset - 1 : 0;
            break;
        }
        offset += static_cast<std::uint64_t>(got);
    }
    if (pendingCr) report.breaks.note(LineBreakStyle::Cr);
    if (!carry.empty()) onLine(carry, false);
    return report;
}

}  // namespace tabulo::editor
