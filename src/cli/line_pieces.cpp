// The piece splitter: one scan for the next CR or LF per piece.
#include "cli/line_pieces.h"

#include <cstring>

namespace tabulo::cli {

LinePieceReader::LinePieceReader(InputFile& file, std::size_t blockSize)
    : m_file(file), m_buffer(blockSize + 1, '\0') {}

bool LinePieceReader::fill() {
    if (m_eof) return false;
    // A held CR moves to the front; everything before it was handed out.
    const std::size_t held = m_end - m_begin;
    if (held != 0) std::memmove(m_buffer.data(), m_buffer.data() + m_begin, held);
    m_begin = 0;
    m_end = held;
    // One block behind the CR at most that waits (the buffer's one spare byte).
    const std::size_t n = m_file.read(m_buffer.data() + m_end, m_buffer.size() - 1);
    if (n == 0) m_eof = true;
    m_end += n;
    return n != 0;
}

bool LinePieceReader::next(LinePiece& piece) {
    if (m_begin == m_end && !fill()) {
        if (!m_inLine) return false;
        piece = {{}, true, LineBreak::None};
        m_inLine = false;
        return true;
    }
    const char* start = m_buffer.data() + m_begin;
    const std::size_t available = m_end - m_begin;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', available));
    const std::size_t scan = lf != nullptr ? static_cast<std::size_t>(lf - start) : available;
    const char* cr = static_cast<const char*>(std::memchr(start, '\r', scan));
    if (cr == nullptr && lf == nullptr) {
        piece = {{start, available}, false, LineBreak::None};
        m_begin = m_end;
        m_inLine = true;
        return true;
    }
    if (cr == nullptr) {
        piece = {{start, scan}, true, LineBreak::Lf};
        m_begin += scan + 1;
        m_inLine = false;
        return true;
    }
    const std::size_t at = static_cast<std::size_t>(cr - start);
    if (at + 1 == available && !m_eof) {
        // The CR ends the block: the text before it goes now, the CR waits.
        if (at != 0) {
            piece = {{start, at}, false, LineBreak::None};
            m_begin += at;
            m_inLine = true;
            return true;
        }
        fill();
        return next(piece);
    }
    const bool crLf = at + 1 < available && start[at + 1] == '\n';
    piece = {{start, at}, true, crLf ? LineBreak::CrLf : LineBreak::Cr};
    m_begin += at + (crLf ? 2 : 1);
    m_inLine = false;
    return true;
}

}  // namespace tabulo::cli
