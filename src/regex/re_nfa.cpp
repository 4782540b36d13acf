// Thompson-style construction of the NFA from the parse tree.
#include "regex/re_nfa.h"

#include <stdexcept>

#include "regex/re_error.h"
#include "regex/re_limits.h"

namespace tabulo::regex {

TRE_NFA::TRE_NFA(Code lineHeadCode, Code lineTailCode) : m_headCode(lineHeadCode), m_tailCode(lineTailCode) {
    newState();
    newState();
}

int TRE_NFA::newState() {
    m_states.emplace_back();
    return static_cast<int>(m_states.size() - 1);
}

// Shared leaves split into many pieces can multiply the transitions of a
// short pattern; past the bound the pattern is refused as a whole.
void TRE_NFA::add(int from, int to, CodeRange label) {
    if (++m_transitionCount > limits::kMaxNfaTransitions) throw ERegExpParser(messages::kTooComplex, 1);
    m_states[static_cast<std::size_t>(from)].push_back({label, to});
}

void TRE_NFA::GenerateStateList(const TREParseTree& tree, NodeId id, int from, int to) {
    const ParseNode& n = tree.at(id);
    const CodeRange empty{kEmptyCode, kEmptyCode};
    switch (n.kind) {
    case NodeKind::Leaf:
        add(from, to, n.range);
        return;
    case NodeKind::LineHead:
        if (from == 0) {
            add(from, to, {m_headCode, m_headCode});
            m_lineHead = true;
        } else {
            add(from, to, n.range);
        }
        return;
    case NodeKind::LineTail:
        if (to == 1) {
            add(from, to, {m_tailCode, m_tailCode});
            m_lineTail = true;
        } else {
            add(from, to, n.range);
        }
        return;
    case NodeKind::Concatenation: {
        const int m = newState();
        GenerateStateList(tree, n.left, from, m);
        GenerateStateList(tree, n.right, m, to);
        return;
    }
    case NodeKind::Alternation:
        GenerateStateList(tree, n.left, from, to);
        GenerateStateList(tree, n.right, from, to);
        return;
    case NodeKind::Star: {
        const int c = newState();
        const int d = newState();
        add(from, c, empty);
        GenerateStateList(tree, n.left, c, d);
        add(d, c, empty);
        add(c, to, empty);
        return;
    }
    case NodeKind::Empty:
        add(from, to, empty);
        return;
    case NodeKind::Nothing:
        return;
    }
    throw std::logic_error("This cannot happen in TRE_NFA.GenerateStateList");
}

}  // namespace tabulo::regex
