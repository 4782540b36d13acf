// File search: scanner choice and the three scanners.
#include "regex/grep.h"

#include "regex/byte_scan.h"
#include "regex/dictionary.h"

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

// True when some transition reads a line feed or a carriage return; such
// patterns need the text with CR LF turned into a single line feed.
bool readsLineBreaks(const TRE_DFA& a) {
    for (std::size_t s = 0; s < a.stateCount(); ++s) {
        for (const DfaTransition& t : a.transitions(static_cast<int>(s))) {
            if (t.range.lo <= '\r' && '\n' <= t.range.hi) return true;
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
    m_everyLine = false;
    m_keepCrLf = !readsLineBreaks(a);
    if (detail::LineSearch::crossesLines(a)) {
        m_scanner = Scanner::Walk;
        m_keepCrLf = false;
        return;
    }
    if (a.isLiteral() && searchableAsBytes(a.literalCodes())) {
        m_scanner = Scanner::Literal;
        if (!a.literal().empty()) m_literal = std::make_unique<detail::LiteralFinder>(a.literal());
        return;
    }
    m_scanner = Scanner::Lines;
    const int afterLf = a.next(a.initial(), '\n');
    m_everyLine = afterLf != TRE_DFA::kNone && a.accepts(afterLf);
}

void TGrep::GrepFile(const std::string& path) {
    if (!m_onMatch) return;
    m_cancel = false;
    TTxtFile file(path, m_cancel, m_pump, m_blockSize, m_keepCrLf);
    try {
        switch (m_scanner) {
        case Scanner::Literal: scanLiteral(file); break;
        case Scanner::Lines: scanLines(file); break;
        case Scanner::Walk: scanWalk(file); break;
        }
    } catch (const EEndOfFile&) {
        // The normal end of every search.
    }
}

void TGrep::report(TTxtFile& file, std::size_t pos, std::size_t& lineEnd) {
    const RE_LineInfo_t hit = file.fetchLine(pos, lineEnd);
    m_onMatch(*this, hit);
}

// Each block read leaves whole lines in [0, end); the line feed at end - 1
// stays as index 0 for the next round, where it starts the next line.
void TGrep::scanLiteral(TTxtFile& file) {
    if (!m_literal) return;
    for (;;) {
        file.readBlock();
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
    if (!m_everyLine && !m_search) m_search = std::make_unique<detail::LineSearch>(dfa());
    for (;;) {
        file.readBlock();
        const std::size_t end = file.completeEnd();
        std::size_t pos = 0;
        while (pos < end) {
            const auto* buf = reinterpret_cast<const unsigned char*>(file.data());
            std::size_t hit = 0;
            if (m_everyLine) {
                hit = pos + 1;
                if (hit >= end) break;
            } else {
                hit = static_cast<std::size_t>(m_search->scan(buf, buf + pos, buf + end) - buf);
                if (hit >= end) break;
            }
            report(file, hit, pos);
        }
        file.discardBefore(end - 1);
    }
}

// A walk from every character start, reading on into following blocks while
// the walk is alive. A walk that reaches the end of the file unmatched ends
// only itself, not the search.
void TGrep::scanWalk(TTxtFile& file) {
    const TRE_DFA& a = dfa();
    std::size_t p = 0;
    for (;;) {
        if (!file.ensure(p)) return;
        if (p > file.blockSize() && file.data()[p] == '\n') {
            file.discardBefore(p);
            p = 0;
        }
        const auto [code, length] = file.charAt(p);
        int state = a.next(a.initial(), code);
        std::size_t q = p + length;
        bool matched = false;
        while (state != TRE_DFA::kNone) {
            if (a.accepts(state)) {
                matched = true;
                break;
            }
            if (!file.ensure(q)) break;
            const auto [c, len] = file.charAt(q);
            state = a.next(state, c);
            q += len;
        }
        if (!matched) {
            p += length;
            continue;
        }
        std::size_t lineEnd = 0;
        report(file, code == '\n' ? p + 1 : p, lineEnd);
        p = lineEnd;
    }
}

}  // namespace tabulo::regex
