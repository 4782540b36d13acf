// Block reading and the line splitter.
#include "cli/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "cli/cli_error.h"

namespace tabulo::cli {

InputFile::InputFile(const std::string& path) : m_path(path), m_fd(0), m_owned(false) {
    if (path == "-") return;
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) throw FileError(path, errno);
    m_owned = true;
}

InputFile::~InputFile() {
    if (m_owned) ::close(m_fd);
}

std::size_t InputFile::read(char* destination, std::size_t count) {
    for (;;) {
        const ssize_t n = ::read(m_fd, destination, count);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) throw FileError(m_path == "-" ? "standard input" : m_path, errno);
    }
}

std::string lineTooLongText(const std::string& where, std::size_t limit) {
    return where + " is longer than " + std::to_string(limit) + " bytes, the longest line taken";
}

namespace {

// The offset just behind the last CR or LF of text[from, to), or npos.
std::size_t behindLastBreak(const std::string& text, std::size_t from, std::size_t to) {
    for (std::size_t i = to; i > from; --i) {
        if (text[i - 1] == '\n' || text[i - 1] == '\r') return i;
    }
    return std::string::npos;
}

}  // namespace

std::string InputFile::readAll(std::size_t maxLine) {
    std::string text;
    struct stat info {};
    std::size_t expected = 1 << 16;
    if (::fstat(m_fd, &info) == 0 && S_ISREG(info.st_mode)) {
        const off_t at = ::lseek(m_fd, 0, SEEK_CUR);
        if (info.st_size > at && at >= 0) expected = static_cast<std::size_t>(info.st_size - at) + 1;
    }
    std::size_t used = 0;
    std::size_t lineStart = 0;
    text.resize(expected);
    for (;;) {
        if (used == text.size()) text.resize(text.size() * 2);
        const std::size_t n = read(text.data() + used, text.size() - used);
        if (n == 0) break;
        if (const std::size_t behind = behindLastBreak(text, used, used + n); behind != std::string::npos) {
            lineStart = behind;
        }
        used += n;
        if (used - lineStart > maxLine) {
            throw CliError(lineTooLongText("the line at byte " + std::to_string(lineStart + 1), maxLine));
        }
    }
    text.resize(used);
    return text;
}

std::string_view lineBreakBytes(LineBreak lineBreak) {
    switch (lineBreak) {
    case LineBreak::CrLf: return "\r\n";
    case LineBreak::Cr: return "\r";
    case LineBreak::Lf: return "\n";
    case LineBreak::None: break;
    }
    return {};
}

LineReader::LineReader(InputFile& file, std::size_t blockSize, std::size_t maxLine)
    : m_file(file), m_blockSize(blockSize), m_maxLine(maxLine) {
    m_buffer.resize(blockSize);
}

void LineReader::checkLength(std::size_t lineEnd) const {
    if (lineEnd - m_begin > m_maxLine) throw CliError(lineTooLongText("line " + std::to_string(m_lineNo + 1), m_maxLine));
}

bool LineReader::fill() {
    if (m_eof) return false;
    if (m_begin > 0) {
        // Move the unfinished line to the front.
        std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
        m_end -= m_begin;
        m_scanned -= m_begin;
        m_begin = 0;
    }
    m_nextLf = m_nextCr = kUnknown;
    // Always room for at least half a block: a long line doubles the buffer.
    if (m_buffer.size() - m_end < std::max<std::size_t>(m_blockSize / 2, 1)) {
        m_buffer.resize(std::max(m_buffer.size() * 2, m_end + m_blockSize));
    }
    const std::size_t n = m_file.read(m_buffer.data() + m_end, m_buffer.size() - m_end);
    if (n == 0) {
        m_eof = true;
        return false;
    }
    m_end += n;
    return true;
}

std::size_t LineReader::findBreak(std::size_t from) {
    // memchr for each break byte, remembered until passed: each byte of the
    // input is searched once for CR and once for LF.
    const char* const data = m_buffer.data();
    const auto search = [&](std::size_t& cached, char byte) {
        if (cached != kUnknown && cached >= from) return;
        const void* found = std::memchr(data + from, byte, m_end - from);
        cached = found != nullptr ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : m_end;
    };
    search(m_nextLf, '\n');
    search(m_nextCr, '\r');
    return std::min(m_nextLf, m_nextCr);
}

bool LineReader::next(Line& line) {
    for (;;) {
        const std::size_t brk = findBreak(m_scanned);
        if (brk < m_end) {
            // A CR at the end of what is held may be the first half of CR LF.
            if (m_buffer[brk] == '\r' && brk + 1 == m_end && !m_eof) {
                m_scanned = brk;
                fill();  // moves the held bytes: look again
                continue;
            }
            checkLength(brk);
            line.text = std::string_view(m_buffer.data() + m_begin, brk - m_begin);
            ++m_lineNo;
            std::size_t after = brk + 1;
            if (m_buffer[brk] == '\n') {
                line.lineBreak = LineBreak::Lf;
            } else if (after < m_end && m_buffer[after] == '\n') {
                line.lineBreak = LineBreak::CrLf;
                ++after;
            } else {
                line.lineBreak = LineBreak::Cr;
            }
            m_begin = m_scanned = after;
            return true;
        }
        m_scanned = m_end;
        checkLength(m_end);
        if (!fill()) {
            if (m_begin == m_end) return false;
            ++m_lineNo;
            line.text = std::string_view(m_buffer.data() + m_begin, m_end - m_begin);
            line.lineBreak = LineBreak::None;
            m_begin = m_scanned = m_end;
            return true;
        }
    }
}

}  // namespace tabulo::cli
