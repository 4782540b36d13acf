// TRE_NFA: the nondeterministic automaton with empty transitions generated
// from a parse tree. State 0 is initial, state 1 final. Anchors become
// transitions on the line-head and line-tail codes, but only where they
// start (^) or end ($) the whole pattern; elsewhere they are characters.
// Its size grows linearly with the parse tree: a leaf split by the partition
// stays one transition on its whole range, and a + atom is generated once.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "regex/re_parse_tree.h"

namespace tabulo::regex {

inline constexpr Code kDefaultLineHeadCode = 0xFFFD;
inline constexpr Code kDefaultLineTailCode = 0xFFFE;

// A set of NFA states, one bit per state.
class TRE_NFAStateSet {
public:
    TRE_NFAStateSet() = default;
    explicit TRE_NFAStateSet(std::size_t stateCount) : m_words(stateCount / 64 + 1, 0) {}
    void include(std::size_t s) { m_words[s / 64] |= std::uint64_t{1} << (s % 64); }
    bool contains(std::size_t s) const { return (m_words[s / 64] >> (s % 64)) & 1; }
    // Adds s; false when it was already there.
    bool insert(std::size_t s) {
        std::uint64_t& w = m_words[s / 64];
        const std::uint64_t bit = std::uint64_t{1} << (s % 64);
        if (w & bit) return false;
        w |= bit;
        return true;
    }
    void unite(const TRE_NFAStateSet& other) {
        for (std::size_t w = 0; w < m_words.size(); ++w) m_words[w] |= other.m_words[w];
    }
    void clear() { std::fill(m_words.begin(), m_words.end(), 0); }
    bool empty() const {
        for (std::uint64_t w : m_words) {
            if (w) return false;
        }
        return true;
    }
    std::size_t wordCount() const { return m_words.size(); }
    std::size_t hash() const {
        std::uint64_t h = 0x9E3779B97F4A7C15ull;
        for (std::uint64_t w : m_words) h = (h ^ w) * 0x100000001B3ull + (h >> 29);
        return static_cast<std::size_t>(h);
    }
    // Calls f with every state in the set, in ascending order.
    template <typename F>
    void forEach(F f) const {
        for (std::size_t w = 0; w < m_words.size(); ++w) {
            for (std::uint64_t bits = m_words[w]; bits; bits &= bits - 1) f(w * 64 + std::countr_zero(bits));
        }
    }
    friend bool operator==(const TRE_NFAStateSet&, const TRE_NFAStateSet&) = default;

private:
    std::vector<std::uint64_t> m_words;
};

struct NfaTransition {
    CodeRange label;
    int target;
};

class TRE_NFA {
public:
    TRE_NFA(Code lineHeadCode, Code lineTailCode);

    // Adds the transitions of node between the states from and to.
    void GenerateStateList(const TREParseTree& tree, NodeId node, int from, int to);
    void build(const TREParseTree& tree) { GenerateStateList(tree, tree.root(), 0, 1); }

    std::size_t stateCount() const { return m_states.size(); }
    // The transitions of a state that read a character.
    const std::vector<NfaTransition>& transitions(int state) const { return m_states[static_cast<std::size_t>(state)].moves; }
    const std::vector<int>& emptyTargets(int state) const { return m_states[static_cast<std::size_t>(state)].empties; }
    bool startsWithLineHead() const { return m_lineHead; }
    bool endsWithLineTail() const { return m_lineTail; }

    // The automaton read backwards: every transition turned around, state
    // numbers kept, so it runs from state 1 to state 0.
    TRE_NFA reversed() const;
    // The same, for walks that resolve the line-tail anchor as the matchers
    // do: state 1 also reads the separator code and the line-tail code into
    // every state that has a way out on the line-tail code. A backward walk
    // from the subject's end (read as the line-tail code) then reaches a
    // state at a position when an attempt in it can end in a match or at a
    // line tail further on.
    TRE_NFA reversedWithLineTails(Code separator) const;
    // lo and hi + 1 of every label, sorted and unique: codes between two
    // neighbouring bounds are read alike by every transition.
    std::vector<std::uint32_t> labelBounds() const;

    // Adds every state reachable through empty transitions from the states on
    // stack (already in set); leaves stack empty.
    void close(TRE_NFAStateSet& set, std::vector<int>& stack) const;
    // to becomes the closed set of states reached from from by reading code.
    void step(const TRE_NFAStateSet& from, Code code, TRE_NFAStateSet& to, std::vector<int>& stack) const;

private:
    struct State {
        std::vector<NfaTransition> moves;
        std::vector<int> empties;
    };

    int newState();
    void add(int from, int to, CodeRange label) { m_states[static_cast<std::size_t>(from)].moves.push_back({label, to}); }
    void addEmpty(int from, int to) { m_states[static_cast<std::size_t>(from)].empties.push_back(to); }
    static bool isPlus(const TREParseTree& tree, NodeId id, int from);
    static bool mayStartWithLineHead(const TREParseTree& tree, NodeId id);
    void generateRepetition(const TREParseTree& tree, NodeId atom, int from, int to, bool atLeastOnce);

    std::vector<State> m_states;
    Code m_headCode;
    Code m_tailCode;
    bool m_lineHead = false;
    bool m_lineTail = false;
};

}  // namespace tabulo::regex
