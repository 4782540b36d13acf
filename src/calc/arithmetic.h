// The calculator's arithmetic on long double with the faults of a trapping
// floating-point unit made explicit: a division by zero, an invalid operation
// (a NaN result) and an overflow (an infinite result from finite operands)
// throw ECalcFault; underflow is silent. Holds the binary operators, the
// power rule and the built-in functions.
#pragma once

#include <cmath>

#include "calc/calc_exception.h"

namespace tabulo::calc::detail {

// Turns a non-finite result of finite operands into its fault.
inline long double checked(long double r) {
    if (std::isfinite(r)) return r;
    throw ECalcFault(std::isnan(r) ? CalcFault::InvalidOperation : CalcFault::Overflow);
}

inline long double calcAdd(long double a, long double b) { return checked(a + b); }
inline long double calcSub(long double a, long double b) { return checked(a - b); }
inline long double calcMul(long double a, long double b) { return checked(a * b); }

inline long double calcDiv(long double a, long double b) {
    // 0/0 is an invalid operation to the floating-point unit, not a division
    // by zero.
    if (b == 0) throw ECalcFault(a == 0 ? CalcFault::InvalidOperation : CalcFault::DivisionByZero);
    return checked(a / b);
}

// base ** exponent: exponent 0 gives 1, base 0 with a positive exponent 0,
// whole exponents up to 2147483647 in magnitude multiply (so negative bases
// work), everything else is exp(exponent * ln(base)).
long double calcPower(long double base, long double exponent);

long double calcSin(long double x);
long double calcCos(long double x);
long double calcTan(long double x);
long double calcLn(long double x);
long double calcExp(long double x);
long double calcSqr(long double x);
long double calcSqrt(long double x);
long double calcArcSin(long double x);
long double calcArcCos(long double x);
long double calcArcTan(long double x);
long double calcLog10(long double x);

}  // namespace tabulo::calc::detail
