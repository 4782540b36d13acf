// The process-wide symbol table and the registration of the built-in
// functions in their fixed order.
#include "calc/sym_data.h"

#include "calc/arithmetic.h"
#include "calc/calc_exception.h"
#include "sjis/sjis_char.h"

namespace tabulo::calc {

namespace detail {
namespace {

unsigned char foldAscii(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

}  // namespace

std::size_t FoldedNameHash::operator()(std::string_view name) const {
    std::size_t h = 14695981039346656037ULL;  // FNV-1a
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t len = sjis::charLengthAtCheckingTrail(name, i);
        for (std::size_t k = 0; k < len; ++k) {
            const auto c = static_cast<unsigned char>(name[i + k]);
            h = (h ^ (len == 1 ? foldAscii(c) : c)) * 1099511628211ULL;
        }
        i += len;
    }
    return h;
}

bool FoldedNameEqual::operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t len = sjis::charLengthAtCheckingTrail(a, i);
        if (len == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
        } else if (foldAscii(static_cast<unsigned char>(a[i])) !=
                   foldAscii(static_cast<unsigned char>(b[i]))) {
            return false;
        }
        i += len;
    }
    return true;
}

}  // namespace detail

SymbolTable::SymbolTable() {
    using namespace detail;
    const struct {
        const char* name;
        Func1 routine;
    } oneArgument[] = {
        {"SIN", calcSin},       {"COS", calcCos},       {"TAN", calcTan},
        {"LN", calcLn},         {"EXP", calcExp},       {"SQR", calcSqr},
        {"SQRT", calcSqrt},     {"ARCSIN", calcArcSin}, {"ARCCOS", calcArcCos},
        {"ARCTAN", calcArcTan}, {"LOG10", calcLog10},
    };
    for (const auto& f : oneArgument) registerFunction(f.name, SymKind::Function1, f.routine, nullptr);
    registerFunction("POWER", SymKind::Function2, nullptr, calcPower);
}

SymbolTable& SymbolTable::instance() {
    static SymbolTable table;
    return table;
}

TSymData* SymbolTable::find(std::string_view name) {
    const auto it = m_index.find(name);
    return it == m_index.end() ? nullptr : it->second;
}

TSymData& SymbolTable::findOrCreate(std::string_view name) {
    if (TSymData* existing = find(name)) return *existing;
    TSymData& created = m_symbols.emplace_back();
    created.name = std::string(name);
    m_index.emplace(created.name, &created);
    return created;
}

void SymbolTable::registerFunction(std::string_view name, SymKind kind, Func1 one, Func2 two) {
    const bool complete = (kind == SymKind::Function1 && one != nullptr) ||
                          (kind == SymKind::Function2 && two != nullptr);
    if (!complete) throw ECalcException(kInvalidFunctionMessage);
    if (find(name) != nullptr) return;
    TSymData& created = findOrCreate(name);
    created.kind = kind;
    created.func1 = kind == SymKind::Function1 ? one : nullptr;
    created.func2 = kind == SymKind::Function2 ? two : nullptr;
}

}  // namespace tabulo::calc
