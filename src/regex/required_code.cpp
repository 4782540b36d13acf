// Reachability of the final state without the transitions on some codes.
#include "regex/required_code.h"

#include <algorithm>
#include <set>

#include "regex/byte_scan.h"

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

bool cuts(const NfaTransition& t, const std::vector<Code>& codes) {
    return t.label.lo == t.label.hi && std::find(codes.begin(), codes.end(), t.label.lo) != codes.end();
}

// The transitions of a shortest path from the initial to the final state
// that reads none of codes, last first; found says whether there is one.
std::vector<const NfaTransition*> pathAvoiding(const TRE_NFA& nfa, const std::vector<Code>& codes, bool& found) {
    std::vector<int> cameFrom(nfa.stateCount(), -2);
    std::vector<const NfaTransition*> via(nfa.stateCount(), nullptr);
    std::vector<int> queue = {0};
    cameFrom[0] = -1;
    found = false;
    for (std::size_t head = 0; head < queue.size() && !found; ++head) {
        const int s = queue[head];
        const auto visit = [&](int t, const NfaTransition* label) {
            if (cameFrom[static_cast<std::size_t>(t)] != -2) return;
            cameFrom[static_cast<std::size_t>(t)] = s;
            via[static_cast<std::size_t>(t)] = label;
            queue.push_back(t);
            found = found || t == 1;
        };
        for (int t : nfa.emptyTargets(s)) visit(t, nullptr);
        for (const NfaTransition& t : nfa.transitions(s)) {
            if (!cuts(t, codes)) visit(t.target, &t);
        }
    }
    std::vector<const NfaTransition*> path;
    for (int s = 1; found && s != 0; s = cameFrom[static_cast<std::size_t>(s)]) {
        if (via[static_cast<std::size_t>(s)]) path.push_back(via[static_cast<std::size_t>(s)]);
    }
    return path;
}

bool isCut(const TRE_NFA& nfa, const std::vector<Code>& codes) {
    bool found = false;
    pathAvoiding(nfa, codes, found);
    return !found;
}

}  // namespace

std::vector<Code> requiredCodes(const TRE_NFA& nfa) {
    std::set<Code> candidates;
    for (std::size_t s = 0; s < nfa.stateCount() && candidates.size() < kMaxCandidates; ++s) {
        for (const NfaTransition& t : nfa.transitions(static_cast<int>(s))) {
            if (t.label.lo == t.label.hi && searchable(t.label.lo)) candidates.insert(t.label.lo);
        }
    }
    std::vector<Code> ordered(candidates.begin(), candidates.end());
    std::stable_sort(ordered.begin(), ordered.end(), [](Code a, Code b) { return rarity(a) > rarity(b); });
    for (Code c : ordered) {
        if (isCut(nfa, {c})) return {c};
    }
    // Codes taken one path at a time, the rarest on each path that still
    // gets past the codes taken, then those the others make needless dropped.
    std::vector<Code> codes;
    for (;;) {
        bool found = false;
        const std::vector<const NfaTransition*> path = pathAvoiding(nfa, codes, found);
        if (!found) break;
        const NfaTransition* best = nullptr;
        for (const NfaTransition* t : path) {
            if (t->label.lo == t->label.hi && searchable(t->label.lo) &&
                (!best || rarity(t->label.lo) > rarity(best->label.lo))) {
                best = t;
            }
        }
        if (!best || codes.size() == CodeSetFinder::kMaxCodes) return {};
        codes.push_back(best->label.lo);
    }
    for (std::size_t i = codes.size(); i-- > 0 && codes.size() > 1;) {
        std::vector<Code> without = codes;
        without.erase(without.begin() + static_cast<std::ptrdiff_t>(i));
        if (isCut(nfa, without)) codes = std::move(without);
    }
    return codes;
}

}  // namespace tabulo::regex::detail
