// Token scanning and escape sequences of the pattern language.
#include "regex/re_scanner.h"

#include <utility>

#include "regex/re_error.h"

namespace tabulo::regex {

namespace {

int hexValue(Code c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

TREScanner::TREScanner(std::string text) : m_text(std::move(text)) {}

void TREScanner::setText(std::string text) {
    m_text = std::move(text);
    m_pos = 1;
    m_kind = TokenKind::End;
    m_inClass = false;
}

void TREScanner::fail(const char* message) const { throw ERegExpParser(message, m_pos); }

bool TREScanner::readChar(Code& code) {
    if (m_pos > m_text.size()) {
        m_lastLength = 0;
        return false;
    }
    const auto b = static_cast<unsigned char>(m_text[m_pos - 1]);
    if (isLeadByte(b)) {
        if (m_pos == m_text.size()) fail(messages::kBadDoubleByte);
        code = static_cast<Code>(b << 8 | static_cast<unsigned char>(m_text[m_pos]));
        m_pos += 2;
        m_lastLength = 2;
    } else {
        code = b;
        m_pos += 1;
        m_lastLength = 1;
    }
    return true;
}

Code TREScanner::readEscape() {
    Code c = 0;
    if (!readChar(c)) fail(messages::kBackslashAtEnd);
    switch (c) {
    case 'b': return 8;
    case 'n': return 10;
    case 'r': return 13;
    case 't': return 9;
    case 'x': {
        unsigned value = 0;
        int digits = 0;
        Code d = 0;
        while (digits < 4 && readChar(d)) {
            const int v = hexValue(d);
            if (v < 0) {
                stepBack(m_lastLength);
                break;
            }
            value = value * 16 + static_cast<unsigned>(v);
            ++digits;
        }
        if (digits == 0) fail(messages::kBadHex);
        return static_cast<Code>(value);
    }
    default: break;
    }
    if (c >= '0' && c <= '7') {
        unsigned value = c - '0';
        int digits = 1;
        Code d = 0;
        while (digits < 6 && readChar(d)) {
            if (d < '0' || d > '7') {
                stepBack(m_lastLength);
                break;
            }
            value = value * 8 + (d - '0');
            if (value > 0xFFFF) fail(messages::kBadOctal);
            ++digits;
        }
        return static_cast<Code>(value);
    }
    return c;
}

TokenKind TREScanner::next() {
    m_kind = m_inClass ? scanInsideClass() : scanOutsideClass();
    return m_kind;
}

TokenKind TREScanner::scanOutsideClass() {
    Code c = 0;
    if (!readChar(c)) return TokenKind::End;
    m_code = c;
    switch (c) {
    case '$': return TokenKind::LineTail;
    case '(': return TokenKind::GroupOpen;
    case ')': return TokenKind::GroupClose;
    case '*': return TokenKind::Star;
    case '+': return TokenKind::Plus;
    case '.': return TokenKind::AnyChar;
    case '?': return TokenKind::Question;
    case ']': return TokenKind::ClassClose;
    case '^': return TokenKind::LineHead;
    case '|': return TokenKind::Alternation;
    case '[': {
        Code d = 0;
        if (!readChar(d)) fail(messages::kNoRightBracket);
        m_inClass = true;
        if (d == '^') return TokenKind::NegatedClassOpen;
        stepBack(m_lastLength);
        return TokenKind::ClassOpen;
    }
    case '\\':
        m_code = readEscape();
        return TokenKind::Char;
    default:
        return TokenKind::Char;
    }
}

TokenKind TREScanner::scanInsideClass() {
    Code a = 0;
    if (!readChar(a)) fail(messages::kNoRightBracket);
    if (a == ']') {
        m_inClass = false;
        m_code = a;
        return TokenKind::ClassClose;
    }
    if (a == '\\') a = readEscape();
    m_code = a;
    Code b = 0;
    if (!readChar(b)) fail(messages::kNoRightBracket);
    if (b != '-') {
        stepBack(m_lastLength);
        return TokenKind::Char;
    }
    Code c = 0;
    if (!readChar(c)) fail(messages::kNoRightBracket);
    if (c == ']') {
        stepBack(2);  // over the ] and the -, both one byte
        return TokenKind::Char;
    }
    if (c == '\\') c = readEscape();
    if (c < a) fail(messages::kBadRange);
    m_upper = c;
    return TokenKind::Range;
}

}  // namespace tabulo::regex
