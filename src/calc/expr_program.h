// The compiled form of a calc line: the parser's actions in the order it
// reduced, as a small stack-machine program. The parser runs each action as
// it reduces and records it; running the recorded program again does the same
// arithmetic in the same order, reading the variables' current values, which
// is how an unchanged line is evaluated again without scanning or parsing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calc/sym_data.h"

namespace tabulo::calc::detail {

enum class OpCode : std::uint8_t {
    PushNumber,
    PushVariable,
    Negate,
    Add,
    Subtract,
    Multiply,
    Divide,
    Power,
    Call1,
    Call2,
    Assign,  // stores the top value into the variable; the value stays
};

struct Op {
    OpCode code;
    long double number = 0;      // PushNumber
    TSymData* symbol = nullptr;  // PushVariable, Call1, Call2, Assign
};

// A value stack of fixed capacity; the parser's depth limit bounds its use.
class ValueStack {
public:
    explicit ValueStack(std::size_t capacity) : m_values(capacity) {}
    void clear() { m_size = 0; }
    std::size_t size() const { return m_size; }
    long double top() const { return m_values[m_size - 1]; }

    // Runs one action. Arithmetic faults throw ECalcFault.
    void apply(const Op& op);

private:
    std::vector<long double> m_values;
    std::size_t m_size = 0;
};

struct CompiledLine {
    std::string text;
    std::vector<Op> ops;
    bool isAssign = false;
};

}  // namespace tabulo::calc::detail

namespace tabulo::calc::detail {

// The last few successfully compiled lines, most recently used first. Graph
// sampling alternates an assignment whose number changes with a curve that
// does not, so one slot would never hit; a handful keep the curve. Slots are
// reused in place so that steady use allocates nothing.
class CompiledLineCache {
public:
    static constexpr std::size_t kSlots = 4;
    // Longer lines are not kept: they are not the short lines that graph
    // sampling repeats, and recording them would cost dozens of bytes for
    // every byte of the line.
    static constexpr std::size_t kMaxTextLength = 4096;

    // The compiled form of text, or nullptr.
    const CompiledLine* find(std::string_view text);
    void store(std::string_view text, const std::vector<Op>& ops, bool isAssign);

private:
    void promote(std::size_t index);

    CompiledLine m_slots[kSlots];
    std::size_t m_used = 0;
};

}  // namespace tabulo::calc::detail
