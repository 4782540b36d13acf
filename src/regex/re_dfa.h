// TRE_DFA: the deterministic automaton built from a TRE_NFA by subset
// construction; matching walks it one character code at a time. Also
// detects patterns that accept exactly one fixed string (literals).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "regex/re_nfa.h"

namespace tabulo::regex {

struct DfaTransition {
    CodeRange range;
    int target;
};

class TRE_DFA {
public:
    static constexpr int kNone = -1;

    // Raises ERegExpParser "正規表現が複雑すぎます" when the construction would
    // pass the state or work bounds of re_limits.h.
    explicit TRE_DFA(const TRE_NFA& nfa);

    int initial() const { return 0; }
    // Next state for a code, or kNone.
    int next(int state, Code code) const;
    bool accepts(int state) const { return m_states[static_cast<std::size_t>(state)].accepting; }
    const std::vector<DfaTransition>& transitions(int state) const {
        return m_states[static_cast<std::size_t>(state)].transitions;
    }
    std::size_t stateCount() const { return m_states.size(); }

    bool startsWithLineHead() const { return m_lineHead; }
    bool endsWithLineTail() const { return m_lineTail; }

    // Set when the automaton accepts exactly one string: its bytes and codes.
    bool isLiteral() const { return m_literal; }
    const std::string& literal() const { return m_literalText; }
    const std::basic_string<Code>& literalCodes() const { return m_literalCodes; }

private:
    struct State {
        TRE_NFAStateSet set;
        bool accepting;
        std::vector<DfaTransition> transitions;
    };

    void detectLiteral();

    std::vector<State> m_states;
    bool m_lineHead;
    bool m_lineTail;
    bool m_literal = false;
    std::string m_literalText;
    std::basic_string<Code> m_literalCodes;
};

}  // namespace tabulo::regex
