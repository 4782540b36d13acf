// The line calculation without the window: normalising the line, graph tags,
// "^" to "**", the outcome for values and assignments, the predefined
// constants, and the text run behind `tabulo-cli calc`. Shift-JIS bytes are
// written as escapes; the fixture defines the constants afresh for each test,
// so a test that reassigns one does not leak into another.
#include <gtest/gtest.h>

#include <string>

#include "calc/calc_exception.h"
#include "calc/expr_compo.h"
#include "calc/line_calculation.h"
#include "calc/text_calculation.h"

namespace tabulo::calc {
namespace {

using Kind = LineCalcOutcome::Kind;

struct TextCase {
    const char* input;
    const char* expected;
};

TEST(NormaliseCalcText, TrimsBlanksAndRemovesSpaces) {
    const TextCase cases[] = {
        {"  1 + 2 * 3  ", "1+2*3"},
        {"\t\x81\x40 r = 12\x81\x40\t", "r=12"},     // full-width spaces and tabs at the ends
        {"1 000", "1000"},
        {"sin 30", "sin30"},
        {"1\x81\x40+\x81\x40\x32", "1+2"},           // full-width spaces inside
        {" \t a \t ", "a"},
        {"a \t b", "a\tb"},                           // a tab inside stays
        {"", ""},
        {" \t\x81\x40 ", ""},
        {" \x83\x40 ", "\x83\x40"},                   // ァ: its trail byte is 0x40
        {"x\x82\x81\x40", "x\x82\x81\x40"},           // 82 81 is a character; 40 is '@'
        {"\x81\x40\x81\x40x", "x"},
        {"a\x83 b", "a\x83" "b"},                     // a lead byte cannot take a space with it
        {"\x83", "\x83"},                             // a lone lead byte at the end stays
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(normaliseCalcText(c.input), c.expected) << "input: " << c.input;
    }
}

TEST(ReplaceCaretByPower, ReplacesOnlyTheCaretCharacter) {
    const TextCase cases[] = {
        {"2^3", "2**3"},
        {"a^b^c", "a**b**c"},
        {"^", "**"},
        {"2**3", "2**3"},
        {"_\x83\x5e^2", "_\x83\x5e**2"},  // タ is 83 5E
    };
    for (const TextCase& c : cases) EXPECT_EQ(replaceCaretByPower(c.input), c.expected);
}

class LineCalculation : public ::testing::Test {
protected:
    void SetUp() override { defineConstants(m_calc); }
    void TearDown() override { defineConstants(m_calc); }

    LineCalcOutcome calc(const std::string& line) { return calculateLine(m_calc, line); }

