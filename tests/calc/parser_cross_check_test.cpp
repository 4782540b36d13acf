// Cross-check of the table-driven parser against a small recursive-descent
// reference for the operator part of the language (numbers, + - * / **,
// signs, parentheses): random token soups must be accepted or rejected alike,
// and random well-formed lines must give the same value bit for bit, or the
// same fault, because both evaluate in the same order with the same
// arithmetic. This catches precedence, associativity and sign mistakes in the
// tables that single examples miss.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "calc/arithmetic.h"
#include "calc/calc_exception.h"
#include "calc/expr_compo.h"

namespace tabulo::calc {
namespace {

// Precedence climbing over whitespace-separated tokens:
//   line := expr END; expr := term (("+"|"-") term)*; term := pow (("*"|"/") pow)*
//   pow := unary ("**" unary)*; unary := ("+"|"-") primary | primary
//   primary := NUM | "(" expr ")"
// It builds a tree first, so a syntax error is found before any arithmetic.
class Reference {
public:
    struct Node {
        std::string op;  // "num", "neg", "pos" or a binary operator
        long double number = 0;
        std::unique_ptr<Node> left, right;
    };

    explicit Reference(const std::vector<std::string>& tokens) : m_tokens(tokens) {}

    std::unique_ptr<Node> parseLine() {
        auto tree = expr();
        if (!tree || m_pos != m_tokens.size()) return nullptr;
        return tree;
    }

    static long double evaluate(const Node& n) {
        if (n.op == "num") return n.number;
        if (n.op == "pos") return evaluate(*n.left);
        if (n.op == "neg") return -evaluate(*n.left);
        const long double a = evaluate(*n.left);
        const long double b = evaluate(*n.right);
        if (n.op == "+") return detail::calcAdd(a, b);
        if (n.op == "-") return detail::calcSub(a, b);
        if (n.op == "*") return detail::calcMul(a, b);
        if (n.op == "/") return detail::calcDiv(a, b);
        return detail::calcPower(a, b);
    }

private:
    bool at(const char* t) const { return m_pos < m_tokens.size() && m_tokens[m_pos] == t; }

    using Parse = std::unique_ptr<Node> (Reference::*)();
    std::unique_ptr<Node> binaryLevel(Parse operand, std::initializer_list<const char*> ops) {
        auto left = (this->*operand)();
        while (left) {
            const char* found = nullptr;
            for (const char* op : ops) {
                if (at(op)) found = op;
            }
            if (found == nullptr) break;
            ++m_pos;
            auto right = (this->*operand)();
            if (!right) return nullptr;
            auto node = std::make_unique<Node>();
            node->op = found;
            node->left = std::move(left);
            node->right = std::move(right);
            left = std::move(node);
        }
        return left;
    }
    std::unique_ptr<Node> expr() { return binaryLevel(&Reference::term, {"+", "-"}); }
    std::unique_ptr<Node> term() { return binaryLevel(&Reference::power, {"*", "/"}); }
    std::unique_ptr<Node> power() { return binaryLevel(&Reference::unary, {"**"}); }
    std::unique_ptr<Node> unary() {
        if (at("+") || at("-")) {
            auto node = std::make_unique<Node>();
            node->op = at("-") ? "neg" : "pos";
            ++m_pos;
            node->left = primary();
            return node->left ? std::move(node) : nullptr;
        }
        return primary();
    }
    std::unique_ptr<Node> primary() {
        if (at("(")) {
            ++m_pos;
            auto inner = expr();
            if (!inner || !at(")")) return nullptr;
            ++m_pos;
            return inner;
        }
        if (m_pos < m_tokens.size() && (std::isdigit(static_cast<unsigned char>(m_tokens[m_pos][0])) ||
                                         m_tokens[m_pos][0] == '.')) {
            auto node = std::make_unique<Node>();
            node->op = "num";
            node->number = std::stold(m_tokens[m_pos++]);
            return node;
        }
        return nullptr;
    }

