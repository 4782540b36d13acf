// TRE_DFA: the deterministic automaton of a pattern, walked one character
// code at a time by the matchers. Its states are built on demand from the
// NFA it owns and kept in a bounded cache (regex/lazy_dfa.h), so no pattern
// is too complex to compile and every walk costs time linear in its length.
// Also detects patterns that accept exactly one fixed string (literals).
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "regex/lazy_dfa.h"
#include "regex/re_nfa.h"

namespace tabulo::regex {

class TRE_DFA {
public:
    static constexpr int kNone = detail::LazyDfa::kNone;

    explicit TRE_DFA(TRE_NFA nfa);
    TRE_DFA(const TRE_DFA&) = delete;
    TRE_DFA& operator=(const TRE_DFA&) = delete;

    int initial() const { return m_states.initial(); }
    // Next state for a code, or kNone. Building it may reuse the id of any
    // state other than the initial one and state, so a walk keeps only the
    // state it stands in.
    int next(int state, Code code) const { return m_states.next(state, code); }
    bool accepts(int state) const { return m_states.accepts(state); }
    // Frees the states built so far; they are built again when walked.
    void releaseStates() const;
    // Grows whenever a state id may stop naming the set it named (the cache
    // emptied, or a step made outside it).
    std::size_t cacheResets() const { return m_states.flushes() + m_states.simulatedSteps(); }

    // The same pattern tried from every position at once (the initial state
    // joins before each code read), so that one walk over a subject tells
    // where the first match ends. Built on first use.
    detail::LazyDfa& everyStart() const;
    // The reversed pattern walked backwards from every position at once:
    // after reading the character at i it accepts when a match begins at i.
    // Given a separator, for the anchored search, the separator code and the
    // line-tail code (read first, for the subject's end) are line tails, so
    // it accepts also where an attempt can end at one
    // (TRE_NFA::reversedWithLineTails). Built on first use, again when the
    // separator changes.
    detail::LazyDfa& everyEndBackwards(std::optional<Code> separator = std::nullopt) const;

    const TRE_NFA& nfa() const { return m_nfa; }
    bool startsWithLineHead() const { return m_nfa.startsWithLineHead(); }
    bool endsWithLineTail() const { return m_nfa.endsWithLineTail(); }

    // Set when the automaton accepts exactly one string: its bytes and codes.
    bool isLiteral() const { return m_literal; }
    const std::string& literal() const { return m_literalText; }
    const std::basic_string<Code>& literalCodes() const { return m_literalCodes; }

private:
    void detectLiteral();

    TRE_NFA m_nfa;
    mutable detail::LazyDfa m_states;  // walks m_nfa
    mutable std::optional<detail::LazyDfa> m_everyStart;
    mutable std::optional<TRE_NFA> m_reversed;
    mutable std::optional<Code> m_reversedSeparator;
    mutable std::optional<detail::LazyDfa> m_everyEnd;  // walks *m_reversed
    bool m_literal = false;
    std::string m_literalText;
    std::basic_string<Code> m_literalCodes;
};

}  // namespace tabulo::regex
