#include "editor/model/text_lines.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace tabulo::editor {
namespace {

// Splits one block; `carry` holds the unfinished line from earlier blocks and
// `pendingCr` a CR that ended the previous block. Returns false at 0x1A.
bool splitBlock(std::string_view block, std::string& carry, bool& pendingCr,
                const std::function<void(std::string_view, bool)>& onLine) {
    std::size_t pos = 0;
    if (pendingCr) {
        pendingCr = false;
        if (!block.empty() && block[0] == '\n') pos = 1;
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
            return false;
        }
        emit(pos);
        if (c == '\r') {
            if (pos + 1 < block.size()) {
                if (block[pos + 1] == '\n') ++pos;
            } else {
                pendingCr = true;
            }
        }
        ++pos;
        lineStart = pos;
    }
    carry.append(block.substr(lineStart));
    return true;
}

}  // namespace

void splitLines(std::string_view text, const std::function<void(std::string_view, bool)>& onLine) {
    std::string carry;
    bool pendingCr = false;
    splitBlock(text, carry, pendingCr, onLine);
    if (!carry.empty()) onLine(carry, false);
}

void readFileLines(const std::string& path,
                   const std::function<void(std::string_view, bool)>& onLine,
                   std::size_t blockSize) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) throw std::runtime_error(path + ": " + std::strerror(errno));
    std::vector<char> buffer(blockSize);
    std::string carry;
    bool pendingCr = false;
    for (;;) {
        const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), file.get());
        if (got == 0) {
            if (std::ferror(file.get())) throw std::runtime_error(path + ": " + std::strerror(errno));
            break;
        }
        if (!splitBlock(std::string_view(buffer.data(), got), carry, pendingCr, onLine)) break;
    }
    if (!carry.empty()) onLine(carry, false);
}

}  // namespace tabulo::editor
