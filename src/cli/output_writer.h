// The one way tabulo-cli writes to standard output (and standard error):
// bytes collect in a large block and go out with write(2), so a run makes few
// system calls however short its lines. A writer for a terminal converts the
// Shift-JIS bytes to UTF-8 on the way, keeping a lead byte that a block cut
// off for the next block.
//
// Failures: EPIPE throws BrokenPipe (the run ends quietly); any other error
// throws WriteError (reported, exit status 2). Nothing is ever dropped
// silently: the destructor does not flush, main() flushes and sees the error.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "cli/text_encodings.h"

namespace tabulo::cli {

class OutputWriter {
public:
    static constexpr std::size_t kBlockSize = 1 << 18;

    // target: the encoding the bytes are written in; the bytes given are
    // Shift-JIS, so Utf8 converts them.
    OutputWriter(int fd, Encoding target);
    OutputWriter(const OutputWriter&) = delete;
    OutputWriter& operator=(const OutputWriter&) = delete;

    void write(std::string_view bytes) {
        if (bytes.size() > kBlockSize - m_block.size()) {
            writeLarge(bytes);
            return;
        }
        m_block.append(bytes);
    }
    void put(char byte) {
        if (m_block.size() == kBlockSize) drain(false);
        m_block.push_back(byte);
    }

    // Writes everything held, a trailing lone lead byte included.
    void flush() { drain(true); }
    // Writes what is held now, for output that must go out as it comes;
    // converting, a lead byte at the end waits for its trail byte.
    void push() { drain(false); }

    Encoding target() const { return m_target; }

private:
    void writeLarge(std::string_view bytes);
    // Writes the block; without atEnd a lead byte at its end stays for the
    // next block when converting.
    void drain(bool atEnd);

    int m_fd;
    Encoding m_target;
    std::string m_block;
};

// Writes bytes to a file descriptor in full, retrying after signals; throws
// as OutputWriter does.
void writeFully(int fd, std::string_view bytes);

}  // namespace tabulo::cli
