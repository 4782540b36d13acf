// The calculator's symbol table: one list of variables and functions for the
// whole process, shared by every evaluator, so a variable assigned on a calc
// line is seen by graph sampling. Names compare without regard to the case of
// ASCII letters; the built-in functions are registered when the table is
// first used. Symbols are never removed, so pointers to them stay valid.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tabulo::calc {

using Func1 = long double (*)(long double);
using Func2 = long double (*)(long double, long double);

// The values are the kind bytes of the table; 1 is reserved and never made.
enum class SymKind : std::uint8_t {
    Variable = 0,
    Function1 = 2,
    Function2 = 3,
};

struct TSymData {
    std::string name;  // as first written
    SymKind kind = SymKind::Variable;
    Func1 func1 = nullptr;  // set for Function1
    Func2 func2 = nullptr;  // set for Function2
    long double value = 0;  // variables only
};

namespace detail {

// Hash and equality that fold ASCII letters of single-byte characters only:
// the trail byte of a double-byte character is compared as it is, so two
// different kanji never name one symbol.
struct FoldedNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const;
};
struct FoldedNameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

}  // namespace detail

class SymbolTable {
public:
    // The process-wide table, with the built-in functions registered.
    static SymbolTable& instance();

    // nullptr when the name is unknown.
    TSymData* find(std::string_view name);
    // The symbol of that name, created as a variable of value 0 when unknown.
    TSymData& findOrCreate(std::string_view name);

    // Registers a function of one (kind Function1, routine one) or two
    // (Function2, routine two) arguments. A name that exists is left as it
    // is. Throws ECalcException "Invalid Function" for another kind or a
    // missing routine.
    void registerFunction(std::string_view name, SymKind kind, Func1 one, Func2 two);

    // Symbols in creation order.
    const std::deque<TSymData>& symbols() const { return m_symbols; }

private:
    SymbolTable();

    std::deque<TSymData> m_symbols;
    std::unordered_map<std::string_view, TSymData*, detail::FoldedNameHash, detail::FoldedNameEqual>
        m_index;  // keys view the names held in m_symbols
};

}  // namespace tabulo::calc
