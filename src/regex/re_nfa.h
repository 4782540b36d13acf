// TRE_NFA: the nondeterministic automaton with empty transitions generated
// from a parse tree. State 0 is initial, state 1 final. Anchors become
// transitions on the line-head and line-tail codes, but only where they
// start (^) or end ($) the whole pattern; elsewhere they are characters.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "regex/re_parse_tree.h"

namespace tabulo::regex {

inline constexpr Code kEmptyCode = 0xFFFF;
inline constexpr Code kDefaultLineHeadCode = 0xFFFD;
inline constexpr Code kDefaultLineTailCode = 0xFFFE;

struct NfaTransition {
    CodeRange label;
    int target;
    bool isEmpty() const { return label.lo == kEmptyCode && label.hi == kEmptyCode; }
};

class TRE_NFA {
public:
    TRE_NFA(Code lineHeadCode, Code lineTailCode);

    // Adds the transitions of node between the states from and to.
    void GenerateStateList(const TREParseTree& tree, NodeId node, int from, int to);
    void build(const TREParseTree& tree) { GenerateStateList(tree, tree.root(), 0, 1); }

    std::size_t stateCount() const { return m_states.size(); }
    const std::vector<NfaTransition>& transitions(int state) const { return m_states[static_cast<std::size_t>(state)]; }
    bool startsWithLineHead() const { return m_lineHead; }
    bool endsWithLineTail() const { return m_lineTail; }

private:
    int newState();
    void add(int from, int to, CodeRange label);

    std::vector<std::vector<NfaTransition>> m_states;
    std::size_t m_transitionCount = 0;
    Code m_headCode;
    Code m_tailCode;
    bool m_lineHead = false;
    bool m_lineTail = false;
};

// A set of NFA states, one bit per state.
class TRE_NFAStateSet {
public:
    explicit TRE_NFAStateSet(std::size_t stateCount) : m_words(stateCount / 64 + 1, 0) {}
    void include(std::size_t s) { m_words[s / 64] |= std::uint64_t{1} << (s % 64); }
    bool contains(std::size_t s) const { return (m_words[s / 64] >> (s % 64)) & 1; }
    std::size_t wordCount() const { return m_words.size(); }
    // Calls f with every state in the set, in ascending order.
    template <typename F>
    void forEach(F f) const {
        for (std::size_t w = 0; w < m_words.size(); ++w) {
            for (std::uint64_t bits = m_words[w]; bits; bits &= bits - 1) f(w * 64 + std::countr_zero(bits));
        }
    }
    friend bool operator==(const TRE_NFAStateSet&, const TRE_NFAStateSet&) = default;
    friend bool operator<(const TRE_NFAStateSet& a, const TRE_NFAStateSet& b) { return a.m_words < b.m_words; }

private:
    std::vector<std::uint64_t> m_words;
};

}  // namespace tabulo::regex
