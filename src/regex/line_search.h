// The grep engine's one-pass search automaton: a lazily built byte-level DFA
// whose states are the sets of pattern states alive from every character
// start seen so far, so one table lookup per byte finds where a match is
// completed. Character starts follow the Shift-JIS segmentation, so no match
// ever starts on a trail byte. Used for patterns whose matches never run
// past the line feed ending the line they start in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "regex/byte_scan.h"
#include "regex/re_dfa.h"

namespace tabulo::regex::detail {

class LineSearch {
public:
    explicit LineSearch(const TRE_DFA& dfa);

    // Scans [p, end) from the state with no match attempt alive and returns
    // the first byte that completes a match, or end. p starts a character;
    // buf[0] is a line feed in front of it.
    const unsigned char* scan(const unsigned char* buf, const unsigned char* p, const unsigned char* end);

    // True when the walk from the initial state, after at least one character,
    // can read a line feed and go on without having accepted.
    static bool crossesLines(const TRE_DFA& dfa);

private:
    static constexpr std::int32_t kUnknown = -1;
    static constexpr std::int32_t kAccept = -2;
    static constexpr std::size_t kMaxStates = 4096;

    struct Key {
        std::vector<int> states;  // sorted pattern states
        unsigned char lead;       // a lead byte read, its trail pending; 0 if none
        friend bool operator<(const Key& a, const Key& b) {
            return a.lead != b.lead ? a.lead < b.lead : a.states < b.states;
        }
    };

    // The table entry for a state id and a byte: a state offset (id times
    // the class count), kAccept, computed on first use.
    std::int32_t compute(std::int32_t state, unsigned char byte);
    std::int32_t offset(std::int32_t id) const { return id * static_cast<std::int32_t>(m_classCount); }
    std::int32_t intern(Key key);
    // Pattern states after one code from each of states; kAccept on acceptance.
    bool step(const std::vector<int>& from, Code code, std::vector<int>& to) const;
    void reset();
    void prepareSkip();

    void prepareClasses();

    const TRE_DFA& m_dfa;
    // Bytes that behave alike in every role (one-byte code, lead, trail,
    // line break) share a class; the table has one column per class, which
    // keeps it small enough to stay in the first-level cache.
    std::uint8_t m_classOf[256] = {};
    std::vector<unsigned char> m_representative;
    std::size_t m_classCount = 0;
    std::vector<std::int32_t> m_table;
    std::vector<Key> m_keys;
    std::map<Key, std::int32_t> m_index;
    // While no attempt is alive, characters whose first byte cannot start a
    // match are skipped with a vectorised scan for the bytes that can.
    std::unique_ptr<ByteRangeFinder> m_skip;
};

}  // namespace tabulo::regex::detail