    const std::vector<std::string>& m_tokens;
    std::size_t m_pos = 0;
};

std::string join(const std::vector<std::string>& tokens) {
    std::string text;
    for (const std::string& t : tokens) text += t + ' ';
    return text;
}

// What a line gives: a value, no value (invalid), or a fault.
struct Result {
    bool valid = false;
    long double value = 0;
    std::optional<CalcFault> fault;
    bool operator==(const Result& o) const {
        return valid == o.valid && fault == o.fault && (!valid || fault || value == o.value);
    }
};

Result referenceResult(const std::vector<std::string>& tokens) {
    Reference reference(tokens);
    const auto tree = reference.parseLine();
    if (!tree) return {};
    try {
        return {true, Reference::evaluate(*tree), std::nullopt};
    } catch (const ECalcFault& e) {
        return {true, 0, e.fault()};
    }
}

Result evaluatorResult(TExprCompo& calc, const std::string& text) {
    calc.SetExpression(text);
    try {
        calc.Execute();
    } catch (const ECalcFault& e) {
        return {true, 0, e.fault()};
    }
    return {calc.Valid(), calc.Valid() ? calc.Value() : 0, std::nullopt};
}

TEST(ParserCrossCheck, TokenSoupsAreAcceptedAlike) {
    // The evaluator runs each action as it reduces, so a soup that is rejected
    // later may fault first ("- 1 ** .5 ) /"); that counts as agreement with a
    // rejection. Everything else must agree exactly.
    const std::vector<std::string> alphabet = {"1", "2", ".5", "+", "-", "*", "/", "**", "(", ")"};
    std::mt19937 random(20261210);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(1, 9);
    TExprCompo calc;
    int accepted = 0;
    for (int i = 0; i < 30000; ++i) {
        std::vector<std::string> tokens(static_cast<std::size_t>(length(random)));
        for (std::string& t : tokens) t = alphabet[pick(random)];
        const Result expected = referenceResult(tokens);
        const Result actual = evaluatorResult(calc, join(tokens));
        if (!expected.valid && actual.fault) continue;
        ASSERT_EQ(actual, expected) << "line: " << join(tokens);
        accepted += expected.valid ? 1 : 0;
    }
    EXPECT_GT(accepted, 1000);  // the soup is not all rejects
}

// A random well-formed line: operands (optionally signed primaries) joined by
// binary operators, primaries nesting up to a depth.
void wellFormed(std::mt19937& random, int depth, std::vector<std::string>& out) {
    static const char* const kOps[] = {"+", "-", "*", "/", "**"};
    static const char* const kNumbers[] = {"1", "2", "3", "7", "9", ".5", "2.5", "10"};
    const int operands = std::uniform_int_distribution<int>(1, 4)(random);
    for (int k = 0; k < operands; ++k) {
        if (k > 0) out.push_back(kOps[random() % 5]);
        const unsigned sign = random() % 4;
        if (sign == 0) out.push_back("-");
        if (sign == 1) out.push_back("+");
        if (depth > 0 && random() % 3 == 0) {
            out.push_back("(");
            wellFormed(random, depth - 1, out);
            out.push_back(")");
        } else {
            out.push_back(kNumbers[random() % 8]);
        }
    }
}

TEST(ParserCrossCheck, WellFormedLinesGiveTheSameValue) {
    std::mt19937 random(777);
    TExprCompo calc;
    int faults = 0;
    for (int i = 0; i < 20000; ++i) {
        std::vector<std::string> tokens;
        wellFormed(random, 3, tokens);
        const Result expected = referenceResult(tokens);
        ASSERT_TRUE(expected.valid) << join(tokens);
        const Result actual = evaluatorResult(calc, join(tokens));
        ASSERT_EQ(actual, expected) << "line: " << join(tokens);
        faults += expected.fault ? 1 : 0;
    }
    EXPECT_GT(faults, 0);  // overflows occur and must match too
}

}  // namespace
}  // namespace tabulo::calc
