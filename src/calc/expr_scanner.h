// The scanner of calc lines: cuts a line into tokens by longest match (blanks
// skipped; numbers; identifiers looked up in, or added to, the symbol table;
// "**"; every other byte a token of its own). Tokens the grammar has no use
// for, such as '^' or a line feed, come back as kUnexpected.
#pragma once

#include <cstddef>
#include <string_view>

#include "calc/parse_tables.h"
#include "calc/sym_data.h"

namespace tabulo::calc::detail {

// A token the parse tables have no column for.
inline constexpr int kUnexpected = kTermCount;

struct Token {
    int term = kUnexpected;  // a Term value, or kUnexpected
    long double number = 0;  // Num
    TSymData* symbol = nullptr;  // Var, Func1, Func2
};

class ExprScanner {
public:
    explicit ExprScanner(std::string_view text) : m_text(text) {}

    // The next token; Term::End at the end of the text. A number too large
    // for a long double throws the overflow fault.
    Token next();

private:
    std::size_t scanNumberEnd(std::size_t pos) const;

    std::string_view m_text;
    std::size_t m_pos = 0;
};

// The value of a number token's text (digits, an optional point and digits,
// an optional exponent), correctly rounded; throws the overflow fault when it
// does not fit.
long double numberValue(std::string_view digits);

}  // namespace tabulo::calc::detail
