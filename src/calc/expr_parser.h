// The table-driven LALR(1) parser of calc lines (tables in parse_tables.h).
// It runs each grammar action the moment it reduces, so arithmetic happens
// left to right as the line is read, and records the actions so that the
// line can be run again without parsing.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "calc/expr_program.h"
#include "calc/sym_data.h"

namespace tabulo::calc::detail {

class ExprParser {
public:
    // The parser's stack holds at most this many states; deeper nesting
    // makes the line invalid.
    static constexpr std::size_t kMaxStates = 1024;

    ExprParser();

    struct Outcome {
        bool valid = false;
        bool isAssign = false;
        long double value = 0;
    };

    // Parses text. On a valid line the actions are in *ops (when ops is not
    // null: a line that will not be run again need not be recorded, which
    // keeps a long line's memory to its text). Arithmetic faults
    // (ECalcFault) leave this function; an assignment is stored only when the
    // whole line has been read.
    Outcome parse(std::string_view text, std::vector<Op>* ops);

    // Runs a program recorded by parse.
    Outcome run(const CompiledLine& line);

private:
    struct Entry {
        std::uint8_t state;
        long double number;
        TSymData* symbol;
    };

    std::vector<Entry> m_stack;
    ValueStack m_values;
};

}  // namespace tabulo::calc::detail
