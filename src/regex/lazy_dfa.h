// LazyDfa: the deterministic automaton of an NFA, built while it is walked.
// Each state stands for a set of NFA states and gets its transitions on
// first use, one column per class of codes that every NFA label reads alike.
// The states live in a cache of bounded size: when it is full it is emptied
// (keeping the initial state and the one being left), and when it keeps
// filling up without paying off, the walk steps NFA sets directly for a
// while instead of caching them. Either way each character costs at most
// one step over the NFA, so a walk stays linear in its length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "regex/re_nfa.h"

namespace tabulo::regex::detail {

class LazyDfa {
public:
    static constexpr int kNone = -1;
    static constexpr std::size_t kDefaultBudgetBytes = std::size_t{4} << 20;

    // Anchored, the walk starts in the closure of start. Unanchored, it starts
    // with no NFA state and that closure joins the set before every code read,
    // so the walk follows a match attempt from every position at once.
    LazyDfa(const TRE_NFA& nfa, int start, int final, bool unanchored, std::size_t budgetBytes = kDefaultBudgetBytes);

    int initial() const { return 0; }
    // The state after reading code, or kNone when no NFA state is left. The
    // id of every state but the initial one and state may be reused.
    int next(int state, Code code);
    bool accepts(int state) const { return m_slots[static_cast<std::size_t>(state)].accepting; }
    // Releases every state but the initial one.
    void trim();

    // Times the cache was emptied, and codes read by stepping sets directly.
    std::size_t flushes() const { return m_flushes; }
    std::size_t simulatedSteps() const { return m_simulated; }

private:
    static constexpr std::int32_t kUnknown = -2;
    struct Slot {
        TRE_NFAStateSet set;
        bool accepting = false;
        bool cached = false;
    };

    std::size_t classOf(Code code) const;
    int lookup(const TRE_NFAStateSet& set) const;
    int cache(int keep);
    int transient(int keep);
    int place(int slot, bool cached);
    void flush(int keep);
    void resetRow(int slot);

    const TRE_NFA& m_nfa;
    const int m_final;
    const bool m_unanchored;
    TRE_NFAStateSet m_startClosure;
    std::vector<std::uint32_t> m_bounds;
    std::uint16_t m_byteClass[256] = {};
    std::vector<Code> m_representative;
    std::size_t m_classCount = 0;
    std::size_t m_maxCached = 0;

    std::vector<Slot> m_slots;
    std::vector<std::int32_t> m_table;
    std::vector<int> m_freeSlots;
    std::unordered_multimap<std::size_t, int> m_index;
    std::size_t m_cachedCount = 0;
    int m_transient[2] = {kNone, kNone};

    // The work area of one step.
    TRE_NFAStateSet m_from;
    TRE_NFAStateSet m_to;
    std::vector<int> m_stack;

    // Thrash detection: codes read and states made since the last flush.
    std::size_t m_readsSinceFlush = 0;
    std::size_t m_madeSinceFlush = 0;
    int m_poorFlushes = 0;
    std::size_t m_simulateFor = 0;
    std::size_t m_flushes = 0;
    std::size_t m_simulated = 0;
};

}  // namespace tabulo::regex::detail
