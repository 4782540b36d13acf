// Fuzz target of the line calculator: every piece of the input (pieces are
// separated by zero bytes) is set as Expression and executed on one
// evaluator. Each outcome must be valid, invalid, or one of the three
// arithmetic faults, with the evaluator's state as documented; an unchanged
// line run again (from the compiled-line cache) must give the same value;
// and the process-wide symbol table must stay consistent.
#include <cctype>
#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

#include "calc/calc_exception.h"
#include "calc/expr_compo.h"
#include "calc/sym_data.h"
#include "common/fuzz_check.h"

using namespace tabulo::calc;
using tabulo::fuzz::check;

namespace {

bool sameValue(long double a, long double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, 10) == 0;  // the 80 value bits, not the padding
}

bool isLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// The name an assignment line starts with, read by the scanner's rules.
std::string assignedName(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size()) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (std::isalnum(c) || c == '_') {
            ++i;
        } else if (i > start && isLead(c) && i + 1 < line.size() &&
                   static_cast<unsigned char>(line[i + 1]) >= 0x40 && static_cast<unsigned char>(line[i + 1]) <= 0xFC) {
            i += 2;
        } else {
            break;
        }
    }
    return std::string(line.substr(start, i - start));
}

void checkSymbol(SymbolTable& table, const TSymData& s, std::string_view line) {
    check(!s.name.empty(), "a symbol has a name", line);
    check(table.find(s.name) == &s, "a symbol is found under its own name, once", line);
    switch (s.kind) {
    case SymKind::Variable:
        check(!s.func1 && !s.func2, "a variable has no routine", line);
        break;
    case SymKind::Function1:
        check(s.func1 && !s.func2, "a one-argument function has exactly its routine", line);
        break;
    case SymKind::Function2:
        check(!s.func1 && s.func2, "a two-argument function has exactly its routine", line);
        break;
    default:
        check(false, "a symbol's kind is 0, 2 or 3", line);
    }
}

struct Outcome {
    bool valid;
    long double value;
    bool isAssign;
};

Outcome outcomeOf(const TExprCompo& e) {
    if (!e.Valid()) return {false, 0, false};
    return {true, e.Value(), e.IsAssign()};
}

void evaluate(TExprCompo& e, std::string_view line) {
    SymbolTable& table = SymbolTable::instance();
    const std::size_t symbolsBefore = table.symbols().size();
    const Outcome before = outcomeOf(e);
    e.SetExpression(line);
    bool faulted = false;
    try {
        e.Execute();
    } catch (const ECalcFault& f) {
        faulted = true;
        const CalcFault k = f.fault();
        check(k == CalcFault::DivisionByZero || k == CalcFault::InvalidOperation || k == CalcFault::Overflow,
              "a fault is one of the three kinds", line);
        check(std::string_view(f.what()) == faultMessage(k), "a fault carries its message", line);
        const Outcome after = outcomeOf(e);
        check(after.valid == before.valid && sameValue(after.value, before.value) && after.isAssign == before.isAssign,
              "a fault leaves the previous outcome", line);
    }
    // Anything else thrown escapes and libFuzzer reports it as a crash.

    if (!faulted) {
        if (!e.Valid()) {
            try {
                (void)e.Value();
                check(false, "reading Value of an invalid line throws", line);
            } catch (const ECalcFault&) {
                check(false, "reading Value throws the misuse error, not a fault", line);
            } catch (const ECalcException& x) {
                check(std::string_view(x.what()) == kNoValidValueMessage, "the misuse error has its message", line);
            }
        } else if (e.IsAssign()) {
            const TSymData* v = table.find(assignedName(line));
            check(v && v->kind == SymKind::Variable, "an assignment names a variable", line);
            check(sameValue(v->value, e.Value()), "an assignment stores its value", line);
        } else {
            // A plain expression changes no variable, so running it again
            // (now from the compiled-line cache) must give the same value.
            const long double first = e.Value();
            e.Execute();
            check(e.Valid() && !e.IsAssign() && sameValue(e.Value(), first), "a cached line gives the same value",
                  line);
        }
    }

    const auto& symbols = table.symbols();
    static const char* const kBuiltins[] = {"SIN", "COS",    "TAN",    "LN",     "EXP",   "SQR",
                                            "SQRT", "ARCSIN", "ARCCOS", "ARCTAN", "LOG10", "POWER"};
    for (std::size_t i = 0; i < std::size(kBuiltins); ++i) {
        check(symbols[i].name == kBuiltins[i] && symbols[i].kind == (i == 11 ? SymKind::Function2 : SymKind::Function1),
              "the built-in functions stay as registered", line);
        checkSymbol(table, symbols[i], line);
    }
    for (std::size_t i = symbolsBefore; i < symbols.size(); ++i) {
        check(symbols[i].kind == SymKind::Variable, "scanning creates only variables", line);
        checkSymbol(table, symbols[i], line);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    TExprCompo e;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = input.find('\0', start);
        evaluate(e, input.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return 0;
}
