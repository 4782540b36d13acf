// Lazy construction of the byte-level search automaton.
#include "regex/line_search.h"

#include <algorithm>
#include <map>

namespace tabulo::regex::detail {

LineSearch::LineSearch(const TRE_NFA& nfa, Mode mode)
    : m_nfa(nfa), m_mode(mode), m_startClosure(nfa.stateCount()), m_with(nfa.stateCount()), m_next(nfa.stateCount()),
      m_after(nfa.stateCount()) {
    m_startClosure.include(0);
    m_stack.assign(1, 0);
    nfa.close(m_startClosure, m_stack);
    prepareClasses();
    const std::size_t stateBytes = m_startClosure.wordCount() * 8 + m_classCount * sizeof(std::int32_t) + 64;
    m_maxStates = std::max<std::size_t>(16, kBudgetBytes / stateBytes);
    reset();
    prepareSkip();
}

void LineSearch::prepareClasses() {
    const std::vector<std::uint32_t> bounds = m_nfa.labelBounds();
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

// The first bytes of the characters an attempt can begin with: the byte
// itself for one-byte codes, the lead byte for two-byte codes. A lead byte
// standing alone is a one-byte code, so it is covered as well.
void LineSearch::prepareSkip() {
    std::vector<bool> first(256, false);
    m_startClosure.forEach([&](std::size_t s) {
        for (const NfaTransition& t : m_nfa.transitions(static_cast<int>(s))) {
            for (unsigned c = t.label.lo; c <= t.label.hi && c < 256; ++c) first[c] = true;
            if (t.label.hi >= 256) {
                for (unsigned lead = std::max<unsigned>(t.label.lo, 256) >> 8; lead <= (t.label.hi >> 8u); ++lead) first[lead] = true;
            }
        }
    });
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
    m_with.clear();
    intern(m_with, 0);
}

std::int32_t LineSearch::intern(const TRE_NFAStateSet& states, unsigned char lead) {
    const std::size_t hash = states.hash() ^ (std::size_t{lead} * 0x9E3779B1u);
    const auto [first, last] = m_index.equal_range(hash);
    for (auto it = first; it != last; ++it) {
        const Key& k = m_keys[static_cast<std::size_t>(it->second)];
        if (k.lead == lead && k.states == states) return it->second;
    }
    const auto id = static_cast<std::int32_t>(m_keys.size());
    m_index.emplace(hash, id);
    m_keys.push_back({states, lead});
    m_table.resize(m_table.size() + m_classCount, kUnknown);
    return id;
}

bool LineSearch::step(const TRE_NFAStateSet& from, Code code) {
    m_nfa.step(from, code, m_next, m_stack);
    return m_next.contains(1);
}

std::int32_t LineSearch::compute(std::int32_t state, unsigned char byte) {
    std::size_t id = static_cast<std::size_t>(state) / m_classCount;
    if (m_keys.size() >= m_maxStates) {
        // Keep memory bounded on patterns with many state sets: start over
        // from the current set.
        const Key current = m_keys[id];
        reset();
        id = static_cast<std::size_t>(intern(current.states, current.lead));
    }
    const Key key = m_keys[id];
    bool matched = false;
    std::int32_t target = 0;
    if (key.lead == 0) {
        m_with = key.states;
        m_with.unite(m_startClosure);
        if (isLeadByte(byte)) {
            target = offset(intern(m_with, m_representative[m_classOf[byte]]));
        } else {
            matched = step(m_with, byte);
        }
    } else if (byte == '\n' || byte == '\r') {
        // The lead byte stands alone in front of a line break.
        matched = step(key.states, key.lead);
        if (!matched || m_mode == Mode::GoOn) {
            m_after = m_next;
            m_after.unite(m_startClosure);
            matched = step(m_after, byte) || matched;
        }
    } else {
        matched = step(key.states, static_cast<Code>(key.lead << 8 | byte));
    }
    if (key.lead != 0 || !isLeadByte(byte)) {
        target = matched && m_mode == Mode::StopAtMatch ? 0 : offset(intern(m_next, 0));
    }
    const std::int32_t entry = matched ? -2 - target : target;
    m_table[id * m_classCount + m_classOf[byte]] = entry;
    return entry;
}

// Every position it returns before end is checked to start a character, so
// end may split one: the next scan starts with the skip again.
const unsigned char* LineSearch::skip(const unsigned char* buf, const unsigned char* p, const unsigned char* end) const {
    for (;;) {
        p = m_skip->find(p, end);
        if (p == end || isCharStart(buf, static_cast<std::size_t>(p - buf))) return p;
        ++p;
    }
}

const unsigned char* LineSearch::scan(const unsigned char* buf, const unsigned char* p, const unsigned char* end,
                                      const std::function<void()>& pace) {
    std::int32_t s = 0;
    const std::int32_t* table = m_table.data();
    while (p < end) {
        const unsigned char* const stop = static_cast<std::size_t>(end - p) > kPaceBytes ? p + kPaceBytes : end;
        while (p < stop) {
            if (s == 0 && m_skip) {
                p = skip(buf, p, stop);
                if (p == stop) break;
            }
            std::int32_t t = table[static_cast<std::size_t>(s) + m_classOf[*p]];
            if (t < 0) {
                if (t == kUnknown) {
                    t = compute(s, *p);
                    table = m_table.data();
                }
                if (t < kUnknown) return p;
            }
            s = t;
            ++p;
        }
        if (p < end) pace();
    }
    return end;
}

std::size_t LineSearch::scanSegments(const unsigned char* buf, std::size_t p, std::size_t end, Segments& where) {
    std::int32_t s = where.state;
    const std::int32_t* table = m_table.data();
    while (p < end) {
        if (s == 0) {
            if (where.matched) {
                where.state = 0;
                return p;
            }
            if (m_skip) {
                p = static_cast<std::size_t>(skip(buf, buf + p, buf + end) - buf);
                if (p == end) break;
            }
            where.start = p;
        }
        std::int32_t t = table[static_cast<std::size_t>(s) + m_classOf[buf[p]]];
        if (t < 0) {
            if (t == kUnknown) {
                t = compute(s, buf[p]);
                table = m_table.data();
            }
            if (t < kUnknown) {
                where.matched = true;
                t = -2 - t;
            }
        }
        s = t;
        ++p;
    }
    where.state = s;
    if (s == 0 && !where.matched) where.start = end;
    return end;
}

bool LineSearch::crossesLines(const TRE_NFA& nfa) {
    const std::size_t n = nfa.stateCount();
    // States from which the final state is reached through empty transitions.
    std::vector<std::vector<int>> emptyInto(n);
    for (std::size_t s = 0; s < n; ++s) {
        for (int t : nfa.emptyTargets(static_cast<int>(s))) emptyInto[static_cast<std::size_t>(t)].push_back(static_cast<int>(s));
    }
    std::vector<char> finishes(n, 0);
    std::vector<int> stack = {1};
    finishes[1] = 1;
    while (!stack.empty()) {
        const int s = stack.back();
        stack.pop_back();
        for (int f : emptyInto[static_cast<std::size_t>(s)]) {
            if (!finishes[static_cast<std::size_t>(f)]) {
                finishes[static_cast<std::size_t>(f)] = 1;
                stack.push_back(f);
            }
        }
    }
    // Walk the states as (state, read a character yet).
    std::vector<char> seen(2 * n, 0);
    std::vector<std::pair<int, bool>> queue = {{0, false}};
    seen[0] = 1;
    const auto visit = [&](int s, bool read) {
        char& mark = seen[2 * static_cast<std::size_t>(s) + read];
        if (!mark) {
            mark = 1;
            queue.emplace_back(s, read);
        }
    };
    while (!queue.empty()) {
        const auto [s, read] = queue.back();
        queue.pop_back();
        for (int t : nfa.emptyTargets(s)) visit(t, read);
        for (const NfaTransition& t : nfa.transitions(s)) {
            if (read && t.label.lo <= '\n' && '\n' <= t.label.hi && !finishes[static_cast<std::size_t>(t.target)]) return true;
            visit(t.target, true);
        }
    }
    return false;
}

}  // namespace tabulo::regex::detail
