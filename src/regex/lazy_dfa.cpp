// The state cache of the lazily built automaton.
#include "regex/lazy_dfa.h"

#include <algorithm>

namespace tabulo::regex::detail {

namespace {

// A cache that had to be emptied after fewer codes read per state made than
// this did not pay for its states; after a few such rounds in a row the walk
// steps sets directly for a while, then tries caching again.
constexpr std::size_t kReadsPerStateWorthCaching = 8;
constexpr int kPoorFlushesBeforeSimulating = 3;
constexpr std::size_t kSimulatedReads = std::size_t{1} << 20;

}  // namespace

LazyDfa::LazyDfa(const TRE_NFA& nfa, int start, int final, bool unanchored, std::size_t budgetBytes)
    : m_nfa(nfa), m_final(final), m_unanchored(unanchored), m_startClosure(nfa.stateCount()),
      m_bounds(nfa.labelBounds()), m_from(nfa.stateCount()), m_to(nfa.stateCount()) {
    m_classCount = m_bounds.size() + 1;
    m_representative.push_back(0);
    for (std::uint32_t b : m_bounds) m_representative.push_back(static_cast<Code>(std::min<std::uint32_t>(b, 0xFFFF)));
    for (unsigned c = 0; c < 256; ++c) {
        m_byteClass[c] = static_cast<std::uint16_t>(std::upper_bound(m_bounds.begin(), m_bounds.end(), c) - m_bounds.begin());
    }
    const std::size_t stateBytes = m_startClosure.wordCount() * 8 + m_classCount * sizeof(std::int32_t) + sizeof(Slot) + 48;
    m_maxCached = std::max<std::size_t>(8, budgetBytes / stateBytes);

    m_startClosure.include(static_cast<std::size_t>(start));
    m_stack.assign(1, start);
    nfa.close(m_startClosure, m_stack);
    trim();
}

void LazyDfa::trim() {
    m_slots.clear();
    m_slots.shrink_to_fit();
    m_table.clear();
    m_table.shrink_to_fit();
    m_freeSlots.clear();
    m_index.clear();
    m_cachedCount = 0;
    m_transient[0] = m_transient[1] = kNone;
    m_readsSinceFlush = m_madeSinceFlush = 0;
    m_slots.emplace_back();
    m_table.assign(m_classCount, kUnknown);
    m_to = m_startClosure;
    if (m_unanchored) m_to.clear();
    place(0, true);
}

std::size_t LazyDfa::classOf(Code code) const {
    if (code < 256) return m_byteClass[code];
    return static_cast<std::size_t>(std::upper_bound(m_bounds.begin(), m_bounds.end(), std::uint32_t{code}) - m_bounds.begin());
}

int LazyDfa::next(int state, Code code) {
    const std::size_t cls = classOf(code);
    ++m_readsSinceFlush;
    // A transient state has no row: its transitions are never remembered.
    const bool fromCached = m_slots[static_cast<std::size_t>(state)].cached;
    if (fromCached) {
        const std::int32_t known = m_table[static_cast<std::size_t>(state) * m_classCount + cls];
        if (known != kUnknown) return known;
    }

    const TRE_NFAStateSet* from = &m_slots[static_cast<std::size_t>(state)].set;
    if (m_unanchored) {
        m_from = *from;
        m_from.unite(m_startClosure);
        from = &m_from;
    }
    m_nfa.step(*from, m_representative[cls], m_to, m_stack);
    int target = kNone;
    if (m_unanchored || !m_to.empty()) {
        target = lookup(m_to);
        if (target == kNone) target = m_simulateFor > 0 ? transient(state) : cache(state);
    }
    if (m_simulateFor > 0) {
        --m_simulateFor;
        ++m_simulated;
    }
    // Only transitions between cached states are remembered; a transient
    // state is overwritten two steps later.
    if (fromCached && (target == kNone || m_slots[static_cast<std::size_t>(target)].cached)) {
        m_table[static_cast<std::size_t>(state) * m_classCount + cls] = target;
    }
    return target;
}

int LazyDfa::lookup(const TRE_NFAStateSet& set) const {
    const auto [first, last] = m_index.equal_range(set.hash());
    for (auto it = first; it != last; ++it) {
        if (m_slots[static_cast<std::size_t>(it->second)].set == set) return it->second;
    }
    return kNone;
}

int LazyDfa::cache(int keep) {
    if (m_cachedCount >= m_maxCached) flush(keep);
    if (m_simulateFor > 0) return transient(keep);
    int slot = 0;
    if (!m_freeSlots.empty()) {
        slot = m_freeSlots.back();
        m_freeSlots.pop_back();
    } else {
        slot = static_cast<int>(m_slots.size());
        m_slots.emplace_back();
        m_table.resize(m_table.size() + m_classCount, kUnknown);
    }
    ++m_madeSinceFlush;
    return place(slot, true);
}

// Two slots outside the cache take the sets in turn, never the one left.
int LazyDfa::transient(int keep) {
    for (int& t : m_transient) {
        if (t == kNone) {
            t = static_cast<int>(m_slots.size());
            m_slots.emplace_back();
            m_table.resize(m_table.size() + m_classCount, kUnknown);
        }
    }
    return place(m_transient[0] != keep ? m_transient[0] : m_transient[1], false);
}

// Puts the set just stepped to (m_to) into slot.
int LazyDfa::place(int slot, bool cached) {
    Slot& s = m_slots[static_cast<std::size_t>(slot)];
    s.set = m_to;
    s.accepting = m_to.contains(static_cast<std::size_t>(m_final));
    s.cached = cached;
    if (cached) {
        resetRow(slot);
        m_index.emplace(s.set.hash(), slot);
        ++m_cachedCount;
    }
    return slot;
}

void LazyDfa::resetRow(int slot) {
    const auto row = m_table.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(slot) * m_classCount);
    std::fill(row, row + static_cast<std::ptrdiff_t>(m_classCount), kUnknown);
}

void LazyDfa::flush(int keep) {
    ++m_flushes;
    m_poorFlushes = m_readsSinceFlush < kReadsPerStateWorthCaching * m_madeSinceFlush ? m_poorFlushes + 1 : 0;
    if (m_poorFlushes >= kPoorFlushesBeforeSimulating) {
        m_poorFlushes = 0;
        m_simulateFor = kSimulatedReads;
    }
    m_readsSinceFlush = m_madeSinceFlush = 0;
    m_index.clear();
    m_freeSlots.clear();
    m_cachedCount = 0;
    for (int slot = static_cast<int>(m_slots.size()) - 1; slot >= 0; --slot) {
        Slot& s = m_slots[static_cast<std::size_t>(slot)];
        // Every remembered transition may lead to a released state.
        if (s.cached) resetRow(slot);
        if (slot == 0 || slot == keep) {
            if (s.cached) {
                m_index.emplace(s.set.hash(), slot);
                ++m_cachedCount;
            }
        } else if (slot != m_transient[0] && slot != m_transient[1]) {
            s.cached = false;
            m_freeSlots.push_back(slot);
        }
    }
}

}  // namespace tabulo::regex::detail
