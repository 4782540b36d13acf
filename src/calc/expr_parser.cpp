// LALR(1) driver over the generated tables, with the grammar's actions.
#include "calc/expr_parser.h"

#include "calc/expr_scanner.h"
#include "calc/parse_tables.h"

namespace tabulo::calc::detail {

namespace {

enum Rule : int {
    kLineExpr = 1,
    kLineAssign = 2,
    kAdd = 3,
    kSubtract = 4,
    kMultiply = 5,
    kDivide = 6,
    kPower = 7,
    kPlusPrimary = 8,
    kMinusPrimary = 9,
    kExprPrimary = 10,
    kNumber = 11,
    kVariable = 12,
    kParenthesis = 13,
    kCall1 = 14,
    kCall2 = 15,
};

}  // namespace

ExprParser::ExprParser() : m_values(kMaxStates + 1) { m_stack.reserve(kMaxStates); }

ExprParser::Outcome ExprParser::parse(std::string_view text, std::vector<Op>* ops) {
    if (ops != nullptr) ops->clear();
    m_values.clear();
    m_stack.clear();
    m_stack.push_back({0, 0, nullptr});
    ExprScanner scanner(text);
    Token token = scanner.next();
    Outcome outcome;

    const auto act = [&](const Op& op) {
        m_values.apply(op);
        if (ops != nullptr) ops->push_back(op);
    };
    // The entry that is `fromTop` places below the top of the parser stack.
    const auto below = [&](std::size_t fromTop) -> const Entry& {
        return m_stack[m_stack.size() - 1 - fromTop];
    };

    while (true) {
        if (token.term == kUnexpected) return outcome;
        const int action = kAction[m_stack.back().state][token.term];
        if (action == 0) return outcome;
        if (action == kAccept) {
            outcome.valid = true;
            outcome.value = m_values.top();
            return outcome;
        }
        if (action > 0) {
            if (m_stack.size() == kMaxStates) return outcome;
            m_stack.push_back({static_cast<std::uint8_t>(action - 1), token.number, token.symbol});
            token = scanner.next();
            continue;
        }
        const int rule = -action;
        switch (rule) {
        case kLineExpr: outcome.isAssign = false; break;
        case kLineAssign:
            act({OpCode::Assign, 0, below(2).symbol});
            outcome.isAssign = true;
            break;
        case kAdd: act({OpCode::Add}); break;
        case kSubtract: act({OpCode::Subtract}); break;
        case kMultiply: act({OpCode::Multiply}); break;
        case kDivide: act({OpCode::Divide}); break;
        case kPower: act({OpCode::Power}); break;
        case kMinusPrimary: act({OpCode::Negate}); break;
        case kNumber: act({OpCode::PushNumber, below(0).number, nullptr}); break;
        case kVariable: act({OpCode::PushVariable, 0, below(0).symbol}); break;
        case kCall1: act({OpCode::Call1, 0, below(3).symbol}); break;
        case kCall2: act({OpCode::Call2, 0, below(5).symbol}); break;
        case kPlusPrimary:
        case kExprPrimary:
        case kParenthesis:
        default: break;  // the value passes through
        }
        m_stack.resize(m_stack.size() - kRules[rule].length);
        const int target = kGoto[m_stack.back().state][static_cast<int>(kRules[rule].lhs)];
        m_stack.push_back({static_cast<std::uint8_t>(target), 0, nullptr});
    }
}

ExprParser::Outcome ExprParser::run(const CompiledLine& line) {
    m_values.clear();
    for (const Op& op : line.ops) m_values.apply(op);
    return {true, line.isAssign, m_values.top()};
}

}  // namespace tabulo::calc::detail
