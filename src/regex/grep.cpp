// File search: scanner choice and the three scanners.
#include "regex/grep.h"

#include <string.h>

#include <algorithm>
#include <bit>
#include <cstring>

#include "regex/byte_scan.h"
#include "regex/dictionary.h"
#include "regex/required_code.h"

namespace tabulo::regex {

namespace {

// A literal can be searched for as bytes when its bytes spell exactly its
// characters as text is read, and line feeds occur only at its ends.
bool searchableAsBytes(const std::basic_string<Code>& codes) {
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const Code c = codes[i];
        if (c < 0x100) {
            if (isLeadByte(static_cast<unsigned char>(c))) return false;
            if (c == '\n' && i != 0 && i + 1 != codes.size()) return false;
        } else if (!isLeadByte(static_cast<unsigned char>(c >> 8)) || (c & 0xFF) == '\n') {
            return false;
        }
    }
    return true;
}

// True when the bytes match raw text exactly where they match the reader's
// normalised lines: no line break, and no space (a zero byte reads as one).
bool matchesRawText(const std::string& bytes) {
    return bytes.find_first_of(std::string_view("\n\r \0", 4)) == std::string::npos;
}

// True when some transition reads a line feed or a carriage return; such
// patterns need the text with CR LF turned into a single line feed.
bool readsLineBreaks(const TRE_NFA& nfa) {
    for (std::size_t s = 0; s < nfa.stateCount(); ++s) {
        for (const NfaTransition& t : nfa.transitions(static_cast<int>(s))) {
            if (t.label.lo <= '\r' && '\n' <= t.label.hi) return true;
        }
    }
    return false;
}

}  // namespace

TGrep::TGrep() {
    fuzzyDictionaries().push_back(&fuzzyCharDictionary());
    chooseScanner();
}

TGrep::~TGrep() = default;

void TGrep::SetRegExp(const std::string& pattern) {
    try {
        TRegularExpression::SetRegExp(pattern);
    } catch (...) {
        chooseScanner();
        throw;
    }
    chooseScanner();
}

void TGrep::chooseScanner() {
    const TRE_DFA& a = dfa();
    m_search.reset();
    m_literal.reset();
    m_required.reset();
    m_starts.reset();
    m_startBits = {};
    m_everyLine = false;
    m_finderInRawText = false;
    m_keepCrLf = !readsLineBreaks(a.nfa());
    if (detail::LineSearch::crossesLines(a.nfa())) {
        m_scanner = Scanner::Walk;
        m_keepCrLf = false;
        return;
    }
    if (a.isLiteral() && searchableAsBytes(a.literalCodes())) {
        m_scanner = Scanner::Literal;
        if (!a.literal().empty()) m_literal = std::make_unique<detail::LiteralFinder>(a.literal());
        m_finderInRawText = matchesRawText(a.literal());
        return;
    }
    m_scanner = Scanner::Lines;
    const int afterLf = a.next(a.initial(), '\n');
    m_everyLine = afterLf != TRE_DFA::kNone && a.accepts(afterLf);
    if (const std::vector<Code> required = detail::requiredCodes(a.nfa()); !required.empty() && !m_everyLine) {
        m_required = std::make_unique<detail::CodeSetFinder>(required);
        m_finderInRawText = std::find(required.begin(), required.end(), ' ') == required.end();
    }
}

void TGrep::GrepFile(const std::string& path) {
    if (!m_onMatch) return;
    TFileSource source(path);
    if (scansWholeText()) {
        TWholeText whole;
        if (whole.load(source.descriptor(), m_buffer, m_mapLargeFiles)) {
            m_cancel = false;
            scanWholeText(whole);
            keepBufferSmall();
            return;
        }
    }
    GrepSource(source);
}

// The buffer stays for the next file unless a long line made it large.
void TGrep::keepBufferSmall() {
    if (m_buffer.size() > kKeptBufferBytes) std::vector<char>().swap(m_buffer);
}

void TGrep::GrepSource(TTextSource& source) {
    if (!m_onMatch) return;
    m_cancel = false;
    struct KeepSmallBuffer {
        TGrep& grep;
        ~KeepSmallBuffer() { grep.keepBufferSmall(); }
    } keepSmall{*this};
    TTxtFile file(source, m_buffer, m_cancel, m_pump, m_blockSize, m_keepCrLf);
    try {
        switch (m_scanner) {
        case Scanner::Literal: scanLiteral(file); break;
        case Scanner::Lines: scanLines(file); break;
        case Scanner::Walk: scanWalk(file); break;
        }
    } catch (const EEndOfFile&) {
        // A line asked for past the end of the text: the search is over.
    }
}

void TGrep::report(TTxtFile& file, std::size_t pos, std::size_t& lineEnd) {
    RE_LineInfo_t hit = file.fetchLine(pos, lineEnd);
    if (!m_lineDetails) hit = {};
    m_onMatch(*this, hit);
}

