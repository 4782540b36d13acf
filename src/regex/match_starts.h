// The grep engine's backward pass for patterns whose matches cross lines:
// given a stretch of text in which every match that starts also ends, it
// walks the pattern backwards from every character end at once and so finds
// every character at which a match begins, in time linear in the stretch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "regex/lazy_dfa.h"
#include "regex/re_nfa.h"

namespace tabulo::regex::detail {

class MatchStarts {
public:
    explicit MatchStarts(const TRE_NFA& nfa);

    // buf[from, to) holds whole characters as the grep reader splits them.
    // Sets bit i - from of starts for every character start i at which a
    // match of at least one character begins and ends by to; clears the
    // others. Calls pace every few kilobytes.
    void find(const unsigned char* buf, std::size_t from, std::size_t to, std::vector<std::uint64_t>& starts,
              const std::function<void()>& pace);

private:
    TRE_NFA m_reversed;
    LazyDfa m_automaton;  // walks m_reversed
};

}  // namespace tabulo::regex::detail
