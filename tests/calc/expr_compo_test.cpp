// The expression evaluator: grammar and precedence, numbers and names,
// assignment, the shared symbol table, built-in functions and the power rule,
// arithmetic faults, the parser's depth limit, events, and evaluating an
// unchanged line again. The symbol table lives for the whole test program,
// so every test that assigns uses names of its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "calc/calc_exception.h"
#include "calc/expr_compo.h"
#include "calc/sym_data.h"

namespace tabulo::calc {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

// The value of a valid line, std::nullopt for an invalid one.
std::optional<long double> evaluate(TExprCompo& calc, const std::string& text) {
    calc.SetExpression(text);
    calc.Execute();
    if (!calc.Valid()) return std::nullopt;
    return calc.Value();
}

std::optional<long double> evaluate(const std::string& text) {
    TExprCompo calc;
    return evaluate(calc, text);
}

void expectValue(const std::string& text, long double expected) {
    SCOPED_TRACE("line: " + text);
    const std::optional<long double> value = evaluate(text);
    ASSERT_TRUE(value.has_value());
    const long double tolerance = 1e-17L * std::max(1.0L, std::fabs(expected));
    EXPECT_LE(std::fabs(*value - expected), tolerance)
        << static_cast<double>(*value) << " vs " << static_cast<double>(expected);
}

struct ValueCase {
    const char* text;
    long double expected;
};

TEST(ExprCompoGrammar, PrecedenceAndGrouping) {
    const ValueCase cases[] = {
        {"1 + 2 * 3", 7},      {"(1 + 2) * 3", 9},   {"2 ** 3 ** 2", 64},      {"-2 ** 2", 4},
        {"2 ** -1", 0.5},      {"10 - 4 - 3", 3},    {"8 / 4 / 2", 1},         {"2 * -3", -6},
        {"2 ** 3 * 2", 16},    {"2 * 3 ** 2", 18},   {"1 - 2 ** 2", -3},       {"-2 ** -2", 0.25},
        {"2 ** -1 ** 2", 0.25}, {"+2", 2},           {"-(1 + 2)", -3},         {"2 * +3", 6},
        {"1 - -1", 2},         {"12 / 3 * 2", 8},    {"2 + 3 * 4 ** 2 - 1", 49}, {"((((7))))", 7},
        {"\t1\t+ 2 ", 3},      {"2**3", 8},
    };
    for (const ValueCase& c : cases) expectValue(c.text, c.expected);
}

TEST(ExprCompoGrammar, Numbers) {
    const ValueCase cases[] = {
        {"1.0e3", 1000},
        {"1.5e3", 1500},
        {"1.5E+3", 1500},
        {".5", 0.5},
        {".5e1", 5},
        {"1.5E-7", 1.5e-7L},
        {"0012", 12},
        {"0.1", 0.1L},
        {"3.14159265358979323846264338327950288", 3.14159265358979323846264338327950288L},
        {"123456789012345678901234567890", 123456789012345678901234567890.0L},
        {"0.000000000000000000000000000000000123", 1.23e-34L},
    };
    for (const ValueCase& c : cases) expectValue(c.text, c.expected);
    // Values are extended reals: 1e-18 survives next to 1.
    EXPECT_GT(*evaluate("(1 + 1.0e-18) - 1"), 0);
}

TEST(ExprCompoGrammar, InvalidLines) {
    const char* const cases[] = {
        "1e3",          // 1 followed by the variable e3
        "5.",           // a number cannot end with a point
        "1E-5",         // 1, e, minus, 5
        "1.5e",         // 1.5 followed by the variable e
        "1.2.3",
        "sin",          // a function name not followed by "("
        "sqrt 9",
        "power(2)",
        "sin(1, 2)",
        "2 ^ 3",
        "a = b = 1",
        "sin = 1",
        "1 = 2",
        "= 1",
        "- - 2",
        "+ - 2",
        "2 ** - - 1",
        "2***3",
        "",
        " \t ",
        "1 +",
        "(1",
        "1)",
        "2 3",
        "unknownCallee(1)",
        "1\n",
        "1\n+ 2",
        "\x82\xa0",      // an identifier cannot start with a double-byte character
        "a\x82",         // a lone lead byte
    };
    for (const char* text : cases) {
        EXPECT_FALSE(evaluate(text).has_value()) << "line: " << text;
    }
    EXPECT_FALSE(evaluate(std::string("1\0+2", 4)).has_value());
}

TEST(ExprCompoBuiltins, FunctionsAndPowerRule) {
    const ValueCase cases[] = {
        {"SQR(3)", 9},
        {"sqrt(9)", 3},
        {"power(2, 10)", 1024},
        {"POWER(2, -2)", 0.25},
        {"arcsin(1) * 2", kPi},
        {"arccos(0) * 2", kPi},
        {"arccos(1)", 0},
        {"arctan(1) * 4", kPi},
        {"Sin(0) + COS(0)", 1},
        {"tan(0)", 0},
        {"ln(exp(2))", 2},
        {"log10(1000)", 3},
        {"exp(0)", 1},
        {"sin(arcsin(0.5))", 0.5},
        {"(-2) ** 3", -8},
        {"(-2) ** -2", 0.25},
        {"0 ** 0", 1},
        {"power(0, 0)", 1},
        {"0 ** 2", 0},
        {"0 ** 0.5", 0},
        {"4 ** 0.5", 2},
        {"2 ** 0.5", 1.41421356237309504880168872420969808L},
        {"(-1) ** 2147483647", -1},
        {"1 ** 3000000000", 1},  // beyond the multiplied range: exp(e * ln(b))
        {"0.5 ** 20000", 0},     // underflow is not an error
        {"exp(-20000)", 0},
        {"sin(1) + 2", 2.841470984807896506652502321630298999L},
    };
    for (const ValueCase& c : cases) expectValue(c.text, c.expected);
}

TEST(ExprCompoSymbols, AssignmentStoresAndCaseIsIgnored) {
    TExprCompo calc;
    calc.SetExpression("r_assign = 12");
    calc.Execute();
    ASSERT_TRUE(calc.Valid());
    EXPECT_TRUE(calc.IsAssign());
    EXPECT_EQ(calc.Value(), 12);

    EXPECT_EQ(evaluate(calc, "r_assign * 2"), 24);
    EXPECT_FALSE(calc.IsAssign());
    EXPECT_EQ(evaluate(calc, "R_ASSIGN * 2"), 24);

    // Another evaluator sees and changes the same variable.
    TExprCompo other;
    EXPECT_EQ(evaluate(other, "R_Assign = R_Assign + 1"), 13);
    EXPECT_EQ(evaluate(calc, "r_assign"), 13);

    // The name keeps the case of its first appearance.
    ASSERT_NE(SymbolTable::instance().find("R_ASSIGN"), nullptr);
    EXPECT_EQ(SymbolTable::instance().find("R_ASSIGN")->name, "r_assign");
}

TEST(ExprCompoSymbols, UnknownNamesAreCreatedAsZero) {
    EXPECT_EQ(SymbolTable::instance().find("never_assigned_u1"), nullptr);
    EXPECT_EQ(evaluate("never_assigned_u1"), 0);
    ASSERT_NE(SymbolTable::instance().find("never_assigned_u1"), nullptr);

    // Also when the line turns out to be invalid.
    EXPECT_FALSE(evaluate("created_by_bad_line_u2 +").has_value());
    EXPECT_NE(SymbolTable::instance().find("created_by_bad_line_u2"), nullptr);
}

TEST(ExprCompoSymbols, AssignmentHappensOnlyForAWholeValidLine) {
    TExprCompo calc;
    ASSERT_TRUE(evaluate(calc, "partial_a = 7").has_value());
    EXPECT_FALSE(evaluate(calc, "partial_a = 5 +").has_value());
    EXPECT_FALSE(evaluate(calc, "partial_a = partial_b = 1").has_value());
    EXPECT_EQ(evaluate(calc, "partial_a"), 7);
    EXPECT_EQ(evaluate(calc, "partial_b"), 0);
    EXPECT_THROW(evaluate(calc, "partial_a = 1 / 0"), ECalcFault);
    EXPECT_EQ(evaluate(calc, "partial_a"), 7);
}

TEST(ExprCompoSymbols, DoubleByteNamesKeepTheirTrailBytes) {
    // ア is 83 41 and ャ is 83 61: only the trail byte differs, by the ASCII
    // case bit. They are different names. タ (83 5E) is a name character too.
    TExprCompo calc;
    ASSERT_TRUE(evaluate(calc, "_\x83\x41 = 1").has_value());
    ASSERT_TRUE(evaluate(calc, "_\x83\x61 = 2").has_value());
    EXPECT_EQ(evaluate(calc, "_\x83\x41"), 1);
    EXPECT_EQ(evaluate(calc, "_\x83\x61"), 2);
    EXPECT_EQ(evaluate(calc, "len\x83\x5e = 3").value_or(-1), 3);
    EXPECT_EQ(evaluate(calc, "LEN\x83\x5e * 2"), 6);
    // A lead byte followed by a byte that cannot trail ends the name there.
    EXPECT_FALSE(evaluate(calc, "abc\x83\x20").has_value());
}

TEST(ExprCompoSymbols, FunctionRegistration) {
    SymbolTable& table = SymbolTable::instance();
    const char* const builtins[] = {"SIN", "COS",    "TAN",    "LN",     "EXP",   "SQR",
                                    "SQRT", "ARCSIN", "ARCCOS", "ARCTAN", "LOG10", "POWER"};
    ASSERT_GE(table.symbols().size(), std::size(builtins));
    for (std::size_t i = 0; i < std::size(builtins); ++i) EXPECT_EQ(table.symbols()[i].name, builtins[i]);

    const auto twice = [](long double x) { return 2 * x; };
    const auto add = [](long double x, long double y) { return x + y; };
    const struct {
        SymKind kind;
        Func1 one;
        Func2 two;
    } bad[] = {
        {SymKind::Variable, twice, nullptr},
        {SymKind::Function1, nullptr, add},
        {SymKind::Function2, twice, nullptr},
        {static_cast<SymKind>(1), twice, add},
    };
    for (const auto& b : bad) {
        try {
            table.registerFunction("bad_function_r1", b.kind, b.one, b.two);
            ADD_FAILURE() << "registration accepted";
        } catch (const ECalcException& e) {
            EXPECT_STREQ(e.what(), "Invalid Function");
        }
    }
    EXPECT_EQ(table.find("bad_function_r1"), nullptr);

    table.registerFunction("TWICE_R2", SymKind::Function1, twice, nullptr);
    table.registerFunction("ADD_R3", SymKind::Function2, nullptr, add);
    EXPECT_EQ(evaluate("twice_r2(4) + add_r3(1, 2)"), 11);
    // An existing name is left as it is.
    table.registerFunction("sin", SymKind::Function1, twice, nullptr);
    EXPECT_EQ(evaluate("sin(0)"), 0);
}

struct FaultCase {
    const char* text;
    CalcFault fault;
};

TEST(ExprCompoFaults, FaultsThrowWithTheirMessages) {
    const FaultCase cases[] = {
        {"1 / 0", CalcFault::DivisionByZero},
        {"0 ** -1", CalcFault::DivisionByZero},
        {"ln(0)", CalcFault::DivisionByZero},
        {"log10(0)", CalcFault::DivisionByZero},
        {"0 ** -0.5", CalcFault::DivisionByZero},
        {"1 / 0 +", CalcFault::DivisionByZero},  // reduced before the syntax error is seen
        {"0 / 0", CalcFault::InvalidOperation},
        {"(-8) ** (1 / 3)", CalcFault::InvalidOperation},
        {"power(-8, 0.5)", CalcFault::InvalidOperation},
        {"sqrt(-1)", CalcFault::InvalidOperation},
        {"ln(-1)", CalcFault::InvalidOperation},
        {"log10(-1)", CalcFault::InvalidOperation},
        {"arcsin(2)", CalcFault::InvalidOperation},
        {"arccos(-1.5)", CalcFault::InvalidOperation},
        {"exp(20000)", CalcFault::Overflow},
        {"10 ** 5000", CalcFault::Overflow},
        {"1.0e4000 * 1.0e4000", CalcFault::Overflow},
        {"1.0e5000", CalcFault::Overflow},
        {"SQR(1.0e3000)", CalcFault::Overflow},
        {"2 ** 3000000000", CalcFault::Overflow},
    };
    const std::pair<CalcFault, const char*> messages[] = {
        {CalcFault::DivisionByZero, "0 による浮動小数点数除算"},
        {CalcFault::InvalidOperation, "不正な浮動小数点数演算命令"},
        {CalcFault::Overflow, "浮動小数点数のオーバーフロー"},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            evaluate(c.text);
            ADD_FAILURE() << "no fault";
        } catch (const ECalcFault& e) {
            EXPECT_EQ(e.fault(), c.fault);
            for (const auto& [fault, message] : messages) {
                if (fault == c.fault) {
                    EXPECT_STREQ(e.what(), message);
                }
            }
        }
    }
    // Only a syntax error found before the reduction makes the line invalid.
    EXPECT_FALSE(evaluate("1 / 0 (").has_value());
}