// Each block read leaves whole lines in [0, end); the line feed at end - 1
// stays as index 0 for the next round, where it starts the next line.
void TGrep::scanLiteral(TTxtFile& file) {
    if (!m_literal) return;
    for (;;) {
        if (!file.readBlock()) return;
        const std::size_t end = file.completeEnd();
        std::size_t from = 0;
        for (;;) {
            const auto* buf = reinterpret_cast<const unsigned char*>(file.data());
            const auto p = static_cast<std::size_t>(m_literal->find(buf + from, buf + end) - buf);
            if (p + 1 >= end) break;
            if (!detail::isCharStart(buf, p)) {
                from = p + 1;
                continue;
            }
            std::size_t lineEnd = 0;
            report(file, buf[p] == '\n' ? p + 1 : p, lineEnd);
            from = lineEnd;
        }
        file.discardBefore(end - 1);
    }
}

void TGrep::scanLines(TTxtFile& file) {
    // Built on the first search, not on every pattern change.
    if (!m_everyLine && !m_search) {
        m_search = std::make_unique<detail::LineSearch>(dfa().nfa(), detail::LineSearch::Mode::StopAtMatch);
    }
    const std::function<void()> pace = [&file] { file.letEventsRunIfDue(); };
    for (;;) {
        if (!file.readBlock()) return;
        const std::size_t end = file.completeEnd();
        std::size_t pos = 0;
        while (pos < end) {
            const auto* buf = reinterpret_cast<const unsigned char*>(file.data());
            std::size_t hit = 0;
            if (m_everyLine) {
                hit = pos + 1;
                if (hit >= end) break;
            } else if (m_required) {
                hit = scanRequired(buf, pos, end, pace);
                if (hit >= end) break;
            } else {
                hit = static_cast<std::size_t>(m_search->scan(buf, buf + pos, buf + end, pace) - buf);
                if (hit >= end) break;
            }
            report(file, hit, pos);
        }
        file.discardBefore(end - 1);
    }
}

// The automaton runs only over lines holding the character every match
// needs, from the line feed in front of each; pos is a line feed.
std::size_t TGrep::scanRequired(const unsigned char* buf, std::size_t pos, std::size_t end,
                                const std::function<void()>& pace) {
    std::size_t from = pos + 1;
    for (;;) {
        const auto q = static_cast<std::size_t>(m_required->find(buf + from, buf + end) - buf);
        if (q == end) return end;
        if (!detail::isCharStart(buf, q)) {
            from = q + 1;
            continue;
        }
        const auto* lineFeed = static_cast<const unsigned char*>(::memrchr(buf + pos, '\n', q - pos));
        const auto* lineEnd = static_cast<const unsigned char*>(std::memchr(buf + q, '\n', end - q)) + 1;
        const auto hit = static_cast<std::size_t>(m_search->scan(buf, lineFeed, lineEnd, pace) - buf);
        if (hit < static_cast<std::size_t>(lineEnd - buf)) return hit;
        from = static_cast<std::size_t>(lineEnd - buf);
        pos = from - 1;
    }
}

// Segments of text in which every match that starts also ends are cut by
// the search automaton going on through matches; a segment in which a match
// ended is handed to the backward pass, which finds the starts. The reader
// keeps the text from the line of the current segment's start on.
void TGrep::scanWalk(TTxtFile& file) {
    if (!m_search) {
        m_search = std::make_unique<detail::LineSearch>(dfa().nfa(), detail::LineSearch::Mode::GoOn);
        m_starts = std::make_unique<detail::MatchStarts>(dfa().nfa());
    }
    detail::LineSearch::Segments where;
    std::size_t p = 0;
    std::size_t reported = 0;  // starts before this index are in lines already reported
    while (file.ensure(p)) {
        const auto* buf = reinterpret_cast<const unsigned char*>(file.data());
        p = m_search->scanSegments(buf, p, std::min(file.size(), p + detail::LineSearch::kPaceBytes), where);
        if (where.matched && where.state == 0) {
            reportStarts(file, where.start, p, reported);
            where.matched = false;
            where.start = p;
        }
        file.letEventsRunIfDue();
        const std::size_t keep = std::min(where.start, file.size() - 1);
        const auto* lf = static_cast<const char*>(::memrchr(file.data(), '\n', keep + 1));
        const auto discard = static_cast<std::size_t>(lf - file.data());
        if (discard > file.blockSize()) {
            file.discardBefore(discard);
            p -= discard;
            where.start -= discard;
            reported = reported > discard ? reported - discard : 0;
        }
    }
    // Attempts still alive at the end of the file end unmatched there.
    if (where.matched) reportStarts(file, where.start, file.size(), reported);
}

void TGrep::reportStarts(TTxtFile& file, std::size_t from, std::size_t to, std::size_t& reported) {
    m_starts->find(reinterpret_cast<const unsigned char*>(file.data()), from, to, m_startBits,
                   [&file] { file.letEventsRunIfDue(); });
    for (std::size_t w = 0; w < m_startBits.size(); ++w) {
        for (std::uint64_t bits = m_startBits[w]; bits; bits &= bits - 1) {
            const std::size_t start = from + w * 64 + static_cast<std::size_t>(std::countr_zero(bits));
            if (start < reported) continue;
            // A match starting on the line feed in front of a line is that line's.
            const std::size_t pos = file.data()[start] == '\n' ? start + 1 : start;
            report(file, pos, reported);
        }
    }
}

}  // namespace tabulo::regex
