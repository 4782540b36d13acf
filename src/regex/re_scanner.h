// TREScanner cuts a pattern into tokens: ordinary characters (escapes
// resolved to their codes), class ranges and the metacharacters. Inside a
// bracket class only ], ranges and escapes are special. Positions are 1-based
// byte positions of the next unread byte, as error reports show them.
#pragma once

#include <cstddef>
#include <string>

#include "regex/sjis.h"

namespace tabulo::regex {

enum class TokenKind {
    Char = 0,
    Range = 1,
    Alternation = 2,
    GroupOpen = 3,
    GroupClose = 4,
    Star = 5,
    Plus = 6,
    Question = 7,
    ClassOpen = 8,
    NegatedClassOpen = 9,
    ClassClose = 10,
    AnyChar = 11,
    LineHead = 12,
    LineTail = 13,
    End = 14,
};

class TREScanner {
public:
    explicit TREScanner(std::string text = {});

    void setText(std::string text);

    // Reads the next token; kind(), code() and upperCode() describe it.
    TokenKind next();

    TokenKind kind() const { return m_kind; }
    Code code() const { return m_code; }
    Code upperCode() const { return m_upper; }
    std::size_t position() const { return m_pos; }

    // Reads one character; false at the end of the text. A lead byte that is
    // the last byte raises the double-byte error at its own position.
    bool readChar(Code& code);
    // Steps back over the character just read (its byte length given).
    void stepBack(std::size_t bytes) { m_pos -= bytes; }
    void skip(std::size_t bytes) { m_pos += bytes; }

    // Reads the escape sequence after a backslash (the backslash already read)
    // and returns its code.
    Code readEscape();

private:
    TokenKind scanOutsideClass();
    TokenKind scanInsideClass();
    [[noreturn]] void fail(const char* message) const;

    std::string m_text;
    std::size_t m_pos = 1;
    std::size_t m_lastLength = 0;
    TokenKind m_kind = TokenKind::End;
    Code m_code = 0;
    Code m_upper = 0;
    bool m_inClass = false;
};

}  // namespace tabulo::regex