TEST(ExprCompoFaults, FaultKeepsThePreviousOutcome) {
    TExprCompo calc;
    ASSERT_EQ(evaluate(calc, "5"), 5);
    EXPECT_THROW(evaluate(calc, "1 / 0"), ECalcFault);
    EXPECT_TRUE(calc.Valid());
    EXPECT_EQ(calc.Value(), 5);
    EXPECT_FALSE(calc.IsAssign());
}

TEST(ExprCompoOutcome, ReadingAMissingValueThrows) {
    TExprCompo calc;
    EXPECT_FALSE(calc.Valid());
    for (int round = 0; round < 2; ++round) {
        try {
            (void)calc.Value();
            ADD_FAILURE() << "Value readable";
        } catch (const ECalcException& e) {
            EXPECT_STREQ(e.what(), "正常な値が格納されていません。");
        }
        EXPECT_THROW((void)calc.IsAssign(), ECalcException);
        // After a valid line, an invalid one leaves no result behind.
        evaluate(calc, "1");
        evaluate(calc, "1 +");
    }
}

TEST(ExprCompoOutcome, EventsFireInOrderWithTheEvaluator) {
    TExprCompo calc;
    std::vector<std::string> fired;
    const auto record = [&](const char* name) {
        return [&fired, &calc, name](TExprCompo& sender) {
            EXPECT_EQ(&sender, &calc);
            fired.push_back(name);
        };
    };
    calc.OnCalcDone = record("done");
    calc.OnCalcSuccess = record("success");
    calc.OnCalcError = record("error");

    evaluate(calc, "1 + 1");
    EXPECT_EQ(fired, (std::vector<std::string>{"done", "success"}));
    fired.clear();
    evaluate(calc, "1 +");
    EXPECT_EQ(fired, (std::vector<std::string>{"done", "error"}));
    fired.clear();
    EXPECT_THROW(evaluate(calc, "1 / 0"), ECalcFault);
    EXPECT_TRUE(fired.empty());
    // A line run again from its compiled form fires the same events.
    evaluate(calc, "1 + 1");
    EXPECT_EQ(fired, (std::vector<std::string>{"done", "success"}));
}

