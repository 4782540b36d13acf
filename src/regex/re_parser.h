// TREParser: recursive descent over the scanned tokens of a pattern, with one
// token of look-ahead, building a TREParseTree.
//   alternation := sequence ('|' sequence)*
//   sequence    := repetition* (empty before '|', ')' or the end)
//   repetition  := atom ('*' | '+' | '?')?
#pragma once

#include <string>

#include "regex/re_parse_tree.h"
#include "regex/re_scanner.h"

namespace tabulo::regex {

class TREParser {
public:
    explicit TREParser(std::string pattern);

    // Fills tree() and sets its root; raises ERegExpParser on a bad pattern,
    // and on one beyond the bounds of re_limits.h (length, nesting).
    void parse();
    TREParseTree& tree() { return m_tree; }

private:
    NodeId alternation();
    NodeId sequence();
    NodeId repetition();
    NodeId atom();
    NodeId charClass();
    NodeId negatedClass();
    [[noreturn]] void fail(const char* message) const;
    TokenKind current() const { return m_scanner.kind(); }

    std::size_t m_patternBytes;  // before m_scanner, which takes the pattern
    TREScanner m_scanner;
    TREParseTree m_tree;
    std::size_t m_depth = 0;  // groups open at the current token
};

}  // namespace tabulo::regex
