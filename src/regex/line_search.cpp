// Lazy construction of the byte-level search automaton.
#include "regex/line_search.h"

#include <algorithm>

namespace tabulo::regex::detail {

LineSearch::LineSearch(const TRE_DFA& dfa) : m_dfa(dfa) { reset(); }

void LineSearch::reset() {
    m_table.clear();
    m_keys.clear();
    m_index.clear();
    intern({{}, 0});
}

std::int32_t LineSearch::intern(Key key) {
    if (auto it = m_index.find(key); it != m_index.end()) return it->second;
    const auto id = static_cast<std::int32_t>(m_keys.size());
    m_index.emplace(key, id);
    m_keys.push_back(std::move(key));
    m_table.resize(m_table.size() + 256, kUnknown);
    return id;
}

bool LineSearch::step(const std::vector<int>& from, Code code, std::vector<int>& to) const {
    to.clear();
    for (int s : from) {
        const int t = m_dfa.next(s, code);
        if (t == TRE_DFA::kNone) continue;
        if (m_dfa.accepts(t)) return true;
        to.push_back(t);
    }
    std::sort(to.begin(), to.end());
    to.erase(std::unique(to.begin(), to.end()), to.end());
    return false;
}

std::int32_t LineSearch::compute(std::int32_t state, unsigned char byte) {
    if (m_keys.size() >= kMaxStates) {
        // Keep memory bounded on patterns with many state sets: start over
        // from the current set.
        Key current = m_keys[static_cast<std::size_t>(state)];
        reset();
        state = intern(std::move(current));
    }
    const Key key = m_keys[static_cast<std::size_t>(state)];
    std::vector<int> withStart = key.states;
    std::vector<int> next;
    std::int32_t result = kAccept;
    if (key.lead == 0) {
        withStart.push_back(m_dfa.initial());
        std::sort(withStart.begin(), withStart.end());
        withStart.erase(std::unique(withStart.begin(), withStart.end()), withStart.end());
        if (isLeadByte(byte)) {
            result = intern({std::move(withStart), byte});
        } else if (!step(withStart, byte, next)) {
            result = intern({std::move(next), 0});
        }
    } else if (byte == '\n') {
        // The lead byte stands alone in front of a line feed.
        if (!step(key.states, key.lead, next)) {
            next.push_back(m_dfa.initial());
            std::vector<int> afterLf;
            if (!step(next, '\n', afterLf)) result = intern({std::move(afterLf), 0});
        }
    } else if (!step(key.states, static_cast<Code>(key.lead << 8 | byte), next)) {
        result = intern({std::move(next), 0});
    }
    m_table[static_cast<std::size_t>(state) * 256 + byte] = result;
    return result;
}

const unsigned char* LineSearch::scan(const unsigned char* p, const unsigned char* end) {
    std::int32_t s = 0;
    const std::int32_t* table = m_table.data();
    while (p < end) {
        std::int32_t t = table[static_cast<std::size_t>(s) << 8 | *p];
        if (t < 0) {
            if (t == kUnknown) {
                t = compute(s, *p);
                table = m_table.data();
            }
            if (t == kAccept) return p;
        }
        s = t;
        ++p;
    }
    return end;
}

bool LineSearch::crossesLines(const TRE_DFA& dfa) {
    std::vector<char> seen(dfa.stateCount(), 0);
    std::vector<int> queue;
    for (const DfaTransition& t : dfa.transitions(dfa.initial())) {
        if (!seen[static_cast<std::size_t>(t.target)]) {
            seen[static_cast<std::size_t>(t.target)] = 1;
            queue.push_back(t.target);
        }
    }
    while (!queue.empty()) {
        const int s = queue.back();
        queue.pop_back();
        if (dfa.accepts(s)) continue;
        for (const DfaTransition& t : dfa.transitions(s)) {
            if (t.range.lo <= '\n' && '\n' <= t.range.hi && !dfa.accepts(t.target)) return true;
            if (!seen[static_cast<std::size_t>(t.target)]) {
                seen[static_cast<std::size_t>(t.target)] = 1;
                queue.push_back(t.target);
            }
        }
    }
    return false;
}

}  // namespace tabulo::regex::detail
