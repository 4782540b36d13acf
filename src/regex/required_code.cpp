// Reachability of the final state without the transitions on one code.
#include "regex/required_code.h"

#include <algorithm>
#include <set>
#include <vector>

namespace tabulo::regex::detail {

namespace {

// Codes tried at most: each costs one walk over the NFA.
constexpr std::size_t kMaxCandidates = 32;

bool searchable(Code c) {
    if (c == '\n' || c == '\r' || c == 0) return false;
    if (c < 0x100) return !isLeadByte(static_cast<unsigned char>(c));
    return isLeadByte(static_cast<unsigned char>(c >> 8)) && (c & 0xFF) != '\n' && (c & 0xFF) != '\r';
}

int rarity(Code c) {
    if (c >= 0x8800) return 3;
    return c < 0x100 ? 2 : 1;
}

bool reachableWithout(const TRE_NFA& nfa, Code c) {
    std::vector<char> seen(nfa.stateCount(), 0);
    std::vector<int> stack = {0};
    seen[0] = 1;
    const auto visit = [&](int s) {
        if (!seen[static_cast<std::size_t>(s)]) {
            seen[static_cast<std::size_t>(s)] = 1;
            stack.push_back(s);
        }
    };
    while (!stack.empty()) {
        const int s = stack.back();
        stack.pop_back();
        if (s == 1) return true;
        for (int t : nfa.emptyTargets(s)) visit(t);
        for (const NfaTransition& t : nfa.transitions(s)) {
            if (t.label.lo != c || t.label.hi != c) visit(t.target);
        }
    }
    return false;
}

}  // namespace

std::optional<Code> requiredCode(const TRE_NFA& nfa) {
    std::set<Code> candidates;
    for (std::size_t s = 0; s < nfa.stateCount() && candidates.size() < kMaxCandidates; ++s) {
        for (const NfaTransition& t : nfa.transitions(static_cast<int>(s))) {
            if (t.label.lo == t.label.hi && searchable(t.label.lo)) candidates.insert(t.label.lo);
        }
    }
    std::vector<Code> ordered(candidates.begin(), candidates.end());
    std::stable_sort(ordered.begin(), ordered.end(), [](Code a, Code b) { return rarity(a) > rarity(b); });
    for (Code c : ordered) {
        if (!reachableWithout(nfa, c)) return c;
    }
    return std::nullopt;
}

}  // namespace tabulo::regex::detail
