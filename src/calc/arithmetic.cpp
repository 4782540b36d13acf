// Power rule and built-in functions with explicit fault checks.
#include "calc/arithmetic.h"

#include <cstdint>

namespace tabulo::calc::detail {

namespace {

// Binary powering. The base is squared only while exponent bits remain, so
// no square that the result does not use can overflow.
long double wholePower(long double base, std::uint32_t n) {
    long double result = 1;
    while (true) {
        if (n & 1U) result = calcMul(result, base);
        n >>= 1U;
        if (n == 0) return result;
        base = calcMul(base, base);
    }
}

}  // namespace

long double calcPower(long double base, long double exponent) {
    if (exponent == 0) return 1;
    if (base == 0 && exponent > 0) return 0;
    if (exponent == std::trunc(exponent) && std::fabs(exponent) <= 2147483647.0L) {
        const auto n = static_cast<std::int64_t>(exponent);
        if (n > 0) return wholePower(base, static_cast<std::uint32_t>(n));
        return calcDiv(1, wholePower(base, static_cast<std::uint32_t>(-n)));
    }
    return calcExp(calcMul(exponent, calcLn(base)));
}

long double calcSin(long double x) { return checked(std::sin(x)); }
long double calcCos(long double x) { return checked(std::cos(x)); }
long double calcTan(long double x) { return checked(std::tan(x)); }

long double calcLn(long double x) {
    if (x == 0) throw ECalcFault(CalcFault::DivisionByZero);
    if (x < 0) throw ECalcFault(CalcFault::InvalidOperation);
    return std::log(x);
}

long double calcExp(long double x) { return checked(std::exp(x)); }
long double calcSqr(long double x) { return calcMul(x, x); }

long double calcSqrt(long double x) {
    if (x < 0) throw ECalcFault(CalcFault::InvalidOperation);
    return std::sqrt(x);
}

long double calcArcSin(long double x) {
    return checked(std::atan2(x, calcSqrt(calcSub(1, calcMul(x, x)))));
}

long double calcArcCos(long double x) {
    return checked(std::atan2(calcSqrt(calcSub(1, calcMul(x, x))), x));
}

long double calcArcTan(long double x) { return checked(std::atan(x)); }

long double calcLog10(long double x) {
    if (x == 0) throw ECalcFault(CalcFault::DivisionByZero);
    if (x < 0) throw ECalcFault(CalcFault::InvalidOperation);
    return std::log10(x);
}

}  // namespace tabulo::calc::detail
