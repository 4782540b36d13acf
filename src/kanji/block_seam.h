// The block loop shared by the streaming converters: a text arrives in blocks
// cut anywhere, and a character (or escape sequence) cut by a block edge is
// carried to the next block. A step converts as many characters as the
// bytes it is given complete, from its first byte on, and returns how many
// bytes it took, or 0 when its first character needs bytes that the block
// does not hold yet; at the last block a step never asks for more, so the
// whole text converted in one block and in any cutting gives the same bytes.
// Internal to the unit.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace tabulo::kanji::detail {

// The longest a step may look ahead (bytes from its first byte).
inline constexpr std::size_t kMaxStep = 4;

class BlockSeam {
public:
    // Runs step(bytes, available, last, offset) over the carried bytes and
    // block, where offset is the position of bytes[0] in the whole text.
    // Keeps what the steps left for the next block.
    template <class Step>
    void run(std::string_view block, bool last, Step&& step) {
        const auto* s = reinterpret_cast<const unsigned char*>(block.data());
        std::size_t n = block.size();
        if (m_held != 0) {
            // The seam: the carried bytes and enough of the block for any
            // step that starts in them.
            unsigned char joined[2 * kMaxStep];
            std::copy(m_carry, m_carry + m_held, joined);
            const std::size_t take = std::min(n, sizeof joined - m_held);
            std::copy(s, s + take, joined + m_held);
            const std::size_t available = m_held + take;
            const bool joinedLast = last && take == n;
            std::size_t p = 0;
            while (p < m_held) {
                const std::size_t used = step(joined + p, available - p, joinedLast, m_offset + p);
                if (used == 0) {  // only when the whole block is in joined
                    hold(joined + p, available - p, m_offset + p);
                    return;
                }
                p += used;
            }
            const std::size_t fromBlock = p - m_held;
            m_offset += p;
            s += fromBlock;
            n -= fromBlock;
            m_held = 0;
        }
        std::size_t i = 0;
        while (i < n) {
            const std::size_t used = step(s + i, n - i, last, m_offset + i);
            if (used == 0) break;
            i += used;
        }
        hold(s + i, n - i, m_offset + i);
    }

    // Bytes carried to the next block.
    std::size_t held() const { return m_held; }

private:
    void hold(const unsigned char* bytes, std::size_t count, std::size_t offset) {
        std::copy(bytes, bytes + count, m_carry);
        m_held = count;
        m_offset = offset;
    }

    unsigned char m_carry[kMaxStep];
    std::size_t m_held = 0;
    std::size_t m_offset = 0;  // of m_carry[0], or of the next block when none is held
};

}  // namespace tabulo::kanji::detail
