// The actions of the calculator's grammar as stack-machine operations.
#include "calc/expr_program.h"

#include <utility>

#include "calc/arithmetic.h"

namespace tabulo::calc::detail {

void ValueStack::apply(const Op& op) {
    long double* v = m_values.data();
    switch (op.code) {
    case OpCode::PushNumber: v[m_size++] = op.number; return;
    case OpCode::PushVariable: v[m_size++] = op.symbol->value; return;
    case OpCode::Negate: v[m_size - 1] = -v[m_size - 1]; return;
    case OpCode::Add: v[m_size - 2] = calcAdd(v[m_size - 2], v[m_size - 1]); break;
    case OpCode::Subtract: v[m_size - 2] = calcSub(v[m_size - 2], v[m_size - 1]); break;
    case OpCode::Multiply: v[m_size - 2] = calcMul(v[m_size - 2], v[m_size - 1]); break;
    case OpCode::Divide: v[m_size - 2] = calcDiv(v[m_size - 2], v[m_size - 1]); break;
    case OpCode::Power: v[m_size - 2] = calcPower(v[m_size - 2], v[m_size - 1]); break;
    case OpCode::Call1: v[m_size - 1] = op.symbol->func1(v[m_size - 1]); return;
    case OpCode::Call2: v[m_size - 2] = op.symbol->func2(v[m_size - 2], v[m_size - 1]); break;
    case OpCode::Assign: op.symbol->value = v[m_size - 1]; return;
    }
    --m_size;  // the binary operations leave one value of two
}

}  // namespace tabulo::calc::detail

namespace tabulo::calc::detail {

const CompiledLine* CompiledLineCache::find(std::string_view text) {
    for (std::size_t i = 0; i < m_used; ++i) {
        if (m_slots[i].text == text) {
            promote(i);
            return &m_slots[0];
        }
    }
    return nullptr;
}

void CompiledLineCache::store(std::string_view text, const std::vector<Op>& ops, bool isAssign) {
    if (m_used < kSlots) ++m_used;
    promote(m_used - 1);  // the least recently used slot becomes the first
    CompiledLine& slot = m_slots[0];
    slot.text.assign(text);
    slot.ops.assign(ops.begin(), ops.end());
    slot.isAssign = isAssign;
}

void CompiledLineCache::promote(std::size_t index) {
    for (std::size_t i = index; i > 0; --i) std::swap(m_slots[i], m_slots[i - 1]);
}

}  // namespace tabulo::calc::detail
