// Subset construction. Labels leaving one state are made disjoint before
// their target sets are formed, so that anchor codes overlapping a class
// range (a line feed with a grep's anchors) still follow every NFA path.
#include "regex/re_dfa.h"

#include <algorithm>
#include <bit>
#include <iterator>
#include <map>
#include <set>
#include <utility>

#include "regex/re_error.h"
#include "regex/re_limits.h"

namespace tabulo::regex {

namespace {

// The work of one subset construction, counted against its bound so that a
// pattern whose automaton blows up is refused instead of hanging.
class WorkBudget {
public:
    void spend(std::size_t units) {
        m_used += units;
        if (m_used > limits::kMaxDfaWork) throw ERegExpParser(messages::kTooComplex, 1);
    }

private:
    std::size_t m_used = 0;
};

TRE_NFAStateSet closure(const TRE_NFA& nfa, const std::vector<int>& seeds, WorkBudget& budget) {
    TRE_NFAStateSet set(nfa.stateCount());
    budget.spend(set.wordCount() + seeds.size());
    std::vector<int> stack;
    for (int s : seeds) {
        if (!set.contains(static_cast<std::size_t>(s))) {
            set.include(static_cast<std::size_t>(s));
            stack.push_back(s);
        }
    }
    while (!stack.empty()) {
        const int s = stack.back();
        stack.pop_back();
        budget.spend(nfa.transitions(s).size());
        for (const NfaTransition& t : nfa.transitions(s)) {
            if (t.isEmpty() && !set.contains(static_cast<std::size_t>(t.target))) {
                set.include(static_cast<std::size_t>(t.target));
                stack.push_back(t.target);
            }
        }
    }
    return set;
}

// Groups the moves of one DFA state by label; overlapping labels are cut
// into disjoint pieces, each with the union of the targets covering it.
std::vector<std::pair<CodeRange, std::vector<int>>> disjointMoves(const std::map<CodeRange, std::set<int>>& byLabel,
                                                                  WorkBudget& budget) {
    bool overlap = false;
    std::uint32_t lastHi = 0;
    bool first = true;
    for (const auto& [label, targets] : byLabel) {
        if (!first && label.lo <= lastHi) overlap = true;
        lastHi = first ? label.hi : std::max<std::uint32_t>(lastHi, label.hi);
        first = false;
    }
    std::vector<std::pair<CodeRange, std::vector<int>>> moves;
    if (!overlap) {
        for (const auto& [label, targets] : byLabel) moves.emplace_back(label, std::vector<int>(targets.begin(), targets.end()));
        return moves;
    }
    std::set<std::uint32_t> bounds;
    for (const auto& [label, targets] : byLabel) {
        bounds.insert(label.lo);
        bounds.insert(std::uint32_t{label.hi} + 1);
    }
    budget.spend(bounds.size() * byLabel.size());
    for (auto it = bounds.begin(); std::next(it) != bounds.end(); ++it) {
        const std::uint32_t lo = *it;
        const std::uint32_t hi = *std::next(it) - 1;
        std::set<int> targets;
        for (const auto& [label, t] : byLabel) {
            if (label.lo <= lo && hi <= label.hi) targets.insert(t.begin(), t.end());
        }
        if (!targets.empty()) {
            moves.emplace_back(CodeRange{static_cast<Code>(lo), static_cast<Code>(hi)},
                               std::vector<int>(targets.begin(), targets.end()));
        }
    }
    return moves;
}

}  // namespace

TRE_DFA::TRE_DFA(const TRE_NFA& nfa) : m_lineHead(nfa.startsWithLineHead()), m_lineTail(nfa.endsWithLineTail()) {
    WorkBudget budget;
    std::map<TRE_NFAStateSet, int> index;
    const auto findOrCreate = [&](TRE_NFAStateSet set) {
        // A lookup compares whole sets along one path of the index.
        budget.spend(set.wordCount() * (std::bit_width(index.size()) + 1));
        if (auto it = index.find(set); it != index.end()) return it->second;
        if (m_states.size() >= limits::kMaxDfaStates) throw ERegExpParser(messages::kTooComplex, 1);
        const int id = static_cast<int>(m_states.size());
        const bool accepting = set.contains(1);
        index.emplace(set, id);
        m_states.push_back({std::move(set), accepting, {}});
        return id;
    };
    findOrCreate(closure(nfa, {0}, budget));

    for (std::size_t i = 0; i < m_states.size(); ++i) {
        std::map<CodeRange, std::set<int>> byLabel;
        budget.spend(m_states[i].set.wordCount());
        m_states[i].set.forEach([&](std::size_t s) {
            const auto& out = nfa.transitions(static_cast<int>(s));
            budget.spend(out.size());
            for (const NfaTransition& t : out) {
                if (!t.isEmpty()) byLabel[t.label].insert(t.target);
            }
        });
        std::vector<DfaTransition> transitions;
        for (auto& [label, targets] : disjointMoves(byLabel, budget)) {
            transitions.push_back({label, findOrCreate(closure(nfa, targets, budget))});
        }
        std::sort(transitions.begin(), transitions.end(),
                  [](const DfaTransition& a, const DfaTransition& b) { return a.range.lo < b.range.lo; });
        m_states[i].transitions = std::move(transitions);
    }
    detectLiteral();
}

int TRE_DFA::next(int state, Code code) const {
    const auto& ts = m_states[static_cast<std::size_t>(state)].transitions;
    auto it = std::upper_bound(ts.begin(), ts.end(), code,
                               [](Code c, const DfaTransition& t) { return c < t.range.lo; });
    if (it == ts.begin()) return kNone;
    --it;
    return code <= it->range.hi ? it->target : kNone;
}

// Follows single one-code transitions from the initial state; the pattern is
// literal when that walk ends in an accepting state with no way out.
void TRE_DFA::detectLiteral() {
    int state = initial();
    std::string text;
    std::basic_string<Code> codes;
    for (std::size_t steps = 0; steps <= m_states.size(); ++steps) {
        const State& s = m_states[static_cast<std::size_t>(state)];
        if (s.transitions.empty()) {
            if (!s.accepting) return;
            m_literal = true;
            m_literalText = std::move(text);
            m_literalCodes = std::move(codes);
            return;
        }
        if (s.accepting || s.transitions.size() != 1) return;
        const DfaTransition& t = s.transitions.front();
        if (t.range.lo != t.range.hi) return;
        text += codeToText(t.range.lo);
        codes.push_back(t.range.lo);
        state = t.target;
    }
}

}  // namespace tabulo::regex
