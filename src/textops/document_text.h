// A whole document text as lines and back, with the file rules of the
// program: lines end at CR LF, a lone CR or a lone LF; a 0x1A byte ends the
// text; lines are written back with CR LF, and the last line gets a break
// only when the text it came from ended with one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "textops/line_command.h"

namespace tabulo::textops {

struct SplitText {
    std::vector<std::string_view> lines;  // views into the split text
    bool finalBreak = false;              // the text ended with a line break
};

// An empty text has no lines; "a\r\n" is one line with a final break.
SplitText splitDocumentText(std::string_view text);

std::string joinDocumentText(std::span<const std::string> lines, bool finalBreak);

using WholeTextCommand = std::function<LineResult(std::vector<std::string>& lines, LineRange range)>;

// Runs a line command over all lines of a document text, as the window does
// with the whole text selected, and returns the resulting text. A text with no
// lines has no line range and gives an empty text.
std::string applyToWholeText(std::string_view text, const WholeTextCommand& command);

// Whether a 0x1A byte ends a text (the file rule of the window) or is an
// ordinary byte (the command-line tool, where no byte is dropped).
enum class EofByte { EndsText, Ordinary };

namespace detail {

// The first CR or LF in data[from, size), or size: eight bytes at a time.
inline std::size_t findLineBreak(const char* data, std::size_t from, std::size_t size) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
    constexpr std::uint64_t kHighs = 0x8080808080808080ULL;
    const auto hasByte = [](std::uint64_t word, std::uint64_t pattern) {
        const std::uint64_t x = word ^ pattern;
        return (x - kOnes) & ~x & kHighs;
    };
    std::size_t pos = from;
    for (; pos + 8 <= size; pos += 8) {
        std::uint64_t word;
        std::memcpy(&word, data + pos, 8);
        if (hasByte(word, kOnes * '\r') | hasByte(word, kOnes * '\n')) break;
    }
    for (; pos < size; ++pos) {
        if (data[pos] == '\r' || data[pos] == '\n') return pos;
    }
    return size;
}

// Calls onLine(offset, length) for every line of text, in order, and returns
// whether the text ended with a line break. The one splitting rule of the file
// format, shared by everything that splits a text.
template <class OnLine>
bool forEachLine(std::string_view text, OnLine&& onLine, EofByte eofByte = EofByte::EndsText) {
    if (const std::size_t eof = eofByte == EofByte::EndsText ? text.find('\x1a') : std::string_view::npos;
        eof != std::string_view::npos)
        text = text.substr(0, eof);
    const char* const data = text.data();
    const std::size_t size = text.size();
    std::size_t start = 0;
    for (std::size_t pos = 0; pos < size;) {
        pos = findLineBreak(data, pos, size);
        if (pos == size) break;
        const char byte = data[pos];
        onLine(start, pos - start);
        pos += (byte == '\r' && pos + 1 < size && data[pos + 1] == '\n') ? 2 : 1;
        start = pos;
    }
    if (start < size) {
        onLine(start, size - start);
        return false;
    }
    return size > 0;
}

// Collects output in blocks so that writing many short lines costs few stream calls.
class BlockWriter {
public:
    explicit BlockWriter(std::ostream& out);
    void write(std::string_view bytes);
    void flush();

private:
    std::ostream& m_out;
    std::string m_block;
};

}  // namespace detail

// Writes lines (anything indexable whose elements convert to std::string_view)
// as a document text: CR LF after every line but the last, and after the last
// only with finalBreak.
template <class Lines>
void writeDocumentText(std::ostream& out, const Lines& lines, bool finalBreak) {
    detail::BlockWriter writer(out);
    const std::size_t count = lines.size();
    for (std::size_t i = 0; i < count; ++i) {
        // Sorted lines lie scattered over the text: fetch a few lines ahead.
        if (i + 8 < count) __builtin_prefetch(std::string_view(lines[i + 8]).data());
        writer.write(std::string_view(lines[i]));
        if (i + 1 < count || finalBreak) writer.write("\r\n");
    }
    writer.flush();
}

}  // namespace tabulo::textops
