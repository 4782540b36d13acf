// An output buffer for the converters: sized for the worst case up front, or
// grown by ensure() once per input step, so that the put functions need no
// size checks of their own. Internal to the unit.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

namespace tabulo::kanji::detail {

class ByteWriter {
public:
    explicit ByteWriter(std::size_t expected) : m_out(std::max<std::size_t>(expected, 16), '\0') {
        m_pos = data();
        m_end = m_pos + m_out.size();
    }

    // Makes room for at least k more bytes.
    void ensure(std::size_t k) {
        if (static_cast<std::size_t>(m_end - m_pos) < k) grow(k);
    }

    // The put functions assume room was ensured.
    void put(unsigned char c) { *m_pos++ = c; }
    void put2(unsigned char a, unsigned char b) {
        m_pos[0] = a;
        m_pos[1] = b;
        m_pos += 2;
    }

    // Ends the writing and hands the bytes over.
    std::string finish() {
        m_out.resize(static_cast<std::size_t>(m_pos - data()));
        return std::move(m_out);
    }

private:
    unsigned char* data() { return reinterpret_cast<unsigned char*>(m_out.data()); }

    void grow(std::size_t k) {
        const std::size_t used = static_cast<std::size_t>(m_pos - data());
        m_out.resize(std::max(m_out.size() * 2, used + k));
        m_pos = data() + used;
        m_end = data() + m_out.size();
    }

    std::string m_out;
    unsigned char* m_pos;
    unsigned char* m_end;
};

}  // namespace tabulo::kanji::detail
