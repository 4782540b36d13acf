// The evaluator's outcome, events and reuse of compiled lines.
#include "calc/expr_compo.h"

#include "calc/calc_exception.h"

namespace tabulo::calc {

void TExprCompo::Execute() {
    detail::ExprParser::Outcome outcome;
    if (const detail::CompiledLine* compiled = m_cache.find(m_expression)) {
        outcome = m_parser.run(*compiled);
    } else {
        const bool cacheable = m_expression.size() <= detail::CompiledLineCache::kMaxTextLength;
        outcome = m_parser.parse(m_expression, cacheable ? &m_ops : nullptr);
        // A line that failed is not kept: its actions stopped part-way, and
        // with other variable values it might fault rather than fail.
        if (outcome.valid && cacheable) m_cache.store(m_expression, m_ops, outcome.isAssign);
    }
    m_valid = outcome.valid;
    if (m_valid) {
        m_value = outcome.value;
        m_isAssign = outcome.isAssign;
    }
    if (OnCalcDone) OnCalcDone(*this);
    if (m_valid) {
        if (OnCalcSuccess) OnCalcSuccess(*this);
    } else if (OnCalcError) {
        OnCalcError(*this);
    }
}

bool TExprCompo::IsAssign() const {
    if (!m_valid) throw ECalcException(kNoValidValueMessage);
    return m_isAssign;
}

long double TExprCompo::Value() const {
    if (!m_valid) throw ECalcException(kNoValidValueMessage);
    return m_value;
}

}  // namespace tabulo::calc