    TExprCompo m_calc;
};

struct OutcomeCase {
    const char* line;
    Kind kind;
    const char* normalised;
    const char* result;
};

TEST_F(LineCalculation, ValuesAndRejectedLines) {
    const OutcomeCase cases[] = {
        {"1 + 2 * 3", Kind::Value, "1+2*3", "7"},
        {"2^0.5", Kind::Value, "2**0.5", "1.4142135623731"},
        {"2**0.5", Kind::Value, "2**0.5", "1.4142135623731"},
        {"3 ^ 2", Kind::Value, "3**2", "9"},
        {"1 000", Kind::Value, "1000", "1000"},
        {"sin 30", Kind::Value, "sin30", "0"},  // the unknown variable sin30
        {"\x81\x40\t1 +\t2", Kind::Value, "1+\t2", "3"},
        {"0.1 + 0.2", Kind::Value, "0.1+0.2", "0.3"},
        {"10^15", Kind::Value, "10**15", "1E15"},
        {"PI", Kind::Value, "PI", "3.14159265358979"},
        {"e", Kind::Value, "e", "2.71828182845905"},
        {"c", Kind::Value, "c", "299792458"},
        {"g", Kind::Value, "g", "9.80665"},
        {"deg", Kind::Value, "deg", "0.0174532925199433"},
        {"k", Kind::Value, "k", "273.15"},
        {"hp", Kind::Value, "hp", "101325"},
        {"", Kind::NotExpression, "", ""},
        {" \x81\x40\t", Kind::NotExpression, "", ""},
        {"1 +", Kind::NotExpression, "1+", ""},
        {"[x]1", Kind::NotExpression, "[x]1", ""},
        {"1E-5", Kind::NotExpression, "1E-5", ""},
    };
    for (const OutcomeCase& c : cases) {
        SCOPED_TRACE(c.line);
        const LineCalcOutcome outcome = calc(c.line);
        EXPECT_EQ(outcome.kind, c.kind);
        EXPECT_EQ(outcome.normalised, c.normalised);
        EXPECT_EQ(outcome.resultText, c.result);
        EXPECT_EQ(outcome.graphTag, -1);
    }
}

TEST_F(LineCalculation, AssignmentsAreStoredForLaterLines) {
    LineCalcOutcome outcome = calc("lc_r = 12");
    EXPECT_EQ(outcome.kind, Kind::Assignment);
    EXPECT_EQ(outcome.normalised, "lc_r=12");
    EXPECT_TRUE(outcome.resultText.empty());
    EXPECT_EQ(calc("pi * lc_r^2").resultText, "452.38934211693");

    outcome = calc("lc_a = 2^3");
    EXPECT_EQ(outcome.kind, Kind::Assignment);
    EXPECT_EQ(outcome.normalised, "lc_a=2**3");
    EXPECT_EQ(calc("LC_A").resultText, "8");

    EXPECT_EQ(calc("lc_t\t= 4").normalised, "lc_t\t=4");
    EXPECT_EQ(calc("lc_\x83\x5e = 2^5").normalised, "lc_\x83\x5e=2**5");  // タ survives the ^ rewrite
    EXPECT_EQ(calc("lc_\x83\x5e").resultText, "32");
}

TEST_F(LineCalculation, ConstantsAreOrdinaryVariables) {
    EXPECT_EQ(calc("pi = 3").kind, Kind::Assignment);
    EXPECT_EQ(calc("pi").resultText, "3");
    EXPECT_EQ(calc("deg").resultText, "0.0174532925199433");  // not recomputed
    defineConstants(m_calc);
    EXPECT_EQ(calc("pi").resultText, "3.14159265358979");
}

TEST_F(LineCalculation, GraphTags) {
    const struct {
        const char* line;
        int tag;
        const char* spec;
    } cases[] = {
        {"[g]x^2", 0, "x^2"},
        {"[G]x^2", 0, "x^2"},
        {"  \x81\x40[g] x^2", 0, "x^2"},
        {"[t]2*cos(3*t)^3 , 2*sin(3*t)^3", 1, "2*cos(3*t)^3,2*sin(3*t)^3"},
        {"[R](1/14)^((t-2.8)/14)", 2, "(1/14)^((t-2.8)/14)"},
        {"[g]", 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const LineCalcOutcome outcome = calc(c.line);
        EXPECT_EQ(outcome.kind, Kind::GraphTag);
        EXPECT_EQ(outcome.graphTag, c.tag);
        EXPECT_EQ(outcome.graphSpec, c.spec);
        EXPECT_EQ(outcome.normalised.substr(3), c.spec);
    }
}

TEST_F(LineCalculation, FaultsLeaveTheLineCalculation) {
    try {
        calc("1/0");
        ADD_FAILURE() << "no fault";
    } catch (const ECalcFault& e) {
        EXPECT_EQ(e.fault(), CalcFault::DivisionByZero);
        EXPECT_STREQ(e.what(), "0 による浮動小数点数除算");
    }
    ASSERT_EQ(calc("lc_f = 1").kind, Kind::Assignment);
    EXPECT_THROW(calc("lc_f = sqrt(-1)"), ECalcFault);
    EXPECT_EQ(calc("lc_f").resultText, "1");
}

TEST_F(LineCalculation, TextRunWritesOneLinePerCalcLine) {
    // The converter marks which texts were converted from UTF-8.
    const Utf8ToSjis mark = [](std::string_view utf8) { return "<" + std::string(utf8) + ">"; };
    const std::string input =
        "1 + 2 * 3\r\n"
        "lc2_r = 12\r\n"
        "\r\n"
        "  \x81\x40\t\n"
        "pi * lc2_r^2\r"
        "[g] x^2\n"
        "1/0\n"
        "abc\x83\r"        // a lone lead byte does not swallow the line break
        "1 +\n"
        "2^10\x1a"         // 0x1A ends the text
        "99\n";
    EXPECT_EQ(calculateText(m_calc, input, mark),
              "7\n"
              "lc2_r=12< を記憶しました>\n"
              "452.38934211693\n"
              "<関数 >x^2< をグラフで表しますか？>\n"
              "<0 による浮動小数点数除算>\n"
              "<関数・計算式ではありません>\n"
              "<関数・計算式ではありません>\n"
              "1024\n");
    EXPECT_EQ(calculateText(m_calc, "", mark), "");
    EXPECT_EQ(calculateText(m_calc, "\r\n\n\r", mark), "");
}

}  // namespace
}  // namespace tabulo::calc
