// Literal detection over the NFA's state sets.
#include "regex/re_dfa.h"

#include <utility>
#include <vector>

namespace tabulo::regex {

TRE_DFA::TRE_DFA(TRE_NFA nfa) : m_nfa(std::move(nfa)), m_states(m_nfa, 0, 1, false) { detectLiteral(); }

void TRE_DFA::releaseStates() const {
    m_states.trim();
    m_everyStart.reset();
    m_everyEnd.reset();
}

detail::LazyDfa& TRE_DFA::everyStart() const {
    if (!m_everyStart) m_everyStart.emplace(m_nfa, 0, 1, true);
    return *m_everyStart;
}

detail::LazyDfa& TRE_DFA::everyEndBackwards(std::optional<Code> separator) const {
    if (m_reversed && m_reversedSeparator != separator) {
        m_everyEnd.reset();
        m_reversed.reset();
    }
    if (!m_everyEnd) {
        if (!m_reversed) {
            m_reversed.emplace(separator ? m_nfa.reversedWithLineTails(*separator) : m_nfa.reversed());
            m_reversedSeparator = separator;
        }
        m_everyEnd.emplace(*m_reversed, 1, 0, true);
    }
    return *m_everyEnd;
}

// From the initial set, follows sets whose only way out is one label of a
// single code; the pattern is literal when that walk ends in an accepting
// set with no way out. Equal labels of different NFA states are one way.
void TRE_DFA::detectLiteral() {
    TRE_NFAStateSet set(m_nfa.stateCount());
    TRE_NFAStateSet next(m_nfa.stateCount());
    std::vector<int> stack = {0};
    set.include(0);
    m_nfa.close(set, stack);
    std::string text;
    std::basic_string<Code> codes;
    for (std::size_t steps = 0; steps <= m_nfa.stateCount(); ++steps) {
        bool single = true;
        bool any = false;
        CodeRange label{0, 0};
        set.forEach([&](std::size_t s) {
            for (const NfaTransition& t : m_nfa.transitions(static_cast<int>(s))) {
                if (any && !(t.label == label)) single = false;
                label = t.label;
                any = true;
            }
        });
        const bool accepting = set.contains(1);
        if (!any) {
            if (!accepting) return;
            m_literal = true;
            m_literalText = std::move(text);
            m_literalCodes = std::move(codes);
            return;
        }
        if (accepting || !single || label.lo != label.hi) return;
        text += codeToText(label.lo);
        codes.push_back(label.lo);
        m_nfa.step(set, label.lo, next, stack);
        std::swap(set, next);
    }
}

}  // namespace tabulo::regex
