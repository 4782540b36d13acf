#include "search/engine/case_fold_pattern.h"

#include <cstdio>

#include "regex/re_scanner.h"

namespace tabulo::search {

namespace {

using regex::Code;
using regex::TokenKind;

bool isUpper(Code c) { return c >= 'A' && c <= 'Z'; }
bool isLower(Code c) { return c >= 'a' && c <= 'z'; }
Code otherCase(Code c) { return isUpper(c) ? c + ('a' - 'A') : c - ('a' - 'A'); }

// Four hex digits always: an escape never runs on into the text after it.
std::string escaped(Code c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%04X", static_cast<unsigned>(c));
    return buf;
}

// The other case of the letters in lo..hi, as class members.
std::string foldedRange(Code lo, Code hi) {
    std::string out;
    const auto add = [&](Code from, Code to, int shift) {
        const Code a = lo > from ? lo : from;
        const Code b = hi < to ? hi : to;
        if (a <= b) out += escaped(static_cast<Code>(a + shift)) + "-" + escaped(static_cast<Code>(b + shift));
    };
    add('A', 'Z', 'a' - 'A');
    add('a', 'z', 'A' - 'a');
    return out;
}

}  // namespace

std::string foldCaseInPattern(const std::string& pattern) {
    regex::TREScanner scanner(pattern);
    std::string out;
    bool inClass = false;
    for (;;) {
        const std::size_t from = scanner.position() - 1;
        const TokenKind kind = scanner.next();
        if (kind == TokenKind::End) break;
        const std::string source = pattern.substr(from, scanner.position() - 1 - from);
        const Code code = scanner.code();
        const bool letter = kind == TokenKind::Char && (isUpper(code) || isLower(code));
        if (!inClass) {
            if (letter) {
                out += '(' + std::string(1, static_cast<char>(code)) + '|' +
                       std::string(1, static_cast<char>(otherCase(code))) + ')';
            } else {
                out += source;
            }
            inClass = kind == TokenKind::ClassOpen || kind == TokenKind::NegatedClassOpen;
            continue;
        }
        out += source;
        if (letter) out += escaped(otherCase(code));
        if (kind == TokenKind::Range) out += foldedRange(code, scanner.upperCode());
        if (kind == TokenKind::ClassClose) inClass = false;
    }
    return out;
}

}  // namespace tabulo::search
