// Block reading, normalisation and line bookkeeping of the grep reader.
#include "regex/txt_file.h"

#include <string.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "regex/byte_scan.h"

namespace tabulo::regex {

TTxtFile::TTxtFile(TTextSource& source, std::vector<char>& buffer, const bool& cancel, std::function<void()> pumpEvents,
                   std::size_t blockSize, bool keepCrLf)
    : m_source(source),
      m_buf(buffer),
      m_blockSize(std::max<std::size_t>(blockSize, 1)),
      m_keepCrLf(keepCrLf),
      m_pacer(cancel, std::move(pumpEvents)) {
    reserve(m_blockSize + 5);
    m_buf[0] = '\n';
    m_size = 1;
}

void TTxtFile::reserve(std::size_t capacity) {
    if (m_buf.size() < capacity) m_buf.resize(std::max(capacity, m_buf.size() * 2));
}

std::size_t TTxtFile::readRaw(char* dst, std::size_t count) {
    return m_source.read(dst, count);
}

// Normalises count raw bytes at index from, writing from m_size on (never
// ahead of the reading point); returns the new size.
std::size_t TTxtFile::normalise(std::size_t from, std::size_t count, bool lastChunk) {
    char* const buf = m_buf.data();
    std::size_t r = from;
    const std::size_t end = from + count;
    std::size_t w = m_size;
    for (char* z = static_cast<char*>(std::memchr(buf + r, 0, count)); z;
         z = static_cast<char*>(std::memchr(z + 1, 0, static_cast<std::size_t>(buf + end - z - 1)))) {
        *z = ' ';
    }
    while (r < end) {
        const char* cr = static_cast<const char*>(std::memchr(buf + r, '\r', end - r));
        const std::size_t stop = cr ? static_cast<std::size_t>(cr - buf) : end;
        if (w != r) std::memmove(buf + w, buf + r, stop - r);
        w += stop - r;
        r = stop;
        if (!cr) break;
        ++r;  // past the CR
        if (r < end) {
            if (buf[r] != '\n') buf[w++] = '\n';
        } else if (lastChunk) {
            buf[w++] = '\n';
        } else {
            m_pendingCR = true;
        }
    }
    return w;
}

// Only same-size substitutions: a lone CR becomes a line feed and a zero byte
// a space. A CR ending the chunk waits for the next one (m_pendingCR).
void TTxtFile::fixInPlace(std::size_t from, std::size_t count, bool lastChunk) {
    auto* p = reinterpret_cast<unsigned char*>(m_buf.data()) + from;
    std::size_t i = 0;
    while ((i += detail::findLoneCrOrZero(p + i, count - i)) < count) {
        if (p[i] == 0) {
            p[i] = ' ';
        } else if (i + 1 < count || lastChunk) {
            p[i] = '\n';
        } else {
            m_pendingCR = true;
        }
        ++i;
    }
}

// Returns whether anything was added or changed.
bool TTxtFile::appendBlockKeepingCrLf() {
    const std::size_t n = readRaw(m_buf.data() + m_size, m_blockSize);
    const bool last = n < m_blockSize;
    bool changed = n > 0;
    if (m_pendingCR) {
        m_pendingCR = false;
        if (n == 0 || m_buf[m_size] != '\n') {
            m_buf[m_size - 1] = '\n';
            changed = true;
        }
    }
    fixInPlace(m_size, n, last);
    m_size += n;
    if (last) {
        m_eof = true;
        if (m_buf[m_size - 1] != '\n') {
            m_buf[m_size++] = '\n';
            changed = true;
        }
    }
    return changed;
}

bool TTxtFile::readBlock() {
    if (m_eof) return false;
    reserve(m_size + m_blockSize + 4);
    if (m_keepCrLf) {
        if (!appendBlockKeepingCrLf()) return false;
        letEventsRun();
        return true;
    }
    // Behind a CR held back from the last block: read one byte further on
    // so its line feed can be written in front.
    const std::size_t from = m_size + (m_pendingCR ? 1 : 0);
    const std::size_t n = readRaw(m_buf.data() + from, m_blockSize);
    const bool last = n < m_blockSize;
    const std::size_t sizeBefore = m_size;
    std::size_t start = from;
    std::size_t count = n;
    if (m_pendingCR) {
        m_pendingCR = false;
        m_buf[m_size++] = '\n';
        if (n > 0 && m_buf[from] == '\n') {
            ++start;
            --count;
        }
    }
    m_size = normalise(start, count, last);
    if (last) {
        m_eof = true;
        if (m_buf[m_size - 1] != '\n') m_buf[m_size++] = '\n';
    }
    if (n == 0 && m_size == sizeBefore) return false;
    letEventsRun();
    return true;
}

void TEventPacer::letEventsRun() {
    if (m_pumpEvents) m_pumpEvents();
    m_eventsRan = std::chrono::steady_clock::now();
    if (m_cancel) throw EGrepCancel();
}

void TEventPacer::letEventsRunIfDue() {
    if (std::chrono::steady_clock::now() - m_eventsRan >= kEventInterval) letEventsRun();
}

bool TTxtFile::ensure(std::size_t i) {
    while (i >= m_size) {
        if (!readBlock()) return false;
    }
    return true;
}

std::size_t TTxtFile::completeEnd() const {
    const void* lf = ::memrchr(m_buf.data(), '\n', m_size);
    return static_cast<std::size_t>(static_cast<const char*>(lf) - m_buf.data()) + 1;
}

void TTxtFile::discardBefore(std::size_t lfIndex) {
    m_firstLineNo = lineNoAt(lfIndex + 1);
    std::memmove(m_buf.data(), m_buf.data() + lfIndex, m_size - lfIndex);
    m_size -= lfIndex;
    m_countPos = 1;
    m_countLines = 0;
}

std::size_t TTxtFile::lineNoAt(std::size_t pos) {
    if (pos < m_countPos) {
        m_countPos = 1;
        m_countLines = 0;
    }
    m_countLines += detail::countLineFeeds(reinterpret_cast<const unsigned char*>(m_buf.data()) + m_countPos,
                                           pos - m_countPos);
    m_countPos = pos;
    return m_firstLineNo + m_countLines;
}

RE_LineInfo_t TTxtFile::fetchLine(std::size_t pos, std::size_t& lineEnd) {
    letEventsRun();
    if (!ensure(pos)) throw EEndOfFile();
    const char* buf = m_buf.data();
    const void* before = ::memrchr(buf, '\n', pos);
    const std::size_t start = static_cast<std::size_t>(static_cast<const char*>(before) - buf) + 1;
    std::size_t end = pos;
    for (;;) {
        buf = m_buf.data();
        if (const void* lf = std::memchr(buf + end, '\n', m_size - end)) {
            end = static_cast<std::size_t>(static_cast<const char*>(lf) - buf);
            break;
        }
        end = m_size;
        if (!ensure(m_size)) throw EEndOfFile();
    }
    lineEnd = end;
    std::size_t textEnd = end;
    while (textEnd > start && m_buf[textEnd - 1] == '\r') --textEnd;
    return {std::string(m_buf.data() + start, textEnd - start), lineNoAt(pos)};
}

}  // namespace tabulo::regex
