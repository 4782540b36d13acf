// The result format: 15 significant digits, fixed notation for decimal
// exponents -3..15 and scientific notation outside, across both boundaries,
// with rounding, negatives and the ends of the long double range; and the
// evaluator reading the format back.
#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <string>

#include "calc/expr_compo.h"
#include "calc/result_format.h"

namespace tabulo::calc {
namespace {

struct FormatCase {
    long double value;
    const char* text;
};

TEST(ResultFormat, FixedAndScientific) {
    const long double pi = 3.141592653589793238462643383279502884L;
    const FormatCase cases[] = {
        {0, "0"},
        {7, "7"},
        {100, "100"},
        {1234.5L, "1234.5"},
        {pi, "3.14159265358979"},
        {1.0L / 3, "0.333333333333333"},
        {2.0L / 3, "0.666666666666667"},
        {0.1L + 0.2L, "0.3"},
        {0.1 + 0.2, "0.3"},  // the double sum 0.30000000000000004 rounds away too
        {pi * 144, "452.38934211693"},
        // Upper boundary: 15 integer digits stay fixed, 16 go scientific.
        {999999999999999.0L, "999999999999999"},
        {100000000000000.0L, "100000000000000"},
        {123456789012345.6L, "123456789012346"},
        {1e15L, "1E15"},
        {999999999999999.6L, "1E15"},  // rounding carries into the next exponent
        {1234567890123456.0L, "1.23456789012346E15"},
        {123456789012345678.0L, "1.23456789012346E17"},
        {1e20L, "1E20"},
        // Lower boundary: E = -3 is fixed, E = -4 scientific.
        {0.001L, "0.001"},
        {0.0001L, "0.0001"},
        {0.000123L, "0.000123"},
        {0.000999999999999999L, "0.000999999999999999"},
        {0.0009999999999999999L, "0.001"},
        {0.00001L, "1E-5"},
        {0.0000123L, "1.23E-5"},
        {1.5e-7L, "1.5E-7"},
        // Negatives.
        {-7, "-7"},
        {-0.5L, "-0.5"},
        {-1.0L / 3, "-0.333333333333333"},
        {-1e20L, "-1E20"},
        {-1.5e-7L, "-1.5E-7"},
        // The ends of the range.
        {LDBL_MAX, "1.18973149535723E4932"},
        {-LDBL_MAX, "-1.18973149535723E4932"},
        {LDBL_MIN, "3.36210314311209E-4932"},
        {LDBL_TRUE_MIN, "3.64519953188247E-4951"},
        // Values the evaluator never returns still get a text.
        {INFINITY, "INF"},
        {-INFINITY, "-INF"},
        {NAN, "NAN"},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(formatResult(c.value), c.text) << static_cast<double>(c.value);
    }
}

TEST(ResultFormat, EvaluatorReadsTheFormatBack) {
    // Every text with a fractional part or in fixed notation reads back to the
    // same 15 digits; a scientific text without fractional digits ("1E-5") is
    // not a number to the scanner.
    TExprCompo calc;
    const long double values[] = {1.0L / 3, -2.0L / 3, 452.38934211693L, 1.5e-7L, 123456789012345678.0L,
                                  999999999999999.0L, 0.000123L, -1.23456789e-300L, 6.02214076e23L};
    for (const long double v : values) {
        const std::string text = formatResult(v);
        calc.SetExpression(text);
        calc.Execute();
        ASSERT_TRUE(calc.Valid()) << text;
        EXPECT_EQ(formatResult(calc.Value()), text);
    }
    calc.SetExpression(formatResult(0.00001L));
    calc.Execute();
    EXPECT_FALSE(calc.Valid());
}

TEST(ResultFormat, IndependentOfTheDecimalMarkOfTheLocale) {
    const char* const commaLocales[] = {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "fr_FR"};
    const char* found = nullptr;
    for (const char* name : commaLocales) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            found = name;
            break;
        }
    }
    if (found == nullptr) GTEST_SKIP() << "no locale with a decimal comma is installed";
    TExprCompo calc;
    calc.SetExpression("1.25 * 1234567890123456789012345678.5");
    calc.Execute();
    const std::string text = calc.Valid() ? formatResult(calc.Value()) : "invalid";
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(text, "1.54320986265432E27");
    EXPECT_EQ(formatResult(0.5L), "0.5");
}

}  // namespace
}  // namespace tabulo::calc