TEST(ExprCompoLimits, ParserStackHoldsAtMost1024States) {
    const auto nested = [](int depth) {
        return std::string(static_cast<std::size_t>(depth), '(') + "1" +
               std::string(static_cast<std::size_t>(depth), ')');
    };
    // State 0, one per "(", then the inner expr and the ")" on top of them.
    EXPECT_EQ(evaluate(nested(1021)), 1);
    EXPECT_FALSE(evaluate(nested(1022)).has_value());
    EXPECT_FALSE(evaluate(nested(100000)).has_value());

    // A long line that does not nest is evaluated in full.
    std::string sum = "0";
    for (int i = 0; i < 5000; ++i) sum += " + 1";
    EXPECT_EQ(evaluate(sum), 5000);
}

TEST(ExprCompoReuse, UnchangedLineSeesNewVariableValues) {
    TExprCompo calc;
    const std::string curve = "2*sin(reuse_x)+reuse_x**2-3*reuse_x/7";
    for (const long double x : {0.0L, 1.5L, -2.25L, 1.5L}) {
        calc.SetExpression("reuse_x=" + std::to_string(static_cast<double>(x)));
        calc.Execute();
        ASSERT_TRUE(calc.Valid());
        const long double expected = 2 * std::sin(x) + x * x - 3 * x / 7;
        EXPECT_NEAR(static_cast<double>(evaluate(calc, curve).value()), static_cast<double>(expected), 1e-15);
    }

    // An assignment run again assigns again.
    ASSERT_TRUE(evaluate(calc, "reuse_n = 0").has_value());
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(evaluate(calc, "reuse_n = reuse_n + 1"), i);
    EXPECT_TRUE(calc.IsAssign());

    // A compiled line still faults when the values make it fault.
    ASSERT_TRUE(evaluate(calc, "reuse_d = 2").has_value());
    EXPECT_EQ(evaluate(calc, "1 / reuse_d"), 0.5);
    ASSERT_TRUE(evaluate(calc, "reuse_d = 0").has_value());
    EXPECT_THROW(evaluate(calc, "1 / reuse_d"), ECalcFault);
    EXPECT_EQ(calc.Value(), 0);  // the outcome of "reuse_d = 0" stays
    ASSERT_TRUE(evaluate(calc, "reuse_d = 4").has_value());
    EXPECT_EQ(evaluate(calc, "1 / reuse_d"), 0.25);

    // Lines that failed are parsed again, and still fail.
    EXPECT_FALSE(evaluate(calc, "reuse_x +").has_value());
    EXPECT_FALSE(evaluate(calc, "reuse_x +").has_value());
}

TEST(ExprCompoReuse, ManyLinesInTurnKeepTheirOwnResults) {
    TExprCompo calc;
    for (int round = 0; round < 3; ++round) {
        for (int i = 1; i <= 9; ++i) {
            EXPECT_EQ(evaluate(calc, std::to_string(i) + " * 10"), i * 10);
        }
    }
}

}  // namespace
}  // namespace tabulo::calc
