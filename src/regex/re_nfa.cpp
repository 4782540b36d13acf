// Thompson-style construction of the NFA from the parse tree, and the set
// steps the automata built on it share.
#include "regex/re_nfa.h"

#include <algorithm>
#include <stdexcept>

namespace tabulo::regex {

TRE_NFA::TRE_NFA(Code lineHeadCode, Code lineTailCode) : m_headCode(lineHeadCode), m_tailCode(lineTailCode) {
    newState();
    newState();
}

int TRE_NFA::newState() {
    m_states.emplace_back();
    return static_cast<int>(m_states.size() - 1);
}

void TRE_NFA::GenerateStateList(const TREParseTree& tree, NodeId id, int from, int to) {
    const ParseNode& n = tree.at(id);
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
        if (isPlus(tree, id, from)) {
            generateRepetition(tree, n.left, from, to, true);
            return;
        }
        // A sequence is a chain of concatenations down the left, generated
        // in a loop so that a long pattern does not nest a call per atom.
        std::vector<NodeId> parts;
        NodeId chain = id;
        for (; tree.at(chain).kind == NodeKind::Concatenation && !isPlus(tree, chain, from); chain = tree.at(chain).left) {
            parts.push_back(tree.at(chain).right);
        }
        parts.push_back(chain);
        int at = from;
        for (std::size_t i = parts.size(); i-- > 0;) {
            const int next = i == 0 ? to : newState();
            GenerateStateList(tree, parts[i], at, next);
            at = next;
        }
        return;
    }
    case NodeKind::Alternation: {
        // The pieces of a split leaf cover exactly its range: one transition
        // reads them all, however often the leaf is used.
        if (n.splitLeaf) {
            add(from, to, n.range);
            return;
        }
        // Alternatives chain down the left like a sequence does.
        NodeId chain = id;
        std::vector<NodeId> rights;
        for (; tree.at(chain).kind == NodeKind::Alternation && !tree.at(chain).splitLeaf; chain = tree.at(chain).left) {
            rights.push_back(tree.at(chain).right);
        }
        GenerateStateList(tree, chain, from, to);
        for (std::size_t i = rights.size(); i-- > 0;) GenerateStateList(tree, rights[i], from, to);
        return;
    }
    case NodeKind::Star:
        generateRepetition(tree, n.left, from, to, false);
        return;
    case NodeKind::Empty:
        addEmpty(from, to);
        return;
    case NodeKind::Nothing:
        return;
    }
    throw std::logic_error("This cannot happen in TRE_NFA.GenerateStateList");
}

// atom followed by its own star is how the parser spells atom+. At the start
// of the pattern the first atom may begin with a line-head anchor that its
// repetitions read as the character ^: there the atom is generated twice,
// as a concatenation.
bool TRE_NFA::isPlus(const TREParseTree& tree, NodeId id, int from) {
    const ParseNode& n = tree.at(id);
    const ParseNode& right = tree.at(n.right);
    return right.kind == NodeKind::Star && right.left == n.left && !(from == 0 && mayStartWithLineHead(tree, n.left));
}

// Whether a ^ of the subtree would be reached first from its start state.
bool TRE_NFA::mayStartWithLineHead(const TREParseTree& tree, NodeId id) {
    std::vector<NodeId> pending = {id};
    while (!pending.empty()) {
        const ParseNode& n = tree.at(pending.back());
        pending.pop_back();
        if (n.kind == NodeKind::LineHead) return true;
        if (n.kind == NodeKind::Concatenation) pending.push_back(n.left);
        if (n.kind == NodeKind::Alternation && !n.splitLeaf) {
            pending.push_back(n.left);
            pending.push_back(n.right);
        }
    }
    return false;
}

// from -> c, atom c -> d, d -> c, and the way out: c -> to for zero or more
// repetitions, d -> to for one or more (the atom is generated once).
void TRE_NFA::generateRepetition(const TREParseTree& tree, NodeId atom, int from, int to, bool atLeastOnce) {
    const int c = newState();
    const int d = newState();
    addEmpty(from, c);
    GenerateStateList(tree, atom, c, d);
    addEmpty(d, c);
    addEmpty(atLeastOnce ? d : c, to);
}

TRE_NFA TRE_NFA::reversed() const {
    TRE_NFA r(m_headCode, m_tailCode);
    r.m_states.resize(m_states.size());
    r.m_lineHead = m_lineHead;
    r.m_lineTail = m_lineTail;
    for (std::size_t s = 0; s < m_states.size(); ++s) {
        for (const NfaTransition& t : m_states[s].moves) r.add(t.target, static_cast<int>(s), t.label);
        for (int t : m_states[s].empties) r.addEmpty(t, static_cast<int>(s));
    }
    return r;
}

TRE_NFA TRE_NFA::reversedWithLineTails(Code separator) const {
    TRE_NFA r = reversed();
    for (std::size_t s = 0; s < m_states.size(); ++s) {
        const auto& moves = m_states[s].moves;
        const bool toTail = std::any_of(moves.begin(), moves.end(), [&](const NfaTransition& t) {
            return t.label.lo <= m_tailCode && m_tailCode <= t.label.hi;
        });
        if (!toTail) continue;
        r.add(1, static_cast<int>(s), {separator, separator});
        r.add(1, static_cast<int>(s), {m_tailCode, m_tailCode});
    }
    return r;
}

std::vector<std::uint32_t> TRE_NFA::labelBounds() const {
    std::vector<std::uint32_t> bounds;
    for (const State& s : m_states) {
        for (const NfaTransition& t : s.moves) {
            bounds.push_back(t.label.lo);
            bounds.push_back(std::uint32_t{t.label.hi} + 1);
        }
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    return bounds;
}

void TRE_NFA::close(TRE_NFAStateSet& set, std::vector<int>& stack) const {
    while (!stack.empty()) {
        const int s = stack.back();
        stack.pop_back();
        for (int t : m_states[static_cast<std::size_t>(s)].empties) {
            if (set.insert(static_cast<std::size_t>(t))) stack.push_back(t);
        }
    }
}

void TRE_NFA::step(const TRE_NFAStateSet& from, Code code, TRE_NFAStateSet& to, std::vector<int>& stack) const {
    to.clear();
    stack.clear();
    from.forEach([&](std::size_t s) {
        for (const NfaTransition& t : m_states[s].moves) {
            if (t.label.lo <= code && code <= t.label.hi && to.insert(static_cast<std::size_t>(t.target))) {
                stack.push_back(t.target);
            }
        }
    });
    close(to, stack);
}

}  // namespace tabulo::regex
