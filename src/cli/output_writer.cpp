// Block output with the terminal conversion at the block edges.
#include "cli/output_writer.h"
#include "sjis/sjis_char.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "cli/cli_error.h"
#include "sjis/sjis_codec.h"

namespace tabulo::cli {

namespace {

// The length of the longest prefix of bytes that ends on a character
// boundary: a lead byte in the last place waits for its trail byte.
std::size_t completeCharacters(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        if (!sjis::isLeadByte(static_cast<unsigned char>(bytes[pos]))) {
            ++pos;
        } else if (pos + 1 < bytes.size()) {
            pos += 2;
        } else {
            break;
        }
    }
    return pos;
}

}  // namespace

void writeFully(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EPIPE) throw BrokenPipe();
            throw WriteError(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

OutputWriter::OutputWriter(int fd, Encoding target) : m_fd(fd), m_target(target) {
    m_block.reserve(kBlockSize);
}

void OutputWriter::writeLarge(std::string_view bytes) {
    if (m_target == Encoding::Utf8) {
        // Conversion works block by block.
        while (!bytes.empty()) {
            const std::size_t room = kBlockSize - m_block.size();
            const std::size_t take = std::min(room, bytes.size());
            m_block.append(bytes.substr(0, take));
            bytes.remove_prefix(take);
            if (m_block.size() == kBlockSize) drain(false);
        }
        return;
    }
    drain(true);
    writeFully(m_fd, bytes);
}

void OutputWriter::drain(bool atEnd) {
    if (m_target == Encoding::ShiftJis) {
        writeFully(m_fd, m_block);
        m_block.clear();
        return;
    }
    const std::size_t complete = atEnd ? m_block.size() : completeCharacters(m_block);
    writeFully(m_fd, sjis::SjisCodec::instance().toUtf8(std::string_view(m_block).substr(0, complete)));
    m_block.erase(0, complete);
}

}  // namespace tabulo::cli
