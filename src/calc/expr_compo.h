// TExprCompo, the expression evaluator: set Expression, call Execute, read
// Valid, IsAssign and Value. A line is an arithmetic expression or an
// assignment "name=expression"; variables and functions live in the
// process-wide SymbolTable. Executing the same text again reuses its compiled
// form (graph sampling evaluates one curve thousands of times), while still
// reading the variables' current values.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/expr_parser.h"
#include "calc/expr_program.h"

namespace tabulo::calc {

class TExprCompo {
public:
    using CalcEvent = std::function<void(TExprCompo&)>;

    TExprCompo() = default;

    const std::string& Expression() const { return m_expression; }
    void SetExpression(std::string_view text) { m_expression.assign(text); }

    // Evaluates Expression. Sets Valid to the parse outcome and, when valid,
    // Value and IsAssign; then fires OnCalcDone and OnCalcSuccess or
    // OnCalcError. An arithmetic fault throws ECalcFault; then no event fires
    // and the previous outcome stays.
    void Execute();

    bool Valid() const { return m_valid; }
    // Both throw ECalcException "正常な値が格納されていません。" unless Valid.
    bool IsAssign() const;
    long double Value() const;

    CalcEvent OnCalcDone;
    CalcEvent OnCalcSuccess;
    CalcEvent OnCalcError;

private:
    std::string m_expression;
    bool m_valid = false;
    bool m_isAssign = false;
    long double m_value = 0;

    detail::ExprParser m_parser;
    detail::CompiledLineCache m_cache;
    std::vector<detail::Op> m_ops;  // scratch for the line being parsed
};

}  // namespace tabulo::calc
