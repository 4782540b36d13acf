// Errors of the line calculator. ECalcException covers misuse of the evaluator
// (reading a result that is not there, registering a bad function);
// ECalcFault is the arithmetic fault that stops an evaluation, with the same
// message texts the window's general error handler shows for such faults.
#pragma once

#include <stdexcept>
#include <string>

namespace tabulo::calc {

class ECalcException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class CalcFault {
    DivisionByZero,
    InvalidOperation,
    Overflow,
};

inline constexpr const char* kNoValidValueMessage = "正常な値が格納されていません。";
inline constexpr const char* kInvalidFunctionMessage = "Invalid Function";

// The message shown for a fault, UTF-8.
inline const char* faultMessage(CalcFault fault) {
    switch (fault) {
    case CalcFault::DivisionByZero: return "0 による浮動小数点数除算";
    case CalcFault::InvalidOperation: return "不正な浮動小数点数演算命令";
    case CalcFault::Overflow: return "浮動小数点数のオーバーフロー";
    }
    return "";
}

class ECalcFault : public ECalcException {
public:
    explicit ECalcFault(CalcFault fault) : ECalcException(faultMessage(fault)), m_fault(fault) {}
    CalcFault fault() const { return m_fault; }

private:
    CalcFault m_fault;
};

}  // namespace tabulo::calc
