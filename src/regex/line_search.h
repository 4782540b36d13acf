// The grep engine's one-pass search automaton: a lazily built byte-level DFA
// whose states are the sets of NFA states alive from every character start
// seen so far, so one table lookup per byte finds where a match is
// completed. Character starts follow the Shift-JIS segmentation, so no match
// ever starts on a trail byte. Its table lives in a bounded cache that starts
// over from the current set when full.
//
// It runs in one of two ways. Stopping at the first match, it serves
// patterns whose matches never run past the line feed ending the line they
// start in. Going on through matches, it cuts the text into segments at the
// points where no attempt is alive, and says which segments hold the end of
// a match; the grep engine then finds the starts inside such a segment.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "regex/byte_scan.h"
#include "regex/re_nfa.h"

namespace tabulo::regex::detail {

class LineSearch {
public:
    enum class Mode { StopAtMatch, GoOn };

    LineSearch(const TRE_NFA& nfa, Mode mode);

    // StopAtMatch: scans [p, end) from the state with no match attempt alive
    // and returns the first byte that completes a match, or end. p starts a
    // character; buf[0] is a line feed in front of it. Calls pace after
    // every kPaceBytes.
    const unsigned char* scan(const unsigned char* buf, const unsigned char* p, const unsigned char* end,
                              const std::function<void()>& pace);
    static constexpr std::size_t kPaceBytes = 16384;

    // GoOn: where a scan stands between calls. A segment runs from a point
    // where no attempt was alive to the next such point; every match that
    // starts in it ends in it.
    struct Segments {
        std::int32_t state = 0;
        std::size_t start = 0;  // index of the current segment's first character
        bool matched = false;   // a match ended in the current segment
    };
    // Scans buf[p, end) on from where. Returns the index at which a segment
    // holding a match was closed (where.start still tells where it began), or
    // end when none was.
    std::size_t scanSegments(const unsigned char* buf, std::size_t p, std::size_t end, Segments& where);

    // True when an attempt, after at least one character, can read a line
    // feed and go on without having matched. It may say so of a few
    // patterns that cannot (a match elsewhere ending at the same line feed).
    static bool crossesLines(const TRE_NFA& nfa);

private:
    static constexpr std::int32_t kUnknown = -1;
    static constexpr std::size_t kBudgetBytes = std::size_t{4} << 20;

    struct Key {
        TRE_NFAStateSet states;
        unsigned char lead;  // a lead byte read, its trail pending; 0 if none
        friend bool operator==(const Key&, const Key&) = default;
    };

    // The table entry for a state offset and a byte, computed on first use:
    // the offset (id times the class count) of the next state, or, when the
    // byte completes a match, -2 - that offset (-2 alone when stopping).
    std::int32_t compute(std::int32_t state, unsigned char byte);
    std::int32_t offset(std::int32_t id) const { return id * static_cast<std::int32_t>(m_classCount); }
    std::int32_t intern(const TRE_NFAStateSet& states, unsigned char lead);
    // m_next becomes the set after one code from from; true on a match.
    bool step(const TRE_NFAStateSet& from, Code code);
    void reset();
    void prepareClasses();
    void prepareSkip();
    // The first character start at or after p whose first byte can start a
    // match, or end.
    const unsigned char* skip(const unsigned char* buf, const unsigned char* p, const unsigned char* end) const;

    const TRE_NFA& m_nfa;
    const Mode m_mode;
    TRE_NFAStateSet m_startClosure;
    // Bytes that behave alike in every role (one-byte code, lead, trail,
    // line break) share a class; the table has one column per class, which
    // keeps it small enough to stay in the first-level cache.
    std::uint8_t m_classOf[256] = {};
    std::vector<unsigned char> m_representative;
    std::size_t m_classCount = 0;
    std::size_t m_maxStates = 0;
    std::vector<std::int32_t> m_table;
    std::vector<Key> m_keys;
    std::unordered_multimap<std::size_t, std::int32_t> m_index;
    TRE_NFAStateSet m_with;
    TRE_NFAStateSet m_next;
    TRE_NFAStateSet m_after;
    std::vector<int> m_stack;
    // While no attempt is alive, characters whose first byte cannot start a
    // match are skipped with a vectorised scan for the bytes that can.
    std::unique_ptr<ByteRangeFinder> m_skip;
};

}  // namespace tabulo::regex::detail
