// The scan over a whole file's own bytes. There a line ends at CR LF, a lone
// CR or a lone LF and a zero byte stands for a space; the finder's bytes
// hold neither, so it meets the raw bytes where it would meet the reader's
// lines, and a hit's line is found, numbered and normalised alone.
#include <algorithm>
#include <cstring>
#include <functional>

#include "regex/grep.h"

#include "regex/byte_scan.h"

namespace tabulo::regex {

namespace {

// Steps of the scan in block sizes: enough to keep the clock reads that
// pace the events rare.
constexpr std::size_t kStepBlocks = 16;

// The start of the line holding p: just behind the last line break in
// [bound, p), or bound, itself a line start.
std::size_t lineStartOf(const unsigned char* text, std::size_t bound, std::size_t p) {
    const void* lf = ::memrchr(text + bound, '\n', p - bound);
    const std::size_t from = lf ? static_cast<std::size_t>(static_cast<const unsigned char*>(lf) - text) + 1 : bound;
    const void* cr = ::memrchr(text + from, '\r', p - from);
    return cr ? static_cast<std::size_t>(static_cast<const unsigned char*>(cr) - text) + 1 : from;
}

}  // namespace

bool TGrep::scansWholeText() const {
    return m_finderInRawText && ((m_scanner == Scanner::Literal && m_literal) || (m_scanner == Scanner::Lines && m_required));
}

void TGrep::scanWholeText(const TWholeText& whole) {
    if (m_scanner == Scanner::Literal) {
        scanWholeText(whole, *m_literal);
    } else {
        scanWholeText(whole, *m_required);
    }
}

// The search automaton over one line, with the line feeds in front of and
// behind it that it reads in the reader's buffer.
bool TGrep::lineMatches(const unsigned char* line, std::size_t size, const std::function<void()>& pace) {
    m_line.assign(1, '\n');
    m_line.append(reinterpret_cast<const char*>(line), size);
    m_line += '\n';
    std::replace(m_line.begin(), m_line.end(), '\0', ' ');
    const auto* buf = reinterpret_cast<const unsigned char*>(m_line.data());
    return m_search->scan(buf, buf, buf + m_line.size(), pace) != buf + m_line.size();
}

// from moves on through the text; sync is a character start at or before
// it, lineStart a line start at or before it, and the line breaks in front
// of counted (a line start) are counted in lineNo. The finder looks at the
// text in steps of a few block sizes, between which events may run.
template <class Finder>
void TGrep::scanWholeText(const TWholeText& whole, const Finder& finder) {
    if (m_scanner == Scanner::Lines && !m_search) {
        m_search = std::make_unique<detail::LineSearch>(dfa().nfa(), detail::LineSearch::Mode::StopAtMatch);
    }
    TEventPacer pacer(m_cancel, m_pump);
    pacer.letEventsRun();
    const std::function<void()> pace = [&pacer] { pacer.letEventsRunIfDue(); };
    const unsigned char* const text = whole.data();
    const std::size_t n = whole.size();
    const std::size_t overlap = finder.size() - 1;
    std::size_t from = 0;
    std::size_t sync = 0;
    std::size_t lineStart = 0;
    std::size_t counted = 0;
    std::size_t lineNo = 1;
    while (from < n) {
        const std::size_t stop = std::min(n, from + kStepBlocks * m_blockSize + overlap);
        const auto p = static_cast<std::size_t>(finder.find(text + from, text + stop) - text);
        if (p == stop) {
            if (stop == n) break;
            from = stop - overlap;
            pacer.letEventsRunIfDue();
            continue;
        }
        if (!detail::isCharStart(text, sync, p)) {
            sync = from = p + 1;
            continue;
        }
        const std::size_t lineEnd = p + detail::findLineBreak(text + p, n - p);
        const bool wantStart = m_lineDetails || m_scanner == Scanner::Lines;
        const std::size_t start = wantStart ? lineStartOf(text, lineStart, p) : 0;
        if (m_scanner == Scanner::Literal || lineMatches(text + start, lineEnd - start, pace)) {
            // No clock read per hit: the steps let events run often enough.
            if (m_cancel) throw EGrepCancel();
            RE_LineInfo_t hit;
            if (m_lineDetails) {
                lineNo += detail::countLineBreaks(text + counted, start - counted);
                counted = start;
                hit.Line.assign(reinterpret_cast<const char*>(text + start), lineEnd - start);
                std::replace(hit.Line.begin(), hit.Line.end(), '\0', ' ');
                hit.LineNo = lineNo;
            }
            m_onMatch(*this, hit);
        }
        const bool crLf = lineEnd + 1 < n && text[lineEnd] == '\r' && text[lineEnd + 1] == '\n';
        sync = from = lineStart = std::min(n, lineEnd + (crLf ? 2 : 1));
    }
    if (m_cancel) throw EGrepCancel();
}

}  // namespace tabulo::regex
