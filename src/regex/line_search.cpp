// Lazy construction of the byte-level search automaton.
#include "regex/line_search.h"

#include <algorithm>

namespace tabulo::regex::detail {

LineSearch::LineSearch(const TRE_DFA& dfa) : m_dfa(dfa) {
    prepareClasses();
    reset();
    prepareSkip();
}

void LineSearch::prepareClasses() {
    std::vector<std::uint32_t> bounds;
    for (std::size_t s = 0; s < m_dfa.stateCount(); ++s) {
        for (const DfaTransition& t : m_dfa.transitions(static_cast<int>(s))) {
            bounds.push_back(t.range.lo);
            bounds.push_back(std::uint32_t{t.range.hi} + 1);
        }
    }
    std::sort(bounds.begin(), bounds.end());
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    const auto interval = [&](std::uint32_t code) {
        return static_cast<int>(std::upper_bound(bounds.begin(), bounds.end(), code) - bounds.begin());
    };
    std::map<std::vector<int>, std::uint8_t> classes;
    for (unsigned b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        std::vector<int> signature = {interval(b), isLeadByte(byte), b == '\n', b == '\r'};
        if (isLeadByte(byte)) {
            for (unsigned t = 0; t < 256; ++t) signature.push_back(interval(b << 8 | t));
        }
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (isLeadByte(static_cast<unsigned char>(lead))) signature.push_back(interval(lead << 8 | b));
        }
        const auto [it, added] = classes.emplace(std::move(signature), static_cast<std::uint8_t>(classes.size()));
        if (added) m_representative.push_back(byte);
        m_classOf[b] = it->second;
    }
    m_classCount = classes.size();
}

// The first bytes of the characters the initial state has a transition for:
// the byte itself for one-byte codes, the lead byte for two-byte codes. A
// lead byte standing alone is a one-byte code, so it is covered as well.
void LineSearch::prepareSkip() {
    std::vector<bool> first(256, false);
    for (const DfaTransition& t : m_dfa.transitions(m_dfa.initial())) {
        for (unsigned c = t.range.lo; c <= t.range.hi && c < 256; ++c) first[c] = true;
        if (t.range.hi >= 256) {
            for (unsigned lead = std::max<unsigned>(t.range.lo, 256) >> 8; lead <= (t.range.hi >> 8u); ++lead) first[lead] = true;
        }
    }
    std::vector<ByteRangeFinder::Range> ranges;
    std::size_t covered = 0;
    for (unsigned b = 0; b < 256; ++b) {
        if (!first[b]) continue;
        ++covered;
        if (!ranges.empty() && ranges.back().hi + 1u == b) {
            ranges.back().hi = static_cast<unsigned char>(b);
        } else {
            ranges.push_back({static_cast<unsigned char>(b), static_cast<unsigned char>(b)});
        }
    }
    // Worth it only when the bytes are few and rare, so that most text is
    // skipped: not when the lead bytes of symbols and kana are among them.
    const bool commonLead = first[0x81] || first[0x82] || first[0x83];
    if (!ranges.empty() && ranges.size() <= ByteRangeFinder::kMaxRanges && covered <= 16 && !commonLead) {
        m_skip = std::make_unique<ByteRangeFinder>(std::move(ranges));
    }
}

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
    m_table.resize(m_table.size() + m_classCount, kUnknown);
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
            result = offset(intern({std::move(withStart), m_representative[m_classOf[byte]]}));
        } else if (!step(withStart, byte, next)) {
            result = offset(intern({std::move(next), 0}));
        }
    } else if (byte == '\n' || byte == '\r') {
        // The lead byte stands alone in front of a line break.
        if (!step(key.states, key.lead, next)) {
            next.push_back(m_dfa.initial());
            std::vector<int> afterBreak;
            if (!step(next, byte, afterBreak)) result = offset(intern({std::move(afterBreak), 0}));
        }
    } else if (!step(key.states, static_cast<Code>(key.lead << 8 | byte), next)) {
        result = offset(intern({std::move(next), 0}));
    }
    m_table[static_cast<std::size_t>(state) * m_classCount + m_classOf[byte]] = result;
    return result;
}

const unsigned char* LineSearch::scan(const unsigned char* buf, const unsigned char* p, const unsigned char* end) {
    std::int32_t s = 0;
    const std::int32_t* table = m_table.data();
    while (p < end) {
        if (s == 0 && m_skip) {
            const unsigned char* q = p;
            for (;;) {
                q = m_skip->find(q, end);
                if (q == end) return end;
                if (isCharStart(buf, static_cast<std::size_t>(q - buf))) break;
                ++q;
            }
            p = q;
        }
        std::int32_t t = table[static_cast<std::size_t>(s) + m_classOf[*p]];
        if (t < 0) {
            if (t == kUnknown) {
                t = compute(s / static_cast<std::int32_t>(m_classCount), *p);
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
