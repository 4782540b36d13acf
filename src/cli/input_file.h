// The one input reader of tabulo-cli: a named file or standard input ("-"),
// read with read(2) in large blocks. LineReader splits it into lines without
// copying them, holding one block and the line in hand, so memory stays
// bounded by the longest line whatever the input's size.
//
// In the command-line tool every byte is data: 0x1A is an ordinary byte, and
// a line ends at CR LF, a lone CR or a lone LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tabulo::cli {

// The longest line the subcommands take, in bytes: a longer one (an endless
// line from /dev/zero) stops the run with exit status 2 instead of growing
// the memory without end. Named in --help and in the manual.
inline constexpr std::size_t kMaxLineBytes = std::size_t{256} << 20;

// The message for a line past limit bytes; `where` says which line.
std::string lineTooLongText(const std::string& where, std::size_t limit = kMaxLineBytes);

class InputFile {
public:
    // "-" is standard input. Throws FileError when the file cannot be opened.
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::string& path() const { return m_path; }

    // Reads up to count bytes; 0 at the end. Throws FileError on a read error
    // (a folder, an I/O error).
    std::size_t read(char* destination, std::size_t count);

    // The whole rest of the input, in one buffer sized once for a regular file.
    // Throws CliError at a line longer than maxLine bytes.
    std::string readAll(std::size_t maxLine = kMaxLineBytes);

private:
    std::string m_path;
    int m_fd;
    bool m_owned;
};

enum class LineBreak { None, CrLf, Cr, Lf };

std::string_view lineBreakBytes(LineBreak lineBreak);

struct Line {
    std::string_view text;  // without its line break; valid until the next call
    LineBreak lineBreak = LineBreak::None;  // None only for a last line without a break
};

class LineReader {
public:
    static constexpr std::size_t kBlockSize = 1 << 20;

    explicit LineReader(InputFile& file, std::size_t blockSize = kBlockSize, std::size_t maxLine = kMaxLineBytes);

    // The next line; false at the end. An empty input has no lines, and
    // "a\r\n" is one line. Throws CliError at a line longer than maxLine
    // bytes, having held at most about that many.
    bool next(Line& line);

private:
    // Reads more bytes behind the held ones; false at the end of the input.
    bool fill();
    std::size_t findBreak(std::size_t from);

    // Throws when the line starting at m_begin has grown past the limit.
    void checkLength(std::size_t lineEnd) const;

    InputFile& m_file;
    std::size_t m_blockSize;
    std::size_t m_maxLine;
    std::size_t m_lineNo = 0;  // lines handed out
    std::string m_buffer;
    std::size_t m_begin = 0;  // first byte not yet handed out
    std::size_t m_end = 0;    // one past the last byte read
    std::size_t m_scanned = 0;  // no break in [m_begin, m_scanned)
    // The next CR and LF at or after m_scanned (m_end: none held), or
    // kUnknown after the held bytes changed.
    static constexpr std::size_t kUnknown = SIZE_MAX;
    std::size_t m_nextLf = kUnknown;
    std::size_t m_nextCr = kUnknown;
    bool m_eof = false;
};

}  // namespace tabulo::cli
