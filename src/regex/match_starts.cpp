// The backward pass: character starts found forwards, the reversed pattern
// walked backwards from the end.
#include "regex/match_starts.h"

#include "regex/sjis.h"

namespace tabulo::regex::detail {

namespace {

constexpr std::size_t kPaceBytes = 16384;

// Bytes of the character at i as the grep reader splits text: a lead byte
// pairs with the next byte unless that is a line break.
std::size_t charLength(const unsigned char* buf, std::size_t i, std::size_t to) {
    return isLeadByte(buf[i]) && i + 1 < to && buf[i + 1] != '\n' && buf[i + 1] != '\r' ? 2 : 1;
}

void setBit(std::vector<std::uint64_t>& bits, std::size_t i) { bits[i / 64] |= std::uint64_t{1} << (i % 64); }
void clearBit(std::vector<std::uint64_t>& bits, std::size_t i) { bits[i / 64] &= ~(std::uint64_t{1} << (i % 64)); }
bool hasBit(const std::vector<std::uint64_t>& bits, std::size_t i) { return (bits[i / 64] >> (i % 64)) & 1; }

}  // namespace

// Reversed, the pattern runs from the final state to the initial one; every
// character end is a possible match end, so the walk is unanchored.
MatchStarts::MatchStarts(const TRE_NFA& nfa) : m_reversed(nfa.reversed()), m_automaton(m_reversed, 1, 0, true) {}

void MatchStarts::find(const unsigned char* buf, std::size_t from, std::size_t to, std::vector<std::uint64_t>& starts,
                       const std::function<void()>& pace) {
    const std::size_t length = to - from;
    starts.assign(length / 64 + 1, 0);
    for (std::size_t i = from; i < to; i += charLength(buf, i, to)) setBit(starts, i - from);
    int state = m_automaton.initial();
    std::size_t paced = 0;
    for (std::size_t i = to; i-- > from;) {
        if (++paced == kPaceBytes) {
            paced = 0;
            pace();
        }
        if (!hasBit(starts, i - from)) continue;
        const Code code = charLength(buf, i, to) == 2 ? static_cast<Code>(buf[i] << 8 | buf[i + 1]) : buf[i];
        state = m_automaton.next(state, code);
        if (!m_automaton.accepts(state)) clearBit(starts, i - from);
    }
}

}  // namespace tabulo::regex::detail
